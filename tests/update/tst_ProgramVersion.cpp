#include "update/ProgramVersion.h"

#include <QRegularExpression>
#include <QTest>

class tst_ProgramVersion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionsCompareNumberByNumber_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("newer");
        QTest::newRow("equal") << "1.2.0034" << "1.2.0034" << false;
        QTest::newRow("later revision") << "1.2.0035" << "1.2.0034" << true;
        QTest::newRow("earlier") << "1.1.9999" << "1.2.0000" << false;
        QTest::newRow("ten after nine") << "1.10.0000" << "1.9.0000" << true;
        QTest::newRow("longer") << "1.2.0034.1" << "1.2.0034" << true;
        QTest::newRow("shorter and equal") << "1.2" << "1.2.0000" << false;
        QTest::newRow("spaces around") << " 2.0.0000\n" << "1.9.0000" << true;
        QTest::newRow("empty") << "" << "1.0.0000" << false;
        QTest::newRow("words") << "newest" << "1.0.0000" << false;
        QTest::newRow("empty part") << "2..0" << "1.0.0000" << false;
        QTest::newRow("sign") << "+2.0.0000" << "1.0.0000" << false;
        QTest::newRow("negative") << "-2.0.0000" << "1.0.0000" << false;
    }
    void versionsCompareNumberByNumber()
    {
        QFETCH(QString, remote);
        QFETCH(QString, local);
        QFETCH(bool, newer);
        QCOMPARE(ProgramVersion::isNewer(remote, local), newer);
    }

    void theProgramsVersionHasBothForms()
    {
        const QRegularExpression text(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d{4})$"));
        const QRegularExpressionMatch match = text.match(ProgramVersion::text());
        QVERIFY2(match.hasMatch(), qPrintable(ProgramVersion::text()));
        QCOMPARE(ProgramVersion::buildText(), match.captured(1) + u'.' + match.captured(2) + QStringLiteral(" Build ")
                                                  + match.captured(3));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramVersion)
#include "tst_ProgramVersion.moc"
