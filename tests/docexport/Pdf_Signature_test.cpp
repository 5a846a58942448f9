// Signed documents: a certificate and key made by openssl for the test, the
// file checked by independent tools (skipped when they are missing), plain
// and encrypted; a certificate that cannot be used signs nothing.

#include "docexport/Pdf_Ex_Engine.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

const char *const SignerName = "Tessaran Test Signer";
const char *const PfxPassword = "s3cret pass";

class PdfSignature : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasTool("openssl"))
            GTEST_SKIP() << "openssl is not installed";
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfsig_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
        pfx = (folder / "signer.pfx").string();
        const std::string key = (folder / "key.pem").string(), cert = (folder / "cert.pem").string();
        std::string output;
        ASSERT_EQ(RunCommand("openssl req -x509 -newkey rsa:2048 -nodes -keyout '" + key + "' -out '" + cert +
                                 "' -days 2 -subj '/CN=" + SignerName + "/O=Tessaran Tests'",
                             &output),
                  0)
            << output;
        ASSERT_EQ(RunCommand("openssl pkcs12 -export -inkey '" + key + "' -in '" + cert + "' -out '" + pfx +
                                 "' -passout 'pass:" + PfxPassword + "'",
                             &output),
                  0)
            << output;
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        TdeDigitalSignature &signature = engine.DigitalSignature();
        signature.Enabled = true;
        signature.FieldProperties.FieldBounds = TdeSigFieldBounds{20, 30, 260, 110};
        signature.FieldProperties.PageNumber = 1;
        signature.SignatureProperties.CertFileName = pfx;
        signature.SignatureProperties.CertPassword = PfxPassword;
        signature.SignatureProperties.Author = "A. (Engineer)";
        signature.SignatureProperties.Reason = "Checked \\ approved (rev 2)";
        signature.SignatureProperties.Location = "Zürich";
    }
    void TearDown() override
    {
        if (!folder.empty() && !std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }
    std::string Write(const std::string &name, int pages = 1, bool withField = false)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                engine.NewPage();
            engine.TextOut(40, 200, u"Pipe network report");
            if (withField && page == 1) {
                auto field = std::make_unique<TdePDFFormTextField>();
                field->FFieldName = "Checked by";
                field->FValue = "J. Doe";
                field->FRect = TdeRect{20, 300, 220, 330};
                engine.AddFormItem(std::move(field));
            }
        }
        engine.EndDoc();
        return (folder / (name + ".pdf")).string();
    }

    TdePDFEngine engine;
    fs::path folder;
    std::string pfx;
};

struct ByteRange {
    std::int64_t a = -1, b = -1, c = -1, d = -1;
};

ByteRange ReadByteRange(const std::string &pdf)
{
    std::smatch m;
    ByteRange range;
    if (std::regex_search(pdf, m, std::regex(R"(/ByteRange \[(\d+) (\d+) (\d+) (\d+)\])")))
        range = ByteRange{std::stoll(m[1]), std::stoll(m[2]), std::stoll(m[3]), std::stoll(m[4])};
    return range;
}

// The signed message and digest checks that need only openssl: the message
// verifies, and its content is the SHA-1 of the two ranges cut from the file.
void ExpectSignedRanges(const std::string &path, const fs::path &folder)
{
    const std::string pdf = ReadFileText(path);
    const ByteRange r = ReadByteRange(pdf);
    ASSERT_EQ(r.a, 0);
    EXPECT_EQ(r.c + r.d, static_cast<std::int64_t>(pdf.size())) << "the second range ends at the end of the file";
    ASSERT_GT(r.b, 0);
    ASSERT_EQ(pdf[static_cast<std::size_t>(r.b)], '<');
    ASSERT_EQ(pdf[static_cast<std::size_t>(r.c - 1)], '>');
    std::string hex = pdf.substr(static_cast<std::size_t>(r.b + 1), static_cast<std::size_t>(r.c - r.b - 2));
    ASSERT_FALSE(hex.find_first_not_of('0') == std::string::npos) << "the message is all zeros";
    // Trailing zeros only fill the reserve: DER says how long the message is.
    std::string der;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        der += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    const std::string derPath = (folder / "contents.der").string(), content = (folder / "content.bin").string(),
                      ranges = (folder / "ranges.bin").string();
    std::ofstream(derPath, std::ios::binary) << der;
    std::ofstream(ranges, std::ios::binary)
        << pdf.substr(0, static_cast<std::size_t>(r.b)) << pdf.substr(static_cast<std::size_t>(r.c));
    std::string output;
    ASSERT_EQ(RunCommand("openssl cms -verify -noverify -inform DER -in '" + derPath + "' -out '" + content + "'",
                         &output),
              0)
        << output;
    std::string digest;
    ASSERT_EQ(RunCommand("openssl dgst -sha1 -binary '" + ranges + "'", &digest), 0);
    EXPECT_EQ(ReadFileText(content), digest);
}

