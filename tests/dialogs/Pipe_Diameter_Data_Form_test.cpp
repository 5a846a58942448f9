#include "dialogs/Pipe_Diameter_Data_Form.h"

#include <functional>
#include <memory>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/String_Grid_Procedures.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/Stream.h"
#include "support/Recording_Main_Window.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

// Table rows in inches: material, schedule, roughness, nominal mm, texts, wall, OD, weight lb/ft.
const char *const DefaultSizes = "1.05~|~~|~\n"
                                 "Steel ANSI~|~STD~|~0.001771654~|~80~|~80 mm~|~3\"~|~0.216~|~3.5~|~7.58\n"
                                 "Steel ANSI~|~STD~|~0.001771654~|~100~|~100 mm~|~4\"~|~0.237~|~4.5~|~10.79\n"
                                 "Steel ANSI~|~STD~|~0.001771654~|~150~|~150 mm~|~6\"~|~0.280~|~6.625~|~18.97\n";
const char *const Sch40 = "1.05~|~~|~\n"
                          "Steel ANSI~|~Sch 40~|~0.001771654~|~80~|~80 mm~|~3\"~|~0.216~|~3.5~|~7.58\n"
                          "Steel ANSI~|~Sch 40~|~0.001771654~|~100~|~100 mm~|~4\"~|~0.237~|~4.5~|~10.79\n"
                          "Steel ANSI~|~Sch 40~|~0.001771654~|~150~|~150 mm~|~6\"~|~0.280~|~6.625~|~18.97\n";
const char *const Sch80 = "1.05~|~~|~\n"
                          "Steel ANSI~|~Sch 80~|~0.001771654~|~125~|~125 mm~|~5\"~|~0.375~|~5.563~|~20.78\n"
                          "Steel ANSI~|~Sch 80~|~0.001771654~|~150~|~150 mm~|~6\"~|~0.432~|~6.625~|~28.57\n";
const char *const Pvc = "1.05~|~~|~\n"
                        "PVC~|~Sch 40~|~0.000005000~|~50~|~50 mm~|~2\"~|~0.154~|~2.375~|~0.7\n";

