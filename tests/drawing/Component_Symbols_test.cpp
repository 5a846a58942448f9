#include "drawing/Canvas_Drawings.h"
#include "drawing/Component_Symbols.h"
#include "drawing/Log_Points.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tessaran {
namespace {

const double kIsoYaw = kPi / 4;
const double kIsoTilt = std::atan(0.5);

std::unique_ptr<TCanvasLog> draw(int style, int x1, int y1, int x, int y, double yaw = 0, TColor pen = clBlack,
                                 const char *name = "C1")
{
    auto log = std::make_unique<TCanvasLog>();
    DrawComponentSymbol(style, *log, x1, y1, x, y, name, pen, false, yaw, yaw != 0 ? kIsoTilt : 0,
                        yaw != 0 ? 1.2 : 1.0, 7);
    return log;
}

TEST(ComponentSymbols, StyleZeroBothWaysAndShearedInTheIsometricView)
{
    auto right = draw(0, 100, 200, 160, 200);
    EXPECT_EQ(PointsOf(right->Calls("Polygon")[0]), Pts({{150, 195}, {170, 195}, {170, 205}, {150, 205}}));
    const auto zigzag = PointsOf(right->Calls("Polyline")[0]);
    EXPECT_EQ(zigzag.front(), TPoint(150, 200));
    EXPECT_EQ(zigzag.back(), TPoint(170, 200));
    EXPECT_EQ(PointsOf(right->Calls("TextOut")[0]), Pts({{150, 205}}));
    auto left = draw(0, 300, 200, 240, 200);
    EXPECT_EQ(PointsOf(left->Calls("TextOut")[0]), Pts({{230, 206}}));
    EXPECT_NE(left->Calls("TextOut")[0].find("esc 0 "), std::string::npos);

    auto iso = draw(0, 100, 200, 160, 230, kIsoYaw);
    EXPECT_EQ(PointsOf(iso->Calls("Polygon")[0]), Pts({{151, 220}, {169, 229}, {169, 240}, {151, 231}}));
    EXPECT_EQ(PointsOf(iso->Calls("Polyline")[0]),
              Pts({{151, 226}, {155, 227}, {157, 232}, {163, 228}, {165, 233}, {169, 234}}));
    EXPECT_EQ(PointsOf(iso->Calls("TextOut")[0]), Pts({{149, 230}}));
    EXPECT_NE(iso->Calls("TextOut")[0].find("esc -270"), std::string::npos);

    // Level pipes are not sheared.
    EXPECT_EQ(draw(0, 100, 200, 160, 200, kIsoYaw)->Lines, right->Lines);
}

TEST(ComponentSymbols, TurnedAndUprightStylesKeepTheirSides)
{
    // Style 1 to the left: light red hooks on the right of the point.
    auto left1 = draw(1, 300, 200, 240, 200);
    const auto firstStroke = left1->Calls("LineTo")[0];
    EXPECT_NE(firstStroke.find("pen 7F7FFF 2"), std::string::npos);
    EXPECT_GT(PointsOf(firstStroke)[0].X, 240);

    // Style 2's white circle stays a plain circle in the isometric view.
    auto iso2 = draw(2, 100, 200, 160, 230, kIsoYaw);
    EXPECT_EQ(PointsOf(iso2->Calls("Ellipse")[0]), Pts({{156, 226}, {165, 235}}));

    // Style 5: on a level pipe its ellipse turns at -tilt, down to the right at +tilt.
    auto level5 = draw(5, 100, 200, 160, 200, kIsoYaw);
    auto plan5 = draw(5, 100, 200, 160, 200);
    EXPECT_EQ(level5->Calls("Polygon")[0], plan5->Calls("Polygon")[0]);
    EXPECT_EQ(level5->Calls("Ellipse").size(), 0u);
    auto down5 = draw(5, 100, 200, 160, 230, kIsoYaw);
    const auto a = PointsOf(level5->Calls("PolyBezier")[0]), b = PointsOf(down5->Calls("PolyBezier")[0]);
    // Turned counter-clockwise by the angle: at -tilt the right side falls.
    EXPECT_GT(a[3].Y - a[0].Y, 0);
    EXPECT_LT(b[3].Y - b[0].Y, 0);

    // Style 9 on an upright pipe draws as on a level one; only the label turns.
    auto up9 = draw(9, 160, 100, 160, 200), level9 = draw(9, 100, 200, 160, 200);
    EXPECT_EQ(up9->Calls("Ellipse"), level9->Calls("Ellipse"));
    EXPECT_NE(up9->Calls("TextOut")[0].find("esc -900"), std::string::npos);

    // Style 12: stem above the body to the left, to the right of it going down.
    for (const TPoint &p : PointsOf(draw(12, 300, 200, 240, 200)->Calls("Polygon")[3]))
        EXPECT_LE(p.Y, 200 - 3);
    for (const TPoint &p : PointsOf(draw(12, 160, 100, 160, 200)->Calls("Polygon")[3]))
        EXPECT_TRUE(p.X >= 163 && p.X <= 167) << p.X;

    EXPECT_EQ(PointsOf(draw(13, 100, 200, 160, 200)->Calls("Ellipse")[0]), Pts({{152, 192}, {169, 209}}));
}

TEST(ComponentSymbols, SilverPenShadesTheColouredParts)
{
    auto s0 = draw(0, 100, 200, 160, 200, 0, clSilver);
    EXPECT_NE(s0->Calls("Polyline")[0].find("pen E0E0E0"), std::string::npos);
    auto s3 = draw(3, 100, 200, 160, 200, 0, clSilver);
    EXPECT_NE(s3->Calls("Polygon")[1].find("brush E0E0E0"), std::string::npos);
    auto s6 = draw(6, 100, 200, 160, 200, 0, clSilver);
    EXPECT_NE(s6->Calls("LineTo").back().find("pen E0E0E0"), std::string::npos);
    EXPECT_NE(s0->Calls("TextOut")[0].find("C0C0C0"), std::string::npos);
}

TEST(ComponentSymbols, EveryStyleDrawsInBothViewsAndOthersDrawNothing)
{
    for (int style = 0; style < ComponentStyleCount; ++style)
        for (double yaw : {0.0, kIsoYaw})
            for (auto [x1, y1] : {std::pair{100, 200}, std::pair{220, 260}, std::pair{160, 300}, std::pair{160, 200}}) {
                auto log = draw(style, x1, y1, 160, 200, yaw);
                EXPECT_FALSE(log->Lines.empty()) << style;
                for (const std::string &line : log->Lines)
                    for (const TPoint &p : PointsOf(line))
                        EXPECT_TRUE(std::abs(p.X - 160) < 40 && std::abs(p.Y - 200) < 40) << style << " " << line;
            }
    EXPECT_TRUE(draw(15, 100, 200, 160, 200)->Lines.empty());
    EXPECT_TRUE(draw(-1, 100, 200, 160, 200)->Lines.empty());
}

} // namespace
} // namespace tessaran
