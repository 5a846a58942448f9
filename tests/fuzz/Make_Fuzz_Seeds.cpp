// Writes the seed corpus of every fuzz target from our own save functions:
//   cmake --build build --target make_fuzz_seeds
//   build/tests/make_fuzz_seeds tests/data/fuzz
// Each target's first byte (where it has one) picks a version or flags, as
// that target reads it.

#include "docexport/Pdf_Engine.h"
#include "model/FileHeader.h"
#include "model/Fitting_Set_Class.h"
#include "model/Flow_Control_Class.h"
#include "model/Fluid_Class.h"
#include "model/Free_Text_Class.h"
#include "model/Node_Set_Class.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Set_Class.h"
#include "model/Pump_Class.h"
#include "network/Report_Options.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg_Image.h"
#include "platform/Metafile.h"
#include "platform/MetafileCanvas.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace tessaran;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

fs::path root;

void Write(const std::string &target, const std::string &name, const Bytes &bytes)
{
    fs::create_directories(root / target);
    std::ofstream file(root / target / name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Write(const std::string &target, const std::string &name, const std::string &text)
{
    Write(target, name, Bytes(text.begin(), text.end()));
}

// A first byte, then what a save wrote.
template <typename Save>
Bytes With(std::uint8_t first, Save save)
{
    TMemoryStream stream;
    save(stream);
    Bytes bytes{first};
    bytes.insert(bytes.end(), stream.Bytes().begin(), stream.Bytes().end());
    return bytes;
}

void SamplePipe(TPipe &pipe)
{
    pipe.Name = "Main";
    pipe.Length_m = 120;
    pipe.InnerDiameter_m = 0.1023;
    pipe.OuterDiameter_m = 0.1143;
    pipe.WallThickness_m = 0.006;
    pipe.InnerRoughness_m = 4.6e-5;
    pipe.WeightPerMetre_kg = 16.1;
    pipe.Material = "Steel";
    pipe.ScheduleClass = "Sch 40";
    pipe.NominalDiameterMetric = 100;
    pipe.NominalDiameterMetricString = "DN100";
    pipe.NominalDiameterImperialString = "4\"";
}

std::string PipeTableText()
{
    TPipe pipe;
    SamplePipe(pipe);
    std::ostringstream text;
    TFileHeader header;
    header.SetData("1.05", "", "");
    header.SaveToText(text);
    pipe.SaveDiameterDataToText(text);
    pipe.OuterDiameter_m = 0.0603;
    pipe.InnerDiameter_m = 0.0525;
    pipe.SaveDiameterDataToText(text);
    return text.str();
}

std::string FittingTableText()
{
    TFittingSet set(10);
    std::istringstream in("100~|~3~|~LR90~|~100 mm~|~4 in~|~Long radius bend~|~0.45\r\n"
                          "50~|~7~|~Ball~|~50 mm~|~2 in~|~Ball valve~|~0.05\r\n");
    (void)set.LoadFromTextWithoutQuantity(in);
    std::ostringstream out;
    set.SaveToTextWithoutQuantity(out);
    return out.str();
}

void Pictures()
{
    TBitmap bitmap(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bitmap.SetPixel(x, y, static_cast<TColor>(0x102030 * (x + 1) + y));
    Write("Pictures", "five_by_three.bmp", bitmap.SaveToBytes());
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    Write("Pictures", "five_by_three.jpg", jpeg.SaveToBytes());
}

void Metafiles()
{
    TMetafile metafile;
    metafile.Width = 120;
    metafile.Height = 80;
    {
        TMetafileCanvas canvas(metafile);
        canvas.MoveTo(5, 5);
        canvas.LineTo(100, 60);
        canvas.Rectangle(10, 10, 50, 40);
        canvas.Ellipse(60, 10, 110, 70);
        const TPoint points[] = {{1, 1}, {20, 70}, {40, 5}};
        canvas.Polygon(points);
        canvas.Close();
    }
    Write("Metafile", "shapes.emf", metafile.Bytes());
}

void Records()
{
    const std::uint8_t v740 = 9; // "7.40" in the Records target's list
    TFluid fluid;
    fluid.name = "Water";
    Write("Records", "fluid.bin", With(v740, [&](TStream &s) { fluid.Save(s); }));
    TNode node;
    node.Name = "Junction";
    node.NodeType = Tank;
    Write("Records", "node.bin", With(v740, [&](TStream &s) { node.Save(s, "7.40"); }));
    TFlowControl valve;
    valve.ControlType = PRV;
    Write("Records", "flow_control.bin", With(v740, [&](TStream &s) { valve.Save(s, "7.40"); }));
    TFittingSet set(5);
    std::istringstream in(FittingTableText());
    (void)set.LoadFromTextWithoutQuantity(in);
    Write("Records", "fitting_set.bin", With(v740, [&](TStream &s) { set.Save(s, "7.40"); }));
    TFileHeader header;
    header.SetData("1.02", "", "");
    std::ostringstream text;
    header.SaveToText(text);
    Write("Records", "fitting_table.txt", std::string(1, static_cast<char>(v740)) + text.str() + FittingTableText());
}

void PipeTables()
{
    const std::uint8_t v740 = 7; // "7.40" in the Pipe_Tables target's list
    TPipe pipe;
    SamplePipe(pipe);
    Write("Pipe_Tables", "pipe.bin", With(v740, [&](TStream &s) { pipe.Save(s, "7.40"); }));
    TNodeSet nodes;
    TNode node;
    node.Name = "N1";
    nodes.AddNode(node);
    Write("Pipe_Tables", "node_set.bin", With(v740, [&](TStream &s) { nodes.Save(s, "7.40"); }));
    TPipeSet pipes;
    pipes.AddPipe(pipe);
    Write("Pipe_Tables", "pipe_set.bin", With(v740, [&](TStream &s) { pipes.Save(s, "7.40"); }));
    TFreeText note;
    note.SetText("A note");
    Write("Pipe_Tables", "free_text.bin", With(v740, [&](TStream &s) { note.Save(s); }));
    Write("Pipe_Tables", "pipe_table.txt", std::string(1, '\x01') + PipeTableText());
}

void Pumps()
{
    TPump pump;
    pump.Name = "Duty";
    pump.PumpType = PumpFixedSpeed;
    pump.PumpPoints.PointsCount = 3;
    for (int i = 1; i <= 3; ++i) {
        pump.PumpPoints.Points[i].Flow_m3s = 0.01 * (i - 1);
        pump.PumpPoints.Points[i].Head_mHd = 40 - 5.0 * i;
    }
    pump.calcPumpCurves(998);
    const std::uint8_t v740 = 13; // "7.40" in the Pump_Record target's list
    Write("Pump_Record", "standalone.bin", With(0x80 | v740, [&](TStream &s) { pump.Save(s, "7.40", 998, true); }));
    Write("Pump_Record", "in_network.bin", With(v740, [&](TStream &s) { pump.Save(s, "7.40", 998, false); }));
    Write("Pump_Text", "seven_points.txt",
          "Pump 50-250\r\nMaker\r\nSeries X\r\nrpm,mm\r\n1450,250\r\nskipped\r\n0,36,72,108,144,180,216\r\n"
          "50,49,46,41,34,25,14\r\n0,45,65,75,72,60,40\r\n1,1.2,1.6,2.2,3.0,4.2,-1\r\n");
}

void TextTables()
{
    Write("Text_Tables", "fittings.txt", std::string(1, '\0') + FittingTableText());
    Write("Text_Tables", "user_fittings.txt", "\x01" + FittingTableText());
    Write("Text_Tables", "pipe_sizes.txt", "\x02" + PipeTableText());
}

void NumericEntry()
{
    const char *entries[] = {"\x00\x21" "12.5", "\x01\x13" "-0,25", "\x06\x40" "1e5", "\x02\x00" "00042", "\x04\x11" "-"};
    int n = 0;
    for (const char *entry : entries)
        Write("Numeric_Entry", "entry" + std::to_string(++n) + ".txt", std::string(entry, 2 + std::strlen(entry + 2)));
}

void ReportOptions()
{
    TReportOptions options;
    options.companyName = "Works";
    options.title = "Cooling water";
    Write("Report_Options", "liquid.bin", With(0, [&](TStream &s) { options.SaveReportOptions(s, false); }));
    TReportOptions gas;
    gas.ClearPDFReportOptions(true);
    Write("Report_Options", "gas.bin", With(1, [&](TStream &s) { gas.SaveReportOptions(s, true); }));
}

void PdfCalls()
{
    // Custom page 8 x 4 in, then a line, a filled rectangle, an ellipse, a
    // thick pen, an outline entry, a new page and a polygon.
    const std::uint8_t program[] = {1, 0, 8, 0, 4, 0, 0, 0, 0,
                                    0, 0, 1, 0, 1, 0, 7, 0, 3,
                                    1, 0, 2, 0, 2, 0, 5, 0, 3, 1,
                                    2, 0, 1, 0, 1, 0, 2, 0, 2, 0,
                                    6, 4,
                                    7, 0, 0, 2,
                                    8,
                                    4, 3, 0, 1, 0, 1, 0, 5, 0, 1, 0, 3, 0, 3, 1};
    Write("Pdf_Calls", "shapes.bin", Bytes(std::begin(program), std::end(program)));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds <tests/data/fuzz>\n";
        return 2;
    }
    root = argv[1];
    Pictures();
    Metafiles();
    Records();
    PipeTables();
    Pumps();
    TextTables();
    NumericEntry();
    ReportOptions();
    PdfCalls();
    return 0;
}