class PipeDiameterDataForm : public ::testing::Test {
protected:
    PipeDiameterDataForm()
    {
        folder = root.filePath("PipeTables");
        QDir().mkpath(folder);
        Write("Default_Nominal_Sizes.trpin", DefaultSizes);
        Write("Steel_ANSI_Sch40.trpi", Sch40);
        Write("Steel_ANSI_Sch80.trpi", Sch80);
        Write("PVC_Sch40.trpi", Pvc);
        sizes.LoadFromPipeDiameterSetData(folder.toStdString(), nullptr, nullptr);
        form = std::make_unique<TPipeDiameterDataForm>(folder.toStdString(), &mainWindow);
        pipe.Name = "P1";
        pipe.Material = "Steel ANSI";
        pipe.ScheduleClass = "Sch 40";
        pipe.InnerDiameter_m = 0.1;
        pipe.InnerRoughness_m = 0.000045;
    }
    void Write(const QString &name, const QByteArray &text)
    {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Read(const QString &name)
    {
        QFile file(folder + "/" + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Open(const std::function<void(TPipeDiameterDataForm &)> &user, bool metric = true, bool chooseMaterial = false)
    {
        QTimer::singleShot(0, [&] {
            user(*form);
            if (form->isVisible())
                form->reject();
        });
        form->OpenPipeDiameterManager(sizes, pipe, 7, metric, chooseMaterial);
        QApplication::processEvents();
    }
    // Makes row r of a grid current.
    static void PickRow(TStringGridWidget *grid, int r) { grid->setCurrentCell(r - 1, 0); }
    static int MaterialRow(TPipeDiameterDataForm &f, const QString &material)
    {
        for (int r = 1; r < f.FileListStringGrid->RowCount(); ++r)
            if (f.FileListStringGrid->Cells(0, r) == material)
                return r;
        return 0;
    }

    QTemporaryDir root;
    QString folder;
    test::TScriptedDialogs dialogs;
    test::TRecordingMainWindow mainWindow;
    TPipeNominalSizeSet sizes{500, 5000};
    std::unique_ptr<TPipeDiameterDataForm> form;
    TPipe pipe;
};

TEST_F(PipeDiameterDataForm, CompleteDiameterDataOffersWhatIsMissing)
{
    const QString askOutside = "Outside Diameter is not set.\rSet Outside Diameter to: 110.000\rbased on Internal "
                               "Diameter and Wall Thickness?";
    const QString askInside = "Internal Diameter is not set.\rSet Internal Diameter to:100.000\rbased on Outside "
                              "Diameter and Wall Thickness?";
    const QString askWall = "Wall Thickness is not set.\rSet Wall Thickness to:5.000\rbased on Internal Diameter and "
                            "Outside Diameter?";
    const QString askConsistent = "Outside Diameter does not equate with other data.\rSet Outside Diameter "
                                  "to:110.000\rbased on Internal Diameter and Wall Thickness?";
    struct Case {
        QString i, w, o;
        const QString *question;
        TDialogButton answer;
        bool result;
        QString iAfter, wAfter, oAfter;
    };
    const Case cases[] = {
        {"100", "5", "", &askOutside, DialogYes, true, "100", "5", "110.000"},
        {"100", "5", "", &askOutside, DialogNo, false, "100", "5", ""},
        {"100", "5", "110.1", &askConsistent, DialogNo, false, "100", "5", "110.1"},
        {"100", "5", "110.1", &askConsistent, DialogYes, true, "100", "5", "110.000"},
        {"100", "5", "110.05", nullptr, DialogOk, true, "100", "5", "110.05"},
        {"", "5", "110", &askInside, DialogYes, true, "100.000", "5", "110"},
        {"100", "", "110", &askWall, DialogYes, true, "100", "5.000", "110"},
        {"100", "", "", nullptr, DialogOk, false, "100", "", ""},
    };
    TPipeDiameterDataForm &f = *form;
    for (const Case &c : cases) {
        if (c.question)
            dialogs.Expect(TDialogKind::Confirmation, *c.question, c.answer);
        f.NewInternalDiameterEdit->setText(c.i);
        f.NewWallThicknessEdit->setText(c.w);
        f.NewOutsideDiameterEdit->setText(c.o);
        EXPECT_EQ(f.CompleteDiameterData(f.NewInternalDiameterEdit, f.NewWallThicknessEdit, f.NewOutsideDiameterEdit),
                  c.result)
            << c.i.toStdString() << "/" << c.w.toStdString() << "/" << c.o.toStdString();
        EXPECT_EQ(f.NewInternalDiameterEdit->text(), c.iAfter);
        EXPECT_EQ(f.NewWallThicknessEdit->text(), c.wAfter);
        EXPECT_EQ(f.NewOutsideDiameterEdit->text(), c.oAfter);
        EXPECT_TRUE(dialogs.AllShown());
    }
}

TEST_F(PipeDiameterDataForm, OpensOnThePipesTableAndSwitchesUnits)
{
    Open(
        [](TPipeDiameterDataForm &f) {
            EXPECT_FALSE(f.ChooseMaterialScreenShown());
            EXPECT_EQ(f.PipeIdLabel->text(), "( Pipe Id: 7 )");
            EXPECT_EQ(f.LoadedFileName(), "Steel_ANSI_Sch40.trpi");
            EXPECT_EQ(f.PipeDiameterTitleLabel->text(), "Steel ANSI Sch 40");
            EXPECT_EQ(f.RoughnessLabel->text(), ", IR= 0.001772 inch");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(0, 2), "4\"");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(3, 2), "4.500");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(2, 0), "Wall Thick.\ninch");
            EXPECT_EQ(f.InternalDiameterEdit->text(), QString::fromStdString(formatFixed(3, 0.1 / 0.0254)));

            f.InternalDiameterEdit->setText("4");
            f.WeightEdit->setText("10");
            f.WallThicknessEdit->setText("");
            f.OutsideDiameterEdit->setText("x");
            Click(f.MetricRadioButton);
            EXPECT_EQ(f.InternalDiameterEdit->text(), "101.600");
            EXPECT_EQ(f.WeightEdit->text(), "14.8816");
            EXPECT_EQ(f.WallThicknessEdit->text(), "");
            EXPECT_EQ(f.OutsideDiameterEdit->text(), "x");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(3, 2), "114.300");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(0, 2), "100 mm");
            EXPECT_EQ(f.PipeDiameterDataStringGrid->Cells(2, 0), "Wall Thick.\nmm");
            EXPECT_EQ(f.RoughnessLabel->text(), ", IR= 0.0450 mm");

