#include "shell/TrayText.h"

#include "html/HtmlEscape.h"

namespace TrayText {

QString message(const QString &text, Tray tray)
{
    if (tray == Tray::NotificationService) {
        QString out = htmlEscaped(text);
        return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    return text;
}

} // namespace TrayText
