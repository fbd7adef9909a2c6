#include "update/UpdateController.h"

#include "core/ProductSite.h"
#include "core/ProgramData.h"
#include "core/gui/Desktop.h"
#include "update/UpdatePayload.h"
#include "update/frmLiveUpdate.h"

#include <QCoreApplication>

UpdateController::UpdateController(cls_Config &config, QString programFolder, QObject *parent)
    : QObject(parent)
    , m_config(config)
    , m_programFolder(std::move(programFolder))
{
}

UpdateController::~UpdateController()
{
    closeWindow();
}

QString UpdateController::updaterPath() const
{
    return m_programFolder + UpdatePayload::fileName();
}

frmLiveUpdate *UpdateController::window() const
{
    return m_window;
}

void UpdateController::closeWindow()
{
    delete m_window;
}

void UpdateController::check(bool asked)
{
    if (m_window) {
        // A check under way answers the request too; one that has answered, at once.
        m_window->setTip(m_window->Tip() || asked);
        if (asked && m_window->hasReported())
            Q_EMIT askedCheckAnswered();
        return;
    }
    m_window = new frmLiveUpdate(ProductSite(m_config), m_programFolder);
    m_window->rememberTriedIn(m_config);
    m_window->setTip(asked);
    m_window->setInstalled(ProgramData::installed(QCoreApplication::applicationDirPath()));
    watch(m_window);
}

void UpdateController::watch(frmLiveUpdate *window)
{
    connect(window, &frmLiveUpdate::reported, this, [this, window] {
        if (window->Tip())
            Q_EMIT askedCheckAnswered();
    });
    connect(window, &frmLiveUpdate::upToDate, this, [this] {
        Q_EMIT balloonRequested(QStringLiteral("您正在使用的 Tessaly 已经是最新版本！"), QStringLiteral("软件更新"), 1);
    });
    connect(window, &frmLiveUpdate::newerFound, this, [this] {
        Desktop::PlaySystemSound(QStringLiteral("SystemAsterisk"));
        m_offering = true;
        Q_EMIT offered();
    });
    connect(window, &frmLiveUpdate::updateReady, this, [this] {
        m_runUpdaterOnExit = true;
        Q_EMIT exitRequested();
    });
    connect(window, &frmLiveUpdate::gaveUp, this, &UpdateController::exitRequested);
    connect(window, &frmLiveUpdate::cancelled, this, [this] {
        m_offering = false;
        Q_EMIT declined();
    });
}
