#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the user's browser: collects the addresses handed to it, once
// installed as the handler of their schemes.
class BrowserStandIn : public QObject
{
    Q_OBJECT

public:
    explicit BrowserStandIn(const QStringList &schemes = {QStringLiteral("http"), QStringLiteral("https")});
    ~BrowserStandIn() override;

    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }

private:
    QStringList m_schemes;
};
