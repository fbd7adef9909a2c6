#include "core/cRegistry.h"
#include "shell/ProgramRecords.h"
#include "support/TempProgramFolder.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProgramRecords : public QObject
{
    Q_OBJECT

private:
    static qint64 runTime(qint32 root)
    {
        cRegistry time;
        time.setClassKey(root);
        time.setSectionKey(u"Software\\Tavrin\\"_s);
        time.setValueKey(u"Time"_s);
        time.setValueType(cRegistry::REG_DWORD);
        return time.Value().toLongLong();
    }

private Q_SLOTS:
    void cleanup() { cRegistry::resetLocations(); }

    // The run time adds up in the machine's store, or, where the user may
    // not write that (a file stands where its folder should), in the user's.
    void theRunTimeAddsUpWhereTheUserMayWrite_data()
    {
        QTest::addColumn<bool>("machineWritable");
        QTest::newRow("the machine's store") << true;
        QTest::newRow("the user's store") << false;
    }
    void theRunTimeAddsUpWhereTheUserMayWrite()
    {
        QFETCH(bool, machineWritable);
        TempProgramFolder folder;
        folder.writeFile(u"blocked"_s, "a file");
        cRegistry::setLocations(folder.filePath(u"user"_s),
                                folder.filePath(machineWritable ? u"machine"_s : u"blocked/machine"_s),
                                folder.filePath(u"autostart"_s));
        ProgramRecords::addRunTime(30);
        ProgramRecords::addRunTime(12);
        QCOMPARE(runTime(cRegistry::HKEY_LOCAL_MACHINE), machineWritable ? 42 : 0);
        QCOMPARE(runTime(cRegistry::HKEY_CURRENT_USER), machineWritable ? 0 : 42);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramRecords)
#include "tst_ProgramRecords.moc"
