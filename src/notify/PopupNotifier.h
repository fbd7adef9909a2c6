#pragma once

#include "core/Notifier.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class Clock;
class frmPopUp;
class PlayMediaCls;

// The program's one notifier: news, alerts and reminders reach the user
// through it as records. It keeps the popup that slides up (made for the
// first notification, let go of when closed), its sound, the grace period
// after start-up, the popup setting, and the notifications held back while
// a full-screen window is active (the newest ten).
class PopupNotifier : public QObject, public Notifier
{
    Q_OBJECT

public:
    static constexpr int GraceSeconds = 10;
    static constexpr int FullScreenCheckMs = 2000;

    explicit PopupNotifier(const Clock &clock, QObject *parent = nullptr);
    ~PopupNotifier() override;

    // Shown for as long as the popup setting says, unless it stays until closed.
    void notify(const Notification &notification) override;
    // Closes the popup and stops its sound (an update takes over, the program ends).
    void close();
    // The popup while it is open (and briefly after it closed); none otherwise.
    frmPopUp *popupWindow() const { return m_popup.get(); }

Q_SIGNALS:
    // The popup's "more": the main window is wanted.
    void moreClicked();

private:
    void present(const Notification &notification);
    void showDeferred();
    void release();
    void playSound(const QString &soundFile);

    const Clock &m_clock;
    std::unique_ptr<frmPopUp> m_popup;
    std::unique_ptr<PlayMediaCls> m_sound;
    // Held back while a full-screen window is active.
    QList<Notification> m_deferred;
    QTimer m_fullScreenCheck;
};
