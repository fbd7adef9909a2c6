#include "shell/DockingModel.h"

#include <QTest>

class tst_DockingModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void edgeTouched_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("berthed");
        QTest::addColumn<int>("side");
        QTest::newRow("left edge at 0") << QRect(0, 100, 900, 650) << true << int(DockingModel::Left);
        QTest::newRow("one pixel in") << QRect(1, 100, 900, 650) << false << 0;
        QTest::newRow("top") << QRect(200, 0, 900, 650) << true << int(DockingModel::Top);
        QTest::newRow("right") << QRect(380, 100, 900, 650) << true << int(DockingModel::Right);
        QTest::newRow("bottom") << QRect(200, 150, 900, 650) << true << int(DockingModel::Bottom);
        QTest::newRow("bottom-right corner: bottom") << QRect(380, 150, 900, 650) << true << int(DockingModel::Bottom);
        QTest::newRow("top-right corner: right") << QRect(380, 0, 900, 650) << true << int(DockingModel::Right);
        QTest::newRow("top-left corner: top") << QRect(0, 0, 900, 650) << true << int(DockingModel::Top);
        QTest::newRow("free") << QRect(100, 50, 900, 650) << false << 0;
    }
    void edgeTouched()
    {
        QFETCH(QRect, rect);
        QFETCH(bool, berthed);
        QFETCH(int, side);
        DockingModel model(QSize(1280, 800));
        model.moving(rect);
        QCOMPARE(model.berthed(), berthed);
        if (berthed)
            QCOMPARE(int(model.side()), side);
    }

    void sizingHoldsTheMinimum()
    {
        DockingModel model(QSize(1280, 800));
        model.setMinMainWidth(DockingModel::minMainWidth(8, 950));
        QCOMPARE(model.minMainWidth(), 963);
        QCOMPARE(model.sizing(QRect(100, 50, 500, 300)), QRect(100, 50, 963, 650));
        QCOMPARE(model.sizing(QRect(100, 50, 1000, 700)), QRect(100, 50, 1000, 700));
        QCOMPARE(DockingModel::minMainWidth(8, 600), 920);
        QCOMPARE(DockingModel::minMainWidth(8, 920), 933);
        // The clamped rectangle is what decides the edge.
        model.sizing(QRect(400, 100, 500, 650));
        QVERIFY(model.berthed());
        QCOMPARE(model.side(), DockingModel::Right);
    }

    void slidesOutLeavingThreePixels_data()
    {
        QTest::addColumn<QRect>("dropped");
        QTest::addColumn<QRect>("shown");
        QTest::addColumn<QRect>("hidden");
        QTest::addColumn<int>("firstStep");
        QTest::newRow("top, 700 high") << QRect(100, 0, 920, 700) << QRect(100, 0, 920, 700) << QRect(100, 3 - 700, 920, 700) << 46;
        QTest::newRow("right") << QRect(500, 40, 920, 700) << QRect(360, 40, 920, 700) << QRect(1277, 40, 920, 700) << 61;
        QTest::newRow("bottom") << QRect(10, 120, 920, 700) << QRect(10, 100, 920, 700) << QRect(10, 797, 920, 700) << 46;
        QTest::newRow("left") << QRect(-30, 50, 930, 700) << QRect(0, 50, 930, 700) << QRect(3 - 930, 50, 930, 700) << 62;
    }
    void slidesOutLeavingThreePixels()
    {
        QFETCH(QRect, dropped);
        QFETCH(QRect, shown);
        QFETCH(QRect, hidden);
        QFETCH(int, firstStep);
        DockingModel model(QSize(1280, 800));
        model.moving(dropped);
        QVERIFY(model.berthed());
        QRect rect = model.shown(dropped);
        QCOMPARE(rect, shown);
        QCOMPARE(model.remembered(rect), shown);
        bool done = false;
        const QRect first = model.slideStep(rect, &done);
        QCOMPARE((first.topLeft() - rect.topLeft()).manhattanLength(), firstStep);
        int steps = 1;
        rect = first;
        while (!done && steps < 100) {
            rect = model.slideStep(rect, &done);
            ++steps;
        }
        QCOMPARE(rect, hidden);
        QVERIFY(steps <= DockingModel::SlideSteps + 1);
        // Remembered as shown, not as slid away.
        QCOMPARE(model.remembered(rect), shown);
        // Visible part: exactly the 3-pixel strip.
        const QRect visible = rect.intersected(QRect(0, 0, 1280, 800));
        QCOMPARE(std::min(visible.width(), visible.height()), 3);
    }
};

QTEST_GUILESS_MAIN(tst_DockingModel)
#include "tst_DockingModel.moc"
