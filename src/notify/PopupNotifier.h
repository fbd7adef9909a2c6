#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class Clock;
class frmPopUp;
class PlayMediaCls;

// How news and reminders reach the user: the popup that slides up (made for
// the first item, let go of when closed), its sound, the grace period after
// start-up, and the items held back while a full-screen window is active.
class PopupNotifier : public QObject
{
    Q_OBJECT

public:
    static constexpr int GraceSeconds = 10;
    static constexpr int FullScreenCheckMs = 2000;
    // The popup stays until the user closes it.
    static constexpr int UntilClosed = -1;

    explicit PopupNotifier(const Clock &clock, QObject *parent = nullptr);
    ~PopupNotifier() override;

    // `delayMs`: how long the popup stays (0: as the settings say, UntilClosed).
    void notify(const QString &html, int delayMs = 0);
    // What a keyword alert found: shown even when popups are off, until
    // closed, with the rule's sound file (none when empty) instead of the
    // popup's, and the texts it found marked.
    void alert(const QString &html, const QString &soundFile, const QStringList &marks);
    // Closes the popup and stops its sound (an update takes over, the program ends).
    void close();
    // The popup while it is open (and briefly after it closed); none otherwise.
    frmPopUp *popupWindow() const { return m_popup.get(); }

Q_SIGNALS:
    // The popup's "more": the main window is wanted.
    void moreClicked();

private:
    struct Held
    {
        QString html;
        int delayMs;
        QString soundFile;
        QStringList marks = {};
    };
    void present(const Held &item);
    void showDeferred();
    void release();
    void playSound(const QString &soundFile);

    const Clock &m_clock;
    std::unique_ptr<frmPopUp> m_popup;
    std::unique_ptr<PlayMediaCls> m_sound;
    // Held back while a full-screen window is active.
    QList<Held> m_deferred;
    QTimer m_fullScreenCheck;
};
