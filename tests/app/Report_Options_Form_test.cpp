// The report options dialog as the user meets it: the column lists with
// their limit, leaving without keeping edits, and report-options files with
// their logo, saved and loaded through scripted file dialogs.

#include "app/Report_Options_Form.h"
#include "network/Network_Class.h"
#include "support/qt/Scripted_Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace tessaran::test {
namespace {

const QString CannotLoad = "Cannot load selected file.\r\rSpecified file may not exist or \rthere may be a "
                           "problem with the file permissions.";

std::vector<std::uint8_t> FileBytes(const QString &path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const QString &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ReportOptionsForm : public ::testing::Test {
protected:
    // Opens the dialog on the network and runs the steps while it is shown;
    // the steps end by closing it. Returns the GeneratePDF answer.
    bool Open(const std::function<void()> &steps)
    {
        bool generate = true;
        QTimer::singleShot(0, [&] {
            steps();
            if (form.isVisible())
                form.BitBtnCancelAndExit->click();
        });
        form.OpenForm(network, generate);
        return generate;
    }
    QString Path(const char *name) const { return QDir(folder.path()).filePath(name); }
    void Save(const QString &path)
    {
        dialogs.FileNames.push_back(path);
        form.BitBtnSaveReportOptions->click();
    }
    void Load(const QString &path)
    {
        dialogs.FileNames.push_back(path);
        form.BitBtnLoadReportOptions->click();
    }

    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    TNetwork network;
    TFormPDFConfig form;
};

TEST_F(ReportOptionsForm, ComponentsCarryTheirNamesAndTheListsHoldTheTableHeadings)
{
    Open([&] {
        EXPECT_EQ(form.windowTitle(), "PDF Report Generator");
        for (const char *name : {"EditCompanyName", "CheckBoxCoverSheet", "RadioButtonPageAuto", "ImageCompanyLogo",
                                 "BitBtnImageLoad", "CheckBoxBPVs", "StringGridPDFReport", "BitBtnCreatePDF"})
            EXPECT_NE(form.findChild<QWidget *>(name), nullptr) << name;
        // A liquid network: 18 pipe columns, 11 energy columns, 17 node columns.
        EXPECT_EQ(form.CheckListBoxPipes->count(), 18);
        EXPECT_EQ(form.CheckListBoxEnergy->count(), 11);
        EXPECT_EQ(form.CheckListBoxNodes->count(), 17);
        EXPECT_TRUE(form.CheckListBoxEnergy->item(2)->text().endsWith(" (Energy Loss)"));
        EXPECT_EQ(form.EditCompanyName->maxLength(), 40);
        EXPECT_FALSE(form.StringGridPDFReport->isVisible());
    });
}

TEST_F(ReportOptionsForm, AThirteenthColumnIsUncheckedWithTheMaximumMessage)
{
    dialogs.Expect(TDialogKind::Information,
                   "A maximum of 12 items can be selected form this list for inclusion in the PDF report.\r\r"
                   "Please deselect an existing item in order to be able to select a new item.\r");
    Open([&] {
        QListWidget &list = *form.CheckListBoxNodes;
        for (int i = 0; i < 12; ++i)
            list.item(i)->setCheckState(Qt::Checked);
        EXPECT_EQ(TFormPDFConfig::countCheckedItems(list), 12);
        list.item(14)->setCheckState(Qt::Checked);
        EXPECT_EQ(list.item(14)->checkState(), Qt::Unchecked);
        EXPECT_EQ(TFormPDFConfig::countCheckedItems(list), 12);
    });
    EXPECT_TRUE(dialogs.AllShown());
}

TEST_F(ReportOptionsForm, ExitAndCloseKeepsTheOptionsAndCreateStoresThem)
{
    const TReportOptions before = network.ReportOptions;
    const bool generate = Open([&] {
        form.CheckBoxFluidData->click();
        form.EditCompanyName->setText("Changed Ltd");
        form.CheckListBoxPipes->item(2)->setCheckState(Qt::Checked);
        form.BitBtnCancelAndExit->click();
    });
    EXPECT_FALSE(generate);
    EXPECT_TRUE(network.ReportOptions == before);

    const bool create = Open([&] {
        form.CheckBoxFluidData->click();
        form.EditCompanyName->setText("Changed Ltd");
        form.RadioButtonPagePortrait->click();
        form.BitBtnCreatePDF->click();
    });
    EXPECT_TRUE(create);
    EXPECT_EQ(network.ReportOptions.companyName, "Changed Ltd");
    EXPECT_EQ(network.ReportOptions.includeFluidData, !before.includeFluidData);
    EXPECT_EQ(network.ReportOptions.pageOrientation, PageOrientationPortrait);
    // Liquid default pipe columns in list order, then the end marker.
    EXPECT_EQ(network.ReportOptions.pipeDataColumns[0], 0);
    EXPECT_EQ(network.ReportOptions.pipeDataColumns[10], -1);
}

TEST_F(ReportOptionsForm, FilesRoundTripWithTheDefaultAndTheBlankLogo)
{
    Open([&] {
        form.EditCompanyName->setText("Logo One");
        Save(Path("default.trzrep"));
        form.BitBtnImageClear->click();
        form.EditCompanyName->setText("Logo None");
        Save(Path("blank.trzrep"));
        // An existing file is only replaced after the question.
        dialogs.Expect(TDialogKind::Confirmation, "File already exists. Do wish to overwrite? \r", DialogNo);
        Save(Path("blank.trzrep"));
    });
    const auto withDefault = FileBytes(Path("default.trzrep"));
    const auto withBlank = FileBytes(Path("blank.trzrep"));
    const auto &defaultLogo = form.LogoDefault.SaveToBytes();
    const auto &blankLogo = form.LogoClear.SaveToBytes();
    ASSERT_FALSE(defaultLogo.empty());
    EXPECT_EQ(static_cast<std::int64_t>(withDefault.size()) - static_cast<std::int64_t>(withBlank.size()),
              static_cast<std::int64_t>(defaultLogo.size()) - static_cast<std::int64_t>(blankLogo.size()));
    // The logo is the file's tail, byte for byte.
    EXPECT_TRUE(std::equal(defaultLogo.begin(), defaultLogo.end(), withDefault.end() - defaultLogo.size()));
    EXPECT_FALSE(QFile::exists(Path("default.trzrep.saving")));

    Open([&] {
        Load(Path("default.trzrep"));
        EXPECT_EQ(form.Logo.SaveToBytes(), defaultLogo);
        EXPECT_EQ(form.EditCompanyName->text(), "Logo One");
        Load(Path("blank.trzrep"));
        EXPECT_EQ(form.Logo.SaveToBytes(), blankLogo);
        EXPECT_EQ(form.EditCompanyName->text(), "Logo None");
    });
    EXPECT_EQ(network.ReportOptions.companyName, "Logo None");
}

TEST_F(ReportOptionsForm, ATruncatedFileIsRefusedAndChangesNothing)
{
    Open([&] { Save(Path("whole.trzrep")); });
    const auto whole = FileBytes(Path("whole.trzrep"));
    const TReportOptions before = network.ReportOptions;
    // Cut inside the options part and inside the logo.
    for (std::size_t keep : {std::size_t{100}, whole.size() - 200}) {
        WriteBytes(Path("cut.trzrep"), std::vector<std::uint8_t>(whole.begin(), whole.begin() + keep));
        dialogs.Expect(TDialogKind::Information, CannotLoad);
        Open([&] {
            form.BitBtnImageClear->click();
            Load(Path("cut.trzrep"));
            EXPECT_EQ(form.Logo.SaveToBytes(), form.LogoClear.SaveToBytes()) << keep;
        });
        EXPECT_TRUE(network.ReportOptions == before) << keep;
    }
    EXPECT_TRUE(dialogs.AllShown());
}

TEST_F(ReportOptionsForm, AFileOfTheFirstLayoutLoads)
{
    TMemoryStream stream;
    stream.WriteShortString("6.38", 24);
    stream.WriteShortString("First Layout Co", 40);
    stream.WriteShortString("Old Project", 40);
    stream.WriteShortString("Old Ref", 40);
    stream.WriteBool(false);
    stream.WriteShortString("Old Title", 40);
    stream.WriteShortString("Old Subtitle", 40);
    for (int i = 0; i < 4; ++i)
        stream.WriteBool(true);
    stream.WriteByte(PageOrientationLandscape);
    for (int i = 0; i < 9; ++i)
        stream.WriteBool(i % 2 == 0);
    for (int list = 0; list < 5; ++list)
        for (int i = 0; i < 15; ++i)
            stream.WriteInt32(i < 3 ? i : -1);
    const auto &logo = form.LogoClear.SaveToBytes();
    stream.WriteBuffer(logo.data(), logo.size());
    WriteBytes(Path("first.trzrep"), stream.Bytes());

    Open([&] {
        Load(Path("first.trzrep"));
        EXPECT_EQ(form.EditCompanyName->text(), "First Layout Co");
        EXPECT_TRUE(form.RadioButtonPageLandscape->isChecked());
        EXPECT_EQ(form.Logo.SaveToBytes(), logo);
    });
    EXPECT_EQ(network.ReportOptions.title, "Old Title");
}

} // namespace
} // namespace tessaran::test
