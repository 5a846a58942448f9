#include "docexport/Document_Engine.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// Reads back the items of the page being written.
class ShapeEngine : public TdeCustomDocumentEngine {
public:
    ShapeEngine()
    {
        Preferences().SetShowSetupDialog(false);
        Preferences().SetOpenAfterCreate(false);
    }
    std::vector<TdeShapeItem *> Shapes() const
    {
        std::vector<TdeShapeItem *> shapes;
        if (FCurrentDocumentItemList)
            for (auto &item : *FCurrentDocumentItemList)
                if (auto *shape = dynamic_cast<TdeShapeItem *>(item.get()))
                    shapes.push_back(shape);
        return shapes;
    }
};

class ShapeCalls : public ::testing::Test {
protected:
    ShapeCalls()
    {
        // A one-inch margin on every side puts the band's origin at (96, 96).
        engine.Page().SetLeftMargin(1);
        engine.Page().SetTopMargin(1);
        engine.BeginDoc();
        engine.Pen().Color = clRed;
        engine.Brush().Color = clBlue;
    }
    ~ShapeCalls() override { engine.EndDoc(); }
    ShapeEngine engine;
};

TEST_F(ShapeCalls, EveryCallMakesOneItemInNativeUnitsFromTheBandOrigin)
{
    const TdePoints three = {{0, 0}, {1, 0}, {1, 1}};
    engine.Line(0, 0, 1, 2);
    engine.Rectangle(0, 0, 1, 1, true);
    engine.RoundRect(0, 0, 2, 1, 0.25, 0.5, false);
    engine.Ellipse(0, 0, 1, 1, false);
    engine.Polygon(three, true);
    engine.PolyLine(three);
    engine.Arc(0, 0, 1, 1, 1, 0.5, 0.5, 0);
    engine.Pie(0, 0, 1, 1, 1, 0.5, 0.5, 0, true);
    engine.Chord(0, 0, 1, 1, 1, 0.5, 0.5, 0, false);
    engine.PolyBezier({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const auto shapes = engine.Shapes();
    ASSERT_EQ(shapes.size(), 10u);
    struct Expected {
        TdeShapeType type;
        int points;
        bool filled;
    } expected[] = {
        {TdeShapeType::stLine, 2, false},    {TdeShapeType::stRectangle, 2, true}, {TdeShapeType::stRoundRect, 3, false},
        {TdeShapeType::stEllipse, 2, false}, {TdeShapeType::stPolygon, 3, true},   {TdeShapeType::stPolyLine, 3, false},
        {TdeShapeType::stArc, 4, false},     {TdeShapeType::stPie, 4, true},       {TdeShapeType::stChord, 4, false},
        {TdeShapeType::stPolyBezier, 4, false},
    };
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shapes[i]->ShapeType, expected[i].type);
        EXPECT_EQ(shapes[i]->NoPoints(), expected[i].points);
        EXPECT_EQ(shapes[i]->Brush() != nullptr, expected[i].filled);
        if (shapes[i]->Brush())
            EXPECT_EQ(shapes[i]->Brush()->Color, clBlue);
        EXPECT_EQ(shapes[i]->Pen.Color, clRed);
        EXPECT_EQ(shapes[i]->PenJoinStyle, TdePenJoinStyle::pjsNone);
        EXPECT_EQ(shapes[i]->GetPoints()[0], (TdePoint{96, 96}));
    }
    EXPECT_EQ(shapes[0]->GetPoints()[1], (TdePoint{192, 288}));
    // The corner ellipse's size is not moved by the band origin.
    EXPECT_EQ(shapes[2]->GetPoints()[1], (TdePoint{288, 192}));
    EXPECT_EQ(shapes[2]->GetPoints()[2], (TdePoint{24, 48}));
    EXPECT_EQ(shapes[6]->GetPoints()[3], (TdePoint{144, 96}));
}

TEST_F(ShapeCalls, ItemsToRenderAndOpenDocumentGateTheCalls)
{
    engine.SetItemsToRender({TdeItemsToRenderKind::irText});
    engine.Line(0, 0, 1, 1);
    engine.Rectangle(0, 0, 1, 1, true);
    engine.PolyBezier({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    engine.Arc(0, 0, 1, 1, 1, 0.5, 0.5, 0); // an arc is added all the same
    ASSERT_EQ(engine.Shapes().size(), 1u);
    EXPECT_EQ(engine.Shapes()[0]->ShapeType, TdeShapeType::stArc);

    ShapeEngine idle;
    idle.Line(0, 0, 1, 1);
    idle.Arc(0, 0, 1, 1, 1, 0.5, 0.5, 0);
    EXPECT_TRUE(idle.Shapes().empty());
}

} // namespace
} // namespace tessaran
