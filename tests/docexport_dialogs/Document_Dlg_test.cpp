#include "docexport/dialogs/Document_Dlg.h"

#include "docexport/Pdf_Engine.h"
#include "docexport/dialogs/Enable_Child_Controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "support/qt/Scripted_Dialogs.h"

namespace tessaran {
namespace {

using test::TScriptedDialogs;

template <typename T>
T *control(QWidget &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(name);
    if (!widget)
        ADD_FAILURE() << "no control " << name;
    return widget;
}

// As a user's click: the button's own click, wherever its text ends.
void click(QWidget &dialog, const char *name) { control<QAbstractButton>(dialog, name)->click(); }

void typeInto(QWidget &dialog, const char *name, const QString &text)
{
    QLineEdit *edit = control<QLineEdit>(dialog, name);
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

bool quietBase(QWidget &widget, const QColor &colour) { return widget.palette().color(QPalette::Base) == colour; }

// An engine with something other than the defaults in every setting the dialog edits.
struct TSetEngine {
    TdeCustomPDFEngine Engine;
    TSetEngine()
    {
        Engine.SetPagesToRender("2,4-6");
        Engine.Preferences().SetOpenAfterCreate(true);
        Engine.Preferences().SetEmailAfterCreate(false);
        Engine.Preferences().SetProcessAfterEachPage(true);
        Engine.Preferences().SetUseImagesAsResources(true);
        Engine.Preferences().ActiveHyperLinks = false;
        Engine.SetItemsToRender(TdeItemsToRender{TdeItemsToRenderKind::irText, TdeItemsToRenderKind::irImage});
        Engine.ImageSettings().ImagePixelFormat = TPixelFormat::pf8bit;
        Engine.ImageSettings().SourceDPI = 150;
        Engine.ImageSettings().JPEGQuality = 70;
        Engine.DocInfo().SetAuthor(u"Ann Author");
        Engine.DocInfo().SetTitle(u"Pump station \u00e9t\u00e9");
        Engine.DocInfo().SetKeywords(u"water");
        Engine.EMailSettings().Host = "mail.example.org";
        Engine.EMailSettings().Port = 587;
        Engine.EMailSettings().RecipientList = {"a@example.org", "b@example.org"};
        Engine.EMailSettings().Body = {"first line", "second line"};
    }
};

std::unique_ptr<TdePlainSheetDlg> openDialog(TdeCustomDocumentEngine &engine)
{
    auto dialog = std::make_unique<TdePlainSheetDlg>();
    dialog->SetEngine(&engine);
    dialog->show();
    return dialog;
}

TEST(PlainSheetDlg, ShowThenOkGivesEverySettingBackAndCancelWritesNothing)
{
    TScriptedDialogs dialogs;
    TSetEngine set;
    TdeCustomPDFEngine &engine = set.Engine;
    const auto before = [&] {
        return std::tuple(engine.PagesToRender(), engine.Preferences().OpenAfterCreate(),
                          engine.Preferences().ProcessAfterEachPage(), engine.Preferences().UseImagesAsResources(),
                          engine.Preferences().ActiveHyperLinks, engine.ItemsToRender().Contains(TdeItemsToRenderKind::irShape),
                          engine.ImageSettings().ImagePixelFormat, engine.ImageSettings().SourceDPI,
                          engine.ImageSettings().JPEGQuality, engine.ImageSettings().OutputImageFormat(),
                          engine.DocInfo().Author(), engine.DocInfo().Title(), engine.EMailSettings().Port,
                          engine.EMailSettings().RecipientList, engine.EMailSettings().Body);
    };
    const auto original = before();

    auto dialog = openDialog(engine);
    EXPECT_TRUE(control<QRadioButton>(*dialog, "rbtnPages")->isChecked());
    EXPECT_EQ(control<QLineEdit>(*dialog, "edPages")->text(), "2,4-6");
    EXPECT_EQ(control<QComboBox>(*dialog, "cbImagePixelFormat")->currentText(), "8 bit");
    EXPECT_EQ(control<QComboBox>(*dialog, "cbImagePixelFormat")->count(), 8) << "no custom format";
    EXPECT_EQ(control<QLabel>(*dialog, "lblDialogCaption")->text(), "Preferences");
    click(*dialog, "btnOK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(before(), original);

    // Changes then Cancel: nothing reaches the engine.
    dialog = openDialog(engine);
    click(*dialog, "rbtnAll");
    click(*dialog, "chkOpenAfterCreate");
    typeInto(*dialog, "edAuthor", "Someone Else");
    click(*dialog, "btnCancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(before(), original);
}

TEST(PlainSheetDlg, PageRangeJpegAndEnablingRules)
{
    TScriptedDialogs dialogs;
    TSetEngine set;
    TdeCustomPDFEngine &engine = set.Engine;
    auto dialog = openDialog(engine);

    // Emptying the page list chooses all pages; typing chooses pages again.
    typeInto(*dialog, "edPages", "");
    EXPECT_TRUE(control<QRadioButton>(*dialog, "rbtnAll")->isChecked());
    QTest::keyClicks(control<QLineEdit>(*dialog, "edPages"), "1, 3x-5");
    EXPECT_EQ(control<QLineEdit>(*dialog, "edPages")->text(), "1,3-5") << "digits, commas and hyphens only";
    EXPECT_TRUE(control<QRadioButton>(*dialog, "rbtnPages")->isChecked());
    click(*dialog, "rbtnAll");
    EXPECT_EQ(control<QLineEdit>(*dialog, "edPages")->text(), "");

    // JPEG quality only for JPEG output with images rendered.
    QComboBox *format = control<QComboBox>(*dialog, "cbOutputImageFormat");
    QLineEdit *quality = control<QLineEdit>(*dialog, "edJPEGQuality");
    EXPECT_EQ(format->currentIndex(), -1) << "the plain-sheet dialog leaves the format to an engine's own dialog";
    struct Case {
        const char *Format;
        bool Image;
        bool Enabled;
    };
    for (const Case &c : {Case{"JPEG", true, true}, Case{"BMP", true, false}, Case{"JPEG", false, false}}) {
        SCOPED_TRACE(std::string(c.Format) + (c.Image ? " with images" : " without images"));
        format->setCurrentText(c.Format);
        control<QCheckBox>(*dialog, "chkImage")->setChecked(c.Image);
        EXPECT_EQ(quality->isEnabled(), c.Enabled);
        EXPECT_TRUE(quietBase(*quality, c.Enabled ? WindowColour() : InactiveBorderColour()));
        EXPECT_EQ(control<QComboBox>(*dialog, "cbImagePixelFormat")->isEnabled(), c.Image);
    }

    // Pages are changed only from the list.
    QListWidget *list = control<QListWidget>(*dialog, "lbDocumentDlg");
    EXPECT_EQ(list->count(), 3);
    list->setCurrentRow(2);
    EXPECT_EQ(control<QStackedWidget>(*dialog, "pcDocument")->currentWidget()->objectName(), "tsBackground");
    EXPECT_EQ(control<QLabel>(*dialog, "lblDialogCaption")->text(), "Background");

    format->setCurrentText("BMP");
    control<QCheckBox>(*dialog, "chkImage")->setChecked(true);
    click(*dialog, "btnOK");
    EXPECT_EQ(engine.PagesToRender(), "");
    EXPECT_EQ(engine.ImageSettings().OutputImageFormat(), TdeOutputImageFormat::ifBMP);
    EXPECT_TRUE(engine.ItemsToRender().Contains(TdeItemsToRenderKind::irImage));
}

TEST(PlainSheetDlg, AnEntryThatIsNoNumberStopsOkBeforeAnythingIsWritten)
{
    TScriptedDialogs dialogs;
    TSetEngine set;
    TdeCustomPDFEngine &engine = set.Engine;
    auto dialog = openDialog(engine);
    click(*dialog, "chkOpenAfterCreate");
    typeInto(*dialog, "edAuthor", "Changed");
    typeInto(*dialog, "edSourceDPI", "high");
    dialogs.Expect(TDialogKind::Error, "'high' is not a valid integer value");
    click(*dialog, "btnOK");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(engine.Preferences().OpenAfterCreate());
    EXPECT_EQ(engine.DocInfo().Author(), u"Ann Author");
    EXPECT_EQ(engine.ImageSettings().SourceDPI, 150);
    EXPECT_EQ(control<QStackedWidget>(*dialog, "pcDocument")->currentWidget()->objectName(), "tsContent");

    // A JPEG quality that is no number keeps the old quality and OK goes on.
    typeInto(*dialog, "edSourceDPI", "300");
    control<QComboBox>(*dialog, "cbOutputImageFormat")->setCurrentText("JPEG");
    typeInto(*dialog, "edJPEGQuality", "hi");
    click(*dialog, "btnOK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(engine.ImageSettings().SourceDPI, 300);
    EXPECT_EQ(engine.ImageSettings().JPEGQuality, 70);
    EXPECT_EQ(engine.DocInfo().Author(), u"Changed");
    EXPECT_FALSE(engine.Preferences().OpenAfterCreate());
}

TEST(PlainSheetDlg, BackgroundPictureAndColourSwatch)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    auto dialog = openDialog(engine);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tessaran_background_" + std::to_string(::getpid()) + ".bmp")).string();
    QImage picture(30, 20, QImage::Format_RGB888);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));

    QPushButton *preview = control<QPushButton>(*dialog, "btnImgPrvw");
    EXPECT_FALSE(preview->isEnabled());
    dialogs.FileNames.push_back(std::nullopt); // cancelled: nothing changes
    click(*dialog, "btnSelectImage");
    EXPECT_FALSE(preview->isEnabled());
    dialogs.FileNames.push_back(QString::fromStdString(path));
    click(*dialog, "btnSelectImage");
    EXPECT_TRUE(preview->isEnabled());
    EXPECT_TRUE(control<QComboBox>(*dialog, "cbBackgroundDisplayType")->isEnabled());
    EXPECT_EQ(control<QComboBox>(*dialog, "cbBackgroundDisplayType")->count(), 10);
    EXPECT_FALSE(control<QLabel>(*dialog, "imgBackgroundImage")->pixmap().isNull());

    // Preview: the picture at its own size, the window round it by the
    // panel's border on every side.
    QSize previewSize, imageSize;
    QString previewTitle;
    QRgb previewPixel = 0;
    int tries = 0;
    std::function<void()> inspect = [&] {
        auto *shown = qobject_cast<TdeImgPrvwDlg *>(QApplication::activeModalWidget());
        if (!shown) {
            if (++tries < 200)
                QTimer::singleShot(10, inspect);
            else if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        previewSize = shown->size();
        previewTitle = shown->windowTitle();
        imageSize = shown->imgBgImgPrvw->size();
        previewPixel = shown->imgBgImgPrvw->pixmap().toImage().pixel(15, 10);
        shown->reject();
    };
    QTimer::singleShot(0, inspect);
    click(*dialog, "btnImgPrvw");
    EXPECT_EQ(previewTitle, "Preview");
    EXPECT_EQ(imageSize, QSize(30, 20));
    EXPECT_EQ(previewSize, QSize(30 + 2 * TdeImgPrvwDlg::Border, 20 + 2 * TdeImgPrvwDlg::Border));
    EXPECT_EQ(previewPixel, qRgb(255, 0, 0));

    click(*dialog, "btnClear");
    EXPECT_FALSE(preview->isEnabled());
    EXPECT_TRUE(control<QLabel>(*dialog, "imgBackgroundImage")->pixmap().isNull());
    std::filesystem::remove(path);

    // A swatch asks for a colour when pressed and released in one place.
    TColourSwatch *swatch = control<TColourSwatch>(*dialog, "shpBackgroundColor");
    dialogs.Colours.push_back(QColor(0, 128, 255));
    QTest::mousePress(swatch, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(swatch, Qt::LeftButton, {}, QPoint(9, 9)); // moved away: no dialog
    QTest::mouseClick(swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(swatch->Colour(), QColor(0, 128, 255));
    EXPECT_TRUE(dialogs.Colours.empty());
}

TEST(EnableChildControls, WholeGroupExceptTheExcludedWithFieldColours)
{
    QWidget group;
    auto *inner = new QWidget(&group);
    auto *edit = new QLineEdit(inner);
    auto *box = new QCheckBox(&group);
    auto *kept = new QComboBox(&group);
    EnableChildControls(group, false, {kept});
    EXPECT_FALSE(inner->isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(kept->isEnabled());
    EXPECT_TRUE(quietBase(*edit, InactiveBorderColour()));
    EnableChildControls(group, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(quietBase(*edit, WindowColour()));
}

} // namespace
} // namespace tessaran
