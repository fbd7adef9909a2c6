#pragma once

#include "news/NewsRow.h"
#include "pagebridge/Panel.h"

#include <QObject>

#include <memory>

class frmBar;

// The ticker bar seen from the main page: its button "显示漂浮工具条", the one
// bar window it opens, and the newest news it hands on while the bar shows.
class BarPanel : public QObject, public Panel
{
    Q_OBJECT

public:
    explicit BarPanel(PageBridge &page, QObject *parent = nullptr);
    ~BarPanel() override;

    QList<PageBridge::Binding> bindings() override;
    void ShowBar();
    bool BarShown() const { return m_bar != nullptr; }
    frmBar *bar() const { return m_bar.get(); }
    // The newest item of the news, for the bar while it shows.
    void newsItem(const NewsRow &row);
    // At exit: the bar closes without its button coming back.
    void closeForExit();
    void closing() override { closeForExit(); }
    // Closes the bar; its button shows again.
    void CloseBar();

Q_SIGNALS:
    void moreClicked();

private:
    PageBridge &m_page;
    std::unique_ptr<frmBar> m_bar;
};
