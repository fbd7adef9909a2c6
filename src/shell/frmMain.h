#pragma once

#include "update/UpdateController.h"

#include <QWidget>

#include <memory>

class Clock;
class frmLiveUpdate;
class frmPopUp;
class frmSysTray;
class frmTavrin;
class PopupNotifier;
class ProgramDialogs;

// The controller: a hidden window titled "[Tavrin_Class]" that lives for the
// whole run. It creates the tray and the main window, shows popups and
// balloons for everyone, routes the tray's clicks and ends the program.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    static constexpr int BalloonTimeoutMs = 300000;

    explicit frmMain(Clock &clock);
    ~frmMain() override;

    // Start-up, in its fixed order; it goes on when the main window's page is
    // ready, and `loaded` tells when the main window shows.
    void Load();
    // Started by the desktop session: the main window stays in the tray.
    void setStartInTray(bool inTray) { m_startInTray = inTray; }

    void ShowBalloonTip(const QString &iTip, const QString &iTitle, int iIcon = 0);
    void ShowTavrin();
    void ChkLiveUpdate(bool asked) { m_updates->check(asked); }
    // The settings dialog and the about window, one of each.
    void OpenSettings();
    void OpenAbout();
    void ExitApp();
    // After the end: whether the downloaded program is to be started, and where it is.
    bool runUpdaterOnExit() const { return m_updates->runUpdaterOnExit(); }
    QString updaterPath() const { return m_updates->updaterPath(); }

    void m_frmSysTray_MenuClick(const QString &sKey);
    void m_frmSysTray_SysTrayMouseDown(int eButton);

    frmTavrin *mainWindow() const { return m_main.get(); }
    frmSysTray *tray() const { return m_tray.get(); }
    // The program's notifier, and its popup while it is open (and briefly after it closed).
    PopupNotifier &notifier() const { return *m_notifier; }
    frmPopUp *popupWindow() const;
    ProgramDialogs &dialogs() const { return *m_dialogs; }
    frmLiveUpdate *updateWindow() const { return m_updates->window(); }

Q_SIGNALS:
    // Start-up is complete: the news runs and the main window shows.
    void loaded();
    // Every window is gone and the configuration saved.
    void exited();

private:
    void mainWindowReady();
    // The news, the main window and the bar go; unless a newer version is
    // offered, which holds them back until the user leaves it.
    void startRunning();
    // Shows the main window, restored if it was minimised.
    void showMain();
    void stepAsideForUpdate();

    Clock &m_clock;
    std::unique_ptr<frmSysTray> m_tray;
    std::unique_ptr<frmTavrin> m_main;
    PopupNotifier *m_notifier;
    UpdateController *m_updates;
    ProgramDialogs *m_dialogs;
    bool m_exited = false;
    bool m_waitingForMain = false; // start-up waits for the main window's page
    bool m_running = false;
    bool m_startInTray = false;
};
