#include "support/ProgramRun.h"

#include <QProcess>

ProgramRun ProgramRun::of(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program.contains(u'/') ? program : QStringLiteral(TESSALY_PROGRAM_DIR "/") + program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not end", qPrintable(program));
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}
