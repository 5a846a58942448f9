#include "app/Qt_Item_Dialogs.h"

#include "dialogs/Demands_Form.h"
#include "dialogs/Flow_Control_Form.h"
#include "dialogs/Form_Image_Edit.h"
#include "dialogs/Free_Texts_Form.h"

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

} // namespace tessaran
