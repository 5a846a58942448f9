#pragma once
// A document engine whose output hooks write a log of what the render
// order hands them, for tests of the engine's lifecycle and bands.

#include <string>
#include <vector>

#include "docexport/Doc_Utils.h"
#include "docexport/Document_Engine.h"
#include "platform/Codepage1252.h"

namespace tessaran {

template <typename Base = TdeCustomDocumentEngine>
class RecordingEngine : public Base {
public:
    std::vector<std::string> Log;
    int DialogResult = mrOk;

    // Adds a text item at a native position to the current page or band.
    void AddText(double x, double y, const std::string &text)
    {
        auto item = std::make_unique<TdeTextItem>();
        item->X = x;
        item->Y = y;
        item->Lines.Add(Utf8ToUtf16(text));
        this->AddItem(std::move(item));
    }
    template <typename Item>
    Item *Add()
    {
        return static_cast<Item *>(this->AddItem(std::make_unique<Item>()));
    }
    using Base::AddItem;
    using Base::CreateOutputFile;
    using Base::FCapabilities;
    using Base::IsPageToRender;
    using Base::AddEngineFileName;
    using Base::ExpandTemplates;
    using Base::CurrentPageItem;
    using Base::ExpandPageNumbers;
    using Base::TransformText;
    using Base::RenderTextLines;
    using Base::SetTextAlignment;

    std::string Joined() const
    {
        std::string all;
        for (const auto &line : Log)
            all += (all.empty() ? "" : "|") + line;
        return all;
    }

protected:
    int ShowDefaultSetupDialog() override { return DialogResult; }
    void BeginPageOutput() override { Log.push_back("begin page " + std::to_string(this->CurrentPage())); }
    void EndPageOutput() override { Log.push_back("end page " + std::to_string(this->CurrentPage())); }
    void BeginDocOutput() override { Log.push_back("begin doc"); }
    void EndDocOutput() override { Log.push_back("end doc"); }
    void RenderTextItem(TdeTextItem &item) override
    {
        Log.push_back(Band() + "text " + Utf16ToUtf8(item.Lines[0]) + "@" + Number(item.X) + "," + Number(item.Y));
    }
    void RenderTextBoxItem(TdeTextBoxItem &item) override { Log.push_back(Band() + "box " + Utf16ToUtf8(item.Lines[0])); }
    void RenderImageItem(TdeImageItem &) override { Log.push_back(Band() + "image"); }
    void RenderImageStreamItem(TdeImageStream &) override { Log.push_back(Band() + "jpeg"); }
    void RenderClipItem(TdeClipItem &) override { Log.push_back(Band() + "clip"); }
    void RenderEOFItem(TdeEOFItem &) override { Log.push_back(Band() + "eof"); }
    void RenderPathItem(TdePathItem &) override { Log.push_back(Band() + "path"); }
    void RenderOtherItem(TdeDocumentItem &) override { Log.push_back(Band() + "other"); }
    void DrawLineShape(const TdePen &pen, double x1, double y1, double x2, double y2) override
    {
        Log.push_back(Band() + "line " + Number(x1) + "," + Number(y1) + "-" + Number(x2) + "," + Number(y2) +
                      " w" + std::to_string(pen.Width));
    }
    void DrawRectangleShape(const TdePen &, const TdeBrush *brush, double, double, double, double) override
    {
        Log.push_back(Band() + (brush ? "filled rectangle" : "rectangle"));
    }
    void DrawPolygonShape(const TdePoints &, int n, bool closed, const TdePen &, const TdeBrush *) override
    {
        Log.push_back(Band() + (closed ? "polygon " : "polyline ") + std::to_string(n));
    }
    void DrawPolyShape(TdePolyShapeItem &, bool closed) override
    {
        Log.push_back(Band() + (closed ? "polyshape closed" : "polyshape open"));
    }
    void ProcessMetafile(TMetafile &metafile, double x, double y) override
    {
        Log.push_back("metafile " + std::to_string(metafile.Width) + "x" + std::to_string(metafile.Height) + " at " +
                      Number(x + this->BandRect().Left) + "," + Number(y + this->BandRect().Top));
        Base::ProcessMetafile(metafile, x, y);
    }

private:
    std::string Band() const
    {
        switch (this->BandType()) {
        case TdeBandType::btHeader: return "header ";
        case TdeBandType::btFooter: return "footer ";
        case TdeBandType::btWatermark: return "watermark ";
        case TdeBandType::btStamp: return "stamp ";
        case TdeBandType::btContent: break;
        }
        return "";
    }
    static std::string Number(double v) { return FloatToPDFStr(v); }
};

} // namespace tessaran
