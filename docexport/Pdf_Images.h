#pragma once
// The image objects of a PDF document: for each image resource the
// settings of every XObject written for it (so that a later item with the
// same rendering reuses the object), the image objects buffered while a
// page renders (written after the page's own objects), and the page
// background picture.

#include "docexport/Document_Items.h"
#include "docexport/Engine_Settings.h"
#include "docexport/Pdf_Object_Writer.h"
#include "docexport/Pdf_Settings.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessaran {

// The image settings one XObject was written with.
class TdePDFImageSettings : public TdeImageSettings {
public:
    int ObjNo = 0;
    // The item's width and height (native) and its display rectangle's.
    double ImageWidth = 0;
    double ImageHeight = 0;
    double DisplayWidth = 0;
    double DisplayHeight = 0;

    // Whether this XObject can serve item, whose picture has the given
    // pixel size.
    bool IsEqual(const TdeImageItem &item, int originalWidth, int originalHeight) const;
};

// "/Filter/FlateDecode" (with compression), "/Filter/DCTDecode" or the
// CCITT filter by output format; empty for none.
std::string GetImageFilter(TdeOutputImageFormat format, const TdeCompression &compression);

// Rows top to bottom, red, green and blue bytes, no padding.
std::unique_ptr<TMemoryStream> BitmapToRGBStream(const TBitmap &bitmap);

class TdePDFImageObjects {
public:
    // Resource name of XObject entry of image resource index. Index and
    // entry are kept apart, so that no two objects share a name.
    static std::string ImageName(int index, int entry);

    // Per resource index, the XObjects written for it, in order of writing.
    std::vector<std::vector<TdePDFImageSettings>> FImageSettings;
    // The page's image objects and their offsets inside the buffer.
    TMemoryStream FImageStream;
    std::vector<std::pair<std::int64_t, int>> FImageXRefList;
    // The background picture's object, -1 until written.
    int FBGImageObj = -1;
    // Anchor and tile size of the background pattern, in page points.
    double FBackgroundImageLeft = 0;
    double FBackgroundImageTop = 0;
    double FBackgroundImageWidth = 0;
    double FBackgroundImageHeight = 0;

    void BeginDocument();
    void BeginPage();
    // The list of resource index, grown as needed.
    std::vector<TdePDFImageSettings> &SettingsOf(int index);
    // "/XObject << ... >>" of the shared resources; empty without images.
    std::string ResourceEntries() const;
    // Notes the settings of an object written for item; returns its name.
    std::string RecordWritten(const TdeImageItem &item, int objNo);
    // Writes one image object into the page's buffer, its data encrypted
    // through the writer's hooks.
    void WriteImageObject(int objNo, const std::string &dictionary, const TMemoryStream &data);

    const TdePDFObjectWriter *Writer = nullptr;
};

} // namespace tessaran
