#pragma once
// Page thumbnails: a request names a registered image for a page; pages
// that show the same image with the same settings share one thumbnail
// image object, written when the document ends.

#include "docexport/Document_Items.h"
#include "docexport/Engine_Settings.h"
#include "platform/Bitmap.h"

#include <memory>
#include <utility>
#include <vector>

namespace tessaran {

class TdePDFThumbnailItem : public TdeDocumentItem {
public:
    // ifBMP as RGB bytes (deflated with compression on), ifJPEG as JPEG.
    TdeOutputImageFormat OutputImageFormat = TdeOutputImageFormat::ifBMP;
    TPixelFormat ImagePixelFormat = TPixelFormat::pf24bit;
    int JPEGQuality = 100;
    // Index of the image in the engine's image resources.
    int IndexNo = -1;
    // The thumbnail image object; 0 until the page is written.
    int ObjNo = 0;

    // Same pixel format and output format, and for JPEG the same quality.
    bool IsEqual(const TdePDFThumbnailItem &other) const
    {
        return ImagePixelFormat == other.ImagePixelFormat && OutputImageFormat == other.OutputImageFormat &&
               (OutputImageFormat != TdeOutputImageFormat::ifJPEG || JPEGQuality == other.JPEGQuality);
    }
};

// Requests per page, in the order they were stored, and per image index
// the thumbnail objects already numbered for it.
struct TdePDFThumbnails {
    std::vector<std::pair<int, std::unique_ptr<TdePDFThumbnailItem>>> FThumbnailList;
    std::vector<std::vector<std::pair<int, TdePDFThumbnailItem>>> FThumbnailReuseList;

    TdePDFThumbnailItem *Request(int pageNo);
    // Streamed pages keep the first request of a page, others the last.
    void Store(int pageNo, std::unique_ptr<TdePDFThumbnailItem> item, bool firstStands);
    void Clear()
    {
        FThumbnailList.clear();
        FThumbnailReuseList.clear();
    }
};

} // namespace tessaran
