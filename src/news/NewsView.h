#pragma once

#include "news/NewsRow.h"

#include <QString>

// What the news model changes in the main window's page. The window's news
// panel carries it out; tests record it.
class NewsView
{
public:
    virtual ~NewsView() = default;
    // A row on top of the table's body.
    virtual void insertRow(const QString &table, const NewsRow &row) = 0;
    virtual void deleteLastRow(const QString &table) = 0;
    // The status line's marks: fixed snippets with escaped source texts.
    virtual void setHtml(const QString &id, const QString &html) = 0;
    virtual void setText(const QString &id, const QString &text) = 0;
    virtual void setStyle(const QString &id, const QString &property, const QString &value) = 0;
    // The all-news table's own sort (its header cell's click).
    virtual void sortAllNews() = 0;
    virtual void popup(const QString &html) = 0;
    // A keyword alert: shown even when popups are off, until closed, with the
    // rule's sound and the words it found marked.
    virtual void alert(const QString &html, const QString &sound, const QStringList &marks) = 0;
    virtual void showTab(const QString &anchor, bool shown) = 0;
    virtual QString currentTab() const = 0;
    virtual void selectTab(const QString &anchor) = 0;
};
