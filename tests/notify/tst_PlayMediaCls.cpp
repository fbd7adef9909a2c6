#include "notify/PlayMediaCls.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QTest>

// The player on real sound files; on a machine without an audio device it must
// still end every timed play and never hang.
class tst_PlayMediaCls : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;

    QString sound() const { return QStringLiteral(TESSALY_SOURCE_DIR "/Sound/ding.wav"); }

private Q_SLOTS:
    void playWithoutOpenDoesNothing()
    {
        PlayMediaCls player;
        QSignalSpy ended(&player, &PlayMediaCls::EndPlay);
        player.Play(true);
        QVERIFY(!player.Run());
        QVERIFY(!player.Valid());
        QTest::qWait(300);
        QCOMPARE(ended.size(), 0);
    }

    void unreadableFilesDoNotOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "nothing.wav";
        QTest::newRow("empty") << "empty.wav";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("not a sound") << "text.wav";
    }
    void unreadableFilesDoNotOpen()
    {
        QFETCH(QString, name);
        m_folder.writeFile(QStringLiteral("empty.wav"), QByteArray());
        m_folder.writeFile(QStringLiteral("text.wav"), "just some text, no sound at all");
        QDir(m_folder.path()).mkpath(QStringLiteral("folder"));
        PlayMediaCls player;
        QVERIFY(player.OpenMedia(sound()));
        QVERIFY(player.Valid());
        // A failed open after a good one leaves nothing to play.
        QVERIFY(!player.OpenMedia(m_folder.filePath(name)));
        QVERIFY(!player.Valid());
        player.Play(true);
        QVERIFY(!player.Run());
    }

    void aTimedPlayEndsOnce()
    {
        PlayMediaCls player;
        QSignalSpy ended(&player, &PlayMediaCls::EndPlay);
        QVERIFY(player.OpenMedia(sound()));
        player.Play(true);
        QVERIFY(player.Run());
        player.Play(true); // restarts, still one play to end
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
        QVERIFY(!player.Run());
        QTest::qWait(400);
        QCOMPARE(ended.size(), 1);
    }

    // A file that starts like a sound but never plays: the play still ends,
    // so the next notification can sound.
    void aPlayThatNeverStartsEndsInTime()
    {
        QByteArray broken("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
        broken += QByteArray(2000, '\x7f');
        PlayMediaCls player;
        player.setTimeLimits(500, 500);
        QSignalSpy ended(&player, &PlayMediaCls::EndPlay);
        QVERIFY(player.OpenMedia(m_folder.writeFile(QStringLiteral("broken.wav"), broken)));
        player.Play(true);
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
        QVERIFY(!player.Run());
        QTest::qWait(300);
        QCOMPARE(ended.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_PlayMediaCls)
#include "tst_PlayMediaCls.moc"
