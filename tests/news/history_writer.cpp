// Writes news items into a history database as fast as it can, for the test
// that kills a writer in the middle of a write.
#include "news/HistoryStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    HistoryStore store(QStringLiteral("writer"));
    if (argc < 2 || store.open(QString::fromLocal8Bit(argv[1]), QDateTime::currentDateTimeUtc()) != HistoryStore::Opened::Ready)
        return 1;
    for (int batch = 0;; ++batch) {
        QList<HistoryItem> items;
        for (int i = 0; i < 50; ++i) {
            HistoryItem item;
            item.source = QStringLiteral("FX168");
            item.key = QStringLiteral("%1-%2").arg(batch).arg(i);
            item.row.title = QStringLiteral("美联储议息会议纪要公布 %1").arg(item.key);
            item.arrived = QDateTime::currentDateTimeUtc();
            items << item;
        }
        if (!store.add(items))
            return 2;
        if (batch == 0) {
            std::puts("writing");
            std::fflush(stdout);
        }
    }
}
