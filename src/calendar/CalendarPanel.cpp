#include "calendar/CalendarPanel.h"

#include "calendar/CalendarExport.h"
#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/ConfigPaths.h"
#include "core/Notifier.h"
#include "core/ErrorReport.h"
#include "core/FetchScheduler.h"
#include "core/ctlDownload.h"
#include "core/gui/Desktop.h"
#include "core/gui/cls_PopupMenu.h"
#include "pagebridge/PagePart.h"
#include "pages/MainPage.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QWebEngineView>

namespace {

using Control = CalendarItemView::Control;

QVariantMap cell(const QVariantList &parts, const QVariantMap &style = {}, const QVariantMap &attributes = {})
{
    return {{QStringLiteral("parts"), parts}, {QStringLiteral("style"), style}, {QStringLiteral("attributes"), attributes}};
}

QVariantMap centred(const QString &width)
{
    return {{QStringLiteral("verticalAlign"), QStringLiteral("middle")},
            {QStringLiteral("textAlign"), QStringLiteral("center")},
            {QStringLiteral("width"), width}};
}

QString dayTab(int weekIndex)
{
    return QString(MainPage::DayTabPrefix) + QString::number(weekIndex);
}

// The reminder control of an item: "w_" + day + "_chk" + item.
QVariantMap control(int weekIndex, int itemNumber, Control kind)
{
    QVariantMap attributes{{QStringLiteral("id"), QStringLiteral("w_%1_chk%2").arg(weekIndex).arg(itemNumber)}};
    attributes.insert(QStringLiteral("type"), kind == Control::Over ? QStringLiteral("radio") : QStringLiteral("checkbox"));
    if (kind == Control::CheckedCheckbox || kind == Control::GivenCheckbox)
        attributes.insert(QStringLiteral("checked"), QString());
    if (kind == Control::GivenCheckbox || kind == Control::Over)
        attributes.insert(QStringLiteral("disabled"), QString());
    return cell({PagePart::element(QStringLiteral("input"), {}, {}, attributes)}, centred(QStringLiteral("50px")));
}

QString importanceClass(const QString &importance)
{
    if (importance == QStringLiteral("低"))
        return QStringLiteral("importance low");
    if (importance == QStringLiteral("中"))
        return QStringLiteral("importance middle");
    if (importance == QStringLiteral("高"))
        return QStringLiteral("importance high");
    return {};
}

} // namespace

CalendarPanel::CalendarPanel(PageBridge &page, TabHost &tabs, FetchScheduler &scheduler, Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_page(page)
    , m_tabs(tabs)
    , m_scheduler(scheduler)
    , m_notifier(notifier)
    , ctlDown(new ctlDownload(this))
{
    cls_Config &config = Globals().Config;
    QString base = config.value(ConfigPaths::CalendarSettings, ConfigPaths::Url, ConfigPaths::DefaultCalendarUrl).trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    m_book = std::make_unique<CalendarBook>(static_cast<CalendarView &>(*this), config, scheduler.schedule(), base);

    // The key and the address travel with the download, so a late page is known for what it is.
    m_book->onDownload([this](const QString &key, const QString &link) { ctlDown->BeginDownload(link, key + u'\n' + link); });
    connect(ctlDown, &ctlDownload::DownloadComplete, this, [this](const QByteArray &data, bool success, const QString &asyncId) {
        const qsizetype split = asyncId.indexOf(u'\n');
        // A failure of the handler is reported, and the calendar goes on with the next page.
        try {
            m_book->downloadComplete(asyncId.left(split), asyncId.mid(split + 1), data, success, now());
        } catch (const std::exception &failure) {
            Q_EMIT balloonRequested(ErrorReport::balloonText(1, 5, QString::fromLocal8Bit(failure.what())), ErrorReport::balloonTitle(),
                                    ErrorReport::BalloonIcon);
        }
    });
    m_ctlTimeCalc.setInterval(CalendarBook::SlowScanMs);
    connect(&m_ctlTimeCalc, &QTimer::timeout, this, [this] {
        m_book->calcTick(now());
        afterCalcTick();
    });
    // The countdown moves every second while the calendar shows, and not otherwise.
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &CalendarPanel::showCountdown);
    // A hidden window's countdown stands still.
    m_page.view()->installEventFilter(this);
    m_ctlTimeNotify.setInterval(1000);
    connect(&m_ctlTimeNotify, &QTimer::timeout, this, [this] {
        m_book->notifyTick(now());
        if (!m_book->reminderQueued())
            m_ctlTimeNotify.stop();
    });
}

