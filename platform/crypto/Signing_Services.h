#pragma once
// Certificates with their private keys from PKCS #12 files, SHA-1 digests
// and PKCS #7 signed messages: the little of a cryptography service that
// signing a document needs. Every call answers failure with an empty result
// and raises nothing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tessaran {

// A certificate together with its private key; empty when none was found.
class TSigningCertificate {
public:
    TSigningCertificate();
    ~TSigningCertificate();
    TSigningCertificate(TSigningCertificate &&) noexcept;
    TSigningCertificate &operator=(TSigningCertificate &&) noexcept;

    bool Valid() const;
    // The name people know the holder by: the common name, else the
    // organisation, the unit or the e-mail address; empty when invalid.
    std::string SubjectName() const;

private:
    friend TSigningCertificate LoadPFXCertificate(const std::string &fileName, const std::string &password);
    friend std::string SignMessage(const TSigningCertificate &certificate, const std::uint8_t *message,
                                   std::size_t size, bool detached);
    struct Parts;
    std::unique_ptr<Parts> FParts;
};

// The certificate of a PKCS #12 file that comes with its private key. The
// password is UTF-8. Empty for a missing or unreadable file, a file that is
// not PKCS #12, a wrong password or a file without a key.
TSigningCertificate LoadPFXCertificate(const std::string &fileName, const std::string &password);

// The 20 bytes of the SHA-1 digest, empty on failure.
std::string ComputeSHA1(const std::uint8_t *message, std::size_t size);

// A DER PKCS #7 signed-data message over the bytes, made with SHA-1 and
// RSA, carrying the signing certificate and no attributes; the bytes are
// its content unless detached. Empty on failure.
std::string SignMessage(const TSigningCertificate &certificate, const std::uint8_t *message, std::size_t size,
                        bool detached);

} // namespace tessaran
