#include "platform/Jpeg_Image.h"

#include "platform/Stream.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace tessaran {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void onError(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    // Data that ends before the image does is refused, not filled with grey.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        err->truncated = true;
}

void initErrors(ErrorManager &err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.message[0] = 0;
    err.truncated = false;
}

} // namespace

TBitmap DecodeJpeg(std::span<const std::uint8_t> jpeg, bool *grayscale)
{
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        throw EInvalidGraphic("JPEG image is not valid: it does not start with a start-of-image marker");
    jpeg_decompress_struct info{};
    ErrorManager err{};
    initErrors(err);
    info.err = &err.pub;
    // Everything that must survive a jump back is declared before setjmp.
    TBitmap *volatile result = nullptr;
    std::vector<std::uint8_t> *volatile row = nullptr;
    if (setjmp(err.jump)) {
        delete result;
        delete row;
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + err.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    if (static_cast<std::int64_t>(info.image_width) * info.image_height > TBitmap::MaxPixels) {
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphic("JPEG image is not valid: the picture is too large");
    }
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    bool grey = info.num_components == 1;
    info.out_color_space = cmyk ? JCS_CMYK : (grey ? JCS_GRAYSCALE : JCS_RGB);
    jpeg_start_decompress(&info);
    result = new TBitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    row = new std::vector<std::uint8_t>(static_cast<std::size_t>(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row->data()};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint8_t *dst = result->ScanLine(y);
        const std::uint8_t *src = row->data();
        for (std::size_t x = 0; x < info.output_width; ++x) {
            std::uint8_t r, g, b;
            if (grey) {
                r = g = b = src[x];
            } else if (cmyk) {
                // Stored inverted, as the usual writers of CMYK JPEG do.
                const std::uint8_t *p = src + 4 * x;
                r = static_cast<std::uint8_t>(p[0] * p[3] / 255);
                g = static_cast<std::uint8_t>(p[1] * p[3] / 255);
                b = static_cast<std::uint8_t>(p[2] * p[3] / 255);
            } else {
                r = src[3 * x];
                g = src[3 * x + 1];
                b = src[3 * x + 2];
            }
            dst[3 * x] = b;
            dst[3 * x + 1] = g;
            dst[3 * x + 2] = r;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete row;
    TBitmap out = std::move(*result);
    delete result;
    if (err.truncated)
        throw EInvalidGraphic("JPEG image is not valid: the data ends before the image does");
    if (grayscale)
        *grayscale = grey;
    return out;
}

std::vector<std::uint8_t> EncodeJpeg(const TBitmap &bitmap, int quality, bool grayscale)
{
    if (bitmap.Empty())
        throw EInvalidGraphic("JPEG image cannot be written: the bitmap is empty");
    jpeg_compress_struct info{};
    ErrorManager err{};
    initErrors(err);
    info.err = &err.pub;
    unsigned char *volatile buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> *volatile row = nullptr;
    if (setjmp(err.jump)) {
        delete row;
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw EInvalidGraphic(std::string("JPEG image cannot be written: ") + err.message);
    }
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    info.input_components = grayscale ? 1 : 3;
    info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    row = new std::vector<std::uint8_t>(static_cast<std::size_t>(bitmap.Width()) * info.input_components);
    int bpp = bitmap.BytesPerPixel();
    while (info.next_scanline < info.image_height) {
        const std::uint8_t *src = bitmap.ScanLine(static_cast<int>(info.next_scanline));
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t *p = src + static_cast<std::size_t>(x) * bpp;
            if (grayscale) {
                (*row)[static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>((p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000);
            } else {
                (*row)[3 * static_cast<std::size_t>(x)] = p[2];
                (*row)[3 * static_cast<std::size_t>(x) + 1] = p[1];
                (*row)[3 * static_cast<std::size_t>(x) + 2] = p[0];
            }
        }
        JSAMPROW rows[1] = {row->data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    buffer = out;
    std::vector<std::uint8_t> result(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    delete row;
    return result;
}

void TJPEGImage::LoadFromBytes(std::span<const std::uint8_t> jpeg)
{
    bool grey = false;
    TBitmap decoded = DecodeJpeg(jpeg, &grey);
    bitmap_ = std::move(decoded);
    bytes_.assign(jpeg.begin(), jpeg.end());
    Grayscale = grey;
}

void TJPEGImage::LoadFromFile(const std::string &path)
{
    LoadFromBytes(ReadWholeFile(path));
}

void TJPEGImage::SaveToFile(const std::string &path) const
{
    SaveFileAtomically(path, bytes_);
}

void TJPEGImage::Assign(const TBitmap &bitmap)
{
    std::vector<std::uint8_t> encoded = EncodeJpeg(bitmap, CompressionQuality, Grayscale);
    TBitmap decoded = DecodeJpeg(encoded);
    bytes_ = std::move(encoded);
    bitmap_ = std::move(decoded);
}

void TJPEGImage::Clear()
{
    bytes_.clear();
    bitmap_ = TBitmap();
}

} // namespace tessaran
