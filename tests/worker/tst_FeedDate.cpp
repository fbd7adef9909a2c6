#include "worker/FeedDate.h"

#include <QTest>
#include <QTimeZone>

// Every form of date the feeds and the sites write, in UTC.
class tst_FeedDate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("utc"); // empty: no date

        // RFC 822 and its successors.
        QTest::newRow("822 numeric zone") << "Tue, 08 Dec 2026 14:30:00 +0800" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 no weekday, one-digit day") << "8 Dec 2026 14:30:00 -0500" << "2026-12-08T19:30:00Z";
        QTest::newRow("822 GMT, no seconds") << "Tue, 08 Dec 2026 06:30 GMT" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 named zone EST") << "Tue, 08 Dec 2026 01:30:00 EST" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 PDT") << "Mon, 07 Dec 2026 23:30:00 PDT" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 military Z") << "Tue, 08 Dec 2026 06:30:00 Z" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 no zone is Beijing") << "Tue, 08 Dec 2026 14:30:00" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 two-digit year") << "Tue, 08 Dec 26 14:30:00 +0800" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 full month name") << "08 December 2026 14:30:00 +08:00" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 zone comment") << "Tue, 08 Dec 2026 06:30:00 +0000 (UTC)" << "2026-12-08T06:30:00Z";
        QTest::newRow("822 across midnight") << "Tue, 08 Dec 2026 02:00:00 +0800" << "2026-12-07T18:00:00Z";
        // RFC 3339 and the W3C forms.
        QTest::newRow("3339 Z") << "2026-12-08T06:30:00Z" << "2026-12-08T06:30:00Z";
        QTest::newRow("3339 offset, fraction dropped") << "2026-12-08T14:30:00.123456+08:00" << "2026-12-08T06:30:00Z";
        QTest::newRow("3339 lower-case t and z") << "2026-12-08t06:30:00z" << "2026-12-08T06:30:00Z";
        QTest::newRow("w3c minutes only") << "2026-12-08T14:30+08:00" << "2026-12-08T06:30:00Z";
        QTest::newRow("w3c date alone: Beijing midnight") << "2026-12-08" << "2026-12-07T16:00:00Z";
        QTest::newRow("w3c year and month") << "2026-12" << "2026-11-30T16:00:00Z";
        QTest::newRow("w3c year") << "2026" << "2025-12-31T16:00:00Z";
        // The sites' own forms, Beijing time.
        QTest::newRow("site dashes") << "2026-12-08 14:30:00" << "2026-12-08T06:30:00Z";
        QTest::newRow("site slashes") << "2026/12/08 14:30" << "2026-12-08T06:30:00Z";
        QTest::newRow("site chinese") << "2026年12月8日 14:30" << "2026-12-08T06:30:00Z";
        QTest::newRow("site month and day, this year") << "12-08 14:30" << "2026-12-08T06:30:00Z";
        QTest::newRow("site month and day, last year") << "12-31 23:00" << "2025-12-31T15:00:00Z";
        QTest::newRow("site chinese hour and minute") << "12月08日 14时30分" << "2026-12-08T06:30:00Z";
        // No date.
        QTest::newRow("empty") << "" << "";
        QTest::newRow("words") << "yesterday" << "";
        QTest::newRow("impossible day") << "2026-02-30 10:00" << "";
        QTest::newRow("impossible hour") << "Tue, 08 Dec 2026 25:30:00 +0800" << "";
    }
    void readsTheDate()
    {
        QFETCH(QString, text);
        QFETCH(QString, utc);
        const QDateTime now(QDate(2026, 12, 8), QTime(7, 0), Qt::UTC);
        const std::optional<QDateTime> date = FeedDate::parse(text, now);
        QCOMPARE(date ? date->toUTC().toString(Qt::ISODate) : QString(), utc);
    }
};

QTEST_GUILESS_MAIN(tst_FeedDate)
#include "tst_FeedDate.moc"
