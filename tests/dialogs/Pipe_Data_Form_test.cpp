#include "dialogs/Pipe_Data_Form.h"
#include "dialogs/Excel_Functions.h"

#include <functional>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "Spreadsheet_Reader.h"
#include "model/Pipe_Diameter_Set_Class.h"
#include "network/Network_Class.h"
#include "network/Network_Fixture.h"
#include "pumps/Pump_Database_Class.h"
#include "support/Recording_Main_Window.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

// Texts in failure messages as text.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace tessaran {
namespace {

using Form = TPipeDataForm;

const QString InvalidCellValue = "Value entered is not valid for this cell. The value will be reset.";
const QString VacuumMessage = "The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar "
                              "absolute.\r\rThe  value will be set to 0.0 bar absolute (or equivalent in other "
                              "units).\r\r ";

QString Q(const std::string &text) { return QString::fromStdString(text); }

// The pump data editor as a script: records each opening, renames the
// pump it is given and asks for a delete when told to.
class TScriptedPumpEditor : public TEditGridPumpEditor {
public:
    void OpenForm(TPumpDatabase &, TPump &ThePump, int ThePipeId, TNetwork &, bool &DeletePump,
                  bool ResultsMode) override
    {
        Openings.push_back(ThePipeId);
        ResultsModes.push_back(ResultsMode);
        ThePump.Name = "Edited";
        DeletePump = AskDelete;
    }
    std::vector<int> Openings;
    std::vector<bool> ResultsModes;
    bool AskDelete = false;
};

// Tank T -> A -> B -> end pressure E, and a spur B -> C. Pipes "Main",
// "Riser", "Drain" and "Spur" in that order; every kind of valve, component
// and pump sits on the first three. Runs under "." and "," as separator.
class EditGrid : public ::testing::TestWithParam<char> {
protected:
    EditGrid() : previous_(userDecimalSeparator())
    {
        setUserDecimalSeparator(GetParam());
        TNetwork &n = main.Network;
        T = test::AddJoint(n, 0, 0, Tank);
        A = test::AddJoint(n, 100, 0);
        B = test::AddJoint(n, 200, 0);
        E = test::AddJoint(n, 300, 0, EndPressure);
        C = test::AddJoint(n, 200, 100);
        n.GetNode(T).Name = "T";
        n.GetNode(T).Elevation_m = 10;
        n.GetNode(E).Name = "E";
        P1 = AddPipe(T, A, "Main", "Steel", "40", 0.080, 100);
        P2 = AddPipe(A, B, "Riser", "Steel", "40", 0.100, 200);
        P3 = AddPipe(B, E, "Drain", "Copper", "K", 0.150, 300);
        P4 = AddPipe(B, C, "Spur", "STEEL", "80", 0.050, 50);
        n.FluidZones[1].Fluid.density_kgs_m3 = 1000;

        Valve(P1, FCV).FlowControl_m3s = 0.01;
        Valve(P2, PRV).RegulatedPressure_Bar_g = 2;
        Valve(P3, BPV).RegulatedPressure_Bar_g = 1.5;
        Component(P1, ComponentPressureCv).Cv = 10;
        Component(P2, ComponentPressureKv).Kv = 20;
        Component(P3, ComponentPressureFixed).FixedPressureLoss_mHd = 3;
        PumpOf(P1, PumpFixedFlow).SetFlowRate_m3s = 0.02;
        PumpOf(P2, PumpFixedHead).SetFixedHead_FluidHead_m = 30;
        TPump &curve = PumpOf(P3, PumpFixedSpeed);
        curve.Name = "Curve pump";
        curve.Speed_rpm = 1450;
        curve.ImpellerDiameter_m = 0.2;

        // Steel 40: 50 and 80 mm bores.
        TPipeDiameterSet sizes(4);
        for (auto [bore, nominal] : {std::pair{0.05, "DN 50"}, std::pair{0.08, "DN 80"}}) {
            TPipe row;
            row.Material = "Steel";
            row.ScheduleClass = "40";
            row.WallThickness_m = 0.005;
            row.InnerDiameter_m = bore;
            row.OuterDiameter_m = bore + 0.01;
            row.NominalDiameterMetric = static_cast<int>(bore * 1000);
            row.NominalDiameterMetricString = nominal;
            row.NominalDiameterImperialString = nominal;
            sizes.AddPipeDiameterData(row);
        }
        main.PipeNominalSizeSet().AddOnPipeDiameterSetData(sizes, nullptr);
        main.PipeNominalSizeSet().AddToPipeMaterialSetData("Steel", "40", "steel40.trpi", nullptr);

        main.PumpDatabaseInUse = &pumps;
        form.SetPumpEditor(&editor);
    }
    ~EditGrid() override { setUserDecimalSeparator(previous_); }

