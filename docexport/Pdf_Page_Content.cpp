#include "docexport/Pdf_Page_Content.h"

#include "docexport/Doc_Utils.h"
#include "docexport/Measurement_Units.h"

namespace tessaran {

namespace {
const std::string CRLF = "\r\n";
}

std::string TdePDFPatterns::PatternNameOf(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsHorizontal: return "PH";
    case TBrushStyle::bsVertical: return "PV";
    case TBrushStyle::bsFDiagonal: return "PFD";
    case TBrushStyle::bsBDiagonal: return "PBD";
    case TBrushStyle::bsCross: return "PC";
    case TBrushStyle::bsDiagCross: return "PDC";
    default: return "";
    }
}

std::string TdePDFPatterns::GetPatternName(TBrushStyle style, TdePDFObjectWriter &writer)
{
    std::string name = PatternNameOf(style);
    if (name.empty())
        return name;
    for (const auto &entry : FPattern)
        if (entry.first == name)
            return name;
    FPattern.emplace_back(name, writer.NewObjectNumber());
    return name;
}

std::string TdePDFPatterns::ResourceEntries() const
{
    if (FPattern.empty())
        return "";
    std::string text = "/ColorSpace <</CSP [/Pattern /DeviceRGB]>>" + CRLF + "/Pattern <<";
    for (const auto &entry : FPattern)
        text += "/" + entry.first + " " + TdePDFObjectWriter::ObjectReference(entry.second);
    return text + ">>" + CRLF;
}

namespace {

// Tiles of 5 by 5 units, stroked in the colour given with the pattern.
std::string TileContent(const std::string &name)
{
    if (name == "PH")
        return "2 J 2 j 0.3 w 0 2.5 m 5 2.5 l S";
    if (name == "PV")
        return "2 J 2 j 0.3 w 2.5 0 m 2.5 5 l S";
    if (name == "PFD")
        return "2 J 2 j 0.3 w 0 2.5 m 2.5 0 l 5 2.5 m 2.5 5 l S";
    if (name == "PBD")
        return "2 J 2 j 0.3 w 0 2.5 m 2.5 5 l 2.5 0 m 5 2.5 l S";
    if (name == "PC")
        return "2 J 2 j 0.3 w 0 2.5 m 5 2.5 l 2.5 0 m 2.5 5 l S";
    // A closed diamond: tiled, its edges make the diagonal grid.
    return "2 J 2 j 0.3 w 2.5 0 m 5 2.5 l 2.5 5 l 0 2.5 l s";
}

} // namespace

void TdePDFPatterns::RegisterImagePattern(TdePDFObjectWriter &writer, int imageObjNo, double left, double top,
                                          double width, double height)
{
    FImageObjNo = imageObjNo;
    FImageLeft = left;
    FImageTop = top;
    FImageWidth = width;
    FImageHeight = height;
    for (const auto &entry : FPattern)
        if (entry.first == "PI")
            return;
    FPattern.emplace_back("PI", writer.NewObjectNumber());
}

void TdePDFPatterns::WritePatterns(TdePDFObjectWriter &writer, const TdeCompression &compression) const
{
    for (const auto &[name, objNo] : FPattern) {
        std::string tile = TileContent(name);
        std::string dictionary = "/Type /Pattern" + CRLF + "/Resources << /ProcSet [/PDF ] >>" + CRLF +
                                 "/PatternType 1" + CRLF + "/PaintType 2" + CRLF + "/TilingType 1" + CRLF +
                                 "/BBox [0 0 5 5]" + CRLF + "/XStep 5" + CRLF + "/YStep 5" + CRLF;
        if (name == "PI") {
            const std::string Wb = FormatPDFNumber(FImageWidth), Hb = FormatPDFNumber(FImageHeight);
            tile = CRLF + "q" + CRLF + Wb + " 0 0 " + Hb + " 0 0 cm" + CRLF + "/Img0 Do" + CRLF + "Q";
            dictionary = "/Type/Pattern/PatternType 1/PaintType 1/Resources << /ProcSet [/PDF /ImageC] /XObject << "
                         "/Img0 " +
                         TdePDFObjectWriter::ObjectReference(FImageObjNo) + " >> " + CRLF + ">>/TilingType 1/BBox [0 0 " +
                         Wb + " " + Hb + "]/Matrix [1 0 0 1 " + FormatPDFNumber(FImageLeft) + " " +
                         FormatPDFNumber(FImageTop) + "]/XStep " + Wb + "/YStep " + Hb + CRLF;
        }
        TMemoryStream content;
        content.WriteBuffer(tile.data(), tile.size());
        if (compression.Enabled) {
            int lengthObjNo = writer.NewObjectNumber();
            dictionary += "/Length" + CRLF + TdePDFObjectWriter::ObjectReference(lengthObjNo) + "/Filter/FlateDecode";
            writer.WriteStreamWithLengthObject(objNo, dictionary, lengthObjNo, content, compression);
        } else {
            dictionary += "/Length " + std::to_string(content.Size()) + CRLF;
            writer.WriteObject(dictionary, objNo, false);
            writer.WriteStreamPart(content, compression);
        }
    }
}

