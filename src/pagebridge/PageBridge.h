#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariantList>

#include <functional>

class QWebChannel;
class QWebEngineView;
class QWidget;

// What every window of ours that shows a page uses: a web view on one of our
// embedded pages, a channel to the page that only our own script world can
// see, the bindings of page events to handlers, and the typed changes the
// window makes to the page. The window keeps its state; the page only shows it.
// Changes and measurements asked for before the page is up wait for it and
// reach it in order, so no window ever waits for its page.
class PageBridge : public QObject
{
    Q_OBJECT

public:
    static constexpr int ReloadWatchMs = 10000;

    // One event of a bound element, as the handler receives it.
    struct Event
    {
        QString elementId;
        QString text;        // the element's text
        bool byUser = false; // a user's gesture caused it (not a script of its own)
        // What inside the element the event happened on: its id, whether it
        // is a ticked control, and the index of the table row around it (-1:
        // none). A panel that needs more asks the page for it.
        QString targetId;
        bool targetChecked = false;
        int rowIndex = -1;
    };
    using Handler = std::function<void(const Event &)>;

    struct Binding
    {
        QString elementId;
        QString event;     // "onclick", "onmousedown", ...
        QString operation; // the operation's name, for diagnostics and watchers
        Handler handler;
    };

    static Binding bind(QLatin1StringView elementId, const char *event, const char *operation, Handler handler)
    {
        return {elementId, QString::fromLatin1(event), QString::fromLatin1(operation), std::move(handler)};
    }

    // The address every page of ours has: the embedded resources.
    static QString pageAddress(const QString &pageName);

    explicit PageBridge(QWidget *parentWidget);
    ~PageBridge() override;

    QWebEngineView *view() const { return m_view; }
    // Loads one of our pages; its bindings are made once it has loaded.
    void load(const QString &pageName, const QList<Binding> &bindings);
    // Binds elements built after the load (their part of the page came later).
    void addBindings(const QList<Binding> &bindings);
    // Forgets the bindings of an element the page no longer has.
    void removeBindings(const QString &elementId);
    // Loading, or not yet bound.
    bool Busy() const { return !m_bound; }
    // Runs `work` once the page is bound: now if it is, else when it becomes so.
    void whenReady(std::function<void()> work);
    // Changes made between these two go to the page as one message: a burst
    // of rows costs the page one round, not one per row. Pairs may nest.
    void beginBatch() { ++m_batchDepth; }
    void endBatch();
    // A page nobody sees need not run. From now on, while its window is
    // hidden, the page is frozen (its scripts, timers and frames stop) and
    // what the window changes waits here, a change of the same thing taking
    // the place of the one before and emptying a table dropping what was to
    // go into it; shown again, the page comes back and takes it all at once.
    // Questions asked meanwhile are answered then.
    void freezeWhileHidden();
    bool isFrozen() const { return m_frozen; }

    void setText(const QString &id, const QString &text) { apply(QStringLiteral("setText"), {id, text}); }
    void setHtml(const QString &id, const QString &html) { apply(QStringLiteral("setHtml"), {id, html}); }
    void setStyle(const QString &id, const QString &property, const QString &value)
    {
        apply(QStringLiteral("setStyle"), {id, property, value});
    }
    void setAttribute(const QString &id, const QString &name, const QString &value)
    {
        apply(QStringLiteral("setAttribute"), {id, name, value});
    }
    void setValue(const QString &id, const QString &value) { apply(QStringLiteral("setValue"), {id, value}); }
    void setParentId(const QString &id, const QString &parentId) { apply(QStringLiteral("setParentId"), {id, parentId}); }
    void clearParentId(const QString &id) { apply(QStringLiteral("clearParentId"), {id}); }
    void setParentStyle(const QString &id, const QString &property, const QString &value)
    {
        apply(QStringLiteral("setParentStyle"), {id, property, value});
    }
    void focus(const QString &id) { apply(QStringLiteral("focus"), {id}); }
    // Form controls: a box ticked or not, a list's entries (maps with "value"
    // and "text", shown as text) and its chosen entry (-1: none).
    void setChecked(const QString &id, bool checked) { apply(QStringLiteral("setChecked"), {id, checked}); }
    void setOptions(const QString &id, const QVariantList &options) { apply(QStringLiteral("setOptions"), {id, options}); }
    void setSelectedIndex(const QString &id, int index) { apply(QStringLiteral("setSelectedIndex"), {id, index}); }
    // Fires a plain event ("click", "change") at an element for the page's own
    // handlers; unlike a real click it changes no control.
    void fire(const QString &id, const QString &eventName) { apply(QStringLiteral("fire"), {id, eventName}); }
    void click(const QString &id) { apply(QStringLiteral("click"), {id}); }
    // cells: maps with "text" (shown as text), "parts" (a list of {tag, text,
    // className, attributes}: elements made with their text as text) or
    // "html", and optional "style", "attributes", "rowClass" (the row's class)
    // and "marks" (texts put in a <mark> wherever they stand in the cell's text).
    void insertRow(const QString &tableId, int index, const QVariantList &cells)
    {
        apply(QStringLiteral("insertRow"), {tableId, index, cells});
    }
    void deleteRow(const QString &tableId, int index) { apply(QStringLiteral("deleteRow"), {tableId, index}); }
    // Every row but the first.
    void clearRows(const QString &tableId) { apply(QStringLiteral("clearRows"), {tableId}); }
    // A cell's content replaced, the cell given as to insertRow.
    void setCell(const QString &tableId, int row, int cell, const QVariantMap &content)
    {
        apply(QStringLiteral("setCell"), {tableId, row, cell, content});
    }
    // An element's content replaced by parts, as a cell's (see insertRow).
    void setParts(const QString &id, const QVariantList &parts) { apply(QStringLiteral("setParts"), {id, parts}); }
    // The class of the first element inside `id` that matches a CSS selector.
    void setClassOfFirst(const QString &id, const QString &selector, const QString &name)
    {
        apply(QStringLiteral("setClassOfFirst"), {id, selector, name});
    }
    // Hands data to the page's own script, which builds what it describes:
    // the page listens for the event "tessaly-" + name and reads the data as
    // JSON from the document element's attribute "data-" + name.
    void build(const QString &name, const QJsonValue &data);

