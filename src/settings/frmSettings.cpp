#include "settings/frmSettings.h"

#include "core/AppGlobals.h"
#include "core/Logging.h"
#include "core/MessageSink.h"
#include "core/ProgramData.h"
#include "core/cRegistry.h"
#include "news/WorkerRuntime.h"
#include "notify/PlayMediaCls.h"
#include "pages/SettingsPage.h"
#include "news/NewsSourceRegistry.h"
#include "settings/AlertSection.h"
#include "settings/AutoRun.h"
#include "settings/FeedSection.h"

#include <QDir>
#include <QJsonObject>
#include <QKeySequence>
#include <QShortcut>
#include <QWebEngineView>

namespace {

QVariantList options(const QList<SettingsForm::Choice> &choices)
{
    QVariantList list;
    for (const SettingsForm::Choice &choice : choices)
        list.append(QVariantMap{{QStringLiteral("value"), choice.value}, {QStringLiteral("text"), choice.text}});
    return list;
}

} // namespace

frmSettings::frmSettings(QString programFolder, QString programPath, MessageSink &messages, QWidget *owner)
    : QWidget(owner, Qt::Dialog)
    , m_page(new PageBridge(this))
    , m_programFolder(std::move(programFolder))
    , m_programPath(std::move(programPath))
    , m_messages(messages)
    , m_feeds(new FeedSection(*m_page, WorkerRuntime::instance().serverProgram(), this))
    // A rule may name a source added in this same dialog.
    , m_alerts(new AlertSection(*m_page, [this] { return NewsSourceRegistry::builtInNames() + m_feeds->names(); }, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("设置"));
    resize(470, 345);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &frmSettings::ClickOK);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &frmSettings::ClickCancel);
    connect(m_page, &PageBridge::pageReady, this, &frmSettings::fill);
    m_page->load(SettingsPage::Name, bindings());
}

frmSettings::~frmSettings() = default;

QList<PageBridge::Binding> frmSettings::bindings()
{
    using Event = PageBridge::Event;
    return m_feeds->bindings() + m_alerts->bindings() + QList<PageBridge::Binding>{
        PageBridge::bind(SettingsPage::Ok, "onclick", "ClickOK", [this](const Event &) { ClickOK(); }),
        PageBridge::bind(SettingsPage::Cancel, "onclick", "ClickCancel", [this](const Event &) { ClickCancel(); }),
        PageBridge::bind(SettingsPage::SoundTest, "onclick", "TestSound", [this](const Event &) { TestSound(); }),
        PageBridge::bind(SettingsPage::SoundList, "onclick", "StopSound", [this](const Event &) { StopSound(); }),
        PageBridge::bind(SettingsPage::SoundList, "onchange", "StopSound", [this](const Event &) { StopSound(); }),
    };
}

QStringList frmSettings::soundFiles() const
{
    return QDir(ProgramData::soundFolder(m_programFolder)).entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name);
}

// The controls are filled in a fixed order; the page's own handlers follow
// each value through the events fired after it (a fired click ticks nothing).
void frmSettings::fill()
{
    m_stored = SettingsForm::read(Globals().Config, AutoRun(m_programPath).isOn());
    const QString click = QStringLiteral("click");
    m_page->setChecked(SettingsPage::SystemRun, m_stored.autostart);
    m_page->fire(SettingsPage::SystemRun, click);

    m_page->setChecked(SettingsPage::Popup, m_stored.popup);
    m_page->setOptions(SettingsPage::Duration, options(SettingsForm::durations()));
    m_page->setSelectedIndex(SettingsPage::Duration, m_stored.durationIndex);
    QVariantList sounds;
    const QStringList files = soundFiles();
    for (const QString &file : files)
        sounds.append(QVariantMap{{QStringLiteral("value"), file}, {QStringLiteral("text"), file}});
    m_page->setOptions(SettingsPage::SoundList, sounds);
    m_page->setSelectedIndex(SettingsPage::SoundList, static_cast<int>(files.indexOf(m_stored.soundFile)));
    m_page->fire(SettingsPage::Popup, click);

    const QList<SettingsForm::SourceRow> &rows = SettingsForm::sourceRows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const SettingsForm::SourceRow &row = rows.at(i);
        m_page->setChecked(row.checkId, m_stored.sources.at(i).checked);
        m_page->setOptions(row.listId, options(SettingsForm::intervals(row.longIntervals)));
        m_page->setSelectedIndex(row.listId, m_stored.sources.at(i).intervalIndex);
        if (!row.longIntervals)
            m_page->fire(row.listId, QStringLiteral("change"));
        m_page->fire(row.checkId, click);
    }

    m_page->setOptions(SettingsPage::NotifyTime, options(SettingsForm::notifyTimes()));
    m_page->setSelectedIndex(SettingsPage::NotifyTime, m_stored.notifyIndex);
    m_page->setChecked(SettingsPage::LiveUpdate, m_stored.liveUpdate);
    m_feeds->fill(Globals().Config);
    m_alerts->fill(Globals().Config, files);

    // The window ends with the button row.
    m_page->measure({SettingsPage::ButtonLayout}, [this](const QJsonObject &result) {
        const QJsonObject buttons = result.value(SettingsPage::ButtonLayout).toObject();
        const int bottom = buttons.value(QStringLiteral("top")).toInt() + buttons.value(QStringLiteral("height")).toInt();
        if (bottom > 0)
            resize(std::max(width(), buttons.value(QStringLiteral("width")).toInt()), bottom);
        m_loaded = true;
        Q_EMIT ready();
    });
}

