#include "Main_Window_Fixture.h"

namespace tessaran::test {
namespace {

using HitTests = MainWindowTest;

TEST_F(HitTests, ItemsAreHitJustInsideTheirTolerance)
{
    TNetwork &n = *form->CurrentNetwork;
    const int node = AddNodeAt(n, 2000, 2000);
    n.GetNode(node).labelRelativex = 30;
    n.GetNode(node).labelRelativey = -40;
    const int big = AddNodeAt(n, 2400, 2000);
    n.GetNode(big).NodeScale = 1.5; // tolerance Trunc(3) + 8 = 11
    const int demand = AddNodeAt(n, 2800, 2000);
    n.GetNode(demand).JointDischarge_m3s = 0.1;
    n.GetNode(demand).JointDischargeRelativeX = 50;
    n.GetNode(demand).JointSupplyRelativeX = -50;
    n.GetNode(demand).JointDischargeRelativeY = 0;
    n.GetNode(demand).JointSupplyRelativeY = 0;
    const int steepFrom = AddNodeAt(n, 3000, 3000), steepTo = AddNodeAt(n, 3100, 3500);
    const int steep = AddPipeBetween(n, steepFrom, steepTo);
    const int upFrom = AddNodeAt(n, 4000, 4400), upTo = AddNodeAt(n, 4000, 4000);
    const int vertical = AddPipeBetween(n, upFrom, upTo);
    const int flatFrom = AddNodeAt(n, 5000, 5000), flatTo = AddNodeAt(n, 5400, 5000);
    const int flat = AddPipeBetween(n, flatFrom, flatTo);
    TPipe &pipe = n.GetPipe(flat);
    pipe.PumpCount = 1;
    pipe.Pump.x = 5100;
    pipe.Pump.y = 5000;
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressurex = 5300;
    pipe.ComponentPressurey = 5000;
    pipe.labelx = 5200;
    pipe.labely = 5040;
    n.AddFreeText("Note", 1000, 1000, 0, 10, TFontStyles{});

    struct Case {
        const char *what;
        int (TNetworkForm::*test)(int, int) const;
        int x, y, expected;
    };
    const Case cases[] = {
        {"node from 9", &TNetworkForm::CheckNodeClick, 2009, 1991, node},
        {"node from 10", &TNetworkForm::CheckNodeClick, 2010, 2000, 0},
        {"scaled node from 10", &TNetworkForm::CheckNodeClick, 2410, 2000, big},
        {"node label", &TNetworkForm::CheckNodeTextClick, 2039, 1960, node},
        {"demand out arrow", &TNetworkForm::CheckNodeDemandOutClick, 2850, 2009, demand},
        {"demand in arrow", &TNetworkForm::CheckNodeDemandInClick, 2750, 2000, demand},
        {"no demand, no arrow", &TNetworkForm::CheckNodeDemandInClick, 1950, 2000, 0},
        {"free text from 9", &TNetworkForm::CheckFreeTextClick, 1009, 1000, 1},
        {"free text from 10", &TNetworkForm::CheckFreeTextClick, 1010, 1000, 0},
        {"steep pipe 19 above", &TNetworkForm::CheckPipeClick, 3050, 3250 - 19, steep},
        {"steep pipe 19 below", &TNetworkForm::CheckPipeClick, 3050, 3250 + 19, steep},
        {"steep pipe 20 below", &TNetworkForm::CheckPipeClick, 3050, 3250 + 20, -1},
        {"steep pipe beyond its end", &TNetworkForm::CheckPipeClick, 3100, 3500, -1},
        {"vertical pipe 9 beside", &TNetworkForm::CheckPipeClick, 4009, 4200, vertical},
        {"vertical pipe 10 beside", &TNetworkForm::CheckPipeClick, 4010, 4200, -1},
        {"vertical pipe at its end", &TNetworkForm::CheckPipeClick, 4000, 4000, -1},
        {"pump", &TNetworkForm::CheckPumpClick, 5109, 5009, flat},
        {"pump from 10", &TNetworkForm::CheckPumpClick, 5110, 5000, 0},
        {"component", &TNetworkForm::CheckPipeComponentPressureClick, 5291, 5000, flat},
        {"no control valve", &TNetworkForm::CheckTessaranControlClick, 5300, 5000, 0},
        {"pipe label", &TNetworkForm::CheckPipeTextClick, 5200, 5049, flat},
    };
    for (const Case &c : cases)
        EXPECT_EQ((form.get()->*c.test)(c.x, c.y), c.expected) << c.what;

    // A closed pipe is found when no open pipe is under the point.
    n.RemoveNodeLinkAddClosedPipeLink(vertical);
    EXPECT_EQ(form->CheckPipeClick(4005, 4200), vertical);
    EXPECT_EQ(form->CheckClosedPipeClick(4005, 4200), vertical);
    EXPECT_EQ(form->CheckClosedPipeClick(3050, 3250), -1);
}

TEST_F(HitTests, BackgroundImageHandlesOneToTen)
{
    TNetwork &n = *form->CurrentNetwork;
    n.BackgroundImagesCount = 1;
    TBackgroundImage &image = n.BackgroundImages[1];
    image.ImageX = 6000;
    image.ImageY = 6000;
    image.ImageStretchWidth = 400;
    image.ImageStretchHeight = 300;
    const std::pair<int, int> handles[] = {{6000, 6000}, {6200, 6000}, {6400, 6000}, {6400, 6150}, {6400, 6300},
                                           {6200, 6300}, {6000, 6300}, {6000, 6150}, {6200, 6150}, {6030, 6026}};
    for (int h = 1; h <= 10; ++h) {
        int id = -1, handle = -1;
        const auto [x, y] = handles[h - 1];
        form->CheckBackgroundImageClick(x + 19, y - 19, id, handle);
        EXPECT_EQ(id, 1) << h;
        EXPECT_EQ(handle, h) << h;
    }
    int id = -1, handle = -1;
    form->CheckBackgroundImageClick(6100, 6100, id, handle);
    EXPECT_EQ(id, 0);
    // The later of two overlapping images wins.
    n.BackgroundImagesCount = 2;
    for (auto field : {&TBackgroundImage::ImageX, &TBackgroundImage::ImageY, &TBackgroundImage::ImageStretchWidth,
                        &TBackgroundImage::ImageStretchHeight})
        n.BackgroundImages[2].*field = image.*field;
    form->CheckBackgroundImageClick(6200, 6150, id, handle);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(handle, 9);
}

} // namespace
} // namespace tessaran::test
