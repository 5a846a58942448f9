// The metafile interpreter on records built here, including records the
// program's own recorder never writes.

#include "docexport/Doc_Pictures.h"
#include "docexport/Metafile_Processor.h"
#include "platform/Emf_Writer.h"
#include "platform/MetafileCanvas.h"
#include "platform/Raster_Operations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace tessaran {
namespace {

class ItemEngine : public TdeCustomDocumentEngine {
public:
    ItemEngine()
    {
        Preferences().SetShowSetupDialog(false);
        Preferences().SetOpenAfterCreate(false);
        FCapabilities.Include(TdeCapabilityKind::ckImageReusable);
        BeginDoc();
    }
    ~ItemEngine() override { EndDoc(); }
    TdeItemList &Items() { return *FCurrentDocumentItemList; }
    template <typename Item>
    std::vector<Item *> Of()
    {
        std::vector<Item *> found;
        for (auto &item : Items())
            if (auto *typed = dynamic_cast<Item *>(item.get()))
                found.push_back(typed);
        return found;
    }
    std::size_t ResourceCount() const { return FImageResourceList.size(); }
    std::size_t DigestSlots() const { return FImageResourceHashList.size(); }
    TBitmap Picture(int index) const
    {
        TBitmap bitmap;
        if (const TdePicture *picture = GetImageResource(index))
            DecodePicture(*picture, bitmap);
        return bitmap;
    }
};

// Records written one field after another.
class Records {
public:
    Records() : writer(800, 600) {}
    Records &Add(std::uint32_t type, std::initializer_list<std::int64_t> fields)
    {
        const std::size_t start = writer.Begin(type);
        for (std::int64_t v : fields)
            writer.U32(static_cast<std::uint32_t>(v));
        writer.End(start);
        return *this;
    }
    Records &Raw(std::uint32_t type, const std::function<void(TEmfWriter &)> &body)
    {
        const std::size_t start = writer.Begin(type);
        body(writer);
        writer.End(start);
        return *this;
    }
    TMetafile Metafile()
    {
        TMetafile metafile;
        metafile.SetBytes(writer.Finish());
        return metafile;
    }
    TEmfWriter writer;
};

std::int64_t Bits(float v)
{
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    return u;
}

std::unique_ptr<TdeMetafileProcessor> Interpret(ItemEngine &engine, Records &records, double startX = 0,
                                                double startY = 0)
{
    auto processor = std::make_unique<TdeMetafileProcessor>(engine);
    processor->FCombineCharsToSentence = true;
    processor->Execute(records.Metafile(), startX, startY);
    return processor;
}

// A 24-bit bottom-up device-independent bitmap: header and bits.
struct Dib {
    std::vector<std::uint8_t> header;
    std::vector<std::uint8_t> bits;
};

Dib MakeDib(int width, int height, const std::function<TColor(int, int)> &colour, int storedHeight = 0)
{
    Dib dib;
    const int stride = (width * 3 + 3) / 4 * 4;
    const auto put = [&dib](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            dib.header.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(storedHeight ? storedHeight : height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(static_cast<std::uint32_t>(stride * height), 4);
    for (int i = 0; i < 4; ++i)
        put(0, 4);
    const bool topDown = storedHeight < 0;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const TColor c = colour(x, y);
            dib.bits.push_back(GetBValue(c));
            dib.bits.push_back(GetGValue(c));
            dib.bits.push_back(GetRValue(c));
        }
        for (int pad = width * 3; pad < stride; ++pad)
            dib.bits.push_back(0);
    }
    return dib;
}

void StretchBlt(Records &records, int x, int y, int cx, int cy, std::uint32_t rop, const Dib &dib)
{
    records.Raw(emr::EMR_STRETCHBLT, [&](TEmfWriter &w) {
        w.RectL(TRect{x, y, x + cx - 1, y + cy - 1});
        w.I32(x);
        w.I32(y);
        w.I32(cx);
        w.I32(cy);
        w.U32(rop);
        w.I32(0);
        w.I32(0);
        for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
            w.F32(f);
        w.U32(0);
        w.U32(0);
        w.U32(108);
        w.U32(40);
        w.U32(148);
        w.U32(static_cast<std::uint32_t>(dib.bits.size()));
        w.I32(cx);
        w.I32(cy);
        w.Bytes(dib.header);
        w.Bytes(dib.bits);
    });
}

void SetDIBitsToDevice(Records &records, int x, int y, int width, int height, int startScan, const Dib &dib)
{
    records.Raw(emr::EMR_SETDIBITSTODEVICE, [&](TEmfWriter &w) {
        w.RectL(TRect{x, y, x + width, y + height});
        w.I32(x);
        w.I32(y);
        w.I32(0);
        w.I32(0);
        w.I32(width);
        w.I32(height);
        w.U32(76);
        w.U32(40);
        w.U32(116);
        w.U32(static_cast<std::uint32_t>(dib.bits.size()));
        w.U32(0);
        w.U32(static_cast<std::uint32_t>(startScan));
        w.U32(static_cast<std::uint32_t>(height));
        w.Bytes(dib.header);
        w.Bytes(dib.bits);
    });
}

void Font(Records &records, std::uint32_t index, std::int32_t height, std::int32_t weight, std::int32_t escapement = 0)
{
    records.Raw(emr::EMR_EXTCREATEFONTINDIRECTW, [&](TEmfWriter &w) {
        w.U32(index);
        w.I32(height);
        w.I32(0);
        w.I32(escapement);
        w.I32(escapement);
        w.I32(weight);
        for (int i = 0; i < 8; ++i)
            w.U8(0);
        for (char16_t c : std::u16string(u"Arial"))
            w.U16(c);
        for (int i = 5; i < 32; ++i)
            w.U16(0);
    });
}

void TextOut(Records &records, int x, int y, const std::u16string &text, const std::vector<int> &dx)
{
    records.Raw(emr::EMR_EXTTEXTOUTW, [&](TEmfWriter &w) {
        w.RectL(TRect{0, 0, -1, -1});
        w.U32(1);
        w.F32(0);
        w.F32(0);
        w.Point(TPoint{x, y});
        w.U32(static_cast<std::uint32_t>(text.size()));
        w.U32(76);
        w.U32(0);
        w.RectL(TRect{0, 0, -1, -1});
        w.U32(static_cast<std::uint32_t>(76 + (text.size() * 2 + 3) / 4 * 4));
        for (char16_t c : text)
            w.U16(c);
        w.Pad4();
        for (int d : dx)
            w.I32(d);
    });
}

TdeShapeItem *FirstShape(ItemEngine &engine)
{
    auto shapes = engine.Of<TdeShapeItem>();
    return shapes.empty() ? nullptr : shapes.front();
}

// ---- State, objects and fonts ----------------------------------------------------------------

TEST(MetafileProcessor, MappingAndWorldTransformsPlacePoints)
{
    const auto rectangleAt = [](Records &r, int x, int y) { r.Add(emr::EMR_RECTANGLE, {x, y, x, y}); };
    struct Case {
        const char *name;
        std::function<void(Records &)> build;
        TdePoint expected;
    };
    const std::vector<Case> cases = {
        {"no mapping records", [&](Records &r) { rectangleAt(r, 200, 400); }, {210, 420}},
        {"anisotropic", [&](Records &r) {
             r.Add(emr::EMR_SETMAPMODE, {8}).Add(emr::EMR_SETWINDOWEXTEX, {1000, 1000});
             r.Add(emr::EMR_SETVIEWPORTEXTEX, {500, 250}).Add(emr::EMR_SETVIEWPORTORGEX, {10, 20});
             rectangleAt(r, 200, 400);
         }, {120, 140}},
        {"extents before the map mode", [&](Records &r) {
             r.Add(emr::EMR_SETWINDOWEXTEX, {1000, 1000}).Add(emr::EMR_SETVIEWPORTEXTEX, {500, 250});
             r.Add(emr::EMR_SETMAPMODE, {8});
             rectangleAt(r, 200, 400);
         }, {210, 420}},
        {"MM_TEXT resets anisotropic", [&](Records &r) {
             r.Add(emr::EMR_SETMAPMODE, {8}).Add(emr::EMR_SETWINDOWEXTEX, {1000, 1000});
             r.Add(emr::EMR_SETVIEWPORTEXTEX, {500, 250}).Add(emr::EMR_SETVIEWPORTORGEX, {10, 20});
             r.Add(emr::EMR_SETMAPMODE, {1});
             rectangleAt(r, 200, 400);
         }, {210, 420}},
        {"zero window extent keeps the multipliers", [&](Records &r) {
             r.Add(emr::EMR_SETMAPMODE, {8}).Add(emr::EMR_SETWINDOWEXTEX, {0, 0});
             r.Add(emr::EMR_SCALEVIEWPORTEXTEX, {1, 0, 1, 0}).Add(emr::EMR_SETVIEWPORTEXTEX, {5, 5});
             rectangleAt(r, 200, 400);
         }, {210, 420}},
        {"left multiply: the record's matrix first", [&](Records &r) {
             r.Add(emr::EMR_SETWORLDTRANSFORM, {Bits(2), 0, 0, Bits(2), 0, 0});
             r.Add(emr::EMR_MODIFYWORLDTRANSFORM, {Bits(1), 0, 0, Bits(1), Bits(10), 0, 2});
             rectangleAt(r, 5, 5);
         }, {40, 30}},
        {"right multiply: the record's matrix after", [&](Records &r) {
             r.Add(emr::EMR_SETWORLDTRANSFORM, {Bits(2), 0, 0, Bits(2), 0, 0});
             r.Add(emr::EMR_MODIFYWORLDTRANSFORM, {Bits(1), 0, 0, Bits(1), Bits(10), 0, 3});
             rectangleAt(r, 5, 5);
         }, {30, 30}},
        {"mode 4 replaces", [&](Records &r) {
             r.Add(emr::EMR_SETWORLDTRANSFORM, {Bits(2), 0, 0, Bits(2), 0, 0});
             r.Add(emr::EMR_MODIFYWORLDTRANSFORM, {Bits(1), 0, 0, Bits(1), Bits(10), 0, 4});
             rectangleAt(r, 5, 5);
         }, {25, 25}},
    };
    for (const Case &c : cases) {
        ItemEngine engine;
        Records records;
        c.build(records);
        Interpret(engine, records, 10, 20);
        TdeShapeItem *shape = FirstShape(engine);
        ASSERT_NE(shape, nullptr) << c.name;
        EXPECT_NEAR(shape->GetPoints()[0].X, c.expected.X, 1e-9) << c.name;
        EXPECT_NEAR(shape->GetPoints()[0].Y, c.expected.Y, 1e-9) << c.name;
    }
}

TEST(MetafileProcessor, SavedStatesObjectsAndStockObjects)
{
    const auto pen = [](Records &r, std::uint32_t index, TColor colour) {
        r.Add(emr::EMR_CREATEPEN, {index, 0, 1, 0, colour}).Add(emr::EMR_SELECTOBJECT, {index});
    };
    struct Case {
        const char *name;
        std::function<void(Records &)> build;
        std::function<void(ItemEngine &, TdeMetafileProcessor &)> check;
    };
    const std::vector<Case> cases = {
        {"RESTOREDC -1 restores the second state", [&](Records &r) {
             pen(r, 1, clRed);
             r.Add(emr::EMR_SAVEDC, {});
             pen(r, 2, clGreen);
             r.Add(emr::EMR_SAVEDC, {});
             pen(r, 3, clBlue);
             r.Add(emr::EMR_RESTOREDC, {-1});
         }, [](ItemEngine &, TdeMetafileProcessor &p) {
             EXPECT_EQ(p.FCurrentPen.Color, clGreen);
             EXPECT_EQ(p.FMetaState.size(), 1u);
         }},
        {"RESTOREDC -2 restores the first and keeps the second", [&](Records &r) {
             pen(r, 1, clRed);
             r.Add(emr::EMR_SAVEDC, {});
             pen(r, 2, clGreen);
             r.Add(emr::EMR_SAVEDC, {});
             pen(r, 3, clBlue);
             r.Add(emr::EMR_RESTOREDC, {-2});
         }, [](ItemEngine &engine, TdeMetafileProcessor &p) {
             EXPECT_EQ(p.FCurrentPen.Color, clRed);
             ASSERT_EQ(p.FMetaState.size(), 1u);
             EXPECT_EQ(p.FMetaState[0].FPen.Color, clGreen);
             // Every restore closes the clips in force, even with nothing saved.
             EXPECT_EQ(engine.Of<TdeClipItem>().size(), 1u);
         }},
        {"a reused index keeps later objects in place", [&](Records &r) {
             r.Add(emr::EMR_CREATEPEN, {1, 0, 1, 0, 0}).Add(emr::EMR_CREATEBRUSHINDIRECT, {2, 0, clRed, 0});
             r.Add(emr::EMR_DELETEOBJECT, {1});
             Font(r, 1, -13, 400);
         }, [](ItemEngine &, TdeMetafileProcessor &p) {
             ASSERT_EQ(p.FGDIOBJList.size(), 2u);
             EXPECT_EQ(p.FGDIOBJList[0]->FGDIOBJType, TdeGDIOBJType::goFont);
             EXPECT_EQ(p.FGDIOBJList[1]->FGDIOBJType, TdeGDIOBJType::goBrush);
         }},
        {"an object past the table's end lands at its index", [&](Records &r) {
             r.Add(emr::EMR_CREATEBRUSHINDIRECT, {3, 0, clRed, 0}).Add(emr::EMR_SELECTOBJECT, {3});
             r.Add(emr::EMR_RECTANGLE, {0, 0, 10, 10});
         }, [](ItemEngine &engine, TdeMetafileProcessor &p) {
             ASSERT_EQ(p.FGDIOBJList.size(), 3u);
             EXPECT_EQ(p.FGDIOBJList[2]->FGDIOBJType, TdeGDIOBJType::goBrush);
             EXPECT_EQ(FirstShape(engine)->Brush()->Color, clRed);
         }},
        {"stock brushes", [&](Records &r) {
             r.Add(emr::EMR_SELECTOBJECT, {0x80000003}).Add(emr::EMR_RECTANGLE, {0, 0, 1, 1});
             r.Add(emr::EMR_SELECTOBJECT, {0x80000005}).Add(emr::EMR_RECTANGLE, {0, 0, 1, 1});
         }, [](ItemEngine &engine, TdeMetafileProcessor &) {
             auto shapes = engine.Of<TdeShapeItem>();
             ASSERT_EQ(shapes.size(), 2u);
             EXPECT_EQ(shapes[0]->Brush()->Color, 0x404040); // dark grey, not the grey of GRAY_BRUSH
             EXPECT_EQ(shapes[1]->Brush()->Style, TBrushStyle::bsClear);
         }},
        {"palette-relative colours are black", [&](Records &r) {
             r.Add(emr::EMR_SETTEXTCOLOR, {0x01000010});
         }, [](ItemEngine &, TdeMetafileProcessor &p) { EXPECT_EQ(p.FTextColor, clBlack); }},
        {"pens: width 0 is one pixel; a geometric pen carries its join and cap", [&](Records &r) {
             r.Add(emr::EMR_CREATEPEN, {1, 0, 0, 0, 0});
             r.Add(emr::EMR_EXTCREATEPEN, {2, 0, 0, 0, 0, 0x10000 | 0x2000 | 0x200, 3, 0, clBlue, 0, 0});
         }, [](ItemEngine &, TdeMetafileProcessor &p) {
             EXPECT_EQ(p.FGDIOBJList[0]->FPen.Width, 1);
             EXPECT_EQ(p.FGDIOBJList[1]->FPen.Width, 3);
             EXPECT_EQ(p.FGDIOBJList[1]->FPenJoinStyle, TdePenJoinStyle::pjsMiter);
             EXPECT_EQ(p.FGDIOBJList[1]->FPenCapStyle, TdePenCapStyle::pcsFlat);
         }},
        {"a line takes join and cap from the selected pen, not the object made last", [&](Records &r) {
             r.Add(emr::EMR_EXTCREATEPEN, {1, 0, 0, 0, 0, 0x10000 | 0x1000 | 0x100, 3, 0, clBlue, 0, 0});
             r.Add(emr::EMR_SELECTOBJECT, {1});
             r.Add(emr::EMR_EXTCREATEPEN, {2, 0, 0, 0, 0, 0x10000 | 0x2000 | 0x200, 3, 0, clRed, 0, 0});
             r.Add(emr::EMR_MOVETOEX, {10, 10}).Add(emr::EMR_LINETO, {20, 20});
         }, [](ItemEngine &engine, TdeMetafileProcessor &p) {
             TdeShapeItem *line = FirstShape(engine);
             ASSERT_NE(line, nullptr);
             EXPECT_EQ(line->ShapeType, TdeShapeType::stLine);
             EXPECT_EQ(line->GetPoints(), (TdePoints{{10, 10}, {20, 20}}));
             EXPECT_EQ(line->PenJoinStyle, TdePenJoinStyle::pjsBevel);
             EXPECT_EQ(line->PenCapStyle, TdePenCapStyle::pcsSquare);
             EXPECT_EQ(p.FCurrentPathPoint, (TPoint{20, 20}));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ItemEngine engine;
        Records records;
        c.build(records);
        c.check(engine, *Interpret(engine, records));
    }
}

TEST(MetafileProcessor, FontSizesFromLogicalHeights)
{
    struct Case {
        std::int32_t height;
        std::int32_t weight;
        bool windowExtent;
        int size;
        bool bold;
    };
    const Case cases[] = {
        {-13, 400, false, 10, false}, {-13, 600, false, 10, false}, {-13, 700, false, 10, true},
        {-2667, 400, true, 20, false}, {-2667, 400, false, 2000, false}, {-133, 400, true, 100, false},
    };
    for (const Case &c : cases) {
        ItemEngine engine;
        Records records;
        if (c.windowExtent)
            records.Add(emr::EMR_SETWINDOWEXTEX, {1000, 1000});
        Font(records, 1, c.height, c.weight);
        records.Add(emr::EMR_SELECTOBJECT, {1});
        const auto p = Interpret(engine, records);
        EXPECT_EQ(p->FCurrentFont.Size, c.size) << c.height;
        EXPECT_EQ(p->FCurrentFont.Style.Contains(TFontStyle::fsBold), c.bold) << c.weight;
        EXPECT_EQ(p->FSymbolCharsetFontIdx, 1);
    }
}

// ---- Shapes, paths and clipping -------------------------------------------------------------------

TEST(MetafileProcessor, ShapeRecords)
{
    {
        SCOPED_TRACE("R2_NOP outlines a rectangle in the background colour, not an ellipse");
        ItemEngine engine;
        Records r;
        r.Add(emr::EMR_SETBKCOLOR, {clLime}).Add(emr::EMR_SETROP2, {11});
        r.Add(emr::EMR_RECTANGLE, {0, 0, 5, 5}).Add(emr::EMR_ELLIPSE, {0, 0, 5, 5});
        Interpret(engine, r);
        auto shapes = engine.Of<TdeShapeItem>();
        ASSERT_EQ(shapes.size(), 2u);
        EXPECT_EQ(shapes[0]->Pen.Color, clLime);
        EXPECT_EQ(shapes[1]->Pen.Color, clBlack);
    }
    {
        SCOPED_TRACE("POLYLINETO in both widths starts at the current position");
        for (bool small : {true, false}) {
            ItemEngine engine;
            Records r;
            r.Add(emr::EMR_MOVETOEX, {5, 5});
            r.Raw(small ? emr::EMR_POLYLINETO16 : emr::EMR_POLYLINETO, [&](TEmfWriter &w) {
                w.RectL(TRect{});
                w.U32(3);
                for (TPoint p : {TPoint{10, 5}, TPoint{10, 10}, TPoint{20, 30}}) {
                    if (small) {
                        w.I16(static_cast<std::int16_t>(p.X));
                        w.I16(static_cast<std::int16_t>(p.Y));
                    } else {
                        w.Point(p);
                    }
                }
            });
            const auto p = Interpret(engine, r);
            EXPECT_EQ(FirstShape(engine)->GetPoints(), (TdePoints{{5, 5}, {10, 5}, {10, 10}, {20, 30}}));
            EXPECT_EQ(p->FCurrentPathPoint, (TPoint{20, 30}));
        }
    }
    {
        SCOPED_TRACE("POLYPOLYGON16 with counts 4 and 3");
        ItemEngine engine;
        Records r;
        r.Raw(emr::EMR_POLYPOLYGON16, [](TEmfWriter &w) {
            w.RectL(TRect{});
            w.U32(2);
            w.U32(7);
            w.U32(4);
            w.U32(3);
            for (int i = 0; i < 7; ++i) {
                w.I16(static_cast<std::int16_t>(i));
                w.I16(static_cast<std::int16_t>(2 * i));
            }
        });
        // Counts that claim more points than the record holds are passed over.
        r.Raw(emr::EMR_POLYPOLYGON16, [](TEmfWriter &w) {
            w.RectL(TRect{});
            w.U32(2);
            w.U32(7000);
            w.U32(4000);
            w.U32(3000);
        });
        Interpret(engine, r);
        auto polys = engine.Of<TdePolyPolygonItem>();
        ASSERT_EQ(polys.size(), 1u);
        EXPECT_EQ(polys[0]->NoPoly, 2);
        EXPECT_EQ(polys[0]->NoPoints, (std::vector<int>{7, 4, 3}));
        EXPECT_EQ(polys[0]->Points[6], (TdePoint{6, 12}));
    }
    {
        SCOPED_TRACE("a clip region of three rectangles keeps all three");
        ItemEngine engine;
        Records r;
        r.Raw(emr::EMR_EXTSELECTCLIPRGN, [](TEmfWriter &w) {
            w.U32(32 + 3 * 16);
            w.U32(1);
            w.U32(32);
            w.U32(1);
            w.U32(3);
            w.U32(3 * 16);
            w.RectL(TRect{0, 0, 30, 10});
            w.RectL(TRect{0, 0, 10, 10});
            w.RectL(TRect{10, 0, 20, 10});
            w.RectL(TRect{20, 0, 30, 10});
        });
        Interpret(engine, r, 5, 0);
        auto clips = engine.Of<TdeClipItem>();
        ASSERT_EQ(clips.size(), 1u);
        EXPECT_EQ(clips[0]->ClipRects(), (std::vector<TRect>{{5, 0, 35, 10}, {5, 0, 15, 10}, {15, 0, 25, 10},
                                                             {25, 0, 35, 10}}));
        EXPECT_EQ(clips[0]->Mode, 1u);
    }
    {
        SCOPED_TRACE("without shapes to render, Beziers, paths and clips still come");
        ItemEngine engine;
        engine.SetItemsToRender(TdeItemsToRender{TdeItemsToRenderKind::irText});
        Records r;
        r.Add(emr::EMR_RECTANGLE, {0, 0, 5, 5}).Add(emr::EMR_BEGINPATH, {});
        r.Raw(emr::EMR_POLYBEZIER16, [](TEmfWriter &w) {
            w.RectL(TRect{});
            w.U32(4);
            for (int i = 0; i < 8; ++i)
                w.I16(static_cast<std::int16_t>(i));
        });
        r.Add(emr::EMR_ENDPATH, {}).Add(emr::EMR_STROKEPATH, {0, 0, 0, 0});
        Interpret(engine, r);
        EXPECT_EQ(engine.Of<TdeShapeItem>().size(), 1u); // the Bezier
        EXPECT_EQ(engine.Of<TdePathItem>().size(), 3u);
        EXPECT_EQ(engine.Of<TdeEOFItem>().size(), 1u);
    }
}

TEST(MetafileProcessor, TruncatedAndOversizedRecordsArePassedOver)
{
    ItemEngine engine;
    Records r;
    r.Add(emr::EMR_RECTANGLE, {0, 0}); // box cut short
    r.Add(emr::EMR_POLYLINE16, {0, 0, 0, 0, 0x7FFFFFFF});
    r.Add(emr::EMR_STRETCHDIBITS, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 76, 40, 116, 100000, 0, 0x00CC0020, 10, 10});
    r.Add(emr::EMR_SELECTOBJECT, {7}).Add(emr::EMR_DELETEOBJECT, {9});
    r.Add(emr::EMR_ELLIPSE, {0, 0, 5, 5});
    Interpret(engine, r);
    auto shapes = engine.Of<TdeShapeItem>();
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0]->ShapeType, TdeShapeType::stEllipse);
    EXPECT_EQ(engine.ResourceCount(), 0u);
}

