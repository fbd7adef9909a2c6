#include "core/ProgramData.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class tst_ProgramData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aWritableProgramFolderKeepsItsData()
    {
        TempProgramFolder program;
        TempProgramFolder user;
        QCOMPARE(ProgramData::choose(program.path() + u'/', user.path() + u"/Tessaly/"_s), program.path() + u'/');
        QVERIFY(!QFile::exists(user.filePath(u"Tessaly"_s)));
    }

    void theUsersFolderIsSeededWithWhatItLacks()
    {
        TempProgramFolder program;
        program.writeFile(u"tavrin.xml"_s, "<App>installed</App>");
        program.writeFile(u"Sound/ding.wav"_s, "RIFF ding");
        program.writeFile(u"Sound/bell.wav"_s, "RIFF bell");
        TempProgramFolder user;
        user.writeFile(u"Tessaly/Sound/bell.wav"_s, "RIFF my own bell");
        const QString folder = user.path() + u"/Tessaly/"_s;
        ProgramData::seed(program.path() + u'/', folder);
        QCOMPARE(user.readFile(u"Tessaly/tavrin.xml"_s), QByteArray("<App>installed</App>"));
        QCOMPARE(user.readFile(u"Tessaly/Sound/ding.wav"_s), QByteArray("RIFF ding"));
        QCOMPARE(user.readFile(u"Tessaly/Sound/bell.wav"_s), QByteArray("RIFF my own bell"));
        QVERIFY(QFile::permissions(folder + u"tavrin.xml"_s) & QFileDevice::WriteOwner);

        // The user's settings survive the next start.
        user.writeFile(u"Tessaly/tavrin.xml"_s, "<App>mine</App>");
        ProgramData::seed(program.path() + u'/', folder);
        QCOMPARE(user.readFile(u"Tessaly/tavrin.xml"_s), QByteArray("<App>mine</App>"));
    }

    void anInstallationIsKnownByItsMarker()
    {
        TempProgramFolder portable;
        QVERIFY(!ProgramData::installed(portable.path() + u'/'));
        TempProgramFolder packaged;
        packaged.writeFile(QLatin1String(ProgramData::InstalledMarker), "an installation");
        QVERIFY(ProgramData::installed(packaged.path() + u'/'));
        QVERIFY(ProgramData::installed(packaged.path()));
    }

    void aReadOnlyProgramFolderSendsTheDataToTheUser()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        TempProgramFolder program;
        program.writeFile(u"tavrin.xml"_s, "<App/>");
        QVERIFY(QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        TempProgramFolder user;
        const QString folder = user.path() + u"/Tessaly/"_s;
        QCOMPARE(ProgramData::choose(program.path() + u'/', folder), folder);
        QVERIFY(QFile::exists(folder + u"tavrin.xml"_s));
        QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramData)
#include "tst_ProgramData.moc"
