#include "TestSignature.h"
#include "update/UpdatePayload.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QByteArray program()
{
#ifdef Q_OS_WIN
    return QByteArray("MZ") + QByteArray(300, 'p');
#else
    return QByteArray("\x7f" "ELF") + QByteArray(300, 'p');
#endif
}

} // namespace

class tst_UpdatePayload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyTrustedPlacesGiveTheProgram_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("site");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("https anywhere") << "https://cdn.example/t" << "https://www.tessaly.cn" << true;
        QTest::newRow("http from a remote site") << "http://www.tessaly.cn/t" << "http://www.tessaly.cn" << false;
        QTest::newRow("loopback site, same origin") << "http://127.0.0.1:8080/site/t" << "http://127.0.0.1:8080/site" << true;
        QTest::newRow("loopback site, other port") << "http://127.0.0.1:9090/t" << "http://127.0.0.1:8080/site" << false;
        QTest::newRow("loopback site, other host") << "http://10.0.0.1:8080/t" << "http://127.0.0.1:8080/site" << false;
        QTest::newRow("localhost") << "http://localhost:81/t" << "http://localhost:81" << true;
        QTest::newRow("file") << "file:///tmp/t" << "http://127.0.0.1:8080" << false;
        QTest::newRow("ftp") << "ftp://127.0.0.1:8080/t" << "http://127.0.0.1:8080" << false;
        QTest::newRow("empty") << "" << "http://127.0.0.1:8080" << false;
    }
    void onlyTrustedPlacesGiveTheProgram()
    {
        QFETCH(QString, address);
        QFETCH(QString, site);
        QFETCH(bool, trusted);
        QCOMPARE(UpdatePayload::trustedSource(QUrl(address), QUrl(site)), trusted);
    }

    void onlyAWholeCheckedProgramPasses_data()
    {
        const QByteArray body = program();
        const QString sha = QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex());
        const QString signature = TestSignature::sign(body);
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<qint64>("announced");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("sha256");
        QTest::addColumn<bool>("good");
        QTest::newRow("whole, signed, no length, no hash") << body << qint64(-1) << signature << QString() << true;
        QTest::newRow("whole with length and hash") << body << qint64(body.size()) << signature << sha.toUpper() << true;
        QTest::newRow("empty") << QByteArray() << qint64(-1) << signature << QString() << false;
        QTest::newRow("shorter than announced") << body.left(100) << qint64(body.size()) << signature << QString() << false;
        QTest::newRow("a web page") << QByteArray("<html><body>下载</body></html>") << qint64(-1) << signature << QString()
                                    << false;
        QTest::newRow("another hash") << body << qint64(body.size()) << signature << QString(64, u'0') << false;
        QTest::newRow("not signed") << body << qint64(body.size()) << QString() << sha << false;
        QTest::newRow("signed by another key") << body << qint64(body.size()) << TestSignature::signWithOtherKey(body) << sha
                                               << false;
        QTest::newRow("the signature of other bytes") << body << qint64(body.size()) << TestSignature::sign(body + "x") << sha
                                                      << false;
        QTest::newRow("not base64") << body << qint64(body.size()) << QStringLiteral("!!not base64!!") << sha << false;
        QTest::newRow("cut short") << body << qint64(body.size()) << signature.left(40) << sha << false;
    }
    void onlyAWholeCheckedProgramPasses()
    {
        QFETCH(QByteArray, data);
        QFETCH(qint64, announced);
        QFETCH(QString, signature);
        QFETCH(QString, sha256);
        QFETCH(bool, good);
        QCOMPARE(UpdatePayload::defect(data, announced, signature, sha256).isEmpty(), good);
    }

    void theProgramReplacesTheOldOneInOneStep()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(UpdatePayload::fileName());
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QString error;
        QVERIFY2(UpdatePayload::install(program(), target, &error), qPrintable(error));
        QFile installed(target);
        QVERIFY(installed.open(QIODevice::ReadOnly));
        QCOMPARE(installed.readAll(), program());
        QVERIFY(installed.permissions() & QFileDevice::ExeOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{UpdatePayload::fileName()});
    }

    // A folder without write permission; for root, who writes into those,
    // one of the kernel's, which nobody writes new files into.
    void aFolderThatCannotBeWrittenGetsNothing()
    {
        QTemporaryDir temporary;
        const bool root = ::geteuid() == 0;
        const QString folder = root ? QStringLiteral("/proc/self") : temporary.path();
        if (!root)
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QString error;
        QVERIFY(!UpdatePayload::install(program(), QDir(folder).filePath(UpdatePayload::fileName()), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        if (!root)
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void aTargetThatIsAFolderFailsAndLeavesNoTemporaryFile()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(UpdatePayload::fileName());
        QVERIFY(QDir().mkpath(target + QStringLiteral("/inside")));
        QString error;
        QVERIFY(!UpdatePayload::install(program(), target, &error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{UpdatePayload::fileName()});
    }
};

QTEST_GUILESS_MAIN(tst_UpdatePayload)
#include "tst_UpdatePayload.moc"