// ---- Text -----------------------------------------------------------------------------------------

TEST(MetafileProcessor, TextRecordsPlaceTheirItems)
{
    struct Case {
        const char *name;
        std::uint32_t align;
        std::int32_t escapement;
        std::vector<int> dx;
        double dxFactor;
        std::function<void(const TdeTextItem &, double fontHeight)> check;
    };
    const std::vector<int> tens = {10, 10, 10, 10, 10};
    const std::vector<Case> cases = {
        {"top left", 0, 0, tens, 1, [](const TdeTextItem &t, double) {
             EXPECT_EQ(t.X, 110);
             EXPECT_EQ(t.Y, 70);
             EXPECT_EQ(t.Lines[0], u"Pipes");
             EXPECT_TRUE(t.IsFromMetafile);
         }},
        {"baseline moves up by the font height", 24, 0, tens, 1,
         [](const TdeTextItem &t, double h) { EXPECT_NEAR(t.Y, 70 - h, 1e-9); }},
        {"centre moves left by half the advance", 6, 0, tens, 1,
         [](const TdeTextItem &t, double) { EXPECT_NEAR(t.X, 85, 1e-9); }},
        {"right moves left by the advance", 2, 0, tens, 1,
         [](const TdeTextItem &t, double) { EXPECT_NEAR(t.X, 60, 1e-9); }},
        {"centre and baseline with no advance stay on the reference", 6 | 24, 0, {0, 0, 0, 0, 0}, 1,
         [](const TdeTextItem &t, double h) {
             EXPECT_NEAR(t.X, 110, 1e-9);
             EXPECT_NEAR(t.Y, 70 - h, 1e-9);
         }},
        {"escapement in whole degrees, halves to even", 0, 455, tens, 1,
         [](const TdeTextItem &t, double) { EXPECT_EQ(t.RotationAngle, 46); }},
        {"advances scale with the world transform", 0, 900, {7, 8, 9, 0, 0}, 2,
         [](const TdeTextItem &t, double) {
             EXPECT_EQ(t.RotationAngle, 90);
             EXPECT_EQ(t.CharSpaceArray, (std::vector<double>{14, 16, 18, 0, 0}));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ItemEngine engine;
        Records r;
        Font(r, 1, -16, 400, c.escapement);
        r.Add(emr::EMR_SELECTOBJECT, {1}).Add(emr::EMR_SETTEXTALIGN, {c.align});
        if (c.dxFactor != 1)
            r.Add(emr::EMR_SETWORLDTRANSFORM, {Bits(float(c.dxFactor)), 0, 0, Bits(1), 0, 0});
        TextOut(r, c.dxFactor != 1 ? 50 : 100, 50, u"Pipes", c.dx);
        const auto p = Interpret(engine, r, 10, 20);
        auto texts = engine.Of<TdeTextItem>();
        ASSERT_EQ(texts.size(), 1u);
        c.check(*texts[0], p->FCurrentFont.Size * 96.0 / 72.0);
    }
}

TEST(MetafileProcessor, WideCharactersFollowTheSelectedFont)
{
    ItemEngine engine;
    Records r;
    TextOut(r, 0, 0, u"a\u0100\u2019", {1, 1, 1});
    Font(r, 1, -16, 400);
    r.Add(emr::EMR_SELECTOBJECT, {1});
    TextOut(r, 0, 0, u"a\u0100\u2019", {1, 1, 1});
    Interpret(engine, r);
    auto texts = engine.Of<TdeTextItem>();
    ASSERT_EQ(texts.size(), 2u);
    // Before any font: low bytes only, a zero dropped.
    EXPECT_EQ(texts[0]->Lines[0], std::u16string(u"a\x19"));
    EXPECT_FALSE(texts[0]->IsWideString);
    EXPECT_EQ(texts[1]->Lines[0], u"a\u0100'");
    EXPECT_TRUE(texts[1]->IsWideString);
}

// ---- Bitmaps ----------------------------------------------------------------------------------------

TEST(MetafileProcessor, BlitsAtTheSamePlaceMergeIntoOnePicture)
{
    const Dib mask = MakeDib(4, 2, [](int x, int) { return x < 2 ? clBlack : clWhite; });
    const Dib paint = MakeDib(4, 2, [](int x, int) { return x < 2 ? clRed : clBlack; });
    ItemEngine engine;
    Records r;
    StretchBlt(r, 10, 10, 4, 2, rop::SRCAND, mask);
    StretchBlt(r, 10, 10, 4, 2, rop::SRCPAINT, paint);
    StretchBlt(r, 11, 10, 4, 2, rop::SRCPAINT, paint); // one pixel off: an image of its own
    Interpret(engine, r);
    auto images = engine.Of<TdeImageItem>();
    ASSERT_EQ(images.size(), 2u);
    const TBitmap merged = engine.Picture(images[0]->IndexNo);
    ASSERT_EQ(merged.Width(), 4);
    EXPECT_EQ(merged.Pixel(0, 0), clRed);   // masked, then painted
    EXPECT_EQ(merged.Pixel(3, 1), clWhite); // left as the page shows
    EXPECT_EQ(engine.ResourceCount(), engine.DigestSlots());
}

TEST(MetafileProcessor, IdenticalBitmapsShareOneResource)
{
    const Dib dib = MakeDib(3, 3, [](int x, int y) { return RGB(x * 80, y * 80, 7); });
    for (const bool merge : {false, true}) {
        SCOPED_TRACE(merge ? "then a blit merged into the second" : "two identical blits");
        ItemEngine engine;
        // A resource without a digest before them must not shift the reuse.
        Records r;
        SetDIBitsToDevice(r, 0, 0, 3, 3, 0, dib);
        StretchBlt(r, 100, 10, 3, 3, rop::SRCCOPY, dib);
        StretchBlt(r, 200, 10, 3, 3, rop::SRCCOPY, dib);
        if (merge)
            StretchBlt(r, 200, 10, 3, 3, rop::SRCINVERT, dib);
        Interpret(engine, r);
        auto images = engine.Of<TdeImageItem>();
        ASSERT_EQ(images.size(), 3u);
        EXPECT_NE(images[0]->IndexNo, images[1]->IndexNo);
        EXPECT_TRUE(SamePixels(engine.Picture(images[1]->IndexNo), engine.Picture(images[0]->IndexNo)));
        EXPECT_EQ(engine.ResourceCount(), engine.DigestSlots());
        if (!merge) {
            EXPECT_EQ(images[1]->IndexNo, images[2]->IndexNo);
            EXPECT_EQ(engine.ResourceCount(), 2u);
        } else {
            // The merge leaves the item that shares the picture alone.
            EXPECT_NE(images[1]->IndexNo, images[2]->IndexNo);
            EXPECT_EQ(engine.Picture(images[2]->IndexNo).Pixel(1, 1), clBlack); // inverted onto itself
        }
    }
}

TEST(MetafileProcessor, ABitmapInsideAStretchedDrawingIsStretchedWithIt)
{
    TMetafile inner;
    inner.Width = 100;
    inner.Height = 100;
    {
        TMetafileCanvas canvas(inner);
        TBitmap bitmap(4, 4);
        bitmap.Fill(clRed);
        canvas.StretchDraw(TRect{10, 20, 30, 60}, bitmap);
        canvas.Close();
    }
    TMetafile outer;
    outer.Width = 800;
    outer.Height = 600;
    {
        TMetafileCanvas canvas(outer);
        canvas.StretchDraw(TRect{100, 50, 300, 550}, inner); // twice as wide, five times as high
        canvas.Close();
    }
    ItemEngine engine;
    TdeMetafileProcessor processor(engine);
    processor.Execute(outer, 0, 0);
    auto images = engine.Of<TdeImageItem>();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_NEAR(images[0]->X, 120, 1e-3);
    EXPECT_NEAR(images[0]->Y, 150, 1e-3);
    EXPECT_NEAR(images[0]->Width, 40, 1e-3);
    EXPECT_NEAR(images[0]->Height, 200, 1e-3);
}

TEST(MetafileProcessor, BandsOfOneBitmapAreJoinedFromTheTop)
{
    ItemEngine engine;
    Records r;
    const TColor colours[] = {clRed, clGreen, clBlue};
    for (int band = 0; band < 3; ++band)
        SetDIBitsToDevice(r, 0, band * 100, 8, 100, band * 100,
                          MakeDib(8, 100, [&](int, int) { return colours[band]; }));
    // A top-down bitmap read as a bottom-up one of its source height.
    SetDIBitsToDevice(r, 50, 0, 2, 50, 0, MakeDib(2, 50, [](int, int y) { return y == 0 ? clRed : clBlack; }, -50));
    Interpret(engine, r);
    auto images = engine.Of<TdeImageItem>();
    ASSERT_EQ(images.size(), 2u);
    const TBitmap joined = engine.Picture(images[0]->IndexNo);
    ASSERT_EQ(joined.Height(), 300);
    EXPECT_EQ(images[0]->Height, 300);
    EXPECT_EQ(joined.Pixel(0, 0), clRed);
    EXPECT_EQ(joined.Pixel(0, 150), clGreen);
    EXPECT_EQ(joined.Pixel(0, 299), clBlue);
    EXPECT_EQ(engine.Picture(images[1]->IndexNo).Height(), 50);
}

TEST(MetafileProcessor, ColourTablesOfTheBitmapFile)
{
    struct Case {
        std::uint16_t bits;
        std::uint32_t compression;
        std::uint32_t used;
        std::size_t table;
    };
    const Case cases[] = {{8, 0, 0, 1024}, {24, 0, 0, 0}, {16, 3, 0, 12}, {8, 0, 3, 12}, {1, 0, 0, 8}};
    for (const Case &c : cases) {
        Records r;
        r.Raw(emr::EMR_SETDIBITSTODEVICE, [&](TEmfWriter &w) {
            for (int i = 0; i < 17; ++i)
                w.U32(0);
            w.U32(40);
            w.I32(1);
            w.I32(1);
            w.U16(1);
            w.U16(c.bits);
            w.U32(c.compression);
            for (int i = 0; i < 5; ++i)
                w.U32(i == 3 ? c.used : 0);
            for (std::size_t i = 0; i < c.table + 4; ++i)
                w.U8(0);
        });
        const TMetafile metafile = r.Metafile();
        const TEmfRecord record = metafile.Records()[1];
        const auto bmp = BuildBMPStream(record, 76, 40, 76 + 40 + c.table, 4);
        EXPECT_EQ(bmp.size(), 14 + 40 + c.table + 4) << c.bits << " bits, " << c.used << " used";
    }
}

TEST(MetafileProcessor, FillsWithoutASourceBitmap)
{
    ItemEngine engine;
    Records r;
    r.Add(emr::EMR_CREATEBRUSHINDIRECT, {1, 0, clYellow, 0}).Add(emr::EMR_SELECTOBJECT, {1});
    // PATCOPY fills with the brush and no outline; an unnamed operation draws nothing.
    r.Add(emr::EMR_BITBLT, {0, 0, 0, 0, 10, 10, 5, 5, rop::PATCOPY, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    r.Add(emr::EMR_BITBLT, {0, 0, 0, 0, 10, 10, 5, 5, 0x00123456, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // A fill through STRETCHBLT: opaque background outlines in the background colour.
    r.Add(emr::EMR_SETBKCOLOR, {clLime});
    r.Add(emr::EMR_STRETCHBLT, {0, 0, 20, 8, 0, 0, 0, 0, rop::PATCOPY, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    r.Add(emr::EMR_STRETCHBLT, {0, 0, 20, 0, 0, 0, 0, 0, rop::PATCOPY, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Interpret(engine, r);
    auto shapes = engine.Of<TdeShapeItem>();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0]->Pen.Style, TPenStyle::psClear);
    EXPECT_EQ(shapes[0]->Brush()->Color, clYellow);
    EXPECT_EQ(shapes[0]->GetPoints(), (TdePoints{{10, 10}, {15, 15}}));
    EXPECT_EQ(shapes[1]->ShapeType, TdeShapeType::stRectangle);
    EXPECT_EQ(shapes[1]->Pen.Color, clLime);
    EXPECT_EQ(shapes[2]->ShapeType, TdeShapeType::stLine);
    EXPECT_EQ(shapes[2]->Pen.Color, clYellow);
}

} // namespace
} // namespace tessaran
