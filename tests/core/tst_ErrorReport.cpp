#include "core/ErrorReport.h"

#include <QLocale>
#include <QTest>

class tst_ErrorReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void erradd_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("head");
        QTest::newRow("task timer") << 3 << QStringLiteral("#13") << QStringLiteral("TaskTimer")
                                    << QStringLiteral("模块: [ TaskTimer ] 错误发生在 3 行 , 错误描述: #13\r\n 时间: ");
        QTest::newRow("empty description") << 12 << QString() << QStringLiteral("ctlTimeDown")
                                           << QStringLiteral("模块: [ ctlTimeDown ] 错误发生在 12 行 , 错误描述: \r\n 时间: ");
        QTest::newRow("large row") << 1234567 << QStringLiteral("x") << QStringLiteral("M")
                                   << QStringLiteral("模块: [ M ] 错误发生在 1234567 行 , 错误描述: x\r\n 时间: ");
    }
    void erradd()
    {
        QFETCH(int, row);
        QFETCH(QString, description);
        QFETCH(QString, module);
        QFETCH(QString, head);
        const QDateTime now(QDate(2026, 12, 7), QTime(14, 5, 9));
        const QString text = ErrorReport::erraddText(row, description, module, now);
        QCOMPARE(text, head + QLocale::system().toString(now, QLocale::ShortFormat));
        QVERIFY(text.endsWith(QLocale::system().toString(now, QLocale::ShortFormat)));
    }

    void balloons()
    {
        QCOMPARE(ErrorReport::balloonTitle(), QStringLiteral("运行错误"));
        QCOMPARE(ErrorReport::balloonText(7, -2147012889, QStringLiteral("无法连接")),
                 QStringLiteral("发生错码在第#7行\r\n错误码:#-2147012889 描述:无法连接"));
        QCOMPARE(ErrorReport::balloonTextWithModule(QStringLiteral("ctlTimeDown"), 2, QStringLiteral("下标越界")),
                 QStringLiteral("发生模块【ctlTimeDown】错误码在第#2行\r\n错误码:#下标越界"));
    }
};

QTEST_GUILESS_MAIN(tst_ErrorReport)
#include "tst_ErrorReport.moc"
