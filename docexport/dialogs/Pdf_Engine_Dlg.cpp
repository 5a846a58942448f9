#include "docexport/dialogs/Pdf_Engine_Dlg.h"

#include "docexport/Pdf_Engine.h"
#include "docexport/dialogs/Enable_Child_Controls.h"
#include "platform/qt/Dialog_Service.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaran {

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void fill(QComboBox &combo, std::initializer_list<const char *> texts)
{
    combo.clear();
    int value = 0;
    for (const char *text : texts)
        combo.addItem(text, value++);
}

// Selects the item whose object is the value.
void select(QComboBox &combo, int value) { combo.setCurrentIndex(combo.findData(value)); }

int selected(const QComboBox &combo) { return combo.currentData().toInt(); }

QColor toQColor(TColor colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
TColor fromQColor(const QColor &colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

void setFieldEnabled(QWidget &field, bool enabled)
{
    field.setEnabled(enabled);
    QPalette palette = field.palette();
    const QColor colour = enabled ? WindowColour() : InactiveBorderColour();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    field.setPalette(palette);
}

} // namespace

TdePDFEngineDlg::TdePDFEngineDlg(QWidget *parent) : TdePlainSheetDlg(parent, TNoCreate{})
{
    setObjectName("TdePDFEngineDlg");

    rgpEmbedTrueTypeFonts = named(new QGroupBox, "rgpEmbedTrueTypeFonts");
    auto *embed = new QHBoxLayout(rgpEmbedTrueTypeFonts);
    EmbedButtons = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *button = new QRadioButton;
        button->setObjectName(QString("rgpEmbedTrueTypeFonts%1").arg(i));
        EmbedButtons->addButton(button, i);
        embed->addWidget(button);
    }
    PreferencesLayout->insertWidget(1, rgpEmbedTrueTypeFonts);

    tsPDFAdvanced = AddPage("tsPDFAdvanced", {});
    auto *advanced = new QVBoxLayout(tsPDFAdvanced);
    chkCompressDocument = named(new QCheckBox, "chkCompressDocument");
    chkCompressDocument->setChecked(true);
    advanced->addWidget(chkCompressDocument);
    gbCompression = named(new QGroupBox, "gbCompression");
    auto *compression = new QFormLayout(gbCompression);
    lblCompressionLevel = named(new QLabel, "lblCompressionLevel");
    cbCompressionLevel = named(new QComboBox, "cbCompressionLevel");
    compression->addRow(lblCompressionLevel, cbCompressionLevel);
    advanced->addWidget(gbCompression);
    chkEnableEncryption = named(new QCheckBox, "chkEnableEncryption");
    advanced->addWidget(chkEnableEncryption);
    gbEncryption = named(new QGroupBox, "gbEncryption");
    auto *encryption = new QGridLayout(gbEncryption);
    auto password = [](const char *name) {
        auto *edit = named(new QLineEdit, name);
        edit->setEchoMode(QLineEdit::Password);
        return edit;
    };
    lblOwnerPassword = named(new QLabel, "lblOwnerPassword");
    lblConfirmOwnerPassword = named(new QLabel, "lblConfirmOwnerPassword");
    lblUserPassword = named(new QLabel, "lblUserPassword");
    lblConfirmUserPassword = named(new QLabel, "lblConfirmUserPassword");
    edOwnerPassword = password("edOwnerPassword");
    edConfirmOwnerPassword = password("edConfirmOwnerPassword");
    edUserPassword = password("edUserPassword");
    edConfirmUserPassword = password("edConfirmUserPassword");
    encryption->addWidget(lblOwnerPassword, 0, 0);
    encryption->addWidget(edOwnerPassword, 0, 1);
    encryption->addWidget(lblConfirmOwnerPassword, 0, 2);
    encryption->addWidget(edConfirmOwnerPassword, 0, 3);
    encryption->addWidget(lblUserPassword, 1, 0);
    encryption->addWidget(edUserPassword, 1, 1);
    encryption->addWidget(lblConfirmUserPassword, 1, 2);
    encryption->addWidget(edConfirmUserPassword, 1, 3);
    lblEncryptionLevel = named(new QLabel, "lblEncryptionLevel");
    cbEncryptionLevel = named(new QComboBox, "cbEncryptionLevel");
    encryption->addWidget(lblEncryptionLevel, 2, 0);
    encryption->addWidget(cbEncryptionLevel, 2, 1);
    gbUserPermissions = named(new QGroupBox, "gbUserPermissions");
    auto *permissions = new QGridLayout(gbUserPermissions);
    int cell = 0;
    for (auto [box, name] : {std::pair{&chkCopy, "chkCopy"}, {&chkModify, "chkModify"}, {&chkPrint, "chkPrint"},
                             {&chkFormFill, "chkFormFill"}, {&chkAnnotation, "chkAnnotation"},
                             {&chkAccessibility, "chkAccessibility"}, {&chkDocumentAssembly, "chkDocumentAssembly"},
                             {&chkHighResolutionPrint, "chkHighResolutionPrint"}}) {
        *box = named(new QCheckBox, name);
        permissions->addWidget(*box, cell / 2, cell % 2);
        ++cell;
    }
    encryption->addWidget(gbUserPermissions, 3, 0, 1, 4);
    advanced->addWidget(gbEncryption);
    auto *encoding = new QFormLayout;
    lblEncoding = named(new QLabel, "lblEncoding");
    cbEncoding = named(new QComboBox, "cbEncoding");
    encoding->addRow(lblEncoding, cbEncoding);
    advanced->addLayout(encoding);
    advanced->addStretch(1);

    tsViewerPreferences = AddPage("tsViewerPreferences", {});
    auto *viewer = new QVBoxLayout(tsViewerPreferences);
    auto *pages = new QFormLayout;
    lblPageLayout = named(new QLabel, "lblPageLayout");
    cbPageLayout = named(new QComboBox, "cbPageLayout");
    lblPageMode = named(new QLabel, "lblPageMode");
    cbPageMode = named(new QComboBox, "cbPageMode");
    pages->addRow(lblPageLayout, cbPageLayout);
    pages->addRow(lblPageMode, cbPageMode);
    viewer->addLayout(pages);
    gbHideUIElements = named(new QGroupBox, "gbHideUIElements");
    auto *hide = new QVBoxLayout(gbHideUIElements);
    chkMenuBar = named(new QCheckBox, "chkMenuBar");
    chkToolBar = named(new QCheckBox, "chkToolBar");
    chkNavigationControls = named(new QCheckBox, "chkNavigationControls");
    for (QCheckBox *box : {chkMenuBar, chkToolBar, chkNavigationControls})
        hide->addWidget(box);
    viewer->addWidget(gbHideUIElements);
    gbPresentationMode = named(new QGroupBox, "gbPresentationMode");
    auto *presentation = new QGridLayout(gbPresentationMode);
    lblPageTransitionEffect = named(new QLabel, "lblPageTransitionEffect");
    cbPageTransitionEffect = named(new QComboBox, "cbPageTransitionEffect");
    lblPageTransitionDuration = named(new QLabel, "lblPageTransitionDuration");
    edPageTransitionDuration = named(new QLineEdit, "edPageTransitionDuration");
    lblSecs = named(new QLabel, "lblSecs");
    presentation->addWidget(lblPageTransitionEffect, 0, 0);
    presentation->addWidget(cbPageTransitionEffect, 0, 1, 1, 2);
    presentation->addWidget(lblPageTransitionDuration, 1, 0);
    presentation->addWidget(edPageTransitionDuration, 1, 1);
    presentation->addWidget(lblSecs, 1, 2);
    viewer->addWidget(gbPresentationMode);
    viewer->addStretch(1);

    connect(chkCompressDocument, &QCheckBox::toggled, this, [this] { chkCompressDocumentClick(); });
    connect(chkEnableEncryption, &QCheckBox::toggled, this, [this] { chkEnableEncryptionClick(); });
    connect(cbEncryptionLevel, &QComboBox::currentIndexChanged, this, [this] { cbEncryptionLevelChange(); });
    for (QLineEdit *confirmation : {edConfirmOwnerPassword, edConfirmUserPassword})
        connect(confirmation, &QLineEdit::editingFinished, this,
                [this, confirmation] { edConfirmPasswordExit(confirmation); });
    connect(cbPageTransitionEffect, &QComboBox::currentIndexChanged, this,
            [this] { cbPageTransitionEffectChange(); });

    FormCreate();
    resize(492, height());
}