    int AddPipe(int from, int to, const char *name, const char *material, const char *schedule, double bore,
                double length)
    {
        const int id = test::AddPipeBetween(main.Network, from, to);
        TPipe &pipe = Pipe(id);
        pipe.Name = name;
        pipe.Material = material;
        pipe.ScheduleClass = schedule;
        pipe.InnerDiameter_m = bore;
        pipe.WallThickness_m = 0.005;
        pipe.OuterDiameter_m = bore + 0.01;
        pipe.Length_m = length;
        return id;
    }
    TFlowControl &Valve(int id, TControlType type)
    {
        Pipe(id).FlowControlCount = 1;
        Pipe(id).FlowControl.ControlType = type;
        Pipe(id).FlowControl.Name = "V" + Pipe(id).Name;
        return Pipe(id).FlowControl;
    }
    TComponentPressure &Component(int id, TPressureType type)
    {
        Pipe(id).ComponentPressureCount = 1;
        Pipe(id).ComponentPressure.PressureType = type;
        Pipe(id).ComponentPressure.Name = "C" + Pipe(id).Name;
        return Pipe(id).ComponentPressure;
    }
    TPump &PumpOf(int id, TPumpType type)
    {
        Pipe(id).PumpCount = 1;
        Pipe(id).Pump.PumpType = type;
        Pipe(id).Pump.Name = "U" + Pipe(id).Name;
        return Pipe(id).Pump;
    }
    TPipe &Pipe(int id) { return main.Network.GetPipe(id); }
    TNode &Node(int id) { return main.Network.GetNode(id); }
    const TConfigOptions &Options() { return main.Network.ConfigOptions; }

    // Opens the grid; user acts while it is up, then "Done" closes it.
    void Open(const std::function<void(Form &)> &user)
    {
        // The form pumps pending events before it shows itself: the user
        // acts once it is up.
        bool shown = false;
        std::function<void()> act = [&] {
            if (!form.isVisible()) {
                QTimer::singleShot(0, act);
                return;
            }
            shown = true;
            user(form);
            if (form.isVisible())
                form.BitBtn1->click();
        };
        QTimer::singleShot(0, act);
        form.OpenForm(main.Network);
        EXPECT_TRUE(shown);
    }

