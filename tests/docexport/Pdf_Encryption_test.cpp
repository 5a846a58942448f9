// Encrypted documents: the security handler's values, and files read back
// by independent tools with the user and the owner password (skipped when
// the tools are missing).

#include "docexport/Pdf_Encryption.h"
#include "docexport/Pdf_Engine.h"
#include "platform/MetafileCanvas.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;
using P = TdeUserPermissionsType;
using L = TdePDFEncryptionLevel;

std::string Hex(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

TEST(RC4, PublishedVectorsAndKeyLengths)
{
    const struct {
        std::string key, plain, cipher;
    } cases[] = {
        {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
        {"Wiki", "pedia", "1021BF0420"},
        {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
    };
    for (const auto &c : cases) {
        std::string data = c.plain;
        RC4Crypt(reinterpret_cast<const std::uint8_t *>(c.key.data()), c.key.size(),
                 reinterpret_cast<std::uint8_t *>(data.data()), data.size());
        EXPECT_EQ(Hex(data), c.cipher) << c.key;
        // Every call starts from a fresh schedule: the same call decrypts.
        RC4Crypt(reinterpret_cast<const std::uint8_t *>(c.key.data()), c.key.size(),
                 reinterpret_cast<std::uint8_t *>(data.data()), data.size());
        EXPECT_EQ(data, c.plain);
    }
    std::uint8_t key[257] = {};
    std::uint8_t byte = 0;
    EXPECT_NO_THROW(RC4Crypt(key, 256, &byte, 1));
    for (std::size_t length : {std::size_t{0}, std::size_t{257}}) {
        try {
            RC4Crypt(key, length, &byte, 1);
            ADD_FAILURE() << length;
        } catch (const ERC4Error &e) {
            EXPECT_STREQ(e.what(), "RC4: Invalid key length");
        }
    }
}

TEST(PdfEncryptionHandler, PermissionValues)
{
    const struct {
        L level;
        TdeUserPermissions permissions;
        std::int32_t p;
    } cases[] = {
        {L::el40bit, AllUserPermissions(), -4},
        {L::el128bit, AllUserPermissions(), -4},
        {L::el40bit, {}, -64},
        {L::el128bit, {}, -3904},
        // The four later permissions do not exist at 40 bits.
        {L::el40bit, {P::AllowFormFill, P::AllowAccessibility, P::AllowDocAssembly, P::AllowHighResPrint}, -64},
        {L::el40bit, {P::AllowPrint, P::AllowCopy}, -64 | 4 | 16},
        {L::el128bit, {P::AllowPrint, P::AllowHighResPrint}, -3904 | 4 | 2048},
        // High-resolution printing only with printing.
        {L::el128bit, {P::AllowHighResPrint, P::AllowModify, P::AllowAnnotation}, -3904 | 8 | 32},
        {L::el128bit, {P::AllowFormFill, P::AllowAccessibility, P::AllowDocAssembly}, -3904 | 256 | 512 | 1024},
    };
    for (const auto &c : cases) {
        TdePDFEncryptionSettings settings;
        settings.SetLevel(c.level);
        settings.SetUserPermissions(c.permissions);
        TdePDFEncryption handler("name.pdf", "D:20261210120000+00'00'", settings);
        EXPECT_EQ(handler.PermissionValue(), c.p) << static_cast<int>(c.level) << " " << int(c.permissions.Value());
    }
}

TEST(PdfEncryptionHandler, PaddingIdentifierAndKeys)
{
    EXPECT_EQ(TdePDFEncryption::Pad(""), PDFPasswordPadding);
    const auto pad = TdePDFEncryption::Pad("ab");
    EXPECT_EQ(pad[0], 'a');
    EXPECT_EQ(pad[1], 'b');
    EXPECT_TRUE(std::equal(pad.begin() + 2, pad.end(), PDFPasswordPadding.begin()));
    const std::string longPassword(40, 'x');
    const auto cut = TdePDFEncryption::Pad(longPassword);
    EXPECT_TRUE(std::all_of(cut.begin(), cut.end(), [](std::uint8_t b) { return b == 'x'; }));

    TdePDFEncryptionSettings settings;
    settings.SetUserPassword("user");
    for (L level : {L::el40bit, L::el128bit}) {
        settings.SetLevel(level);
        TdePDFEncryption a("report.pdf", "D:20261210120000+01'00'", settings);
        TdePDFEncryption later("report.pdf", "D:20261210120001+01'00'", settings);
        TdePDFEncryption other("other.pdf", "D:20261210120000+01'00'", settings);
        EXPECT_EQ(a.FileID().size(), 16u);
        EXPECT_EQ(a.OwnerKey().size(), 32u);
        EXPECT_EQ(a.UserKey().size(), 32u);
        EXPECT_NE(a.FileID(), later.FileID());
        EXPECT_NE(a.FileID(), other.FileID());
        EXPECT_NE(a.UserKey(), later.UserKey());
        // The owner key depends on the passwords alone.
        EXPECT_EQ(a.OwnerKey(), later.OwnerKey());
        EXPECT_EQ(a.ObjectKey(7, 0).size(), level == L::el40bit ? 10u : 16u);
        EXPECT_NE(a.ObjectKey(7, 0), a.ObjectKey(8, 0));
        // Strings and streams of one object share its key; lengths are kept.
        const std::string secret = a.EncryptString("(secret)", 7, 0);
        EXPECT_EQ(secret.size(), 8u);
        EXPECT_NE(secret, "(secret)");
        EXPECT_EQ(a.EncryptString(secret, 7, 0), "(secret)");
        TMemoryStream stream(std::vector<std::uint8_t>{'(', 's', 'e', 'c', 'r', 'e', 't', ')'});
        a.EncryptStream(stream, stream.Size(), 7, 0);
        EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), secret);
    }
    // An empty owner password takes the user password.
    TdePDFEncryptionSettings same = settings;
    same.SetOwnerPassword("user");
    TdePDFEncryption withOwner("r.pdf", "D:1", same);
    TdePDFEncryption withoutOwner("r.pdf", "D:1", settings);
    EXPECT_EQ(withOwner.OwnerKey(), withoutOwner.OwnerKey());
}

TdePicture Picture(int width, int height)
{
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, RGB(x * 255 / width, 40, y * 255 / height));
    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = bitmap.SaveToBytes();
    return picture;
}

