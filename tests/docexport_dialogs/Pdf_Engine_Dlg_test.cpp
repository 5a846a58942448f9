#include "docexport/dialogs/Pdf_Engine_Dlg.h"

#include "docexport/Pdf_Engine.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
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
}

auto settings(TdeCustomPDFEngine &engine)
{
    const TdeViewerPreferences &viewer = engine.ViewerPreferences();
    return std::tuple(engine.Preferences().EmbedTrueTypeFonts, engine.Compression().Enabled, engine.Compression().Level,
                      engine.FontEncoding(), viewer.PageLayout, viewer.PageMode, viewer.HideToolBar,
                      viewer.HideMenuBar, viewer.PresentationMode.Duration, viewer.PresentationMode.TransitionEffect,
                      engine.BackgroundColor(), engine.BackgroundImageDisplayType(),
                      engine.ImageSettings().OutputImageFormat(), engine.ImageSettings().JPEGQuality);
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

auto encryption(const TdeCustomPDFEngine &engine)
{
    TdeCustomPDFEngine &e = const_cast<TdeCustomPDFEngine &>(engine);
    const TdePDFEncryptionSettings &settings = e.Encryption();
    return std::tuple(settings.Enabled(), settings.OwnerPassword(), settings.UserPassword(), settings.Level(),
                      settings.UserPermissions().Value());
}

TEST(PDFEngineDlg, EncryptionShownAndGivenBackAndItsRules)
{
    using P = TdeUserPermissionsType;
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    engine.Encryption().SetEnabled(true);
    engine.Encryption().SetOwnerPassword("Owner1");
    engine.Encryption().SetUserPassword("user");
    engine.Encryption().SetLevel(TdePDFEncryptionLevel::el40bit);
    engine.Encryption().SetUserPermissions({P::AllowPrint, P::AllowAnnotation, P::AllowHighResPrint});
    const auto original = encryption(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    EXPECT_EQ(control<QLineEdit>(dialog, "edConfirmOwnerPassword")->text(), "Owner1");
    EXPECT_EQ(control<QLineEdit>(dialog, "edOwnerPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(items(*control<QComboBox>(dialog, "cbEncryptionLevel")), (QStringList{"40 Bit", "128 Bit"}));

    // 40 bits greys the four later permissions; 128 bits frees them.
    struct Rule {
        const char *box;
        bool enabled40, enabled128;
    };
    const Rule rules[] = {{"chkCopy", true, true},
                          {"chkFormFill", true, true},
                          {"chkAnnotation", false, true},
                          {"chkHighResolutionPrint", false, true}};
    QComboBox *level = control<QComboBox>(dialog, "cbEncryptionLevel");
    for (const Rule &r : rules)
        EXPECT_EQ(control<QCheckBox>(dialog, r.box)->isEnabled(), r.enabled40) << r.box;
    level->setCurrentText("128 Bit");
    for (const Rule &r : rules)
        EXPECT_EQ(control<QCheckBox>(dialog, r.box)->isEnabled(), r.enabled128) << r.box;
    level->setCurrentText("40 Bit");
    control<QAbstractButton>(dialog, "chkEnableEncryption")->click();
    EXPECT_FALSE(control<QLineEdit>(dialog, "edOwnerPassword")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkCopy")->isEnabled());
    control<QAbstractButton>(dialog, "chkEnableEncryption")->click();
    EXPECT_TRUE(control<QLineEdit>(dialog, "edOwnerPassword")->isEnabled());

    // At 40 bits OK keeps the four later permissions whatever their boxes say.
    control<QCheckBox>(dialog, "chkAnnotation")->setChecked(false);
    control<QCheckBox>(dialog, "chkCopy")->setChecked(true);
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto permissions = engine.Encryption().UserPermissions();
    EXPECT_TRUE(permissions.Contains(P::AllowAnnotation));
    EXPECT_TRUE(permissions.Contains(P::AllowCopy));
    EXPECT_TRUE(permissions.Contains(P::AllowHighResPrint));
    EXPECT_FALSE(permissions.Contains(P::AllowModify));

    // Show then OK again changes nothing.
    engine.Encryption().SetUserPermissions({P::AllowPrint, P::AllowAnnotation, P::AllowHighResPrint});
    TdePDFEngineDlg again;
    again.SetEngine(&engine);
    again.show();
    control<QAbstractButton>(again, "btnOK")->click();
    EXPECT_EQ(encryption(engine), original);
}

TEST(PDFEngineDlg, MismatchedPasswordsOnLeavingAndOnOk)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    engine.Encryption().SetEnabled(true);
    engine.Encryption().SetOwnerPassword("Owner1");
    const auto original = encryption(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    QLineEdit *confirmOwner = control<QLineEdit>(dialog, "edConfirmOwnerPassword");
    // A case-sensitive comparison when the field is left.
    confirmOwner->setText("owner1");
    dialogs.Expect(TDialogKind::Error, "The Owner Passwords do not match.\r\nPlease re-enter.");
    emit confirmOwner->editingFinished();
    confirmOwner->setText("Owner1");
    emit confirmOwner->editingFinished();

    // OK compares too, and writes nothing while they differ.
    control<QLineEdit>(dialog, "edUserPassword")->setText("secret");
    dialogs.Expect(TDialogKind::Error, "The User Passwords do not match.\r\nPlease re-enter.");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(encryption(engine), original);

    // With encryption off nothing is compared.
    control<QAbstractButton>(dialog, "chkEnableEncryption")->click();
    emit confirmOwner->editingFinished();
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(engine.Encryption().Enabled());
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