std::vector<std::pair<QCheckBox *, TdeUserPermissionsType>> TdePDFEngineDlg::PermissionBoxes() const
{
    using P = TdeUserPermissionsType;
    // The four every level knows first.
    return {{chkCopy, P::AllowCopy},
            {chkModify, P::AllowModify},
            {chkPrint, P::AllowPrint},
            {chkFormFill, P::AllowFormFill},
            {chkAnnotation, P::AllowAnnotation},
            {chkAccessibility, P::AllowAccessibility},
            {chkDocumentAssembly, P::AllowDocAssembly},
            {chkHighResolutionPrint, P::AllowHighResPrint}};
}

TdeCustomPDFEngine &TdePDFEngineDlg::PDFEngine() const { return dynamic_cast<TdeCustomPDFEngine &>(*Engine); }

void TdePDFEngineDlg::LoadCaptions()
{
    TdePlainSheetDlg::LoadCaptions();
    setWindowTitle("PDF Setup");
    rgpEmbedTrueTypeFonts->setTitle("Embed Used TrueType Fonts");
    const char *const embedding[] = {"None", "Full", "Subset"};
    for (int i = 0; i < 3; ++i)
        EmbedButtons->button(i)->setText(embedding[i]);
    chkCompressDocument->setText("Compress Document");
    lblCompressionLevel->setText("Compression Level:");
    lblEncoding->setText("Font Encoding:");
    chkEnableEncryption->setText("Encrypt Document");
    lblOwnerPassword->setText("Owner Password:");
    lblConfirmOwnerPassword->setText("Confirm Owner Password:");
    lblUserPassword->setText("User Password:");
    lblConfirmUserPassword->setText("Confirm User Password:");
    lblEncryptionLevel->setText("Level:");
    gbUserPermissions->setTitle("User Permissions");
    chkCopy->setText("Copy");
    chkModify->setText("Modify");
    chkPrint->setText("Print");
    chkFormFill->setText("Form Fill");
    chkAnnotation->setText("Annotation");
    chkAccessibility->setText("Accessibility");
    chkDocumentAssembly->setText("Document Assembly");
    chkHighResolutionPrint->setText("High Resolution Print");
    lblPageLayout->setText("Page Layout:");
    lblPageMode->setText("Page Mode:");
    gbHideUIElements->setTitle("Hide UI Elements");
    chkMenuBar->setText("Menu Bar");
    chkToolBar->setText("Tool Bar");
    chkNavigationControls->setText("Navigation Controls");
    gbPresentationMode->setTitle("Presentation Mode");
    lblPageTransitionEffect->setText("Page Transition Effect:");
    lblPageTransitionDuration->setText("Page Transition Duration:");
    lblSecs->setText("Secs");
    lbDocumentDlg->addItems({"Advanced", "Viewer Preferences"});
}

