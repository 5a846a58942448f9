#include "platform/qt/Qt_Canvas.h"

#include "platform/Codepage1252.h"
#include "platform/Font_Engine.h"
#include "platform/qt/Emf_Player.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <map>
#include <numbers>

namespace tessaran {

QColor ToQColor(TColor color)
{
    TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QImage ToQImage(const TBitmap &bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t *src = bitmap.ScanLine(y);
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
        int bpp = bitmap.BytesPerPixel();
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t *p = src + static_cast<std::size_t>(x) * bpp;
            dst[x] = qRgb(p[2], p[1], p[0]);
        }
    }
    return image;
}

TBitmap FromQImage(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    TBitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        std::uint8_t *dst = bitmap.ScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            dst[3 * x] = static_cast<std::uint8_t>(qBlue(src[x]));
            dst[3 * x + 1] = static_cast<std::uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
    return bitmap;
}

QFont ToQFont(const TFont &font)
{
    // Qt draws with the very file the font engine measures.
    static std::map<std::string, QString> families;
    TFontFile file = FindFontFile(font);
    auto found = families.find(file.Path);
    if (found == families.end()) {
        int id = QFontDatabase::addApplicationFont(QString::fromStdString(file.Path));
        QStringList names = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        QString family = names.isEmpty() ? QString::fromStdString(file.Family) : names.first();
        found = families.emplace(file.Path, family).first;
    }
    QFont q(found->second);
    q.setPixelSize(std::max(1, font.PixelHeight()));
    q.setBold(font.Style.Contains(TFontStyle::fsBold));
    q.setItalic(font.Style.Contains(TFontStyle::fsItalic));
    q.setUnderline(font.Style.Contains(TFontStyle::fsUnderline));
    q.setStrikeOut(font.Style.Contains(TFontStyle::fsStrikeOut));
    q.setKerning(false);
    q.setHintingPreference(QFont::PreferFullHinting);
    return q;
}

// ---- TQtCanvas -----------------------------------------------------------------

TQtCanvas::TQtCanvas(QPaintDevice *device) : ownPainter_(std::make_unique<QPainter>(device)), painter_(ownPainter_.get())
{
    if (device->devType() == QInternal::Image)
        image_ = static_cast<QImage *>(device);
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

TQtCanvas::TQtCanvas(QPainter &painter) : painter_(&painter)
{
    if (painter.device() && painter.device()->devType() == QInternal::Image)
        image_ = static_cast<QImage *>(painter.device());
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

TQtCanvas::~TQtCanvas()
{
    while (saved_ > 0) {
        painter_->restore();
        --saved_;
    }
}

void TQtCanvas::applyPen()
{
    if (Pen.Style == TPenStyle::psClear) {
        painter_->setPen(Qt::NoPen);
    } else {
        int width = std::max(1, Pen.Width);
        QPen pen(ToQColor(Pen.Color));
        if (width == 1) {
            pen.setWidth(0); // one device pixel whatever the scale, as thin pens are
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::MiterJoin);
            // Styled lines exist only for thin pens.
            switch (Pen.Style) {
            case TPenStyle::psDash:
                pen.setDashPattern({18, 6});
                break;
            case TPenStyle::psDot:
                pen.setDashPattern({3, 3});
                break;
            case TPenStyle::psDashDot:
                pen.setDashPattern({9, 6, 3, 6});
                break;
            case TPenStyle::psDashDotDot:
                pen.setDashPattern({9, 3, 3, 3, 3, 3});
                break;
            default:
                break;
            }
        } else {
            pen.setWidth(width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        painter_->setPen(pen);
    }
    switch (Pen.Mode) {
    case TPenMode::pmCopy:
        painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    case TPenMode::pmNot:
        painter_->setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case TPenMode::pmXor:
        painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case TPenMode::pmNotXor:
        painter_->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        break;
    }
}

void TQtCanvas::applyBrush()
{
    QColor color = ToQColor(Brush.Color);
    switch (Brush.Style) {
    case TBrushStyle::bsSolid:
        painter_->setBrush(QBrush(color));
        break;
    case TBrushStyle::bsClear:
        painter_->setBrush(Qt::NoBrush);
        break;
    case TBrushStyle::bsHorizontal:
        painter_->setBrush(QBrush(color, Qt::HorPattern));
        break;
    case TBrushStyle::bsVertical:
        painter_->setBrush(QBrush(color, Qt::VerPattern));
        break;
    case TBrushStyle::bsFDiagonal:
        painter_->setBrush(QBrush(color, Qt::FDiagPattern));
        break;
    case TBrushStyle::bsBDiagonal:
        painter_->setBrush(QBrush(color, Qt::BDiagPattern));
        break;
    case TBrushStyle::bsCross:
        painter_->setBrush(QBrush(color, Qt::CrossPattern));
        break;
    case TBrushStyle::bsDiagCross:
        painter_->setBrush(QBrush(color, Qt::DiagCrossPattern));
        break;
    }
}

void TQtCanvas::applyPenAndBrush()
{
    applyPen();
    applyBrush();
}

void TQtCanvas::MoveTo(int x, int y)
{
    if (inPath_)
        path_.MoveTo({x, y});
    penPos_ = {x, y};
}

void TQtCanvas::LineTo(int x, int y)
{
    if (inPath_) {
        path_.LineTo(penPos_, {x, y});
    } else {
        applyPen();
        painter_->drawLine(QPoint(penPos_.X, penPos_.Y), QPoint(x, y));
    }
    penPos_ = {x, y};
}

namespace {
QRect boxOf(int x1, int y1, int x2, int y2)
{
    int left = std::min(x1, x2), top = std::min(y1, y2);
    int right = std::max(x1, x2), bottom = std::max(y1, y2);
    return QRect(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1));
}

QPolygon toPolygon(std::span<const TPoint> points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const TPoint &p : points)
        polygon.append(QPoint(p.X, p.Y));
    return polygon;
}
} // namespace

void TQtCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (inPath_) {
        path_.Rectangle(x1, y1, x2, y2);
        return;
    }
    applyPenAndBrush();
    painter_->drawRect(boxOf(x1, y1, x2, y2));
}

void TQtCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (inPath_) {
        path_.Ellipse(x1, y1, x2, y2);
        return;
    }
    applyPenAndBrush();
    painter_->drawEllipse(boxOf(x1, y1, x2, y2));
}

void TQtCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (inPath_)
        return;
    applyPenAndBrush();
    double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    // Angles counter-clockwise on the screen, from the rays through the two points.
    double a1 = std::atan2(-(y3 - cy), x3 - cx) * 180 / std::numbers::pi;
    double a2 = std::atan2(-(y4 - cy), x4 - cx) * 180 / std::numbers::pi;
    double span = a2 - a1;
    while (span <= 0)
        span += 360;
    painter_->drawChord(boxOf(x1, y1, x2, y2), static_cast<int>(std::lround(a1 * 16)),
                        static_cast<int>(std::lround(span * 16)));
}

void TQtCanvas::Polygon(std::span<const TPoint> points)
{
    if (inPath_) {
        path_.Polygon(points);
        return;
    }
    if (points.empty())
        return;
    applyPenAndBrush();
    painter_->drawPolygon(toPolygon(points), Qt::OddEvenFill);
}

void TQtCanvas::Polyline(std::span<const TPoint> points)
{
    if (inPath_) {
        path_.Polyline(points);
        return;
    }
    if (points.size() < 2)
        return;
    applyPen();
    painter_->drawPolyline(toPolygon(points));
}

void TQtCanvas::PolyBezier(std::span<const TPoint> points)
{
    if (inPath_) {
        path_.PolyBezier(points);
        return;
    }
    if (points.size() < 4)
        return;
    TPathBuilder curve;
    curve.PolyBezier(points);
    TPathBuilder saved = path_;
    path_ = curve;
    QPainterPath qpath = qtPath();
    path_ = saved;
    applyPen();
    painter_->strokePath(qpath, painter_->pen());
}

QPainterPath TQtCanvas::qtPath() const
{
    QPainterPath qpath;
    qpath.setFillRule(Qt::OddEvenFill);
    const auto &elements = path_.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const auto &e = elements[i];
        switch (e.Kind) {
        case TPathBuilder::TKind::Move:
            qpath.moveTo(e.Point.X, e.Point.Y);
            break;
        case TPathBuilder::TKind::Line:
            qpath.lineTo(e.Point.X, e.Point.Y);
            break;
        case TPathBuilder::TKind::Bezier:
            if (i + 2 < elements.size()) {
                qpath.cubicTo(e.Point.X, e.Point.Y, elements[i + 1].Point.X, elements[i + 1].Point.Y,
                              elements[i + 2].Point.X, elements[i + 2].Point.Y);
                i += 2;
                if (elements[i].CloseFigure)
                    qpath.closeSubpath();
                continue;
            }
            qpath.lineTo(e.Point.X, e.Point.Y);
            break;
        }
        if (e.CloseFigure)
            qpath.closeSubpath();
    }
    return qpath;
}

void TQtCanvas::BeginPath()
{
    path_.Clear();
    inPath_ = true;
}

void TQtCanvas::EndPath()
{
    inPath_ = false;
}

void TQtCanvas::CloseFigure()
{
    if (inPath_)
        path_.CloseFigure();
}

void TQtCanvas::StrokePath()
{
    if (inPath_)
        return;
    applyPen();
    painter_->strokePath(qtPath(), painter_->pen());
    path_.Clear();
}

