#include "worker/FeedCommand.h"

#include "worker/FeedJson.h"
#include "worker/FeedParser.h"
#include "worker/PageSourceReader.h"

#include <QDateTime>
#include <QFile>
#include <QHash>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    const QByteArray line = (QStringLiteral("torvel: ") + message + u'\n').toUtf8();
    std::fputs(line.constData(), stderr);
    return 2;
}

int usage(const QString &problem)
{
    return fail(problem
                + QStringLiteral("\nusage: torvel --parse-feed FILE [--url URL] [--content-type TYPE]\n"
                                 "       torvel --parse-page FILE --item SEL --title SEL [--link SEL] [--time SEL]"
                                 " [--summary SEL] [--url URL] [--content-type TYPE]"));
}

// FILE and the values of the options named in `known`; an error text when
// the arguments are not of that form.
QString readArguments(const QStringList &arguments, const QStringList &known, QString &file,
                      QHash<QString, QString> &options)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (known.contains(argument)) {
            if (i + 1 >= arguments.size())
                return argument + QStringLiteral(" needs a value");
            options.insert(argument, arguments.at(++i));
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return QStringLiteral("unknown option ") + argument;
        } else if (file.isEmpty()) {
            file = argument;
        } else {
            return QStringLiteral("one file only");
        }
    }
    return file.isEmpty() ? QStringLiteral("expected a file") : QString();
}

int print(const std::optional<Feed> &feed, const QString &error)
{
    if (!feed)
        return fail(error);
    const QByteArray json = FeedJson::write(*feed);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    std::fflush(stdout);
    return 0;
}

int run(const QStringList &arguments, const QStringList &known, bool page)
{
    QString path;
    QHash<QString, QString> options;
    if (const QString problem = readArguments(arguments, known, path, options); !problem.isEmpty())
        return usage(problem);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(path + QStringLiteral(": ") + file.errorString());
    const QByteArray body = file.readAll();
    const QString url = options.value(QStringLiteral("--url"));
    const QString contentType = options.value(QStringLiteral("--content-type"));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QString error;
    if (!page)
        return print(FeedParser::parse(body, contentType, url, now, &error), error);
    const PageSelectors selectors{options.value(QStringLiteral("--item")), options.value(QStringLiteral("--title")),
                                  options.value(QStringLiteral("--link")), options.value(QStringLiteral("--time")),
                                  options.value(QStringLiteral("--summary"))};
    return print(PageSourceReader::read(body, contentType, url, selectors, now, &error), error);
}

} // namespace

int runParseFeedCommand(const QStringList &arguments)
{
    return run(arguments, {QStringLiteral("--url"), QStringLiteral("--content-type")}, false);
}

int runParsePageCommand(const QStringList &arguments)
{
    return run(arguments,
               {QStringLiteral("--url"), QStringLiteral("--content-type"), QStringLiteral("--item"),
                QStringLiteral("--title"), QStringLiteral("--link"), QStringLiteral("--time"),
                QStringLiteral("--summary")},
               true);
}
