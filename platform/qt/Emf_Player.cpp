#include "platform/qt/Emf_Player.h"

#include "platform/Bmp_Codec.h"
#include "platform/Codepage1252.h"
#include "platform/Font_Engine.h"
#include "platform/qt/Qt_Canvas.h"

#include <QTransform>

#include <cmath>
#include <map>
#include <vector>

namespace tessaran {

namespace {

enum class ObjectKind { Pen, Brush, Font };

struct Object {
    ObjectKind kind;
    TPen pen;
    TBrush brush;
    TFont font;
};

struct DrawState {
    TPen pen;
    TBrush brush;
    TFont font;
    TColor textColor = clBlack;
    TColor bkColor = clWhite;
    std::uint32_t bkMode = 2;
    std::uint32_t textAlign = 0;
    std::uint32_t mapMode = 1;
    QTransform world;
    QPoint windowOrg, viewportOrg;
    QSize windowExt{1, 1}, viewportExt{1, 1};
};

TPenStyle penStyleOf(std::uint32_t style)
{
    std::uint32_t s = style & 0x0F;
    return s <= 6 ? static_cast<TPenStyle>(s) : TPenStyle::psSolid;
}

TColor colorOf(std::uint32_t c)
{
    // Palette-relative colours are not used by the program; they draw black.
    return (c & 0xFF000000u) ? clBlack : static_cast<TColor>(c);
}

class Player {
public:
    Player(QPainter &painter, const TMetafile &metafile, const QRectF &dest)
        : painter_(painter), canvas_(painter), original_(painter.worldTransform())
    {
        base_ = QTransform::fromScale(dest.width() / metafile.Width, dest.height() / metafile.Height) *
                QTransform::fromTranslate(dest.left(), dest.top());
        state_.font = TFont();
        updateTransform();
        applyObjects();
    }