    static QString Cell(Form &f, int col, int row)
    {
        const QTableWidgetItem *item = f.StringGridData->item(row, col);
        return item ? item->text() : QString();
    }
    static QStringList Row(Form &f, int row)
    {
        QStringList texts;
        for (int col = 0; col < f.StringGridData->columnCount(); ++col)
            texts << Cell(f, col, row);
        return texts;
    }
    // The ids the grid lists, top to bottom.
    static std::vector<int> Listed(Form &f)
    {
        std::vector<int> ids;
        for (int row = 2; row < f.StringGridData->rowCount(); ++row)
            ids.push_back(Cell(f, 0, row).toInt());
        return ids;
    }
    static int RowOf(Form &f, int id)
    {
        for (int row = 2; row < f.StringGridData->rowCount(); ++row)
            if (Cell(f, 0, row).toInt() == id)
                return row;
        ADD_FAILURE() << "no row for id " << id;
        return 2;
    }
    static QLineEdit *Editor(Form &f)
    {
        for (QLineEdit *editor : f.StringGridData->findChildren<QLineEdit *>("StringGridDataEditor"))
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    // Selects a cell, opens its editor and types the keys over its text.
    static void Type(Form &f, int row, int col, const QString &keys)
    {
        QTableWidget *grid = f.StringGridData;
        grid->setCurrentCell(row, col);
        grid->editItem(grid->item(row, col));
        QLineEdit *editor = Editor(f);
        ASSERT_NE(editor, nullptr) << "no editor on cell " << col << "," << row;
        editor->selectAll();
        QTest::keyClicks(editor, keys);
    }
    // Further keys into the open editor.
    static void TypeMore(Form &f, const QString &keys)
    {
        QLineEdit *editor = Editor(f);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, keys);
    }
    static void EndEdit(Form &f)
    {
        if (QLineEdit *editor = Editor(f))
            QTest::keyClick(editor, Qt::Key_Return);
        // The view commits and closes the editor from its event queue.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void ShowTab(Form &f, int tab) { f.TabControlForStringGrid->setCurrentIndex(tab); }
    static void Filter(Form &f, const QString &column, int criteria, const QString &value)
    {
        if (!f.CheckBoxFilter->isChecked()) {
            f.CheckBoxFilter->setChecked(true);
            f.CheckBoxFilterClick();
            f.ComboBoxShowColumn->hidePopup();
        }
        const int index = f.ComboBoxShowColumn->findText(column);
        ASSERT_GE(index, 0) << column.toStdString();
        f.ComboBoxShowColumn->setCurrentIndex(index);
        f.ComboBoxShowCriteria->setCurrentIndex(criteria);
        f.EditShowValue->setText(value);
        QTest::mouseClick(f.BitBtnShowRows, Qt::LeftButton);
    }
    // A bulk update answered Yes; then, when given, the message that follows.
    void Bulk(Form &f, const QString &column, const QString &value, const QString &then = {})
    {
        const int index = f.ComboBoxUpdateColumn->findText(column);
        ASSERT_GE(index, 0) << column.toStdString();
        f.ComboBoxUpdateColumn->setCurrentIndex(index);
        f.EditUpdateValue->setText(value);
        dialogs.Expect(TDialogKind::Confirmation,
                       "Confirm update of ALL rows listed in edit grid.\r\rSet " + column + " = " + value + " ?\r",
                       DialogYes);
        if (!then.isEmpty())
            dialogs.Expect(TDialogKind::Confirmation, then);
        QTest::mouseClick(f.BitBtnUpdateRows, Qt::LeftButton);
    }
    QString Fixed(int decimals, double value) const { return Q(formatFixed(decimals, value)); }

    test::TRecordingMainWindow main;
    TPumpDatabase pumps;
    TScriptedPumpEditor editor;
    test::TScriptedDialogs dialogs;
    Form form{main};
    int T = 0, A = 0, B = 0, E = 0, C = 0;
    int P1 = 0, P2 = 0, P3 = 0, P4 = 0;

private:
    char previous_;
};

TEST_P(EditGrid, EveryTabListsItsItemsWithTitlesAndUnits)
{
    const QString U = "Used in Model";
    const auto u = [](TUnit unit) { return Q(unitName(unit)); };
    const TConfigOptions &o = Options();
    const struct {
        int Tab;
        const char *Caption;
        const char *Sheet;
        QStringList Titles;
        QStringList Units;
        std::vector<int> Ids;
    } tabs[] = {
        {Form::TabPipes, "Pipes", "TRZ - Pipe Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Material", "Sch / Class", "Diameter", "Roughness", "Length",
          "Pipe Notes"},
         {"", "", "", "", "", u(o.UnitOfDiameter), u(o.UnitOfRoughness), u(o.UnitOfLength), ""},
         {P1, P2, P3, P4}},
        {Form::TabTanks, "Tanks", "TRZ - Tank Data",
         {"Id", "Node Type", "Node Name", "Elevation", "Liquid Level", "Surface Press.", "Node Notes"},
         {"", "", "", u(o.UnitOfElevation), u(o.UnitOfLiquidLevel), u(o.UnitOfSurfacePressure), ""},
         {T}},
        {Form::TabEndPressures, "End Pressures", "TRZ - End Pressure Data",
         {"Node Id", "Node Type", "Node Name", "Elevation", "End Pressure", "Node Notes"},
         {"", "", "", u(o.UnitOfElevation), u(o.UnitOfSurfacePressure), ""},
         {E}},
        {Form::TabNodes, "Nodes", "TRZ - Join Points Data",
         {"Node Id", "Node Type", "Node Name", "Elevation", "In Flow Demand", "Out Flow Demand", "Node Notes"},
         {"", "", "", u(o.UnitOfElevation), u(o.UnitOfFlow), u(o.UnitOfFlow), ""},
         {A, B, C}},
        {Form::TabFCVs, "FCVs", "TRZ - Flow Control Valve Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "FCV Name", "Flow Rate", "Mass Flow", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfFlow), u(o.UnitOfMassFlow), U},
         {P1}},
        {Form::TabPRVs, "PRVs", "TRZ - PRV Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "PRV Name", "PRV Pressure", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfSurfacePressure), U},
         {P2}},
        {Form::TabBPVs, "BPVs", "TRZ - BPV Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "BPV Name", "BPV Pressure", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfSurfacePressure), U},
         {P3}},
        {Form::TabCvValues, "Cv Values", "TRZ - Cv Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Component Name", "Cv", ""},
         {"", "", "", u(o.UnitOfDiameter), "", "", U},
         {P1}},
        {Form::TabKvValues, "Kv Values", "TRZ - Kv Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Component Name", "Kv", ""},
         {"", "", "", u(o.UnitOfDiameter), "", "", U},
         {P2}},
        {Form::TabFixedLosses, "Fixed Losses", "TRZ - Fixed Loss Data",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Component Name", "Fixed Loss", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfPressureLoss), U},
         {P3}},
        {Form::TabPumpsFixedFlow, "Pumps (Fixed Flow)", "TRZ - Pumps with Fixed Flow",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Pump Name", "Fixed Flow", "Mass Flow", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfFlow), u(o.UnitOfMassFlow), U},
         {P1}},
        {Form::TabPumpsFixedHead, "Pumps (Fixed Head)", "TRZ - Pumps with Fixed Head",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Pump Name", "Pump Fixed Head", ""},
         {"", "", "", u(o.UnitOfDiameter), "", u(o.UnitOfPressureLoss), U},
         {P2}},
        {Form::TabPumpsCurve, "Pumps (Curve)", "TRZ - Pumps with Flow Curve",
         {"Pipe Id", "Pipe Name", "Nom. Size", "Diameter", "Pump Name", "Speed", "Imp. Diam.", "Curve", ""},
         {"", "", "", u(o.UnitOfDiameter), "", "Rpm", u(o.UnitOfDiameter), "", U},
         {P3}},
    };
    Open([&](Form &f) {
        ASSERT_EQ(f.TabControlForStringGrid->count(), Form::TabCount);
        EXPECT_EQ(f.windowTitle(), "Edit Grid - Sheet View");
        EXPECT_EQ(f.TabControlForStringGrid->currentIndex(), Form::TabPipes);
        EXPECT_FALSE(f.CheckBoxFilter->isChecked());
        EXPECT_FALSE(f.BitBtnShowRows->isEnabled());
        for (const auto &t : tabs) {
            ShowTab(f, t.Tab);
            EXPECT_EQ(f.TabControlForStringGrid->tabText(t.Tab), t.Caption);
            EXPECT_EQ(Form::SheetTitle(t.Tab), t.Sheet);
            EXPECT_EQ(Row(f, 0), t.Titles) << t.Caption;
            EXPECT_EQ(Row(f, 1), t.Units) << t.Caption;
            EXPECT_EQ(Listed(f), t.Ids) << t.Caption;
            EXPECT_EQ(f.ComboBoxShowCriteria->currentText(), "equals");
        }
        ShowTab(f, Form::TabFCVs);
        EXPECT_EQ(Row(f, 2), (QStringList{QString::number(P1), "Main", "", Fixed(3, 80), "VMain",
                                          Fixed(4, 0.01), Fixed(4, 10), "Yes"}));
        EXPECT_EQ(f.ComboBoxUpdateColumn->count(), 4);
        EXPECT_EQ(f.ComboBoxUpdateColumn->itemText(3), "Used in Model");
        ShowTab(f, Form::TabPumpsCurve);
        EXPECT_EQ(Cell(f, 7, 2), "View/Edit");
        EXPECT_EQ(f.ComboBoxShowColumn->itemText(6), "Impeller Diam");
    });
}

