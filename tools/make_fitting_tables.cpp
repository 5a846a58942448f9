// Writes "FittingTables/Trn_Fittings.trfi", the standard fittings list:
// the 44 plain nominal sizes (symbol 0) that the fittings manager's size
// lists rely on, then per size the usual bends, tees, valves, entrance and
// exit, then contractions and expansions that take the size of their pipe.
// The values and their sources are described in Fitting_Coefficients.h.

#include "Fitting_Coefficients.h"

#include "model/Fitting_Set_Class.h"

using namespace tessaran;
using namespace tessaran::shipped;

int main(int argc, char **argv)
{
    const std::filesystem::path folder = FreshFolder(DataFolderArgument(argc, argv), "FittingTables");

    TFittingSet set(5000);
    auto add = [&](const TFitting &fitting) {
        const int id = set.AddFitting(fitting, 0, EntryFitting);
        set.SetFittingFileType(id, FittingFileTessaran);
    };

    for (int size : NominalSizes_mm)
        add(Fitting(size, 0, "Pipe", MetricText(size), ImperialText(size), "Pipe size " + MetricText(size), 0));

    for (int size : NominalSizes_mm) {
        for (const FittingKind &kind : Kinds)
            if (kind.Symbol != 10 || ButterflyMultiplier(size) > 0)
                add(StandardFitting(size, kind.PartType));
    }

    const double pi = std::acos(-1.0);
    const double halfAngle = 15 * pi / 180;
    for (double beta : {0.5, 0.75}) {
        const double area = 1 - beta * beta;
        const std::string ratio = " d1/d2 " + Fixed(beta, 2);
        add(Fitting(0, 32, "SuCon", "N/A", "N/A", "Sudden contraction" + ratio, 0.5 * area));
        add(Fitting(0, 30, "GrCon", "N/A", "N/A", "Gradual contraction 30°" + ratio, 0.8 * std::sin(halfAngle) * area));
        add(Fitting(0, 31, "SuEn", "N/A", "N/A", "Sudden enlargement" + ratio, area * area));
        add(Fitting(0, 29, "GrEn", "N/A", "N/A", "Gradual enlargement 30°" + ratio,
                    2.6 * std::sin(halfAngle) * area * area));
    }

    std::ofstream file = OpenOutput(folder / std::string(TFittingSet::StandardFittingsFileName));
    WriteTableHeader(file, std::string(TFittingSet::FittingTablesVersion));
    set.SaveToTextWithoutQuantity(file);
    return 0;
}
