#pragma once
// Network files of any layout version, written by the tests from the file's
// field tables (never taken from another program). The writer takes its
// values from a source network and writes exactly the fields that a file of
// the given version holds; the calculation settings of the early layout
// (before the per-method parameters) come from their own record.

#include "network/Network_Class.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "units/Util_Functions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tessaran::test {

// The single set of solver settings of the early layout.
struct TEarlySettings {
    double FlowBalance = 0.000025;          // kg/s, m³/s before zones
    double LoopBalanceInitial_bar = 0.35;
    double LoopBalanceFinal_bar = 0.000025;
    double NodeTolerance_bar = 0.00004;     // from the tolerance version
    std::int32_t IterationsInitial = 321;
    std::int32_t IterationsFinal = 4321;
    double DeltaFinal = 0.25;
    double MinVelocity = 0.15;              // parameter 6
    double MaxVelocity = 45;                // parameter 7
    double NpshTolerance = 27;              // parameter 3, from its version
    double HighLiquidVelocity = 6.5;        // parameter 4
    double HighGasVelocity = 95;            // parameter 5
    double DensityTolerance = 7.5;          // parameters 2, 16, 27, from their version
};

// Where the writer put the network-level counts, for tests that damage them.
struct TLayoutMarks {
    std::int64_t FluidZonesCount = -1;
    std::int64_t NodeTable = -1;
    std::int64_t PipeTable = -1;
    std::int64_t NodeLinksCount = -1;
    std::int64_t ClosedLinksCount = -1;
    std::int64_t PipeLoopsCount = -1;
    std::int64_t Settings = -1;
    std::int64_t DefaultPipe = -1;
    std::int64_t FreeTextsCount = -1;
    std::int64_t BackgroundImagesCount = -1;
    std::int64_t End = -1;
};

class TNetworkFileWriter {
public:
    TNetworkFileWriter(TNetwork &source, std::string version) : n_(source), v_(std::move(version)) {}

    TEarlySettings Early;
    TLayoutMarks Marks;
    std::string FileName;
    std::string FileDate;
    // Bytes written into the reserved fields; the reader skips them.
    std::uint8_t ReservedFill = 0;

    std::vector<std::uint8_t> Write()
    {
        TMemoryStream s;
        TFileHeader header;
        header.SetData(v_, FileName, FileDate, '.');
        header.Save(s);
        if (from("6.30"))
            for (int i = 0; i < 28; ++i)
                s.WriteByte(ReservedFill);
        s.WriteByte(ReservedFill);
        if (from("3.12")) {
            s.WriteBool(n_.IsometricDrawing);
            s.WriteInt32(n_.MetaFileDrawing_XGridSpacing);
            s.WriteInt32(n_.MetaFileDrawing_YGridSpacing);
            s.WriteDouble(n_.IsometricXRadAng);
            s.WriteDouble(n_.IsometricYRadAng);
            s.WriteDouble(n_.SymbolScale);
        }
        if (from("2.063")) {
            Marks.FluidZonesCount = s.Position();
            s.WriteInt32(n_.FluidZonesCount);
            for (int i = 1; i <= n_.FluidZonesCount; ++i) {
                writeFluid(s, n_.FluidZones[static_cast<std::size_t>(i)].Fluid);
                s.WriteInt32(n_.FluidZones[static_cast<std::size_t>(i)].Color);
            }
        } else {
            writeFluid(s, n_.FluidZones[1].Fluid);
        }
        Marks.NodeTable = s.Position();
        n_.NodeSet.Save(s, v_);
        Marks.PipeTable = s.Position();
        writePipeTable(s);
        Marks.NodeLinksCount = s.Position();
        writeLinks(s, n_.NodeLinks, n_.NodeLinksCount);
        Marks.ClosedLinksCount = s.Position();
        writeLinks(s, n_.NodeLinksClosedPipe, n_.NodeLinksClosedPipeCount);
        Marks.PipeLoopsCount = s.Position();
        s.WriteInt32(n_.PipeLoopsCount);
        for (int loop = 1; loop <= n_.PipeLoopsCount; ++loop)
            for (int entry = 1; entry <= TNetwork::MaxLoopPipes; ++entry)
                s.WriteInt32(n_.PipeLoops[static_cast<std::size_t>(loop)][static_cast<std::size_t>(entry)]);
        Marks.Settings = s.Position();
        writeSettings(s);
        Marks.DefaultPipe = s.Position();
        writePipe(s, *n_.ConfigOptions.DefaultPipe, from("4.06") ? v_ : "0");
        Marks.FreeTextsCount = s.Position();
        s.WriteInt32(n_.FreeTextsCount);
        for (int i = 1; i <= n_.FreeTextsCount; ++i)
            writeFreeText(s, n_.FreeTexts[static_cast<std::size_t>(i)]);
        if (from("7.08")) {
            Marks.BackgroundImagesCount = s.Position();
            s.WriteInt32(n_.BackgroundImagesCount);
            for (int i = 1; i <= n_.BackgroundImagesCount; ++i) {
                const TBackgroundImage &image = n_.BackgroundImages[static_cast<std::size_t>(i)];
                WriteBitmapToStream(s, *image.Bitmap);
                WriteBitmapToStream(s, *image.BitmapAdjusted);
                for (std::int32_t value : {image.ImageX, image.ImageY, image.ImageStretchWidth,
                                           image.ImageStretchHeight, image.DisplayLayer, image.ImageOpacity})
                    s.WriteInt32(value);
                s.WriteBool(image.UseGreyScale);
                s.WriteBool(image.HideImage);
            }
        }
        Marks.End = s.Position();
        return s.Bytes();
    }

private:
    bool from(const char *gate) const { return VersionAtLeast(v_, gate); }

