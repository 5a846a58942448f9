#include "Drawing_Fixture.h"
#include "Main_Window_Fixture.h"

#include "app/Config_Form.h"
#include "app/Results_Log_Form.h"
#include "app/Status_Bar.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"
#include "model/Pipe_Class.h"
#include "platform/Stream.h"
#include "units/Unit_Format.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace tessaran::test {
namespace {

using Options = MainWindowTest;

const QString ImperialQuestion(TPressureReference reference)
{
    return "Change To Imperial Units\r\rThe Units will be set as follows: \r\r" +
           QString::fromStdString(unitsSummaryImperial(reference)) +
           "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
}

TEST_F(Options, NoToImperialKeepsEveryUnitAndMetricChecked)
{
    TNetwork &network = *form->CurrentNetwork;
    ASSERT_TRUE(form->RadioButtonMetricUnits->isChecked());
    const TConfigOptions before = network.ConfigOptions;
    ExpectQuestion(ImperialQuestion(before.PressureReference), false);
    form->RadioButtonImperialUnits->click();
    EXPECT_TRUE(form->RadioButtonMetricUnits->isChecked());
    EXPECT_FALSE(form->RadioButtonImperialUnits->isChecked());
    EXPECT_EQ(network.ConfigOptions.UnitOfLength, before.UnitOfLength);
    EXPECT_EQ(network.ConfigOptions.UnitOfPressure, before.UnitOfPressure);
    EXPECT_EQ(network.ConfigOptions.UnitOfFlow, before.UnitOfFlow);
    EXPECT_TRUE(form->AskBeforeUnitsChange);

    ExpectQuestion(ImperialQuestion(before.PressureReference), true);
    form->RadioButtonImperialUnits->click();
    EXPECT_TRUE(form->RadioButtonImperialUnits->isChecked());
    EXPECT_FALSE(form->RadioButtonMetricUnits->isChecked());
    EXPECT_EQ(network.ConfigOptions.UnitOfLength, unt_ft);

    // Set silently by code: no question, no change.
    form->UnitsRadioSilent = true;
    form->MetricUnits1Click();
    form->UnitsRadioSilent = false;
    EXPECT_EQ(network.ConfigOptions.UnitOfLength, unt_ft);
}

TEST_F(Options, RefusalsOpenNoDialog)
{
    form->ResultsMode = true;
    dialogs.Expect(TDialogKind::Information, "The Default Pipe values cannot be amended in Results mode.\r\rSwitch "
                                             "back to Design mode to adjust and reset default pipe values.");
    form->ChangeDefaultPipeData1->trigger();
    EXPECT_EQ(form->ConfigForm, nullptr);

    TScriptedItemDialogs itemDialogs;
    form->ItemDialogs = &itemDialogs;
    const auto gridOpenings = [&itemDialogs] {
        return std::count(itemDialogs.Calls.begin(), itemDialogs.Calls.end(), "EditGrid");
    };
    const QString gridRefused = "Data cannot be edited in the network grid view when in results mode.";
    dialogs.Expect(TDialogKind::Information, gridRefused);
    dialogs.Expect(TDialogKind::Information, gridRefused);
    form->EditGrid->trigger();
    form->ToolButtonEditGrid->click();
    EXPECT_EQ(gridOpenings(), 0);
    form->ResultsMode = false;
    form->ToolButtonEditGrid->click();
    EXPECT_EQ(gridOpenings(), 1);

    form->NetworkStates.SelectionStatus = 0;
    dialogs.Expect(TDialogKind::Information,
                   "No Pipes are selected.\r\rUse the selection tool to select a group of pipes and then use this tool "
                   "to amend the properties of the pipes in one operation.");
    form->ToolButtonAdjustPipes->click();
    EXPECT_EQ(form->ConfigForm, nullptr);
}

TEST_F(Options, CurrentPipeBecomesTheDefaultPipeOnYes)
{
    TNetwork &network = *form->CurrentNetwork;
    const int pipe = AddPipeBetween(network, AddNodeAt(network, 100, 100), AddNodeAt(network, 300, 100));
    network.GetPipe(pipe).Length_m = 77;
    form->NetworkStates.CurrentPipeIdSelected = pipe;
    const QString question = "Use the values from this pipe as the default values when drawing new pipes?";
    ExpectQuestion(question, false);
    form->BitBtnPipeDefaultsClick();
    EXPECT_NE(network.ConfigOptions.DefaultPipe->Length_m, 77);
    ExpectQuestion(question, true);
    form->BitBtnPipeDefaultsClick();
    EXPECT_EQ(network.ConfigOptions.DefaultPipe->Length_m, 77);
}

TEST_F(Options, UnitsChosenFromTheToolButtonAreKeptInTheFile)
{
    TNetwork &network = *form->CurrentNetwork;
    AddPipeBetween(network, AddNodeAt(network, 100, 100), AddNodeAt(network, 300, 100));
    QTimer::singleShot(0, form.get(), [this] {
        TConfigForm *dialog = form->ConfigForm;
        ASSERT_TRUE(dialog && dialog->isVisible());
        EXPECT_EQ(dialog->TabControlConfigOptions->currentIndex(), 1);
        dialog->ComboBoxLengthUnits->setCurrentIndex(2);
        emit dialog->ComboBoxLengthUnits->activated(2);
        dialog->RadioButtonGage->click();
        dialog->ComboBoxFluidPressureUnits->setCurrentIndex(1);
        emit dialog->ComboBoxFluidPressureUnits->activated(1);
        dialog->ButtonOK->click();
    });
    form->ToolButtonConfigureUnits->click();
    EXPECT_TRUE(form->NetworkStates.SystemUpdatedSinceLoad);
    EXPECT_EQ(network.ConfigOptions.UnitOfLength, unt_ft);
    EXPECT_EQ(network.ConfigOptions.UnitOfPressure, unt_Psi_G);

    const std::string file = folder.filePath("units.trz").toStdString();
    network.SaveToFile(file);
    TNetwork reopened;
    TMemoryStream stream;
    stream.LoadFromFile(file);
    reopened.Load(stream);
    EXPECT_EQ(reopened.ConfigOptions.UnitOfLength, unt_ft);
    EXPECT_EQ(reopened.ConfigOptions.UnitOfPressure, unt_Psi_G);
}


// The Units page's Imperial preset taken with OK from the tool button: the
// pipe panel speaks feet at once, and a calculation reports in the new units.
class OptionsEndToEnd : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        form->ResultsLogForm->ModalRunner = [this](TResultsLogForm &log) {
            ++LogsShown;
            log.ButtonOk->isVisibleTo(&log) ? log.ButtonOk->click() : log.BitBtnViewDrawing->click();
        };
    }
    int LogsShown = 0;
};