            // Typing marks the volume as to be calculated; leaving the box fills it.
            f.InternalDiameterEdit->setFocus();
            f.InternalDiameterEdit->selectAll();
            QTest::keyClicks(f.InternalDiameterEdit, "100");
            EXPECT_EQ(f.ChosenSizeStringGrid->Cells(5, 1), " calculated");
            f.WallThicknessEdit->setFocus();
            emit f.InternalDiameterEdit->editingFinished();
            EXPECT_EQ(f.ChosenSizeStringGrid->Cells(5, 1), "0.7854");

            // Transfer flashes the band silver for half a second.
            PickRow(f.PipeDiameterDataStringGrid, 3);
            Click(f.TransferSelectedSizeButton);
            EXPECT_EQ(f.OutsideDiameterEdit->text(), "168.275");
            EXPECT_EQ(f.SelectedPipeDataPanel->palette().color(QPalette::Window), QColor(192, 192, 192));
            QTest::qWait(700);
            EXPECT_EQ(f.SelectedPipeDataPanel->palette().color(QPalette::Window), QColor(227, 243, 255));
        },
        false);
}

TEST_F(PipeDiameterDataForm, AnUnknownMaterialOpensOnTheChooseMaterialScreen)
{
    pipe.Material = "Unobtainium";
    pipe.ScheduleClass = "X";
    dialogs.Expect(TDialogKind::Warning,
                   "Material 'Unobtainium/X' not found in pipe database.\r\rPipe Database will open on 'Choose "
                   "Material' screen.\rYou can then select a new material or click on 'Cancel' in order to keep "
                   "existing pipe data.\r");
    Open([](TPipeDiameterDataForm &f) {
        EXPECT_TRUE(f.ChooseMaterialScreenShown());
        EXPECT_EQ(f.LoadedFileName(), "Steel_ANSI_Sch40.trpi");
        EXPECT_EQ(f.SizeSet().PipeCount, 3);
        EXPECT_FALSE(f.SavePipeButton->isEnabled());
        EXPECT_EQ(f.FileListStringGrid->width(), 521);
        EXPECT_EQ(f.MaterialList().size(), 3);
        EXPECT_EQ(f.FileListStringGrid->Cells(0, 1), "PVC");
        EXPECT_EQ(f.FileListStringGrid->Cells(2, 1), "0.000005 (inch)");
        // Ranges in the units of the opening.
        EXPECT_EQ(f.FileListStringGrid->Cells(3, 2), "80 mm - 150 mm");
        // Cancel: the sizes screen over the fallback sizes.
        Click(f.ChooseMaterialCancelButton);
        EXPECT_FALSE(f.ChooseMaterialScreenShown());
        EXPECT_TRUE(f.SavePipeButton->isEnabled());
    });
    // Asked for the screen: no warning.
    Open([](TPipeDiameterDataForm &f) { EXPECT_TRUE(f.ChooseMaterialScreenShown()); }, true, true);
}