    // Layout measurements come back later: element id -> {left, top, width,
    // height, clientWidth, clientHeight}, absent ids left out.
    void measure(const QStringList &ids, std::function<void(const QJsonObject &)> done);

    // The state of form controls, later: element id -> {checked, value,
    // selectedIndex, selectedText}, absent ids left out.
    void readForm(const QStringList &ids, std::function<void(const QJsonObject &)> done);

    // What elements a CSS selector finds, later: [{id, text, cells, spans}]
    // in document order (cells: a row's cell texts; spans: ids of its spans).
    void select(const QString &selector, std::function<void(const QJsonArray &)> done);

    // Opens an http or https address in the user's browser.
    static void openExternally(const QUrl &url);
    // Whether an address is one the browser may be handed: http or https.
    static bool isWebAddress(const QUrl &url);

Q_SIGNALS:
    // The page has loaded and its channel is up; bindings come right after,
    // so what the window builds in the page now is there to be bound.
    void pageLoaded();
    // The page has loaded and its bindings are made.
    void pageReady();
    // A bound handler has run.
    void invoked(const QString &operation);
    // The page is about to be frozen: what must not stay in it while nobody
    // sees it (a remote frame) goes now; what is changed then reaches it
    // before it freezes.
    void freezing();
    // The page was frozen, or has come back (see freezeWhileHidden).
    void frozenChanged(bool frozen);
    // The page's renderer has ended: what the page showed is gone, what was
    // asked of it answered empty; the page loads again, and pageLoaded and
    // pageReady follow as at the start, for its owner to fill it anew.
    void rendererGone();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class PageBridgeChannel;
    void apply(const QString &command, const QVariantList &args);
    void setFrozen(bool frozen);
    // Freezes a hidden page once it has taken what its owners change at `freezing`.
    void freezeSoon();
    // While frozen: what a new change makes of those waiting.
    void supersede(const QString &command, const QVariantList &args);
    void requestBindings(const QList<Binding> &bindings);
    void flush();
    void whenLoaded(std::function<void()> step);
    // A question to the page: sent by `send` with its number once the page
    // is there; the answer, coming later by that number, goes to `done`.
    template <typename Answer>
    void ask(QHash<int, std::function<void(const Answer &)>> &waiting, std::function<void(const Answer &)> done,
             std::function<void(int)> send);
    void onPageLoaded();
    void onRendererGone();
    // What the page showed and was asked is gone with it.
    void forgetPage();
    // The view's page, made anew: at the start and when its renderer ended.
    void makePage();
    void onBound();
    void onMeasured(int request, const QJsonObject &result);
    void onSelected(int request, const QJsonArray &result);
    void onEvent(const QString &eventName, const Event &event);

    QWebEngineView *m_view;
    class GuardedPage *m_guardedPage = nullptr;
    QWebChannel *m_channel;
    class PageBridgeChannel *m_host;
    QList<Binding> m_bindings;
    QUrl m_address;
    // A page loaded again after its renderer ended is asked for again until it is bound.
    QTimer m_reloadWatch;
    bool m_loaded = false;
    bool m_bound = false;
    QList<std::function<void()>> m_beforeLoad;
    QList<std::function<void()>> m_beforeReady;
    QVariantList m_outbox;
    int m_batchDepth = 0;
    bool m_freezesWhileHidden = false;
    bool m_frozen = false;
    bool m_freezePending = false; // `freezing` was told, the page not frozen yet
    QList<Binding> m_heldBindings; // asked for after what waits, once thawed
    int m_nextRequest = 0;
    QHash<int, std::function<void(const QJsonObject &)>> m_measures;
    QHash<int, std::function<void(const QJsonArray &)>> m_selections;
};
