#include "update/UpdateSignature.h"

#include "update/UpdateKey.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>

namespace UpdateSignature {

bool verify(const QByteArray &data, const QString &signatureBase64)
{
    return verify(data, signatureBase64, QByteArray(UpdatePublicKeyPem));
}

bool verify(const QByteArray &data, const QString &signatureBase64, const QByteArray &publicKeyPem)
{
    const auto decoded = QByteArray::fromBase64Encoding(signatureBase64.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != 64)
        return false;
    const std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(publicKeyPem.constData(), int(publicKeyPem.size())),
                                                        BIO_free);
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr, EVP_PKEY_free);
    if (!key || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
        return false;
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    // Ed25519 signs the message itself: no digest of our choosing.
    return context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1
        && EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char *>(decoded.decoded.constData()),
                            size_t(decoded.decoded.size()), reinterpret_cast<const unsigned char *>(data.constData()),
                            size_t(data.size()))
        == 1;
}

} // namespace UpdateSignature