CalendarPanel::~CalendarPanel() = default;

QDateTime CalendarPanel::now() const
{
    return m_scheduler.clock().now();
}

QList<PageBridge::Binding> CalendarPanel::bindings()
{
    QList<PageBridge::Binding> bindings{
        PageBridge::bind(MainPage::CalendarTab, "onclick", "Calendar",
                         [this](const PageBridge::Event &) { m_tabs.SelectTab(MainPage::CalendarTab); }),
        PageBridge::bind(MainPage::CalendarBody, "onclick", "TBodyClick", [this](const PageBridge::Event &event) { TBodyClick(event); }),
        PageBridge::bind(MainPage::CalendarTable, "oncontextmenu", "WebDoc_oncontextmenu",
                         [this](const PageBridge::Event &event) { WebDoc_oncontextmenu(event); }),
    };
    for (int day = 1; day <= CalendarBook::WholeWeek; ++day) {
        bindings.append({dayTab(day), QStringLiteral("onclick"), QStringLiteral("onweek%1").arg(day),
                         [this, day](const PageBridge::Event &) { m_book->SelectWeekTab(day, now()); }});
    }
    for (int level = 0; level <= 2; ++level) {
        bindings.append({filterChoice(level), QStringLiteral("onclick"), QStringLiteral("MinImportance"),
                         [this, level](const PageBridge::Event &) {
                             m_book->setMinImportance(level, now());
                             showFilter();
                         }});
    }
    return bindings;
}

QList<TabStrip::Tab> CalendarPanel::tabs() const
{
    return {{MainPage::CalendarTab, {MainPage::CalendarArea, MainPage::CalendarHead}, QStringLiteral("Calendar.htm")}};
}

void CalendarPanel::pageLoaded()
{
    m_book->showAgain(now());
    showFilter();
}

void CalendarPanel::start()
{
    m_book->start(now());
    afterCalcTick();
    showFilter();
}

QString CalendarPanel::filterChoice(int level)
{
    return QString(MainPage::ImportanceFilterPrefix) + QString::number(level);
}

void CalendarPanel::showFilter()
{
    const int chosen = m_book->minImportance();
    for (int level = 0; level <= 2; ++level)
        m_page.setAttribute(filterChoice(level), QStringLiteral("class"), level == chosen ? QStringLiteral("on") : QString());
}

void CalendarPanel::tabSelected(const QString &anchor)
{
    if (anchor == MainPage::CalendarTab)
        AdjustCalcHead();
    followCountdown();
}

void CalendarPanel::followCountdown()
{
    if (m_tabs.currentTab() != MainPage::CalendarTab || !m_page.view()->isVisible()) {
        m_countdown.stop();
        return;
    }
    showCountdown();
    if (!m_countdown.isActive())
        m_countdown.start();
}

bool CalendarPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        followCountdown();
    return QObject::eventFilter(watched, event);
}

void CalendarPanel::showCountdown()
{
    const CalendarCountdown countdown = m_book->countdown(now());
    if (m_shownCountdown && *m_shownCountdown == countdown)
        return;
    m_page.setText(MainPage::CountdownTime, countdown.time);
    m_page.setText(MainPage::CountdownText, countdown.text);
    m_page.setText(MainPage::CountdownLeft, countdown.left);
    m_shownCountdown = countdown;
}

void CalendarPanel::afterCalcTick()
{
    if (m_ctlTimeCalc.interval() != m_book->calcInterval() || !m_ctlTimeCalc.isActive())
        m_ctlTimeCalc.start(m_book->calcInterval());
    if (m_book->reminderQueued() && !m_ctlTimeNotify.isActive())
        m_ctlTimeNotify.start();
}