class PdfEncryption : public ::testing::Test {
protected:
    PdfEncryption()
    {
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfcrypt_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfEncryption() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }

    // Text in an embedded font, an image, a metafile drawing with text and
    // an outline, on two pages.
    std::string Write(const std::string &name, TdeCustomPDFEngine &engine)
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.DocInfo().SetTitle(u"Pipe report \u00e9");
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        engine.Font().Name = "Arial";
        engine.Font().Size = 14;
        engine.TextOut(60, 60, u"Flow 25 m\u00B3/h through pipe P12");
        engine.TextOut(60, 100, u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC");
        engine.DrawImage(TdeRect{60, 150, 220, 230}, Picture(32, 16));
        engine.NewPage();
        TMetafile drawing;
        drawing.Width = 200;
        drawing.Height = 100;
        {
            TMetafileCanvas canvas(drawing);
            canvas.Rectangle(0, 0, 200, 100);
            canvas.Font.Name = "Arial";
            canvas.Font.Size = 12;
            canvas.TextOut(20, 40, "Tank T1 level");
            canvas.Close();
        }
        engine.PlayMetafile(TdeRect{60, 60, 460, 260}, drawing);
        engine.AddTOCItem(u"Results", -1, 1, 60);
        engine.AddTOCItem(u"Drawing", 0, 2, 60);
        engine.AddTOCItem(u"Site", 0, "http://example.org/a");
        engine.EndDoc();
        return (folder / (name + ".pdf")).string();
    }

    static std::string Tool(const std::string &command, int *status = nullptr)
    {
        std::string output;
        const int rc = RunCommand(command, &output);
        if (status)
            *status = rc;
        return output;
    }

    fs::path folder;
};

// The outline title "Results" as the file spells it. Searched whole, so that
// a random run of hex digits inside an encrypted string can never match it.
constexpr const char *kResultsTitle = "FEFF0052006500730075006C00740073";

TEST_F(PdfEncryption, DictionaryTrailerAndPlainStringsOutsideIt)
{
    for (L level : {L::el40bit, L::el128bit}) {
        TdeCustomPDFEngine engine;
        engine.Encryption().SetEnabled(true);
        engine.Encryption().SetLevel(level);
        engine.Compression().Enabled = false;
        const std::string pdf = ReadFileText(Write(level == L::el40bit ? "weak" : "strong", engine));
        const std::regex dictionary(level == L::el40bit
                                        ? "/V 1/R 2/P -4/Filter/Standard/O <[0-9A-F]{64}>/U <[0-9A-F]{64}>\r\n"
                                        : "/V 2/R 3/P -4/Length 128/Filter/Standard/O <[0-9A-F]{64}>/U <[0-9A-F]{64}>\r\n");
        EXPECT_TRUE(std::regex_search(pdf, dictionary)) << static_cast<int>(level);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/Size (\\d+)/ID \\[<([0-9A-F]{32})><([0-9A-F]{32})>\\]"
                                                         "/Encrypt (\\d+) 0 R\r\n>>\r\nstartxref")));
        EXPECT_EQ(m[2], m[3]);
        const int encrypt = std::stoi(m[4]);
        EXPECT_NE(ObjectText(pdf, encrypt).find("/Filter/Standard"), std::string::npos);
        // No string or stream of the document is left readable in the file:
        // dates, "http://", titles, font programs, CMaps, page content.
        for (const char *plain : {"443A3230", "687474703A2F2F", kResultsTitle, "glyf", "begincmap", "/F0 14 Tf"})
            EXPECT_EQ(pdf.find(plain), std::string::npos) << plain;
    }
    // Without encryption they are all there, and nothing of the encryption.
    TdeCustomPDFEngine plain;
    plain.Compression().Enabled = false;
    const std::string pdf = ReadFileText(Write("plain", plain));
    EXPECT_EQ(pdf.find("/Encrypt"), std::string::npos);
    EXPECT_EQ(pdf.find("/ID"), std::string::npos);
    for (const char *text : {"443A3230", "687474703A2F2F", kResultsTitle, "glyf", "begincmap", "/F0 14 Tf"})
        EXPECT_NE(pdf.find(text), std::string::npos) << text;
}

