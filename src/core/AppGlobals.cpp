#include "core/AppGlobals.h"

AppGlobals &Globals()
{
    static AppGlobals globals;
    return globals;
}

QString programFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("tavrin.exe");
#else
    return QStringLiteral("tavrin");
#endif
}