TEST_F(OptionsEndToEnd, ImperialUnitsFromTheDialogShowInThePanelAndTheResults)
{
    const int high = AddNodeAt(Net(), ox + 200, oy + 200, Tank);
    const int low = AddNodeAt(Net(), ox + 600, oy + 200, Tank);
    Net().GetNode(high).Elevation_m = 30;
    Net().GetNode(low).Elevation_m = 10;
    TPipe drawn;
    drawn.Copy(*Net().ConfigOptions.DefaultPipe);
    drawn.FluidZoneIndex = 1;
    drawn.Length_m = 100;
    const int pipe = Net().AddPipeLink(high, low, drawn);
    form->RefreshScreen(true);

    QTimer::singleShot(0, form.get(), [this] {
        TConfigForm *dialog = form->ConfigForm;
        ASSERT_TRUE(dialog && dialog->isVisible());
        dialog->RadioButtonImperialUnits->click();
        dialog->ButtonOK->click();
    });
    form->ToolButtonConfigureUnits->click();
    const TConfigOptions &o = Net().ConfigOptions;
    ASSERT_EQ(o.UnitOfLength, unt_ft);
    EXPECT_EQ(o.UnitOfFlow, unt_ft3_sec);
    EXPECT_DOUBLE_EQ(Net().GetPipe(pipe).Length_m, 100.0) << "a change of units keeps the stored value";

    // The clicked pipe's panel: its length in feet.
    form->ToolButtonCursorArrowClick();
    Click(ox + 400, oy + 200);
    ASSERT_EQ(States().CurrentPipeIdSelected, pipe);
    EXPECT_EQ(form->LabelPipeLengthUnits->text().toStdString(), unitName(unt_ft));
    EXPECT_NEAR(form->RightEditPipeLength->text().toDouble(), 100 / 0.3048, 0.01);

    // CALCULATE; the clicked pipe's results name the Imperial flow unit.
    dialogs.Expect(TDialogKind::Warning,
                   "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                   "start up.\r\rUser needs full read/write permission to the file:\r" +
                       folder.path() +
                       "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                       "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(dialogs.AllShown());
    EXPECT_EQ(LogsShown, 1);
    ASSERT_TRUE(form->ResultsMode);
    const double flow_m3s = Net().GetPipe(pipe).FlowUncompressed_m3s;
    EXPECT_GT(flow_m3s, 0.001);
    form->StatusBarShowPipe(pipe);
    const std::string status = form->StatusBar1->Panels[2].Text.toStdString();
    EXPECT_NE(status.find(unitName(unt_ft3_sec)), std::string::npos) << status;
    EXPECT_EQ(status.find(unitName(unt_m3_sec)), std::string::npos) << status;
    EXPECT_NE(status.find(", Velocity "), std::string::npos) << status;
    EXPECT_NE(status.find(unitName(unt_ft_Sec)), std::string::npos) << status;
}

} // namespace
} // namespace tessaran::test
