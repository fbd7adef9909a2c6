#include "news/NewsHistory.h"

#include "core/Clock.h"

NewsHistory::NewsHistory(const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    // A connection of its own: two windows (a test's, a restart's) never share one.
    , m_store(QStringLiteral("tessaly-history-%1").arg(quintptr(this)))
{
    m_flush.setSingleShot(true);
    m_flush.setInterval(FlushMs);
    connect(&m_flush, &QTimer::timeout, this, &NewsHistory::flush);
    m_daily.setInterval(24 * 3600 * 1000);
    connect(&m_daily, &QTimer::timeout, this, &NewsHistory::prune);
}

NewsHistory::~NewsHistory()
{
    flush();
}

void NewsHistory::open(const QString &path, int keepDays)
{
    m_keepDays = std::max(keepDays, 0);
    QString movedTo;
    switch (m_store.open(path, m_clock.now(), &movedTo)) {
    case HistoryStore::Opened::Ready:
        break;
    case HistoryStore::Opened::Renewed:
        Q_EMIT problem(QStringLiteral("新闻历史记录已损坏, 已另存为 %1, 并新建了历史记录。").arg(movedTo));
        break;
    case HistoryStore::Opened::Off:
        Q_EMIT problem(QStringLiteral("无法在 %1 保存新闻历史记录, 本次运行不保存历史。").arg(path));
        return;
    }
    prune();
    m_daily.start();
}

void NewsHistory::add(HistoryItem item)
{
    if (!m_store.isOpen())
        return;
    m_pending.append(std::move(item));
    if (!m_flush.isActive())
        m_flush.start();
}

void NewsHistory::flush()
{
    m_flush.stop();
    if (m_pending.isEmpty() || !m_store.isOpen())
        return;
    if (!m_store.add(std::exchange(m_pending, {}))) {
        // A full disk or a folder made read-only: the news goes on without a history.
        m_store.close();
        m_daily.stop();
        Q_EMIT problem(QStringLiteral("新闻历史记录无法写入 (磁盘已满或文件夹只读), 本次运行不再保存历史。"));
    }
}

void NewsHistory::prune()
{
    if (m_keepDays > 0)
        m_store.prune(m_clock.now().addDays(-m_keepDays));
}
