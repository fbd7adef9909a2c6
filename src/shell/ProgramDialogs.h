#pragma once

#include <QObject>
#include <QPointer>

class frmAbout;
class frmSettings;
class QWidget;
class UpdateController;

// The settings dialog and the about window: one of each, over the main
// window, opened again where they are. The about window's update check goes
// to the program's update controller, and its answer comes back to it.
class ProgramDialogs : public QObject
{
    Q_OBJECT

public:
    explicit ProgramDialogs(UpdateController &updates, QObject *parent = nullptr);
    ~ProgramDialogs() override;

    void openSettings(QWidget *owner);
    void openAbout(QWidget *owner);
    frmSettings *settings() const;
    frmAbout *about() const;
    void closeAll();

private:
    UpdateController &m_updates;
    QPointer<frmSettings> m_settings;
    QPointer<frmAbout> m_about;
};
