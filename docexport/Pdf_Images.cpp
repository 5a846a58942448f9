// The PDF engine's pictures: image items and pass-through JPEG streams as
// image XObjects, each written once per distinct rendering and painted with
// "cm" and "Do"; image frames; the page background colour and picture.

#include "docexport/Pdf_Images.h"

#include "docexport/Doc_Pictures.h"
#include "docexport/Doc_Utils.h"
#include "docexport/Pdf_Compression.h"
#include "docexport/Pdf_Engine.h"
#include "platform/Jpeg_Image.h"

#include <cmath>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string N(Extended v) { return FormatPDFNumber(v); }

} // namespace

// ---- Settings of written objects ----------------------------------------------------

bool TdePDFImageSettings::IsEqual(const TdeImageItem &item, int originalWidth, int originalHeight) const
{
    const TdeImageSettings &I = item.Settings;
    if (I.OutputImageFormat() != OutputImageFormat())
        return false;
    if (OutputImageFormat() == TdeOutputImageFormat::ifJPEG && I.JPEGQuality != JPEGQuality)
        return false;
    if (I.ImagePixelFormat != ImagePixelFormat || I.SourceDPI != SourceDPI || I.Autosize != Autosize)
        return false;
    if (Stretch != I.Stretch) {
        if (Stretch)
            return originalWidth == item.Width || originalHeight == item.Height;
        return originalWidth == ImageWidth || originalHeight == ImageHeight;
    }
    if (Stretch)
        return true;
    const bool sameSize = ImageWidth == item.Width && ImageHeight == item.Height;
    if (Center != I.Center)
        return sameSize && originalWidth == ImageWidth && originalHeight == ImageHeight;
    if (Center && originalWidth == ImageWidth && originalHeight == ImageHeight &&
        (originalWidth > item.Width || originalHeight > item.Height))
        return false;
    return sameSize;
}

std::string GetImageFilter(TdeOutputImageFormat format, const TdeCompression &compression)
{
    switch (format) {
    case TdeOutputImageFormat::ifBMP: return compression.Enabled ? "/Filter/FlateDecode" : "";
    case TdeOutputImageFormat::ifJPEG: return "/Filter/DCTDecode";
    case TdeOutputImageFormat::ifCCITT3:
    case TdeOutputImageFormat::ifCCITT4: return "/Filter[/CCITTFaxDecode]";
    default: return "";
    }
}

std::unique_ptr<TMemoryStream> BitmapToRGBStream(const TBitmap &bitmap)
{
    auto stream = std::make_unique<TMemoryStream>();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.Width()) * 3);
    const int bpp = bitmap.BytesPerPixel();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t *line = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t *pixel = line + static_cast<std::size_t>(x) * bpp;
            row[static_cast<std::size_t>(x) * 3] = pixel[2];
            row[static_cast<std::size_t>(x) * 3 + 1] = pixel[1];
            row[static_cast<std::size_t>(x) * 3 + 2] = pixel[0];
        }
        stream->WriteBuffer(row.data(), row.size());
    }
    return stream;
}

// ---- Image objects of a document ---------------------------------------------------------

std::string TdePDFImageObjects::ImageName(int index, int entry)
{
    return std::to_string(index) + "_" + std::to_string(entry);
}

void TdePDFImageObjects::BeginDocument()
{
    FImageSettings.clear();
    FBGImageObj = -1;
    FBackgroundImageLeft = FBackgroundImageTop = FBackgroundImageWidth = FBackgroundImageHeight = 0;
    BeginPage();
}

void TdePDFImageObjects::BeginPage()
{
    FImageStream.Clear();
    FImageXRefList.clear();
}

std::vector<TdePDFImageSettings> &TdePDFImageObjects::SettingsOf(int index)
{
    if (static_cast<int>(FImageSettings.size()) < index + 1)
        FImageSettings.resize(static_cast<std::size_t>(index) + 1);
    return FImageSettings[static_cast<std::size_t>(index)];
}

