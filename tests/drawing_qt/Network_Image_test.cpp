#include "drawing/Drawing_Network_Fixture.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "drawing_qt/Reference_Image.h"
#include "platform/qt/Qt_Canvas.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

constexpr int kWidth = 1700, kHeight = 1100;

// The fixture network solved: tanks feed joints and end-pressure nodes.
void solve(TNetwork &net)
{
    bool solved = false, ok = false;
    TResultsLog log, privateLog;
    net.SolveNetwork(solved, ok, log, privateLog);
    ASSERT_TRUE(solved) << (log.Lines.empty() ? "" : log.Lines.back());
    net.solvedSuccessful = true;
    net.ConfigOptions.ResultsColorItem = ResultsVelocity;
    net.SetResultsColorItemMinMaxValues();
}

struct Case {
    const char *name;
    bool iso, results;
};

TEST(NetworkImage, EveryItemInBothViewsDesignedAndSolved)
{
    const Case cases[] = {{"network_plan.png", false, false},
                          {"network_iso.png", true, false},
                          {"network_plan_results.png", false, true},
                          {"network_iso_results.png", true, true}};
    for (const Case &c : cases) {
        TNetwork net;
        test::BuildDrawingFixture(net, !c.results);
        if (c.iso)
            net.SetisometricDrawing();
        if (c.results)
            solve(net);
        TNetworkStates states;
        states.CurrentPipeIdSelected = net.GetNodeLink(12).PipeId;
        TMetaFileDrawing drawing(TNetwork::SheetWidth, TNetwork::SheetHeight);
        drawing.DrawMetaFileFromNetwork(net, states, c.results, true, false, 0, true);

        // Played back from the recording, as the window shows it.
        QImage played = WhiteImage(kWidth, kHeight);
        {
            QPainter painter(&played);
            PlayMetafile(painter, drawing.MetaFile, QRectF(0, 0, TNetwork::SheetWidth, TNetwork::SheetHeight));
        }
        ExpectMatchesReference(played, QString::fromLatin1(c.name));

        // Painted directly, the same picture.
        TNetwork again;
        test::BuildDrawingFixture(again, !c.results);
        if (c.iso)
            again.SetisometricDrawing();
        if (c.results)
            solve(again);
        QImage direct = WhiteImage(kWidth, kHeight);
        {
            TQtCanvas canvas(&direct);
            drawing.DrawNetworkOnCanvas(canvas, again, states, c.results, true, false, 0, true);
        }
        EXPECT_LE(DifferingShare(played, direct), 0.02) << c.name;
    }
}

} // namespace
} // namespace tessaran
