#pragma once

#include "core/cls_Config.h"

#include <QDateTime>
#include <QString>

// What the whole process shares, set once at start-up by the entry procedure
// and the controller (see Globals()).
struct AppGlobals
{
    QString AppPath;     // folder of the executable, with a trailing separator
    cls_Config Config;   // the one store over tavrin.xml
    QDateTime StartTime; // when the controller started
};

AppGlobals &Globals();

// File name of the main program inside the program folder.
QString programFileName();
