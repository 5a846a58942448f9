#include "docexport/dialogs/Pdf_Engine_Dlg.h"

#include "docexport/Pdf_Engine.h"
#include "docexport/dialogs/Enable_Child_Controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QTest>
#include <QValidator>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
    EXPECT_EQ(control<QListWidget>(dialog, "lbDocumentDlg")->count(), 6);
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

void setUpSignature(TdeCustomPDFEngine &engine)
{
    TdeDigitalSignature &signature = engine.DigitalSignature();
    signature.Enabled = true;
    signature.FieldProperties.Visible = false;
    signature.FieldProperties.FieldName = "Checked_by";
    signature.FieldProperties.PageNumber = 12;
    signature.FieldProperties.FillColor = 0x0000FFFF;
    signature.FieldProperties.FieldBounds = {0.5, 1.25, 3.75, 2};
    TdeSigFieldAppearenceOptions options;
    options.Include(TdeSigFieldAppearenceOption::sfaoShowDate);
    options.Include(TdeSigFieldAppearenceOption::sfaoShowLabels);
    signature.FieldProperties.FieldAppearenceOptions = options;
    TdeSignature &properties = signature.SignatureProperties;
    properties.CertFileName = "/nowhere/signer.pfx";
    properties.CertPassword = "pass word";
    properties.Author = "A. Engineer, Esq.";
    properties.ContactInfo = "a@example.com";
    properties.Reason = "Checked and approved (rev 2)";
    properties.Location = "Z\xC3\xBCrich Office";
    properties.DateTime = 1600000000; // a past day, not at midnight
}

auto signatureSettings(TdeCustomPDFEngine &engine)
{
    const TdeDigitalSignature &signature = engine.DigitalSignature();
    const TdeFieldProperties &field = signature.FieldProperties;
    const TdeSignature &properties = signature.SignatureProperties;
    return std::tuple(signature.Enabled, field.Visible, field.FieldName, field.PageNumber, field.FillColor,
                      field.FieldBounds, field.FieldAppearenceOptions, properties.CertFileName,
                      properties.CertPassword, properties.Author, properties.ContactInfo, properties.Reason,
                      properties.Location, properties.DateTime);
}

