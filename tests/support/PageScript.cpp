#include "support/PageScript.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace PageScript {

QVariant run(QWebEngineView *view, const QString &script, quint32 world)
{
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, world, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 5000)
        QTest::qWait(5);
    if (!done)
        qWarning("page script did not answer: %s", qPrintable(script));
    return result;
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
