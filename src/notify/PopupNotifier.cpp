#include "notify/PopupNotifier.h"

#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/ConfigPaths.h"
#include "core/ProgramData.h"
#include "core/FileUtil.h"
#include "core/Logging.h"
#include "core/NumberText.h"
#include "core/gui/FullScreenWatch.h"
#include "notify/PlayMediaCls.h"
#include "notify/frmPopUp.h"
#include "pagebridge/PageBridge.h"

#include <QUrl>

PopupNotifier::PopupNotifier(const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_fullScreenCheck.setInterval(FullScreenCheckMs);
    connect(&m_fullScreenCheck, &QTimer::timeout, this, &PopupNotifier::showDeferred);
}

PopupNotifier::~PopupNotifier()
{
    close();
}

void PopupNotifier::notify(const Notification &notification)
{
    AppGlobals &app = Globals();
    // What the first seconds after start-up find is not announced.
    if (app.StartTime.secsTo(m_clock.now()) < GraceSeconds)
        return;
    if (!notification.evenWhenOff && numberFromText(app.Config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Checked)) == 0)
        return;
    qCInfo(lcNotify) << "notifying" << int(notification.origin) << notification.lines.size() << "lines";
    present(notification);
}

void PopupNotifier::present(const Notification &notification)
{
    // Nothing slides over a film or a presentation; it comes when that ends.
    if (FullScreenWatch::active()) {
        // The popup shows only its newest rows; a long film keeps no more than those.
        if (m_deferred.size() >= frmPopUp::MaxRows)
            m_deferred.removeFirst();
        m_deferred.append(notification);
        m_fullScreenCheck.start();
        return;
    }
    if (!m_popup) {
        m_popup = std::make_unique<frmPopUp>();
        // Only web addresses leave the program, whatever a page put there.
        connect(m_popup.get(), &frmPopUp::linkClicked, this, [](const QString &url) { PageBridge::openExternally(QUrl(url)); });
        connect(m_popup.get(), &frmPopUp::moreClicked, this, &PopupNotifier::moreClicked);
        // Closing may happen inside the popup's own page call: released from the event loop.
        connect(m_popup.get(), &frmPopUp::closed, this, &PopupNotifier::release, Qt::QueuedConnection);
    }
    m_popup->add(notification);
    if (m_popup->isOpen() && notification.untilClosed) {
        m_popup->stay(); // a reminder joins items already shown, and keeps them in view
    } else if (!m_popup->isOpen()) {
        const int duration = numberFromText(Globals().Config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::Duration));
        m_popup->setShowDelay(notification.untilClosed || duration == -1 ? frmPopUp::UntilClosed : duration * 1000);
        m_popup->Popup();
    }
    playSound(notification.sound ? *notification.sound
                                 : Globals().Config.GetNodeAttrib(ConfigPaths::Popup, ConfigPaths::SoundFile));
}

void PopupNotifier::playSound(const QString &soundFile)
{
    // Only a file of the Sound folder, whatever the configuration names.
    if (soundFile.contains(u'/') || soundFile.contains(u'\\'))
        return;
    const QString soundPath = ProgramData::soundFolder(Globals().AppPath) + soundFile;
    if (soundFile.isEmpty() || !FileUtil::FileExists(soundPath))
        return;
    if (!m_sound)
        m_sound = std::make_unique<PlayMediaCls>();
    // A sound still playing is not cut off by the next notification.
    if (!m_sound->Run() && m_sound->OpenMedia(soundPath))
        m_sound->Play(true);
}

void PopupNotifier::showDeferred()
{
    if (FullScreenWatch::active())
        return;
    m_fullScreenCheck.stop();
    const QList<Notification> deferred = std::exchange(m_deferred, {});
    for (const Notification &notification : deferred)
        present(notification);
}

void PopupNotifier::release()
{
    // An item that came meanwhile has opened it again.
    if (m_popup && !m_popup->isOpen())
        m_popup.reset();
}

void PopupNotifier::close()
{
    if (m_popup) {
        m_popup->CloseFrm();
        m_popup.reset();
    }
    m_sound.reset();
}
