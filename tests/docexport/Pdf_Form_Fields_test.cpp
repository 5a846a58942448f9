// Form fields: every kind in one document, read back by an independent
// checker (names, types, flags, values, radio states) and rendered from the
// appearance streams alone (skipped when the tools are missing).

#include "docexport/Pdf_Ex_Engine.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

template <typename T> std::unique_ptr<T> Field(const std::string &name, double left, double top, double right,
                                               double bottom)
{
    auto field = std::make_unique<T>();
    field->FFieldName = name;
    field->FRect = TdeRect{left, top, right, bottom};
    field->FFont.Size = 10;
    return field;
}

class PdfFormFields : public ::testing::Test {
protected:
    PdfFormFields()
    {
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfform_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
    }
    ~PdfFormFields() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }

    // Every kind: a button, a ticked and an empty check box, a radio group
    // with its second button selected, texts, a combo and a list box.
    std::string WriteForm(const std::string &name)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        auto button = Field<TdePDFFormPushButton>("Send", 20, 20, 160, 50);
        button->FCaption = "Send (now)";
        button->FDownCaption = "Sending";
        button->FBackgroundColor = RGB(192, 192, 192);
        button->FActionKind = TdeButtonActionKind::bakResetForm;
        engine.AddFormItem(std::move(button));
        auto ticked = Field<TdePDFFormCheckBox>("Ticked", 20, 70, 44, 94);
        ticked->FChecked = true;
        engine.AddFormItem(std::move(ticked));
        engine.AddFormItem(Field<TdePDFFormCheckBox>("", 60, 70, 84, 94));
        auto radio = Field<TdePDFFormRadioGroup>("Fluid", 0, 0, 0, 0);
        radio->AddItem("Water", TdeRect{20, 110, 44, 134});
        radio->AddItem("Crude oil", TdeRect{60, 110, 84, 134});
        radio->AddItem("Far away", TdeRect{20, 5000, 44, 5024});
        radio->FSelectedIndex = 1;
        radio->FCheckStyle = TdeCheckStyle::csCircle;
        engine.AddFormItem(std::move(radio));
        auto address = Field<TdePDFFormTextField>("Address", 20, 150, 300, 180);
        address->FValue = "Main (North) \u00e9\u0141";
        engine.AddFormItem(std::move(address));
        auto notes = Field<TdePDFFormTextField>("Notes", 20, 190, 300, 260);
        notes->FMultiLine = true;
        notes->FPreferences = TdeAcroFieldPreferences{TdeAcroFieldPreferencesType::afpReadOnly,
                                                      TdeAcroFieldPreferencesType::afpRequired};
        notes->FValue = "First line of the notes that wraps onto a second line";
        engine.AddFormItem(std::move(notes));
        auto combo = Field<TdePDFFormComboBox>("Material", 20, 280, 200, 304);
        combo->FItems = {"Steel", "PVC"};
        engine.AddFormItem(std::move(combo));
        auto list = Field<TdePDFFormListBox>("Sizes", 20, 320, 200, 380);
        list->FItems = {"DN50", "DN80", "DN100", "DN150", "DN200", "DN250"};
        engine.AddFormItem(std::move(list));
        // Outside the content band: dropped.
        engine.AddFormItem(Field<TdePDFFormTextField>("Lost", 20, 9000, 100, 9020));
        engine.EndDoc();
        return (folder / (name + ".pdf")).string();
    }

    TdePDFEngine engine;
    fs::path folder;
};

TEST(PdfFormFieldFlags, KindsAndPreferences)
{
    TdePDFFormTextField text;
    text.FMultiLine = true;
    text.FPreferences = TdeAcroFieldPreferences{TdeAcroFieldPreferencesType::afpReadOnly,
                                                TdeAcroFieldPreferencesType::afpRequired};
    TdePDFFormRadioGroup radio;
    radio.FNoToggleToOff = true;
    TdePDFFormComboBox combo;
    combo.FEditable = true;
    TdePDFFormListBox list;
    list.FMultiSelect = true;
    TdePDFFormPushButton button;
    button.FPreferences = TdeAcroFieldPreferences{TdeAcroFieldPreferencesType::afpNoExport};
    TdePDFFormCheckBox check;
    const std::pair<const TdePDFFormField *, int> cases[] = {
        {&text, 4099}, {&radio, 49152}, {&combo, 393216}, {&list, 2097152}, {&button, 65540}, {&check, 0},
    };
    for (const auto &[field, flags] : cases)
        EXPECT_EQ(FormFieldFlags(*field), flags);
    EXPECT_EQ(PDFNameText("Crude oil"), "Crude#20oil");
    EXPECT_EQ(PDFNameText("a#b/\xC3\xA9"), "a#23b#2F#C3#A9");
}

