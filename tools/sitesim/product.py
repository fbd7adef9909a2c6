"""The product's own web site under /site/: the update descriptor, the new
program's download, the system notice, the advert pages and the hidden
visit pages; and the FXark gift page at /ark/gift.aspx.

Controls (GET /control?site=KEY:VALUE):
  update:older|equal|newer|garbage|noversion|missing|hostile   the descriptor
  sha:right|wrong|none        the SHA-256 the descriptor gives
  sig:right|wrong|none        the Ed25519 signature of the new program (the test
                              key's, tests/update/keys, as the test build expects)
  download:whole|short|stall|404|html    how the new program is served
  tip:text|blank|markup|long|missing     the system notice
  advert:plain|hostile        the product advert page
  isAdvert:0|1, fxark:0|1     the descriptor's advert switches
Hits of every page are counted under their path."""
import base64
import hashlib
import os
import subprocess
import tempfile
import threading
import time

TEST_KEY = os.path.join(os.path.dirname(__file__), "..", "..", "tests", "update", "keys", "test-ed25519.pem")


def sign(data, key=TEST_KEY):
    """The base64 Ed25519 signature of data, made by openssl as a release is signed."""
    with tempfile.NamedTemporaryFile() as message:
        message.write(data)
        message.flush()
        signature = subprocess.run(["openssl", "pkeyutl", "-sign", "-inkey", key, "-rawin", "-in", message.name],
                                   capture_output=True, check=True).stdout
    return base64.b64encode(signature).decode()

HOSTILE_PAGE = b"""<html><head><meta charset="utf-8"><title>advert</title></head><body>
<p id="ad">hostile advert</p>
<script>
try { alert('advert'); } catch (e) {}
try { confirm('advert?'); } catch (e) {}
try { prompt('advert', 'x'); } catch (e) {}
window.open('http://127.0.0.1:1/popup');
try { top.location.href = 'http://127.0.0.1:1/elsewhere'; } catch (e) {}
var a = document.createElement('a'); a.href = '/site/advert.htm'; a.download = 'advert.htm';
document.body.appendChild(a); a.click();
var frame = document.createElement('iframe'); frame.src = '/site/auth'; document.body.appendChild(frame);
try { parent.document.title = 'owned'; } catch (e) {}
try { parent.qt.webChannelTransport.send('{}'); } catch (e) {}
</script></body></html>"""


def page(title):
    return ('<html><head><meta charset="utf-8"><title>%s</title></head><body><p>%s</p></body></html>'
            % (title, title)).encode()


class ProductSite:
    def __init__(self, version, payload=None):
        self.version = version
        self.payload = payload or b""
        self.signatures = {"right": sign(self.payload), "wrong": sign(self.payload + b"x"), "none": ""} \
            if self.payload else {"right": "", "wrong": "", "none": ""}
        self.lock = threading.Lock()
        self.state = {"update": "equal", "sha": "right", "sig": "right", "download": "whole", "tip": "text",
                      "advert": "plain", "isAdvert": "1", "fxark": "0"}
        self.hits = {}

    def control(self, request):
        key, _, value = request.partition(":")
        allowed = {"update": {"older", "equal", "newer", "garbage", "noversion", "missing", "hostile"},
                   "sha": {"right", "wrong", "none"}, "sig": {"right", "wrong", "none"},
                   "download": {"whole", "short", "stall", "404", "html"},
                   "tip": {"text", "blank", "markup", "long", "missing"},
                   "advert": {"plain", "hostile"}, "isAdvert": {"0", "1"}, "fxark": {"0", "1"}}
        if value not in allowed.get(key, ()):
            return False
        with self.lock:
            self.state[key] = value
        return True

    def newer_version(self):
        parts = self.version.split(".")
        return ".".join(parts[:-1] + ["%04d" % (int(parts[-1]) + 1)])

    def older_version(self):
        major, rest = self.version.split(".", 1)
        return "0." + rest

    def descriptor(self, base):
        state = dict(self.state)
        if state["update"] == "missing":
            return None
        if state["update"] == "garbage":
            return b"<update><Version>1.0"
        version = {"older": self.older_version(), "equal": self.version, "newer": self.newer_version(),
                   "noversion": "", "hostile": self.version}[state["update"]]
        sha = {"right": hashlib.sha256(self.payload).hexdigest() if self.payload else "", "wrong": "0" * 64,
               "none": ""}[state["sha"]]
        fxark_url = base + "/site/fxark-advert.htm"
        if state["update"] == "hostile":
            fxark_url = "javascript:parent.document.title='owned'//' onload='alert(1)"
        return ("""<?xml version="1.0" encoding="utf-8"?>
<update>
  <URL>%s/site/download.htm</URL>
  <Version>%s</Version>
  <Download>%s/site/download/tavrin</Download>
  <SHA256>%s</SHA256>
  <Signature>%s</Signature>
  <isAdvert>%s</isAdvert>
  <FxarkIsAdvert>%s</FxarkIsAdvert>
  <FxarkAdvertUrl>%s</FxarkAdvertUrl>
</update>""" % (base, version, base, sha, self.signatures[state["sig"]], state["isAdvert"], state["fxark"],
                fxark_url.replace("&", "&amp;").replace("<", "&lt;"))).encode()

    def notice(self):
        tip = self.state["tip"]
        if tip == "missing":
            return None
        text = {"text": "服务器将于今晚22:00维护。", "blank": "   ", "markup": "<b>注意</b> 1 < 2 & 3",
                "long": "长" * 5000}[tip]
        escaped = text.replace("&", "&amp;").replace("<", "&lt;")
        return ('<?xml version="1.0" encoding="utf-8"?><Tip><SysTip>%s</SysTip></Tip>' % escaped).encode()

    def serve(self, handler, path, base):
        """Answers a request below /site/ or the gift page; False when the path is none of them."""
        with self.lock:
            self.hits[path] = self.hits.get(path, 0) + 1
        if path == "/site/update.xml":
            body = self.descriptor(base)
            if body is None:
                handler.answer(404, page("404 Not Found"))
            else:
                handler.answer(200, body, "text/xml; charset=utf-8")
        elif path == "/site/Tip.xml":
            body = self.notice()
            if body is None:
                handler.answer(404, page("404 Not Found"))
            else:
                handler.answer(200, body, "text/xml; charset=utf-8")
        elif path == "/site/download/tavrin":
            self.download(handler)
        elif path == "/site/advert.htm":
            handler.answer(200, HOSTILE_PAGE if self.state["advert"] == "hostile" else page("Tessaly 广告"))
        elif path == "/site/auth":
            handler.send_response(401)
            handler.send_header("WWW-Authenticate", 'Basic realm="advert"')
            handler.send_header("Content-Length", "0")
            handler.end_headers()
        elif path.startswith("/site/") or path == "/ark/gift.aspx":
            handler.answer(200, page(path.rsplit("/", 1)[-1] or "Tessaly"))
        else:
            return False
        return True

    def download(self, handler):
        how = self.state["download"]
        body = self.payload
        if how == "404" or not body:
            return handler.answer(404, page("404 Not Found"))
        if how == "html":
            return handler.answer(200, page("下载页面"))
        handler.send_response(200)
        handler.send_header("Content-Type", "application/octet-stream")
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        if how == "whole":
            handler.wfile.write(body)
        elif how == "short":
            handler.wfile.write(body[: len(body) // 2])
            handler.wfile.flush()
            handler.close_connection = True
        else:  # stall
            handler.wfile.write(body[:1024])
            handler.wfile.flush()
            time.sleep(3600)
