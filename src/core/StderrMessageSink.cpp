#include "core/StderrMessageSink.h"

#include <cstdio>

void StderrMessageSink::show(MessageIcon, const QString &text, const QString &caption)
{
    const QByteArray line = (caption.isEmpty() ? text : caption + QStringLiteral(": ") + text).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

StderrMessageSink &StderrMessageSink::instance()
{
    static StderrMessageSink sink;
    return sink;
}
