#include "core/gui/DialogMessageSink.h"

#include "core/StderrMessageSink.h"

#include <QApplication>
#include <QMessageBox>

void DialogMessageSink::show(MessageIcon icon, const QString &text, const QString &caption)
{
    StderrMessageSink::instance().show(icon, text, caption);
    if (!hasScreen())
        return;

    const QMessageBox::Icon boxIcon = icon == MessageIcon::Critical      ? QMessageBox::Critical
                                      : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                         : QMessageBox::Information;
    QMessageBox box(boxIcon, caption.isEmpty() ? QApplication::applicationDisplayName() : caption, text,
                    QMessageBox::Ok);
    // System-modal boxes of the original are kept in front of every window.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

bool DialogMessageSink::hasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return qobject_cast<QApplication *>(QCoreApplication::instance()) && platform != QStringLiteral("offscreen")
        && platform != QStringLiteral("minimal");
}