void CalendarPanel::AdjustCalcHead()
{
    if (m_tabs.currentTab() != MainPage::CalendarTab)
        return;
    m_page.measure({MainPage::CalendarBox, MainPage::CalendarArea, MainPage::CalendarHead}, [this](const QJsonObject &result) {
        const QJsonObject box = result.value(MainPage::CalendarBox).toObject();
        const QJsonObject area = result.value(MainPage::CalendarArea).toObject();
        using PagePart::px;
        const int offset = box.value(QStringLiteral("width")).toInt();
        const int client = box.value(QStringLiteral("clientWidth")).toInt();
        m_page.setStyle(MainPage::CalendarHead, QStringLiteral("left"), px(area.value(QStringLiteral("left")).toInt()));
        m_page.setStyle(MainPage::CalendarHead, QStringLiteral("top"), px(area.value(QStringLiteral("top")).toInt()));
        // Over the table's own header, and clear of its scroll bar.
        m_page.setStyle(MainPage::CalendarHead, QStringLiteral("width"), px(offset - client > 0 ? client : offset));
        m_page.setStyle(MainPage::CalendarFirstHeader, QStringLiteral("height"),
                        px(result.value(MainPage::CalendarHead).toObject().value(QStringLiteral("clientHeight")).toInt()));
    });
}

void CalendarPanel::TBodyClick(const PageBridge::Event &event)
{
    static const QRegularExpression control(QStringLiteral("^w_(\\d)_chk(\\d+)$"));
    const QRegularExpressionMatch match = control.match(event.targetId);
    if (match.hasMatch())
        m_book->controlClicked(match.captured(1).toInt(), match.captured(2).toInt(), event.targetChecked, now());
}

void CalendarPanel::WebDoc_oncontextmenu(const PageBridge::Event &event)
{
    if (event.rowIndex <= 0)
        return showMenu({}, {});
    // The texts as the menu opens over them: the row under the pointer and
    // the rows after the head, each ended by CR LF.
    m_page.select(QStringLiteral("#%1 tr").arg(MainPage::CalendarTable), [this, index = event.rowIndex](const QJsonArray &rows) {
        QString table;
        for (qsizetype i = 1; i < rows.size(); ++i)
            table += rows.at(i).toObject().value(QStringLiteral("text")).toString() + QStringLiteral("\r\n");
        showMenu(rows.at(index).toObject().value(QStringLiteral("text")).toString(), table);
    });
}

void CalendarPanel::showMenu(const QString &rowText, const QString &tableText)
{
    enum Command { CopyRow = 1, CopyAll, RemindAll, RemindNone, Export };
    m_menu = std::make_unique<cls_PopupMenu>();
    const bool onRow = !rowText.isEmpty();
    if (onRow) {
        m_menu->AddMenuItem(QStringLiteral("单条复制(&C)"), cls_PopupMenu::MF_STRING, CopyRow);
        m_menu->AddMenuItem(QStringLiteral("全部复制(&A)"), cls_PopupMenu::MF_STRING, CopyAll);
    }
    if (m_book->canRemindAll(now())) {
        if (onRow)
            m_menu->AddMenuItem(QString(), cls_PopupMenu::MF_SEPARATOR, 0);
        m_menu->AddMenuItem(QStringLiteral("选择提醒今日所有财经数据(&S)"), cls_PopupMenu::MF_STRING, RemindAll);
        m_menu->AddMenuItem(QStringLiteral("取消提醒今日所有财经数据(&X)"), cls_PopupMenu::MF_STRING, RemindNone);
    }
    if (m_book->CalendarReady()) {
        if (onRow || m_book->canRemindAll(now()))
            m_menu->AddMenuItem(QString(), cls_PopupMenu::MF_SEPARATOR, 0);
        m_menu->AddMenuItem(QStringLiteral("导出到日历文件..."), cls_PopupMenu::MF_STRING, Export);
    }
    if (!onRow && !m_book->canRemindAll(now()) && !m_book->CalendarReady())
        return;
    // The row under the pointer stays marked while the menu is open.
    m_page.setValue(MainPage::FrozenRow, QStringLiteral("1"));
    m_menu->PopupMenu([this, rowText, tableText](int command) {
        m_page.setValue(MainPage::FrozenRow, QStringLiteral("0"));
        if (command == CopyRow)
            QGuiApplication::clipboard()->setText(rowText);
        else if (command == CopyAll)
            QGuiApplication::clipboard()->setText(tableText);
        else if (command == RemindAll || command == RemindNone)
            m_book->remindAll(command == RemindAll, now());
        else if (command == Export)
            exportWeek();
    });
}

