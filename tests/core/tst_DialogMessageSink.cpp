#include "core/gui/DialogMessageSink.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Boxes while the program runs wait for nobody: the caller goes on at once,
// the event loop with it, and a failure that repeats adds no second box.
class tst_DialogMessageSink : public QObject
{
    Q_OBJECT

private:
    static QList<QMessageBox *> boxes()
    {
        QList<QMessageBox *> shown;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
                shown << box;
        }
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!DialogMessageSink::hasScreen())
            QSKIP("needs the X server that `make test` starts");
    }

    void aBoxWaitsForNobody()
    {
        DialogMessageSink sink;
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start(10);
        int ticksAtReturn = -1;
        // From inside the running event loop, as the program reports.
        QEventLoop running;
        QTimer::singleShot(0, &running, [&] {
            sink.show(MessageIcon::Critical, u"模块: [ TaskTimer ] 错误"_s);
            sink.show(MessageIcon::Critical, u"模块: [ TaskTimer ] 错误"_s);
            sink.show(MessageIcon::Exclamation, u"另一条"_s);
            ticksAtReturn = ticks;
        });
        QTimer::singleShot(1000, &running, &QEventLoop::quit);
        running.exec();
        QVERIFY(ticksAtReturn >= 0);
        QCOMPARE(boxes().size(), 2);
        QVERIFY2(ticks > ticksAtReturn + 20, qPrintable(QString::number(ticks - ticksAtReturn))); // the timers went on under the boxes
        for (QMessageBox *box : boxes())
            box->close();
        QTRY_VERIFY(boxes().isEmpty());
    }
};

QTEST_MAIN(tst_DialogMessageSink)
#include "tst_DialogMessageSink.moc"
