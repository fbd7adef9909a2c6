#include "NewsBoard.h"

#include "NewsView.h"
#include "NumberText.h"
#include "cls_Config.h"

#include <QRegularExpression>

namespace {

const QString AllNews = QStringLiteral("iAllNews_Table");

QString escaped(const QString &text)
{
    QString out = text.toHtmlEscaped();
    return out.replace(u'\'', QStringLiteral("&#39;"));
}

QVariantMap timeCell(const QString &time, const QString &key)
{
    return {{QStringLiteral("text"), time},
            {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")},
                                                  {QStringLiteral("textAlign"), QStringLiteral("left")},
                                                  {QStringLiteral("paddingLeft"), QStringLiteral("18px")},
                                                  {QStringLiteral("width"), QStringLiteral("70px")}}},
            {QStringLiteral("attributes"), QVariantMap{{QStringLiteral("data-key"), key}}}};
}

QVariantMap infoCell(const QString &html)
{
    return {{QStringLiteral("html"), html},
            {QStringLiteral("style"), QVariantMap{{QStringLiteral("verticalAlign"), QStringLiteral("middle")}}}};
}

} // namespace

NewsBoard::NewsBoard(NewsView &view, QList<NewsSource> sources, Fetch fetch)
    : m_view(view)
    , m_sources(std::move(sources))
    , m_fetch(std::move(fetch))
{
    for (const int id : NewsSources::scheduleOrder()) {
        m_order << QString::number(id);
        if (const NewsSource *s = source(id))
            m_tasks[QString::number(id)].Link = s->url;
    }
}

const tavrin &NewsBoard::task(int id) const
{
    static const tavrin none;
    const auto found = m_tasks.constFind(QString::number(id));
    return found == m_tasks.constEnd() ? none : found.value();
}

const NewsSource *NewsBoard::source(int id) const
{
    for (const NewsSource &s : m_sources) {
        if (s.id == id)
            return &s;
    }
    return nullptr;
}

void NewsBoard::ApplySourceSettings(const cls_Config &config)
{
    QString firstVisible;
    for (const int id : NewsSources::scheduleOrder()) {
        const NewsSource *s = source(id);
        tavrin &t = task(id);
        const QString path = QStringLiteral("Settings/Tavrin/Source/") + s->name;
        const QString intervalText = config.isExistAttrib(path, QStringLiteral("IntervalTime"))
            ? config.GetNodeAttrib(path, QStringLiteral("IntervalTime")) : QString();
        const int interval = numberFromText(intervalText);
        if (interval != t.Interval) {
            // A number that does not fit leaves the interval as it was.
            if (interval >= -32768 && interval <= 32767)
                t.Interval = qint16(interval == -1 ? 5 : interval);
            t.TimeCount = 1000;
        }
        const bool on = config.isExistAttrib(path, QStringLiteral("Checked"))
            && numberFromText(config.GetNodeAttrib(path, QStringLiteral("Checked"))) != 0;
        if (on != t.Visible) {
            t.Enabled = on;
            t.Initialize = false;
            t.Visible = on;
            m_view.showTab(s->anchor, on);
        }
        if (t.Visible && firstVisible.isEmpty())
            firstVisible = s->anchor;
    }
    const QString current = m_view.currentTab();
    if (!current.isEmpty()) {
        if (current != QStringLiteral("iFXCalendar"))
            m_view.selectTab(QStringLiteral("iAll"));
    } else {
        m_view.selectTab(firstVisible.isEmpty() ? QStringLiteral("iFXCalendar") : firstVisible);
    }
    // The error line empties; the sources' error flags stay as they are.
    m_errorMarks.clear();
    m_view.setHtml(QStringLiteral("spanError"), QString());
    m_view.setStyle(QStringLiteral("spanError"), QStringLiteral("display"), QStringLiteral("none"));
}

QString NewsBoard::ToUnixTimeQuery(const QDateTime &now)
{
    // Seconds from 1970 to the local time, less eight hours.
    const QDateTime local(now.date(), now.time(), Qt::UTC);
    return QString::number(local.toSecsSinceEpoch() - 8 * 3600);
}

void NewsBoard::tick(const QDateTime &now)
{
    m_now = now;
    for (const QString &key : std::as_const(m_order)) {
        tavrin &t = m_tasks[key];
        if (!t.Enabled)
            continue;
        if (t.TimeCount < 32767)
            ++t.TimeCount;
        if (t.Working || t.TimeCount < t.Interval)
            continue;
        t.TimeCount = 0;
        t.Working = true;
        bool isNumber = false;
        const int id = key.toInt(&isNumber);
        if (isNumber)
            m_fetch(id, t.StrBuffer, t.Link + QStringLiteral("?cc=") + ToUnixTimeQuery(now));
    }
}

void NewsBoard::GetMsg(int id, const QString &time, const QString &info, const QString &href, const QString &popup)
{
    m_queue.enqueue({true, id, time, info, href, popup, false});
}

void NewsBoard::GetComplete(int id, bool isNew)
{
    m_queue.enqueue({false, id, {}, {}, {}, {}, isNew});
}

void NewsBoard::GetError(int id, const QString &message)
{
    if (!source(id))
        return;
    tavrin &t = task(id);
    t.TimeCount = qint16(t.Interval - RetrySeconds);
    t.Working = false;
    if (!t.iError) {
        showError(id, message);
        t.iError = true;
    }
}

void NewsBoard::GetTimeout(int id)
{
    if (!source(id))
        return;
    tavrin &t = task(id);
    t.TimeCount = qint16(t.Interval - RetrySeconds);
    t.Working = false;
    if (!t.Timeout) {
        showTimeout(id);
        t.Timeout = true;
    }
}

