#pragma once

#include <QString>

// The HTML snippets of the popup window, one per new item. Time, title and
// summary are escaped here; the link goes through PageText::snippetLink.
namespace PopupSnippet {

// What a click on a linked item does in the popup page.
enum class Tail {
    Click,     // GetObj('popupWin_iLink').click()
    FireEvent, // popupWin_iLink.fireEvent('onclick')
};

QString plain(const QString &icon, const QString &time, const QString &title);
QString linked(const QString &icon, const QString &link, Tail tail, const QString &time, const QString &title);
// Plain, with the summary in blue after the title unless it repeats the title.
QString withSummary(const QString &icon, const QString &time, const QString &title, const QString &summary);

} // namespace PopupSnippet
