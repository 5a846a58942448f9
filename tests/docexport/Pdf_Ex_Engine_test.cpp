// The extended PDF engine: annotations, actions, document scripts and XMP
// metadata in written files, read back by independent tools (skipped when
// they are missing), plain and encrypted.

#include "docexport/Pdf_Ex_Engine.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

template <typename T> std::unique_ptr<T> Annot(double left, double top, double right, double bottom)
{
    auto annot = std::make_unique<T>();
    annot->Rect = TdeRect{left, top, right, bottom};
    annot->Title = u"Reviewer";
    annot->Subject = u"Check";
    annot->Contents = u"Pump P1 \u00e9";
    annot->BorderColor = RGB(200, 0, 0);
    return annot;
}

class PdfExEngine : public ::testing::Test {
protected:
    PdfExEngine()
    {
        folder = fs::temp_directory_path() /
                 ("tessaran_pdfex_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
        Prepare(engine);
    }
    ~PdfExEngine() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }
    static void Prepare(TdeCustomPDFEngine &e)
    {
        e.Preferences().SetShowSetupDialog(false);
        e.Preferences().SetOpenAfterCreate(false);
        e.SetMeasurementUnit(TdeUnitType::muPixels);
    }
    std::string Write(const std::string &name, const std::function<void()> &draw)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        draw();
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
    std::string Password()
    {
        return engine.Encryption().Enabled() ? " --password='" + engine.Encryption().UserPassword() + "'" : "";
    }

    TdePDFEngine engine;
    fs::path folder;
};

// Every annotation of the file, page by page, as "page:subtype", read by
// the checker (which decrypts) through its JSON view.
std::string AnnotationsByPage(const std::string &path, const std::string &password)
{
    const std::string script =
        "import json,sys\n"
        "d=json.load(sys.stdin)\n"
        "o=d['qpdf'][1]\n"
        "def get(r): return o.get('obj:'+r,{}).get('value',{})\n"
        "for i,p in enumerate(d['pages']):\n"
        "  for a in get(p['object']).get('/Annots',[]):\n"
        "    print(str(i+1)+':'+get(a).get('/Subtype','?'))\n";
    std::ofstream(path + ".py") << script;
    std::string output;
    RunCommand("qpdf --json=2 --json-key=pages --json-key=qpdf" + password + " '" + path + "' | python3 '" + path +
                   ".py'",
               &output);
    return output;
}

