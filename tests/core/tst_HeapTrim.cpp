#include "core/HeapTrim.h"

#include <QFile>
#include <QTest>

#include <memory>
#include <vector>

// Freed memory in the middle of the heap, which the C library keeps for
// reuse, goes back to the system.
class tst_HeapTrim : public QObject
{
    Q_OBJECT

private:
    static qint64 residentKiB()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }

private Q_SLOTS:
    void freedBlocksBehindALiveOneAreReturned()
    {
#ifndef __GLIBC__
        QSKIP("only the GNU C library keeps freed blocks this way");
#endif
        if (residentKiB() < 0)
            QSKIP("no /proc/self/status");
        // 64 MiB of small blocks, each below the size the library maps on
        // its own, written to; the last one stays, so nothing is at the top.
        constexpr std::size_t blockSize = 16 * 1024;
        constexpr int blocks = 4096;
        std::vector<std::unique_ptr<char[]>> heap;
        heap.reserve(blocks);
        for (int i = 0; i < blocks; ++i) {
            heap.emplace_back(new char[blockSize]);
            std::fill_n(heap.back().get(), blockSize, char(i));
        }
        for (int i = 0; i < blocks - 1; ++i)
            heap[i].reset();
        const qint64 before = residentKiB();

        HeapTrim::release();

        const qint64 after = residentKiB();
        QVERIFY2(before - after > 32 * 1024, qPrintable(QStringLiteral("%1 KiB before, %2 KiB after").arg(before).arg(after)));
        QCOMPARE(heap.back()[0], char(blocks - 1));
    }
};

QTEST_GUILESS_MAIN(tst_HeapTrim)
#include "tst_HeapTrim.moc"