TEST_P(EditGrid, FilterKeepsTheRowsThatMatch)
{
    const struct {
        const char *Column;
        int Criteria;
        const char *Value;
        std::vector<int> Kept;
    } cases[] = {
        {"Diameter", Form::FilterLessThan, "100", {P1, P4}},
        {"Diameter", Form::FilterMoreThan, "80", {P2, P3}},
        {"Diameter", Form::FilterEquals, "100", {P2}},
        {"Length", Form::FilterMoreThan, "150", {P2, P3}},
        {"Material/Sch", Form::FilterStartsWith, "steel/", {P1, P2, P4}},
        {"Material/Sch", Form::FilterStartsWith, "Steel / 8", {P4}},
        {"Pipe Name", Form::FilterEquals, "riser", {P2}},
        {"Pipe Name", Form::FilterEquals, "rise", {}},
        {"Pipe Name", Form::FilterStartsWith, "S", {P4}},
    };
    Open([&](Form &f) {
        for (const auto &c : cases) {
            Filter(f, c.Column, c.Criteria, c.Value);
            EXPECT_EQ(Listed(f), c.Kept) << c.Column << " " << c.Criteria << " " << c.Value;
        }
        // Unticking lists every row again.
        f.CheckBoxFilter->click();
        EXPECT_EQ(Listed(f), (std::vector<int>{P1, P2, P3, P4}));
        EXPECT_FALSE(f.EditShowValue->isEnabled());
    });
}

