#pragma once

#include "pagebridge/PageWindow.h"

#include <QList>

// The floating quote panel: the eight prices side by side in 64-pixel
// columns, in a borderless, topmost strip of fixed height whose width snaps
// to whole columns. Its place, width and open state live in Window/FXQuote.
class frmShowQuote : public PageWindow
{
    Q_OBJECT

public:
    struct Column
    {
        QString name, code, pip, fract;
    };

    explicit frmShowQuote(QWidget *parent = nullptr);

    void MakeTable(const QList<Column> &columns);
    void UpdateQuote(const QString &SymBol, const QString &Value, const QString &FractPip, const QString &ccc);
    // Closed by the program: it opens again by itself with the quotes.
    void closeByProgram();

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ResizeWindow();
    void snapWidth();

    int m_fixedHeight = 0;
    bool m_byProgram = false;
};
