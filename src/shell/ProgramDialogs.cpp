#include "shell/ProgramDialogs.h"

#include "core/AppGlobals.h"
#include "core/ConfigPaths.h"
#include "core/ProductSite.h"
#include "settings/frmSettings.h"
#include "update/UpdateController.h"
#include "update/frmAbout.h"

#include <QApplication>

ProgramDialogs::ProgramDialogs(UpdateController &updates, QObject *parent)
    : QObject(parent)
    , m_updates(updates)
{
    connect(&m_updates, &UpdateController::askedCheckAnswered, this, [this] {
        if (m_about)
            m_about->ChkLiveUpdateOk();
    });
}

ProgramDialogs::~ProgramDialogs()
{
    closeAll();
}

frmSettings *ProgramDialogs::settings() const
{
    return m_settings;
}

frmAbout *ProgramDialogs::about() const
{
    return m_about;
}

void ProgramDialogs::openSettings(QWidget *owner)
{
    if (!m_settings) {
        m_settings = new frmSettings(Globals().AppPath, QApplication::applicationFilePath(), Globals().Config.messageSink(),
                                     owner);
        connect(m_settings, &frmSettings::applied, this, [] { Globals().Config.tellChanged(ConfigPaths::Settings); });
    }
    m_settings->show();
    m_settings->raise();
    m_settings->activateWindow();
}

void ProgramDialogs::openAbout(QWidget *owner)
{
    if (!m_about) {
        m_about = new frmAbout(ProductSite(Globals().Config).homePage(), owner);
        connect(m_about, &frmAbout::updateRequested, this, [this] { m_updates.check(true); });
    }
    m_about->show();
    m_about->raise();
}

void ProgramDialogs::closeAll()
{
    delete m_settings;
    delete m_about;
}
