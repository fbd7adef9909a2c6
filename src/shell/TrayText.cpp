#include "shell/TrayText.h"

#include "html/HtmlEscape.h"

namespace TrayText {

namespace {

QString escapedLines(const QString &text, const QString &lineBreak)
{
    QString out = htmlEscaped(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lineBreak == QStringLiteral("\n") ? out : out.replace(u'\n', lineBreak);
}

} // namespace

QString message(const QString &text, Tray tray)
{
    if (tray == Tray::NotificationService)
        return escapedLines(text, QStringLiteral("\n"));
    // Said to be rich text, so the label shows the escaped text as it was.
    return QStringLiteral("<qt>") + escapedLines(text, QStringLiteral("<br>")) + QStringLiteral("</qt>");
}

QString title(const QString &text, Tray tray)
{
    return tray == Tray::NotificationService ? text : message(text, tray);
}

} // namespace TrayText
