#pragma once

#include <QString>
#include <QVariantList>

// What the news model changes in the main window's page. The window carries
// it out; tests record it.
class NewsView
{
public:
    virtual ~NewsView() = default;
    // cells: maps with "text" or "html", optional "style" and "attributes".
    virtual void insertRow(const QString &table, int index, const QVariantList &cells) = 0;
    virtual void deleteRow(const QString &table, int index) = 0;
    virtual void setHtml(const QString &id, const QString &html) = 0;
    virtual void setStyle(const QString &id, const QString &property, const QString &value) = 0;
    // The all-news table's own sort (its header cell's click).
    virtual void sortAllNews() = 0;
    virtual void popup(const QString &html) = 0;
    virtual void showTab(const QString &anchor, bool shown) = 0;
    virtual QString currentTab() const = 0;
    virtual void selectTab(const QString &anchor) = 0;
};
