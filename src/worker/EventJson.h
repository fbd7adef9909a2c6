#pragma once

#include "worker/ParseEvent.h"

#include <QByteArray>

// The one-line JSON form in which the command-line tools print worker events.
namespace EventJson {

QByteArray line(qint32 sourceId, const ParseEvent &event);
QByteArray timeoutLine(qint32 sourceId);

} // namespace EventJson