TdePDFPageContent::TdePDFPageContent()
    : PixelToPointMultiplier(72.0 / ScreenPixelsPerInch), InputXRes(ScreenPixelsPerInch), InputYRes(ScreenPixelsPerInch)
{
}

Extended TdePDFPageContent::PixelToPointX(Extended x) const
{
    return x * PixelToPointMultiplier * InputXRes / ScreenPixelsPerInch;
}

Extended TdePDFPageContent::LengthToPointY(Extended length) const
{
    return length * PixelToPointMultiplier * InputYRes / ScreenPixelsPerInch;
}

Extended TdePDFPageContent::PixelToPointY(Extended y) const
{
    if (PageHeight == 0)
        return LengthToPointY(y);
    return static_cast<Extended>(PageHeight) * InputYRes / ScreenPixelsPerInch - LengthToPointY(y);
}

std::string TdePDFPageContent::GetPenStyleOperators(TPenStyle style) const
{
    std::string text;
    switch (style) {
    case TPenStyle::psSolid: text = "[]0 d "; break;
    case TPenStyle::psDash: text = "[16 8]0 d "; break;
    case TPenStyle::psDot: text = "[3 4]0 d "; break;
    case TPenStyle::psDashDot: text = "[8 4 2 4]0 d "; break;
    case TPenStyle::psDashDotDot: text = "[8 4 2 4 2 8]0 d "; break;
    default: break;
    }
    static const char *const joins[] = {"", "2 j ", "0 j ", "1 j "};
    static const char *const caps[] = {"", "1 J ", "2 J ", "0 J "};
    if (PenJoin > 0 && PenJoin < 4)
        text += joins[PenJoin];
    if (PenCap > 0 && PenCap < 4)
        text += caps[PenCap];
    return text;
}

std::string TdePDFPageContent::Stroke(const TdePen &pen) const
{
    // A width below zero (or none at all) draws the thinnest line.
    const Extended width = pen.Width * PixelToPointMultiplier;
    return GetPenStyleOperators(pen.Style) + FormatPDFNumber(width > 0 ? width : 0) + " w " +
           ColorToPDFRGB(pen.Color) + " RG ";
}

std::string TdePDFPageContent::PatternName(TBrushStyle style)
{
    if (Patterns && Writer)
        return Patterns->GetPatternName(style, *Writer);
    return TdePDFPatterns::PatternNameOf(style);
}

std::string TdePDFPageContent::Fill(const TdeBrush *brush)
{
    if (!BrushVisible(brush))
        return "";
    if (brush->Style == TBrushStyle::bsSolid)
        return ColorToPDFRGB(brush->Color) + " rg ";
    return "/CSP cs " + ColorToPDFRGB(brush->Color) + " /" + PatternName(brush->Style) + " scn n ";
}

std::string TdePDFPageContent::GetPaintOperator(const TdePen *pen, const TdeBrush *brush, bool closed)
{
    bool stroke = pen && pen->Style != TPenStyle::psClear;
    bool fill = BrushVisible(brush);
    if (fill && stroke)
        return "b*";
    if (fill)
        return "f*";
    if (stroke)
        return closed ? "s" : "S";
    return "n";
}

void TdePDFPageContent::Append(const std::string &text)
{
    if (!text.empty())
        FContentStream.WriteBuffer(text.data(), text.size());
}

void TdePDFPageContent::AppendWrapped(const std::string &body, const char *closing)
{
    if (body.empty())
        return;
    if (FIsClipState())
        Append(CRLF + body + CRLF);
    else
        Append(CRLF + "q" + CRLF + body + CRLF + closing);
}

void TdePDFPageContent::BeginPage()
{
    FContentStream.Clear();
    FPathStatus = TdePathStatus::psNoPath;
    FPath.clear();
    FFirstPoint = true;
    FIsPathClosed = false;
    FIsClipPath = false;
    FClipDepth = 0;
}

} // namespace tessaran