TEST_F(PdfExEngine, EveryKindActionAndScriptReachesIndependentTools)
{
    if (!HasTool("qpdf") || !HasTool("pdfinfo") || !HasTool("pdfdetach") || !HasTool("python3"))
        GTEST_SKIP() << "qpdf, poppler-utils or python3 missing";
    const std::string attachment = (folder / "pump.dat").string();
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += static_cast<char>((i * 37) & 0xFF);
    std::ofstream(attachment, std::ios::binary) << bytes;

    for (bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted);
        engine.Encryption().SetEnabled(encrypted);
        engine.Encryption().SetUserPassword(encrypted ? "pw" : "");
        const std::string path = Write(encrypted ? "encrypted" : "plain", [&] {
            engine.AddAnnotItem(Annot<TdePDFTextAnnot>(10, 10, 40, 40));
            auto freeText = Annot<TdePDFFreeTextAnnot>(50, 10, 200, 40);
            freeText->Font.Name = "Arial";
            freeText->Font.Size = 10;
            engine.AddAnnotItem(std::move(freeText));
            auto goTo = Annot<TdePDFLinkAnnot>(10, 50, 100, 70);
            auto action = std::make_unique<TdeGoToAction>();
            action->DestPageNo = 2;
            action->DestRect = TdeRect{0, 100, 0, 0};
            goTo->Action = std::move(action);
            engine.AddAnnotItem(std::move(goTo));
            auto uri = Annot<TdePDFLinkAnnot>(110, 50, 200, 70);
            auto uriAction = std::make_unique<TdeURIAction>();
            uriAction->URIText = "http://example.org/pumps";
            uri->Action = std::move(uriAction);
            engine.AddAnnotItem(std::move(uri));
            auto line = Annot<TdePDFLineAnnot>(10, 80, 200, 100);
            line->StartX = 10;
            line->StartY = 90;
            line->EndX = 200;
            line->EndY = 90;
            line->EndStyle = TdeLineEndingStyle::lesClosedArrow;
            engine.AddAnnotItem(std::move(line));
            auto square = Annot<TdePDFSquareAnnot>(10, 110, 60, 160);
            square->Brush = std::make_unique<TdeAnnotBrush>();
            engine.AddAnnotItem(std::move(square));
            engine.AddAnnotItem(Annot<TdePDFCircleAnnot>(70, 110, 120, 160));
            auto polygon = Annot<TdePDFPolygonAnnot>(130, 110, 200, 160);
            polygon->Vertices = {{130, 160}, {165, 110}, {200, 160}};
            engine.AddAnnotItem(std::move(polygon));
            auto polyline = Annot<TdePDFPolyLineAnnot>(210, 110, 280, 160);
            polyline->Vertices = {{210, 160}, {245, 110}, {280, 160}};
            engine.AddAnnotItem(std::move(polyline));
            engine.AddAnnotItem(Annot<TdePDFStampAnnot>(10, 170, 150, 220));
            auto markup = Annot<TdePDFTextMarkupAnnot>(10, 230, 100, 245);
            markup->QuadPoints = {{10, 230}, {100, 230}, {10, 245}, {100, 245}};
            engine.AddAnnotItem(std::move(markup));
            engine.AddAnnotItem(Annot<TdePDFCaretAnnot>(110, 230, 120, 245));
            auto ink = Annot<TdePDFInkAnnot>(130, 230, 200, 260);
            ink->InkPoints = {{130, 230}, {160, 260}, {200, 235}};
            engine.AddAnnotItem(std::move(ink));
            auto file = Annot<TdePDFFileAttachmentAnnot>(210, 230, 230, 250);
            file->FileName = attachment;
            engine.AddAnnotItem(std::move(file));
            engine.NewPage();
            engine.AddAnnotItem(Annot<TdePDFTextAnnot>(10, 10, 40, 40));
            auto script = Annot<TdePDFLinkAnnot>(50, 10, 100, 40);
            auto js = std::make_unique<TdeJavaScriptAction>();
            js->Script = u"app.alert('link');";
            script->Action = std::move(js);
            engine.AddAnnotItem(std::move(script));
            auto events = std::make_unique<TdePageEventAction>();
            events->PageNo = 2;
            auto open = std::make_unique<TdeJavaScriptAction>();
            open->Script = u"app.alert('page two');";
            events->OpenAction = std::move(open);
            events->CloseAction = std::make_unique<TdeNamedAction>();
            engine.AddPageEventAction(std::move(events));
            auto &scripts = engine.DocEventJSAction();
            scripts.BeforeClose = "var beforeClose = 1;";
            scripts.BeforeSave = "var beforeSave = 2;";
            scripts.AfterSave = "var afterSave = 3;";
            scripts.BeforePrint = "var beforePrint = 4;";
            scripts.AfterPrint = "var afterPrint = 5;";
        });
        if (encrypted) {
            // Dates, file names and scripts are encrypted like every other string.
            const std::string pdf = ReadFileText(path);
            for (const char *plain : {"(D:", "pump.dat", "beforeClose", "70756D702E646174"})
                EXPECT_EQ(pdf.find(plain), std::string::npos) << plain;
        }
        int status = 0;
        std::string output = Tool("qpdf --check" + Password() + " '" + path + "'", &status);
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(AnnotationsByPage(path, Password()),
                  "1:/Text\n1:/FreeText\n1:/Link\n1:/Link\n1:/Line\n1:/Square\n1:/Circle\n1:/Polygon\n"
                  "1:/PolyLine\n1:/Stamp\n1:/Highlight\n1:/Caret\n1:/Ink\n1:/FileAttachment\n2:/Text\n2:/Link\n");
        const std::string upw = encrypted ? " -upw pw" : "";
        output = Tool("pdfinfo -js" + upw + " '" + path + "'", &status);
        EXPECT_EQ(status, 0) << output;
        for (const char *text : {"beforeClose = 1", "beforeSave = 2", "afterSave = 3", "beforePrint = 4",
                                 "afterPrint = 5", "app.alert('page two')", "app.alert('link')"})
            EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
        // Saved under its own name, without the folders it came from.
        const fs::path saved = folder / (encrypted ? "saved_encrypted" : "saved");
        fs::create_directories(saved);
        output = Tool("pdfdetach" + upw + " -saveall -o '" + saved.string() + "' '" + path + "'", &status);
        EXPECT_EQ(status, 0) << output;
        EXPECT_TRUE(ReadFileText((saved / "pump.dat").string()) == bytes) << "the attached file's bytes differ";
        // The strings the tools read back.
        const std::string json = Tool("qpdf --json=2 --json-key=qpdf" + Password() + " '" + path + "'");
        for (const char *text : {"u:Reviewer", "u:Pump P1 \u00e9", "http://example.org/pumps", "/GoTo", "/Named"})
            EXPECT_NE(json.find(text), std::string::npos) << text;
    }
}

