#include "docexport/Pdf_Ex_Engine.h"

#include "docexport/Doc_Utils.h"
#include "platform/Codepage1252.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string Number(Extended value) { return FormatPDFNumber(value); }

// True when a text of the field has characters the code page lacks: its
// appearances then show glyphs of a composite font.
bool NeedsGlyphCodes(const TdePDFFormField &field)
{
    std::vector<std::string> texts{field.FValue};
    if (auto *button = dynamic_cast<const TdePDFFormPushButton *>(&field))
        texts.insert(texts.end(), {button->FCaption, button->FDownCaption, button->FRolloverCaption});
    else if (auto *combo = dynamic_cast<const TdePDFFormComboBox *>(&field))
        texts.insert(texts.end(), combo->FItems.begin(), combo->FItems.end());
    else if (auto *list = dynamic_cast<const TdePDFFormListBox *>(&field))
        texts.insert(texts.end(), list->FItems.begin(), list->FItems.end());
    for (const std::string &text : texts)
        if (Cp1252ToUtf8(Utf8ToCp1252(text)) != text)
            return true;
    return false;
}

} // namespace

int FormFieldFlags(const TdePDFFormField &field)
{
    int flags = field.FPreferences.Flags();
    if (dynamic_cast<const TdePDFFormPushButton *>(&field))
        flags += 65536;
    else if (auto *radio = dynamic_cast<const TdePDFFormRadioGroup *>(&field))
        flags += 32768 + (radio->FNoToggleToOff ? 16384 : 0);
    else if (auto *text = dynamic_cast<const TdePDFFormTextField *>(&field))
        flags += (text->FMultiLine ? 4096 : 0) + (text->FPassword ? 8192 : 0) + (text->FFileSelect ? 1048576 : 0) +
                 (text->FDoNotSpellCheck ? 4194304 : 0) + (text->FDoNotScroll ? 8388608 : 0);
    else if (auto *combo = dynamic_cast<const TdePDFFormComboBox *>(&field))
        flags += 131072 + (combo->FEditable ? 262144 : 0);
    else if (auto *list = dynamic_cast<const TdePDFFormListBox *>(&field))
        flags += list->FMultiSelect ? 2097152 : 0;
    return flags;
}

std::string CheckStyleSymbol(TdeCheckStyle style)
{
    static const char *const symbols[] = {"4", "l", "8", "u", "n", "H"};
    const auto i = static_cast<std::size_t>(style);
    return symbols[i < 6 ? i : 0];
}

char16_t CheckStyleMark(TdeCheckStyle style)
{
    static const char16_t marks[] = {u'\u2713', u'\u25CF', u'\u2717', u'\u25C6', u'\u25A0', u'\u2605'};
    const auto i = static_cast<std::size_t>(style);
    return marks[i < 6 ? i : 0];
}

std::string PDFNameText(const std::string &utf8)
{
    static const std::string delimiters = "()<>[]{}/%#";
    std::string name;
    for (unsigned char c : utf8) {
        if (c < 0x21 || c > 0x7E || delimiters.find(static_cast<char>(c)) != std::string::npos) {
            char code[4];
            std::snprintf(code, sizeof code, "#%02X", c);
            name += code;
        } else {
            name += static_cast<char>(c);
        }
    }
    return name;
}

// ---- Collecting ---------------------------------------------------------------------

