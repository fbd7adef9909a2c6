#include "bar/TickerModel.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_TickerModel : public QObject
{
    Q_OBJECT

private:
    static NewsRow row(const QString &title) { return {u"10:00"_s, {}, title, {}, {}, u"FX168"_s, u" - FX168"_s}; }
    static QString describe(const TickerModel::Shown &shown) { return shown.row.title + (shown.newest ? u"*"_s : QString()); }

private Q_SLOTS:
    void theNewestShowsThenTheOlderOnesInTurn()
    {
        TickerModel model;
        QCOMPARE(describe(model.add(row(u"A"_s))), u"A*"_s);
        model.add(row(u"B"_s));
        QCOMPARE(describe(model.add(row(u"C"_s))), u"C*"_s);
        QStringList turns;
        for (int i = 0; i < 4; ++i)
            turns << describe(model.rotate());
        QCOMPARE(turns, (QStringList{u"B"_s, u"A"_s, u"C*"_s, u"B"_s}));
        // A new item always shows at once.
        QCOMPARE(describe(model.add(row(u"D"_s))), u"D*"_s);
        QCOMPARE(describe(model.rotate()), u"C"_s);
    }

    void theSixthPushesOutTheFirst()
    {
        TickerModel model;
        for (const QString &title : {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s})
            model.add(row(title));
        QCOMPARE(model.size(), TickerModel::MaxItems);
        QStringList turns;
        for (int i = 0; i < 5; ++i)
            turns << describe(model.rotate());
        QCOMPARE(turns, (QStringList{u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"6*"_s}));
    }
};

QTEST_GUILESS_MAIN(tst_TickerModel)
#include "tst_TickerModel.moc"
