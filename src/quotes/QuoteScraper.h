#pragma once

#include <QList>
#include <QString>

#include <functional>

// The quote scraper without its page: fed the text of the broker page's
// first table and the texts of its price cells at every tick, it decides
// when the prices are read and what is reported. Display-free; the hidden
// page only reads texts for it.
class QuoteScraper
{
public:
    struct Pair
    {
        QString elementId; // "bidElem0", ...
        QString symbol;    // "EURUSD", ...
        int decimals;      // the number format's places
    };
    // What a tick reports, in order.
    struct Report
    {
        enum Kind { Price, Close, Recovered, Initialize } kind;
        QString symbol;
        QString value;    // the price without its last digit
        QString fractPip; // the last digit
    };

    static constexpr int ReadingMs = 250;
    static constexpr int SteadyMs = 1000;

    // The eight pairs in the order they are read and reported.
    static const QList<Pair> &pairs();
    // The value of the leading number of a text ("1.2345x" is 1.2345), as
    // text; empty when the text does not start with a number.
    static QString leadingNumber(const QString &text);
    // A number's text with exactly `decimals` places, halves rounded away
    // from zero ("1.2345" with 5 is "1.23450", "110.1235" with 3 is "110.124").
    static QString formatted(const QString &number, int decimals);
    // Whether a number's text stands for zero (or for no number at all).
    static bool isZero(const QString &number);

    // The page has (re)loaded: wait for the table to change, reading fast.
    void documentLoaded();
    // One tick of Timer1.
    QList<Report> tick(const QString &tableText, const std::function<QString(const QString &elementId)> &cellText);
    int interval() const { return m_interval; }
    bool Initialize() const { return m_initialized; }

private:
    enum class Snapshot { None, Waiting, Reading };

    Snapshot m_snapshot = Snapshot::None;
    QString m_waitingText;
    QString m_lastParsed;
    bool m_initialized = false;
    bool m_closed = false;
    int m_interval = ReadingMs;
};