void TdeExPDFEngine::AddFormItem(std::unique_ptr<TdePDFFormField> field)
{
    if (!field || !IsDocumentStarted())
        return;
    auto *radio = dynamic_cast<TdePDFFormRadioGroup *>(field.get());
    if (radio && radio->FItems.empty())
        return;
    TdeRect &r = field->FRect;
    r = TdeRect{UnitToNativeX(r.Left), UnitToNativeY(r.Top), UnitToNativeX(r.Right), UnitToNativeY(r.Bottom)};
    const TdeBandType band = BandType();
    SetBandType(TdeBandType::btContent);
    const TdeRect b = BandRect();
    SetBandType(band);
    auto inBand = [&](const TdeRect &rect) {
        return rect.Left >= b.Left && rect.Left <= b.Right && rect.Top >= b.Top && rect.Top <= b.Bottom;
    };
    auto offset = [&](TdeRect &rect) {
        rect.Left += b.Left;
        rect.Top += b.Top;
        rect.Right += b.Left;
        rect.Bottom += b.Top;
    };
    if (radio) {
        for (auto &[number, item] : radio->FItems) {
            if (!item)
                continue;
            TdeRect &ir = item->FRect;
            ir = TdeRect{UnitToNativeX(ir.Left), UnitToNativeY(ir.Top), UnitToNativeX(ir.Right),
                         UnitToNativeY(ir.Bottom)};
            offset(ir);
            if (!inBand(ir))
                item.reset();
        }
    } else {
        offset(r);
        if (!inBand(r))
            return;
    }
    const int N = NewObjectNumber();
    field->FPageNo = CurrentPage();
    // A button without a page of its own lies on its group's page.
    if (radio)
        for (auto &[number, item] : radio->FItems)
            if (item && item->FPageNo == 0)
                item->FPageNo = field->FPageNo;
    const bool marks = radio || dynamic_cast<TdePDFFormCheckBox *>(field.get());
    if (marks) {
        // The marks come from a face that has them, by glyph number.
        field->FFont.Name = "DejaVu Sans";
        field->FFont.Charset = DefaultFontCharset;
    }
    field->FFontIndex = FormFontIndex(field->FFont, marks || NeedsGlyphCodes(*field));
    FPDFFormFields.emplace_back(N, std::move(field));
}

void TdeExPDFEngine::AddFieldWidgets()
{
    for (auto &[N, field] : FPDFFormFields) {
        if (field->FPageNo != CurrentPage())
            continue;
        if (auto *radio = dynamic_cast<TdePDFFormRadioGroup *>(field.get())) {
            for (auto &[number, item] : radio->FItems)
                if (item) {
                    number = NewObjectNumber();
                    FAnnots += " " + ObjectReference(number);
                }
        } else {
            FAnnots += " " + ObjectReference(N);
        }
    }
}

// ---- The signature field -----------------------------------------------------------------

void TdeExPDFEngine::BuildSignatureField()
{
    const TdeFieldProperties &properties = DigitalSignature().FieldProperties;
    TdeRect bounds{properties.FieldBounds.FLLeft, properties.FieldBounds.FLTop, properties.FieldBounds.FLRight,
                   properties.FieldBounds.FLBotom};
    if (bounds.Right <= bounds.Left)
        bounds.Right = bounds.Left + 1;
    if (bounds.Bottom <= bounds.Top)
        bounds.Bottom = bounds.Top + 1;
    FSigFormField = std::make_unique<TdePDFFormSignatureField>();
    FSigFormField->FFieldName = properties.FieldName;
    FSigFormField->FBackgroundColor = properties.FillColor;
    FSigFormField->FPageNo = properties.PageNumber;
    // Every unit converts through its own factor: pixels, which convert to
    // themselves, are not scaled again.
    TdeRect r{UnitToNativeX(bounds.Left), UnitToNativeY(bounds.Top), UnitToNativeX(bounds.Right),
              UnitToNativeY(bounds.Bottom)};
    FSigFormField->FSignature = FSignature;
    FSignDoc = true;
    FSigFieldName = properties.FieldName;
    const TdeBandType band = BandType();
    SetBandType(TdeBandType::btContent);
    const TdeRect b = BandRect();
    SetBandType(band);
    r.Left += b.Left;
    r.Top += b.Top;
    r.Right += b.Left;
    r.Bottom += b.Top;
    FSigFormField->FRect = r;
    SetSignatureRect(r, properties.PageNumber);
}

// ---- Writing ---------------------------------------------------------------------------

std::string TdeExPDFEngine::FieldRect(const TdePDFFormField &field)
{
    const double fx = double(ScreenPixelsPerInch) / InputXRes();
    const double fy = double(ScreenPixelsPerInch) / InputYRes();
    const TdeRect &r = field.FRect;
    return Number(PixelToPointX(r.Left) * fx) + " " + Number(PixelToPointY(field.FPageNo, r.Top) * fy) + " " +
           Number(PixelToPointX(r.Right) * fx) + " " + Number(PixelToPointY(field.FPageNo, r.Bottom) * fy);
}