void TdePDFEngineDlg::FillLists()
{
    TdePlainSheetDlg::FillLists();
    // Only what the PDF output writes: no GIF, PNG or metafile images.
    for (int format : {2, 3, 4})
        cbOutputImageFormat->removeItem(cbOutputImageFormat->findData(format));
    fill(*cbCompressionLevel, {"Fastest", "Normal", "Maximum"});
    fill(*cbEncryptionLevel, {"40 Bit", "128 Bit"});
    fill(*cbEncoding, {"WinAnsiEncoding", "MacRomanEncoding", "MacExpertEncoding", "StandardEncoding",
                       "PDFDocEncoding"});
    fill(*cbPageLayout, {"Single Page", "One Column", "Two Column Left", "Two Column Right"});
    fill(*cbPageMode, {"Use None", "Use Outlines", "Use Thumbs", "Full Screen"});
    fill(*cbPageTransitionEffect,
         {"None", "Split Horizontal Inward", "Split Horizontal Outward", "Split Vertical Inward",
          "Split Vertical Outward", "Blinds Horizontal", "Blinds Vertical", "Box Inward", "Box Outward",
          "Wipe Left To Right", "Wipe Bottom To Top", "Wipe Right To Left", "Wipe Top To Bottom", "Dissolve",
          "Glitter Left To Right", "Glitter Top To Bottom", "Glitter Top-Left To Bottom-Right"});
}