TEST_P(EditGrid, CellEditsWriteAsTheUserTypes)
{
    // The BPV is gone: its tab has only the empty row.
    Pipe(P3).FlowControlCount = 0;
    Open([&](Form &f) {
        // A diameter on "PRVs": bore, outer diameter and nominal size.
        ShowTab(f, Form::TabPRVs);
        Type(f, 2, 3, "50");
        EXPECT_DOUBLE_EQ(Pipe(P2).InnerDiameter_m, 0.05);
        EXPECT_DOUBLE_EQ(Pipe(P2).OuterDiameter_m, 0.06);
        EXPECT_EQ(Cell(f, 2, 2), "DN 50");
        EXPECT_EQ(Pipe(P2).NominalDiameterMetricString, "DN 50");
        EXPECT_TRUE(main.States.SystemUpdatedSinceLoad);
        EndEdit(f);

        // A tank below a perfect vacuum is raised to it, with the message.
        ShowTab(f, Form::TabTanks);
        dialogs.Expect(TDialogKind::Information, VacuumMessage);
        Type(f, 2, 5, "-2");
        EXPECT_DOUBLE_EQ(Node(T).Surface_Pressure_Bar_g, -1.01325);
        EXPECT_EQ(Cell(f, 5, 2), Q(convertPressureAndFormat(unt_Bar_G, Options().UnitOfSurfacePressure, -1.01325,
                                                            1.01325, 1000)));
        EndEdit(f);

        // A lone "-" in an elevation waits for the digits.
        ShowTab(f, Form::TabNodes);
        Type(f, RowOf(f, B), 3, "-");
        EXPECT_TRUE(dialogs.AllShown());
        TypeMore(f, "7");
        EXPECT_DOUBLE_EQ(Node(B).Elevation_m, -7);
        EndEdit(f);

        // ... but not in a length; a later bad key goes back to the last
        // value written, which the pipe holds.
        ShowTab(f, Form::TabPipes);
        dialogs.Expect(TDialogKind::Confirmation, InvalidCellValue);
        Type(f, RowOf(f, P1), 7, "-");
        EXPECT_EQ(Cell(f, 7, RowOf(f, P1)), Fixed(3, 100));
        EXPECT_DOUBLE_EQ(Pipe(P1).Length_m, 100);
        EndEdit(f);
        dialogs.Expect(TDialogKind::Confirmation, InvalidCellValue);
        Type(f, RowOf(f, P1), 7, "2x");
        EXPECT_DOUBLE_EQ(Pipe(P1).Length_m, 2);
        EXPECT_EQ(Cell(f, 7, RowOf(f, P1)), "2");
        EndEdit(f);

        // Names are cut to 20 characters; the nominal size is not editable.
        Type(f, RowOf(f, P4), 1, "A spur pipe with a long name");
        EXPECT_EQ(Pipe(P4).Name, "A spur pipe with a l");
        EndEdit(f);
        Type(f, RowOf(f, P4), 2, "9");
        EXPECT_EQ(Cell(f, 2, RowOf(f, P4)), "");
        EndEdit(f);
        Type(f, RowOf(f, P4), 8, "Check wall");
        EXPECT_EQ(Pipe(P4).Notes, std::vector<std::string>{"Check wall"});
        EndEdit(f);

        // "Used in Model": "n" turns the valve off; a stray letter goes back.
        ShowTab(f, Form::TabFCVs);
        Type(f, 2, 7, "n");
        EXPECT_FALSE(Pipe(P1).FlowControlUseInCalc);
        EXPECT_EQ(Cell(f, 7, 2), "No (Not In Use)");
        EndEdit(f);
        Type(f, 2, 7, "q");
        EXPECT_FALSE(Pipe(P1).FlowControlUseInCalc);
        EXPECT_EQ(Cell(f, 7, 2), "No (Not In Use)");
        EndEdit(f);
        Type(f, 2, 7, "T");
        EXPECT_TRUE(Pipe(P1).FlowControlUseInCalc);
        EXPECT_EQ(Cell(f, 7, 2), "Yes");
        EndEdit(f);

        // A flow rate writes the valve and the mass-flow cell of its row.
        Type(f, 2, 5, "0" + QString(QChar::fromLatin1(GetParam())) + "05");
        EXPECT_EQ(Pipe(P1).FlowControl.FlowControlFlowType, VolumeFlow);
        EXPECT_DOUBLE_EQ(Pipe(P1).FlowControl.FlowControl_m3s, 0.05);
        EXPECT_EQ(Cell(f, 6, 2), Fixed(4, 50));
        EndEdit(f);

        // Switching tabs leaves no cell highlighted.
        ShowTab(f, Form::TabNodes);
        EXPECT_FALSE(f.StringGridData->currentIndex().isValid());

        // A demand held as mass flow becomes a volume flow, the other forms
        // derived again.
        Node(A).JointDemandUseFlowType = MassFlow;
        Node(A).JointDischarge_kgs = 5;
        Node(A).JointDischarge_m3s = 0.005;
        Type(f, RowOf(f, A), 4, "0" + QString(QChar::fromLatin1(GetParam())) + "02");
        EXPECT_EQ(Node(A).JointDemandUseFlowType, VolumeFlow);
        EXPECT_DOUBLE_EQ(Node(A).JointSupply_m3s, 0.02);
        EXPECT_DOUBLE_EQ(Node(A).JointSupply_kgs, 20);
        EXPECT_DOUBLE_EQ(Node(A).JointDischarge_kgs, 5);
        EndEdit(f);

        // A pump's fixed flow writes both flows and the mass-flow cell.
        ShowTab(f, Form::TabPumpsFixedFlow);
        Type(f, 2, 5, "0" + QString(QChar::fromLatin1(GetParam())) + "03");
        EXPECT_DOUBLE_EQ(Pipe(P1).Pump.SetFlowRate_m3s, 0.03);
        EXPECT_DOUBLE_EQ(Pipe(P1).Pump.SetFlowRate_kgs, 30);
        EXPECT_EQ(Cell(f, 6, 2), Fixed(4, 30));
        EndEdit(f);

        // A row without an item.
        ShowTab(f, Form::TabBPVs);
        ASSERT_EQ(f.StringGridData->rowCount(), 3);
        dialogs.Expect(TDialogKind::Confirmation, "This cell cannot be edited.");
        Type(f, 2, 4, "x");
        EXPECT_EQ(Cell(f, 4, 2), "");
        EndEdit(f);
    });
}

