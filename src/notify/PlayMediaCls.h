#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QAudioOutput;
class QMediaPlayer;

// Plays one sound file and, for a timed play, tells when it has ended.
// Without an audio device opening or playing fails or succeeds quietly; it
// never blocks, and a timed play always ends: one that has not started or
// not finished in time is stopped and reported as ended.
class PlayMediaCls : public QObject
{
    Q_OBJECT

public:
    explicit PlayMediaCls(QObject *parent = nullptr);
    ~PlayMediaCls() override;

    static constexpr int StartLimitMs = 3000;
    static constexpr int OverrunMs = 3000;      // past the sound's own length
    static constexpr int UnknownLengthMs = 60000;

    // A readable file that starts like a sound (WAVE, Ogg, FLAC or MPEG audio).
    bool OpenMedia(const QString &file);
    bool Valid() const { return m_valid; }
    // From the start; with `time`, the end is watched for and EndPlay raised.
    void Play(bool time = false);
    void Stop_();
    bool Run() const { return m_run; }
    // Shorter limits for a test.
    void setTimeLimits(int startMs, int overrunMs)
    {
        m_startLimitMs = startMs;
        m_overrunMs = overrunMs;
    }

Q_SIGNALS:
    void EndPlay();

private:
    void release();
    void tick();
    void end();

    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_audio;
    QTimer m_timer;
    QElapsedTimer m_playing;
    int m_startLimitMs = StartLimitMs;
    int m_overrunMs = OverrunMs;
    bool m_valid = false;
    bool m_run = false;
};