TEST_F(PdfSignature, SignedFilePlainAndEncryptedIsVerifiedByIndependentTools)
{
    for (const bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted ? "128-bit encrypted" : "plain");
        engine.Encryption().SetEnabled(encrypted);
        engine.Encryption().SetLevel(TdePDFEncryptionLevel::el128bit);
        engine.Encryption().SetUserPassword("");
        engine.Encryption().SetOwnerPassword("owner");
        // A form field beside the signature: one AcroForm lists both.
        const std::string path = Write(encrypted ? "encrypted" : "plain", 2, true);
        ExpectSignedRanges(path, folder);
        const std::string pdf = ReadFileText(path);
        EXPECT_NE(pdf.find("/FT /Sig"), std::string::npos);
        EXPECT_NE(pdf.find("/SubFilter /adbe.pkcs7.sha1"), std::string::npos);
        EXPECT_EQ(pdf.find("/AcroForm"), pdf.rfind("/AcroForm"));
        const std::int64_t size = static_cast<std::int64_t>(pdf.size());
        EXPECT_EQ(engine.DigitalSignature().SignatureProperties.FOffset3 +
                      engine.DigitalSignature().SignatureProperties.FOffset4,
                  size);

        std::string output;
        if (HasTool("qpdf")) {
            EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &output), 0) << output;
            const std::string json = [&] {
                std::string text;
                RunCommand("qpdf --json --json-key=acroform '" + path + "'", &text);
                return text;
            }();
            EXPECT_NE(json.find("\"fullname\": \"Signature\""), std::string::npos) << json;
            EXPECT_NE(json.find("\"fieldtype\": \"/Sig\""), std::string::npos) << json;
            EXPECT_NE(json.find("\"fullname\": \"Checked by\""), std::string::npos) << json;
        }
        if (HasTool("pdfsig")) {
            RunCommand("pdfsig '" + path + "'", &output);
            EXPECT_NE(output.find(std::string("Signer Certificate Common Name: ") + SignerName), std::string::npos)
                << output;
            EXPECT_NE(output.find("Signature Type: adbe.pkcs7.sha1"), std::string::npos) << output;
            EXPECT_NE(output.find("[0 - " + std::to_string(ReadByteRange(pdf).b) + "]"), std::string::npos)
                << output;
            EXPECT_NE(output.find("Total document signed"), std::string::npos) << output;
            // The machine's policy may refuse SHA-1; every other answer is a fault.
            const bool valid = output.find("Signature Validation: Signature is Valid.") != std::string::npos;
            const bool refused = output.find("Signature Validation: Digest Mismatch.") == std::string::npos &&
                                 output.find("Signature Validation: Signature is Invalid.") == std::string::npos;
            EXPECT_TRUE(valid || refused) << output;
        }
    }
}

TEST_F(PdfSignature, FieldVisibilityNameAndPlacement)
{
    // Visible: an appearance; the rectangle in points where it was asked,
    // from the content band's corner (pixels are not scaled again).
    std::string pdf = ReadFileText(Write("visible"));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex(R"(/Rect \[ ([\d.]+) ([\d.]+) ([\d.]+) ([\d.]+) \] /BS)")));
    const double width = std::stod(m[3]) - std::stod(m[1]);
    EXPECT_NEAR(width, 240 * 0.75, 0.01);
    EXPECT_NE(pdf.find(" /AP <</N "), std::string::npos);
    EXPECT_NE(pdf.find("Digitally signed by: A. \\(Engineer\\)"), std::string::npos) << "escaped in the appearance";

    engine.DigitalSignature().FieldProperties.Visible = false;
    engine.DigitalSignature().FieldProperties.FieldName = "Approval";
    pdf = ReadFileText(Write("invisible"));
    EXPECT_EQ(pdf.find(" /AP <</N "), std::string::npos);
    EXPECT_NE(pdf.find("/Rect [ 0 0 0 0 ]"), std::string::npos);
    ExpectSignedRanges((folder / "invisible.pdf").string(), folder);
    if (HasTool("qpdf")) {
        std::string json;
        RunCommand("qpdf --json --json-key=acroform '" + (folder / "invisible.pdf").string() + "'", &json);
        EXPECT_NE(json.find("\"fullname\": \"Approval\""), std::string::npos) << json;
    }
}

