#pragma once

#include "quotes/QuoteScraper.h"

#include <QObject>
#include <QTimer>

class QWebEngineProfile;
class QuotePage;

// The hidden quote scraper: the broker's page loaded without a window, read
// by Timer1 through script in a world of its own (one read at a time), its
// texts judged by QuoteScraper. Nothing of it runs once it is gone.
class frmWebQuote : public QObject
{
    Q_OBJECT

public:
    // The broker's page of a host ("http://host"): the path with its doubled
    // slash and the query with its literal "&amp;" separators.
    static QString pageAddress(const QString &host);

    explicit frmWebQuote(const QString &address, QObject *parent = nullptr);
    ~frmWebQuote() override;

    bool Initialize() const { return m_scraper.Initialize(); }

Q_SIGNALS:
    void initialized();
    void iClose();
    void recovered();
    void Price(const QString &SymBol, const QString &Value, const QString &FractPip);

private:
    void tick();

    QWebEngineProfile *m_profile;
    QuotePage *m_page;
    QuoteScraper m_scraper;
    QTimer Timer1;
    bool m_reading = false;
};
