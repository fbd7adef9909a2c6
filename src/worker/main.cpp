#include "worker/FeedCommand.h"
#include "worker/FetchCommand.h"
#include "worker/ParseCommand.h"
#include "worker/remote/WorkerServer.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: torvel --server SOCKET        serve the worker objects of one tavrin\n"
               "       torvel --parse SOURCE FILE [--known FILE] [--url URL]\n"
               "       torvel --fetch ID URL [--known FILE]\n"
               "       torvel --fetch auto|rss|atom|json|page URL [selectors] [--known FILE] [--probe]\n"
               "       torvel --fetch FXark|FX168|FX678|DailyFX|HeXun|CaiXun URL [--known FILE] [--probe]\n"
               "       torvel --parse-feed FILE [--url URL] [--content-type TYPE]\n"
               "       torvel --parse-page FILE --item SEL --title SEL [--link SEL] [--time SEL] [--summary SEL] [--url URL]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const QString command = arguments.value(0);
    if (command == QStringLiteral("--parse"))
        return runParseCommand(arguments.mid(1));
    if (command == QStringLiteral("--parse-feed"))
        return runParseFeedCommand(arguments.mid(1));
    if (command == QStringLiteral("--parse-page"))
        return runParsePageCommand(arguments.mid(1));
    if (command == QStringLiteral("--fetch"))
        return runFetchCommand(arguments.mid(1));
    if (command != QStringLiteral("--server") || arguments.size() != 2)
        return usage();

    WorkerServer server;
    QString error;
    if (!server.listen(arguments.at(1), &error)) {
        std::fprintf(stderr, "torvel: cannot listen on %s: %s\n", qPrintable(arguments.at(1)), qPrintable(error));
        return 1;
    }
    server.watchStandardInput();
    // Tells the starting program that the socket is there.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
