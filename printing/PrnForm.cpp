#include "printing/PrnForm.h"

#include "printing/Abort_Dialog.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessaran {

namespace {

PrintLibrarySettings formSettings;

// The widget whose whole image is printed: a scroll area's content, where
// the form scrolls, else the form itself.
QWidget *imageWidget(QWidget *form)
{
    if (auto *area = qobject_cast<QScrollArea *>(form))
        if (area->widget())
            return area->widget();
    return form;
}

void writeU32(std::uint8_t *p, std::uint32_t v)
{
    std::memcpy(p, &v, 4); // the project builds for little-endian machines only
}

// A bottom-up DIB of the sampled section: 1, 4 or 8 bits with a palette in
// order of first appearance when the section has few colours, else 24 bits.
struct TBandBitmap {
    THeapBlock Header;
    THeapBlock Bits;
};

TBandBitmap makeBandBitmap(const QImage &section, int width, int height, bool trueColor, int stepX, int stepY,
                           long double formPerDestX, long double formPerDestY, bool stretched)
{
    auto sampleX = [&](int j) {
        return stretched ? j * stepX : static_cast<int>(std::trunc(j * stepX * formPerDestX));
    };
    auto sampleY = [&](int i) {
        return stretched ? i * stepY : static_cast<int>(std::trunc(i * stepY * formPerDestY));
    };
    auto sampled = [&](int i, int j) {
        const int x = std::clamp(sampleX(j), 0, section.width() - 1);
        const int y = std::clamp(sampleY(i), 0, section.height() - 1);
        return section.pixel(x, y) & 0x00FFFFFF;
    };

    std::vector<QRgb> palette;
    std::unordered_map<QRgb, int> index;
    if (!trueColor) {
        for (int y = 0; y < section.height() && palette.size() <= 256; ++y)
            for (int x = 0; x < section.width() && palette.size() <= 256; ++x) {
                const QRgb colour = section.pixel(x, y) & 0x00FFFFFF;
                if (index.emplace(colour, static_cast<int>(palette.size())).second)
                    palette.push_back(colour);
            }
    }
    int bits = 24;
    if (!trueColor && palette.size() <= 256)
        bits = palette.size() <= 2 ? 1 : palette.size() <= 16 ? 4 : 8;
    const int colours = bits == 24 ? 0 : static_cast<int>(palette.size());

    TBandBitmap band;
    band.Header = GlobalAllocZeroed(InfoHeaderSize + 4 * static_cast<std::size_t>(colours));
    const std::int64_t rowBytes = RowBytes(width, bits);
    band.Bits = GlobalAllocZeroed(static_cast<std::size_t>(rowBytes * height));
    if (!band.Header || !band.Bits)
        return TBandBitmap{};
    std::uint8_t *h = band.Header.Data();
    writeU32(h, InfoHeaderSize);
    writeU32(h + 4, static_cast<std::uint32_t>(width));
    writeU32(h + 8, static_cast<std::uint32_t>(height));
    h[12] = 1;
    h[14] = static_cast<std::uint8_t>(bits);
    writeU32(h + 20, static_cast<std::uint32_t>(rowBytes * height));
    writeU32(h + 32, static_cast<std::uint32_t>(colours));
    writeU32(h + 36, static_cast<std::uint32_t>(colours));
    for (int c = 0; c < colours; ++c) {
        std::uint8_t *entry = h + InfoHeaderSize + 4 * c;
        entry[0] = static_cast<std::uint8_t>(qBlue(palette[c]));
        entry[1] = static_cast<std::uint8_t>(qGreen(palette[c]));
        entry[2] = static_cast<std::uint8_t>(qRed(palette[c]));
    }
    for (int i = 0; i < height; ++i) {
        std::uint8_t *row = band.Bits.Data() + (height - 1 - i) * rowBytes;
        for (int j = 0; j < width; ++j) {
            const QRgb colour = sampled(i, j);
            if (bits == 24) {
                row[3 * j] = static_cast<std::uint8_t>(qBlue(colour));
                row[3 * j + 1] = static_cast<std::uint8_t>(qGreen(colour));
                row[3 * j + 2] = static_cast<std::uint8_t>(qRed(colour));
                continue;
            }
            // A sampled colour is one of the section's, so it has an index.
            const auto found = index.find(colour);
            const int value = found == index.end() ? 0 : found->second;
            if (bits == 8)
                row[j] = static_cast<std::uint8_t>(value);
            else if (bits == 4)
                row[j / 2] |= static_cast<std::uint8_t>(j % 2 == 0 ? value << 4 : value);
            else if (value)
                row[j / 8] |= static_cast<std::uint8_t>(0x80 >> (j % 8));
        }
    }
    return band;
}

} // namespace

