#include "news/FeedProbe.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <utility>

namespace {

QString failure(const QString &why)
{
    return QStringLiteral("失败: ") + why;
}

} // namespace

FeedProbe::FeedProbe(QString workerProgram, QObject *parent)
    : QObject(parent)
    , m_program(std::move(workerProgram))
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(DeadlineMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        stop();
        Q_EMIT finished(false, failure(QStringLiteral("超时")));
    });
}

FeedProbe::~FeedProbe()
{
    stop();
}

void FeedProbe::probe(const NewsSource &source)
{
    stop();
    QStringList arguments{QStringLiteral("--fetch"), source.kind, source.url, QStringLiteral("--probe")};
    if (source.kind == QStringLiteral("page")) {
        const std::pair<const char *, QString> selectors[] = {{"--item", source.itemSelector},
                                                              {"--title", source.titleSelector},
                                                              {"--link", source.linkSelector},
                                                              {"--time", source.timeSelector},
                                                              {"--summary", source.summarySelector}};
        for (const auto &[option, selector] : selectors) {
            if (!selector.isEmpty())
                arguments << QLatin1String(option) << selector;
        }
    }
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(m_process, &QProcess::finished, this, &FeedProbe::onEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        stop();
        Q_EMIT finished(false, failure(QStringLiteral("无法运行 torvel")));
    });
    m_process->start(m_program, arguments);
    m_deadline.start();
}

void FeedProbe::onEnded()
{
    const QByteArray output = m_process->readAllStandardOutput();
    stop();
    const Answer answer = describe(output);
    Q_EMIT finished(answer.found, answer.text);
}

void FeedProbe::stop()
{
    m_deadline.stop();
    if (!m_process)
        return;
    QProcess *process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(1000);
    }
    process->deleteLater();
}

FeedProbe::Answer FeedProbe::describe(const QByteArray &output)
{
    // The last event line tells how the fetch ended.
    const QList<QByteArray> lines = output.trimmed().split('\n');
    const QJsonObject event = QJsonDocument::fromJson(lines.last()).object();
    const QString kind = event.value(QStringLiteral("event")).toString();
    if (kind == QStringLiteral("Probe")) {
        const int items = event.value(QStringLiteral("items")).toInt();
        if (items == 0)
            return {false, QStringLiteral("读取成功, 但没有找到新闻")};
        return {true, QStringLiteral("找到 %1 条新闻, 最新: %2").arg(items).arg(event.value(QStringLiteral("newest")).toString())};
    }
    if (kind == QStringLiteral("GetError"))
        return {false, failure(event.value(QStringLiteral("msg")).toString())};
    if (kind == QStringLiteral("GetTimeout"))
        return {false, failure(QStringLiteral("超时"))};
    return {false, failure(QStringLiteral("torvel 没有回答"))};
}
