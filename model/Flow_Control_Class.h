#pragma once
// The control valve a pipe may carry: a flow control valve holding a set
// flow, a pressure reducing valve holding a set pressure downstream, or a
// back pressure valve holding a set pressure upstream.

#include "units/Units.h"

#include <cstdint>
#include <string>

namespace tessaran {

class TStream;
class TFluid;

// One byte in files.
enum TControlType : std::uint8_t {
    FCV = 0, // flow control
    PRV = 1, // pressure reducing
    BPV = 2, // back pressure
};

class TFlowControl {
public:
    static constexpr int NameLength = 20;
    // Every field of the current version.
    static constexpr int RecordSize = (NameLength + 1) + 1 + 4 + 1 + 8 + 8 + 8 + 1 + 8 + 8 + 1 + 8 + 1;
    // Records older than "2.06": the name and the set flow in m3/s.
    static constexpr int OldestRecordSize = (NameLength + 1) + 8;

    TFlowControl() { Clear(); }

    void Clear();
    void CopyFlowControl(const TFlowControl &theFlowControl) { *this = theFlowControl; }

    // Fills the two other forms of the set flow from the one the user entered.
    void SetEquivalentFlowAndMassFlowRate(const TFluid &theFluid, double theAtmosphere_bar_a,
                                          TGasFlowTemperaturePressureModel theGasFlowTemperaturePressureModel);
    std::string GetControlValveTypeString() const;

    // The record inside the pipe record. Save writes exactly the fields that
    // Load reads for the same version, so a record of any version reads
    // back. Load clears the valve first and, on a damaged record, raises the
    // stream's error and leaves it cleared.
    void Save(TStream &theFileStream, const std::string &fileVersion) const;
    void Load(TStream &theFileStream, const std::string &fileVersion);

    TControlType ControlType;
    int ImageIndex;
    std::string Name;
    bool UseAllowedDpRange;
    double MinAllowedDp_Bar_g;
    double MaxAllowedDp_Bar_g;
    TFlowType FlowControlFlowType;
    double FlowControl_m3s;
    double FlowControl_kgs;
    double FlowControl_SCMH;
    TUnit FlowControlDisplayUnit;
    double RegulatedPressure_Bar_g;
    bool CheckCompressibleChokedFlow;
};

} // namespace tessaran
