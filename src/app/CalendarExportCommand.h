#pragma once

#include <QStringList>

// `tavrin --export-calendar FILE.ics`: the week stored in the program
// folder's tavrin.xml written as an iCalendar file, with no network, no lock,
// no window and no display. 0 when the file is written; 1 with a message when
// there is no stored week or the file cannot be written; 2 for bad usage.
int runCalendarExport(const QStringList &arguments, const QString &executablePath);
