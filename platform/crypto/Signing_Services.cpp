#include "platform/crypto/Signing_Services.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/pkcs12.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <cstdio>
#include <vector>

namespace tessaran {

struct TSigningCertificate::Parts {
    X509 *Certificate = nullptr;
    EVP_PKEY *Key = nullptr;
    ~Parts()
    {
        X509_free(Certificate);
        EVP_PKEY_free(Key);
    }
};

TSigningCertificate::TSigningCertificate() = default;
TSigningCertificate::~TSigningCertificate() = default;
TSigningCertificate::TSigningCertificate(TSigningCertificate &&) noexcept = default;
TSigningCertificate &TSigningCertificate::operator=(TSigningCertificate &&) noexcept = default;

bool TSigningCertificate::Valid() const { return FParts && FParts->Certificate && FParts->Key; }

std::string TSigningCertificate::SubjectName() const
{
    if (!Valid())
        return {};
    X509_NAME *name = X509_get_subject_name(FParts->Certificate);
    for (int nid : {NID_commonName, NID_organizationName, NID_organizationalUnitName, NID_pkcs9_emailAddress}) {
        const int index = X509_NAME_get_index_by_NID(name, nid, -1);
        if (index < 0)
            continue;
        ASN1_STRING *data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index));
        unsigned char *utf8 = nullptr;
        const int length = ASN1_STRING_to_UTF8(&utf8, data);
        if (length < 0)
            continue;
        std::string text(reinterpret_cast<char *>(utf8), static_cast<std::size_t>(length));
        OPENSSL_free(utf8);
        return text;
    }
    return {};
}

TSigningCertificate LoadPFXCertificate(const std::string &fileName, const std::string &password)
{
    TSigningCertificate result;
    std::FILE *file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        return result;
    PKCS12 *p12 = d2i_PKCS12_fp(file, nullptr);
    std::fclose(file);
    if (!p12) {
        ERR_clear_error();
        return result;
    }
    EVP_PKEY *key = nullptr;
    X509 *certificate = nullptr;
    STACK_OF(X509) *others = nullptr;
    const bool parsed = PKCS12_parse(p12, password.c_str(), &key, &certificate, &others) == 1;
    PKCS12_free(p12);
    sk_X509_pop_free(others, X509_free);
    if (parsed && key && certificate && X509_check_private_key(certificate, key) == 1) {
        result.FParts = std::make_unique<TSigningCertificate::Parts>();
        result.FParts->Certificate = certificate;
        result.FParts->Key = key;
    } else {
        X509_free(certificate);
        EVP_PKEY_free(key);
    }
    ERR_clear_error();
    return result;
}

std::string ComputeSHA1(const std::uint8_t *message, std::size_t size)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(message, size, digest, &length, EVP_sha1(), nullptr) != 1 || length != 20) {
        ERR_clear_error();
        return {};
    }
    return std::string(reinterpret_cast<char *>(digest), length);
}

std::string SignMessage(const TSigningCertificate &certificate, const std::uint8_t *message, std::size_t size,
                        bool detached)
{
    if (!certificate.Valid())
        return {};
    std::string result;
    const int flags = PKCS7_BINARY | PKCS7_NOATTR | PKCS7_NOSMIMECAP | PKCS7_PARTIAL | (detached ? PKCS7_DETACHED : 0);
    BIO *content = BIO_new_mem_buf(message, static_cast<int>(size));
    PKCS7 *p7 = content ? PKCS7_sign(nullptr, nullptr, nullptr, nullptr, flags) : nullptr;
    if (p7 && PKCS7_sign_add_signer(p7, certificate.FParts->Certificate, certificate.FParts->Key, EVP_sha1(),
                                    flags) != nullptr &&
        PKCS7_final(p7, content, flags) == 1) {
        const int length = i2d_PKCS7(p7, nullptr);
        if (length > 0) {
            std::vector<unsigned char> der(static_cast<std::size_t>(length));
            unsigned char *out = der.data();
            if (i2d_PKCS7(p7, &out) == length)
                result.assign(reinterpret_cast<char *>(der.data()), der.size());
        }
    }
    PKCS7_free(p7);
    BIO_free(content);
    ERR_clear_error();
    return result;
}

} // namespace tessaran
