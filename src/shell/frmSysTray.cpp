#include "shell/frmSysTray.h"

#include "shell/AppIcon.h"
#include "shell/TrayText.h"

#include <QCursor>
#include <QGuiApplication>

#ifdef TESSALY_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#endif

namespace {

// Qt shows tray icons and balloons through a desktop's StatusNotifier host
// when one is registered as the icon is made, and through its own balloons
// otherwise; the same test tells which one the icon uses.
TrayText::Tray trayKind()
{
#ifdef TESSALY_HAVE_DBUS
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value()) {
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
                               QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
        if (watcher.property("IsStatusNotifierHostRegistered").toBool())
            return TrayText::Tray::NotificationService;
    }
#endif
    return TrayText::Tray::Balloon;
}

} // namespace

frmSysTray::frmSysTray(QObject *parent)
    : QObject(parent)
    , m_tray(trayKind())
{
    m_icon.setIcon(AppIcon::icon());
    m_icon.setToolTip(QGuiApplication::applicationDisplayName().left(MaxTip));
    const std::pair<const char *, const char *> items[] = {
        {"资讯窗口", "Main"}, {"配置(&S)", "Settings"}, {"关于(&A)", "About"}, {nullptr, nullptr}, {"退出(&X)", "Exit"}};
    for (const auto &[caption, key] : items) {
        if (!caption) {
            m_menu.addSeparator();
            continue;
        }
        QAction *action = m_menu.addAction(QString::fromUtf8(caption));
        const QString sKey = QString::fromLatin1(key);
        action->setData(sKey);
        connect(action, &QAction::triggered, this, [this, sKey] { Q_EMIT MenuClick(sKey); });
    }
    m_menu.setDefaultAction(m_menu.actions().front());
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT SysTrayMouseDown(1);
        else if (reason == QSystemTrayIcon::Context)
            Q_EMIT SysTrayMouseDown(2);
        else if (reason == QSystemTrayIcon::DoubleClick)
            Q_EMIT SysTrayDoubleClick(1);
    });
    connect(&m_icon, &QSystemTrayIcon::messageClicked, this, &frmSysTray::BalloonClicked);
    m_balloonTimer.setSingleShot(true);
    connect(&m_balloonTimer, &QTimer::timeout, this, &frmSysTray::CloseBalloonTip);
    m_icon.show();
}

frmSysTray::~frmSysTray()
{
    ShellTrayIconRemove();
}

bool frmSysTray::isShown() const
{
    return QSystemTrayIcon::isSystemTrayAvailable() && m_icon.isVisible();
}

void frmSysTray::ShowBalloonTip(const QString &sMessage, const QString &sTitle, int eIcon, int lTimeOutMs)
{
    static const QSystemTrayIcon::MessageIcon icons[] = {QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information,
                                                         QSystemTrayIcon::Warning, QSystemTrayIcon::Critical};
    const QSystemTrayIcon::MessageIcon icon = eIcon >= 0 && eIcon <= 3 ? icons[eIcon] : QSystemTrayIcon::NoIcon;
    m_icon.showMessage(sTitle.left(MaxTitle), TrayText::message(sMessage.left(MaxMessage), m_tray),
                       icon, lTimeOutMs);
    // Gone at the latest after the caller's time-out, whatever the tray does.
    if (lTimeOutMs > 0)
        m_balloonTimer.start(lTimeOutMs);
}

void frmSysTray::CloseBalloonTip()
{
    m_balloonTimer.stop();
    // Qt's own balloon gives way to an empty one, which it does not show. A
    // notification service would post the empty one: its notifications
    // expire by themselves.
    if (m_tray == TrayText::Tray::Balloon)
        m_icon.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 1);
}

void frmSysTray::ShellTrayIconRemove()
{
    m_icon.hide();
}

void frmSysTray::ShowMenu()
{
    m_menu.popup(QCursor::pos(), m_menu.defaultAction());
}