void frmSettings::ClickOK()
{
    if (!m_loaded || m_saving)
        return;
    m_saving = true;
    QStringList ids{SettingsPage::SystemRun, SettingsPage::Popup, SettingsPage::Duration, SettingsPage::SoundList,
                    SettingsPage::NotifyTime, SettingsPage::LiveUpdate};
    for (const SettingsForm::SourceRow &row : SettingsForm::sourceRows())
        ids << row.checkId << row.listId;
    m_page->readForm(ids, [this](const QJsonObject &form) { save(form); });
}

void frmSettings::save(const QJsonObject &form)
{
    auto control = [&form](const QString &id) { return form.value(id).toObject(); };
    auto checked = [&control](const QString &id) { return control(id).value(QStringLiteral("checked")).toBool(); };
    auto index = [&control](const QString &id) { return control(id).value(QStringLiteral("selectedIndex")).toInt(-1); };

    SettingsForm::State state;
    state.autostart = checked(SettingsPage::SystemRun);
    state.popup = checked(SettingsPage::Popup);
    state.durationIndex = std::max(index(SettingsPage::Duration), 0);
    // The option's value is the file's name; its text is folded as HTML folds blanks.
    state.soundFile = control(SettingsPage::SoundList).value(QStringLiteral("value")).toString();
    for (const SettingsForm::SourceRow &row : SettingsForm::sourceRows())
        state.sources.append({checked(row.checkId), index(row.listId)});
    state.notifyIndex = std::max(index(SettingsPage::NotifyTime), 0);
    state.liveUpdate = checked(SettingsPage::LiveUpdate);

    StopSound();
    // The session's entry is touched only when the box was changed.
    if (state.autostart != m_stored.autostart) {
        try {
            AutoRun(m_programPath).set(state.autostart);
        } catch (const cRegistry::Failure &failure) {
            m_messages.show(MessageIcon::Exclamation, QStringLiteral("无法设置开机自动运行：") + failure.text());
        }
    }
    cls_Config &config = Globals().Config;
    SettingsForm::write(config, state);
    m_feeds->write(config);
    m_alerts->write(config);
    config.XMLSave();
    qCInfo(lcSettings) << "settings stored; autostart" << state.autostart << "sound" << state.soundFile;
    close();
    Q_EMIT applied();
}

void frmSettings::TestSound()
{
    if (m_testPlaying) {
        StopSound();
        return;
    }
    m_page->readForm({SettingsPage::SoundList}, [this](const QJsonObject &form) {
        const QString file = form.value(SettingsPage::SoundList).toObject().value(QStringLiteral("value")).toString();
        if (file.isEmpty() || m_testPlaying)
            return;
        if (!m_player) {
            m_player = std::make_unique<PlayMediaCls>();
            connect(m_player.get(), &PlayMediaCls::EndPlay, this, &frmSettings::StopSound);
        }
        if (!m_player->OpenMedia(ProgramData::soundFolder(m_programFolder) + file))
            return;
        m_page->setAttribute(SettingsPage::SoundTestImage, QStringLiteral("src"), QStringLiteral("stop.gif"));
        m_testPlaying = true;
        m_player->Play(true);
    });
}

void frmSettings::StopSound()
{
    if (!m_testPlaying)
        return;
    m_testPlaying = false;
    m_page->setAttribute(SettingsPage::SoundTestImage, QStringLiteral("src"), QStringLiteral("play.gif"));
    if (m_player)
        m_player->Stop_();
}

void frmSettings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_page->view()->setGeometry(rect());
}
