#include "app/HistorySearchCommand.h"

#include "core/ProgramData.h"
#include "news/HistoryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <cstdio>

namespace {

int fail(const QString &message, int code)
{
    std::fputs((QStringLiteral("tavrin: ") + message + u'\n').toUtf8().constData(), stderr);
    return code;
}

// Beijing time as the sites give it, from the item's sort key; else when it arrived.
QString timeOf(const HistoryItem &item)
{
    const QTimeZone beijing(8 * 3600);
    QDateTime time = QDateTime::fromString(item.row.timeKey, QStringLiteral("yyyyMMddHHmm"));
    if (time.isValid())
        time = QDateTime(time.date(), time.time(), beijing);
    else
        time = item.arrived.toTimeZone(beijing);
    return time.toString(Qt::ISODate);
}

} // namespace

int runHistorySearch(const QStringList &arguments, const QString &executablePath)
{
    int limit = 50;
    QString words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QStringLiteral("--limit") && i + 1 < arguments.size()) {
            bool ok = false;
            limit = arguments.at(++i).toInt(&ok);
            if (!ok || limit <= 0)
                return fail(QStringLiteral("--limit needs a positive number"), 2);
        } else if (words.isEmpty()) {
            words = arguments.at(i);
        } else {
            return fail(QStringLiteral("usage: tavrin --search \"WORDS\" [--limit N]"), 2);
        }
    }
    if (words.trimmed().isEmpty())
        return fail(QStringLiteral("usage: tavrin --search \"WORDS\" [--limit N]"), 2);
    const QString path = ProgramData::dataFolder(QFileInfo(executablePath).absolutePath() + QDir::separator())
        + QLatin1String(HistoryStore::FileName);
    HistoryStore store(QStringLiteral("search"));
    if (!store.openForReading(path))
        return fail(QStringLiteral("没有新闻历史记录: ") + path, 1);
    for (const HistoryItem &item : store.search(words, limit)) {
        const QJsonObject hit{{QStringLiteral("time"), timeOf(item)},
                              {QStringLiteral("source"), item.source},
                              {QStringLiteral("title"), item.row.title},
                              {QStringLiteral("summary"), item.row.summary},
                              {QStringLiteral("link"), item.row.link}};
        const QByteArray line = QJsonDocument(hit).toJson(QJsonDocument::Compact) + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    return 0;
}
