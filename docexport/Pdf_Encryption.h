#pragma once
// The standard security handler of PDF 1.4: RC4 encryption of every string
// and stream of a document with a key derived from the user password, the
// owner password and the permissions. Two strengths: 40-bit keys (handler
// revision 2) and 128-bit keys (revision 3).

#include "docexport/Document_Engine.h"
#include "docexport/MD5.h"
#include "platform/Stream.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

enum class TdePDFEncryptionLevel : std::uint8_t { el40bit, el128bit };

enum class TdeUserPermissionsType : std::uint8_t {
    AllowCopy,
    AllowModify,
    AllowPrint,
    AllowAnnotation,
    AllowFormFill,
    AllowAccessibility,
    AllowDocAssembly,
    AllowHighResPrint
};
using TdeUserPermissions = TdeSet<TdeUserPermissionsType, std::uint8_t>;

inline TdeUserPermissions AllUserPermissions()
{
    using P = TdeUserPermissionsType;
    return {P::AllowCopy,     P::AllowModify,        P::AllowPrint,       P::AllowAnnotation,
            P::AllowFormFill, P::AllowAccessibility, P::AllowDocAssembly, P::AllowHighResPrint};
}

// The engine's published encryption settings, read when a document begins.
// Passwords are single-byte text in code page 1252, used as their bytes.
class TdePDFEncryptionSettings {
public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TdePDFEncryptionLevel Level() const { return FLevel; }
    void SetLevel(TdePDFEncryptionLevel value) { FLevel = value; }
    const std::string &OwnerPassword() const { return FOwnerPassword; }
    void SetOwnerPassword(const std::string &value) { FOwnerPassword = value; }
    const std::string &UserPassword() const { return FUserPassword; }
    void SetUserPassword(const std::string &value) { FUserPassword = value; }
    TdeUserPermissions UserPermissions() const { return FUserPermissions; }
    void SetUserPermissions(TdeUserPermissions value) { FUserPermissions = value; }
    bool IsOwner() const { return FIsOwner; }

    void Assign(const TdePDFEncryptionSettings &source) { *this = source; }

private:
    bool FEnabled = false;
    TdePDFEncryptionLevel FLevel = TdePDFEncryptionLevel::el128bit;
    std::string FOwnerPassword;
    std::string FUserPassword;
    TdeUserPermissions FUserPermissions = AllUserPermissions();
    bool FIsOwner = true;
};

class ERC4Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using TdeByteArray = std::vector<std::uint8_t>;

// RC4 of size bytes in place, from a fresh key schedule. Keys of 1 to 256
// bytes; any other length raises ERC4Error "RC4: Invalid key length".
void RC4Crypt(const std::uint8_t *key, std::size_t keyLength, std::uint8_t *data, std::size_t size);

// The 32 bytes that pad every password.
extern const std::array<std::uint8_t, 32> PDFPasswordPadding;

// The security handler's state: file identifier, the /O and /U values, the
// document key and the permissions.
class TdeBasePDFCrypt {
public:
    virtual ~TdeBasePDFCrypt() = default;

    TdePDFEncryptionLevel Level() const { return FLevel; }
    void SetLevel(TdePDFEncryptionLevel value) { FLevel = value; }
    // As byte strings of 16, 32 and 32 bytes.
    std::string FileID() const { return std::string(FFileID.begin(), FFileID.end()); }
    std::string OwnerKey() const { return std::string(FOwnerKey.begin(), FOwnerKey.end()); }
    std::string UserKey() const { return std::string(FUserKey.begin(), FUserKey.end()); }
    TdeUserPermissions UserPermissions() const { return FUserPermissions; }
    // Bytes of the document key: 5 for 40-bit, 16 for 128-bit.
    int KeyLength() const { return FLevel == TdePDFEncryptionLevel::el40bit ? 5 : 16; }
    // The key of one object: 10 bytes for 40-bit, 16 for 128-bit.
    TdeByteArray ObjectKey(int objNo, int genNo);

protected:
    MD5Digest Digest(const TdeByteArray &bytes);

    TdePDFEncryptionLevel FLevel = TdePDFEncryptionLevel::el128bit;
    TdeByteArray FFileID;
    std::array<std::uint8_t, 32> FOwnerKey{};
    std::array<std::uint8_t, 32> FUserKey{};
    std::array<std::uint8_t, 16> FFileKey{};
    TdeUserPermissions FUserPermissions = AllUserPermissions();
    TdeMD5 FMD5Crypt;
};

class TdePDFEncryption : public TdeBasePDFCrypt {
public:
    // fileName is the output's name and extension joined without a dot;
    // creationTime the document's "D:" date text.
    TdePDFEncryption(const std::string &fileName, const std::string &creationTime,
                     const TdePDFEncryptionSettings &settings);

    // The signed /P value.
    std::int32_t PermissionValue() const;

    void EncryptBuffer(const void *source, void *dest, std::size_t size, int objNo, int genNo);
    // The stream's first dataSize bytes (at most its size) encrypted in place.
    void EncryptStream(TMemoryStream &stream, std::int64_t dataSize, int objNo, int genNo);
    std::string EncryptString(const std::string &text, int objNo, int genNo);

    // A password's first 32 bytes followed by as much of the padding as fills 32.
    static std::array<std::uint8_t, 32> Pad(const std::string &password);

private:
    void ComputeKeys();

    std::string FOwnerPassword;
    std::string FUserPassword;
    std::array<std::uint8_t, 32> FOwnerPad{};
    std::array<std::uint8_t, 32> FUserPad{};
};

} // namespace tessaran
