#pragma once

#include "quotes/QuoteScraper.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

class QWebEngineProfile;
class QWebEngineView;
class QuotePage;

// The hidden quote scraper: the broker's page loaded without a window, read
// by Timer1 through script in a world of its own (one read at a time), its
// texts judged by QuoteScraper. Nothing of it runs once it is gone. A start
// that brings no prices in time (the page fails or stalls) is given up.
class frmWebQuote : public QObject
{
    Q_OBJECT

public:
    // The broker's page of a host ("http://host"): the path with its doubled
    // slash and the query with its literal "&amp;" separators.
    static QString pageAddress(const QString &host);

    static constexpr std::chrono::milliseconds StartTimeout{30000};

    explicit frmWebQuote(const QString &address, std::chrono::milliseconds startTimeout = StartTimeout,
                         QObject *parent = nullptr);
    ~frmWebQuote() override;

    bool Initialize() const { return m_scraper.Initialize(); }

Q_SIGNALS:
    void initialized();
    void iClose();
    void recovered();
    void Price(const QString &SymBol, const QString &Value, const QString &FractPip);
    // The first load failed, or no prices came before the start's time-out.
    void startFailed();

private:
    void tick();

    QWebEngineProfile *m_profile;
    QuotePage *m_page;
    std::unique_ptr<QWebEngineView> m_view;
    QuoteScraper m_scraper;
    QTimer Timer1;
    QTimer m_startDeadline;
    bool m_loaded = false;
    bool m_reading = false;
};
