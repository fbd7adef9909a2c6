// The floor under the program's footprint: one web view with a one-line page,
// set up as the program sets up its web engine. bench/footprint measures it
// beside the program, so that what the engine costs by itself is known.
#include "app/PlatformChoice.h"

#include <QApplication>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    choosePlatform();
    chooseWebEngineSettings();
    quietenChosenGraphicsWarnings();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setWindowTitle(QStringLiteral("bare web view"));
    view.setHtml(QStringLiteral("<!DOCTYPE html><html><body><p>Tessaly</p></body></html>"));
    view.resize(800, 600);
    view.show();
    return QApplication::exec();
}
