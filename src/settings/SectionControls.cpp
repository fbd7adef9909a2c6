#include "settings/SectionControls.h"

namespace SectionControls {

void showLines(PageBridge &page, const QString &listId, const QStringList &lines, int selected)
{
    QVariantList options;
    for (qsizetype i = 0; i < lines.size(); ++i)
        options.append(QVariantMap{{QStringLiteral("value"), QString::number(i)}, {QStringLiteral("text"), lines.at(i)}});
    page.setOptions(listId, options);
    page.setSelectedIndex(listId, selected);
}

void say(PageBridge &page, const QString &statusId, const QString &text, const QString &tone)
{
    page.setText(statusId, text);
    page.setAttribute(statusId, QStringLiteral("class"), tone);
}

} // namespace SectionControls
