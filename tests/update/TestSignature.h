#pragma once

#include <QByteArray>
#include <QString>

// Signs as the product site signs its updates, with the test key pair
// (tests/update/keys), which the test build takes as the program's own.
namespace TestSignature {

QString sign(const QByteArray &data);
// Signed with another key: a signature the program must refuse.
QString signWithOtherKey(const QByteArray &data);

} // namespace TestSignature