TEST_F(PdfSignature, MessageLargerThanTheUsualReserveStillFits)
{
    // A certificate of some 3000 bytes makes a message beyond 1500 bytes:
    // the room is sized by a trial signature instead of overwriting the file.
    std::string names = "subjectAltName=";
    for (int i = 0; i < 60; ++i)
        names += std::string(i ? "," : "") + "DNS:pump-station-" + std::to_string(i) + ".network.example.org";
    const std::string key = (folder / "big.key").string(), cert = (folder / "big.crt").string(),
                      big = (folder / "big.pfx").string();
    std::string output;
    ASSERT_EQ(RunCommand("openssl req -x509 -newkey rsa:2048 -nodes -keyout '" + key + "' -out '" + cert +
                             "' -days 2 -subj '/CN=Big' -addext '" + names + "'",
                         &output),
              0)
        << output;
    ASSERT_EQ(RunCommand("openssl pkcs12 -export -inkey '" + key + "' -in '" + cert + "' -out '" + big +
                             "' -passout pass:pw",
                         &output),
              0)
        << output;
    engine.DigitalSignature().SignatureProperties.CertFileName = big;
    engine.DigitalSignature().SignatureProperties.CertPassword = "pw";
    const std::string path = Write("big");
    const ByteRange r = ReadByteRange(ReadFileText(path));
    EXPECT_GT(r.c - r.b - 2, 3000) << "reserve grown past 3000 digits";
    ExpectSignedRanges(path, folder);
    if (HasTool("qpdf"))
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &output), 0) << output;
}

TEST_F(PdfSignature, UnusableCertificateSignsNothing)
{
    struct Case {
        const char *what;
        std::string file;
        std::string password;
    };
    const std::string notPfx = (folder / "not.pfx").string();
    std::ofstream(notPfx) << "not a certificate";
    const Case cases[] = {
        {"wrong password", pfx, "wrong"},
        {"missing file", (folder / "missing.pfx").string(), PfxPassword},
        {"not a PFX", notPfx, PfxPassword},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        engine.DigitalSignature().SignatureProperties.CertFileName = c.file;
        engine.DigitalSignature().SignatureProperties.CertPassword = c.password;

        // Without a handler the document is refused before a file exists.
        engine.OnErrorMessage = nullptr;
        engine.SetFileName((folder / "refused").string());
        EXPECT_THROW(engine.BeginDoc(), ESignatureCertificate);
        EXPECT_FALSE(fs::exists(folder / "refused.pdf"));

        // With one, the error is handed over and the file carries no signature.
        std::string reported;
        engine.OnErrorMessage = [&](TdeBaseComponent *, const std::exception &e) { reported = e.what(); };
        const std::string pdf = ReadFileText(Write("unsigned"));
        EXPECT_EQ(reported, ESignatureCertificate().what());
        EXPECT_EQ(pdf.find("/Sig"), std::string::npos);
        EXPECT_EQ(pdf.find("/ByteRange"), std::string::npos);
        EXPECT_EQ(pdf.find("/AcroForm"), std::string::npos);
    }
}

TEST_F(PdfSignature, FieldOnAPageTheDocumentDoesNotHaveIsReportedAndNoFileKept)
{
    engine.DigitalSignature().FieldProperties.PageNumber = 3;
    std::string reported;
    engine.OnErrorMessage = [&](TdeBaseComponent *, const std::exception &e) { reported = e.what(); };
    Write("short", 2);
    EXPECT_EQ(reported, ESignatureFailed().what());
    EXPECT_FALSE(fs::exists(folder / "short.pdf"));
}

} // namespace
} // namespace tessaran
