#pragma once
// The item dialogs as the main window opens them: every one modal, working
// on a copy that is written back only when the user confirms, and read-only
// while the window shows results. The forms of the item dialogs and of the
// pump dialogs implement it; the main window reaches them only through this
// class, so that it never links them directly.

#include <string>

#include "model/Fitting_Set_Class.h"
#include "network/Network_States.h"

namespace tessaran {

class TComponentPressure;
class TFluid;
class TFreeText;
class TNetwork;
class TNode;
class TPipe;
class TPipeNominalSizeSet;
class TPump;
class TPumpDatabase;
struct TConfigOptions;

class TItemDialogs {
public:
    virtual ~TItemDialogs() = default;

    // The pressure-loss component of a pipe; copied back into
    // TheComponentPressure on OK. The options dialog passes the default
    // pipe's component and pipe id -999.
    virtual void ComponentPressureOpenForm(TComponentPressure &TheComponentPressure, TPipe &ThePipe, int ThePipeId,
                                           TNetwork &TheNetwork, bool ResultsMode) = 0;

    // The in-flow and out-flow demands of a node, written back into the
    // node on OK. FocusDemandInFlow: the in-flow box takes the focus when
    // shown and enabled, else the out-flow box.
    virtual void DemandsOpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions,
                                 const TFluid &TheFluid, bool ResultsMode, bool FocusDemandInFlow) = 0;

    // The fittings manager on one fitting set, written back when the user
    // saves.
    virtual void OpenFittingManager(TFittingSet &ThePipeFittingSet, int ThePipeId, const std::string &ThePipeName,
                                    int TheNominalMetricSize, bool ResultsMode,
                                    TFittingPosition FittingPosition) = 0;

    // The flow-control valve of one pipe, written back on OK.
    virtual void FlowControlOpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions,
                                     bool ResultsMode) = 0;

    // The fluid database on a working copy of TheFluid; true (FluidSaved)
    // when the user took a fluid, which then replaces TheFluid.
    virtual bool OpenFluidDataManager(TFluid &TheFluid, bool Metric, bool ResultsMode) = 0;

    // The background image of that id; writes straight into the network.
    virtual void ImageEditOpenForm(int ImageId, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates) = 0;

    // One free text, edited in place; the caller reads its style afterwards.
    virtual void FreeTextsOpenForm(TFreeText &TheFreeText, int FreeTextId, TNetwork &TheNetwork) = 0;

    // The edit grid over every item of the network; edits go straight in.
    virtual void PipeDataOpenForm(TNetwork &TheNetwork) = 0;

    // The pipe-size database on the diameter screen (DisplayChangeMaterial
    // false) or the material screen; the chosen size or material is written
    // into the pipe on save.
    virtual void OpenPipeDiameterManager(TPipeNominalSizeSet &ThePipeNominalSizeSet, TPipe &ThePipe, int ThePipeId,
                                         bool Metric, bool DisplayChangeMaterial) = 0;

    // The pump of one pipe, worked on as a copy. DeletePump comes back true
    // when the user asked to remove the pump; the caller then empties the
    // undo log and removes it.
    virtual void PumpDataOpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                                  bool &DeletePump, bool ResultsMode) = 0;
};

} // namespace tessaran
