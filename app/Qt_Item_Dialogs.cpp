#include "app/Qt_Item_Dialogs.h"

#include "app/Program_Folder.h"
#include "dialogs/Component_Pressure_Form.h"
#include "dialogs/Demands_Form.h"
#include "dialogs/Fitting_Manager_Form.h"
#include "dialogs/Flow_Control_Form.h"
#include "dialogs/Form_Image_Edit.h"
#include "dialogs/Fluid_Manager_Form.h"
#include "dialogs/Free_Texts_Form.h"
#include "dialogs/Pipe_Diameter_Data_Form.h"
#include "pumps/Pump_Data_Form.h"

namespace tessaran {

TQtItemDialogs::TQtItemDialogs(TMainWindowServices &MainWindow, QWidget *Parent)
    : mainWindow_(MainWindow), parent_(Parent)
{
}

// The forms are children of the main window, which deletes them.
TQtItemDialogs::~TQtItemDialogs() = default;

void TQtItemDialogs::DemandsOpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions,
                                     const TFluid &TheFluid, bool ResultsMode, bool FocusDemandInFlow)
{
    if (!demands_)
        demands_ = new TDemandsForm(parent_);
    TDemandsForm::FocusDemandInFlow = FocusDemandInFlow;
    demands_->OpenForm(TheNode, TheNodeId, TheConfigOptions, TheFluid, ResultsMode);
}

void TQtItemDialogs::FlowControlOpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions,
                                         bool ResultsMode)
{
    if (!flowControl_)
        flowControl_ = new TFlowControlForm(parent_);
    flowControl_->OpenForm(TheNetwork, ThePipeId, TheConfigOptions, ResultsMode);
}

void TQtItemDialogs::ImageEditOpenForm(int ImageId, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates)
{
    if (!imageEdit_)
        imageEdit_ = new TFormImageEdit(mainWindow_, parent_);
    imageEdit_->OpenForm(ImageId, TheNetwork, TheNetworkStates);
}

void TQtItemDialogs::FreeTextsOpenForm(TFreeText &TheFreeText, int FreeTextId, TNetwork &TheNetwork)
{
    if (!freeTexts_)
        freeTexts_ = new TFreeTextsForm(parent_);
    freeTexts_->OpenForm(TheFreeText, FreeTextId, TheNetwork);
}

void TQtItemDialogs::ComponentPressureOpenForm(TComponentPressure &TheComponentPressure, TPipe &ThePipe, int ThePipeId,
                                               TNetwork &TheNetwork, bool ResultsMode)
{
    if (!componentPressure_)
        componentPressure_ = new TComponentPressureForm(parent_);
    componentPressure_->OpenForm(TheComponentPressure, ThePipe, ThePipeId, TheNetwork, ResultsMode);
}

void TQtItemDialogs::OpenFittingManager(TFittingSet &ThePipeFittingSet, int ThePipeId, const std::string &ThePipeName,
                                        int TheNominalMetricSize, bool ResultsMode, TFittingPosition FittingPosition)
{
    if (!fittingManager_) {
        fittingManager_ = new TFittingManagerForm(parent_);
        fittingManager_->ProgramFolder = ProgramFolder();
    }
    fittingManager_->OpenFittingManager(ThePipeFittingSet, ThePipeId, ThePipeName, TheNominalMetricSize, ResultsMode,
                                        FittingPosition);
}

bool TQtItemDialogs::OpenFluidDataManager(TFluid &TheFluid, bool Metric, bool ResultsMode)
{
    if (!fluidManager_) {
        fluidManager_ = new TFluidDataManagerForm(parent_);
        fluidManager_->ProgramFolder = ProgramFolder();
    }
    bool FluidSaved = false;
    fluidManager_->OpenFluidDataManager(TheFluid, FluidSaved, Metric, ResultsMode);
    return FluidSaved;
}

namespace {

// The edit grid's "View/Edit" opens the one pump editor of the program.
class TPumpEditorForGrid : public TEditGridPumpEditor {
public:
    void OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                  bool &DeletePump, bool ResultsMode) override
    {
        TPumpDataForm::OpenForm(ThePumpDatabase, ThePump, ThePipeId, TheNetwork, DeletePump, ResultsMode);
    }
};

} // namespace

void TQtItemDialogs::PipeDataOpenForm(TNetwork &TheNetwork)
{
    if (!pipeData_) {
        pipeData_ = new TPipeDataForm(mainWindow_, parent_);
        gridPumpEditor_ = std::make_unique<TPumpEditorForGrid>();
        pipeData_->SetPumpEditor(gridPumpEditor_.get());
    }
    pipeData_->OpenForm(TheNetwork);
}

void TQtItemDialogs::OpenPipeDiameterManager(TPipeNominalSizeSet &ThePipeNominalSizeSet, TPipe &ThePipe, int ThePipeId,
                                             bool Metric, bool DisplayChangeMaterial)
{
    if (!pipeDiameter_)
        pipeDiameter_ = new TPipeDiameterDataForm(ProgramFolder() + "PipeTables", &mainWindow_, parent_);
    pipeDiameter_->OpenPipeDiameterManager(ThePipeNominalSizeSet, ThePipe, ThePipeId, Metric, DisplayChangeMaterial);
}

void TQtItemDialogs::PumpDataOpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId,
                                      TNetwork &TheNetwork, bool &DeletePump, bool ResultsMode)
{
    TPumpDataForm::OpenForm(ThePumpDatabase, ThePump, ThePipeId, TheNetwork, DeletePump, ResultsMode);
}

} // namespace tessaran
