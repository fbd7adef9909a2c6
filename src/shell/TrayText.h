#pragma once

#include <QString>

// Balloon texts as plain text on every kind of tray. A desktop notification
// service reads a balloon's message as markup; Qt's own balloon shows plain
// text. Outside text (calendar values, the product site's notice) must show
// as it is on both.
namespace TrayText {

enum class Tray {
    NotificationService, // the message is markup, the title plain text
    Balloon,             // Qt's own balloon: plain text
};

// A title is plain text on both as it is.
QString message(const QString &text, Tray tray);

} // namespace TrayText
