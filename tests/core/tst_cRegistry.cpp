#include "core/cRegistry.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_cRegistry : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;

    QString autostartDir() const { return m_folder.filePath(QStringLiteral("autostart")); }

    static cRegistry value(qint32 root, const QString &section, const QString &name, qint32 type = cRegistry::REG_SZ)
    {
        cRegistry registry;
        registry.setClassKey(root);
        registry.setSectionKey(section);
        registry.setValueKey(name);
        registry.setValueType(type);
        return registry;
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
        cRegistry::setLocations(m_folder.filePath(QStringLiteral("user")), m_folder.filePath(QStringLiteral("machine")),
                                autostartDir());
    }
    void cleanupTestCase() { cRegistry::resetLocations(); }

    void missingValueAnswersDefault()
    {
        cRegistry registry = value(cRegistry::HKEY_CURRENT_USER,
                                   QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
                                   QStringLiteral("MaxConnectionsPerServer"), cRegistry::REG_DWORD);
        QVERIFY(!registry.Value().isValid());
        QVERIFY(registry.Value() != QVariant(10));
        registry.setDefault(7);
        QCOMPARE(registry.Value().toInt(), 7);
        registry.setValue(10);
        QCOMPARE(registry.Value(), QVariant(qint32(10)));
    }

    void valuesKeepTheirTypes_data()
    {
        QTest::addColumn<qint32>("type");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("text") << cRegistry::REG_SZ << QVariant(QStringLiteral("/opt/Tessaly/tavrin"))
                              << QVariant(QStringLiteral("/opt/Tessaly/tavrin"));
        QTest::newRow("text cut at zero") << cRegistry::REG_SZ << QVariant(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"))
                                          << QVariant(QStringLiteral("ab"));
        QTest::newRow("number") << cRegistry::REG_DWORD << QVariant(3600) << QVariant(qint32(3600));
        QTest::newRow("number from text") << cRegistry::REG_DWORD << QVariant(QStringLiteral("42")) << QVariant(qint32(42));
        QTest::newRow("bytes") << cRegistry::REG_BINARY << QVariant(QByteArray("\x00\x01\xff", 3))
                               << QVariant(QByteArray("\x00\x01\xff", 3));
        QTest::newRow("multi") << cRegistry::REG_MULTI_SZ << QVariant(QStringList{u"a"_s, u"b, c"_s})
                               << QVariant(QStringList{u"a"_s, u"b, c"_s});
        QTest::newRow("expand") << cRegistry::REG_EXPAND_SZ << QVariant(QStringLiteral("%TESSALY_TEST_VAR%/x %NOPE_X%"))
                                << QVariant(QStringLiteral("value/x %NOPE_X%"));
    }
    void valuesKeepTheirTypes()
    {
        QFETCH(qint32, type);
        QFETCH(QVariant, written);
        QFETCH(QVariant, read);
        qputenv("TESSALY_TEST_VAR", "value");
        cRegistry registry = value(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrin\\"),
                                   QStringLiteral("V"), type);
        registry.setValue(written);
        // A fresh object reads from the store, not from anything cached.
        cRegistry again = value(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrin"), QStringLiteral("V"));
        QCOMPARE(again.Value(), read);
    }

    void writingCreatesTheWholePath()
    {
        cRegistry registry = value(cRegistry::HKEY_CURRENT_USER, QStringLiteral("Software\\A\\B\\C"), QStringLiteral("N"));
        QVERIFY(!registry.KeyExists());
        registry.setValue(QStringLiteral("x"));
        QVERIFY(registry.KeyExists());
        QVERIFY(value(cRegistry::HKEY_CURRENT_USER, QStringLiteral("Software\\A"), {}).KeyExists());
        QVERIFY(!value(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\A"), {}).KeyExists());
        QVERIFY(registry.DeleteValue());
        QVERIFY(!registry.DeleteValue());
        QCOMPARE(registry.Value(), QVariant());
    }

    void keysCanBeCreatedEmptyAndDeleted()
    {
        cRegistry key = value(cRegistry::HKEY_CURRENT_USER, QStringLiteral("Software\\Empty"), {});
        QVERIFY(key.CreateKey());
        QVERIFY(key.KeyExists());
        QVERIFY(key.DeleteKey());
        QVERIFY(!key.KeyExists());
        try {
            key.DeleteKey();
            QFAIL("no error raised");
        } catch (const cRegistry::Failure &failure) {
            QCOMPARE(failure.text(), QStringLiteral("Failed to delete registry Key: '-2147483647',Section: 'Software\\Empty'"));
        }
    }

    void keysThatCannotBeMadeRaise()
    {
        m_folder.writeFile(QStringLiteral("plain"), "x");
        cRegistry::setLocations(m_folder.filePath(QStringLiteral("plain/user")), m_folder.filePath(QStringLiteral("plain/machine")),
                                m_folder.filePath(QStringLiteral("plain/autostart")));
        cRegistry key = value(cRegistry::HKEY_CURRENT_USER, QStringLiteral("Software\\New"), {});
        try {
            key.CreateKey();
            QFAIL("no error raised");
        } catch (const cRegistry::Failure &failure) {
            QCOMPARE(failure.text(), QStringLiteral("Failed to create registry Key: '-2147483647',Section: 'Software\\New'"));
        }
    }

    void deletingBelowAMissingKeyRaises()
    {
        cRegistry registry = value(cRegistry::HKEY_CURRENT_USER, QStringLiteral("Software\\Gone"), QStringLiteral("N"));
        try {
            registry.DeleteValue();
            QFAIL("no error raised");
        } catch (const cRegistry::Failure &failure) {
            QCOMPARE(failure.text(), QStringLiteral("Failed to open key '-2147483647',Section: 'Software\\Gone' for delete access"));
            QVERIFY(failure.source().endsWith(QStringLiteral(".cRegistry")));
        }
    }

    void unwritableStoreRaisesTheFixedTexts()
    {
        // A store folder below a plain file cannot be created, even by root.
        m_folder.writeFile(QStringLiteral("plain"), "x");
        cRegistry::setLocations(m_folder.filePath(QStringLiteral("plain/user")), m_folder.filePath(QStringLiteral("plain/machine")),
                                m_folder.filePath(QStringLiteral("plain/autostart")));
        cRegistry registry = value(cRegistry::HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tavrin\\"), QStringLiteral("Time"),
                                   cRegistry::REG_DWORD);
        QVERIFY_THROWS_EXCEPTION(cRegistry::Failure, registry.setValue(5));
        try {
            registry.setValue(5);
        } catch (const cRegistry::Failure &failure) {
            // As for a user without the right to the machine's store.
            QCOMPARE(failure.text(), QStringLiteral("Failed to set registry value Key: '-2147483646',Section: "
                                                    "'Software\\Tavrin\\',Key: 'Time' to value: '5'"));
        }
        QCOMPARE(registry.Value(), QVariant());

        // The store file itself unwritable: the value cannot be set.
        init();
        QDir().mkpath(m_folder.filePath(QStringLiteral("machine/HKEY_LOCAL_MACHINE.ini")));
        try {
            registry.setValue(5);
            QFAIL("no error raised");
        } catch (const cRegistry::Failure &failure) {
            QCOMPARE(failure.text(), QStringLiteral("Failed to set registry value Key: '-2147483646',Section: "
                                                    "'Software\\Tavrin\\',Key: 'Time' to value: '5'"));
        }
    }

    // An entry that stays (here a folder where the file should be) would
    // still start the program: its removal fails aloud.
    void anEntryThatCannotBeRemovedRaises()
    {
        cRegistry run = value(cRegistry::HKEY_LOCAL_MACHINE, cRegistry::runKeyPath(), QStringLiteral("Tessaly"));
        const QString entry = autostartDir() + QStringLiteral("/Tessaly.desktop");
        QVERIFY(QDir().mkpath(entry + QStringLiteral("/inside")));
        QVERIFY_THROWS_EXCEPTION(cRegistry::Failure, run.DeleteValue());
        QVERIFY(QDir(entry).removeRecursively());
    }

    void runValueIsAnAutostartEntry_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("plain path") << QStringLiteral("/opt/Tessaly/tavrin");
        QTest::newRow("spaces and quotes") << QStringLiteral("/home/li lei/My \"FX\" $Tools/tavrin");
        QTest::newRow("backslash") << QStringLiteral("/tmp/a\\b/tavrin");
        QTest::newRow("percent signs") << QStringLiteral("/opt/100%/%u tavrin");
    }
    void runValueIsAnAutostartEntry()
    {
        QFETCH(QString, program);
        cRegistry run = value(cRegistry::HKEY_LOCAL_MACHINE, cRegistry::runKeyPath(), QStringLiteral("Tessaly"));
        QCOMPARE(run.Value(), QVariant());
        run.setValue(program);
        const QString entry = autostartDir() + QStringLiteral("/Tessaly.desktop");
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("[Desktop Entry]\n"));
        QVERIFY(content.contains("\nType=Application\n"));
        // A "%" standing alone would be a field code.
        const QByteArray exec = content.mid(content.indexOf("\nExec=") + 6).split('\n').front();
        QCOMPARE(exec.count('%'), program.count(u'%') * 2);
        QVERIFY(exec.endsWith(" --autostart")); // started by the session, the program stays in the tray
        QCOMPARE(run.Value().toString(), program);
        QVERIFY(run.DeleteValue());
        QVERIFY(!QFile::exists(entry));
        QCOMPARE(run.Value(), QVariant());
        QVERIFY(!run.DeleteValue());
    }

    void anEntryTheSessionSkipsReadsAsNoValue_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("starts");
        const QByteArray head = "[Desktop Entry]\nType=Application\nExec=/opt/t/tavrin\n";
        QTest::newRow("plain") << head << true;
        QTest::newRow("hidden") << head + "Hidden=true\n" << false;
        QTest::newRow("gnome disabled") << head + "X-GNOME-Autostart-enabled=false\n" << false;
        QTest::newRow("gnome enabled") << head + "X-GNOME-Autostart-enabled=true\n" << true;
        QTest::newRow("keys of another group") << head + "[Desktop Action x]\nHidden=true\n" << true;
    }
    void anEntryTheSessionSkipsReadsAsNoValue()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, starts);
        QVERIFY(QDir().mkpath(autostartDir()));
        QFile file(autostartDir() + QStringLiteral("/Tessaly.desktop"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry);
        file.close();
        cRegistry run = value(cRegistry::HKEY_LOCAL_MACHINE, cRegistry::runKeyPath(), QStringLiteral("Tessaly"));
        QCOMPARE(run.Value(), starts ? QVariant(QStringLiteral("/opt/t/tavrin")) : QVariant());
    }
};

QTEST_GUILESS_MAIN(tst_cRegistry)
#include "tst_cRegistry.moc"

