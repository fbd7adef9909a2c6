#include "support/TrayBalloons.h"

#include <QApplication>
#include <QLabel>
#include <QTextDocument>

namespace {

bool isBalloon(const QWidget *widget)
{
    return QByteArray(widget->metaObject()->className()) == "QBalloonTip" && widget->isVisible();
}

} // namespace

namespace TrayBalloons {

bool visible()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), isBalloon);
}

QStringList shownTexts()
{
    QStringList shown;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!isBalloon(widget))
            continue;
        for (const QLabel *label : widget->findChildren<QLabel *>()) {
            QTextDocument document;
            const bool rich = label->textFormat() == Qt::RichText
                || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
            if (rich)
                document.setHtml(label->text());
            else
                document.setPlainText(label->text());
            shown << document.toPlainText();
        }
    }
    return shown;
}

} // namespace TrayBalloons
