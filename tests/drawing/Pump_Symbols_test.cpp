#include "drawing/Canvas_Drawings.h"
#include "drawing/Log_Points.h"
#include "drawing/Pump_Symbols.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tessaran {
namespace {

const double kIsoYaw = kPi / 4;
const double kIsoTilt = std::atan(0.5);

std::unique_ptr<TCanvasLog> pump(int style, int fromX, int fromY, int x, int y, double yaw = 0, double scale = 1.0,
                                 int stages = 1, const TPumpSymbolColors &colours = PumpSymbolColors[0],
                                 const char *text = "P1")
{
    auto log = std::make_unique<TCanvasLog>();
    DrawPumpSymbol(*log, fromX, fromY, x, y, text, "", colours, false, yaw, yaw != 0 ? kIsoTilt : 0, style, scale,
                   stages, 7);
    return log;
}

std::vector<TPoint> relative(const std::string &line, TPoint origin)
{
    auto pts = PointsOf(line);
    for (TPoint &p : pts)
        p = {p.X - origin.X, p.Y - origin.Y};
    return pts;
}

TEST(PumpSymbols, StyleZeroBoxAndTriangle)
{
    auto log = pump(0, 100, 200, 160, 200);
    EXPECT_EQ(relative(log->Calls("Ellipse")[0], {160, 200}), Pts({{-7, -7}, {8, 8}}));
    EXPECT_EQ(relative(log->Calls("Polygon")[0], {160, 200}), Pts({{4, 0}, {-2, -6}, {-2, 6}}));
    EXPECT_EQ(PointsOf(log->Calls("TextOut")[0]), Pts({{162, 208}}));
    // At scale 2 the circle grows, the texts stay put.
    auto big = pump(0, 100, 200, 160, 200, 0, 2.0);
    EXPECT_EQ(relative(big->Calls("Ellipse")[0], {160, 200}), Pts({{-14, -14}, {15, 15}}));
    EXPECT_EQ(PointsOf(big->Calls("TextOut")[0]), Pts({{162, 208}}));
    // Isometric: plain circle on level and upright pipes and at 40 degrees, turned at 26.565.
    EXPECT_EQ(pump(0, 100, 200, 160, 200, kIsoYaw)->Calls("Ellipse").size(), 1u);
    EXPECT_EQ(pump(0, 160, 100, 160, 200, kIsoYaw)->Calls("Ellipse").size(), 1u);
    EXPECT_EQ(pump(0, 100, 200, 160, 230, kIsoYaw)->Calls("Ellipse").size(), 0u);
    EXPECT_EQ(pump(0, 100, 200, 160, 250, kIsoYaw)->Calls("Ellipse").size(), 1u);
}

TEST(PumpSymbols, StyleOnePointForPointRightLeftAndDown)
{
    const std::vector<std::vector<TPoint>> parts = {
        {{16, -4}, {16, 4}, {0, 11}, {0, -4}},     {{18, -6}, {18, 6}, {15, 6}, {15, -6}},
        {{-17, -5}, {-17, 5}, {0, 9}, {0, -5}},    {{-18, -7}, {-18, 7}, {-16, 7}, {-16, -7}},
        {{-11, -5}, {-7, -5}, {-7, -3}, {-11, -3}}, {{-10, -5}, {-8, -5}, {-8, -3}, {-10, -3}},
        {{6, -5}, {10, -5}, {10, -3}, {6, -3}},    {{7, -5}, {9, -5}, {9, -3}, {7, -3}},
        {{-12, -2}, {-12, -4}, {11, -4}, {11, -2}},
        {{-11, 14}, {-11, 10}, {-7, 10}, {-6, 9}, {6, 9}, {7, 10}, {11, 10}, {11, 14}}};
    auto right = pump(1, 100, 200, 160, 200);
    const auto polys = right->Calls("Polygon");
    ASSERT_EQ(polys.size(), parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i)
        EXPECT_EQ(relative(polys[i], {160, 200}), parts[i]) << i;
    const auto circles = right->Calls("Ellipse");
    ASSERT_EQ(circles.size(), 3u);
    EXPECT_EQ(relative(circles[0], {160, 200}), Pts({{-12, -12}, {12, 12}}));
    EXPECT_EQ(relative(circles[1], {160, 200}), Pts({{-9, -9}, {9, 9}}));
    EXPECT_EQ(relative(circles[2], {160, 200}), Pts({{-4, -4}, {4, 4}}));
    EXPECT_NE(polys[0].find("brush 3C14DC solid"), std::string::npos);
    EXPECT_NE(polys[9].find("brush 808080 solid"), std::string::npos);

    auto left = pump(1, 300, 200, 160, 200);
    auto down = pump(1, 160, 100, 160, 200);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::vector<TPoint> mirrored, turned;
        for (const TPoint &p : parts[i]) {
            mirrored.push_back({-p.X, p.Y});
            turned.push_back({-p.Y, p.X});
        }
        EXPECT_EQ(relative(left->Calls("Polygon")[i], {160, 200}), mirrored) << i;
        EXPECT_EQ(relative(down->Calls("Polygon")[i], {160, 200}), turned) << i;
    }
    // Scale 2: the foot is 22 either side and stands from 8 above its line to 1 below.
    auto big = pump(1, 100, 200, 160, 200, 0, 2.0);
    const auto foot = relative(big->Calls("Polygon").back(), {160, 200});
    EXPECT_EQ(foot.front().X, -22);
    EXPECT_EQ(foot.front().Y - foot[3].Y, 9);
}

