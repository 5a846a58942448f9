// The PDF engine's text: items analysed into runs, each run store written
// as one text block in its font resource, with background, underline and
// strike-out, and link annotations for the addresses found in the line;
// and, at the end of the document, the font objects.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "docexport/Doc_Utils.h"
#include "docexport/Pdf_Engine.h"
#include "docexport/Text_Utils.h"
#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string LowerText(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Hex4(unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = digits[value & 15];
    return text;
}

std::string ToCp1252(const WideString &text) { return Utf8ToCp1252(Utf16ToUtf8(text)); }

} // namespace

// Subset tags differ from font to font: the letters count the fonts of the document.
std::string SubsetTag(std::size_t index)
{
    std::string tag = "QTRSNB";
    for (int i = 5; i >= 0 && index > 0; --i) {
        const std::size_t value = static_cast<std::size_t>(tag[static_cast<std::size_t>(i)] - 'A') + index;
        tag[static_cast<std::size_t>(i)] = static_cast<char>('A' + value % 26);
        index = value / 26;
    }
    return tag;
}

std::string TdeCustomPDFEngine::EscapeNameChars(const std::string &name)
{
    std::string result = name;
    for (char c : std::string("()<>[]{}/%")) {
        char code[4];
        std::snprintf(code, sizeof code, "#%02X", static_cast<unsigned char>(c));
        std::string escaped;
        for (char x : result)
            escaped += x == c ? std::string(code) : std::string(1, x);
        result = escaped;
    }
    return result;
}

bool TdeCustomPDFEngine::IsEmbedded(const std::string &faceName)
{
    if (Preferences().EmbedTrueTypeFonts == TdeTTFontEmbedding::etfNone)
        return false;
    return std::find(FFontEmbedExcludeList.begin(), FFontEmbedExcludeList.end(), faceName) ==
           FFontEmbedExcludeList.end();
}

void TdeCustomPDFEngine::RenderTextItem(TdeTextItem &item)
{
    if (item.Lines.Count() == 0)
        return;
    const WideString kept = item.Lines[0];
    // A line that the word wrap ended at a line break carries the break's
    // carriage return and line feed. They are no text to write, and no font
    // has glyphs for them: with them the whole line would be dropped. The
    // line is written as it is measured, without them.
    item.Lines.Put(0, StripTrailingCRLF(ExpandTemplates(kept, true)));
    const WideString line = item.Lines[0];
    for (const std::string &name : FSysFonts)
        if (LowerText(name) == LowerText(item.Font.Name)) {
            item.Font.Name = name;
            break;
        }
    const bool vertical = item.Font.Name.starts_with("@");
    FMapFont.GetTrueTypeFont(line, item.Font);
    if (vertical && !item.Font.Name.starts_with("@"))
        item.Font.Name = "@" + item.Font.Name;
    if (item.Font.Size < 0)
        item.Font.Size = FMapFont.GetFontSize(item.Font);
    FRunFont = item.Font;
    TFont analysis = item.Font;
    analysis.Size = 1000;
    FCurrentTextObj = &item;
    FRunTextX = item.X;
    FRunTextY = item.Y;
    FLinksWritten = false;
    TdeStringAnalyzer analyzer;
    analyzer.OnError = [this](const std::string &message) {
        if (OnErrorMessage)
            OnErrorMessage(this, std::runtime_error(message));
    };
    try {
        analyzer.StringAnalyze(
            line, item.BiDiMode, analysis,
            [this](const WideString &text, int runIndex, int runCount, TdeGlyphInfoList *glyphs,
                   const TdeRunInfo &info, const TdeWordArray &logClust) {
                StoreTextRun(text, runIndex, runCount, glyphs, info, logClust);
            },
            FMapFont);
        // A last run that could not be written leaves the gathered stores behind.
        if (FRunStore || !FRunStoreList.empty()) {
            if (FRunStore)
                FRunStoreList.push_back(std::move(FRunStore));
            WriteStoredRuns();
        }
    } catch (...) {
        FRunStore.reset();
        FRunStoreList.clear();
        item.Lines.Put(0, kept);
        FCurrentTextObj = nullptr;
        throw;
    }
    item.Lines.Put(0, kept);
    FCurrentTextObj = nullptr;
}

