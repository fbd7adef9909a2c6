#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include <functional>

class QWebChannel;
class QWebEngineView;
class QWidget;

// What every window of ours that shows a page uses: a web view on one of our
// embedded pages, a channel to the page that only our own script world can
// see, the bindings of page events to named operations of the window, and the
// typed changes the window makes to the page. The window keeps its state; the
// page only shows it.
class PageBridge : public QObject
{
    Q_OBJECT

public:
    struct Binding
    {
        QString elementId;
        QString event;     // "onclick", "onmousedown", ...
        QString operation; // name of an invokable method of the target
    };

    // `target` receives the bound operations, by name.
    PageBridge(QWidget *parentWidget, QObject *target);
    ~PageBridge() override;

    QWebEngineView *view() const { return m_view; }
    // Loads PageBase + the page name. Bindings are made once, when it has loaded.
    void load(const QString &pageName, const QList<Binding> &bindings);
    // Loading, or not yet bound.
    bool Busy() const { return !m_bound; }
    // The element whose event runs the operation being invoked, and its text.
    QString invokingElement() const { return m_invokingElement; }
    QString invokingElementText() const { return m_invokingText; }

    void setText(const QString &id, const QString &text) { apply(QStringLiteral("setText"), {id, text}); }
    void setHtml(const QString &id, const QString &html) { apply(QStringLiteral("setHtml"), {id, html}); }
    void setStyle(const QString &id, const QString &property, const QString &value)
    {
        apply(QStringLiteral("setStyle"), {id, property, value});
    }
    void setClass(const QString &id, const QString &name) { apply(QStringLiteral("setClass"), {id, name}); }
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
    void click(const QString &id) { apply(QStringLiteral("click"), {id}); }
    // cells: maps with "text" (shown as text) or "html", optional "style" and "attributes".
    void insertRow(const QString &tableId, int index, const QVariantList &cells)
    {
        apply(QStringLiteral("insertRow"), {tableId, index, cells});
    }
    void deleteRow(const QString &tableId, int index) { apply(QStringLiteral("deleteRow"), {tableId, index}); }

    // Layout measurements come back later: element id -> {left, top, width,
    // height, clientWidth, clientHeight}, absent ids left out.
    void measure(const QStringList &ids, std::function<void(const QJsonObject &)> done);

    // Opens an http or https address in the user's browser.
    static void openExternally(const QUrl &url);

Q_SIGNALS:
    // The page has loaded and its bindings are made.
    void pageReady();
    // A bound operation the target does not have (a page defect).
    void unknownOperation(const QString &name);

private:
    friend class PageBridgeChannel;
    void apply(const QString &command, const QVariantList &args);
    void onPageLoaded();
    void onBound();
    void onMeasured(int request, const QJsonObject &result);
    void invoke(const QString &operation, const QString &elementId, const QString &elementText);

    QWebEngineView *m_view;
    QWebChannel *m_channel;
    class PageBridgeChannel *m_host;
    QPointer<QObject> m_target;
    QList<Binding> m_bindings;
    QString m_invokingElement;
    QString m_invokingText;
    bool m_bound = false;
    int m_nextRequest = 0;
    QHash<int, std::function<void(const QJsonObject &)>> m_measures;
};