PrintLibrarySettings &detail::FormPrintSettings()
{
    return formSettings;
}

TLongBool InheritsFromClassName(const QObject *object, const char *className)
{
    return object && className && object->inherits(className) ? LongTrue : LongFalse;
}

void GetFormImageSize(QWidget *form, int &width, int &height)
{
    width = height = 0;
    if (!form)
        return;
    if (auto *area = qobject_cast<QScrollArea *>(form); area && area->widget()) {
        const QSize client = area->viewport()->size();
        const QSize range = area->widget()->size();
        const bool scrollsX = client.width() < range.width();
        const bool scrollsY = client.height() < range.height();
        width = scrollsX ? range.width() + (scrollsY ? 2 : 0) : client.width();
        height = scrollsY ? range.height() + (scrollsX ? 2 : 0) : client.height();
        return;
    }
    width = form->width();
    height = form->height();
}

void GetFormScrollOffset(QWidget *form, int &x, int &y)
{
    x = y = 0;
    if (auto *area = qobject_cast<QScrollArea *>(form)) {
        x = area->horizontalScrollBar()->value();
        y = area->verticalScrollBar()->value();
    }
}

void RenderControlImage(QWidget *control, QPainter &painter)
{
    // Every widget of this toolkit paints itself into any painter.
    control->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

void RenderControlTree(QWidget *control, QPainter &painter, int x, FormPrintJob *job, int y)
{
    painter.save();
    painter.translate(x, y);
    painter.setClipRect(QRect(QPoint(0, 0), control->size()), Qt::IntersectClip);
    if (!(job && job->PaintControl && job->PaintControl(control, painter)))
        RenderControlImage(control, painter);
    painter.restore();
}

void RenderControlFrame(QWidget *control, QPainter &painter, int x, FormPrintJob *job, int y)
{
    // Only the frame round the client area; the content is already drawn.
    auto *frame = qobject_cast<QFrame *>(control);
    if (!frame || frame->frameWidth() == 0)
        return;
    const QRegion border = QRegion(frame->rect()).subtracted(QRegion(frame->contentsRect()));
    painter.save();
    painter.translate(x, y);
    if (!(job && job->PaintControl && job->PaintControl(control, painter)))
        control->render(&painter, border.boundingRect().topLeft(), border, QWidget::DrawWindowBackground);
    painter.restore();
}

TLongBool FormPrintProgress(int tileIndex, int tileCount, void *userData)
{
    auto *job = static_cast<FormPrintJob *>(userData);
    if (!job)
        return LongTrue;
    TLongBool result = LongTrue;
    if (job->Options.ShowDialog && job->Dialog) {
        const int percent = tileCount > 0 ? static_cast<int>(std::trunc(tileIndex * 100.0 / tileCount)) : 0;
        const std::u16string caption = u"Printing - " + QString::number(percent).toStdU16String() + u"%";
        SetAbortDialogCaption(job->Dialog, caption.c_str());
        result = AbortDialogCanceled(job->Dialog) ? LongFalse : LongTrue;
    }
    if (job->CallerProgress) {
        try {
            result = job->CallerProgress(tileIndex, tileCount, job->CallerData);
        } catch (...) {
        }
    }
    return result;
}

TLongBool PrintFormTile(TileInfo *info)
{
    if (!info || !info->Data)
        return LongFalse;
    auto *job = static_cast<FormPrintJob *>(info->Data);
    const PrintLibrarySettings &settings = formSettings;
    const bool flush = !job->Options.NoFlush;
    bool bandOk = true;
    try {
        QWidget *content = imageWidget(job->Form);
        const long double fx = job->FormPerDestX;
        const long double fy = job->FormPerDestY;
        const TRect &t = info->Tile;
        // The band in the image's own (unscrolled) coordinates.
        int left = static_cast<int>(std::trunc(t.Left * fx - job->Dest.Left * fx));
        int top = static_cast<int>(std::trunc(t.Top * fy - job->Dest.Top * fy));
        int right = static_cast<int>(std::trunc(t.Right * fx - job->Dest.Left * fx));
        int bottom = static_cast<int>(std::trunc(std::trunc(t.Bottom * fy) - job->Dest.Top * fy));
        if (right <= left)
            right = left + 1;
        if (bottom <= top)
            bottom = top + 1;
        const QRect band(QPoint(left, top), QPoint(right - 1, bottom - 1));

        QImage section(static_cast<int>(std::trunc(info->TileWidth * fx)) + 1,
                       static_cast<int>(std::trunc(info->TileHeight * fy)) + 1, QImage::Format_RGB32);
        if (section.isNull())
            return LongFalse;
        section.fill(content->palette().color(content->backgroundRole()));
        {
            QPainter painter(&section);
            painter.translate(-left, -top);
            if (!(job->PaintForm && job->PaintForm(job->Form, painter)))
                content->render(&painter, QPoint(), QRegion(band), QWidget::DrawWindowBackground);
            if (!FormPrintProgress(info->TileIndex, info->TileCount, job))
                return LongFalse;
            for (QObject *child : content->children()) {
                auto *control = qobject_cast<QWidget *>(child);
                if (!control || control->isHidden() || control->isWindow() || !control->geometry().intersects(band))
                    continue;
                if (!FormPrintProgress(info->TileIndex, info->TileCount, job))
                    return LongFalse;
                RenderControlTree(control, painter, control->x(), job, control->y());
                if (qobject_cast<QScrollArea *>(control))
                    RenderControlFrame(control, painter, control->x(), job, control->y());
            }
        }

        const int divX = settings.ScaleDivisorX;
        const int divY = settings.ScaleDivisorY;
        const bool stretched = settings.UseStretchedTiles;
        const int width = std::max(1, stretched ? (section.width() - 1) / divX : info->TileWidth / divX);
        const int height = std::max(1, stretched ? (section.height() - 1) / divY : info->TileHeight / divY);
        TBandBitmap output = makeBandBitmap(section, width, height, job->Options.TrueColor != 0, divX, divY,
                                            fx, fy, stretched);
        if (!output.Header)
            return LongFalse;
        if (settings.OutputTiles) {
            const int outWidth = stretched ? t.Width() : width * divX;
            const int outHeight = stretched ? t.Height() : height * divY;
            const bool blockCopy = divX == 1 && divY == 1 && !stretched;
            if (!detail::OutputTile(*job->DC, settings, t, outWidth, outHeight, width, height, blockCopy,
                                    job->Fallback, output.Header.Bytes(), output.Bits.Bytes()))
                bandOk = false;
        }
        if (settings.DrawTileFrames)
            detail::DrawTileFrame(*job->DC, settings, t);
        if (flush)
            job->DC->Flush();
        if (!FormPrintProgress(info->TileIndex, info->TileCount, job))
            return LongFalse;
        return bandOk ? LongTrue : LongFalse;
    } catch (...) {
        detail::ShowPrintError(settings, "CustomFormTileCallbackFn Exception");
        return bandOk ? LongTrue : LongFalse;
    }
}

TLongBool RenderFormToDC(QWidget *form, TPrintDevice *dc, int x, int y, int width, int height, TRect clip,
                         ProgressCallback progress, void *userData, FormPainter paintForm,
                         ControlPainter paintControl, const FormPrintOptions *options)
{
    if (!form || !dc)
        return LongFalse;
    try {
        FormPrintJob job;
        job.DC = dc;
        job.Form = form;
        job.Options = options ? *options : FormPrintOptions{};
        job.Dest = TRect{x, y, x + width, y + height};
        job.Clip = clip;
        const TRect &d = job.Dest;
        job.Visible = TRect{std::max(d.Left, clip.Left), std::max(d.Top, clip.Top), std::min(d.Right, clip.Right),
                            std::min(d.Bottom, clip.Bottom)};
        if (width <= 0 || height <= 0 || job.Visible.Width() <= 0 || job.Visible.Height() <= 0)
            return LongTrue; // nothing to print
        int formWidth = 0;
        int formHeight = 0;
        GetFormImageSize(form, formWidth, formHeight);
        if (formWidth <= 0 || formHeight <= 0)
            return LongTrue;
        job.FormRect = TRect{0, 0, formWidth, formHeight};
        GetFormScrollOffset(form, job.ScrollX, job.ScrollY);
        job.DestPerFormX = static_cast<long double>(width) / formWidth;
        job.DestPerFormY = static_cast<long double>(height) / formHeight;
        job.FormPerDestX = static_cast<long double>(formWidth) / width;
        job.FormPerDestY = static_cast<long double>(formHeight) / height;
        job.CallerProgress = progress;
        job.CallerData = userData;
        job.PaintForm = std::move(paintForm);
        job.PaintControl = std::move(paintControl);
        job.Fallback = formSettings.ForceFallback;

        const TScreenMetrics screen = GetScreenMetrics();
        const int bandWidth = std::max(1, screen.Width);
        int bandHeight = std::max(1, screen.Height);
        if (!(dc->GetDeviceCaps(TDeviceCap::RasterCaps) & RC_BITMAP64))
            bandHeight = static_cast<int>(std::max<std::int64_t>(1, 65503 / RowBytes(bandWidth, 24)));

        bool wasEnabled = true;
        QWidget *previousOwner = nullptr;
        if (job.Options.ShowDialog) {
            job.Dialog = CreateAbortDialog(form->window(), form);
            if (job.Dialog) {
                SetAbortDialogCaption(job.Dialog, u"Printing - 0%");
                wasEnabled = form->isEnabled();
                form->setEnabled(false);
                previousOwner = std::exchange(formSettings.ErrorOwner, job.Dialog);
            }
        }
        const TLongBool walked = ForEachTile(job.Visible, bandWidth, bandHeight, PrintFormTile, &job, nullptr);
        if (job.Dialog) {
            formSettings.ErrorOwner = previousOwner;
            FreeAbortDialog(job.Dialog);
            form->setEnabled(wasEnabled);
        }
        return walked;
    } catch (...) {
        return LongFalse;
    }
}

TLongBool PrintFormToDC(QWidget *form, TPrintDevice *dc, TLongBool centre, TLongBool useMargins,
                        const FormPrintOptions *options)
{
    if (!form || !dc)
        return LongFalse;
    try {
        PageMetrics metrics;
        if (!GetPrinterPageMetrics(dc, &metrics))
            return LongFalse;
        int formWidth = 0;
        int formHeight = 0;
        GetFormImageSize(form, formWidth, formHeight);
        if (formWidth <= 0 || formHeight <= 0)
            return LongTrue;
        const TRect place = detail::FitToUsableArea(metrics, useMargins != 0, centre != 0, formWidth, formHeight);
        const int saved = dc->SaveDC();
        dc->OffsetWindowOrg(-metrics.UsableOffsetX, -metrics.UsableOffsetY);
        const TRect usable{0, 0, metrics.UsableWidth, metrics.UsableHeight};
        dc->IntersectClipRect(usable);
        const TLongBool result = RenderFormToDC(form, dc, place.Left, place.Top, place.Width(), place.Height(),
                                                usable, nullptr, nullptr, {}, {}, options);
        dc->RestoreDC(saved);
        return result ? LongTrue : LongFalse;
    } catch (...) {
        return LongFalse;
    }
}

TLongBool PrintFormFitToPage(QWidget *form, TPrintDevice *dc, TLongBool centre, TLongBool useMargins)
{
    const FormPrintOptions options{16, LongFalse, LongFalse, LongTrue};
    return PrintFormToDC(form, dc, centre, useMargins, &options);
}

} // namespace tessaran