void TdeCustomPDFEngine::StoreTextRun(const WideString &text, int runIndex, int runCount, TdeGlyphInfoList *glyphs,
                                      const TdeRunInfo &info, const TdeWordArray &logClust)
{
    const bool glyphRun = info.ScriptProcessingRequired;
    if (!(glyphRun && (!glyphs || glyphs->empty()))) {
        const bool continues = FRunStore && FRunStore->Font.Name == info.MappedFontName &&
                               FRunStore->RunInfo.Complex == info.Complex &&
                               FRunStore->RunInfo.Ligature == info.Ligature && FRunStore->RunInfo.RTL == info.RTL &&
                               FRunStore->RunInfo.ScriptProcessingRequired == glyphRun &&
                               FRunStore->RunInfo.EndPos == info.StartPos;
        if (continues) {
            FRunStore->RunText += text;
            FRunStore->RunInfo.EndPos = info.EndPos;
        } else {
            if (FRunStore) {
                FRunStore->Angle = FCurrentTextObj->RotationAngle;
                FRunStoreList.push_back(std::move(FRunStore));
            }
            FRunStore = std::make_unique<TdeRunStore>();
            FRunStore->RunText = text;
            FRunStore->Font = FRunFont;
            FRunStore->Font.Name = info.MappedFontName;
            FRunStore->RunInfo = info;
            FRunStore->RunInfo.VisAttr.clear();
        }
        // Cluster entries point into the store's whole glyph list.
        const std::uint16_t offset = static_cast<std::uint16_t>(FRunStore->GlyphInfoList.size());
        if (glyphs)
            FRunStore->GlyphInfoList.insert(FRunStore->GlyphInfoList.end(), glyphs->begin(), glyphs->end());
        FRunStore->RunInfo.VisAttr.insert(FRunStore->RunInfo.VisAttr.end(), info.VisAttr.begin(), info.VisAttr.end());
        for (std::uint16_t entry : logClust)
            FRunStore->LogClust.push_back(static_cast<std::uint16_t>(entry + offset));
    }
    if (runIndex + 1 == runCount && FRunStore) {
        FRunStore->Angle = FCurrentTextObj->RotationAngle;
        FRunStoreList.push_back(std::move(FRunStore));
        WriteStoredRuns();
    }
}

TdePDFFont &TdeCustomPDFEngine::RunPDFFont(const TFont &font, bool glyphRun, bool identityH, int &index)
{
    const TdeFontEncoding encoding = glyphRun ? TdeFontEncoding::feCID : TdeFontEncoding::feWinAnsi;
    for (std::size_t i = 0; i < FFontTable.size(); ++i)
        if (FFontTable[i]->IsEqual(font, encoding, identityH)) {
            index = static_cast<int>(i);
            return *FFontTable[i];
        }
    const bool subset = Preferences().EmbedTrueTypeFonts == TdeTTFontEmbedding::etfSubset && IsEmbedded(font.Name);
    auto created = std::make_unique<TdePDFFont>(font, NewObjectNumber(), glyphRun, subset, true,
                                                SubsetTag(FFontTable.size()));
    created->SetIsIdentityH(identityH);
    FFontTable.push_back(std::move(created));
    index = static_cast<int>(FFontTable.size()) - 1;
    return *FFontTable.back();
}

