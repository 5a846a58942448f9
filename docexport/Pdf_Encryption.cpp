#include "docexport/Pdf_Encryption.h"

#include <algorithm>
#include <utility>

namespace tessaran {

const std::array<std::uint8_t, 32> PDFPasswordPadding = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

void RC4Crypt(const std::uint8_t *key, std::size_t keyLength, std::uint8_t *data, std::size_t size)
{
    if (keyLength < 1 || keyLength > 256)
        throw ERC4Error("RC4: Invalid key length");
    std::array<std::uint8_t, 256> state;
    for (int i = 0; i < 256; ++i)
        state[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % keyLength]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0, y = 0;
    for (std::size_t k = 0; k < size; ++k) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        data[k] ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

MD5Digest TdeBasePDFCrypt::Digest(const TdeByteArray &bytes)
{
    return FMD5Crypt.GetHash(bytes, static_cast<std::uint32_t>(bytes.size()));
}

TdeByteArray TdeBasePDFCrypt::ObjectKey(int objNo, int genNo)
{
    const int n = KeyLength();
    TdeByteArray input(FFileKey.begin(), FFileKey.begin() + n);
    for (int i = 0; i < 3; ++i)
        input.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(objNo) >> (8 * i)));
    for (int i = 0; i < 2; ++i)
        input.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(genNo) >> (8 * i)));
    const MD5Digest digest = Digest(input);
    return TdeByteArray(digest.begin(), digest.begin() + std::min(n + 5, 16));
}

std::array<std::uint8_t, 32> TdePDFEncryption::Pad(const std::string &password)
{
    std::array<std::uint8_t, 32> pad{};
    const std::size_t length = std::min<std::size_t>(password.size(), 32);
    std::copy_n(password.begin(), length, pad.begin());
    std::copy_n(PDFPasswordPadding.begin(), 32 - length, pad.begin() + static_cast<std::ptrdiff_t>(length));
    return pad;
}

TdePDFEncryption::TdePDFEncryption(const std::string &fileName, const std::string &creationTime,
                                   const TdePDFEncryptionSettings &settings)
    : FOwnerPassword(settings.OwnerPassword()), FUserPassword(settings.UserPassword())
{
    FLevel = settings.Level();
    FUserPermissions = settings.UserPermissions();
    const std::string identity = fileName + creationTime;
    const MD5Digest id = Digest(TdeByteArray(identity.begin(), identity.end()));
    FFileID.assign(id.begin(), id.end());
    ComputeKeys();
}

std::int32_t TdePDFEncryption::PermissionValue() const
{
    using P = TdeUserPermissionsType;
    const bool strong = FLevel == TdePDFEncryptionLevel::el128bit;
    std::int32_t value = strong ? -3904 : -64;
    if (FUserPermissions.Contains(P::AllowPrint))
        value |= 4;
    if (FUserPermissions.Contains(P::AllowModify))
        value |= 8;
    if (FUserPermissions.Contains(P::AllowCopy))
        value |= 16;
    if (FUserPermissions.Contains(P::AllowAnnotation))
        value |= 32;
    if (strong) {
        if (FUserPermissions.Contains(P::AllowFormFill))
            value |= 256;
        if (FUserPermissions.Contains(P::AllowAccessibility))
            value |= 512;
        if (FUserPermissions.Contains(P::AllowDocAssembly))
            value |= 1024;
        if (FUserPermissions.Contains(P::AllowHighResPrint) && FUserPermissions.Contains(P::AllowPrint))
            value |= 2048;
    }
    return value;
}

void TdePDFEncryption::ComputeKeys()
{
    const bool strong = FLevel == TdePDFEncryptionLevel::el128bit;
    const int n = KeyLength();
    FOwnerPad = Pad(FOwnerPassword.empty() ? FUserPassword : FOwnerPassword);
    FUserPad = Pad(FUserPassword);

    // Owner key: the padded user password under a key made from the owner password.
    MD5Digest d = Digest(TdeByteArray(FOwnerPad.begin(), FOwnerPad.end()));
    if (strong)
        for (int i = 0; i < 50; ++i)
            d = Digest(TdeByteArray(d.begin(), d.end()));
    FOwnerKey = FUserPad;
    for (int i = 0; i < (strong ? 20 : 1); ++i) {
        std::array<std::uint8_t, 16> key{};
        for (int k = 0; k < n; ++k)
            key[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(d[static_cast<std::size_t>(k)] ^ i);
        RC4Crypt(key.data(), static_cast<std::size_t>(n), FOwnerKey.data(), FOwnerKey.size());
    }

    // Document key.
    TdeByteArray input(FUserPad.begin(), FUserPad.end());
    input.insert(input.end(), FOwnerKey.begin(), FOwnerKey.end());
    const auto p = static_cast<std::uint32_t>(PermissionValue());
    for (int i = 0; i < 4; ++i)
        input.push_back(static_cast<std::uint8_t>(p >> (8 * i)));
    input.insert(input.end(), FFileID.begin(), FFileID.end());
    MD5Digest h = Digest(input);
    if (strong)
        for (int i = 0; i < 50; ++i)
            h = Digest(TdeByteArray(h.begin(), h.begin() + n));
    FFileKey = {};
    std::copy_n(h.begin(), n, FFileKey.begin());

    // User key.
    FUserKey = {};
    if (!strong) {
        std::copy(PDFPasswordPadding.begin(), PDFPasswordPadding.end(), FUserKey.begin());
        RC4Crypt(FFileKey.data(), static_cast<std::size_t>(n), FUserKey.data(), FUserKey.size());
        return;
    }
    TdeByteArray seed(PDFPasswordPadding.begin(), PDFPasswordPadding.end());
    seed.insert(seed.end(), FFileID.begin(), FFileID.end());
    const MD5Digest u = Digest(seed);
    std::copy(u.begin(), u.end(), FUserKey.begin());
    for (int i = 0; i < 20; ++i) {
        std::array<std::uint8_t, 16> key{};
        for (int k = 0; k < n; ++k)
            key[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(FFileKey[static_cast<std::size_t>(k)] ^ i);
        RC4Crypt(key.data(), static_cast<std::size_t>(n), FUserKey.data(), 16);
    }
}

void TdePDFEncryption::EncryptBuffer(const void *source, void *dest, std::size_t size, int objNo, int genNo)
{
    if (size == 0)
        return;
    if (source != dest)
        std::copy_n(static_cast<const std::uint8_t *>(source), size, static_cast<std::uint8_t *>(dest));
    const TdeByteArray key = ObjectKey(objNo, genNo);
    RC4Crypt(key.data(), key.size(), static_cast<std::uint8_t *>(dest), size);
}

void TdePDFEncryption::EncryptStream(TMemoryStream &stream, std::int64_t dataSize, int objNo, int genNo)
{
    std::vector<std::uint8_t> bytes = stream.Bytes();
    const auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(dataSize, 0, stream.Size()));
    EncryptBuffer(bytes.data(), bytes.data(), size, objNo, genNo);
    stream = TMemoryStream(std::move(bytes));
}

std::string TdePDFEncryption::EncryptString(const std::string &text, int objNo, int genNo)
{
    std::string result = text;
    EncryptBuffer(result.data(), result.data(), result.size(), objNo, genNo);
    return result;
}

} // namespace tessaran
