#include "Drawing_Fixture.h"
#include "Main_Window_Fixture.h"

#include "app/Config_Form.h"
#include "model/Pipe_Class.h"
#include "platform/Stream.h"
#include "units/Unit_Format.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
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

} // namespace
} // namespace tessaran::test