double TdeCustomPDFEngine::NaturalWidth(TdeRunStore &store)
{
    const double size = std::abs(FCurrentTextObj->Font.Size);
    if (store.RunInfo.ScriptProcessingRequired) {
        double sum = 0;
        for (const TdeGlyphInfo &glyph : store.GlyphInfoList)
            sum += glyph.AdvWidth;
        return sum * size / 1000;
    }
    int index = 0;
    const TdePDFFont &font = RunPDFFont(store.Font, false, true, index);
    double width = 0;
    for (char16_t c : store.RunText) {
        if (c >= 32 && c <= 255)
            width += PointsToPixels(font.FontInfo().FfiWidths[c - 32]) * size / 1000;
        else
            width += GetTextExtent(WideString(1, c), store.Font).cx;
    }
    return width;
}

void TdeCustomPDFEngine::WriteStoredRuns()
{
    TdeTextItem &item = *FCurrentTextObj;
    const WideString line = item.Lines[0];
    const bool anyGlyphRun = std::any_of(FRunStoreList.begin(), FRunStoreList.end(),
                                         [](const auto &store) { return store->RunInfo.ScriptProcessingRequired; });
    double spacing = 0;
    if (!anyGlyphRun && !item.IsFromMetafile && line.size() >= 2) {
        double natural = 0;
        for (auto &store : FRunStoreList)
            natural += NaturalWidth(*store);
        const double measured = GetWideTextExtent(line, FRunFont).cx;
        spacing = (measured - natural) / static_cast<double>(line.size() - 1);
    }
    if (item.BiDiMode == TBiDiMode::bdRightToLeft && !item.IsFromMetafile) {
        double total = 0;
        for (auto &store : FRunStoreList)
            total += NaturalWidth(*store) +
                     (store->RunInfo.ScriptProcessingRequired ? 0 : spacing * (double(store->RunText.size()) - 1));
        FRunTextX -= total;
    }
    for (auto &store : FRunStoreList)
        WriteTextRun(*store, spacing);
    FRunStoreList.clear();
}

