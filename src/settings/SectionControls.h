#pragma once

#include "pagebridge/PageBridge.h"

#include <QStringList>

// What the settings dialog's list sections ("自定义新闻源", "关键词提醒")
// do alike in their page: a list of lines with one chosen, and an answer line.
namespace SectionControls {

// The lines into the list (option values are their places), the index-th chosen (-1: none).
void showLines(PageBridge &page, const QString &listId, const QStringList &lines, int selected);
// The answer line's text, in the tone "ok", "fail" or none.
void say(PageBridge &page, const QString &statusId, const QString &text, const QString &tone = {});

} // namespace SectionControls
