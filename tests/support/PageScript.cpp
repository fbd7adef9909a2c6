#include "support/PageScript.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace PageScript {

QVariant run(QWebEngineView *view, const QString &script, quint32 world)
{
    // Shared with the callback: an answer that comes after the wait (a page
    // loaded again meanwhile) must find something alive to write to.
    struct Answer
    {
        QVariant result;
        bool done = false;
    };
    const auto answer = std::make_shared<Answer>();
    view->page()->runJavaScript(script, world, [answer](const QVariant &value) {
        answer->result = value;
        answer->done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!answer->done && clock.elapsed() < 5000)
        QTest::qWait(5);
    if (!answer->done)
        qWarning("page script did not answer: %s", qPrintable(script));
    return answer->result;
}

QStringList rowTexts(QWebEngineView *view, const QString &tableId)
{
    return run(view, QStringLiteral("Array.prototype.map.call(document.getElementById('%1').rows,"
                                    " function (r) { return r.textContent.replace(/\\s+/g, ' ').trim(); })"
                                    ".filter(function (t) { return t; }).join('\\n')")
                         .arg(tableId))
        .toString()
        .split(u'\n', Qt::SkipEmptyParts);
}

} // namespace PageScript