void CalendarPanel::exportWeek()
{
    const QString file = QFileDialog::getSaveFileName(m_page.view(), QStringLiteral("导出到日历文件"),
                                                      QDir::homePath() + QStringLiteral("/财经日历.ics"),
                                                      QStringLiteral("iCalendar (*.ics)"));
    if (file.isEmpty())
        return;
    const QByteArray calendar
        = CalendarExport::write(m_book->store(), CalendarBook::notifyMinutes(Globals().Config), now());
    QSaveFile out(file);
    if (calendar.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(calendar) != calendar.size() || !out.commit()) {
        Q_EMIT balloonRequested(calendar.isEmpty() ? QStringLiteral("没有已保存的财经日历") : file + QStringLiteral(": ") + out.errorString(),
                                QStringLiteral("导出失败"), ErrorReport::BalloonIcon);
        return;
    }
    Q_EMIT balloonRequested(QStringLiteral("本周的财经日历已导出到 ") + file, QStringLiteral("财经日历"), 1);
}

void CalendarPanel::showDay(int weekIndex, const QList<std::pair<QString, QString>> &events, const QList<CalendarItemView> &items)
{
    m_page.clearRows(MainPage::CalendarTable);
    m_rowOf.clear();
    const bool week = weekIndex == CalendarBook::WholeWeek;
    // The table's header row, then the day's event list (not for the whole week).
    const int firstRow = week ? 1 : 2;
    if (!week)
        showEvents(events);
    static const QStringList dayNames{QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"),
                                      QStringLiteral("周四"), QStringLiteral("周五")};
    for (qsizetype j = 0; j < items.size(); ++j) {
        const CalendarItemView &item = items.at(j);
        m_rowOf.insert(rowKey(item.day, item.number), firstRow + int(j));
        QVariantList info{PagePart::element(QStringLiteral("#text"), item.info)};
        if (!item.before.isEmpty() && !item.revisedFrom.isEmpty())
            info << PagePart::element(QStringLiteral("#text"), QStringLiteral(" "))
                 << PagePart::element(QStringLiteral("nobr"), {}, QStringLiteral("revised"), {},
                                      {PagePart::element(QStringLiteral("#text"), QStringLiteral("前值: ")),
                                       PagePart::element(QStringLiteral("s"), item.revisedFrom),
                                       PagePart::element(QStringLiteral("#text"), QStringLiteral(" ") + item.before)});
        else if (!item.before.isEmpty())
            info << PagePart::element(QStringLiteral("#text"), QStringLiteral(" ")) << PagePart::element(QStringLiteral("nobr"), QStringLiteral("前值: ") + item.before);
        if (!item.predict.isEmpty())
            info << PagePart::element(QStringLiteral("#text"), QStringLiteral(" "))
                 << PagePart::element(QStringLiteral("nobr"), QStringLiteral("市场预测: ") + item.predict);
        if (item.result == QStringLiteral("?"))
            info << PagePart::element(QStringLiteral("#text"), QStringLiteral(" "))
                 << PagePart::element(QStringLiteral("img"), {}, {}, {{QStringLiteral("src"), QStringLiteral("ldata.gif")}, {QStringLiteral("align"), QStringLiteral("absmiddle")}});
        else if (!item.result.isEmpty())
            info << PagePart::element(QStringLiteral("#text"), QStringLiteral(" "))
                 << PagePart::element(QStringLiteral("nobr"), QStringLiteral("结果: ") + item.result + ReleaseValue::mark(item.surprise),
                                      QStringLiteral("result ") + ReleaseValue::className(item.surprise));
        if (!item.comment.isEmpty())
            info << PagePart::element(QStringLiteral("hr"), {}, QStringLiteral("comment")) << PagePart::element(QStringLiteral("font"), item.comment, QStringLiteral("comment"));
        const QString importance = importanceClass(item.importance);
        const QString time = week ? dayNames.value(item.day - 1) + u' ' + item.time : item.time;
        QVariantMap timeCell = cell({PagePart::element(QStringLiteral("#text"), time)}, centred(week ? QStringLiteral("76px") : QStringLiteral("38px")));
        // Below the importance filter: hidden by the page, its reminder kept.
        if (item.filtered)
            timeCell.insert(QStringLiteral("rowClass"), QStringLiteral("filtered"));
        m_page.insertRow(MainPage::CalendarTable, -1,
                         {timeCell,
                          cell(info, {{QStringLiteral("verticalAlign"), QStringLiteral("middle")}}),
                          cell({PagePart::element(QStringLiteral("font"), item.importance, importance)}, centred(QStringLiteral("30px"))),
                          control(item.day, item.number, item.control)});
    }
}

