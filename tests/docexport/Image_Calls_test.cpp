#include "docexport/Document_Engine.h"
#include "platform/Jpeg_Image.h"
#include "platform/MetafileCanvas.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

class ImageEngine : public TdeCustomDocumentEngine {
public:
    explicit ImageEngine(bool reusable = true)
    {
        Preferences().SetShowSetupDialog(false);
        Preferences().SetOpenAfterCreate(false);
        if (reusable)
            FCapabilities.Include(TdeCapabilityKind::ckImageReusable);
    }
    std::vector<TdeImageItem *> Images() const
    {
        std::vector<TdeImageItem *> images;
        for (auto &item : *FCurrentDocumentItemList)
            if (auto *image = dynamic_cast<TdeImageItem *>(item.get()))
                images.push_back(image);
        return images;
    }
    TdeItemList &PageItems() { return CurrentPageItem()->DocumentItems; }
    std::size_t Resources() const { return FImageResourceList.size(); }
    using TdeCustomDocumentEngine::FCurrentDocumentItemList;
    using TdeCustomDocumentEngine::FTableItem;
};

TdePicture Bmp(int width, int height, TColor colour = clRed)
{
    TBitmap bitmap(width, height);
    bitmap.Fill(colour);
    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = bitmap.SaveToBytes();
    return picture;
}

TEST(ImageCalls, RepeatedPicturesAreHeldOnceWhenReuseIsOn)
{
    struct Case {
        bool reusable;
        bool asResources;
        std::size_t resources;
    };
    for (const Case c : {Case{true, true, 1}, Case{true, false, 2}, Case{false, true, 2}}) {
        ImageEngine engine(c.reusable);
        engine.Preferences().SetUseImagesAsResources(c.asResources);
        engine.BeginDoc();
        engine.DrawImage(TdeRect{0, 0, 1, 1}, Bmp(8, 8));
        engine.DrawImage(TdeRect{1, 1, 2, 2}, Bmp(8, 8));
        EXPECT_EQ(engine.Resources(), c.resources);
        const auto images = engine.Images();
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[0]->IndexNo == images[1]->IndexNo, c.resources == 1);
        engine.EndDoc();
    }
}

TEST(ImageCalls, AResourceIsPlacedByIndexAndSwitchesReuseOn)
{
    ImageEngine engine;
    engine.Preferences().SetUseImagesAsResources(false);
    engine.BeginDoc();
    const int index = engine.AddImageAsResource(Bmp(8, 8));
    EXPECT_TRUE(engine.Preferences().UseImagesAsResources());
    engine.DrawImage(TdeRect{0, 0, 1, 1}, index);
    engine.DrawImage(TdeRect{0, 0, 1, 1}, index + 1); // names no picture
    ASSERT_EQ(engine.Images().size(), 1u);
    EXPECT_EQ(engine.Images()[0]->IndexNo, index);
    engine.EndDoc();
}

