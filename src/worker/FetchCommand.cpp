#include "worker/FetchCommand.h"

#include "protocol/SourceId.h"
#include "worker/EventJson.h"
#include "worker/FeedFetcher.h"
#include "worker/PageSourceReader.h"
#include "worker/cMultGetWorker.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cstdio>

namespace {

int usage(const QString &problem)
{
    const QByteArray text = (QStringLiteral("torvel: ") + problem
                             + QStringLiteral("\nusage: torvel --fetch ID URL [--known FILE]\n"
                                              "       torvel --fetch auto|rss|atom|json|FXark|FX168|... URL [--known FILE] [--probe]\n"
                                              "       torvel --fetch page URL --item SEL --title SEL [--link SEL] [--time SEL]"
                                              " [--summary SEL] [--known FILE] [--probe]\n"))
                                .toUtf8();
    std::fputs(text.constData(), stderr);
    return 2;
}

void print(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

ParseEvent event(ParseEvent::Kind kind)
{
    ParseEvent e;
    e.kind = kind;
    return e;
}

// The item a reader takes as the newest: the latest dated one, else the first
// (feeds and pages list their newest first).
const FeedItem *newestOf(const Feed &feed)
{
    const FeedItem *newest = feed.items.isEmpty() ? nullptr : &feed.items.first();
    for (const FeedItem &item : feed.items) {
        if (item.published && (!newest->published || *item.published > *newest->published))
            newest = &item;
    }
    return newest;
}

// A feed or page source: its new items, then the end of the pass. The known
// keys are the lines of the known file. A probe (the settings dialog's test)
// prints instead how many items the source holds and the newest title.
int fetchFeed(const QString &kind, const QString &url, const QString &known, const QHash<QString, QString> &selectors,
              bool probe)
{
    FeedSource source;
    source.kind = kind;
    source.selectors = {selectors.value(QStringLiteral("--item")), selectors.value(QStringLiteral("--title")),
                        selectors.value(QStringLiteral("--link")), selectors.value(QStringLiteral("--time")),
                        selectors.value(QStringLiteral("--summary"))};
    if (kind == QStringLiteral("page")) {
        if (const QString problem = PageSourceReader::check(source.selectors); !problem.isEmpty())
            return usage(problem);
    }
    FeedFetcher fetcher;
    if (probe) {
        QObject::connect(&fetcher, &FeedFetcher::read, &fetcher, [](const Feed &feed) {
            const FeedItem *newest = newestOf(feed);
            print(EventJson::probeLine(static_cast<int>(feed.items.size()), newest ? newest->title : QString()));
            QCoreApplication::quit();
        });
    }
    QObject::connect(&fetcher, &FeedFetcher::item, &fetcher, [probe](const FeedPass::KeyedItem &keyed) {
        if (probe || keyed.quiet)
            return;
        print(EventJson::itemLine(keyed.key, keyed.item, FeedPass::isImportant(keyed.item)));
    });
    QObject::connect(&fetcher, &FeedFetcher::completed, &fetcher, [probe](bool isNew) {
        if (probe)
            return;
        ParseEvent e = event(ParseEvent::Complete);
        e.isNew = isNew;
        print(EventJson::line(0, e));
        QCoreApplication::quit();
    });
    QObject::connect(&fetcher, &FeedFetcher::failed, &fetcher, [](const QString &message, int retryAfter) {
        print(EventJson::errorLine(message, retryAfter));
        QCoreApplication::quit();
    });
    QObject::connect(&fetcher, &FeedFetcher::timedOut, &fetcher, [] {
        print(EventJson::timeoutLine(0));
        QCoreApplication::quit();
    });
    const QStringList keys = known.split(u'\n', Qt::SkipEmptyParts);
    fetcher.fetch(url, source, QSet<QString>(keys.begin(), keys.end()));
    QCoreApplication::exec();
    return 0;
}

} // namespace

int runFetchCommand(const QStringList &arguments)
{
    static const QStringList selectorOptions{QStringLiteral("--item"), QStringLiteral("--title"), QStringLiteral("--link"),
                                             QStringLiteral("--time"), QStringLiteral("--summary")};
    static const QStringList kinds{QStringLiteral("auto"), QStringLiteral("rss"), QStringLiteral("atom"),
                                   QStringLiteral("json"), QStringLiteral("page")};
    QStringList positional;
    QString knownFile;
    QHash<QString, QString> selectors;
    bool probe = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--probe")) {
            probe = true;
        } else if (argument == QStringLiteral("--known") || selectorOptions.contains(argument)) {
            if (i + 1 >= arguments.size())
                return usage(argument + QStringLiteral(" needs a value"));
            if (argument == QStringLiteral("--known"))
                knownFile = arguments.at(++i);
            else
                selectors.insert(argument, arguments.at(++i));
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return usage(QStringLiteral("unknown option ") + argument);
        } else {
            positional << argument;
        }
    }
    bool isNumber = false;
    const int id = positional.value(0).toInt(&isNumber);
    const bool feed = kinds.contains(positional.value(0));
    const QString pageKind = isNumber ? QString() : SourceId::pageKind(positional.value(0));
    if (positional.size() != 2 || (!isNumber && !feed && pageKind.isEmpty()))
        return usage(QStringLiteral("expected a numeric id or a kind of source, and an address"));
    QString known;
    if (!knownFile.isEmpty()) {
        QFile file(knownFile);
        if (!file.open(QIODevice::ReadOnly))
            return usage(knownFile + QStringLiteral(": ") + file.errorString());
        known = QString::fromUtf8(file.readAll());
    }
    if (feed)
        return fetchFeed(positional.at(0), positional.at(1), known, selectors, probe);
    if (!selectors.isEmpty() || (probe && pageKind.isEmpty()))
        return usage(QStringLiteral("selectors are for a page source, --probe for a feed or a kind of page"));

    cMultGetWorker worker;
    // A probe counts the items and names the newest instead of printing them.
    int items = 0;
    QString newest;
    QObject::connect(&worker, &cMultGetWorker::Msg, &worker,
                     [probe, &items, &newest](int iID, const QString &time, const QString &info, const QString &href,
                                              const QString &popup) {
                         if (probe) {
                             ++items;
                             newest = info.section(u'~', 0, 0);
                             return;
                         }
                         ParseEvent e = event(ParseEvent::Msg);
                         e.cellTime = time;
                         e.cellInfo = info;
                         e.href = href;
                         e.popup = popup;
                         print(EventJson::line(iID, e));
                     });
    QObject::connect(&worker, &cMultGetWorker::Complete, &worker, [probe, &items, &newest](int iID, bool isNew) {
        if (probe)
            return print(EventJson::probeLine(items, newest));
        ParseEvent e = event(ParseEvent::Complete);
        e.isNew = isNew;
        print(EventJson::line(iID, e));
    });
    QObject::connect(&worker, &cMultGetWorker::IError, &worker, [](int iID, const QString &message) {
        ParseEvent e = event(ParseEvent::Error);
        e.message = message;
        print(EventJson::line(iID, e));
    });
    QObject::connect(&worker, &cMultGetWorker::Timeout, &worker, [](int iID) { print(EventJson::timeoutLine(iID)); });
    QObject::connect(&worker, &cMultGetWorker::PassEnded, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (pageKind.isEmpty())
        worker.GetWebContent(known, id, positional.at(1));
    else
        worker.GetFeedContent(known, 0, positional.at(1),
                              QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("kind"), pageKind}}).toJson()));
    QCoreApplication::exec();
    return 0;
}