void TdePDFEngineDlg::chkCompressDocumentClick()
{
    EnableChildControls(*gbCompression, chkCompressDocument->isChecked());
}

void TdePDFEngineDlg::chkEnableEncryptionClick()
{
    EnableChildControls(*gbEncryption, chkEnableEncryption->isChecked());
    if (chkEnableEncryption->isChecked())
        cbEncryptionLevelChange();
}

void TdePDFEngineDlg::cbEncryptionLevelChange()
{
    // The 40-bit handler knows only the first four permissions.
    const bool strong = selected(*cbEncryptionLevel) != static_cast<int>(TdePDFEncryptionLevel::el40bit);
    for (QCheckBox *box : {chkAnnotation, chkAccessibility, chkDocumentAssembly, chkHighResolutionPrint})
        box->setEnabled(strong && chkEnableEncryption->isChecked());
}

namespace {

QString PasswordMismatch(const char *which)
{
    return QString("The %1 Passwords do not match.\r\nPlease re-enter.").arg(which);
}

} // namespace

void TdePDFEngineDlg::edConfirmPasswordExit(QLineEdit *confirmation)
{
    if (!chkEnableEncryption->isChecked())
        return;
    const bool owner = confirmation == edConfirmOwnerPassword;
    QLineEdit *password = owner ? edOwnerPassword : edUserPassword;
    if (password->text() == confirmation->text())
        return;
    Dialogs().ShowMessage(TDialogKind::Error, PasswordMismatch(owner ? "Owner" : "User"), this);
    password->setFocus();
}

void TdePDFEngineDlg::cbPageTransitionEffectChange()
{
    const bool timed = cbPageTransitionEffect->currentText() != "None";
    lblPageTransitionDuration->setEnabled(timed);
    setFieldEnabled(*edPageTransitionDuration, timed);
    lblSecs->setEnabled(timed);
}

void TdePDFEngineDlg::FormShow()
{
    TdeCustomPDFEngine &engine = PDFEngine();
    TdeImageSettings &image = engine.ImageSettings();
    select(*cbOutputImageFormat, static_cast<int>(image.OutputImageFormat()));
    edJPEGQuality->setText(QString::number(image.JPEGQuality));
    edJPEGQuality->setEnabled(image.OutputImageFormat() == TdeOutputImageFormat::ifJPEG);
    cbOutputImageFormatChange();

    ShowBackgroundPicture(engine.BackgroundImage());
    select(*cbBackgroundDisplayType, static_cast<int>(engine.BackgroundImageDisplayType()));
    shpBackgroundColor->SetColour(toQColor(engine.BackgroundColor()));

    EmbedButtons->button(static_cast<int>(engine.Preferences().EmbedTrueTypeFonts))->setChecked(true);
    chkCompressDocument->setChecked(engine.Compression().Enabled);
    select(*cbCompressionLevel, static_cast<int>(engine.Compression().Level));
    select(*cbEncoding, static_cast<int>(engine.FontEncoding()));
    const TdeViewerPreferences &viewer = engine.ViewerPreferences();
    select(*cbPageLayout, static_cast<int>(viewer.PageLayout));
    select(*cbPageMode, static_cast<int>(viewer.PageMode));
    chkMenuBar->setChecked(viewer.HideMenuBar);
    chkToolBar->setChecked(viewer.HideToolBar);
    chkNavigationControls->setChecked(viewer.HideWindowUI);
    select(*cbPageTransitionEffect, static_cast<int>(viewer.PresentationMode.TransitionEffect));
    edPageTransitionDuration->setText(QString::number(viewer.PresentationMode.Duration));
    const TdePDFEncryptionSettings &encryption = engine.Encryption();
    chkEnableEncryption->setChecked(encryption.Enabled());
    edOwnerPassword->setText(QString::fromStdString(encryption.OwnerPassword()));
    edConfirmOwnerPassword->setText(edOwnerPassword->text());
    edUserPassword->setText(QString::fromStdString(encryption.UserPassword()));
    edConfirmUserPassword->setText(edUserPassword->text());
    select(*cbEncryptionLevel, static_cast<int>(encryption.Level()));
    const TdeUserPermissions permissions = encryption.UserPermissions();
    for (auto [box, permission] : PermissionBoxes())
        box->setChecked(permissions.Contains(permission));
    chkCompressDocumentClick();
    chkEnableEncryptionClick();
    cbPageTransitionEffectChange();

    TdePlainSheetDlg::FormShow();
}