TEST_F(PdfFormFields, CheckerReadsEveryKindPlainAndEncrypted)
{
    if (!HasTool("qpdf"))
        GTEST_SKIP() << "qpdf is not installed";
    for (const bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted ? "encrypted" : "plain");
        engine.Encryption().SetEnabled(encrypted);
        engine.Encryption().SetLevel(TdePDFEncryptionLevel::el128bit);
        engine.Encryption().SetOwnerPassword("owner");
        const std::string path = WriteForm(encrypted ? "encrypted" : "plain");
        std::string output;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &output), 0) << output;
        std::string json;
        ASSERT_EQ(RunCommand("qpdf --json --json-key=acroform '" + path + "'", &json), 0) << json;
        // name, type, flags, value of every field the checker lists.
        struct Expect {
            const char *name, *type;
            int flags;
            const char *value;
        };
        const Expect fields[] = {
            {"Send", "/Btn", 65536, ""},
            {"Ticked", "/Btn", 0, "/Yes"},
            {"ChBtn2", "/Btn", 0, "/Off"},
            {"Fluid", "/Btn", 32768, "/Crude oil"},
            {"Address", "/Tx", 0, "u:Main (North) \u00e9\u0141"},
            {"Notes", "/Tx", 4099, "u:First line of the notes that wraps onto a second line"},
            {"Material", "/Ch", 131072, "u:Choice"},
            {"Sizes", "/Ch", 0, "u:DN50"},
        };
        for (const Expect &f : fields) {
            SCOPED_TRACE(f.name);
            const std::size_t at = json.find(std::string("\"fullname\": \"") + f.name + "\"");
            ASSERT_NE(at, std::string::npos) << json;
            const std::size_t start = json.rfind("{", at);
            const std::string entry = json.substr(start, json.find("}", at) - start);
            EXPECT_NE(entry.find(std::string("\"fieldtype\": \"") + f.type + "\""), std::string::npos) << entry;
            EXPECT_NE(entry.find("\"fieldflags\": " + std::to_string(f.flags) + ","), std::string::npos) << entry;
            if (*f.value)
                EXPECT_NE(entry.find(std::string("\"value\": \"") + f.value + "\""), std::string::npos) << entry;
        }
        EXPECT_EQ(json.find("\"fullname\": \"Lost\""), std::string::npos);
        // Two radio widgets (the third was outside the band), the second on.
        EXPECT_NE(json.find("\"appearancestate\": \"/Crude oil\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"appearancestate\": \"/Off\""), std::string::npos) << json;
        const std::string pdf = ReadFileText(path);
        EXPECT_NE(pdf.find("/NeedAppearances false"), std::string::npos);
        // The shared text font stands once in the default resources.
        const std::size_t dr = pdf.find("/DR << /Font <<");
        ASSERT_NE(dr, std::string::npos);
        const std::string fonts = pdf.substr(dr, pdf.find(">> >>", dr) - dr);
        std::vector<std::string> keys;
        const std::regex key(R"(/F\d+)");
        for (std::sregex_iterator it(fonts.begin(), fonts.end(), key), end; it != end; ++it)
            keys.push_back(it->str());
        EXPECT_EQ(keys.size(), 3u) << fonts << " (the text font, its composite form and the marks' face)";
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(std::unique(keys.begin(), keys.end()), keys.end()) << fonts;
    }
}

TEST_F(PdfFormFields, AppearanceStreamsRender)
{
    if (!HasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    const std::string path = WriteForm("render");
    std::string output;
    ASSERT_EQ(RunCommand("pdftoppm -r 96 -f 1 -l 1 '" + path + "' '" + (folder / "page").string() + "'", &output), 0)
        << output;
    std::string ppm;
    for (const auto &entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".ppm")
            ppm = entry.path().string();
    ASSERT_FALSE(ppm.empty());
    const Image image = ReadPPM(ppm);
    // Dark pixels inside a box of the page in pixels (96 per inch, content
    // band at the page's margin: the box is found relative to the field).
    auto dark = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = std::max(0, y0); y < std::min(image.Height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(image.Width, x1); ++x) {
                const unsigned char *p = image.At(x, y);
                if (p[0] < 100 && p[1] < 100 && p[2] < 100)
                    ++count;
            }
        return count;
    };
    // The content band starts at the page's corner (no margins), and the
    // button's face is where it was put.
    const int bx = 0, by = 0;
    const unsigned char *face = image.At(40, 28);
    ASSERT_EQ(face[0], 192) << "no button face";
    // Inside the borders: a ticked box shows its mark, an empty one nothing;
    // the selected radio button its dot; the texts their letters.
    EXPECT_GT(dark(bx + 22, by + 72, bx + 42, by + 92), 8) << "ticked box";
    EXPECT_EQ(dark(bx + 62, by + 72, bx + 82, by + 92), 0) << "empty box";
    EXPECT_EQ(dark(bx + 22, by + 112, bx + 42, by + 132), 0) << "radio off";
    EXPECT_GT(dark(bx + 62, by + 112, bx + 82, by + 132), 8) << "radio on";
    EXPECT_GT(dark(bx + 24, by + 154, bx + 296, by + 176), 20) << "text value";
    EXPECT_GT(dark(bx + 24, by + 194, bx + 296, by + 256), 40) << "multi-line value";
    EXPECT_GT(dark(bx + 24, by + 284, bx + 196, by + 300), 10) << "combo value";
    EXPECT_GT(dark(bx + 24, by + 20 + 4, bx + 156, by + 46), 10) << "button caption";
    if (HasTool("pdftotext")) {
        // The unescaped parentheses would have cut the caption.
        RunCommand("pdftotext -layout '" + path + "' -", &output);
        EXPECT_NE(output.find("Send (now)"), std::string::npos) << output;
        // A character the code page lacks is drawn from glyphs all the same.
        EXPECT_NE(output.find("Main (North) \u00e9\u0141"), std::string::npos) << output;
    }
}

} // namespace
} // namespace tessaran
