#include "ParseCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!arguments.isEmpty() && arguments.front() == QStringLiteral("--parse"))
        return runParseCommand(arguments.mid(1));
    std::fputs("usage: torvel --parse SOURCE FILE [--known FILE] [--url URL]\n", stderr);
    return 2;
}
