#pragma once

#include <QByteArray>
#include <QString>

// The Ed25519 signature a new program carries in the update descriptor
// (base64), checked with OpenSSL against a public key.
namespace UpdateSignature {

// Against the key built into the program.
bool verify(const QByteArray &data, const QString &signatureBase64);
bool verify(const QByteArray &data, const QString &signatureBase64, const QByteArray &publicKeyPem);

} // namespace UpdateSignature
