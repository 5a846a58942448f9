// The whole render of a network, as it runs at every mouse move while a node
// is dragged: a grid of 1000 joints and 1000 pipes with labels, one pump,
// component, fitting pair or flow control on every fifth pipe, and the grid
// lines of the sheet, recorded into the sheet's metafile. The plan and the
// isometric view are measured separately.

#include "drawing/MetaFileDrawing_Class.h"
#include "network/Network_Class.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace tessaran;

namespace {

void buildGrid(TNetwork &net, int pipes)
{
    net.Clear();
    const int columns = 40, rows = 25;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            TNode node;
            node.Name = "N" + std::to_string(r * columns + c + 1);
            node.NodeType = (r == 0 && c % 10 == 0) ? Tank : Joint;
            node.x = 400 + c * 400;
            node.y = 400 + r * 400;
            net.AddNode(node);
        }
    int added = 0;
    for (int r = 0; r < rows && added < pipes; ++r)
        for (int c = 0; c < columns && added < pipes; ++c) {
            const int id = r * columns + c + 1;
            auto link = [&](int to) {
                if (added >= pipes)
                    return;
                TPipe pipe;
                pipe.Name = "P" + std::to_string(added + 1);
                pipe.Length_m = 100;
                pipe.InnerDiameter_m = 0.1;
                switch (added % 20) {
                case 0:
                    pipe.PumpCount = 1;
                    pipe.Pump.PumpImageIndex = (added / 20) % 10;
                    break;
                case 5:
                    pipe.ComponentPressureCount = 1;
                    pipe.ComponentPressure.ImageIndex = (added / 20) % 15;
                    pipe.ComponentPressure.Name = "C";
                    break;
                case 10: {
                    TFitting fitting;
                    fitting.SetFittingData(100, 1, "Bend", "100", "4", "Bend", 0.3);
                    pipe.FittingSet.AddFitting(fitting, 1, EntryFitting);
                    pipe.FittingSet.AddFitting(fitting, 1, ExitFitting);
                    break;
                }
                case 15:
                    pipe.FlowControlCount = 1;
                    pipe.FlowControl.ControlType = static_cast<TControlType>((added / 20) % 3);
                    pipe.FlowControl.Name = "V";
                    break;
                }
                net.AddPipeLink(id, to, pipe);
                ++added;
            };
            if (c + 1 < columns)
                link(id + 1);
            if (r + 1 < rows)
                link(id + columns);
        }
}

void BM_RenderNetwork(benchmark::State &state)
{
    TNetwork net;
    buildGrid(net, static_cast<int>(state.range(0)));
    if (state.range(1))
        net.SetisometricDrawing();
    TMetaFileDrawing drawing(TNetwork::SheetWidth, TNetwork::SheetHeight);
    TNetworkStates states;
    states.DrawingObject = DrawingDragNode;
    for (auto _ : state) {
        drawing.DrawMetaFileFromNetwork(net, states, false, true, false, 0, true);
        benchmark::DoNotOptimize(drawing.MetaFile.Bytes().data());
    }
    state.counters["metafile_kB"] = double(drawing.MetaFile.Bytes().size()) / 1024.0;
}
BENCHMARK(BM_RenderNetwork)->Args({1000, 0})->Args({1000, 1})->Args({100, 0})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