TEST(ImageCalls, PlacementInTheRectangle)
{
    struct Case {
        const char *name;
        int w, h;
        bool keepAspect, center, stretch;
        TdeRect expected; // X, Y, width, height
    };
    const Case cases[] = {
        {"wide picture kept in proportion and centred", 400, 100, true, true, false, {0, 75, 200, 50}},
        {"tall picture kept in proportion", 100, 400, true, false, false, {0, 0, 50, 200}},
        {"larger in one direction fills the rectangle", 300, 100, false, false, false, {0, 0, 200, 200}},
        {"smaller keeps its size", 50, 40, false, false, false, {0, 0, 50, 40}},
        {"stretched fills the rectangle", 50, 40, false, false, true, {0, 0, 200, 200}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ImageEngine engine;
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.ImageSettings().KeepAspectRatio = c.keepAspect;
        engine.ImageSettings().Center = c.center;
        engine.ImageSettings().Stretch = c.stretch;
        engine.BeginDoc();
        const TdeRect band = engine.BandRect();
        engine.DrawImage(TdeRect{0, 0, 200, 200}, Bmp(c.w, c.h));
        ASSERT_EQ(engine.Images().size(), 1u);
        const TdeImageItem &item = *engine.Images()[0];
        EXPECT_DOUBLE_EQ(item.X - band.Left, c.expected.Left);
        EXPECT_DOUBLE_EQ(item.Y - band.Top, c.expected.Top);
        EXPECT_DOUBLE_EQ(item.Width, c.expected.Right);
        EXPECT_DOUBLE_EQ(item.Height, c.expected.Bottom);
        engine.EndDoc();
    }
}

TEST(ImageCalls, APictureInATableCellSizesItsRow)
{
    for (const bool adjust : {false, true}) {
        SCOPED_TRACE(adjust ? "column grows" : "width capped by the column");
        ImageEngine engine;
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        TdeTableSettings settings;
        settings.SetColumnWidth(100);
        settings.SetInternalMargin(TdeRect{2, 2, 2, 2});
        settings.AutoAdjustColumnWidth = adjust;
        engine.SetTableSettings(settings);
        engine.BeginDoc();
        engine.DrawImage(0, 300, 75, Bmp(400, 100)); // no table: ignored
        ASSERT_NE(engine.BeginTable(0, 0, 2), nullptr);
        engine.NewRow(10);
        engine.DrawImage(1, 300, 75, Bmp(400, 100));
        engine.DrawImage(2, 300, 75, Bmp(400, 100)); // no such column
        const TdeTableItem &table = *engine.FTableItem;
        ASSERT_EQ(table.RowItemsList[0].size(), 1u);
        const auto &cell = dynamic_cast<const TdeImageItem &>(*table.RowItemsList[0][0]);
        EXPECT_EQ(cell.X, 1);
        EXPECT_EQ(cell.Y, 0);
        EXPECT_EQ(cell.Width, adjust ? 300 : 96);
        EXPECT_EQ(cell.Height, adjust ? 75 : 24); // the aspect ratio kept
        EXPECT_EQ(table.RowHeights[0], adjust ? 79 : 28);
        EXPECT_EQ(table.Columns[1].Width, adjust ? 304 : 100);
        engine.EndTable();
        engine.EndDoc();
    }
}

TEST(ImageCalls, PicturesThatCannotBeDrawnAreReported)
{
    ImageEngine engine;
    std::vector<std::string> errors;
    engine.OnErrorMessage = [&](TdeBaseComponent *, const std::exception &e) { errors.push_back(e.what()); };
    engine.BeginDoc();
    TdePicture garbage;
    garbage.Format = "bmp";
    garbage.Data = {'B', 'M', 1, 2, 3};
    engine.DrawImage(TdeRect{0, 0, 1, 1}, garbage);
    TMemoryStream notJpeg;
    notJpeg.WriteBuffer("hello", 5);
    engine.DrawJPEGDirect(TdeRect{0, 0, 1, 1}, 10, 10, notJpeg);
    EXPECT_EQ(errors, (std::vector<std::string>{"Unknown Graphics format", "Unknown Graphics format"}));
    EXPECT_TRUE(engine.Images().empty());
    EXPECT_EQ(engine.Resources(), 0u);
    engine.EndDoc();
}

TEST(ImageCalls, PassThroughImagesAndMetafilesLandOnThePage)
{
    ImageEngine engine;
    engine.SetMeasurementUnit(TdeUnitType::muPixels);
    engine.Page().SetLeftMargin(96);
    engine.Page().SetTopMargin(96);
    engine.BeginDoc();
    TBitmap grey(16, 8);
    grey.Fill(0x808080);
    TMemoryStream jpeg;
    const auto bytes = EncodeJpeg(grey, 80, true);
    jpeg.WriteBuffer(bytes.data(), bytes.size());
    // On the page, not in the band.
    engine.DrawJPEGDirect(TdeRect{0, 0, 16, 8}, 16, 8, jpeg);
    auto *stream = dynamic_cast<TdeImageStream *>(engine.Images().at(0));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->X, 0);
    EXPECT_EQ(stream->Y, 0);
    EXPECT_EQ(stream->Stream.Bytes(), bytes);

    // Stretched onto the page's recording while a header is written, it
    // still becomes page content when the page closes.
    TMetafile picture;
    picture.Width = 10;
    picture.Height = 10;
    {
        TMetafileCanvas canvas(picture);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.Close();
    }
    engine.BeginHeader();
    engine.PlayMetafile(TdeRect{0, 0, 100, 50}, picture);
    engine.EndHeader();
    engine.PlayMetafile(5, 5, picture);
    std::vector<TdeShapeItem *> before;
    for (auto &item : engine.PageItems())
        if (auto *shape = dynamic_cast<TdeShapeItem *>(item.get()))
            before.push_back(shape);
    ASSERT_EQ(before.size(), 1u); // the one played at once, at the band origin plus (5, 5)
    EXPECT_EQ(before[0]->GetPoints()[0], (TdePoint{101, 101}));
    engine.NewPage();
    engine.SetWorkingPage(1);
    std::vector<TdeShapeItem *> after;
    for (auto &item : engine.PageItems())
        if (auto *shape = dynamic_cast<TdeShapeItem *>(item.get()))
            after.push_back(shape);
    ASSERT_EQ(after.size(), 2u);
    // Scaled to 100 x 50 at the page's band origin.
    EXPECT_NEAR(after[1]->GetPoints()[1].X - after[1]->GetPoints()[0].X, 100, 1e-3);
    EXPECT_NEAR(after[1]->GetPoints()[1].Y - after[1]->GetPoints()[0].Y, 50, 1e-3);
    engine.EndDoc();
}

} // namespace
} // namespace tessaran
