#pragma once
// Signing a PDF document: the settings of the signature and of its field,
// and the certificate and signing wrapper the writer uses. The writer puts
// a signature dictionary with room for the signed message on the field's
// page and fills it in once the whole file is written.

#include "docexport/Doc_Types.h"
#include "platform/Graphics.h"
#include "platform/crypto/Signing_Services.h"

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>

namespace tessaran {

enum class TdeSigFieldAppearenceOption : std::uint8_t {
    sfaoShowName,
    sfaoShowReason,
    sfaoShowLocation,
    sfaoShowDate,
    sfaoShowLabels
};

class TdeSigFieldAppearenceOptions {
public:
    static TdeSigFieldAppearenceOptions All()
    {
        TdeSigFieldAppearenceOptions options;
        options.FBits = 0x1F;
        return options;
    }
    bool Contains(TdeSigFieldAppearenceOption o) const { return (FBits & Bit(o)) != 0; }
    void Include(TdeSigFieldAppearenceOption o) { FBits |= Bit(o); }
    void Exclude(TdeSigFieldAppearenceOption o) { FBits &= static_cast<std::uint8_t>(~Bit(o)); }
    friend bool operator==(const TdeSigFieldAppearenceOptions &, const TdeSigFieldAppearenceOptions &) = default;

private:
    static std::uint8_t Bit(TdeSigFieldAppearenceOption o) { return static_cast<std::uint8_t>(1u << int(o)); }
    std::uint8_t FBits = 0;
};

enum class TdeSigCertLevel : std::uint8_t { clNoChange, clFillFormFields, clInsertAnnots };

// The field rectangle in the engine's measurement unit.
struct TdeSigFieldBounds {
    double FLLeft = 0;
    double FLTop = 0;
    double FLRight = 0;
    double FLBotom = 0;
    friend bool operator==(const TdeSigFieldBounds &, const TdeSigFieldBounds &) = default;
};

class TdeFieldProperties {
public:
    bool Visible = true;
    // UTF-8; an empty name writes "Signature".
    std::string FieldName;
    TdeSigFieldBounds FieldBounds;
    TColor FillColor = 0xFFFFFF;
    int PageNumber = 1;
    TdeSigFieldAppearenceOptions FieldAppearenceOptions = TdeSigFieldAppearenceOptions::All();
    TFont Font;
};

class TdeSignature {
public:
    TdeSignature() : DateTime(std::time(nullptr)) {}
    // The PKCS #12 file and its password.
    std::string CertFileName;
    std::string CertPassword;
    // UTF-8 texts; empty ones are left out.
    std::string Author;
    std::string Reason;
    std::string Location;
    std::string ContactInfo;
    // Local time; 0 for none. A time at midnight takes the current time of day.
    std::time_t DateTime;
    TdeSigFieldAppearenceOptions SigFieldAppearenceOptions = TdeSigFieldAppearenceOptions::All();

    std::string FFilter = "Adobe.PPKLite";
    std::string FSubFilter = "adbe.pkcs7.sha1";
    TdeSigCertLevel FCirtificationLevel = TdeSigCertLevel::clFillFormFields;
    // The byte range of the last signing: 0, L1, S2, L2.
    std::int64_t FOffset1 = 0, FOffset2 = 0, FOffset3 = 0, FOffset4 = 0;
};

class TdeDigitalSignature {
public:
    bool Enabled = false;
    TdeFieldProperties FieldProperties;
    TdeSignature SignatureProperties;
};

// The certificate and signing calls the writer and the setup dialog use.
class TdePKCS7 {
public:
    // The certificate of the file that has its private key; invalid when
    // the file cannot be read, is not PKCS #12, the password is wrong or
    // no key is there.
    static TSigningCertificate GetPFXCertWithPvtKey(const std::string &pfxFileName, const std::string &password)
    {
        return LoadPFXCertificate(pfxFileName, password);
    }
    static std::string ComputeHash(const std::uint8_t *message, std::size_t size) { return ComputeSHA1(message, size); }
    static std::string SignMessage(const TSigningCertificate &certificate, const std::uint8_t *message,
                                   std::size_t size, bool isDetached)
    {
        return tessaran::SignMessage(certificate, message, size, isDetached);
    }
    static std::string GetCertificateName(const TSigningCertificate &certificate)
    {
        return certificate.SubjectName();
    }
};

// The certificate of a signed document cannot be used: the file is not
// written rather than claim a signature it does not carry.
class ESignatureCertificate : public std::runtime_error {
public:
    ESignatureCertificate()
        : std::runtime_error("The document cannot be signed: the certificate file cannot be read, its password is "
                             "wrong or it holds no private key")
    {
    }
};
class ESignatureFailed : public std::runtime_error {
public:
    ESignatureFailed() : std::runtime_error("The document could not be signed") {}
};

// "D:yyyy/mm/dd" and " T:hh:nn:ss" when the hour is not 0, as the field shows it.
std::string SignatureDisplayDate(std::time_t dateTime, std::time_t now);
// "D:yyyymmddhhnnss", as the signature dictionary records it.
std::string SignatureDate(std::time_t dateTime, std::time_t now);

} // namespace tessaran
