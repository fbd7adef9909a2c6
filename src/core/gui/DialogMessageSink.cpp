#include "core/gui/DialogMessageSink.h"

#include "core/StderrMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include <algorithm>

void DialogMessageSink::show(MessageIcon icon, const QString &text, const QString &caption)
{
    StderrMessageSink::instance().show(icon, text, caption);
    if (!hasScreen())
        return;
    // Before the program runs (a refusal at start) the box waits for the
    // user; once it runs, the box waits for nobody: timers and page events go
    // on, no event loop of its own runs under whoever reported, and a failure
    // that repeats while its box is open adds no second box.
    const bool running = QThread::currentThread()->loopLevel() > 0;
    static QList<QPointer<QMessageBox>> open;
    open.removeIf([](const QPointer<QMessageBox> &shown) { return shown.isNull(); });
    if (running && std::any_of(open.cbegin(), open.cend(), [&text](const QPointer<QMessageBox> &shown) { return shown->text() == text; }))
        return;

    const QMessageBox::Icon boxIcon = icon == MessageIcon::Critical      ? QMessageBox::Critical
                                      : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                         : QMessageBox::Information;
    auto *box = new QMessageBox(boxIcon, caption.isEmpty() ? QApplication::applicationDisplayName() : caption, text,
                                QMessageBox::Ok);
    // System-modal boxes of the original are kept in front of every window.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!running) {
        box->exec();
        return;
    }
    open.append(box);
    box->show();
}

bool DialogMessageSink::hasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return qobject_cast<QApplication *>(QCoreApplication::instance()) && platform != QStringLiteral("offscreen")
        && platform != QStringLiteral("minimal");
}