std::string TdePDFImageObjects::ResourceEntries() const
{
    std::string entries;
    for (std::size_t i = 0; i < FImageSettings.size(); ++i)
        for (std::size_t j = 0; j < FImageSettings[i].size(); ++j)
            entries += "/Img" + ImageName(static_cast<int>(i), static_cast<int>(j)) + " " +
                       TdePDFObjectWriter::ObjectReference(FImageSettings[i][j].ObjNo);
    if (FBGImageObj > 0)
        entries += " /Img0 " + TdePDFObjectWriter::ObjectReference(FBGImageObj);
    return entries.empty() ? "" : "/XObject <<" + entries + " >>";
}

std::string TdePDFImageObjects::RecordWritten(const TdeImageItem &item, int objNo)
{
    std::vector<TdePDFImageSettings> &written = SettingsOf(item.IndexNo);
    TdePDFImageSettings settings;
    settings.Assign(item.Settings);
    settings.ObjNo = objNo;
    settings.DisplayWidth = item.DisplayRect.Right - item.DisplayRect.Left;
    settings.DisplayHeight = item.DisplayRect.Bottom - item.DisplayRect.Top;
    settings.ImageWidth = item.Width;
    settings.ImageHeight = item.Height;
    written.push_back(settings);
    return ImageName(item.IndexNo, static_cast<int>(written.size()) - 1);
}

void TdePDFImageObjects::WriteImageObject(int objNo, const std::string &dictionary, const TMemoryStream &data)
{
    FImageXRefList.emplace_back(FImageStream.Size(), objNo);
    const std::string head = TdePDFObjectWriter::ObjectHeader(objNo) + CRLF + dictionary + CRLF + "stream" + CRLF;
    const std::string tail = CRLF + "endstream" + CRLF + "endobj" + CRLF;
    FImageStream.WriteBuffer(head.data(), head.size());
    TMemoryStream encrypted;
    const TMemoryStream *bytes = &data;
    if (Writer) {
        encrypted = data;
        Writer->EncryptStream(encrypted, objNo);
        bytes = &encrypted;
    }
    if (bytes->Size() > 0)
        FImageStream.WriteBuffer(bytes->Bytes().data(), bytes->Bytes().size());
    FImageStream.WriteBuffer(tail.data(), tail.size());
}

// ---- Rendering ----------------------------------------------------------------------------