TEST_F(PipeDiameterDataForm, SavePipeChecksAndLooksUpTheNominalSize)
{
    dialogs.Expect(TDialogKind::Information, "The Internal Roughness must be set.");
    dialogs.Expect(TDialogKind::Information, "The Internal Diameter must be set.");
    Open([](TPipeDiameterDataForm &f) {
        f.RoughnessEdit->clear();
        Click(f.SavePipeButton);
        EXPECT_TRUE(f.isVisible());
        f.RoughnessEdit->setText("0.05");
        f.InternalDiameterEdit->setText("0");
        Click(f.SavePipeButton);
        EXPECT_TRUE(f.isVisible());
        f.InternalDiameterEdit->setText("120");
        Click(f.CancelButton);
    });
    EXPECT_DOUBLE_EQ(pipe.InnerDiameter_m, 0.1);
    EXPECT_DOUBLE_EQ(pipe.InnerRoughness_m, 0.000045);

    // The schedule box enters the look-up: 120 mm in Sch 80 is the 125 size,
    // the first whose outside diameter exceeds it.
    dialogs.Expect(TDialogKind::Confirmation,
                   "Outside Diameter does not equate with other data.\rSet Outside Diameter to:130.000\rbased on "
                   "Internal Diameter and Wall Thickness?",
                   DialogNo);
    dialogs.Expect(TDialogKind::Confirmation,
                   "The data may be incomplete or may not be correct.\rDo you wish to continue with the save "
                   "operation?",
                   DialogYes);
    Open([](TPipeDiameterDataForm &f) {
        f.ScheduleEdit->setText("Sch 80");
        f.InternalDiameterEdit->setText("120");
        f.WallThicknessEdit->setText("5");
        f.OutsideDiameterEdit->setText("141.3");
        f.WeightEdit->setText("");
        Click(f.SavePipeButton);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_DOUBLE_EQ(pipe.InnerDiameter_m, 0.12);
    EXPECT_EQ(pipe.ScheduleClass, "Sch 80");
    EXPECT_EQ(pipe.NominalDiameterMetric, 125);
    EXPECT_EQ(pipe.NominalDiameterImperialString, "5\"");
    EXPECT_DOUBLE_EQ(pipe.WeightPerMetre_kg, 0);
    EXPECT_NEAR(pipe.OuterDiameter_m, 0.1413, 1e-12);
}

TEST_F(PipeDiameterDataForm, MaterialAndSizeEditsReachTheirFiles)
{
    const QByteArray sch40 = Read("Steel_ANSI_Sch40.trpi");
    dialogs.Expect(TDialogKind::Information, "The new material type cannot be blank.");
    dialogs.Expect(TDialogKind::Information, "The Internal Roughness cannot be blank.");
    dialogs.Expect(TDialogKind::Warning,
                   "Cannot create new material file.\r\rIt may be that the filename contains invalid characters or "
                   "\rit could be related to a file permissions problem.");
    dialogs.Expect(TDialogKind::Warning,
                   "This material already exists.\rCannot create another material with the same name.");
    dialogs.Expect(TDialogKind::Confirmation,
                   "Add new pipe data to Pipe diameter database.\rProceed with this operation?", DialogYes);
    Open([&](TPipeDiameterDataForm &f) {
        Click(f.ChangeMaterialButton);
        Click(f.AddNewMaterialButton);
        EXPECT_TRUE(f.NewMaterialPanel->isVisible());
        EXPECT_EQ(f.FileListStringGrid->height(), 251);
        Click(f.SaveNewMaterialButton);
        f.NewMaterialEdit->setText("Cu");
        Click(f.SaveNewMaterialButton);
        f.NewRoughnessEdit->setText("0.0015");
        // A name that would lead out of the folder is refused.
        f.NewMaterialEdit->setText("../Cu");
        Click(f.SaveNewMaterialButton);
        f.NewMaterialEdit->setText("Cu");
        f.NewScheduleEdit->setText("Type K");
        Click(f.SaveNewMaterialButton);
        EXPECT_FALSE(f.NewMaterialPanel->isVisible());
        EXPECT_EQ(f.FileListStringGrid->Row(), MaterialRow(f, "Cu"));
        EXPECT_EQ(f.FileListStringGrid->Cells(3, MaterialRow(f, "Cu")), " - ");
        Click(f.AddNewMaterialButton);
        Click(f.SaveNewMaterialButton);
        Click(f.NewMaterialCancelButton);
        // Back on the sizes still shown: a size added now belongs to their
        // table, not to the material just created.
        Click(f.ChooseMaterialCancelButton);
        EXPECT_EQ(f.LoadedFileName(), "Steel_ANSI_Sch40.trpi");
        Click(f.AddNewSizeButton);
        EXPECT_FALSE(f.ChangeMaterialButton->isEnabled());
        f.NewOutsideDiameterEdit->setText("200");
        f.NewWallThicknessEdit->setText("8");
        f.NewInternalDiameterEdit->setText("184.05");
        f.NewWeightEdit->setText("40");
        Click(f.AddNewEntryButton);
        EXPECT_TRUE(f.ChangeMaterialButton->isEnabled());
        ASSERT_EQ(f.SizeSet().PipeCount, 4);
        EXPECT_EQ(f.SizeSet().GetPipeDiameterFileType(4), PipeFileUser);
        // The stored bore is the outside diameter less two walls.
        EXPECT_NEAR(f.SizeSet().GetPipeDiameterData(4).InnerDiameter_m, 0.184, 1e-12);
    });
    EXPECT_EQ(QDir(folder).entryList({"UserMaterial*"}), QStringList{"UserMaterialCu.trpi"});
    const QList<QByteArray> lines = Read("UserMaterialCu.trpi").split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("1.05~|~UserMaterialCu.trpi~|~")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Cu~|~Type K~|~")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("~|~-1~|~")) << lines[1].toStdString();
    EXPECT_EQ(Read("Steel_ANSI_Sch40.trpi"), sch40);
    const QByteArray user = Read("Steel_ANSI_Sch40.trpiu");
    EXPECT_EQ(user.count('\n'), 2);
    EXPECT_TRUE(user.contains("~|~7.874016")) << user.toStdString(); // 200 mm in inches
    EXPECT_FALSE(mainWindow.SplashTexts.empty());

    // A standard size removed: only the ".trpi" file changes.
    dialogs.Expect(TDialogKind::Confirmation,
                   "This is a standard pipe size it will be permanently removed.\rThis action cannot be "
                   "reversed.\r\rContinue with removal?",
                   DialogYes);
    Open([&](TPipeDiameterDataForm &f) {
        PickRow(f.PipeDiameterDataStringGrid, 1);
        Click(f.RemoveEntryButton);
        EXPECT_EQ(f.SizeSet().PipeCount, 3);
        EXPECT_EQ(f.PipeDiameterDataStringGrid->Row(), 1);
    });
    const QByteArray trimmed = Read("Steel_ANSI_Sch40.trpi");
    EXPECT_NE(trimmed, sch40);
    EXPECT_FALSE(trimmed.contains("~|~80~|~"));
    EXPECT_TRUE(trimmed.contains("~|~100~|~"));
    EXPECT_EQ(Read("Steel_ANSI_Sch40.trpiu"), user);

    // Removing a material: the question begins with an empty line unless the
    // file is a user material; row 0 removes nothing.
    dialogs.Expect(TDialogKind::Confirmation,
                   "ALL pipe size data for this material will be permanently removed.\rThis action cannot be "
                   "reversed.\r\rDo you wish to continue with removal?",
                   DialogYes);
    dialogs.Expect(TDialogKind::Confirmation,
                   "\rALL pipe size data for this material will be permanently removed.\rThis action cannot be "
                   "reversed.\r\rDo you wish to continue with removal?",
                   DialogYes);
    Open(
        [&](TPipeDiameterDataForm &f) {
            StringGridClearSelection(f.FileListStringGrid);
            f.FileListStringGrid->setCurrentItem(nullptr);
            Click(f.RemoveMaterialButton);
            PickRow(f.FileListStringGrid, MaterialRow(f, "Cu"));
            Click(f.RemoveMaterialButton);
            PickRow(f.FileListStringGrid, MaterialRow(f, "Steel ANSI"));
            Click(f.RemoveMaterialButton);
        },
        true, true);
    EXPECT_FALSE(QFile::exists(folder + "/UserMaterialCu.trpi"));
    EXPECT_FALSE(QFile::exists(folder + "/Steel_ANSI_Sch40.trpi"));
    EXPECT_FALSE(QFile::exists(folder + "/Steel_ANSI_Sch40.trpiu"));
    EXPECT_TRUE(QFile::exists(folder + "/Steel_ANSI_Sch80.trpi"));
}

TEST_F(PipeDiameterDataForm, TablesLoadWholeOrNotAtAll)
{
    Write("Steel_ANSI_Sch40.trpiu", "1.05~|~~|~\nSteel ANSI~|~Sch 40~|~not a number~|~\n");
    dialogs.Expect(TDialogKind::Warning, "Cannot load pipe and diameter data. File is not valid.\r");
    Open([](TPipeDiameterDataForm &f) {
        EXPECT_EQ(f.SizeSet().PipeCount, 0);
        EXPECT_TRUE(f.PipeDiameterDataStringGrid->isRowHidden(0));
        // Nothing on show: no size can be written anywhere.
        Click(f.RemoveEntryButton);
    });
}

TEST_F(PipeDiameterDataForm, UserMaterialFromCreationToAPipe)
{
    dialogs.Expect(TDialogKind::Confirmation,
                   "Add new pipe data to Pipe diameter database.\rProceed with this operation?", DialogYes);
    dialogs.Expect(TDialogKind::Confirmation,
                   "Add new pipe data to Pipe diameter database.\rProceed with this operation?", DialogYes);
    Open([&](TPipeDiameterDataForm &f) {
        Click(f.ChangeMaterialButton);
        Click(f.AddNewMaterialButton);
        f.NewMaterialEdit->setText("HDPE");
        f.NewScheduleEdit->setText("PN10");
        f.NewRoughnessEdit->setText("0.007");
        Click(f.SaveNewMaterialButton);
        Click(f.SelectMaterialButton);
        EXPECT_FALSE(f.ChooseMaterialScreenShown());
        EXPECT_EQ(f.LoadedFileName(), "UserMaterialHDPE.trpi");
        EXPECT_EQ(f.MaterialEdit->text(), "HDPE");
        EXPECT_EQ(f.RoughnessEdit->text(), "0.007000");
        EXPECT_TRUE(f.PipeDiameterDataStringGrid->isRowHidden(0));
        for (const auto &[od, wall] : {std::pair{"110", "10"}, std::pair{"160", "14.6"}}) {
            Click(f.AddNewSizeButton);
            f.NewOutsideDiameterEdit->setText(od);
            f.NewWallThicknessEdit->setText(wall);
            f.NewInternalDiameterEdit->setText(QString::number(QString(od).toDouble() - 2 * QString(wall).toDouble()));
            f.NewWeightEdit->setText("3");
            Click(f.AddNewEntryButton);
        }
        ASSERT_EQ(f.SizeSet().PipeCount, 2);
        EXPECT_EQ(f.SizeSet().GetPipeDiameterData(1).Material, "HDPE");
        PickRow(f.PipeDiameterDataStringGrid, 2);
        Click(f.TransferSelectedSizeButton);
        EXPECT_EQ(f.InternalDiameterEdit->text(), "130.800");
        Click(f.SavePipeButton);
    });
    EXPECT_NEAR(pipe.InnerDiameter_m, 0.1308, 1e-12);
    EXPECT_EQ(pipe.Material, "HDPE");
    EXPECT_EQ(pipe.ScheduleClass, "PN10");
    EXPECT_NEAR(pipe.InnerRoughness_m, 0.000007, 1e-12);
    EXPECT_TRUE(QFile::exists(folder + "/UserMaterialHDPE.trpiu"));
    // The program's size set was reloaded with the new rows.
    bool found = false;
    for (int i = 1; i <= sizes.PipeCount; ++i) {
        const TPipeNominalSizeData row = sizes.getPipeNominalSizeData(i);
        // The tables hold inches to 7 significant digits.
        if (std::abs(row.OuterDiameter_m - 0.16) < 1e-6 && std::abs(row.InnerRoughness_m - 0.000007) < 1e-9)
            found = true;
    }
    EXPECT_TRUE(found);
}

} // namespace
} // namespace tessaran
