#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of a program to its end: what it printed and how it ended.
struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QString errors;

    // A program of the build's program folder when `program` is a bare name.
    static ProgramRun of(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
};
