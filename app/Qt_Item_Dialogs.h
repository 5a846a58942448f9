#pragma once
// The item dialogs the program opens: the forms of the item dialogs made
// once, on first use, and kept until the main window closes.

#include "app/Item_Dialogs.h"
#include "dialogs/Pipe_Data_Form.h"

#include <memory>

class QWidget;

namespace tessaran {

class TComponentPressureForm;
class TDemandsForm;
class TFittingManagerForm;
class TFlowControlForm;
class TFluidDataManagerForm;
class TPipeDataForm;
class TPipeDiameterDataForm;
class TFormImageEdit;
class TFreeTextsForm;
class TMainWindowServices;

class TQtItemDialogs : public TItemDialogs {
public:
    TQtItemDialogs(TMainWindowServices &MainWindow, QWidget *Parent);
    ~TQtItemDialogs() override;

    void ComponentPressureOpenForm(TComponentPressure &TheComponentPressure, TPipe &ThePipe, int ThePipeId,
                                   TNetwork &TheNetwork, bool ResultsMode) override;
    void DemandsOpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions,
                         const TFluid &TheFluid, bool ResultsMode, bool FocusDemandInFlow) override;
    void OpenFittingManager(TFittingSet &ThePipeFittingSet, int ThePipeId, const std::string &ThePipeName,
                            int TheNominalMetricSize, bool ResultsMode, TFittingPosition FittingPosition) override;
    void FlowControlOpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions,
                             bool ResultsMode) override;
    bool OpenFluidDataManager(TFluid &TheFluid, bool Metric, bool ResultsMode) override;
    void ImageEditOpenForm(int ImageId, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates) override;
    void FreeTextsOpenForm(TFreeText &TheFreeText, int FreeTextId, TNetwork &TheNetwork) override;
    void PipeDataOpenForm(TNetwork &TheNetwork) override;
    void OpenPipeDiameterManager(TPipeNominalSizeSet &ThePipeNominalSizeSet, TPipe &ThePipe, int ThePipeId,
                                 bool Metric, bool DisplayChangeMaterial) override;
    void PumpDataOpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                          bool &DeletePump, bool ResultsMode) override;

private:
    TMainWindowServices &mainWindow_;
    QWidget *parent_;
    TDemandsForm *demands_ = nullptr;
    TFlowControlForm *flowControl_ = nullptr;
    TFormImageEdit *imageEdit_ = nullptr;
    TFreeTextsForm *freeTexts_ = nullptr;
    TComponentPressureForm *componentPressure_ = nullptr;
    TFittingManagerForm *fittingManager_ = nullptr;
    TFluidDataManagerForm *fluidManager_ = nullptr;
    TPipeDataForm *pipeData_ = nullptr;
    TPipeDiameterDataForm *pipeDiameter_ = nullptr;
    std::unique_ptr<TEditGridPumpEditor> gridPumpEditor_;
};

} // namespace tessaran
