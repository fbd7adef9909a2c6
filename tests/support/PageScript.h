#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWebEngineScript>

class QWebEngineView;

// Runs script in a view's page and waits for its answer (five seconds at
// most, then an invalid value): how the tests look into a real page.
namespace PageScript {

QVariant run(QWebEngineView *view, const QString &script, quint32 world = QWebEngineScript::MainWorld);
// The texts of a table's rows, top first, white space folded, blank rows left out.
QStringList rowTexts(QWebEngineView *view, const QString &tableId);

} // namespace PageScript