void TdeExPDFEngine::WriteFormField(int i, int N, TdePDFFormField &field)
{
    const double W = (field.FRect.Right - field.FRect.Left) * FPixelToPointMultiplier;
    const double H = (field.FRect.Bottom - field.FRect.Top) * FPixelToPointMultiplier;
    const int fi = field.FFontIndex;
    const TFont &font = field.FFont;
    const std::string R = FieldRect(field);
    // Text strings in UTF-16, so no character is lost to a code page.
    auto U = [&](const std::string &utf8) { return "<" + EncodeInfoString(Utf8ToUtf16(utf8), N) + ">"; };
    auto A = [&](const std::string &ascii) { return "<" + AHex(ascii, N) + ">"; };
    const std::string DA = "/F" + std::to_string(fi) + " " + std::to_string(font.Size) + " Tf " +
                           ColorToPDFRGB(font.Color) + " rg ";
    const std::string back = ColorToPDFRGB(field.FBackgroundColor);
    const std::string border = ColorToPDFRGB(field.FBorderColor);
    auto name = [&](const char *kind) {
        return field.FFieldName.empty() ? kind + std::to_string(i) : field.FFieldName;
    };
    const int flags = FormFieldFlags(field);
    std::string text;

    if (auto *button = dynamic_cast<TdePDFFormPushButton *>(&field)) {
        const int n = NewObjectNumber(), d = NewObjectNumber(), r = NewObjectNumber();
        WritePushButtonAppearance(button->FCaption, n, false, W, H, field.FBackgroundColor, field.FBorderColor, font,
                                  fi);
        WritePushButtonAppearance(button->FDownCaption, d, true, W, H, field.FBackgroundColor, field.FBorderColor,
                                  font, fi);
        WritePushButtonAppearance(button->FRolloverCaption, r, false, W, H, field.FBackgroundColor,
                                  field.FBorderColor, font, fi);
        text = "/Type /Annot /Subtype /Widget /Rect [ " + R + " ] " + GetBorderStyleEntry(2, 2) + "/TU " +
               U(field.FAltFeildName) + " " + "/DA " + A(DA) + " " + "/FT /Btn ";
        if (field.FVisible)
            text += "/MK << /BG [ " + back + " ] /BC [ " + border + " ] /AC " + U(button->FDownCaption) + " /RC " +
                    U(button->FRolloverCaption) + " /CA " + U(button->FCaption) + ">> " + "/H /P " + "/AP << /N " +
                    ObjectReference(n) + " /D " + ObjectReference(d) + " /R " + ObjectReference(r) + " >>";
        else
            text += "/H /N ";
        text += "/T " + U(name("Btn")) + " ";
        switch (button->FActionKind) {
        case TdeButtonActionKind::bakResetForm: text += "/A << /S /ResetForm >>"; break;
        case TdeButtonActionKind::bakSubmitForm:
            text += std::string("/A << /S /SubmitForm ") +
                    (button->FSubmitFormat == TdeSubmitFormat::sfHTML   ? "/Flags 4 "
                     : button->FSubmitFormat == TdeSubmitFormat::sfXFDF ? "/Flags 32 "
                                                                        : "") +
                    "/F " + A(button->FSubmitURL) + " >>";
            break;
        case TdeButtonActionKind::bakJavaScript: text += "/A << /S /JavaScript /JS " + U(button->FJavaScript) + " >>"; break;
        case TdeButtonActionKind::bakNone: break;
        }
    } else if (auto *check = dynamic_cast<TdePDFFormCheckBox *>(&field)) {
        const int on = NewObjectNumber(), off = NewObjectNumber(), downOn = NewObjectNumber(),
                  downOff = NewObjectNumber();
        const TdeCheckStyle style = check->FCheckStyle;
        WriteCheckAppearance(style, on, true, W, H, field.FBackgroundColor, field.FBorderColor, font, fi);
        WriteCheckAppearance(style, off, false, W, H, field.FBackgroundColor, field.FBorderColor, font, fi);
        WriteCheckDownAppearance(style, downOn, true, W, H, field.FBackgroundColor, field.FBorderColor, font, fi);
        WriteCheckDownAppearance(style, downOff, false, W, H, field.FBackgroundColor, field.FBorderColor, font, fi);
        const char *state = check->FChecked ? "/Yes " : "/Off ";
        text = "/Type /Annot /Rect [ " + R + " ] " + GetBorderStyleEntry(1, 0) + " " + "/H /N " + "/FT /Btn " +
               "/Subtype /Widget " + "/DA " + A(DA) + " " + "/MK << /BC [ " + border + " ] /BG [ " + back +
               " ] /CA " + A(CheckStyleSymbol(style)) + ">> " + "/AP << /N << /Yes " + ObjectReference(on) +
               " /Off " + ObjectReference(off) + " >> /D << /Yes " + ObjectReference(downOn) + " /Off " +
               ObjectReference(downOff) + " >> >> " + "/T " + U(name("ChBtn")) + " " + "/V " + state + "/DV " +
               state + "/AS " + state;
    } else if (auto *radio = dynamic_cast<TdePDFFormRadioGroup *>(&field)) {
        const int selected = radio->FSelectedIndex;
        if (selected >= 0 && selected < static_cast<int>(radio->FItems.size()) &&
            radio->FItems[static_cast<std::size_t>(selected)].second) {
            const std::string value = PDFNameText(radio->FItems[static_cast<std::size_t>(selected)].second->FValue);
            text += "/DV /" + value + " /V /" + value;
        }
        text += "/T " + U(name("RBtn")) + " " + "/DA " + A(DA) + " " + "/FT /Btn" + "/Kids [";
        for (std::size_t j = 0; j < radio->FItems.size(); ++j) {
            auto &[K, item] = radio->FItems[j];
            if (!item || K == 0)
                continue;
            text += " " + ObjectReference(K);
            const int a1 = NewObjectNumber(), a2 = NewObjectNumber(), a3 = NewObjectNumber(),
                      a4 = NewObjectNumber();
            const double iw = (item->FRect.Right - item->FRect.Left) * FPixelToPointMultiplier;
            const double ih = (item->FRect.Bottom - item->FRect.Top) * FPixelToPointMultiplier;
            const std::string value = PDFNameText(item->FValue);
            const std::string widget =
                "/Type /Annot/Subtype /Widget/P " + ObjectReference(PageObject(field.FPageNo)) + "/Rect [" +
                FieldRect(*item) + "]" + "/Parent " + ObjectReference(N) + " " + "/MK <<" + "/BG [" +
                ColorToPDFRGB(item->FBackgroundColor) + "]" + "/BC [" + ColorToPDFRGB(item->FBorderColor) + "]" +
                "/CA " + "<" + AHex(CheckStyleSymbol(radio->FCheckStyle), K) + ">" + ">>" +
                (static_cast<int>(j) == selected ? "/AS /" + value : std::string("/AS /Off")) + "/F 4" +
                "/AP <<" + "/N <<" + "/" + value + " " + ObjectReference(a1) + "/Off " + ObjectReference(a2) +
                ">>" + " /D <<" + "/" + value + " " + ObjectReference(a3) + "/Off " + ObjectReference(a4) + ">>" +
                " >>";
            WriteCheckAppearance(radio->FCheckStyle, a1, true, iw, ih, item->FBackgroundColor, item->FBorderColor,
                                 font, fi);
            WriteCheckAppearance(radio->FCheckStyle, a2, false, iw, ih, item->FBackgroundColor, item->FBorderColor,
                                 font, fi);
            WriteCheckDownAppearance(radio->FCheckStyle, a3, true, iw, ih, item->FBackgroundColor,
                                     item->FBorderColor, font, fi);
            WriteCheckDownAppearance(radio->FCheckStyle, a4, false, iw, ih, item->FBackgroundColor,
                                     item->FBorderColor, font, fi);
            WriteObject(widget + CRLF, K, true);
        }
        text += "]";
    } else if (auto *edit = dynamic_cast<TdePDFFormTextField *>(&field)) {
        const int n = NewObjectNumber();
        WriteTextFieldAppearance(field.FValue, edit->FMultiLine, n, W, H, field.FBackgroundColor, field.FBorderColor,
                                 font, fi, edit->FShowBorder);
        text = "/Type /Annot /Subtype /Widget " + GetBorderStyleEntry(1, 0) + " " + "/MK << " +
               (edit->FShowBorder ? "/BC [ " + border + " ] " : std::string()) + "/BG [ " + back + " ] " + ">> " +
               "/Rect [ " + R + " ] " + "/DA " + A(DA) + " " + "/FT /Tx " +
               (edit->FAlignment == TdeAnnotAlignment::aalRight    ? "/Q 2"
                : edit->FAlignment == TdeAnnotAlignment::aalCenter ? "/Q 1"
                                                                   : "/Q 0") +
               " /V " + U(field.FValue) + " " + "/DV " + U(field.FValue) + "/AP << /N " + ObjectReference(n) +
               " >> " + "/T " + U(name("Text")) + " " +
               (edit->FMaxLength != -1 ? "/MaxLen " + std::to_string(edit->FMaxLength) : std::string());
    } else if (auto *combo = dynamic_cast<TdePDFFormComboBox *>(&field)) {
        std::string V;
        if (combo->FSelectedIndex >= 0 && combo->FSelectedIndex < static_cast<int>(combo->FItems.size()))
            V = combo->FItems[static_cast<std::size_t>(combo->FSelectedIndex)];
        else
            V = !field.FValue.empty() ? field.FValue : "Choice";
        const int n = NewObjectNumber();
        WriteComboBoxAppearance(V, n, field.FBackgroundColor, W, H, field.FBorderColor, font, fi);
        std::string options;
        for (const std::string &item : combo->FItems)
            options += " " + U(item);
        text = "/Type /Annot /Subtype /Widget /Rect [ " + R + " ]" + GetBorderStyleEntry(1, 0) + " " + "/Opt [ " +
               options + " ] " + "/DA <" + AHex("3 14.5 Td " + DA, N) + "> " + "/FT /Ch " + "/MK << /BC [ " +
               border + " ] /BG [ " + back + " ] >> " + "/AP << /N " + ObjectReference(n) + " >> " + "/T " +
               U(name("Combo")) + " " + "/V " + U(V) + " " + "/DV " + U(V) + " ";
    } else if (auto *list = dynamic_cast<TdePDFFormListBox *>(&field)) {
        const int n = NewObjectNumber();
        WriteListBoxAppearance(list->FItems, n, W, H, field.FBackgroundColor, field.FBorderColor, font, fi);
        std::string options;
        for (const std::string &item : list->FItems)
            options += " " + U(item);
        text = "/Type /Annot /Subtype /Widget /Rect [ " + R + " ]" + GetBorderStyleEntry(1, 3) + " " + "/Opt [ " +
               options + " ] " + "/DA " + A(DA) + " " + "/FT /Ch " + "/MK << /BC [ " + border + " ] /BG [ " + back +
               " ] >> ";
        if (!list->FItems.empty())
            text += "/V " + U(list->FItems.front()) + " " + "/DV " + U(list->FItems.front()) + " ";
        text += "/AP << /N " + ObjectReference(n) + " >> " + "/T " + U(name("List")) + " ";
    }
    if (!dynamic_cast<TdePDFFormRadioGroup *>(&field))
        text += "/F 4";
    text += " /Ff " + std::to_string(flags);
    WriteObject(text + CRLF, N, true);
}

