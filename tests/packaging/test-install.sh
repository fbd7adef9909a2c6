#!/usr/bin/env bash
# The .deb end to end: built, installed with apt, started from its menu
# entry's command as a user who is not root, under the test desktop with a
# tray; the tray icon shows, the data goes to the user's own folder and the
# installed files stay as installed; then the package and the user go.
#
#   test-install.sh BUILD_DIR
# Needs root and apt (skipped otherwise, exit 77) and DISPLAY (scripts/gui-env).
set -euo pipefail
build=$(cd "$1" && pwd)
user=tessaly-install-test

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null || [ -z "${DISPLAY:-}" ]; then
  echo "skipped: needs root, apt and a display"
  exit 77
fi

pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  pkill -u "$user" 2>/dev/null || true
  sleep 1
  apt-get purge -y -qq tessaly >/dev/null 2>&1 || true
  userdel -r "$user" >/dev/null 2>&1 || true
}
trap cleanup EXIT
cleanup

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/tessaly_*.deb | head -n1)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
dpkg-query -W -f='${Status}\n' tessaly | grep -q 'install ok installed'

installed=$(ls -lR --time-style=full-iso /usr/lib/tessaly)
useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
runtime=$(mktemp -d)
chown "$user" "$runtime"
chmod 700 "$runtime"

command=$(sed -n 's/^Exec=//p' /usr/share/applications/tessaly.desktop)
env=(DISPLAY="$DISPLAY" HOME="$home" XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=x11 PATH=/usr/bin:/bin)
# Chromium's sandbox needs user namespaces; a container may not grant them.
if ! runuser -u "$user" -- unshare -Ur true 2>/dev/null; then
  echo "no user namespaces here: the web engine runs without its sandbox"
  env+=(QTWEBENGINE_DISABLE_SANDBOX=1)
fi
runuser -u "$user" -- env -i "${env[@]}" $command >/dev/null 2>&1 &
pid=$!

# The tray icon: a window of the program's own process embedded in the tray.
found=
for _ in $(seq 150); do
  tray=$(xwininfo -root -tree | grep '"trayer")' | head -n1 | awk '{print $1}' || true)
  program=$(pgrep -u "$user" -x 'tessaly|tavrin' | head -n1 || true)
  if [ -n "$program" ] && [ -n "$tray" ]; then
    for window in $(xwininfo -tree -id "$tray" 2>/dev/null | grep -o "0x[0-9a-f]*"); do
      if xprop -id "$window" _NET_WM_PID 2>/dev/null | grep -q "= $program\$"; then
        found=$window
      fi
    done
  fi
  [ -n "$found" ] && break
  sleep 0.2
done
[ -n "$found" ] || { echo "FAIL: no tray icon of tavrin in the tray"; exit 1; }

for file in tavrin.xml Sound; do
  [ -e "$home/.config/Tessaly/$file" ] || { echo "FAIL: $file was not seeded into ~/.config/Tessaly"; exit 1; }
done
[ "$(stat -c %U "$home/.config/Tessaly/tavrin.xml")" = "$user" ] || { echo "FAIL: the seeded file is not the user's"; exit 1; }

kill "$pid"
for _ in $(seq 100); do pgrep -u "$user" -x 'tessaly|tavrin' >/dev/null || break; sleep 0.1; done
if changed=$(dpkg --verify tessaly) && [ -z "$changed" ] \
   && [ "$(ls -lR --time-style=full-iso /usr/lib/tessaly)" = "$installed" ]; then
  echo "PASS: installed, started from the menu, in the tray, data in ~/.config/Tessaly, installed files untouched"
else
  echo "FAIL: the installed files changed: $changed"
  exit 1
fi
