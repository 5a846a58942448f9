// The signing layer: certificates from PKCS #12 files made by openssl for
// the test, the SHA-1 digest and the signed message, checked by openssl.

#include "platform/crypto/Signing_Services.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaran {
namespace {

namespace fs = std::filesystem;

int Shell(const std::string &command, std::string *output = nullptr)
{
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    const int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SigningServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Shell("command -v openssl >/dev/null") != 0)
            GTEST_SKIP() << "openssl is not installed";
        folder = fs::temp_directory_path() / ("tessaran_signing_" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        if (!folder.empty())
            fs::remove_all(folder);
    }
    // A key and self-signed certificate in a PFX; without the key when asked.
    std::string MakePfx(const std::string &name, const std::string &subject, const std::string &password,
                        bool withKey = true)
    {
        const std::string key = (folder / (name + ".key")).string(), cert = (folder / (name + ".crt")).string(),
                          pfx = (folder / (name + ".pfx")).string();
        std::string output;
        EXPECT_EQ(Shell("openssl req -utf8 -x509 -newkey rsa:2048 -nodes -keyout '" + key + "' -out '" + cert +
                          "' -days 2 -subj '" + subject + "'",
                      &output),
                  0)
            << output;
        EXPECT_EQ(Shell("openssl pkcs12 -export " + (withKey ? "-inkey '" + key + "'" : std::string("-nokeys")) +
                          " -in '" + cert + "' -out '" + pfx + "' -passout 'pass:" + password + "'",
                      &output),
                  0)
            << output;
        return pfx;
    }
    fs::path folder;
};

TEST_F(SigningServices, CertificateAndSubjectName)
{
    struct Case {
        const char *subject;
        const char *name;
    };
    const Case cases[] = {
        {"/O=Pipe Works/CN=J\xC3\xB6rg Engineer", "J\xC3\xB6rg Engineer"},
        {"/O=Pipe Works/OU=Hydraulics", "Pipe Works"},
    };
    int i = 0;
    for (const Case &c : cases) {
        const std::string pfx = MakePfx("c" + std::to_string(i++), c.subject, "pässword");
        const TSigningCertificate certificate = LoadPFXCertificate(pfx, "pässword");
        ASSERT_TRUE(certificate.Valid()) << c.subject;
        EXPECT_EQ(certificate.SubjectName(), c.name);
    }
}

TEST_F(SigningServices, UnusableFilesGiveNoCertificate)
{
    const std::string good = MakePfx("good", "/CN=Signer", "right");
    const std::string keyless = MakePfx("keyless", "/CN=Signer", "right", false);
    const std::string garbage = (folder / "garbage.pfx").string();
    std::ofstream(garbage) << "not PKCS 12";
    const std::pair<std::string, std::string> cases[] = {
        {good, "wrong"}, {keyless, "right"}, {garbage, "right"}, {(folder / "missing.pfx").string(), "right"}};
    for (const auto &[file, password] : cases) {
        const TSigningCertificate certificate = LoadPFXCertificate(file, password);
        EXPECT_FALSE(certificate.Valid()) << file << " " << password;
        EXPECT_EQ(certificate.SubjectName(), "");
        const std::uint8_t data[3] = {1, 2, 3};
        EXPECT_EQ(SignMessage(certificate, data, 3, false), "");
    }
}

TEST_F(SigningServices, SignedMessageCarriesTheDigestAndVerifies)
{
    const std::string text = "abc";
    const std::string digest = ComputeSHA1(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
    EXPECT_EQ(digest, std::string("\xA9\x99\x3E\x36\x47\x06\x81\x6A\xBA\x3E\x25\x71\x78\x50\xC2\x6C\x9C\xD0\xD8\x9D", 20));

    const TSigningCertificate certificate = LoadPFXCertificate(MakePfx("signer", "/CN=Signer", "pw"), "pw");
    ASSERT_TRUE(certificate.Valid());
    const std::string message =
        SignMessage(certificate, reinterpret_cast<const std::uint8_t *>(digest.data()), digest.size(), false);
    ASSERT_FALSE(message.empty());
    const std::string der = (folder / "message.der").string(), content = (folder / "content.bin").string();
    std::ofstream(der, std::ios::binary) << message;
    std::string output;
    ASSERT_EQ(Shell("openssl cms -verify -noverify -inform DER -in '" + der + "' -out '" + content + "'", &output), 0)
        << output;
    EXPECT_EQ(ReadAll(content), digest);
    // SHA-1, the signer's certificate inside, no signed attributes.
    Shell("openssl cms -cmsout -print -inform DER -in '" + der + "'", &output);
    EXPECT_NE(output.find("sha1"), std::string::npos) << output;
    EXPECT_NE(output.find("CN=Signer"), std::string::npos) << output;
    EXPECT_NE(output.find("  signedAttrs:\n          <ABSENT>"), std::string::npos) << output;
}

} // namespace
} // namespace tessaran