TEST_P(EditGrid, BulkUpdatesSetAColumnOfEveryListedRow)
{
    Pipe(P1).FlowControlUseInCalc = false;
    Pipe(P3).Pump.ImpellerDiameterDisplayUnit = unt_inch;
    Open([&](Form &f) {
        ShowTab(f, Form::TabFCVs);
        Bulk(f, "Used in Model", "t");
        EXPECT_TRUE(Pipe(P1).FlowControlUseInCalc);
        Bulk(f, "Used in Model", "No");
        EXPECT_FALSE(Pipe(P1).FlowControlUseInCalc);
        Bulk(f, "Used in Model", "Y");
        EXPECT_TRUE(Pipe(P1).FlowControlUseInCalc);
        EXPECT_EQ(Cell(f, 7, 2), "Yes");
        // An answer that is neither yes nor no changes nothing.
        Bulk(f, "Used in Model", "maybe",
             "Update column Used in Model = maybe is not valid.\r\rPlease correct the value and try again.\r");
        EXPECT_TRUE(Pipe(P1).FlowControlUseInCalc);

        ShowTab(f, Form::TabEndPressures);
        Bulk(f, "Elevation", "-3");
        EXPECT_DOUBLE_EQ(Node(E).Elevation_m, -3);
        EXPECT_EQ(Cell(f, 3, 2), Fixed(3, -3));

        ShowTab(f, Form::TabPipes);
        Bulk(f, "Diameter", "0", "Update column Diameter = 0 is not valid.\r\rPlease correct the value and try again.\r");
        EXPECT_DOUBLE_EQ(Pipe(P1).InnerDiameter_m, 0.08);
        EXPECT_DOUBLE_EQ(Pipe(P3).InnerDiameter_m, 0.15);

        // Only the listed rows change, and the filter is applied again.
        Filter(f, "Material/Sch", Form::FilterStartsWith, "steel/40");
        Bulk(f, "Diameter", "50");
        EXPECT_EQ(Listed(f), (std::vector<int>{P1, P2}));
        for (int id : {P1, P2}) {
            EXPECT_DOUBLE_EQ(Pipe(id).InnerDiameter_m, 0.05);
            // The outer diameter and nominal size follow, as in a cell.
            EXPECT_DOUBLE_EQ(Pipe(id).OuterDiameter_m, 0.06);
            EXPECT_EQ(Pipe(id).NominalDiameterMetricString, "DN 50");
        }
        EXPECT_DOUBLE_EQ(Pipe(P4).InnerDiameter_m, 0.05);
        EXPECT_DOUBLE_EQ(Pipe(P3).InnerDiameter_m, 0.15);
        EXPECT_EQ(Cell(f, 2, 2), "DN 50");

        // The impeller diameter is read in the column's unit.
        ShowTab(f, Form::TabPumpsCurve);
        Bulk(f, "Impeller Diam", "250");
        EXPECT_DOUBLE_EQ(Pipe(P3).Pump.ImpellerDiameter_m, 0.25);
        EXPECT_TRUE(main.States.SystemUpdatedSinceLoad);
    });
}

