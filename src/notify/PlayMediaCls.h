#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QAudioOutput;
class QMediaPlayer;

// Plays one sound file and, for a timed play, tells when it has ended.
// Without an audio device opening or playing fails or succeeds quietly; it
// never blocks.
class PlayMediaCls : public QObject
{
    Q_OBJECT

public:
    explicit PlayMediaCls(QObject *parent = nullptr);
    ~PlayMediaCls() override;

    bool OpenMedia(const QString &file);
    bool Valid() const { return m_valid; }
    // From the start; with `time`, the end is watched for and EndPlay raised.
    void Play(bool time = false);
    void Stop_();
    bool Run() const { return m_run; }

Q_SIGNALS:
    void EndPlay();

private:
    void release();
    void tick();

    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_audio;
    QTimer m_timer;
    bool m_valid = false;
    bool m_run = false;
};