bool NewsBoard::processTask()
{
    if (m_queue.isEmpty())
        return false;
    const Task next = m_queue.dequeue();
    if (source(next.id)) {
        if (next.isItem) {
            AddNewsRow(next);
        } else {
            tavrin &t = task(next.id);
            t.TimeCount = 0;
            t.Working = false;
            if (t.Timeout)
                removeTimeout(next.id);
            if (t.iError)
                removeError(next.id);
            if (!m_firstCompletion) {
                m_view.setStyle(QStringLiteral("spanIni"), QStringLiteral("display"), QStringLiteral("none"));
                m_firstCompletion = true;
            }
        }
    }
    if (!m_queue.isEmpty())
        return true;
    m_view.sortAllNews();
    return false;
}

void NewsBoard::addRow(const QString &table, int limit, const QVariantList &cells)
{
    int &rows = m_rows[table];
    if (rows == 0)
        rows = 1; // the header row
    if (rows == 1)
        m_view.setStyle(table + QStringLiteral("_Head"), QStringLiteral("display"), QStringLiteral("none"));
    if (rows >= limit) {
        m_view.deleteRow(table, -1);
        --rows;
    }
    m_view.insertRow(table, 1, cells);
    ++rows;
}

void NewsBoard::AddNewsRow(const Task &item)
{
    const NewsSource *s = source(item.id);
    tavrin &t = task(item.id);
    QString html;
    if (item.id == 103) {
        // DailyFX: the key is known text; the display part is the worker's HTML.
        const qsizetype tilde = item.info.indexOf(u'~');
        const QString key = tilde < 0 ? item.info : item.info.left(tilde);
        html = tilde < 0 ? escaped(item.info) : item.info.mid(tilde + 1);
        t.StrBuffer += key + u';';
    } else {
        t.StrBuffer += item.info + u';';
        // Titles are text, never markup.
        html = item.href.isEmpty() ? escaped(item.info)
                                   : QStringLiteral("<a href='") + escaped(item.href)
                + QStringLiteral("' target=_blank style='text-decoration:underline'>") + escaped(item.info)
                + QStringLiteral("</a>");
    }
    const QString key = timeKey(item.time, m_now.isValid() ? m_now : QDateTime::currentDateTime());
    addRow(AllNews, AllNewsLimit, {timeCell(item.time, key), infoCell(html + s->label)});
    addRow(s->table, SourceLimit, {timeCell(item.time, key), infoCell(html)});
    m_view.popup(item.popup);
}

QString NewsBoard::timeKey(const QString &time, const QDateTime &now)
{
    static const QRegularExpression dated(QStringLiteral("(\\d{1,2})[/\\-](\\d{1,2})\\s+(\\d{1,2}):(\\d{2})"));
    static const QRegularExpression clock(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})"));
    int month = 0, day = 0, hour = 0, minute = 0;
    if (const QRegularExpressionMatch m = dated.match(time); m.hasMatch()) {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        hour = m.captured(3).toInt();
        minute = m.captured(4).toInt();
    } else if (const QRegularExpressionMatch m = clock.match(time); m.hasMatch()) {
        month = now.date().month();
        day = now.date().day();
        hour = m.captured(1).toInt();
        minute = m.captured(2).toInt();
    } else {
        return QStringLiteral("0000") + time;
    }
    return QStringLiteral("%1%2%3%4").arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'))
        .arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

void NewsBoard::showError(int id, const QString &message)
{
    m_errorMarks.append({id, message});
    renderMarks();
}

void NewsBoard::showTimeout(int id)
{
    m_timeoutMarks.append(id);
    renderMarks();
}

void NewsBoard::removeTimeout(int id)
{
    m_timeoutMarks.removeAll(id);
    // With another source's mark still there, this source's flag stays set.
    if (m_timeoutMarks.isEmpty())
        task(id).Timeout = false;
    renderMarks();
}

void NewsBoard::removeError(int id)
{
    const qsizetype before = m_errorMarks.size();
    m_errorMarks.removeIf([id](const std::pair<int, QString> &mark) { return mark.first == id; });
    if (m_errorMarks.size() == before)
        return; // its mark went with the settings: the flag keeps its value
    if (m_errorMarks.isEmpty())
        task(id).iError = false;
    renderMarks();
}

void NewsBoard::renderMarks()
{
    QString errors;
    for (const auto &[id, message] : std::as_const(m_errorMarks))
        errors += QStringLiteral("<SPAN ID='span%1'>").arg(id) + escaped(source(id)->title) + QStringLiteral(" &gt; ")
            + escaped(message) + QStringLiteral("</SPAN>");
    m_view.setHtml(QStringLiteral("spanError"), errors.isEmpty() ? QString() : QStringLiteral("错误：") + errors);
    m_view.setStyle(QStringLiteral("spanError"), QStringLiteral("display"), errors.isEmpty() ? QStringLiteral("none") : QString());

    QString timeouts;
    for (const int id : std::as_const(m_timeoutMarks))
        timeouts += QStringLiteral("<SPAN>") + escaped(source(id)->title) + QStringLiteral("</SPAN>");
    m_view.setHtml(QStringLiteral("spanTimeout"), timeouts.isEmpty() ? QString() : QStringLiteral("超时：") + timeouts);
    m_view.setStyle(QStringLiteral("spanTimeout"), QStringLiteral("display"), timeouts.isEmpty() ? QStringLiteral("none") : QString());
}