void TdeCustomPDFEngine::RenderImageItem(TdeImageItem &item)
{
    if (!ItemsToRender().Contains(TdeItemsToRenderKind::irImage))
        return;
    const TdePicture *picture = GetImageResource(item.IndexNo);
    if (!picture || picture->Empty())
        return;
    std::vector<TdePDFImageSettings> &written = FImages.SettingsOf(item.IndexNo);
    std::string name;
    for (std::size_t j = 0; j < written.size() && name.empty(); ++j)
        if (written[j].IsEqual(item, picture->Width, picture->Height))
            name = TdePDFImageObjects::ImageName(item.IndexNo, static_cast<int>(j));
    if (name.empty()) {
        TBitmap bitmap;
        try {
            bitmap = ImageItemToBitmap(item);
        } catch (const EInvalidGraphic &) {
            return; // a size no bitmap can have
        }
        if (bitmap.Empty())
            return;
        // JPEG is written as JPEG, the CCITT formats as coded one-bit data
        // where the engine codes them; everything else as deflated RGB rows.
        const TdeOutputImageFormat format = item.Settings.OutputImageFormat();
        const bool jpeg = format == TdeOutputImageFormat::ifJPEG;
        std::unique_ptr<TMemoryStream> ccitt;
        if (format == TdeOutputImageFormat::ifCCITT3 || format == TdeOutputImageFormat::ifCCITT4)
            ccitt = EncodeCCITTImage(bitmap, format);
        TMemoryStream data;
        std::string filter;
        if (ccitt) {
            const int n = NewObjectNumber();
            name = FImages.RecordWritten(item, n);
            FImages.WriteImageObject(
                n,
                "<< /Type/XObject/Subtype/Image/Name/Img" + name + "/Width " + std::to_string(bitmap.Width()) +
                    "/Height " + std::to_string(bitmap.Height()) + "/BitsPerComponent 1" +
                    GetImageFilter(format, Compression()) + "/ColorSpace/DeviceGray /DecodeParms [<</K " +
                    (format == TdeOutputImageFormat::ifCCITT3 ? "0" : "-1") + " /Columns " +
                    std::to_string(bitmap.Width()) + " /Rows " + std::to_string(bitmap.Height()) + " >>]/Length " +
                    std::to_string(ccitt->Size()) + ">>",
                *ccitt);
            FContent.Append(WriteImagePlacement(name, item));
            return;
        }
        if (jpeg) {
            data = *BitmapToJPEGStream(bitmap, item.Settings.JPEGQuality);
            filter = GetImageFilter(TdeOutputImageFormat::ifJPEG, Compression());
        } else {
            WriteStreamData(*BitmapToRGBStream(bitmap), data, Compression().Enabled, Compression().Level);
            filter = GetImageFilter(TdeOutputImageFormat::ifBMP, Compression());
        }
        const int n = NewObjectNumber();
        name = FImages.RecordWritten(item, n);
        FImages.WriteImageObject(n,
                                 "<< /Type/XObject/Subtype/Image/Name/Img" + name + "/Width " +
                                     std::to_string(bitmap.Width()) + "/Height " + std::to_string(bitmap.Height()) +
                                     "/BitsPerComponent 8" + filter + "/ColorSpace/DeviceRGB/Length " +
                                     std::to_string(data.Size()) + ">>",
                                 data);
    }
    FContent.Append(WriteImagePlacement(name, item));
}

void TdeCustomPDFEngine::RenderImageStreamItem(TdeImageStream &item)
{
    if (!ItemsToRender().Contains(TdeItemsToRenderKind::irImage) || item.IndexNo < 0)
        return;
    bool grey = false;
    TBitmap decoded;
    try {
        decoded = DecodeJpeg(item.Stream.Bytes(), &grey);
    } catch (const EInvalidGraphic &) {
        return;
    }
    const int n = NewObjectNumber();
    const std::string name = FImages.RecordWritten(item, n);
    // The object's size is the picture's own, whatever the caller said.
    FImages.WriteImageObject(n,
                             "<< /Type/XObject/Subtype/Image/Name/Img" + name + "/Width " +
                                 std::to_string(decoded.Width()) + "/Height " + std::to_string(decoded.Height()) +
                                 "/BitsPerComponent 8/ColorSpace/" + (grey ? "DeviceGray" : "DeviceRGB") +
                                 "/Filter/DCTDecode/Length " + std::to_string(item.Stream.Size()) + ">>",
                             item.Stream);
    FContent.Append(WriteImagePlacement(name, item));
}