double TdeCustomPDFEngine::WriteTextRun(TdeRunStore &store, double spacing)
{
    TdeTextItem &item = *FCurrentTextObj;
    const bool glyphRun = store.RunInfo.ScriptProcessingRequired;
    bool identityH = true;
    int angle = store.Angle;
    if (!store.RunText.empty() && store.RunText[0] >= 0x4E00 && store.RunText[0] <= 0x9FFF &&
        store.Font.Name.starts_with("@")) {
        identityH = false;
        angle += 90;
    }
    int fontIndex = 0;
    TdePDFFont &font = RunPDFFont(store.Font, glyphRun, identityH, fontIndex);
    if (glyphRun)
        font.AddUsedGlyphs(store.RunText, store.GlyphInfoList, store.LogClust);
    else
        font.AddUsedCharacters(store.RunText);
    const TdePDFFontInfo &info = font.FontInfo();

    const double size = std::abs(item.Font.Size);
    const double inputScale = static_cast<double>(ScreenPixelsPerInch) / InputXRes();
    const TSize extent = GetWideTextExtent(store.RunText, store.Font);
    const double x0 = FContent.PixelToPointX(FRunTextX), y0 = FContent.PixelToPointY(FRunTextY);
    const double a = angle * std::numbers::pi / 180;
    const double d = size * PointsToPixels(info.FfiFontBBox.Top) / 1000 * inputScale;
    const double ascent = y0 - FContent.PixelToPointY(FRunTextY + d);
    const double ox = x0 + ascent * std::sin(a), oy = y0 - ascent * std::cos(a);
    const double W = extent.cx * FPixelToPointMultiplier, H = extent.cy * FPixelToPointMultiplier;
    const double p1x = x0 + H * std::sin(a), p1y = y0 - H * std::cos(a);
    const double p3x = x0 + W * std::cos(a), p3y = y0 + W * std::sin(a);
    const double r = std::sqrt(W * W + H * H);
    const double phi = W != 0 ? a - std::atan(H / W) : a - std::numbers::pi;
    const double p2x = x0 + r * std::cos(phi), p2y = y0 + r * std::sin(phi);
    auto N = [](double v) { return FormatNumber(v); };

    std::string background;
    const std::string fill = FContent.Fill(&item.Brush);
    if (!fill.empty())
        background = CRLF + "q" + CRLF + fill + N(p1x) + " " + N(p1y) + " m " + N(p2x) + " " + N(p2y) + " l " +
                     N(p3x) + " " + N(p3y) + " l " + N(x0) + " " + N(y0) + " l " + " f" + CRLF + "Q";
    FContent.Append(CRLF + background + CRLF);

    // Width of the run in native units.
    double width = 0;
    if (info.FfiType == TdeFontType::ftTrueType) {
        const bool adjusted = Preferences().ApplyEmfCharSpacing && item.IsFromMetafile &&
                              item.CharSpaceArray.size() >= store.GlyphInfoList.size() && size != 0 &&
                              item.CharSpaceArray.size() >= static_cast<std::size_t>(store.RunInfo.EndPos);
        std::vector<double> adjustments;
        std::string show;
        if (adjusted) {
            auto advance = [&](std::size_t j) {
                return item.CharSpaceArray[static_cast<std::size_t>(store.RunInfo.StartPos) + j];
            };
            if (!glyphRun) {
                for (std::size_t j = 0; j < store.RunText.size(); ++j) {
                    const char16_t c = store.RunText[j];
                    const double e = c >= 32 && c <= 255 ? size * PointsToPixels(info.FfiWidths[c - 32]) / 1000
                                                         : GetTextExtent(WideString(1, c), store.Font).cx;
                    adjustments.push_back((e - advance(j)) / size * 1000);
                    width += advance(j);
                }
                show = "[";
                for (std::size_t j = 0; j < store.RunText.size(); ++j) {
                    if (j > 0)
                        show += N(adjustments[j - 1] * FPixelToPointMultiplier);
                    const std::string c = ToCp1252(WideString(1, store.RunText[j]));
                    show += "(" + std::string(c == "(" || c == ")" || c == "\\" ? "\\" : "") + c + ")";
                }
                show += "] TJ";
            } else {
                const std::size_t glyphCount = store.GlyphInfoList.size();
                const std::size_t attributes = store.RunInfo.VisAttr.size();
                auto pdfWidth = [&](std::size_t k) {
                    return k < glyphCount ? PointsToPixels(font.GlyphWidth(store.GlyphInfoList[k].ID)) * size / 1000
                                          : 0.0;
                };
                std::size_t k = 0;
                double E = 0, G = 0;
                for (std::size_t j = 0; j < store.LogClust.size(); ++j) {
                    const bool starts = j == 0 || store.LogClust[j] != store.LogClust[j - 1];
                    if (starts) {
                        if (j > 0) {
                            width += G;
                            adjustments.push_back((E - G) / size * 1000);
                        }
                        E = pdfWidth(k);
                        G = advance(j);
                        ++k;
                    } else {
                        G += advance(j);
                        const std::size_t next = static_cast<std::size_t>(store.LogClust[j]) + 1;
                        const bool nextStarts = j + 1 < attributes && next < attributes &&
                                                (store.RunInfo.VisAttr[next] & svClusterStart);
                        if (!nextStarts && j + 1 != attributes) {
                            E += pdfWidth(k);
                            ++k;
                        }
                    }
                }
                width += G;
                adjustments.push_back((E - G) / size * 1000);
                show = "[";
                std::size_t used = 0;
                for (std::size_t i = 0; i < glyphCount; ++i) {
                    if (i > 0 && i < attributes && (store.RunInfo.VisAttr[i] & svClusterStart) &&
                        used < adjustments.size())
                        show += N(adjustments[used++] * FPixelToPointMultiplier);
                    show += "<" + Hex4(store.GlyphInfoList[i].ID) + ">";
                }
                show += "] TJ";
            }
        } else {
            if (glyphRun) {
                show = "<";
                for (const TdeGlyphInfo &glyph : store.GlyphInfoList)
                    show += Hex4(glyph.ID);
                show += "> Tj";
            } else {
                show = "(" + ToCp1252(EscapePDFString(store.RunText)) + ") Tj";
            }
            double natural = 0;
            if (glyphRun) {
                for (const TdeGlyphInfo &glyph : store.GlyphInfoList)
                    natural += glyph.AdvWidth;
                natural = natural * size / 1000;
            } else {
                natural = NaturalWidth(store);
            }
            width = natural + (static_cast<double>(item.Lines[0].size()) - 1) * spacing;
        }
        std::string position;
        if (angle % 360 == 0)
            position = N(ox) + " " + N(oy) + " Td " + show + CRLF + "ET Q " + CRLF;
        else
            position = N(std::cos(a)) + " " + N(std::sin(a)) + " " + N(-std::sin(a)) + " " + N(std::cos(a)) + " " +
                       N(ox) + " " + N(oy) + " Tm " + CRLF + show + CRLF + "ET Q " + CRLF;
        std::string clip;
        if (item.IsClipRect()) {
            const TdeRect &c = item.ClipRect();
            clip = FContent.X(c.Left) + " " + FContent.Y(c.Bottom) + " " +
                   N((c.Right - c.Left) * FPixelToPointMultiplier) + " " +
                   N(FContent.LengthToPointY(c.Bottom - c.Top)) + " re W n" + CRLF;
        }
        std::string state;
        switch (item.TextEffects.TextRenderMode) {
        case TdeTextRenderMode::trmFill: state = "0 Tr"; break;
        case TdeTextRenderMode::trmStroke: state = "1 Tr"; break;
        case TdeTextRenderMode::trmFillStroke: state = "2 Tr"; break;
        }
        if (item.TextEffects.TextRise == TdeTextRise::trSuperscript)
            state += " " + N(item.Font.Size / 2.0) + " Ts";
        else if (item.TextEffects.TextRise == TdeTextRise::trSubscript)
            state += " " + N(-item.Font.Size / 2.0) + " Ts";
        FContent.Append(CRLF + " q " + clip + "BT" + CRLF + state + CRLF + ColorToPDFRGB(store.Font.Color) + " rg" +
                        CRLF + "/F" + std::to_string(fontIndex) + " " + std::to_string(static_cast<int>(size)) +
                        " Tf" + CRLF + position);
    }

    const double startX = x0, startY = y0;
    const double step = static_cast<double>(ScreenPixelsPerInch) / InputXRes() * width;
    FRunTextX += std::cos(a) * step;
    FRunTextY -= std::sin(a) * step;

    bool decorated = false;
    auto decorate = [&](double thickness, double position) {
        const double e = item.Font.Size - position;
        const double sx = startX + e * std::sin(a), sy = startY - e * std::cos(a);
        double length = width * FPixelToPointMultiplier;
        if (!item.IsFromMetafile)
            length = length * 96 / ScreenPixelsPerInch;
        const double reach = std::sqrt(length * length + e * e);
        const double theta = e != 0 ? a + std::atan(length / e) : a + std::numbers::pi;
        const double ex = startX + reach * std::sin(theta), ey = startY - reach * std::cos(theta);
        FContent.Append(CRLF + "q" + CRLF + ColorToPDFRGB(store.Font.Color) + " RG " + N(thickness) + " w " + N(sx) +
                        " " + N(sy) + " m " + N(ex) + " " + N(ey) + " l S" + CRLF + "Q");
        decorated = true;
    };
    if (store.Font.Style.Contains(TFontStyle::fsUnderline))
        decorate(info.FfiUnderscoreSize, info.FfiUnderscorePosition);
    if (store.Font.Style.Contains(TFontStyle::fsStrikeOut))
        decorate(info.FfiStrikeoutSize, info.FfiStrikeoutPosition);
    if (decorated)
        FContent.Append(CRLF);

    // Links once per item, however many stores it has.
    if (!FLinksWritten && Preferences().ActiveHyperLinks && angle % 360 == 0) {
        FLinksWritten = true;
        WriteLinks(N(p2y));
    }
    return width;
}