void CalendarPanel::showEvents(const QList<std::pair<QString, QString>> &events)
{
    QVariantList entries;
    for (const auto &[time, text] : events)
        entries << PagePart::element(QStringLiteral("li"), time.isEmpty() ? text : time + QStringLiteral("\u00a0\u00a0\u00a0") + text);
    m_page.insertRow(MainPage::CalendarTable, -1,
                     {cell({PagePart::element(QStringLiteral("fieldset"), {}, {}, {},
                                 {PagePart::element(QStringLiteral("legend"), QStringLiteral("财经事件")),
                                  PagePart::element(QStringLiteral("ul"), {}, QStringLiteral("ul_st"), {}, entries)})},
                           {{QStringLiteral("backgroundColor"), QStringLiteral("#CBCBCB")}},
                           {{QStringLiteral("colspan"), QStringLiteral("4")}})});
}

void CalendarPanel::selectDayTab(int previous, int weekIndex)
{
    if (previous >= 1 && previous <= 5)
        m_page.clearParentId(dayTab(previous));
    m_page.setParentId(dayTab(weekIndex), QStringLiteral("select"));
    AdjustCalcHead();
}

void CalendarPanel::markToday(int weekIndex, bool today)
{
    m_page.setClassOfFirst(dayTab(weekIndex), QStringLiteral("span"), today ? QStringLiteral("weekToday") : QString());
}

void CalendarPanel::setDayTitle(int weekIndex, const QString &title)
{
    m_page.setAttribute(dayTab(weekIndex), QStringLiteral("title"), title);
}

void CalendarPanel::setControl(int weekIndex, int itemNumber, CalendarItemView::Control kind)
{
    const int row = m_rowOf.value(rowKey(weekIndex, itemNumber), -1);
    if (m_book->shows(weekIndex) && row > 0)
        m_page.setCell(MainPage::CalendarTable, row, 3, control(weekIndex, itemNumber, kind));
}

void CalendarPanel::balloon(const QString &text, const QString &title)
{
    Q_EMIT balloonRequested(text, title, 1);
}

void CalendarPanel::reminder(const QString &text)
{
    // A reminder stays on screen until the user closes it.
    Notification reminder;
    reminder.origin = Notification::Origin::Reminder;
    reminder.icon = QStringLiteral("warn.gif");
    reminder.heading = QStringLiteral("财经事件提醒");
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        reminder.lines.append({{}, line, {}, {}});
    reminder.untilClosed = true;
    m_notifier.notify(reminder);
}

void CalendarPanel::playSystemSound(const QString &alias)
{
    Desktop::PlaySystemSound(alias);
}