std::string TdeCustomPDFEngine::WriteImagePlacement(const std::string &name, const TdeImageItem &item) const
{
    std::string text;
    if (item.Settings.IsFrame)
        text = const_cast<TdeCustomPDFEngine *>(this)->DrawImageFrame(item) + CRLF;
    const double width = item.Width == 0 ? 1 : item.Width;
    const double height = item.Height == 0 ? 1 : item.Height;
    const Extended w = FContent.PixelToPointX(std::fabs(width));
    const Extended h = FContent.LengthToPointY(std::fabs(height));
    const int inclination = item.Settings.Inclination;
    if (inclination == 0 || inclination == 360)
        return text + CRLF + "q" + CRLF + N(w) + " 0 0 " + N(h) + " " + FContent.X(item.X) + " " +
               FContent.Y(std::fabs(height) + item.Y) + " cm" + CRLF + "/Img" + name + " Do" + CRLF + "Q";
    // Turned about the display rectangle's top-left corner.
    const double a = inclination * M_PI / 180.0;
    const double L = item.DisplayRect.Left, T = item.DisplayRect.Top;
    const double dx = item.X - L, dy = item.Y + height - T;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double theta = dy != 0 ? std::atan(dx / dy) + a : a + M_PI;
    const double x = L + r * std::sin(theta), y = T + r * std::cos(theta);
    return text + CRLF + "q 1 0 0 1 " + FContent.X(x) + " " + FContent.Y(y) + " cm\r" + N(std::cos(a)) + " " +
           N(std::sin(a)) + " " + N(-std::sin(a)) + " " + N(std::cos(a)) + " 0 0 cm\r" + N(w) + " " + N(0) + " " +
           N(0) + " " + N(h) + " 0 0 cm\r /Img" + name + " Do" + CRLF + "Q";
}

std::string TdeCustomPDFEngine::DrawImageFrame(const TdeImageItem &item)
{
    const TdeRect &d = item.DisplayRect;
    const Extended x0 = FContent.PixelToPointX(d.Left), y0 = FContent.PixelToPointY(d.Top);
    const Extended w = FContent.PixelToPointX(d.Right - d.Left), h = FContent.LengthToPointY(d.Bottom - d.Top);
    const double a = item.Settings.Inclination * M_PI / 180.0;
    const Extended x1 = x0 + h * std::sin(a), y1 = y0 - h * std::cos(a);
    const Extended x3 = x0 + w * std::cos(a), y3 = y0 + w * std::sin(a);
    const double dd = std::sqrt(double(w * w + h * h));
    const double phi = w != 0 ? a - std::atan(double(h / w)) : a - M_PI;
    const Extended x2 = x0 + dd * std::cos(phi), y2 = y0 + dd * std::sin(phi);
    const auto pt = [](Extended x, Extended y) { return N(x) + " " + N(y); };
    const std::string P0 = pt(x0, y0), P1 = pt(x1, y1), P2 = pt(x2, y2), P3 = pt(x3, y3);
    const std::string R = P0 + " m " + P1 + " l " + P2 + " l " + P3 + " l " + P0 + " l ";
    std::string text;
    if (item.Brush.Style == TBrushStyle::bsSolid)
        text += CRLF + "q" + CRLF + ColorToPDFRGB(item.Brush.Color) + " rg" + CRLF + R + CRLF + "f" + CRLF + "Q";
    else if (item.Brush.Style != TBrushStyle::bsClear)
        text += CRLF + "q" + CRLF + "/CSP cs " + ColorToPDFRGB(item.Brush.Color) + " /" +
                FContent.PatternName(item.Brush.Style) + " scn" + CRLF + "n" + CRLF + R + CRLF + "h" + CRLF + "f" +
                CRLF + "Q";
    if (item.Pen.Style != TPenStyle::psClear) {
        text += CRLF + "q" + CRLF + FContent.GetPenStyleOperators(item.Pen.Style) +
                N(item.Pen.Width * FPixelToPointMultiplier) + " w\r" + ColorToPDFRGB(item.Pen.Color) + " RG";
        const TdeFrame &f = item.Frame;
        if (f.IsLeft && f.IsTop && f.IsRight && f.IsBottom) {
            text += CRLF + R + CRLF + " s Q";
        } else {
            const auto side = [&](const std::string &from, const std::string &to) {
                text += CRLF + from + " m " + CRLF + to + " l ";
            };
            if (f.IsLeft)
                side(P1, P0);
            if (f.IsTop)
                side(P0, P3);
            if (f.IsRight)
                side(P3, P2);
            if (f.IsBottom)
                side(P2, P1);
            text += CRLF + "S" + CRLF + "Q";
        }
    }
    return text;
}

