#include "TestSignature.h"

#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>

namespace TestSignature {

namespace {

QString signWith(EVP_PKEY *key, const QByteArray &data)
{
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    unsigned char signature[64];
    size_t length = sizeof signature;
    if (!key || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key) != 1
        || EVP_DigestSign(context.get(), signature, &length, reinterpret_cast<const unsigned char *>(data.constData()),
                          size_t(data.size()))
            != 1)
        qFatal("cannot sign with the test key");
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(signature), qsizetype(length)).toBase64());
}

} // namespace

QString sign(const QByteArray &data)
{
    QFile file(QStringLiteral(TESSALY_SOURCE_DIR "/tests/update/keys/test-ed25519.pem"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the test key is missing");
    const QByteArray pem = file.readAll();
    const std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.constData(), int(pem.size())), BIO_free);
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr),
                                                                  EVP_PKEY_free);
    return signWith(key.get(), data);
}

QString signWithOtherKey(const QByteArray &data)
{
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"),
                                                                  EVP_PKEY_free);
    return signWith(key.get(), data);
}

} // namespace TestSignature