TEST_P(EditGrid, SelectingARowHighlightsItsItemAndKeepsEditsUnsaved)
{
    editor.AskDelete = true;
    Open([&](Form &f) {
        ShowTab(f, Form::TabNodes);
        main.Calls.clear();
        f.StringGridData->setCurrentCell(RowOf(f, B), 2);
        EXPECT_EQ(main.States.CurrentNodeIdSelected, B);
        EXPECT_EQ(main.States.CurrentPipeIdSelected, 0);
        EXPECT_EQ(main.Calls, (std::vector<std::string>{"ClearNetworkStates", "RefreshScreen(true)"}));
        QTest::mouseClick(f.ToolButton1, Qt::LeftButton);
        EXPECT_EQ(main.Calls.back(), "ZoomtoNodeBottomOfScreen");
        EXPECT_FALSE(main.States.SystemUpdatedSinceLoad);

        // An edit stays unsaved across the next selection's reset.
        Type(f, RowOf(f, B), 2, "Bend");
        EndEdit(f);
        EXPECT_EQ(Node(B).Name, "Bend");
        f.StringGridData->setCurrentCell(RowOf(f, C), 2);
        EXPECT_TRUE(main.States.SystemUpdatedSinceLoad);
        EXPECT_EQ(main.States.CurrentNodeIdSelected, C);

        // "View/Edit" opens the pump data editor; a delete is refused.
        ShowTab(f, Form::TabPumpsCurve);
        EXPECT_EQ(main.States.CurrentNodeIdSelected, 0);
        dialogs.Expect(TDialogKind::Confirmation,
                       "Pump cannot be deleted when editing network data via the Edit Grid.");
        f.StringGridData->setCurrentCell(2, 7);
        EXPECT_EQ(editor.Openings, std::vector<int>{P3});
        EXPECT_EQ(editor.ResultsModes, std::vector<bool>{false});
        EXPECT_EQ(Pipe(P3).PumpCount, 1);
        EXPECT_EQ(Pipe(P3).Pump.Name, "Edited");
        EXPECT_EQ(main.States.CurrentPipeIdSelected, P3);
        QTest::mouseClick(f.ToolButton1, Qt::LeftButton);
        EXPECT_EQ(main.Calls.back(), "ZoomtoPipeBottomOfScreen");
        // Another column of the row opens nothing.
        f.StringGridData->setCurrentCell(2, 6);
        EXPECT_EQ(editor.Openings.size(), 1u);
    });
}

