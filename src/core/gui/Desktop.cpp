#include "core/gui/Desktop.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>

static void initResources()
{
    Q_INIT_RESOURCE(sounds);
}

namespace Desktop {

void OpenUrl(const QString &target)
{
    if (target.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
    QGuiApplication::restoreOverrideCursor();
}

void PlaySystemSound(const QString &alias)
{
    static QHash<QString, QSoundEffect *> effects;
    QSoundEffect *&effect = effects[alias];
    if (!effect) {
        initResources();
        effect = new QSoundEffect(QCoreApplication::instance());
        effect->setSource(QUrl(QStringLiteral("qrc:/sounds/") + alias + QStringLiteral(".wav")));
    }
    effect->play();
}

bool GetWorkArea(QRect &area)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    area = screen->availableGeometry();
    return area.isValid();
}

bool MostlyOnScreens(const QRect &window)
{
    qint64 shown = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect part = screen->geometry().intersected(window);
        shown += qint64(part.width()) * part.height();
    }
    return window.isValid() && 2 * shown > qint64(window.width()) * window.height();
}

void SetTopMost(QWidget *window, bool on)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = window->isVisible();
    const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    const QRect geometry = window->geometry();
    // Changing a window flag hides the window; it comes back in place, unactivated.
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->setGeometry(geometry);
    if (visible)
        window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

} // namespace Desktop
