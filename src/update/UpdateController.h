#pragma once

#include <QObject>
#include <QPointer>

class cls_Config;
class frmLiveUpdate;

// The program's side of updating: one check at a time and its dialog, what
// it found, and whether the downloaded program takes over at exit. The
// windows follow its signals: they step aside while a newer version is
// offered and come back when the user leaves a failed update.
class UpdateController : public QObject
{
    Q_OBJECT

public:
    UpdateController(cls_Config &config, QString programFolder, QObject *parent = nullptr);
    ~UpdateController() override;

    // Checks the product site. `asked`: the user asked (the about window),
    // so a version tried before is offered again and "up to date" is said.
    void check(bool asked);
    // A newer version is being offered: the program keeps out of its way
    // from whichever comes first, its start or the offer.
    bool offering() const { return m_offering; }
    bool runUpdaterOnExit() const { return m_runUpdaterOnExit; }
    // The downloaded program, started once the program has ended.
    QString updaterPath() const;
    frmLiveUpdate *window() const;
    void closeWindow();

Q_SIGNALS:
    // A check the user asked for has its answer (the about window waits).
    void askedCheckAnswered();
    void balloonRequested(const QString &message, const QString &title, int icon);
    void offered();
    // The user left a failed update: the program goes on.
    void declined();
    // The program is to end: the new one is in place, or the user went to the site.
    void exitRequested();

private:
    void watch(frmLiveUpdate *window);

    cls_Config &m_config;
    QString m_programFolder;
    QPointer<frmLiveUpdate> m_window;
    bool m_offering = false;
    bool m_runUpdaterOnExit = false;
};
