#pragma once

#include "support/TempProgramFolder.h"

#include <QProcess>
#include <QStringList>

// The real program in a program folder of its own, started as a user starts
// it: on the test display, with a home and runtime folder of its own.
class TavrinRun
{
public:
    // With a site base, the folder holds a configuration reading every site
    // from there (see TempProgramFolder::copyLocalConfig).
    explicit TavrinRun(const QString &siteBase = {});
    ~TavrinRun();

    bool start(const QStringList &arguments = {});
    // The program's visible windows named "Tessaly" (the tray icon's among
    // them), as X window ids; empty also when xdotool gave up its scan
    // because another window went away meanwhile, so callers ask again.
    QStringList visibleWindows() const;
    QProcess &process() { return m_process; }
    const TempProgramFolder &folder() const { return m_folder; }

private:
    TempProgramFolder m_folder;
    TempProgramFolder m_home;
    QProcess m_process;
};
