#include "notify/PlayMediaCls.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

namespace {

bool looksLikeSound(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    return (head.startsWith("RIFF") && head.mid(8, 4) == "WAVE") || head.startsWith("OggS") || head.startsWith("fLaC")
        || head.startsWith("ID3") || (head.size() >= 2 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0);
}

} // namespace

PlayMediaCls::PlayMediaCls(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &PlayMediaCls::tick);
}

PlayMediaCls::~PlayMediaCls()
{
    release();
}

void PlayMediaCls::release()
{
    if (m_player)
        m_player->stop();
    m_player.reset();
    m_audio.reset();
    m_timer.stop();
    m_valid = false;
}

bool PlayMediaCls::OpenMedia(const QString &file)
{
    release();
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable() || info.size() == 0 || !looksLikeSound(file))
        return false;
    m_player = std::make_unique<QMediaPlayer>();
    m_audio = std::make_unique<QAudioOutput>();
    m_player->setAudioOutput(m_audio.get());
    // Decoding is the media library's, later; a file it cannot play ends the play.
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this, [this] {
        m_valid = false;
        if (m_run && m_timer.isActive())
            end();
    });
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_valid = true;
    return true;
}

void PlayMediaCls::Play(bool time)
{
    if (!m_valid || !m_player)
        return;
    m_player->setPosition(0);
    m_run = true;
    m_player->play();
    m_playing.start();
    if (time)
        m_timer.start();
}

void PlayMediaCls::Stop_()
{
    if (m_valid && m_player)
        m_player->stop();
}

void PlayMediaCls::tick()
{
    if (!m_player)
        return;
    const qint64 duration = m_player->duration();
    const bool ended = m_player->mediaStatus() == QMediaPlayer::EndOfMedia
        || (duration > 0 && m_player->position() >= duration);
    const bool neverStarted = m_player->position() == 0 && m_playing.elapsed() > m_startLimitMs;
    const bool overran = m_playing.elapsed() > (duration > 0 ? duration + m_overrunMs : UnknownLengthMs);
    if (ended || neverStarted || overran) {
        if (!ended)
            m_player->stop();
        end();
    }
}

void PlayMediaCls::end()
{
    m_timer.stop();
    m_run = false;
    Q_EMIT EndPlay();
}
