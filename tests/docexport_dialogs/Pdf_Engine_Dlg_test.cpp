#include "docexport/dialogs/Pdf_Engine_Dlg.h"

#include "docexport/Pdf_Engine.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

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

QStringList items(QComboBox &combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

void setUp(TdeCustomPDFEngine &engine)
{
    engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
    engine.Compression().Level = TdeCompressionLevel::clNormal;
    engine.SetFontEncoding(TdePDFFontEncoding::feStandardEncoding);
    engine.ViewerPreferences().PageLayout = TdePageLayout::plTwoColumnRight;
    engine.ViewerPreferences().PageMode = TdePageMode::pmUseThumbs;
    engine.ViewerPreferences().HideToolBar = true;
    engine.ViewerPreferences().PresentationMode = {7, TdeTransitionEffect::teDissolve};
    engine.SetBackgroundColor(0x00FF8000);
    engine.SetBackgroundImageDisplayType(TdeBackgroundDisplayType::dtCenter);
    engine.ImageSettings().SetOutputImageFormat(TdeOutputImageFormat::ifCCITT4);
    TdePDFEncryptionSettings &encryption = engine.Encryption();
    encryption.SetEnabled(true);
    encryption.SetLevel(TdePDFEncryptionLevel::el40bit);
    encryption.SetOwnerPassword("Owner\xE9");
    encryption.SetUserPassword("user");
    encryption.SetUserPermissions({TdeUserPermissionsType::AllowPrint, TdeUserPermissionsType::AllowAnnotation});
}

auto settings(TdeCustomPDFEngine &engine)
{
    const TdeViewerPreferences &viewer = engine.ViewerPreferences();
    return std::tuple(engine.Preferences().EmbedTrueTypeFonts, engine.Compression().Enabled, engine.Compression().Level,
                      engine.FontEncoding(), viewer.PageLayout, viewer.PageMode, viewer.HideToolBar,
                      viewer.HideMenuBar, viewer.PresentationMode.Duration, viewer.PresentationMode.TransitionEffect,
                      engine.BackgroundColor(), engine.BackgroundImageDisplayType(),
                      engine.ImageSettings().OutputImageFormat(), engine.ImageSettings().JPEGQuality,
                      engine.Encryption().Enabled(), engine.Encryption().Level(), engine.Encryption().OwnerPassword(),
                      engine.Encryption().UserPassword(), engine.Encryption().UserPermissions());
}

void leave(QWidget &field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&field, &out);
}

TEST(PDFEngineDlg, ShowThenOkGivesThePdfSettingsBack)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    setUp(engine);
    const auto original = settings(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "PDF Setup");
    EXPECT_EQ(items(*control<QComboBox>(dialog, "cbOutputImageFormat")),
              (QStringList{"BMP", "JPEG", "CCITT3", "CCITT4"}));
    EXPECT_EQ(control<QComboBox>(dialog, "cbOutputImageFormat")->currentText(), "CCITT4");
    EXPECT_EQ(control<QListWidget>(dialog, "lbDocumentDlg")->count(), 5);
    EXPECT_TRUE(control<QAbstractButton>(dialog, "rgpEmbedTrueTypeFonts2")->isChecked());
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings(engine), original);
}