std::optional<TEntryError> TdePDFEngineDlg::CheckEntries() const
{
    // Both pairs again on OK: leaving a field is not the only way to OK.
    if (chkEnableEncryption->isChecked()) {
        if (edOwnerPassword->text() != edConfirmOwnerPassword->text())
            return TEntryError{edOwnerPassword, PasswordMismatch("Owner")};
        if (edUserPassword->text() != edConfirmUserPassword->text())
            return TEntryError{edUserPassword, PasswordMismatch("User")};
    }
    bool ok = false;
    edPageTransitionDuration->text().trimmed().toInt(&ok);
    if (!ok)
        return TEntryError{edPageTransitionDuration, NotAValidInteger(edPageTransitionDuration->text())};
    return TdePlainSheetDlg::CheckEntries();
}

void TdePDFEngineDlg::WriteSettings()
{
    TdeCustomPDFEngine &engine = PDFEngine();
    engine.Preferences().EmbedTrueTypeFonts = static_cast<TdeTTFontEmbedding>(std::max(EmbedButtons->checkedId(), 0));
    engine.SetBackgroundColor(fromQColor(shpBackgroundColor->Colour()));
    engine.SetBackgroundImage(BackgroundPicture);
    if (cbBackgroundDisplayType->currentIndex() >= 0)
        engine.SetBackgroundImageDisplayType(static_cast<TdeBackgroundDisplayType>(selected(*cbBackgroundDisplayType)));
    engine.Compression().Enabled = chkCompressDocument->isChecked();
    engine.Compression().Level = static_cast<TdeCompressionLevel>(selected(*cbCompressionLevel));
    engine.SetFontEncoding(static_cast<TdePDFFontEncoding>(selected(*cbEncoding)));

    TdePDFEncryptionSettings &encryption = engine.Encryption();
    encryption.SetEnabled(chkEnableEncryption->isChecked());
    encryption.SetOwnerPassword(edOwnerPassword->text().toStdString());
    encryption.SetUserPassword(edUserPassword->text().toStdString());
    encryption.SetLevel(static_cast<TdePDFEncryptionLevel>(selected(*cbEncryptionLevel)));
    // At 40 bits the other four keep their values.
    const bool strong = encryption.Level() == TdePDFEncryptionLevel::el128bit;
    TdeUserPermissions permissions = encryption.UserPermissions();
    int index = 0;
    for (auto [box, permission] : PermissionBoxes()) {
        if (index++ < 4 || strong) {
            if (box->isChecked())
                permissions.Include(permission);
            else
                permissions.Exclude(permission);
        }
    }
    encryption.SetUserPermissions(permissions);

    TdeViewerPreferences &viewer = engine.ViewerPreferences();
    viewer.PageLayout = static_cast<TdePageLayout>(selected(*cbPageLayout));
    viewer.PageMode = static_cast<TdePageMode>(selected(*cbPageMode));
    viewer.HideMenuBar = chkMenuBar->isChecked();
    viewer.HideToolBar = chkToolBar->isChecked();
    viewer.HideWindowUI = chkNavigationControls->isChecked();
    viewer.PresentationMode.TransitionEffect = static_cast<TdeTransitionEffect>(selected(*cbPageTransitionEffect));
    viewer.PresentationMode.Duration = edPageTransitionDuration->text().trimmed().toInt();

    TdePlainSheetDlg::WriteSettings();
}

void InstallPDFEngineSetupDialog()
{
    TdeCustomPDFEngine::InstallSetupDialog([](TdeCustomPDFEngine &engine) {
        TdePDFEngineDlg dialog;
        dialog.SetEngine(&engine);
        return dialog.ShowModal();
    });
}

} // namespace tessaran