void TdeExPDFEngine::WriteFormFields()
{
    FAcroForms = NewObjectNumber();
    std::string fields;
    for (std::size_t i = 0; i < FPDFFormFields.size(); ++i) {
        auto &[N, field] = FPDFFormFields[i];
        WriteFormField(static_cast<int>(i), N, *field);
        fields += std::to_string(N) + " 0 R ";
    }
    // A signature field the file does not carry is not listed.
    if (FSignDoc && FSigObjNumber > 0)
        fields += std::to_string(FSigObjNumber) + " 0 R ";
    std::string text;
    if (!FPDFFormFields.empty()) {
        text = "/Fields [" + fields + "]" + "/NeedAppearances false" + "/DA <" +
               AHex("/F" + std::to_string(FPDFFormFields.front().second->FFontIndex) + " 12 Tf 0 g", FAcroForms) +
               ">" + "/DR << /Font <<";
        // Each font once: a key stands once in a dictionary.
        std::vector<int> listed;
        for (const auto &[N, field] : FPDFFormFields) {
            const int fi = field->FFontIndex;
            if (fi < 0 || std::find(listed.begin(), listed.end(), fi) != listed.end())
                continue;
            listed.push_back(fi);
            text += " /F" + std::to_string(fi) + " " +
                    ObjectReference(FFontTable[static_cast<std::size_t>(fi)]->FontInfo().FfiFontObjRef);
        }
        text += ">> >>" + CRLF;
    } else {
        text = "/Fields [" + fields + "] /NeedAppearances false /" + "Resources " + ObjectReference(5) + CRLF;
    }
    WriteObject(text, FAcroForms, true);
}

} // namespace tessaran
