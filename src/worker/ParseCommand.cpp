#include "worker/ParseCommand.h"

#include "html/HtmlDocument.h"
#include "protocol/SourceId.h"
#include "worker/EventJson.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <QFile>

#include <cstdio>

namespace {

int usage(const QString &problem)
{
    const QByteArray text = (QStringLiteral("torvel: ") + problem
                             + QStringLiteral("\nusage: torvel --parse SOURCE FILE [--known FILE] [--url URL]\n"
                                              "  SOURCE: 100-105 or FXark, FX168, FX678, DailyFX, HeXun, CaiXun\n"))
                                .toUtf8();
    std::fputs(text.constData(), stderr);
    return 2;
}

bool readFile(const QString &path, QByteArray &content, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    content = file.readAll();
    return true;
}

} // namespace

int runParseCommand(const QStringList &arguments)
{
    QStringList positional;
    QString knownFile;
    QString url;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--known") || argument == QStringLiteral("--url")) {
            if (i + 1 >= arguments.size())
                return usage(argument + QStringLiteral(" needs a value"));
            (argument == QStringLiteral("--known") ? knownFile : url) = arguments.at(++i);
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return usage(QStringLiteral("unknown option ") + argument);
        } else {
            positional << argument;
        }
    }
    if (positional.size() != 2)
        return usage(QStringLiteral("expected a source and a file"));
    const qint32 id = SourceId::fromText(positional.at(0));
    if (id == 0)
        return usage(QStringLiteral("unknown source ") + positional.at(0));

    QByteArray page;
    QByteArray known;
    QString error;
    if (!readFile(positional.at(1), page, error) || (!knownFile.isEmpty() && !readFile(knownFile, known, error)))
        return usage(error);

    HtmlDocument document;
    const QString kind = SourceId::name(id);
    const ParseEvents events =
        SourceParsers::parse(kind, PageDecoder::decode(kind, page), QString::fromUtf8(known), url, document);
    for (const ParseEvent &event : events) {
        const QByteArray line = EventJson::line(id, event);
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    }
    std::fflush(stdout);
    return 0;
}