TEST(PumpSymbols, StyleOneCirclesInTheIsometricView)
{
    auto level = pump(1, 100, 200, 160, 200, kIsoYaw);
    const auto circles = level->Calls("Ellipse");
    ASSERT_GE(circles.size(), 2u);
    EXPECT_EQ(relative(circles[0], {160, 200}), Pts({{-10, -11}, {10, 11}}));
    EXPECT_EQ(relative(circles[1], {160, 200}), Pts({{-7, -9}, {7, 9}}));
    auto slanted = pump(1, 100, 200, 160, 230, kIsoYaw);
    EXPECT_TRUE(slanted->Calls("Ellipse").empty());
    EXPECT_EQ(slanted->Calls("StrokeAndFillPath").size(), 3u);
    auto steep = pump(1, 100, 200, 160, 250, kIsoYaw);
    const auto plain = steep->Calls("Ellipse");
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(relative(plain[0], {160, 250}), Pts({{-11, -11}, {11, 11}}));
    EXPECT_EQ(relative(plain[2], {160, 250}), Pts({{-4, -4}, {4, 4}}));
    auto vertical = pump(1, 160, 100, 160, 200, kIsoYaw);
    EXPECT_EQ(vertical->Calls("StrokeAndFillPath").size(), 3u);
}

TEST(PumpSymbols, StyleTwoBoltsAndHub)
{
    auto plan = pump(2, 100, 200, 160, 200);
    const auto circles = plan->Calls("Ellipse");
    ASSERT_EQ(circles.size(), 2u + 8u + 1u); // casing, inner circle, eight bolt marks, hub
    EXPECT_EQ(relative(circles[2], {160, 200}), Pts({{6, -1}, {8, 1}}));  // the first mark at (7, 0)
    EXPECT_EQ(relative(circles.back(), {160, 200}), Pts({{-6, -6}, {6, 6}}));
    auto iso = pump(2, 100, 200, 160, 200, kIsoYaw);
    const auto hub = relative(iso->Calls("Ellipse").back(), {160, 200});
    EXPECT_EQ(hub[1].Y, 4);
}

