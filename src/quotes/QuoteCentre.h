#pragma once

#include "pagebridge/Panel.h"
#include "quotes/QuoteBoard.h"

#include <QObject>

#include <memory>

class frmShowQuote;
class frmWebQuote;

// The quote centre in the main page's side column: stopped, starting (the
// animation "正在启动行情中心") or running (the eight prices, coloured by
// their moves). Started, it runs the hidden scraper of the broker's page.
class QuoteCentre : public QObject, public Panel
{
    Q_OBJECT

public:
    explicit QuoteCentre(PageBridge &page, QObject *parent = nullptr);
    ~QuoteCentre() override;

    QList<PageBridge::Binding> bindings() override;
    // A page loaded anew (its renderer ended): the centre as it runs, its prices as they were.
    void pageLoaded() override;
    void iStartQuote();
    void iCloseQuote();
    // Its floating panel's place is kept with the rest.
    void closing() override { iCloseQuote(); }
    // Opens the floating panel with the pairs in the order of the page's list.
    void ShowQuote();
    frmShowQuote *panel() const { return m_panel.get(); }

private:
    void showRunning(bool running);
    void iFrmWebQuote_iClose();
    void CloseQuote();
    void iFrmWebQuote_Price(const QString &SymBol, const QString &Value, const QString &FractPip);
    void showPrice(const QString &symbol, const QuoteBoard::Update &shown);

    PageBridge &m_page;
    std::unique_ptr<frmWebQuote> m_scraper;
    std::unique_ptr<frmShowQuote> m_panel;
    QuoteBoard m_board;
};
