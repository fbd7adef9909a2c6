#include "shell/frmMain.h"

#include "bar/BarPanel.h"
#include "calendar/CalendarPanel.h"
#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/FileUtil.h"
#include "core/HeapTrim.h"
#include "news/NewsPanel.h"
#include "notify/PopupNotifier.h"
#include "shell/frmSysTray.h"
#include "shell/ProgramDialogs.h"
#include "shell/ProgramRecords.h"
#include "shell/frmTavrin.h"

#include <QApplication>
#include <QSystemTrayIcon>

frmMain::frmMain(Clock &clock)
    : QWidget(nullptr, Qt::Tool)
    , m_clock(clock)
    , m_notifier(new PopupNotifier(clock, this))
    , m_updates(new UpdateController(Globals().Config, Globals().AppPath, this))
    , m_dialogs(new ProgramDialogs(*m_updates, this))
{
    setWindowTitle(QStringLiteral("[Tavrin_Class]"));
    connect(m_notifier, &PopupNotifier::moreClicked, this, &frmMain::showMain);
    connect(m_updates, &UpdateController::balloonRequested, this, &frmMain::ShowBalloonTip);
    connect(m_updates, &UpdateController::offered, this, &frmMain::stepAsideForUpdate);
    connect(m_updates, &UpdateController::declined, this, &frmMain::startRunning);
    // Ended from the event loop, never inside the update window's own signal.
    connect(m_updates, &UpdateController::exitRequested, this, &frmMain::ExitApp, Qt::QueuedConnection);
    // What closed popups, windows and news passes freed goes back to the system.
    HeapTrim::everyMinute(this);
}

frmMain::~frmMain()
{
    ExitApp();
}

void frmMain::Load()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaly"));
    AppGlobals &app = Globals();
    app.StartTime = m_clock.now();

    m_tray = std::make_unique<frmSysTray>();
    connect(m_tray.get(), &frmSysTray::MenuClick, this, &frmMain::m_frmSysTray_MenuClick);
    connect(m_tray.get(), &frmSysTray::SysTrayMouseDown, this, &frmMain::m_frmSysTray_SysTrayMouseDown);

    ProgramRecords::write(QApplication::applicationFilePath());
    FileUtil::DeleteFile(updaterPath());
    app.Config.ApplyStartupRepairs();
    ChkLiveUpdate(false);

    // The main window's page loads while events run; the rest of the start
    // waits for it, and nothing else waits.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitingForMain = true;
    m_main = std::make_unique<frmTavrin>(m_clock, *m_notifier);
    connect(m_main.get(), &frmTavrin::balloonRequested, this, &frmMain::ShowBalloonTip);
    // Ended from the event loop, never inside the page call that asked for it.
    connect(m_main.get(), &frmTavrin::exitRequested, this, &frmMain::ExitApp, Qt::QueuedConnection);
    connect(&m_main->bar(), &BarPanel::moreClicked, this, &frmMain::ShowTavrin);
    connect(m_main.get(), &frmTavrin::settingsRequested, this, &frmMain::OpenSettings);
    connect(m_main.get(), &frmTavrin::aboutRequested, this, &frmMain::OpenAbout);
    m_main->setTrayCheck([this] { return m_tray && m_tray->isShown(); });
    connect(m_main.get(), &frmTavrin::pageReady, this, &frmMain::mainWindowReady, Qt::SingleShotConnection);
}

void frmMain::mainWindowReady()
{
    QApplication::restoreOverrideCursor();
    m_waitingForMain = false;
    Globals().Config.RepairLiveUpdateSetting();
    startRunning();
}

void frmMain::startRunning()
{
    if (!m_main || m_waitingForMain || m_updates->offering())
        return;
    if (m_running) {
        showMain();
        m_main->bar().ShowBar();
        return;
    }
    m_running = true;
    m_main->applySettings();
    // Started with the session, the program waits in the tray, if there is one.
    if (!m_startInTray || !QSystemTrayIcon::isSystemTrayAvailable())
        m_main->show();
    m_main->bar().ShowBar();
    Q_EMIT loaded();
}

void frmMain::stepAsideForUpdate()
{
    if (m_main) {
        m_main->hide();
        m_main->bar().CloseBar();
    }
    m_notifier->close();
}

void frmMain::OpenSettings()
{
    m_dialogs->openSettings(m_main.get());
}

void frmMain::OpenAbout()
{
    m_dialogs->openAbout(m_main.get());
}

void frmMain::ShowBalloonTip(const QString &iTip, const QString &iTitle, int iIcon)
{
    if (m_tray)
        m_tray->ShowBalloonTip(iTip, iTitle, iIcon, BalloonTimeoutMs);
}

void frmMain::showMain()
{
    if (!m_main)
        return;
    if (m_main->isVisible() && m_main->isMinimized())
        m_main->showNormal();
    m_main->show();
}

void frmMain::ShowTavrin()
{
    if (!m_main)
        return;
    showMain();
    m_main->shownByUser();
    m_main->BringBack();
    m_main->activateWindow();
    m_main->raise();
}

void frmMain::m_frmSysTray_SysTrayMouseDown(int eButton)
{
    if (eButton == 2) {
        m_tray->ShowMenu();
    } else if (eButton == 1 && m_main) {
        m_main->shownByUser();
        showMain();
    }
}

void frmMain::m_frmSysTray_MenuClick(const QString &sKey)
{
    if (sKey == QStringLiteral("Exit"))
        ExitApp();
    else if (sKey == QStringLiteral("Main"))
        ShowTavrin();
    else if (sKey == QStringLiteral("Settings"))
        OpenSettings();
    else if (sKey == QStringLiteral("About"))
        OpenAbout();
}

frmPopUp *frmMain::popupWindow() const
{
    return m_notifier->popupWindow();
}

void frmMain::ExitApp()
{
    if (m_exited)
        return;
    m_exited = true;
    if (m_waitingForMain) {
        QApplication::restoreOverrideCursor();
        m_waitingForMain = false;
    }
    // The windows over the main window go first.
    m_dialogs->closeAll();
    m_updates->closeWindow();
    if (m_main) {
        m_main->closeForExit();
        m_main.reset();
    }
    m_notifier->close();
    m_tray.reset();
    ProgramRecords::addRunTime(Globals().StartTime.secsTo(m_clock.now()));
    Globals().Config.XMLSave();
    // The downloaded program starts once we are gone (see main); any other is stale.
    if (!m_updates->runUpdaterOnExit())
        FileUtil::DeleteFile(updaterPath());
    Q_EMIT exited();
}