TEST(PDFEngineDlg, EncryptionRulesPasswordConfirmationsAndFortyBitPermissions)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine; // encryption off, 128 bits, every permission
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    auto *encrypt = control<QAbstractButton>(dialog, "chkEnableEncryption");
    auto *owner = control<QLineEdit>(dialog, "edOwnerPassword");
    auto *confirmOwner = control<QLineEdit>(dialog, "edConfirmOwnerPassword");
    auto *user = control<QLineEdit>(dialog, "edUserPassword");
    auto *confirmUser = control<QLineEdit>(dialog, "edConfirmUserPassword");
    auto *level = control<QComboBox>(dialog, "cbEncryptionLevel");
    EXPECT_EQ(items(*level), (QStringList{"40 Bit", "128 Bit"}));
    EXPECT_EQ(level->currentText(), "128 Bit");
    EXPECT_EQ(owner->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(owner->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkCopy")->isEnabled());

    // The group follows the switch; at 40 bits the last four permissions grey.
    encrypt->click();
    EXPECT_TRUE(owner->isEnabled());
    const char *const always[] = {"chkCopy", "chkModify", "chkPrint", "chkFormFill"};
    const char *const only128[] = {"chkAnnotation", "chkAccessibility", "chkDocumentAssembly",
                                   "chkHighResolutionPrint"};
    for (const char *name : only128)
        EXPECT_TRUE(control<QCheckBox>(dialog, name)->isEnabled()) << name;
    level->setCurrentText("40 Bit");
    for (const char *name : always)
        EXPECT_TRUE(control<QCheckBox>(dialog, name)->isEnabled()) << name;
    for (const char *name : only128)
        EXPECT_FALSE(control<QCheckBox>(dialog, name)->isEnabled()) << name;

    // A confirmation that differs is reported on leaving it, and on OK when
    // it was never left; nothing is written.
    owner->setText("secret");
    confirmOwner->setText("Secret");
    dialogs.Expect(TDialogKind::Error, "The Owner Passwords do not match.\r\nPlease re-enter.");
    leave(*confirmOwner);
    EXPECT_TRUE(dialogs.AllShown());
    confirmOwner->setText("secret");
    leave(*confirmOwner);
    user->setText("reader");
    dialogs.Expect(TDialogKind::Error, "The User Passwords do not match.\r\nPlease re-enter.");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(engine.Encryption().Enabled());

    // At 40 bits OK writes the first four permissions and keeps the others.
    confirmUser->setText("reader");
    control<QCheckBox>(dialog, "chkCopy")->setChecked(false);
    control<QCheckBox>(dialog, "chkAnnotation")->setChecked(false);
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TdePDFEncryptionSettings &written = engine.Encryption();
    EXPECT_TRUE(written.Enabled());
    EXPECT_EQ(written.Level(), TdePDFEncryptionLevel::el40bit);
    EXPECT_EQ(written.OwnerPassword(), "secret");
    EXPECT_EQ(written.UserPassword(), "reader");
    TdeUserPermissions expected = AllUserPermissions();
    expected.Exclude(TdeUserPermissionsType::AllowCopy);
    EXPECT_EQ(written.UserPermissions(), expected);
}

TEST(PDFEngineDlg, PasswordsAreNotComparedWithEncryptionOff)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    control<QLineEdit>(dialog, "edOwnerPassword")->setText("one");
    control<QLineEdit>(dialog, "edConfirmOwnerPassword")->setText("two");
    leave(*control<QLineEdit>(dialog, "edConfirmOwnerPassword"));
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(engine.Encryption().Enabled());
    EXPECT_EQ(engine.Encryption().OwnerPassword(), "one");
}

TEST(PDFEngineDlg, TransitionAndCompressionRulesAndABadDurationWritesNothing)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    setUp(engine);
    const auto original = settings(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    QLineEdit *duration = control<QLineEdit>(dialog, "edPageTransitionDuration");
    EXPECT_TRUE(duration->isEnabled());
    control<QComboBox>(dialog, "cbPageTransitionEffect")->setCurrentText("None");
    EXPECT_FALSE(duration->isEnabled());
    control<QComboBox>(dialog, "cbPageTransitionEffect")->setCurrentText("Box Inward");
    EXPECT_TRUE(duration->isEnabled());

    control<QAbstractButton>(dialog, "chkCompressDocument")->click();
    EXPECT_FALSE(control<QComboBox>(dialog, "cbCompressionLevel")->isEnabled());

    duration->setText("soon");
    dialogs.Expect(TDialogKind::Error, "'soon' is not a valid integer value");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings(engine), original);

    duration->setText("3");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(engine.Compression().Enabled);
    EXPECT_EQ(engine.ViewerPreferences().PresentationMode.TransitionEffect, TdeTransitionEffect::teBoxInward);
    EXPECT_EQ(engine.ViewerPreferences().PresentationMode.Duration, 3);
}

TEST(PDFEngineDlg, TheEngineShowsTheInstalledDialogAndCancelGivesTheDocumentUp)
{
    TScriptedDialogs dialogs;
    InstallPDFEngineSetupDialog();
    TdeCustomPDFEngine engine;
    engine.Preferences().SetShowSetupDialog(true);
    QTimer::singleShot(0, [] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == "TdePDFEngineDlg" && window->isVisible())
                window->findChild<QAbstractButton *>("btnCancel")->click();
    });
    engine.BeginDoc();
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esCancelled);
    TdeCustomPDFEngine::InstallSetupDialog(nullptr);
}

} // namespace
} // namespace tessaran
