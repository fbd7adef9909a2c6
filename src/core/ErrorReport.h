#pragma once

#include <QDateTime>
#include <QString>

// The fixed texts in which handlers report an unexpected failure to the user.
namespace ErrorReport {

// Title of every balloon report, shown with the error icon.
QString balloonTitle();
inline constexpr int BalloonIcon = 3;

// The message box text of the main window's Erradd.
QString erraddText(int errRow, const QString &description, const QString &module, const QDateTime &now);

// Balloon text without a module: location, error number and description.
QString balloonText(int location, int errorNumber, const QString &description);

// Balloon text naming the reporting module.
QString balloonTextWithModule(const QString &module, int location, const QString &description);

} // namespace ErrorReport