    void Play(const TEmfRecord &r)
    {
        switch (r.Type()) {
        case emr::EMR_MOVETOEX:
            canvas_.MoveTo(r.I32(8), r.I32(12));
            break;
        case emr::EMR_LINETO:
            canvas_.LineTo(r.I32(8), r.I32(12));
            break;
        case emr::EMR_RECTANGLE:
            canvas_.Rectangle(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
            break;
        case emr::EMR_ELLIPSE:
            canvas_.Ellipse(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
            break;
        case emr::EMR_CHORD:
            canvas_.Chord(r.I32(8), r.I32(12), r.I32(16), r.I32(20), r.I32(24), r.I32(28), r.I32(32), r.I32(36));
            break;
        case emr::EMR_POLYGON16:
            canvas_.Polygon(points(r, 24, 28, true));
            break;
        case emr::EMR_POLYGON:
            canvas_.Polygon(points(r, 24, 28, false));
            break;
        case emr::EMR_POLYLINE16:
            canvas_.Polyline(points(r, 24, 28, true));
            break;
        case emr::EMR_POLYLINE:
            canvas_.Polyline(points(r, 24, 28, false));
            break;
        case emr::EMR_POLYBEZIER16:
            canvas_.PolyBezier(points(r, 24, 28, true));
            break;
        case emr::EMR_POLYBEZIER:
            canvas_.PolyBezier(points(r, 24, 28, false));
            break;
        case emr::EMR_POLYLINETO16:
        case emr::EMR_POLYLINETO:
        case emr::EMR_POLYBEZIERTO16:
        case emr::EMR_POLYBEZIERTO: {
            bool small = r.Type() == emr::EMR_POLYLINETO16 || r.Type() == emr::EMR_POLYBEZIERTO16;
            std::vector<TPoint> pts = points(r, 24, 28, small);
            if (pts.empty())
                break;
            pts.insert(pts.begin(), canvas_.PenPos());
            if (r.Type() == emr::EMR_POLYLINETO16 || r.Type() == emr::EMR_POLYLINETO)
                canvas_.Polyline(pts);
            else
                canvas_.PolyBezier(pts);
            canvas_.MoveTo(pts.back().X, pts.back().Y);
            break;
        }
        case emr::EMR_POLYPOLYLINE16:
        case emr::EMR_POLYPOLYLINE:
        case emr::EMR_POLYPOLYGON16:
        case emr::EMR_POLYPOLYGON:
            polyPoly(r);
            break;
        case emr::EMR_SETPIXELV:
            canvas_.SetPixel(r.I32(8), r.I32(12), colorOf(r.U32(16)));
            break;
        case emr::EMR_CREATEPEN: {
            Object o{ObjectKind::Pen, {}, {}, {}};
            o.pen.Style = penStyleOf(r.U32(12));
            o.pen.Width = r.I32(16);
            o.pen.Color = colorOf(r.U32(24));
            objects_[r.U32(8)] = o;
            break;
        }
        case emr::EMR_EXTCREATEPEN: {
            Object o{ObjectKind::Pen, {}, {}, {}};
            o.pen.Style = penStyleOf(r.U32(28));
            o.pen.Width = r.I32(32);
            o.pen.Color = colorOf(r.U32(40));
            objects_[r.U32(8)] = o;
            break;
        }
        case emr::EMR_CREATEBRUSHINDIRECT: {
            Object o{ObjectKind::Brush, {}, {}, {}};
            std::uint32_t style = r.U32(12), hatch = r.U32(20);
            o.brush.Color = colorOf(r.U32(16));
            o.brush.Style = style == 1   ? TBrushStyle::bsClear
                            : style == 2 && hatch <= 5
                                ? static_cast<TBrushStyle>(static_cast<int>(TBrushStyle::bsHorizontal) + hatch)
                                : TBrushStyle::bsSolid;
            objects_[r.U32(8)] = o;
            break;
        }
        case emr::EMR_EXTCREATEFONTINDIRECTW:
            createFont(r);
            break;
        case emr::EMR_SELECTOBJECT:
            select(r.U32(8));
            break;
        case emr::EMR_DELETEOBJECT:
            objects_.erase(r.U32(8));
            break;
        case emr::EMR_SETTEXTCOLOR:
            state_.textColor = colorOf(r.U32(8));
            break;
        case emr::EMR_SETBKCOLOR:
            state_.bkColor = colorOf(r.U32(8));
            break;
        case emr::EMR_SETBKMODE:
            state_.bkMode = r.U32(8);
            break;
        case emr::EMR_SETTEXTALIGN:
            state_.textAlign = r.U32(8);
            break;
        case emr::EMR_SETROP2: {
            std::uint32_t rop = r.U32(8);
            state_.pen.Mode = rop == 6    ? TPenMode::pmNot
                              : rop == 7  ? TPenMode::pmXor
                              : rop == 10 ? TPenMode::pmNotXor
                                          : TPenMode::pmCopy;
            canvas_.Pen.Mode = state_.pen.Mode;
            break;
        }
        case emr::EMR_SAVEDC:
            saved_.push_back(state_);
            canvas_.SaveState();
            break;
        case emr::EMR_RESTOREDC: {
            std::int32_t n = r.I32(8);
            int levels = n < 0 ? -n : static_cast<int>(saved_.size()) - n + 1;
            for (int i = 0; i < levels && !saved_.empty(); ++i) {
                state_ = saved_.back();
                saved_.pop_back();
                canvas_.RestoreState();
            }
            updateTransform();
            applyObjects();
            break;
        }
        case emr::EMR_INTERSECTCLIPRECT:
            canvas_.IntersectClipRect(r.RectL(8));
            break;
        case emr::EMR_EXTSELECTCLIPRGN:
            if (r.U32(8) == 0)
                painter_.setClipping(false);
            break;
        case emr::EMR_SETWORLDTRANSFORM:
            state_.world = xform(r, 8);
            updateTransform();
            break;
        case emr::EMR_MODIFYWORLDTRANSFORM: {
            QTransform m = xform(r, 8);
            switch (r.U32(32)) {
            case 1:
                state_.world = QTransform();
                break;
            case 2:
                state_.world = m * state_.world;
                break;
            case 3:
                state_.world = state_.world * m;
                break;
            default:
                state_.world = m;
                break;
            }
            updateTransform();
            break;
        }
        case emr::EMR_SETMAPMODE:
            state_.mapMode = r.U32(8);
            updateTransform();
            break;
        case emr::EMR_SETWINDOWEXTEX:
            state_.windowExt = QSize(r.I32(8), r.I32(12));
            updateTransform();
            break;
        case emr::EMR_SETWINDOWORGEX:
            state_.windowOrg = QPoint(r.I32(8), r.I32(12));
            updateTransform();
            break;
        case emr::EMR_SETVIEWPORTEXTEX:
            state_.viewportExt = QSize(r.I32(8), r.I32(12));
            updateTransform();
            break;
        case emr::EMR_SETVIEWPORTORGEX:
            state_.viewportOrg = QPoint(r.I32(8), r.I32(12));
            updateTransform();
            break;
        case emr::EMR_BEGINPATH:
            canvas_.BeginPath();
            break;
        case emr::EMR_ENDPATH:
            canvas_.EndPath();
            break;
        case emr::EMR_CLOSEFIGURE:
            canvas_.CloseFigure();
            break;
        case emr::EMR_ABORTPATH:
            canvas_.EndPath();
            canvas_.BeginPath();
            canvas_.EndPath();
            break;
        case emr::EMR_FLATTENPATH:
            canvas_.FlattenPath();
            break;
        case emr::EMR_STROKEPATH:
            canvas_.StrokePath();
            break;
        case emr::EMR_FILLPATH:
            canvas_.FillPath();
            break;
        case emr::EMR_STROKEANDFILLPATH:
            canvas_.StrokeAndFillPath();
            break;
        case emr::EMR_EXTTEXTOUTW:
            text(r);
            break;
        case emr::EMR_STRETCHDIBITS:
            stretchDib(r);
            break;
        default:
            break;
        }
    }

private:
    std::vector<TPoint> points(const TEmfRecord &r, std::size_t countAt, std::size_t at, bool small)
    {
        std::uint32_t count = r.U32(countAt);
        std::size_t size = small ? 4 : 8;
        if (!r.Has(at, std::size_t(count) * size))
            throw EMetafileError("point count beyond the record");
        std::vector<TPoint> pts;
        pts.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            pts.push_back(small ? r.PointS(at + i * size) : r.PointL(at + i * size));
        return pts;
    }

    void polyPoly(const TEmfRecord &r)
    {
        bool small = r.Type() == emr::EMR_POLYPOLYLINE16 || r.Type() == emr::EMR_POLYPOLYGON16;
        bool polygon = r.Type() == emr::EMR_POLYPOLYGON16 || r.Type() == emr::EMR_POLYPOLYGON;
        std::uint32_t polys = r.U32(24);
        std::uint32_t total = r.U32(28);
        if (!r.Has(32, std::size_t(polys) * 4))
            throw EMetafileError("polygon count beyond the record");
        std::size_t size = small ? 4 : 8;
        std::size_t at = 32 + std::size_t(polys) * 4;
        if (!r.Has(at, std::size_t(total) * size))
            throw EMetafileError("point count beyond the record");
        std::size_t used = 0;
        for (std::uint32_t k = 0; k < polys; ++k) {
            std::uint32_t n = r.U32(32 + k * 4);
            if (n > total - used)
                break;
            std::vector<TPoint> pts;
            for (std::uint32_t i = 0; i < n; ++i, ++used)
                pts.push_back(small ? r.PointS(at + used * size) : r.PointL(at + used * size));
            if (polygon)
                canvas_.Polygon(pts);
            else
                canvas_.Polyline(pts);
        }
    }

    void createFont(const TEmfRecord &r)
    {
        Object o{ObjectKind::Font, {}, {}, {}};
        TFont &f = o.font;
        // The height in pixels at 72 per inch is the same number in points.
        f.PixelsPerInch = 72;
        f.Size = std::abs(r.I32(12));
        f.Escapement = r.I32(20);
        TFontStyles styles;
        if (r.I32(28) >= 600)
            styles.Include(TFontStyle::fsBold);
        if (r.U8(32))
            styles.Include(TFontStyle::fsItalic);
        if (r.U8(33))
            styles.Include(TFontStyle::fsUnderline);
        if (r.U8(34))
            styles.Include(TFontStyle::fsStrikeOut);
        f.Style = styles;
        f.Charset = r.U8(35);
        std::u16string face;
        for (std::size_t i = 0; i < 32; ++i) {
            char16_t c = static_cast<char16_t>(r.U16(40 + 2 * i));
            if (c == 0)
                break;
            face.push_back(c);
        }
        f.Name = Utf16ToUtf8(face);
        objects_[r.U32(8)] = o;
    }

    void select(std::uint32_t index)
    {
        if (index & emr::STOCK_OBJECT) {
            std::uint32_t stock = index & 0x7FFFFFFF;
            static const TColor brushes[] = {clWhite, clSilver, clGray, 0x404040, clBlack};
            if (stock <= 4)
                state_.brush = TBrush{brushes[stock], TBrushStyle::bsSolid};
            else if (stock == 5)
                state_.brush.Style = TBrushStyle::bsClear;
            else if (stock == 6 || stock == 7)
                state_.pen = TPen{stock == 6 ? clWhite : clBlack, 1, TPenStyle::psSolid, state_.pen.Mode};
            else if (stock == 8)
                state_.pen.Style = TPenStyle::psClear;
            else if (stock >= 10 && stock <= 17 && stock != 15)
                state_.font = TFont();
            else if (stock == 18)
                state_.brush = TBrush();
            else if (stock == 19)
                state_.pen = TPen{clBlack, 1, TPenStyle::psSolid, state_.pen.Mode};
            applyObjects();
            return;
        }
        auto found = objects_.find(index);
        if (found == objects_.end())
            return;
        switch (found->second.kind) {
        case ObjectKind::Pen: {
            TPenMode mode = state_.pen.Mode;
            state_.pen = found->second.pen;
            state_.pen.Mode = mode;
            break;
        }
        case ObjectKind::Brush:
            state_.brush = found->second.brush;
            break;
        case ObjectKind::Font:
            state_.font = found->second.font;
            break;
        }
        applyObjects();
    }

    void applyObjects()
    {
        canvas_.Pen = state_.pen;
        canvas_.Brush = state_.brush;
        canvas_.Font = state_.font;
    }

    static QTransform xform(const TEmfRecord &r, std::size_t at)
    {
        return QTransform(r.F32(at), r.F32(at + 4), r.F32(at + 8), r.F32(at + 12), r.F32(at + 16), r.F32(at + 20));
    }

    void updateTransform()
    {
        QTransform map = QTransform::fromTranslate(-state_.windowOrg.x(), -state_.windowOrg.y());
        if ((state_.mapMode == 7 || state_.mapMode == 8) && state_.windowExt.width() != 0 &&
            state_.windowExt.height() != 0)
            map *= QTransform::fromScale(double(state_.viewportExt.width()) / state_.windowExt.width(),
                                         double(state_.viewportExt.height()) / state_.windowExt.height());
        map *= QTransform::fromTranslate(state_.viewportOrg.x(), state_.viewportOrg.y());
        painter_.setWorldTransform(state_.world * map * base_ * original_);
    }

    void text(const TEmfRecord &r)
    {
        std::uint32_t chars = r.U32(44);
        std::uint32_t offString = r.U32(48);
        std::uint32_t offDx = r.U32(72);
        if (chars == 0)
            return;
        if (!r.Has(offString, std::size_t(chars) * 2))
            throw EMetafileError("text beyond the record");
        std::u16string wide;
        for (std::uint32_t i = 0; i < chars; ++i)
            wide.push_back(static_cast<char16_t>(r.U16(offString + 2 * i)));
        std::vector<int> advances;
        if (offDx != 0 && r.Has(offDx, std::size_t(chars) * 4)) {
            for (std::uint32_t i = 0; i < chars; ++i)
                advances.push_back(r.I32(offDx + 4 * i));
        } else {
            advances = MeasureText(state_.font, std::u16string_view(wide)).Advances;
        }
        TPoint ref = r.PointL(36);
        // Alignment moves the reference to the text's top-left corner.
        int width = 0;
        for (int a : advances)
            width += a;
        TFontMetrics metrics = MeasureFont(state_.font);
        double dx = 0, dy = 0;
        std::uint32_t align = state_.textAlign;
        if ((align & 6) == 6)
            dx = -width / 2.0;
        else if (align & 2)
            dx = -width;
        if ((align & 24) == 24)
            dy = -metrics.Ascent;
        else if (align & 8)
            dy = -metrics.Height;
        double a = state_.font.Escapement / 10.0 * 3.14159265358979323846 / 180.0;
        int x = ref.X + static_cast<int>(std::lround(dx * std::cos(a) + dy * std::sin(a)));
        int y = ref.Y + static_cast<int>(std::lround(-dx * std::sin(a) + dy * std::cos(a)));
        canvas_.Font.Color = state_.textColor;
        canvas_.Brush = state_.bkMode == 2 ? TBrush{state_.bkColor, TBrushStyle::bsSolid}
                                           : TBrush{clWhite, TBrushStyle::bsClear};
        canvas_.TextOutAdvances(x, y, wide, advances);
        canvas_.Brush = state_.brush;
    }

    void stretchDib(const TEmfRecord &r)
    {
        std::int32_t xDest = r.I32(24), yDest = r.I32(28);
        std::int32_t xSrc = r.I32(32), ySrc = r.I32(36), cxSrc = r.I32(40), cySrc = r.I32(44);
        std::uint32_t offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60);
        std::int32_t cxDest = r.I32(72), cyDest = r.I32(76);
        if (cbBmi < 40 || cbBits == 0)
            return;
        auto bmi = r.Slice(offBmi, cbBmi);
        auto bits = r.Slice(offBits, cbBits);
        std::vector<std::uint8_t> file = {'B', 'M'};
        auto put32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        put32(14 + cbBmi + cbBits);
        put32(0);
        put32(14 + cbBmi);
        file.insert(file.end(), bmi.begin(), bmi.end());
        file.insert(file.end(), bits.begin(), bits.end());
        TBitmap bitmap = DecodeBmp(file);
        QImage image = ToQImage(bitmap);
        // Source rows of a bottom-up bitmap count from its bottom.
        int top = image.height() - ySrc - cySrc;
        QRect source(xSrc, top < 0 ? 0 : top, cxSrc, cySrc);
        painter_.drawImage(QRectF(xDest, yDest, cxDest, cyDest), image, source);
    }

    QPainter &painter_;
    TQtCanvas canvas_;
    QTransform original_;
    QTransform base_;
    DrawState state_;
    std::vector<DrawState> saved_;
    std::map<std::uint32_t, Object> objects_;
};

} // namespace

void PlayMetafile(QPainter &painter, const TMetafile &metafile, const QRectF &dest)
{
    if (metafile.Empty() || metafile.Width <= 0 || metafile.Height <= 0)
        return;
    painter.save();
    {
        Player player(painter, metafile, dest);
        metafile.Enumerate([&](const TEmfRecord &record) {
            try {
                player.Play(record);
            } catch (const EMetafileError &) {
                // A record whose fields lie outside it draws nothing.
            } catch (const EInvalidGraphic &) {
                // A bitmap that does not decode draws nothing.
            }
            return true;
        });
    }
    painter.restore();
}

} // namespace tessaran