TEST(PDFEngineDlg, ShowThenOkGivesTheSignatureSettingsBack)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    setUpSignature(engine);
    const auto original = signatureSettings(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    QListWidget *list = control<QListWidget>(dialog, "lbDocumentDlg");
    EXPECT_EQ(list->item(5)->text(), "Digital Signature");
    list->setCurrentRow(5);
    EXPECT_EQ(control<QGroupBox>(dialog, "gbSigFieldBounds")->title(), "Field Bounds (Inches):");
    EXPECT_EQ(control<QLineEdit>(dialog, "edSigFieldPageNo")->text(), "12");
    EXPECT_EQ(control<QLineEdit>(dialog, "edSigFieldTop")->text(), "1.25");
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkSigShowName")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkSigShowLabels")->isChecked());
    EXPECT_EQ(control<QCheckBox>(dialog, "chkSigShowDate")->text(), "Show Date");
    EXPECT_EQ(control<QCheckBox>(dialog, "chkSigShowLabels")->text(), "Show Labels");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(signatureSettings(engine), original);

    // "Current System Date" signs with the time of OK; the fill colour
    // swatch asks for a colour as the background swatch does.
    TdePDFEngineDlg again;
    again.SetEngine(&engine);
    again.show();
    control<QAbstractButton>(again, "rgDate0")->click();
    control<QCheckBox>(again, "chkSigFieldVisible")->click();
    dialogs.Colours.push_back(QColor(255, 0, 0));
    QTest::mouseClick(control<TColourSwatch>(again, "shpSigFillColor"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(dialogs.ColourDialogsInitial.back(), QColor(255, 255, 0));
    const std::time_t before = std::time(nullptr);
    control<QAbstractButton>(again, "btnOK")->click();
    EXPECT_GE(engine.DigitalSignature().SignatureProperties.DateTime, before);
    EXPECT_EQ(engine.DigitalSignature().FieldProperties.FillColor, TColor(0x0000FF));
    EXPECT_TRUE(engine.DigitalSignature().FieldProperties.Visible);
}

TEST(PDFEngineDlg, BoundsCaptionFollowsTheEngineUnit)
{
    TScriptedDialogs dialogs;
    const std::pair<TdeUnitType, QString> cases[] = {{TdeUnitType::muPixels, "Field Bounds (Pixels):"},
                                                     {TdeUnitType::muInches, "Field Bounds (Inches):"},
                                                     {TdeUnitType::muMM, "Field Bounds (mm):"},
                                                     {TdeUnitType::muPoints, "Field Bounds (Points):"},
                                                     {TdeUnitType::muTwips, "Field Bounds (Twips):"}};
    for (const auto &[unit, caption] : cases) {
        TdeCustomPDFEngine engine;
        engine.SetMeasurementUnit(unit);
        TdePDFEngineDlg dialog;
        dialog.SetEngine(&engine);
        dialog.show();
        EXPECT_EQ(control<QGroupBox>(dialog, "gbSigFieldBounds")->title(), caption);
    }
}

TEST(PDFEngineDlg, SigningRuleAndDateChoice)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine; // signing off, field visible
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    auto *sign = control<QCheckBox>(dialog, "chkDigitallySign");
    auto *visible = control<QCheckBox>(dialog, "chkSigFieldVisible");
    const char *const position[] = {"edSigFieldPageNo", "edSigFieldLeft", "edSigFieldBottom"};
    const char *const others[] = {"edSigFieldName", "edSigAuthor", "edSigReason", "edSigCertPassword"};
    EXPECT_TRUE(sign->isEnabled());
    EXPECT_FALSE(visible->isEnabled());
    for (const char *name : position)
        EXPECT_FALSE(control<QLineEdit>(dialog, name)->isEnabled()) << name;
    for (const char *name : others)
        EXPECT_FALSE(control<QLineEdit>(dialog, name)->isEnabled()) << name;

    sign->click();
    EXPECT_TRUE(visible->isEnabled());
    for (const char *name : position)
        EXPECT_TRUE(control<QLineEdit>(dialog, name)->isEnabled()) << name;
    // The visibility switch alone governs the position group.
    visible->click();
    for (const char *name : position)
        EXPECT_FALSE(control<QLineEdit>(dialog, name)->isEnabled()) << name;
    for (const char *name : others)
        EXPECT_TRUE(control<QLineEdit>(dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(control<QWidget>(dialog, "shpSigFillColor")->isEnabled());
    // Switching signing off and on again keeps the position group off.
    sign->click();
    sign->click();
    EXPECT_FALSE(control<QLineEdit>(dialog, "edSigFieldPageNo")->isEnabled());

    auto *picker = control<QDateTimeEdit>(dialog, "datetimeSigDateTime");
    EXPECT_FALSE(control<QAbstractButton>(dialog, "rgDate0")->isChecked());
    EXPECT_FALSE(control<QAbstractButton>(dialog, "rgDate1")->isChecked());
    control<QAbstractButton>(dialog, "rgDate1")->click();
    EXPECT_TRUE(picker->isEnabled());
    control<QAbstractButton>(dialog, "rgDate0")->click();
    EXPECT_FALSE(picker->isEnabled());

    // A date after today is refused and the picker goes back to now.
    dialogs.Expect(TDialogKind::Error, "Date should not exceed today");
    picker->setDate(QDate::currentDate().addDays(3));
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_EQ(picker->date(), QDate::currentDate());
}

TEST(PDFEngineDlg, SignatureKeyFilters)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    struct Case {
        const char *field;
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {"edSigFieldPageNo", "10", true}, // 0 after the first digit
        {"edSigFieldPageNo", "0", false},
        {"edSigFieldPageNo", "1a", false},
        {"edSigFieldLeft", "2.75", true},
        {"edSigFieldBottom", "2,75", false},
        {"edSigFieldName", "Checked_by-1.0", true},
        {"edSigFieldName", "Checked by", false},
        // Ordinary text, blanks included: the signature escapes it.
        {"edSigAuthor", "A. Engineer, Esq.", true},
        {"edSigReason", "Checked and approved (rev 2)", true},
        {"edSigLocation", "Main Office, Floor 3", true},
        {"edSigContactInfo", "+1 555 0100", true},
    };
    for (const Case &c : cases) {
        QLineEdit *field = control<QLineEdit>(dialog, c.field);
        QString text = c.text;
        int position = text.size();
        const bool accepted =
            !field->validator() || field->validator()->validate(text, position) != QValidator::Invalid;
        EXPECT_EQ(accepted, c.accepted) << c.field << " " << c.text.toStdString();
    }
}

TEST(PDFEngineDlg, LeftAndRightBoundsAreLimitedByThePageWidthInTheEngineUnit)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine inches;
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&inches);
    dialog.show();
    control<QCheckBox>(dialog, "chkDigitallySign")->click();
    const double width = inches.Page().Width();
    ASSERT_GT(width, 8.0);
    ASSERT_LT(width, 9.0);
    auto *left = control<QLineEdit>(dialog, "edSigFieldLeft");
    auto *top = control<QLineEdit>(dialog, "edSigFieldTop");
    left->setText("9");
    dialogs.Expect(TDialogKind::Error, QStringLiteral("Value should be less than %1").arg(width));
    leave(*left);
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_EQ(left->text(), "");
    top->setText("9");
    leave(*top);
    EXPECT_EQ(top->text(), "9");

    // In millimetres 9 is well inside the page, and 150 too.
    TdeCustomPDFEngine mm;
    mm.SetMeasurementUnit(TdeUnitType::muMM);
    TdePDFEngineDlg metric;
    metric.SetEngine(&mm);
    metric.show();
    control<QCheckBox>(metric, "chkDigitallySign")->click();
    auto *right = control<QLineEdit>(metric, "edSigFieldRight");
    for (const char *value : {"9", "150"}) {
        right->setText(value);
        leave(*right);
        EXPECT_EQ(right->text(), value);
    }
    EXPECT_EQ(dialogs.Boxes.size(), 1u);
}