TEST_F(PdfEncryption, FileNamesGiveDifferentIdentifiers)
{
    std::set<std::string> ids;
    for (const char *name : {"first", "second"}) {
        TdeCustomPDFEngine engine;
        engine.Encryption().SetEnabled(true);
        const std::string pdf = ReadFileText(Write(name, engine));
        std::smatch m;
        ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/ID \\[<([0-9A-F]{32})>")));
        ids.insert(m[1]);
    }
    EXPECT_EQ(ids.size(), 2u);
}

TEST_F(PdfEncryption, IndependentToolsOpenTheFileWithTheRightPassword)
{
    if (!HasTool("qpdf") || !HasTool("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext is not installed";
    TdeCustomPDFEngine reference;
    const std::string plainPath = Write("reference", reference);
    const std::string plainText = Tool("pdftotext '" + plainPath + "' -");
    ASSERT_NE(plainText.find("Flow 25"), std::string::npos) << plainText;
    ASSERT_NE(plainText.find("Tank T1 level"), std::string::npos) << plainText;

    const struct {
        L level;
        std::string user, owner;
        TdeUserPermissions permissions;
        // What qpdf reports, one line each.
        std::vector<std::string> report;
    } cases[] = {
        {L::el40bit, "", "", AllUserPermissions(), {"R = 2", "P = -4", "extract for any purpose: allowed",
                                                     "print high resolution: allowed", "modify anything: allowed"}},
        {L::el128bit, "", "", AllUserPermissions(), {"R = 3", "P = -4", "extract for any purpose: allowed",
                                                      "modify annotations: allowed"}},
        {L::el40bit, "us", "own", {P::AllowPrint}, {"R = 2", "P = -60", "extract for any purpose: not allowed",
                                                   "print low resolution: allowed", "modify anything: not allowed"}},
        {L::el128bit, "user pass", "owner pass", {P::AllowCopy, P::AllowFormFill},
         {"R = 3", "P = -3632", "extract for any purpose: allowed", "print low resolution: not allowed",
          "modify forms: allowed", "modify annotations: not allowed"}},
        {L::el128bit, "only user", "", {P::AllowPrint, P::AllowHighResPrint, P::AllowAccessibility},
         {"R = 3", "P = -1340", "print high resolution: allowed", "extract for accessibility: allowed",
          "extract for any purpose: not allowed"}},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(n);
        TdeCustomPDFEngine engine;
        engine.Encryption().SetEnabled(true);
        engine.Encryption().SetLevel(c.level);
        engine.Encryption().SetUserPassword(c.user);
        engine.Encryption().SetOwnerPassword(c.owner);
        engine.Encryption().SetUserPermissions(c.permissions);
        const std::string path = Write("case" + std::to_string(n), engine);
        const std::string owner = c.owner.empty() ? c.user : c.owner;

        int status = 0;
        const std::string report = Tool("qpdf --show-encryption --password='" + c.user + "' '" + path + "'", &status);
        EXPECT_EQ(status, 0) << report;
        for (const std::string &line : c.report)
            EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
        Tool("qpdf --check --password='" + c.user + "' '" + path + "'", &status);
        EXPECT_EQ(status, 0) << Tool("qpdf --check --password='" + c.user + "' '" + path + "'");

        for (const std::string &password : {c.user, owner}) {
            const std::string decrypted = (folder / ("plain" + std::to_string(n) + ".pdf")).string();
            std::string output = Tool("qpdf --decrypt --password='" + password + "' '" + path + "' '" + decrypted + "'",
                                      &status);
            ASSERT_EQ(status, 0) << output;
            output = Tool("qpdf --check '" + decrypted + "'", &status);
            EXPECT_EQ(status, 0) << output;
            EXPECT_EQ(Tool("pdftotext '" + decrypted + "' -"), plainText);
            // The outline came through: its titles and the link.
            const std::string json = Tool("qpdf --json --json-key=outlines '" + decrypted + "'");
            EXPECT_NE(json.find("Drawing"), std::string::npos) << json;
            if (HasTool("pdfinfo")) {
                EXPECT_NE(Tool("pdfinfo '" + decrypted + "'").find("Pipe report \u00e9"), std::string::npos);
            }
        }
        if (!c.user.empty()) {
            Tool("qpdf --check --password='wrong' '" + path + "'", &status);
            EXPECT_NE(status, 0) << "a wrong password opened the file";
            Tool("pdftotext '" + path + "' -", &status);
            EXPECT_NE(status, 0) << "opened without the password";
        }
        EXPECT_EQ(Tool("pdftotext -upw '" + c.user + "' '" + path + "' -"), plainText);
        ++n;
    }
}

} // namespace
} // namespace tessaran