std::unique_ptr<TMemoryStream> TdeCustomPDFEngine::EncodeCCITTImage(const TBitmap &, TdeOutputImageFormat)
{
    return nullptr;
}

// ---- Page background ------------------------------------------------------------------------

int TdeCustomPDFEngine::WriteBackgroundImage(const TBitmap &bitmap)
{
    // Written with the filter that matches its bytes: RGB rows for BMP
    // output, JPEG for every other format.
    TMemoryStream data;
    std::string filter;
    if (ImageSettings().OutputImageFormat() == TdeOutputImageFormat::ifBMP) {
        WriteStreamData(*BitmapToRGBStream(bitmap), data, Compression().Enabled, Compression().Level);
        filter = GetImageFilter(TdeOutputImageFormat::ifBMP, Compression());
    } else {
        data = *BitmapToJPEGStream(bitmap, ImageSettings().JPEGQuality);
        filter = GetImageFilter(TdeOutputImageFormat::ifJPEG, Compression());
    }
    const int n = NewObjectNumber();
    FImages.WriteImageObject(n,
                             "<<" + CRLF + "/Type/XObject/Subtype/Image/Name/Img0/Width " +
                                 std::to_string(bitmap.Width()) + "/Height " + std::to_string(bitmap.Height()) +
                                 "/BitsPerComponent 8/ColorSpace/DeviceRGB" + filter + "/Length " +
                                 std::to_string(data.Size()) + CRLF + ">>",
                             data);
    return n;
}

void TdeCustomPDFEngine::WritePageBackground()
{
    const TdePageInfo &info = FPageList[static_cast<std::size_t>(CurrentPage() - 1)];
    const Extended W = info.Width, H = info.Height;
    const Extended sx = Extended(InputXRes()) / ScreenPixelsPerInch, sy = Extended(InputYRes()) / ScreenPixelsPerInch;
    std::string text;
    if (BackgroundColor() != clNone)
        text += ColorToPDFRGB(BackgroundColor()) + " rg n " + N(0) + " " + N(0) + " " + N(W * sx) + " " + N(H * sy) +
                " re f " + CRLF;
    TBitmap picture;
    if (DecodePicture(BackgroundImage(), picture)) {
        const Extended pw = picture.Width(), ph = picture.Height();
        using D = TdeBackgroundDisplayType;
        const D type = BackgroundImageDisplayType();
        Extended x = 0, y = 0;
        switch (type) {
        case D::dtTopCenter:
        case D::dtCenter:
        case D::dtBottomCenter: x = W / 2 - pw / 2; break;
        case D::dtTopRight:
        case D::dtCenterRight:
        case D::dtBottomRight: x = W - pw; break;
        default: break;
        }
        switch (type) {
        case D::dtTopLeft:
        case D::dtTopCenter:
        case D::dtTopRight: y = H - ph; break;
        case D::dtCenterLeft:
        case D::dtCenter:
        case D::dtCenterRight: y = H / 2 - ph / 2; break;
        default: break;
        }
        const Extended rw = type == D::dtTile ? W : pw, rh = type == D::dtTile ? H : ph;
        // The picture is written when a page first shows it.
        if (FImages.FBGImageObj < 0)
            FImages.FBGImageObj = WriteBackgroundImage(picture);
        FImages.FBackgroundImageLeft = std::max<Extended>(0, x);
        FImages.FBackgroundImageTop = std::max<Extended>(0, y);
        FImages.FBackgroundImageWidth = pw;
        FImages.FBackgroundImageHeight = ph;
        text += "/CSP cs /PI scn n " + N(x * sx) + " " + N(y * sy) + " " + N(rw * sx) + " " + N(rh * sy) + " re f";
    }
    if (!text.empty())
        FContent.Append(CRLF + "q" + CRLF + text + CRLF + "Q ");
}

} // namespace tessaran