TEST_F(PdfExEngine, EdgeCases)
{
    engine.Compression().Enabled = false;
    int square = 0, goToNone = 0, zoom = 0, inside = 0, polygon = 0, empty = 0;
    const std::string pdf = ReadFileText(Write("edges", [&] {
        const TdeRect band = engine.BandRect();
        const double w = band.Right - band.Left, h = band.Bottom - band.Top;
        // The band's right and bottom edges are inside; a hair beyond is not.
        engine.AddAnnotItem(Annot<TdePDFTextAnnot>(w, h, w + 10, h + 10));
        engine.AddAnnotItem(Annot<TdePDFTextAnnot>(w + 0.001, 0, w + 10, 10));
        engine.AddAnnotItem(Annot<TdePDFTextAnnot>(0, h + 0.001, 10, h + 10));
        engine.AddAnnotItem(Annot<TdePDFTextAnnot>(-0.001, 0, 10, 10));
        inside = 1;
        auto untitled = Annot<TdePDFTextAnnot>(0, 0, 10, 10);
        untitled->Title.clear();
        engine.AddAnnotItem(std::move(untitled));
        empty = 2;
        auto triangle = Annot<TdePDFPolygonAnnot>(10, 10, 50, 50);
        triangle->Vertices = {{10, 50}, {30, 10}, {50, 50}};
        engine.AddAnnotItem(std::move(triangle));
        polygon = 3;
        auto nowhere = Annot<TdePDFLinkAnnot>(0, 0, 10, 10);
        auto page0 = std::make_unique<TdeGoToAction>();
        page0->DestPageNo = 0;
        nowhere->Action = std::move(page0);
        engine.AddAnnotItem(std::move(nowhere));
        goToNone = 4;
        auto top = Annot<TdePDFLinkAnnot>(0, 0, 10, 10);
        auto zoomed = std::make_unique<TdeGoToAction>();
        zoomed->DestPageNo = 1;
        zoomed->Zoom = 0;
        top->Action = std::move(zoomed);
        engine.AddAnnotItem(std::move(top));
        zoom = 5;
        auto bordered = Annot<TdePDFSquareAnnot>(0, 0, 10, 10);
        bordered->Brush = std::make_unique<TdeAnnotBrush>();
        engine.AddAnnotItem(std::move(bordered));
        square = 6;
        // The second action for page 1 replaces the first; a go-to into a
        // page not yet written is left out.
        auto first = std::make_unique<TdePageEventAction>();
        first->PageNo = 1;
        first->OpenAction = std::make_unique<TdeJavaScriptAction>();
        engine.AddPageEventAction(std::move(first));
        auto second = std::make_unique<TdePageEventAction>();
        second->PageNo = 1;
        second->CloseAction = std::make_unique<TdeNamedAction>();
        auto ahead = std::make_unique<TdeGoToAction>();
        ahead->DestPageNo = 2;
        second->OpenAction = std::move(ahead);
        engine.AddPageEventAction(std::move(second));
        engine.DocEventJSAction().BeforeClose = "x";
        engine.NewPage();
    }));
    const std::string tree = ObjectText(pdf, 2);
    const int pageObj = IntAfter(tree, "/Kids [");
    const std::string page = ObjectText(pdf, pageObj);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(page, m, std::regex("/Annots \\[((?: ?\\d+ 0 R)*)\\]"))) << page;
    std::vector<int> annots;
    std::istringstream refs(m[1].str());
    int n, g;
    std::string r;
    while (refs >> n >> g >> r)
        annots.push_back(n);
    ASSERT_EQ(annots.size(), 6u) << page;
    EXPECT_NE(ObjectText(pdf, annots[inside - 1]).find("/Subtype /Text"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, annots[empty - 1]).find(" /T <FEFF>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(ObjectText(pdf, annots[polygon - 1]),
                                  std::regex("/Vertices \\[(-?\\d+\\.\\d{4} -?\\d+\\.\\d{4} ){3}\\] ")));
    EXPECT_EQ(ObjectText(pdf, annots[goToNone - 1]).find("/A "), std::string::npos);
    EXPECT_TRUE(std::regex_search(ObjectText(pdf, annots[zoom - 1]),
                                  std::regex("/A << /Type /Action/S /GoTo/D \\[" + std::to_string(pageObj) + " 0 R /XYZ \\S+ \\S+ 0 \\] >> ")))
        << ObjectText(pdf, annots[zoom - 1]);
    const std::string squareText = ObjectText(pdf, annots[square - 1]);
    EXPECT_EQ(squareText.find("/BS"), squareText.rfind("/BS")) << squareText;
    EXPECT_NE(page.find("/AA << /C <</S /Named /N  /NextPage>> >>"), std::string::npos) << page;
    EXPECT_NE(pdf.find("/WC << /S /JavaScript/JS <78> >>\r\n>>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(ObjectText(pdf, 1), std::regex(" /AA \\d+ 0 R\r\n>>")));
    // The modification dates carry the zone's own offset.
    EXPECT_TRUE(std::regex_search(squareText, std::regex("/M\\(D:\\d{14}[+-]\\d\\d'\\d\\d'\\)")));
    if (HasTool("qpdf")) {
        const std::string path = (folder / "edges.pdf").string();
        int status = 0;
        const std::string output = Tool("qpdf --check '" + path + "'", &status);
        EXPECT_EQ(status, 0) << output;
    }
}

TEST_F(PdfExEngine, DestinationsByFit)
{
    engine.Compression().Enabled = false;
    const struct {
        bool remote;
        TdeDestinationFit fit;
        const char *pattern; // after "/D [" and the page
    } cases[] = {
        {false, TdeDestinationFit::dfXYZ, " /XYZ 7\\.5000 \\S+ 150 \\]"},
        {false, TdeDestinationFit::dfFit, " /Fit  \\]"},
        {false, TdeDestinationFit::dfFitH, " /FitH \\S+  \\]"},
        {false, TdeDestinationFit::dfFitV, " /FitV 7\\.5000  \\]"},
        {false, TdeDestinationFit::dfFitR, " /FitR 7\\.5000 \\S+ 22\\.5000 \\S+  \\]"},
        // Another file's page by its index there.
        {true, TdeDestinationFit::dfFit, " /Fit  \\] /NewWindow true"},
    };
    std::vector<int> numbers;
    const std::string pdf = ReadFileText(Write("fits", [&] {
        for (const auto &c : cases) {
            auto link = Annot<TdePDFLinkAnnot>(0, 0, 10, 10);
            if (c.remote) {
                auto action = std::make_unique<TdeGoToRAction>();
                action->FileName = "other.pdf";
                action->DestPageNo = 3;
                action->Fit = c.fit;
                action->NewWindow = true;
                link->Action = std::move(action);
            } else {
                auto action = std::make_unique<TdeGoToAction>();
                action->DestPageNo = 1;
                action->Fit = c.fit;
                action->Zoom = 150;
                action->DestRect = TdeRect{10, 20, 30, 40};
                link->Action = std::move(action);
            }
            engine.AddAnnotItem(std::move(link));
        }
    }));
    const int page = IntAfter(ObjectText(pdf, 2), "/Kids [");
    // The annotations took the first numbers, in the order they were added.
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string text = ObjectText(pdf, 6 + static_cast<int>(i));
        const std::string target = cases[i].remote ? "/S /GoToR/F <6F746865722E706466>/D \\[2"
                                                   : "/S /GoTo/D \\[" + std::to_string(page) + " 0 R";
        EXPECT_TRUE(std::regex_search(text, std::regex(target + cases[i].pattern))) << i << " " << text;
    }
}