    // The fluid record: the specific heat ratio came with "7.02".
    void writeFluid(TStream &s, const TFluid &f) const
    {
        s.WriteShortString(f.name, TFluid::NameLength);
        s.WriteShortString(f.chemicalFormula, TFluid::ChemicalFormulaLength);
        for (double value : {f.degrees_K, f.pressure_bar_g, f.centistokes, f.centipoise, f.density_kgs_m3,
                             f.vapourPressure_bar_a})
            s.WriteDouble(value);
        if (from("7.02"))
            s.WriteDouble(f.specificHeatRatio);
        s.WriteBool(f.FluidIsGas);
        s.WriteDouble(f.compressedFlowFactor);
    }

    // The pipe record writes its own fields and the embedded pump in the
    // current layout whatever the version. A file older than the metric
    // nominal text does not hold it (after name, three reals, material and
    // the metric nominal size: 90 bytes in); and a file older than the last
    // change of the pump record gets a pump record of its own age: the
    // pipes of such fixtures carry no pump, and a cleared pump record is
    // all zeros, as long as that version's pump reader takes.
    static void writePipe(TStream &s, TPipe &pipe, const std::string &version)
    {
        TMemoryStream record;
        pipe.Save(record, version);
        std::vector<std::uint8_t> bytes = record.Bytes();
        if (VersionBelow(version, "7.06")) {
            EXPECT_EQ(pipe.PumpCount, 0) << "an old fixture's pipe cannot carry a pump";
            TMemoryStream pump;
            pipe.Pump.Save(pump, version, 0.0, false);
            const std::size_t after = bytes.size() - PipeBytesAfterPump;
            const std::size_t start = after - static_cast<std::size_t>(pump.Size());
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(after));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(start), ClearedPumpRecordSize(version), 0);
        }
        if (VersionBelow(version, "6.35"))
            bytes.erase(bytes.begin() + 90, bytes.begin() + 90 + 21);
        s.WriteBytes(bytes);
    }

    // Pump distance, position and elevation, velocity, Reynolds number, flow
    // type (30 characters), friction and fittings losses, notes (200).
    static constexpr std::size_t PipeBytesAfterPump = 5 * 8 + 31 + 2 * 8 + 201;

    // Serves zeros and counts what a reader takes.
    class TZeroStream : public TStream {
    public:
        void ReadBuffer(void *buffer, std::size_t count) override
        {
            std::memset(buffer, 0, count);
            position_ += static_cast<std::int64_t>(count);
        }
        void WriteBuffer(const void *, std::size_t) override { throw EStreamError("read only"); }
        std::int64_t Position() const override { return position_; }
        void Seek(std::int64_t position) override { position_ = position; }
        std::int64_t Size() const override { return std::int64_t{1} << 30; }

    private:
        std::int64_t position_ = 0;
    };

    static std::size_t ClearedPumpRecordSize(const std::string &version)
    {
        TZeroStream zeros;
        TPump pump;
        pump.Load(zeros, version, 0.0, false);
        return static_cast<std::size_t>(zeros.Position());
    }

    void writePipeTable(TStream &s) const
    {
        s.WriteInt32(n_.PipeSet.NumberOfPipesUsed());
        for (int id = 1; id <= TPipeSet::MaxNumberOfPipes; ++id) {
            if (!n_.PipeSet.PipeArray.IsUsed(id))
                continue;
            s.WriteInt32(id);
            writePipe(s, n_.PipeSet.GetPipe(id), v_);
            s.WriteInt32(0);
        }
    }

    static void writeLinks(TStream &s, const TNetwork::TNodeLinks &links, int count)
    {
        s.WriteInt32(count);
        for (int i = 1; i <= count; ++i) {
            s.WriteInt32(links[static_cast<std::size_t>(i)].FromNodeId);
            s.WriteInt32(links[static_cast<std::size_t>(i)].ToNodeId);
            s.WriteInt32(links[static_cast<std::size_t>(i)].PipeId);
        }
    }

    void writeFreeText(TStream &s, const TFreeText &text) const
    {
        if (from("5.11")) {
            text.Save(s);
            return;
        }
        s.WriteShortString(text.GetText(), 250);
        s.WriteInt32(text.x);
        s.WriteInt32(text.y);
        s.WriteInt32(text.Color);
        s.WriteInt32(text.Size);
        s.WriteByte(text.Style.ToByte());
        s.WriteInt32(text.Angle);
    }

    void writeParameters(TStream &s, int first, int last) const
    {
        for (int i = first; i <= last; ++i)
            s.WriteDouble(n_.ConfigOptions.CalculationParameters[static_cast<std::size_t>(i)]);
    }

    void writeSettings(TStream &s) const
    {
        const TConfigOptions &c = n_.ConfigOptions;
        s.WriteEnum(c.PressureReference);
        s.WriteDouble(c.Atmosphere_bar_a);
        for (TUnit unit : {c.UnitOfAtmosphere, c.UnitOfLength, c.UnitOfDiameter, c.UnitOfRoughness, c.UnitOfFlow,
                           c.UnitOfVelocity, c.UnitOfPressureLoss, c.UnitOfWeight, c.UnitOfArea, c.UnitOfVolume,
                           c.UnitOfSurfacePressure, c.UnitOfLiquidLevel, c.UnitOfElevation, c.UnitOfTemperature,
                           c.UnitOfPressure, c.UnitOfDensity})
            s.WriteEnum(unit);
        if (from("2.063")) {
            s.WriteEnum(c.UnitOfMassFlow);
            s.WriteEnum(c.UnitOfEnergy);
        }
        if (from("6.41")) {
            s.WriteEnum(c.UnitOfGasFlow);
            s.WriteEnum(c.GasFlowTemperaturePressureModel);
        }
        for (bool flag : {c.ShowPipeId, c.ShowPipeName, c.ShowPipeDiam, c.ShowPipeLength, c.ShowComponentName,
                          c.ShowFlowControlName, c.ShowFittingsValves, c.ShowFittingsBends, c.ShowFittingsKValue,
                          c.ShowPumpName, c.ShowPumpDistance, c.ShowPumpElevation, c.ShowNodeId, c.ShowNodeName,
                          c.ShowNodeElevation, c.ShowNodeTankInfo, c.ShowPipeFlowRate})
            s.WriteBool(flag);
        if (from("2.063"))
            s.WriteBool(c.ShowPipeMassFlowRate);
        if (from("6.41"))
            s.WriteBool(c.ShowPipeGasFlowRate);
        for (bool flag : {c.ShowPipeVelocity, c.ShowPipePressureLoss, c.ShowFittingsNothing,
                          c.ShowFittingsPressureLoss, c.ShowPumpNothing, c.ShowPumpHead, c.ShowPumpNPSHa,
                          c.ShowNodeNothing, c.ShowNodePressure})
            s.WriteBool(flag);
        if (from("7.17")) {
            s.WriteInt32(c.DefaultTextSize);
            s.WriteInt32(c.DemandTextSize);
            s.WriteInt32(c.NodeLabelSpacingY);
        }
        if (from("7.04")) {
            s.WriteEnum(c.MethodOfSolution);
            s.WriteEnum(c.MethodOfCalculationNonCompressible);
            s.WriteEnum(c.MethodOfCalculationCompressible);
            s.WriteBool(c.GasSystemCheckFinalNodeBalanceUsePercent);
        }
        if (from("7.01"))
            writeCalculationSettings(s);
        else
            writeEarlyCalculationSettings(s);
        if (from("1.15")) {
            s.WriteBool(c.UseResultsColors);
            s.WriteInt32(c.ResultsColor1);
            s.WriteInt32(c.ResultsColor2);
            s.WriteInt32(c.ResultsColor3);
            s.WriteEnum(c.ResultsColorItem);
        }
    }

    void writeCalculationSettings(TStream &s) const
    {
        const TConfigOptions &c = n_.ConfigOptions;
        const bool perMethod = from("7.03");
        writeParameters(s, 0, 2);
        if (perMethod)
            writeParameters(s, 3, 5);
        writeParameters(s, 6, 16);
        if (perMethod)
            writeParameters(s, 17, 19);
        writeParameters(s, 20, 27);
        if (perMethod)
            writeParameters(s, 28, 30);
        writeParameters(s, 31, 36);
        if (perMethod)
            writeParameters(s, 37, 37);
        if (v_ == "7.15")
            s.WriteDouble(-987654.321); // the 8 bytes only this version holds
        writeParameters(s, 38, 44);
        if (perMethod)
            writeParameters(s, 45, 45);
        if (from("7.05"))
            s.WriteDouble(c.PipelineEfficiencyE);
        if (perMethod) {
            s.WriteEnum(c.ZCompressibilityModel);
            s.WriteDouble(c.ZCompressibilityFactor);
        }
        s.WriteDouble(c.NodeBalancingToleranceFinal_bar);
        if (!perMethod)
            writeParameters(s, 3, 5);
    }

    void writeEarlyCalculationSettings(TStream &s) const
    {
        s.WriteDouble(Early.FlowBalance);
        s.WriteDouble(Early.LoopBalanceInitial_bar);
        s.WriteDouble(Early.LoopBalanceFinal_bar);
        if (from("4.60"))
            s.WriteDouble(Early.NodeTolerance_bar);
        if (from("6.45"))
            s.WriteDouble(-55555.5); // skipped by the reader
        s.WriteInt32(Early.IterationsInitial);
        s.WriteInt32(Early.IterationsFinal);
        s.WriteDouble(Early.DeltaFinal);
        s.WriteDouble(Early.MinVelocity);
        s.WriteDouble(Early.MaxVelocity);
        if (from("6.36"))
            s.WriteDouble(Early.NpshTolerance);
        s.WriteDouble(Early.HighLiquidVelocity);
        s.WriteDouble(Early.HighGasVelocity);
        if (from("6.34"))
            s.WriteDouble(Early.DensityTolerance);
    }

    TNetwork &n_;
    std::string v_;
};

inline std::vector<std::uint8_t> SavedBytes(TNetwork &network)
{
    TMemoryStream stream;
    network.Save(stream);
    return stream.Bytes();
}

inline void LoadBytes(TNetwork &network, const std::vector<std::uint8_t> &bytes)
{
    TMemoryStream stream(bytes);
    network.Load(stream);
}

} // namespace tessaran::test
