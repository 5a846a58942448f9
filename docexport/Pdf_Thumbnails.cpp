// Page thumbnails of the PDF engine: requests per page, one thumbnail
// image object per image and settings, written when the document ends.

#include "docexport/Pdf_Thumbnails.h"

#include "docexport/Doc_Pictures.h"
#include "docexport/Pdf_Compression.h"
#include "docexport/Pdf_Engine.h"

#include <algorithm>

namespace tessaran {

namespace {
const std::string CRLF = "\r\n";
}

TdePDFThumbnailItem *TdePDFThumbnails::Request(int pageNo)
{
    for (auto &[page, item] : FThumbnailList)
        if (page == pageNo)
            return item.get();
    return nullptr;
}

void TdePDFThumbnails::Store(int pageNo, std::unique_ptr<TdePDFThumbnailItem> item, bool firstStands)
{
    auto it = std::find_if(FThumbnailList.begin(), FThumbnailList.end(),
                           [pageNo](const auto &entry) { return entry.first == pageNo; });
    if (it != FThumbnailList.end()) {
        if (firstStands)
            return;
        FThumbnailList.erase(it);
    }
    FThumbnailList.emplace_back(pageNo, std::move(item));
}

void TdeCustomPDFEngine::AddThumbnailImage(const TdePicture &graphic, int pageNo)
{
    if (!IsDocumentStarted())
        return;
    const int index = RegisterImage(graphic, Preferences().UseImagesAsResources());
    if (index >= 0)
        AddThumbnailImage(index, pageNo);
}

void TdeCustomPDFEngine::AddThumbnailImage(int index, int pageNo)
{
    if (!IsDocumentStarted())
        return;
    auto item = std::make_unique<TdePDFThumbnailItem>();
    item->OutputImageFormat = ImageSettings().OutputImageFormat();
    item->ImagePixelFormat = ImageSettings().ImagePixelFormat;
    item->JPEGQuality = ImageSettings().JPEGQuality;
    item->IndexNo = index;
    FThumbnails.Store(pageNo, std::move(item), Preferences().ProcessAfterEachPage());
}

void TdeCustomPDFEngine::LinkPageThumbnail()
{
    TdePDFThumbnailItem *request = FThumbnails.Request(CurrentPage());
    if (!request || request->ObjNo > 0)
        return;
    const int index = request->IndexNo;
    auto &reuse = FThumbnails.FThumbnailReuseList;
    if (index >= 0 && index < static_cast<int>(reuse.size()))
        for (const auto &[objNo, written] : reuse[static_cast<std::size_t>(index)])
            if (written.IsEqual(*request)) {
                request->ObjNo = objNo;
                return;
            }
    // An index that names no picture gets no thumbnail, rather than an
    // image object without pixels.
    const TdePicture *picture = GetImageResource(index);
    TBitmap bitmap;
    if (!picture || !DecodePicture(*picture, bitmap) || bitmap.Empty())
        return;
    TdePDFThumbnailItem copy;
    copy.OutputImageFormat = request->OutputImageFormat;
    copy.ImagePixelFormat = request->ImagePixelFormat;
    copy.JPEGQuality = request->JPEGQuality;
    copy.IndexNo = index;
    copy.ObjNo = FWriter.NewObjectNumber();
    request->ObjNo = copy.ObjNo;
    if (static_cast<int>(reuse.size()) < index + 1)
        reuse.resize(static_cast<std::size_t>(index) + 1);
    reuse[static_cast<std::size_t>(index)].emplace_back(copy.ObjNo, copy);
}

int TdeCustomPDFEngine::PageThumbnailObjNo(int pageNo)
{
    const TdePDFThumbnailItem *request = FThumbnails.Request(pageNo);
    return request ? request->ObjNo : 0;
}

void TdeCustomPDFEngine::WriteThumbnails()
{
    for (const auto &[page, request] : FThumbnails.FThumbnailList) {
        // A page never written numbered nothing; shared objects are written once.
        if (request->ObjNo <= 0 || FWriter.IsWritten(request->ObjNo))
            continue;
        TBitmap bitmap;
        const TdePicture *picture = GetImageResource(request->IndexNo);
        if (!picture || !DecodePicture(*picture, bitmap))
            continue; // checked when the page was linked
        bitmap.SetPixelFormat(request->ImagePixelFormat);
        TMemoryStream data;
        TdeOutputImageFormat format = request->OutputImageFormat;
        if (format == TdeOutputImageFormat::ifJPEG) {
            data = *BitmapToJPEGStream(bitmap, request->JPEGQuality);
        } else {
            // Every other format as RGB rows: an empty stream would be no image.
            format = TdeOutputImageFormat::ifBMP;
            WriteStreamData(*BitmapToRGBStream(bitmap), data, Compression().Enabled, Compression().Level);
        }
        FWriter.WriteObject("/Width " + std::to_string(bitmap.Width()) + "/Height " + std::to_string(bitmap.Height()) +
                                "/ColorSpace /DeviceRGB /BitsPerComponent 8 /Length " + std::to_string(data.Size()) +
                                GetImageFilter(format, Compression()) + CRLF,
                            request->ObjNo, false);
        FWriter.WriteEncodedStreamPart(data);
    }
    FThumbnails.Clear();
}

} // namespace tessaran