// Without any of the extended content the file is the PDF writer's own,
// byte for byte (the dates aside).
TEST_F(PdfExEngine, WithoutExtrasTheWritersOwnBytes)
{
    auto write = [&](TdeCustomPDFEngine &e) {
        Prepare(e);
        TMemoryStream out;
        e.Preferences().SetOutputToUserStream(true);
        e.SetUserStream(&out);
        // Scripts set before the document begins are not kept.
        if (auto *ex = dynamic_cast<TdeExPDFEngine *>(&e))
            ex->DocEventJSAction().BeforeClose = "lost";
        e.BeginDoc();
        e.TextOut(20, 20, u"Same bytes");
        e.AddTOCItem(u"Top", -1, 1, 0);
        e.EndDoc();
        return std::regex_replace(std::string(out.Bytes().begin(), out.Bytes().end()),
                                  std::regex("Date <[0-9A-F]+>"), "Date <>");
    };
    TdeCustomPDFEngine plain;
    TdePDFEngine extended;
    EXPECT_EQ(write(extended), write(plain));
}

TEST_F(PdfExEngine, MetadataPacketParsesWithEachItemInItsNamespace)
{
    if (!HasTool("pdfinfo") || !HasTool("xmllint"))
        GTEST_SKIP() << "pdfinfo or xmllint missing";
    const struct {
        TdeCustomDocInfoSchema schema;
        const char *name, *value, *ns;
    } items[] = {
        {TdeCustomDocInfoSchema::schBasic, "CreatorTool", "X", "http://ns.adobe.com/xap/1.0/"},
        {TdeCustomDocInfoSchema::schDublinCore, "format", "a<b & 'c'", "http://purl.org/dc/elements/1.1/"},
        {TdeCustomDocInfoSchema::schPDF, "Keywords", "pipes \u00e9", "http://ns.adobe.com/pdf/1.3/"},
        {TdeCustomDocInfoSchema::schPDF, "Producer", "Tessaran", "http://ns.adobe.com/pdf/1.3/"},
        {TdeCustomDocInfoSchema::schJobTicket, "JobRef", "7", "http://ns.adobe.com/xap/1.0/bj/"},
        {TdeCustomDocInfoSchema::schRightsManagement, "Marked", "True", "http://ns.adobe.com/xap/1.0/rights/"},
        {TdeCustomDocInfoSchema::schPagedText, "NPages", "1", "http://ns.adobe.com/xap/1.0/t/pg/"},
    };
    for (bool encrypted : {false, true}) {
        engine.Encryption().SetEnabled(encrypted);
        engine.Encryption().SetUserPassword(encrypted ? "pw" : "");
        const std::string path = Write(encrypted ? "xmp_encrypted" : "xmp", [&] {
            for (const auto &item : items) {
                auto info = std::make_unique<TdePDFCustomDocInfo>();
                info->Schema = item.schema;
                info->Name = item.name;
                info->Value = item.value;
                engine.AddCustomDocInfo(std::move(info));
            }
        });
        const std::string pdf = ReadFileText(path);
        if (!encrypted) {
            // The length is the packet's size in bytes.
            const std::size_t at = pdf.find("/Type /Metadata");
            ASSERT_NE(at, std::string::npos);
            const int length = IntAfter(pdf.substr(at), "/Length ");
            const std::size_t start = pdf.find("stream\r\n", at) + 8;
            EXPECT_EQ(pdf.compare(start + length, 11, "\r\nendstream"), 0);
        }
        int status = 0;
        const std::string packet =
            Tool(std::string("pdfinfo") + (encrypted ? " -upw pw" : "") + " -meta '" + path + "'", &status);
        ASSERT_EQ(status, 0) << packet;
        const std::string xml = (folder / "packet.xml").string();
        std::ofstream(xml, std::ios::binary) << packet;
        std::string output;
        EXPECT_EQ(RunCommand("xmllint --noout '" + xml + "'", &output), 0) << output << packet;
        std::size_t descriptions = 0;
        for (std::size_t at = 0; (at = packet.find("<rdf:Description", at)) != std::string::npos; ++at)
            ++descriptions;
        EXPECT_EQ(descriptions, std::size(items));
        for (const auto &item : items) {
            // The element sits in a description that binds its prefix to the schema's namespace.
            const std::string query = "string(//*[local-name()='Description']/*[local-name()='" +
                                      std::string(item.name) + "' and namespace-uri()='" + item.ns + "'])";
            std::string value;
            EXPECT_EQ(RunCommand("xmllint --xpath \"" + query + "\" '" + xml + "'", &value), 0) << value;
            while (!value.empty() && value.back() == '\n')
                value.pop_back();
            EXPECT_EQ(value, item.value) << item.name;
        }
    }
}

} // namespace
} // namespace tessaran
