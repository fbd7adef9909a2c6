#include "worker/FetchCommand.h"

#include "worker/EventJson.h"
#include "worker/cMultGetWorker.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

int usage(const QString &problem)
{
    const QByteArray text = (QStringLiteral("torvel: ") + problem
                             + QStringLiteral("\nusage: torvel --fetch ID URL [--known FILE]\n"))
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

} // namespace

int runFetchCommand(const QStringList &arguments)
{
    QStringList positional;
    QString knownFile;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == QStringLiteral("--known")) {
            if (i + 1 >= arguments.size())
                return usage(QStringLiteral("--known needs a value"));
            knownFile = arguments.at(++i);
        } else if (arguments.at(i).startsWith(QStringLiteral("--"))) {
            return usage(QStringLiteral("unknown option ") + arguments.at(i));
        } else {
            positional << arguments.at(i);
        }
    }
    bool isNumber = false;
    const int id = positional.value(0).toInt(&isNumber);
    if (positional.size() != 2 || !isNumber)
        return usage(QStringLiteral("expected a numeric id and an address"));
    QString known;
    if (!knownFile.isEmpty()) {
        QFile file(knownFile);
        if (!file.open(QIODevice::ReadOnly))
            return usage(knownFile + QStringLiteral(": ") + file.errorString());
        known = QString::fromUtf8(file.readAll());
    }

    cMultGetWorker worker;
    QObject::connect(&worker, &cMultGetWorker::Msg, &worker,
                     [](int iID, const QString &time, const QString &info, const QString &href, const QString &popup) {
                         ParseEvent e = event(ParseEvent::Msg);
                         e.cellTime = time;
                         e.cellInfo = info;
                         e.href = href;
                         e.popup = popup;
                         print(EventJson::line(iID, e));
                     });
    QObject::connect(&worker, &cMultGetWorker::Complete, &worker, [](int iID, bool isNew) {
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
    worker.GetWebContent(known, id, positional.at(1));
    QCoreApplication::exec();
    return 0;
}
