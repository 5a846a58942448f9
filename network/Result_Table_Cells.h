#pragma once
// What the result and input-data tables of a network share: writing into a
// text grid that grows to take the rows and columns written, the heading
// rows, the closing row count, and the cell texts that several tables show
// alike (values in the display units, the pipe's name, zone and material
// cells, the pump head cell and the high-velocity marking).

#include "network/Network_Class.h"

#include <string>
#include <utility>
#include <vector>

namespace tessaran {

// Result tables show at least this many rows, so that a short table still
// fills its sheet.
inline constexpr int MinimumResultTableRows = 28;

// Writes a cell, growing the grid first when the cell lies outside it.
void PutCell(TStringGrid &grid, int col, int row, const std::string &text);
// Heading texts from column 0 on: the first of each pair on `row`, the
// second on `row` + 1.
void PutHeadings(TStringGrid &grid, int row, const std::vector<std::pair<std::string, std::string>> &headings);
void SetFirstColumnWidths(TStringGrid &grid, int width0, int width1);
// The row count after a table: its last row + 1, raised to minimumRows.
void SetTableRowCount(TStringGrid &grid, int finishRow, int minimumRows);

// Notes kept as lines, as one line of a cell: the lines joined by single
// blanks.
std::string NotesOnOneLine(const std::vector<std::string> &notes);
std::string Trimmed(const std::string &text);

// The value formats of the tables and texts for one network's display units.
class TResultFormats {
public:
    explicit TResultFormats(const TNetwork &network);

    // Converted to a display unit and written with its default decimals, or
    // with the given decimals.
    std::string Conv(TUnit from, TUnit to, double value) const;
    std::string Conv(TUnit from, TUnit to, int decimals, double value) const;
    // A pressure or head with a fluid's density and the network's atmosphere.
    std::string Pres(TUnit from, TUnit to, double value, double density) const;
    // A pressure difference in bar, without an atmospheric offset. A fluid
    // head unit takes the fluid's density (without it the value is infinite).
    std::string Diff(TUnit to, double difference_bar, double density) const;
    // A head in metres of fluid; decimals below 0 mean the unit's own.
    std::string Head(TUnit to, int decimals, double head_mFluid, double density) const;
    // A mass flow in kg/s in the mass-flow unit with 4 decimals.
    std::string Mass(double massFlow_kgs, double density) const;
    // A mass flow in kg/s as the gas standard flow of a fluid, with the
    // decimals that suit its size.
    double GasFlow(double massFlow_kgs, const TFluid &fluid) const;
    std::string Gas(double massFlow_kgs, const TFluid &fluid) const;
    // A flow between any two flow units, with a fluid's gas data.
    double Flow(TUnit from, TUnit to, double value, const TFluid &fluid) const;

    // The fluid of a pipe's zone, of a zone (zone 1 for one out of range) and
    // of a node's zone.
    const TFluid &ZoneFluid(const TPipe &pipe) const;
    const TFluid &ZoneFluid(int zone) const;
    const TFluid &NodeFluid(int nodeId) const;
    // A gas fluid's density at a gauge pressure, with the network's Z model.
    double GasDensityAt(const TFluid &fluid, double pressure_bar_g) const;

    // Cells shared by the pipe tables.
    std::string PipeName(const TPipe &pipe) const;
    std::string ClosedPipeName(const TPipe &pipe) const;
    std::string Zone(const TPipe &pipe) const;
    std::string Material(const TPipe &pipe) const;
    // The velocity, marked when it is above the high velocity of the fluid.
    std::string Velocity(double velocity_ms, const TFluid &fluid) const;
    std::string PumpHead(int pipeId) const;

    // Whether the pump lies outside the elevations of its pipe's ends.
    bool PumpElevationOutsidePipe(int pipeId) const;
    // Whether a curve pump's flow lies outside its curve points.
    static bool PumpFlowOutsideCurve(const TPipe &pipe);

    const TNetwork &Network;
    const TConfigOptions &Options;
};

} // namespace tessaran