TEST(PDFEngineDlg, ABadSignatureNumberOrCertificatePasswordWritesNothing)
{
    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    setUp(engine);
    setUpSignature(engine);
    const auto original = settings(engine);
    const auto originalSignature = signatureSettings(engine);
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    control<QAbstractButton>(dialog, "chkCompressDocument")->click();
    control<QAbstractButton>(dialog, "chkDigitallySign")->click();
    control<QAbstractButton>(dialog, "chkDigitallySign")->click();

    auto *page = control<QLineEdit>(dialog, "edSigFieldPageNo");
    page->setText("");
    dialogs.Expect(TDialogKind::Error, "'' is not a valid integer value");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    page->setText("3");

    auto *bottom = control<QLineEdit>(dialog, "edSigFieldBottom");
    bottom->setText("1..2");
    dialogs.Expect(TDialogKind::Error, "'1..2' is not a valid floating point value");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialogs.AllShown());
    bottom->setText("1.5");

    // The certificate confirmation is compared on OK too.
    control<QLineEdit>(dialog, "edSigConfirmCertPassword")->setText("pass Word");
    dialogs.Expect(TDialogKind::Error, "The Certificate Passwords do not match.\r\nPlease re-enter.");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings(engine), original);
    EXPECT_EQ(signatureSettings(engine), originalSignature);
}

int runCommand(const std::string &command, std::string *output = nullptr)
{
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[256];
    std::string text;
    while (std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    if (output)
        *output = text;
    return pclose(pipe);
}

TEST(PDFEngineDlg, AuthorTakesTheSubjectNameOfTheChosenCertificate)
{
    if (runCommand("command -v openssl") != 0)
        GTEST_SKIP() << "openssl is not installed";
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("tessaran_pdfdlg_cert" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string key = (folder / "key.pem").string(), cert = (folder / "cert.pem").string(),
                      pfx = (folder / "signer.PFX").string();
    std::string output;
    ASSERT_EQ(runCommand("openssl req -x509 -newkey rsa:2048 -nodes -keyout '" + key + "' -out '" + cert +
                             "' -days 2 -subj '/CN=Dialog Test Signer/O=Tessaran Tests'",
                         &output),
              0)
        << output;
    ASSERT_EQ(runCommand("openssl pkcs12 -export -inkey '" + key + "' -in '" + cert + "' -out '" + pfx +
                             "' -passout 'pass:open sesame'",
                         &output),
              0)
        << output;

    TScriptedDialogs dialogs;
    TdeCustomPDFEngine engine;
    TdePDFEngineDlg dialog;
    dialog.SetEngine(&engine);
    dialog.show();
    control<QCheckBox>(dialog, "chkDigitallySign")->click();
    dialogs.FileNames.push_back(QString::fromStdString(pfx));
    control<QAbstractButton>(dialog, "btnSelectCertFile")->click();
    ASSERT_EQ(dialogs.FileDialogs.size(), 1u);
    EXPECT_TRUE(dialogs.FileDialogs[0].Filter.contains("*.PFX"));
    EXPECT_EQ(control<QLineEdit>(dialog, "edSigCertFileName")->text(), QString::fromStdString(pfx));
    EXPECT_TRUE(control<QLineEdit>(dialog, "edSigCertFileName")->isReadOnly());

    auto *password = control<QLineEdit>(dialog, "edSigCertPassword");
    auto *confirmation = control<QLineEdit>(dialog, "edSigConfirmCertPassword");
    auto *author = control<QLineEdit>(dialog, "edSigAuthor");
    author->setText("Someone");
    // A differing confirmation is reported and reads nothing.
    password->setText("open sesame");
    confirmation->setText("open Sesame");
    dialogs.Expect(TDialogKind::Error, "The Certificate Passwords do not match.\r\nPlease re-enter.");
    leave(*confirmation);
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_EQ(author->text(), "Someone");
    // A wrong password that is confirmed leaves Author as it is.
    password->setText("wrong");
    confirmation->setText("wrong");
    leave(*confirmation);
    EXPECT_EQ(author->text(), "Someone");
    password->setText("open sesame");
    confirmation->setText("open sesame");
    leave(*confirmation);
    EXPECT_EQ(author->text(), "Dialog Test Signer");
    control<QAbstractButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(engine.DigitalSignature().SignatureProperties.CertFileName, pfx);
    EXPECT_EQ(engine.DigitalSignature().SignatureProperties.CertPassword, "open sesame");

    // Shown again with signing on and no Author, the subject name fills it.
    engine.DigitalSignature().SignatureProperties.Author.clear();
    TdePDFEngineDlg again;
    again.SetEngine(&engine);
    again.show();
    EXPECT_EQ(control<QLineEdit>(again, "edSigAuthor")->text(), "Dialog Test Signer");
    fs::remove_all(folder);
}

} // namespace
} // namespace tessaran
