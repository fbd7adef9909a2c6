#pragma once

#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QStringList>

// The site simulator (tools/sitesim) on 127.0.0.1, for the tests of the
// whole program: started on a free port, ended with the test.
class SiteSimulator
{
public:
    ~SiteSimulator();

    // Starts it with extra arguments; false when it did not come up.
    bool start(const QStringList &arguments = {});
    QString base() const { return m_base; }
    // The body of a page or control of the simulator (five seconds at most).
    QByteArray get(const QString &path);
    // How often a page was fetched, by the names of /stats.
    int hits(const QString &name);

private:
    QProcess m_process;
    QString m_base;
    QNetworkAccessManager m_network;
};