void TdeCustomPDFEngine::WriteLinks(const std::string &bottomY)
{
    TdeTextItem &item = *FCurrentTextObj;
    WideString text = Utf8ToUtf16(Cp1252ToUtf8(StripTrailingCRLF(ToCp1252(item.Lines[0]))));
    double left = FContent.PixelToPointX(item.X), right = left;
    for (;;) {
        int start = 0;
        WideString link;
        FindNextHyperlink(text, start, link);
        if (link.empty())
            break;
        const int objNo = NewObjectNumber();
        FAnnots += " " + ObjectReference(objNo);
        const WideString before = text.substr(0, static_cast<std::size_t>(start - 1));
        WideString trimmed = link;
        while (!trimmed.empty() && trimmed.back() <= u' ')
            trimmed.pop_back();
        const double beforeWidth = before.empty() ? 0 : GetWideTextExtent(before, item.Font).cx * FPixelToPointMultiplier;
        left += beforeWidth;
        right += beforeWidth + GetWideTextExtent(trimmed, item.Font).cx * FPixelToPointMultiplier;
        const std::string target = ToCp1252(trimmed);
        std::string action;
        if (target.find('@') != std::string::npos) {
            action = "/S/URI /URI" + FWriter.HexString("mailto:" + target, objNo) + CRLF;
        } else if (target.find(":\\") != std::string::npos) {
            std::string path = target;
            const auto drive = path.find(":\\");
            path.replace(drive, 2, "/");
            std::replace(path.begin(), path.end(), '\\', '/');
            if (path.find('/') != std::string::npos && path.find("..") == std::string::npos)
                path = "/" + path;
            // Encrypted, the path is a hexadecimal string like every other.
            const std::string file = FPDFEncrypt ? FWriter.HexString(path, objNo) + " " : "(" + path + ") ";
            action = "/Type /Action/S /Launch/F " + file + "/NewWindow true";
        } else {
            action = "/S/URI /URI" + FWriter.HexString(target, objNo) + CRLF;
        }
        const std::string body = "/Type/Annot/Border []/H/I/Subtype/Link/F 0/C [11 00 01]/Rect [" + FormatNumber(left) +
                                 " " + FContent.Y(FRunTextY) + " " + FormatNumber(right) + " " + bottomY + "]" + CRLF +
                                 "/A" + CRLF + "<<" + CRLF + action + ">>";
        WriteObject(body, objNo, true);
        left = right;
        text = text.substr(static_cast<std::size_t>(start - 1) + link.size());
    }
}