void TQtCanvas::FillPath()
{
    if (inPath_)
        return;
    applyBrush();
    painter_->fillPath(qtPath(), painter_->brush());
    path_.Clear();
}

void TQtCanvas::StrokeAndFillPath()
{
    if (inPath_)
        return;
    applyPenAndBrush();
    painter_->drawPath(qtPath());
    path_.Clear();
}

void TQtCanvas::FlattenPath()
{
    if (!inPath_)
        path_.Flatten();
}

TPointArray TQtCanvas::GetPath() const
{
    return path_.Points();
}

void TQtCanvas::TextOut(int x, int y, std::string_view text)
{
    std::u16string wide = Utf8ToUtf16(text);
    if (wide.empty())
        return;
    TTextMeasure measure = MeasureText(Font, std::u16string_view(wide));
    TextOutAdvances(x, y, wide, measure.Advances);
}

void TQtCanvas::TextOutAdvances(int x, int y, std::u16string_view text, std::span<const int> advances)
{
    if (text.empty())
        return;
    TFontMetrics metrics = MeasureFont(Font);
    int width = 0;
    for (std::size_t i = 0; i < text.size() && i < advances.size(); ++i)
        width += advances[i];
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->translate(x, y);
    if (Font.Escapement != 0)
        painter_->rotate(-Font.Escapement / 10.0);
    if (Brush.Style != TBrushStyle::bsClear)
        painter_->fillRect(QRect(0, 0, width, metrics.Height), ToQColor(Brush.Color));
    painter_->setFont(ToQFont(Font));
    painter_->setPen(ToQColor(Font.Color));
    int at = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size())
            units = 2;
        painter_->drawText(QPoint(at, metrics.Ascent),
                           QString::fromUtf16(text.data() + i, static_cast<qsizetype>(units)));
        for (std::size_t k = 0; k < units; ++k)
            at += i + k < advances.size() ? advances[i + k] : 0;
        i += units - 1;
    }
    painter_->restore();
}

void TQtCanvas::IntersectClipRect(const TRect &r)
{
    QRect rect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    painter_->setClipRect(rect, painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TQtCanvas::SaveState()
{
    painter_->save();
    ++saved_;
}

void TQtCanvas::RestoreState()
{
    if (saved_ == 0)
        return;
    painter_->restore();
    --saved_;
}

TColor TQtCanvas::GetPixel(int x, int y) const
{
    if (!image_)
        return static_cast<TColor>(0xFFFFFFFFu);
    QPoint device = painter_->worldTransform().map(QPoint(x, y));
    if (!image_->rect().contains(device))
        return static_cast<TColor>(0xFFFFFFFFu);
    QRgb c = image_->pixel(device);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TQtCanvas::SetPixel(int x, int y, TColor color)
{
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(QRect(x, y, 1, 1), ToQColor(color));
    painter_->restore();
}

void TQtCanvas::StretchDraw(const TRect &dest, const TBitmap &bitmap)
{
    if (bitmap.Empty())
        return;
    painter_->drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), ToQImage(bitmap));
}

void TQtCanvas::StretchDraw(const TRect &dest, const TMetafile &metafile)
{
    PlayMetafile(*painter_, metafile, QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()));
}

void TQtCanvas::GradientFillVertical(const TRect &rect, TColor top, TColor bottom)
{
    int h = rect.Height();
    if (h <= 0 || rect.Width() <= 0)
        return;
    // Row by row, the colours the recording canvas gives the same rows.
    for (int y = 0; y < h; ++y) {
        double f = h > 1 ? double(y) / (h - 1) : 0.0;
        auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
        QColor c(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                 mix(GetBValue(top), GetBValue(bottom)));
        painter_->fillRect(QRect(rect.Left, rect.Top + y, rect.Width(), 1), c);
    }
}

// ---- TBitmapCanvas ---------------------------------------------------------------

TBitmapCanvas::TBitmapCanvas(TBitmap &bitmap) : bitmap_(bitmap), image_(ToQImage(bitmap))
{
    canvas_ = std::make_unique<TQtCanvas>(&image_);
}

TBitmapCanvas::~TBitmapCanvas()
{
    try {
        Flush();
    } catch (...) {
        // A destructor must not throw; Flush reports failures to callers that call it.
    }
}

void TBitmapCanvas::Flush()
{
    if (image_.isNull())
        return;
    for (int y = 0; y < image_.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(image_.constScanLine(y));
        std::uint8_t *dst = bitmap_.ScanLine(y);
        int bpp = bitmap_.BytesPerPixel();
        for (int x = 0; x < image_.width(); ++x) {
            std::uint8_t *p = dst + static_cast<std::size_t>(x) * bpp;
            p[0] = static_cast<std::uint8_t>(qBlue(src[x]));
            p[1] = static_cast<std::uint8_t>(qGreen(src[x]));
            p[2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
}

} // namespace tessaran
