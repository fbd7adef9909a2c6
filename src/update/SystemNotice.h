#pragma once

#include <QByteArray>
#include <QString>

// The product site's "Tip.xml": the trimmed text of "SysTip" under the
// document element; empty when there is none or the document is not well formed.
class SystemNotice
{
public:
    static QString text(const QByteArray &xml);
};