std::string TdeCustomPDFEngine::FontResourceEntries() const
{
    if (FFontTable.empty())
        return {};
    std::string text = "/Font <<";
    for (std::size_t i = 0; i < FFontTable.size(); ++i)
        text += "/F" + std::to_string(i) + " " + ObjectReference(FFontTable[i]->FontInfo().FfiFontObjRef) + " ";
    return text + ">>" + CRLF;
}

void TdeCustomPDFEngine::WriteFonts()
{
    auto writeProgram = [this](TdePDFFont &font, int objNo) {
        TdeExtMemStream program;
        if (Preferences().EmbedTrueTypeFonts == TdeTTFontEmbedding::etfSubset)
            font.GetFontFile2Subset(program);
        else
            font.GetFontFile2(program);
        TMemoryStream data;
        if (!program.Bytes().empty())
            data.WriteBuffer(program.Bytes().data(), program.Bytes().size());
        const std::string length1 = "/Length1 " + std::to_string(program.Bytes().size());
        if (FCompression.Enabled) {
            const int length = NewObjectNumber();
            FWriter.WriteStreamWithLengthObject(objNo, length1 + "/Length" + CRLF + ObjectReference(length) +
                                                           "/Filter/FlateDecode",
                                                length, data, FCompression);
        } else {
            FWriter.WriteObject(length1 + "/Length" + CRLF + std::to_string(program.Bytes().size()), objNo, false);
            FWriter.WriteStreamPart(data, FCompression);
        }
    };
    for (std::size_t n = 0; n < FFontTable.size(); ++n) {
        TdePDFFont &font = *FFontTable[n];
        if (font.FontInfo().FfiType != TdeFontType::ftTrueType)
            continue;
        const bool embed = IsEmbedded(font.Font().Name);
        const std::string no = std::to_string(n);
        if (font.FontEncoding() == TdeFontEncoding::feCID) {
            const int cmap = NewObjectNumber();
            const int descendant = NewObjectNumber();
            WriteObject(font.GetType0FontDictionary(static_cast<int>(n), ObjectReference(cmap), ObjectReference(descendant)),
                        font.FontInfo().FfiFontObjRef, true);
            const int descriptor = NewObjectNumber();
            const std::string registry = FWriter.HexString(TdePDFFont::GetCIDFontRegistryEntry(), descendant);
            const std::string ordering = FWriter.HexString(TdePDFFont::GetCIDFontOrderingEntry(), descendant);
            WriteObject("<<" + font.GetCIDFontDictionary(ObjectReference(descriptor), registry, ordering) + ">>",
                        descendant, true);
            const int program = embed ? NewObjectNumber() : 0;
            WriteObject(font.GetFontDescriptor(embed ? ObjectReference(program) : ""), descriptor, true);
            TdeExtMemStream cmapText;
            font.GetCMap(cmapText);
            TMemoryStream cmapData;
            if (!cmapText.Bytes().empty())
                cmapData.WriteBuffer(cmapText.Bytes().data(), cmapText.Bytes().size());
            const int length = NewObjectNumber();
            std::string dictionary = "/Length" + CRLF + ObjectReference(length);
            if (FCompression.Enabled)
                dictionary += "/Filter/FlateDecode";
            FWriter.WriteStreamWithLengthObject(cmap, dictionary, length, cmapData, FCompression);
            if (embed)
                writeProgram(font, program);
        } else {
            const int descriptor = NewObjectNumber();
            const std::string name = (embed ? font.SubsetPrefix() : "") + EscapeNameChars(font.BaseFont());
            std::string widths;
            for (int i = 0; i < 224; ++i)
                widths += (i ? " " : "") + std::to_string(font.FontInfo().FfiWidths[i]);
            WriteObject("/Type /Font/Subtype /TrueType/Name /F" + no + "/BaseFont /" + name +
                            " /Encoding /WinAnsiEncoding/FirstChar 32/LastChar 255/Widths [" + widths +
                            "]/FontDescriptor " + ObjectReference(descriptor) + CRLF,
                        font.FontInfo().FfiFontObjRef, true);
            const TdePDFFontInfo &info = font.FontInfo();
            const TRect &box = info.FfiFontBBox;
            const int program = embed ? NewObjectNumber() : 0;
            std::string body = "/Type /FontDescriptor/FontName /" + name + " /Flags " + std::to_string(info.FfiFlags) +
                               "/FontBBox[" + std::to_string(box.Left) + " " + std::to_string(box.Bottom) + " " +
                               std::to_string(box.Right) + " " + std::to_string(box.Top) + "]/Ascent " +
                               FloatToPDFStr(info.FfiAscent) + "/Descent " + FloatToPDFStr(info.FfiDescent) +
                               "/CapHeight " + FloatToPDFStr(info.FfiCapHeight) + "/AvgWidth " +
                               std::to_string(info.FfiAvgWidth) + "/MaxWidth " + std::to_string(info.FfiMaxWidth) +
                               "/MissingWidth " + std::to_string(info.FfiMaxWidth) + "/StemH " +
                               std::to_string(info.FfiStemV) + "/StemV " + std::to_string(info.FfiStemV) +
                               "/ItalicAngle " + std::to_string(info.FfiItalicAngle);
            if (embed)
                body += "/FontFile2 " + ObjectReference(program);
            WriteObject(body + CRLF, descriptor, true);
            if (embed)
                writeProgram(font, program);
        }
    }
}

} // namespace tessaran