TEST_P(EditGrid, UnitsMenuConvertsTheDisplayUnits)
{
    const QString imperial = "Change To Imperial Units\r\rThe Units will be set as follows: \r\r" +
                             Q(unitsSummaryImperial(PressureGage)) +
                             "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
    const QString metric = "Change To Metric Units\r\rThe Units will be set as follows: \r\r" +
                           Q(unitsSummaryMetric(PressureGage)) +
                           "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
    main.OnOpenConfigForm = [](TConfigTabs, TConfigOptions &options, TNetwork &, bool resultsMode, bool) {
        EXPECT_FALSE(resultsMode);
        options.UnitOfLength = unt_mm;
        return true;
    };
    Open([&](Form &f) {
        dialogs.Expect(TDialogKind::Confirmation, imperial, DialogYes);
        f.Imperial1->trigger();
        EXPECT_EQ(Options().UnitOfDiameter, unt_inch);
        EXPECT_EQ(Cell(f, 5, 1), Q(unitName(unt_inch)));
        EXPECT_EQ(Cell(f, 5, RowOf(f, P2)), Q(convertAndFormat(unt_m, unt_inch, 0.1)));
        dialogs.Expect(TDialogKind::Confirmation, metric, DialogNo);
        f.Metric1->trigger();
        EXPECT_EQ(Options().UnitOfDiameter, unt_inch);

        QTest::mouseClick(f.ToolButtonUnits, Qt::LeftButton);
        EXPECT_EQ(main.CallCount("OpenConfigForm(" + std::to_string(ConfigUnits) + ")"), 1);
        EXPECT_EQ(Cell(f, 7, 1), Q(unitName(unt_mm)));
        EXPECT_EQ(Cell(f, 7, RowOf(f, P2)), Q(convertAndFormat(unt_m, unt_mm, 200)));
    });
    EXPECT_TRUE(main.States.SystemUpdatedSinceLoad);
}

TEST_P(EditGrid, FilteredBulkUpdateSavedToASpreadsheet)
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath("steel pipes.xlsx");
    dialogs.FileNames.push_back(fileName);
    Open([&](Form &f) {
        Filter(f, "Material/Sch", Form::FilterStartsWith, "steel");
        Bulk(f, "Length", "25");
        f.SaveToExcel1->trigger();
    });
    for (int id : {P1, P2, P4})
        EXPECT_DOUBLE_EQ(Pipe(id).Length_m, 25);
    EXPECT_DOUBLE_EQ(Pipe(P3).Length_m, 300);
    ASSERT_EQ(dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs[0].DefaultSuffix, "xlsx");
    ASSERT_TRUE(QFileInfo::exists(fileName));
    if (!test::SpreadsheetReaderAvailable())
        GTEST_SKIP() << "python3 is not installed";
    const std::optional<test::TReadSheet> sheet = test::ReadSpreadsheet(fileName);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->SheetName, "TRZ - Pipe Data");
    EXPECT_EQ(sheet->Dimension, "A1:I5");
    EXPECT_EQ(sheet->Cells.at("A1").Value, "Pipe Id");
    EXPECT_EQ(sheet->Cells.at("H2").Value, "m");
    const int ids[] = {P1, P2, P4};
    for (int i = 0; i < 3; ++i) {
        const std::string row = std::to_string(i + 3);
        EXPECT_TRUE(sheet->Cells.at("A" + row).Number);
        EXPECT_EQ(std::stoi(sheet->Cells.at("A" + row).Value), ids[i]);
        EXPECT_TRUE(sheet->Cells.at("H" + row).Number);
        EXPECT_DOUBLE_EQ(std::stod(sheet->Cells.at("H" + row).Value), 25);
    }
    EXPECT_FALSE(sheet->Cells.at("B3").Number);
    EXPECT_EQ(sheet->Cells.at("B3").Value, "Main");
}

TEST_P(EditGrid, ExportAndAFailedSaveAreReported)
{
    const QString unwritable = QStringLiteral("/nonexistent folder/pipes.xlsx");
    std::string why;
    ASSERT_FALSE(SaveStringGridToExcelFile(TStringGrid(1, 1), "x", unwritable, &why));
    dialogs.FileNames.push_back(unwritable);
    Open([&](Form &f) {
        ShowTab(f, Form::TabTanks);
        QTest::mouseClick(f.ToolButtonExcel, Qt::LeftButton);
        ASSERT_EQ(dialogs.Opened.size(), 1u);
        EXPECT_EQ(QFileInfo(dialogs.Opened[0]).fileName(), "TRZ - Tank Data.xlsx");
        QDir(QFileInfo(dialogs.Opened[0]).absolutePath()).removeRecursively();

        dialogs.Expect(TDialogKind::Warning,
                       "The sheet could not be saved to " + unwritable + "\r\r" + Q(why));
        QTest::mouseClick(f.ToolButtonSaveResults, Qt::LeftButton);
    });
}

INSTANTIATE_TEST_SUITE_P(Separators, EditGrid, ::testing::Values('.', ','),
                         [](const ::testing::TestParamInfo<char> &info) {
                             return info.param == '.' ? std::string("Point") : std::string("Comma");
                         });

} // namespace
} // namespace tessaran