TEST(PumpSymbols, MultistageReachAndBranchSide)
{
    const std::pair<int, int> reaches[] = {{1, 79}, {2, 88}, {9, 151}, {12, 151}, {0, 79}, {-5, 79}};
    for (auto [stages, reach] : reaches) {
        auto log = pump(7, 100, 200, 300, 200, 0, 1.0, stages);
        int minX = 1 << 20, maxX = -(1 << 20);
        for (const std::string &line : log->Calls("Polygon"))
            for (const TPoint &p : PointsOf(line)) {
                minX = std::min(minX, p.X - 300);
                maxX = std::max(maxX, p.X - 300);
            }
        EXPECT_EQ(minX, -1) << stages;
        EXPECT_EQ(maxX, reach) << stages;
    }
    auto branchY = [](const TCanvasLog &log, TPoint origin) {
        int minY = 1 << 20, maxY = -(1 << 20);
        for (const std::string &line : log.Calls("Polygon"))
            for (const TPoint &p : PointsOf(line)) {
                minY = std::min(minY, p.Y - origin.Y);
                maxY = std::max(maxY, p.Y - origin.Y);
            }
        return -minY > maxY ? -1 : 1; // -1: up
    };
    EXPECT_EQ(branchY(*pump(7, 100, 200, 300, 200), {300, 200}), -1);
    EXPECT_EQ(branchY(*pump(8, 100, 200, 300, 200), {300, 200}), 1);
    EXPECT_EQ(branchY(*pump(7, 500, 200, 300, 200), {300, 200}), 1);
    EXPECT_EQ(branchY(*pump(8, 500, 200, 300, 200), {300, 200}), -1);
    EXPECT_EQ(branchY(*pump(7, 500, 200, 300, 200, kIsoYaw), {300, 200}), 1);
    // The screen is the only hatched part.
    int hatched = 0;
    for (const std::string &line : pump(8, 100, 200, 300, 200)->Calls("Polygon"))
        hatched += line.find("diagcross") != std::string::npos ? 1 : 0;
    EXPECT_EQ(hatched, 1);
}

TEST(PumpSymbols, DispatcherRangesColoursAndEveryStyleInBothViews)
{
    EXPECT_TRUE(pump(10, 100, 200, 160, 200)->Lines.empty());
    EXPECT_TRUE(pump(-1, 100, 200, 160, 200)->Lines.empty());
    EXPECT_EQ(BlendColors(0x0000FF, 0x000000, 80), 0x0000CB);
    EXPECT_EQ(BlendColors(0x808080, 0x000000, 80), 0x666666);
    EXPECT_EQ(&PumpColorsFor(7, true), &PumpSymbolColors[0]);
    EXPECT_EQ(&PumpColorsFor(-1, true), &PumpSymbolColors[0]);
    EXPECT_EQ(&PumpColorsFor(2, false), &NotInCalculationPumpColors);
    const int offsets[] = {0, 12, 6, 22, 8, 24, 8, -4, -4, 14, 0};
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(PumpSymbolOffset(i), offsets[i]);

    for (int style = 0; style <= 9; ++style)
        for (double yaw : {0.0, kIsoYaw})
            for (auto [fx, fy] : {std::pair{100, 200}, std::pair{300, 200}, std::pair{160, 100}, std::pair{100, 170},
                                  std::pair{220, 260}}) {
                auto log = pump(style, fx, fy, 160, 200, yaw, 1.0, 3, NotInCalculationPumpColors);
                ASSERT_FALSE(log->Calls("Polygon").empty()) << style;
                for (const std::string &line : log->Lines) {
                    for (const TPoint &p : PointsOf(line))
                        EXPECT_TRUE(std::abs(p.X - 160) <= 160 && std::abs(p.Y - 200) <= 160) << style << line;
                    if (line.rfind("Polygon", 0) == 0)
                        EXPECT_EQ(line.find("pen 000000"), std::string::npos) << style; // light grey outlines
                }
            }
    // Style 9's shading has no outline.
    int clear = 0;
    for (const std::string &line : pump(9, 100, 200, 160, 200)->Calls("Polygon"))
        clear += line.find(" clear brush") != std::string::npos ? 1 : 0;
    EXPECT_EQ(clear, 1);
}

} // namespace
} // namespace tessaran
