#pragma once

#include "cls_Config.h"

#include <QDateTime>
#include <QString>

// The process-wide values every window shares; set by the entry procedure and
// the controller, one instance per process (see Globals()).
struct AppGlobals
{
    QString AppPath;        // folder of the executable, with a trailing separator
    QString PageBase;       // prefix of the embedded pages
    cls_Config Config;      // the one store over tavrin.xml
    QDateTime StartTime;    // when the controller started
    bool PopupOpen = false; // a notification popup is on screen
    bool RunUpdaterOnExit = false;
    bool InSizeMove = false; // the user is dragging or sizing the main window
};

AppGlobals &Globals();

// File name of the main program inside the program folder.
QString programFileName();
