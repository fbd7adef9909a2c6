#pragma once

#include "pagebridge/PageBridge.h"
#include "pagebridge/PageWindow.h"

// The about window: a borderless picture with the program's version, the
// update button, the link to the product site and a close button. It deletes
// itself when closed.
class frmAbout : public PageWindow
{
    Q_OBJECT

public:
    explicit frmAbout(QString siteHome, QWidget *owner = nullptr);

    bool Busy() { return page().Busy() || !m_ready; }
    void LiveUpdate();
    // The requested check has reported: the update button is idle again.
    void ChkLiveUpdateOk();

Q_SIGNALS:
    // The user asked for an update check.
    void updateRequested();
    // The page is laid out and the window fitted to it.
    void ready();

private:
    QList<PageBridge::Binding> bindings();
    void layOut();

    QString m_siteHome;
    bool m_ready = false;
};
