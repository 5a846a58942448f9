#pragma once
// The item dialogs the program opens: the forms of the item dialogs made
// once, on first use, and kept until the main window closes. A dialog that
// the program does not have yet opens nothing.

#include "app/Item_Dialogs.h"

#include <memory>

class QWidget;

namespace tessaran {

class TDemandsForm;
class TFlowControlForm;
class TFormImageEdit;
class TFreeTextsForm;
class TMainWindowServices;

class TQtItemDialogs : public TItemDialogs {
public:
    TQtItemDialogs(TMainWindowServices &MainWindow, QWidget *Parent);
    ~TQtItemDialogs() override;

    void ComponentPressureOpenForm(TComponentPressure &, TPipe &, int, TNetwork &, bool) override {}
    void DemandsOpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions,
                         const TFluid &TheFluid, bool ResultsMode, bool FocusDemandInFlow) override;
    void OpenFittingManager(TFittingSet &, int, const std::string &, int, bool, TFittingPosition) override {}
    void FlowControlOpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions,
                             bool ResultsMode) override;
    bool OpenFluidDataManager(TFluid &, bool, bool) override { return false; }
    void ImageEditOpenForm(int ImageId, TNetwork &TheNetwork, TNetworkStates &TheNetworkStates) override;
    void FreeTextsOpenForm(TFreeText &TheFreeText, int FreeTextId, TNetwork &TheNetwork) override;
    void PipeDataOpenForm(TNetwork &) override {}
    void OpenPipeDiameterManager(TPipeNominalSizeSet &, TPipe &, int, bool, bool) override {}
    void PumpDataOpenForm(TPumpDatabase &, TPump &, int, TNetwork &, bool &, bool) override {}

private:
    TMainWindowServices &mainWindow_;
    QWidget *parent_;
    TDemandsForm *demands_ = nullptr;
    TFlowControlForm *flowControl_ = nullptr;
    TFormImageEdit *imageEdit_ = nullptr;
    TFreeTextsForm *freeTexts_ = nullptr;
};

} // namespace tessaran
