#pragma once

#include "update/LiveUpdate.h"

#include <QWidget>

class PageBridge;
class cls_Config;

// The update dialog over its page "iLiveUpdate.htm". Made hidden, it checks
// the product site at once; it shows itself only when a newer version
// exists, and then downloads it at once. It deletes itself when closed; the
// window manager's close is "取消", refused while the download runs.
class frmLiveUpdate : public QWidget
{
    Q_OBJECT

public:
    frmLiveUpdate(const ProductSite &site, QString programFolder, QWidget *parent = nullptr);
    ~frmLiveUpdate() override;

    // An installed program is updated by the system's package manager: a
    // newer version is then only pointed to, not downloaded.
    void setInstalled(bool installed) { m_installed = installed; }
    // The version whose update was last tried is kept in `config`: a silent
    // check never tries the same version twice in a row.
    void rememberTriedIn(cls_Config &config);
    // A requested check: an up-to-date result is announced, and a version
    // tried before is offered again.
    void setTip(bool tip);
    bool Tip() const { return m_tip; }
    // The check has ended (reported() was emitted).
    bool hasReported() const { return m_reported; }
    bool Busy() const;
    LiveUpdate &update() { return *m_update; }

    void ClickOK();
    void ClickCancel();

Q_SIGNALS:
    // The check has ended, whatever it found (the about window waits for it).
    void reported();
    void upToDate();
    // A newer version: the dialog is about to show and download it.
    void newerFound();
    // The new program is in place; the program is to end and start it.
    void updateReady();
    // The user went to the manual download page; the program is to end.
    void gaveUp();
    // The user left a failed update: the program goes on.
    void cancelled();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void onChecked(bool newer);
    void onPageReady();
    void showFailure();
    void showManualUpdate(const QString &text);

    ProductSite m_site;
    PageBridge *m_page = nullptr;
    LiveUpdate *m_update;
    bool m_tip = false;
    bool m_installed = false;
    bool m_downloading = false;
    bool m_failed = false;
    bool m_reported = false;
    bool m_leaving = false; // the program ends: for the new version or the download page
    bool m_pageReady = false;
};
