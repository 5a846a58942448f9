#include "docexport/dialogs/Pdf_Engine_Dlg.h"

#include "docexport/Pdf_Engine.h"
#include "docexport/Pdf_Signature.h"
#include "docexport/dialogs/Enable_Child_Controls.h"
#include "platform/Codepage1252.h"
#include "platform/qt/Dialog_Service.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
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

QString fromCp1252(const std::string &text) { return QString::fromStdString(Cp1252ToUtf8(text)); }
std::string toCp1252(const QString &text) { return Utf8ToCp1252(text.toStdString()); }

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

void acceptOnly(QLineEdit &field, const char *pattern)
{
    field.setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), &field));
}

QString unitName(TdeUnitType unit)
{
    switch (unit) {
    case TdeUnitType::muPixels:
        return "Pixels";
    case TdeUnitType::muInches:
        return "Inches";
    case TdeUnitType::muMM:
        return "mm";
    case TdeUnitType::muPoints:
        return "Points";
    case TdeUnitType::muTwips:
        return "Twips";
    }
    return {};
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
    const auto password = [&](QLineEdit *&field, QLabel *&label, const char *name, const char *labelName, int row,
                              int column) {
        label = named(new QLabel, labelName);
        field = named(new QLineEdit, name);
        field->setEchoMode(QLineEdit::Password);
        encryption->addWidget(label, row, column);
        encryption->addWidget(field, row, column + 1);
    };
    password(edOwnerPassword, lblOwnerPassword, "edOwnerPassword", "lblOwnerPassword", 0, 0);
    password(edConfirmOwnerPassword, lblConfirmOwnerPassword, "edConfirmOwnerPassword", "lblConfirmOwnerPassword", 1,
             0);
    password(edUserPassword, lblUserPassword, "edUserPassword", "lblUserPassword", 2, 0);
    password(edConfirmUserPassword, lblConfirmUserPassword, "edConfirmUserPassword", "lblConfirmUserPassword", 3, 0);
    lblEncryptionLevel = named(new QLabel, "lblEncryptionLevel");
    cbEncryptionLevel = named(new QComboBox, "cbEncryptionLevel");
    encryption->addWidget(lblEncryptionLevel, 4, 0);
    encryption->addWidget(cbEncryptionLevel, 4, 1, Qt::AlignLeft);
    gbUserPermissions = named(new QGroupBox, "gbUserPermissions");
    auto *permissions = new QGridLayout(gbUserPermissions);
    int box = 0;
    for (auto [field, name] : {std::pair{&chkCopy, "chkCopy"}, std::pair{&chkModify, "chkModify"},
                               std::pair{&chkPrint, "chkPrint"}, std::pair{&chkFormFill, "chkFormFill"},
                               std::pair{&chkAnnotation, "chkAnnotation"},
                               std::pair{&chkAccessibility, "chkAccessibility"},
                               std::pair{&chkDocumentAssembly, "chkDocumentAssembly"},
                               std::pair{&chkHighResolutionPrint, "chkHighResolutionPrint"}}) {
        *field = named(new QCheckBox, name);
        permissions->addWidget(*field, box % 4, box / 4);
        ++box;
    }
    gbUserPermissions->setEnabled(false);
    encryption->addWidget(gbUserPermissions, 5, 0, 1, 2);
    encryption->setColumnStretch(1, 1);
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

    tsDigitalSign = AddPage("tsDigitalSign", {});
    auto *signing = new QVBoxLayout(tsDigitalSign);
    chkDigitallySign = named(new QCheckBox, "chkDigitallySign");
    signing->addWidget(chkDigitallySign);
    pcDigitalSignature = named(new QTabWidget, "pcDigitalSignature");
    signing->addWidget(pcDigitalSignature);
    signing->addStretch(1);

    tsSigFieldProperties = named(new QWidget, "tsSigFieldProperties");
    auto *field = new QVBoxLayout(tsSigFieldProperties);
    auto *fieldName = new QFormLayout;
    lblSigFieldName = named(new QLabel, "lblSigFieldName");
    edSigFieldName = named(new QLineEdit, "edSigFieldName");
    fieldName->addRow(lblSigFieldName, edSigFieldName);
    field->addLayout(fieldName);
    chkSigFieldVisible = named(new QCheckBox, "chkSigFieldVisible");
    field->addWidget(chkSigFieldVisible);
    gbSigFieldPos = named(new QGroupBox, "gbSigFieldPos");
    auto *position = new QGridLayout(gbSigFieldPos);
    lblSigFieldPageNo = named(new QLabel, "lblSigFieldPageNo");
    edSigFieldPageNo = named(new QLineEdit, "edSigFieldPageNo");
    position->addWidget(lblSigFieldPageNo, 0, 0);
    position->addWidget(edSigFieldPageNo, 0, 1);
    gbSigFieldBounds = named(new QGroupBox, "gbSigFieldBounds");
    auto *bounds = new QGridLayout(gbSigFieldBounds);
    int bound = 0;
    for (auto [edit, label, name, labelName] :
         {std::tuple{&edSigFieldLeft, &lblSigFieldLeft, "edSigFieldLeft", "lblSigFieldLeft"},
          std::tuple{&edSigFieldTop, &lblSigFieldTop, "edSigFieldTop", "lblSigFieldTop"},
          std::tuple{&edSigFieldRight, &lblSigFieldRight, "edSigFieldRight", "lblSigFieldRight"},
          std::tuple{&edSigFieldBottom, &lblSigFieldBottom, "edSigFieldBottom", "lblSigFieldBottom"}}) {
        *label = named(new QLabel, labelName);
        *edit = named(new QLineEdit, name);
        acceptOnly(**edit, "[0-9.]*");
        bounds->addWidget(*label, bound / 2, (bound % 2) * 2);
        bounds->addWidget(*edit, bound / 2, (bound % 2) * 2 + 1);
        ++bound;
    }
    position->addWidget(gbSigFieldBounds, 1, 0, 1, 2);
    lblSigFillColor = named(new QLabel, "lblSigFillColor");
    shpSigFillColor = named(new TColourSwatch, "shpSigFillColor");
    shpSigFillColor->SetColour(Qt::yellow);
    shpSigFillColor->setFixedSize(40, 20);
    position->addWidget(lblSigFillColor, 2, 0);
    position->addWidget(shpSigFillColor, 2, 1, Qt::AlignLeft);
    field->addWidget(gbSigFieldPos);
    gbSigAppearenceText = named(new QGroupBox, "gbSigAppearenceText");
    auto *appearance = new QGridLayout(gbSigAppearenceText);
    int option = 0;
    for (auto [box, name] : {std::pair{&chkSigShowName, "chkSigShowName"},
                             std::pair{&chkSigShowReason, "chkSigShowReason"},
                             std::pair{&chkSigShowLocation, "chkSigShowLocation"},
                             std::pair{&chkSigShowDate, "chkSigShowDate"},
                             std::pair{&chkSigShowLabels, "chkSigShowLabels"}}) {
        *box = named(new QCheckBox, name);
        appearance->addWidget(*box, option % 3, option / 3);
        ++option;
    }
    field->addWidget(gbSigAppearenceText);
    field->addStretch(1);
    pcDigitalSignature->addTab(tsSigFieldProperties, {});

    tsSigProperties = named(new QWidget, "tsSigProperties");
    auto *properties = new QGridLayout(tsSigProperties);
    const auto entry = [&](QLineEdit *&edit, QLabel *&label, const char *name, const char *labelName, int row) {
        label = named(new QLabel, labelName);
        edit = named(new QLineEdit, name);
        properties->addWidget(label, row, 0);
        properties->addWidget(edit, row, 1);
    };
    entry(edSigCertFileName, lblSigCertFileName, "edSigCertFileName", "lblSigCertFileName", 0);
    edSigCertFileName->setReadOnly(true);
    btnSelectCertFile = named(new QPushButton, "btnSelectCertFile");
    btnSelectCertFile->setFixedWidth(30);
    properties->addWidget(btnSelectCertFile, 0, 2);
    entry(edSigCertPassword, lblSigCertPassword, "edSigCertPassword", "lblSigCertPassword", 1);
    entry(edSigConfirmCertPassword, lblSigConfirmCertPassword, "edSigConfirmCertPassword",
          "lblSigConfirmCertPassword", 2);
    for (QLineEdit *masked : {edSigCertPassword, edSigConfirmCertPassword})
        masked->setEchoMode(QLineEdit::Password);
    entry(edSigAuthor, lblSigAuthor, "edSigAuthor", "lblSigAuthor", 3);
    entry(edSigContactInfo, lblSigContactInfo, "edSigContactInfo", "lblSigContactInfo", 4);
    entry(edSigReason, lblSigReason, "edSigReason", "lblSigReason", 5);
    entry(edSigLocation, lblSigLocation, "edSigLocation", "lblSigLocation", 6);
    rgDate = named(new QGroupBox, "rgDate");
    auto *date = new QGridLayout(rgDate);
    DateButtons = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto *button = new QRadioButton;
        button->setObjectName(QString("rgDate%1").arg(i));
        DateButtons->addButton(button, i);
        date->addWidget(button, i, 0);
    }
    datetimeSigDateTime = named(new QDateTimeEdit, "datetimeSigDateTime");
    datetimeSigDateTime->setDisplayFormat("dd-MMM-yyyy hh:mm AP");
    datetimeSigDateTime->setEnabled(false);
    date->addWidget(datetimeSigDateTime, 1, 1);
    properties->addWidget(rgDate, 7, 0, 1, 3);
    properties->setRowStretch(8, 1);
    properties->setColumnStretch(1, 1);
    pcDigitalSignature->addTab(tsSigProperties, {});

    // The field name stays a plain name; the page number starts with 1 to 9.
    acceptOnly(*edSigFieldName, "[A-Za-z0-9._-]*");
    acceptOnly(*edSigFieldPageNo, "[1-9][0-9]*");

    connect(chkCompressDocument, &QCheckBox::toggled, this, [this] { chkCompressDocumentClick(); });
    connect(chkEnableEncryption, &QCheckBox::toggled, this, [this] { chkEnableEncryptionClick(); });
    connect(cbEncryptionLevel, &QComboBox::currentIndexChanged, this, [this] { cbEncryptionLevelChange(); });
    for (QLineEdit *watched : {edConfirmOwnerPassword, edConfirmUserPassword, edSigConfirmCertPassword,
                               edSigFieldLeft, edSigFieldRight})
        watched->installEventFilter(this);
    connect(chkDigitallySign, &QCheckBox::toggled, this, [this] { chkDigitallySignClick(); });
    connect(chkSigFieldVisible, &QCheckBox::toggled, this, [this] { chkSigFieldVisibleClick(); });
    connect(btnSelectCertFile, &QPushButton::clicked, this, [this] { btnSelectCertFileClick(); });
    connect(DateButtons, &QButtonGroup::idClicked, this, [this] { rgDateClick(); });
    connect(datetimeSigDateTime, &QDateTimeEdit::dateTimeChanged, this, [this] { datetimeSigDateTimeValidate(); });
    connect(shpSigFillColor, &TColourSwatch::MouseDown, this,
            [this](Qt::MouseButton button, QPoint position) { SwatchMouseDown(button, position); });
    connect(shpSigFillColor, &TColourSwatch::MouseUp, this, [this](Qt::MouseButton button, QPoint position) {
        SwatchMouseUp(*shpSigFillColor, button, position);
    });
    connect(cbPageTransitionEffect, &QComboBox::currentIndexChanged, this,
            [this] { cbPageTransitionEffectChange(); });

    FormCreate();
    resize(492, height());
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
    lblEncoding->setText("Font Encoding:");
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
    chkDigitallySign->setText("Digitally Sign Document");
    pcDigitalSignature->setTabText(0, "Field Properties");
    pcDigitalSignature->setTabText(1, "Signature Properties");
    lblSigFieldName->setText("Field Name:");
    chkSigFieldVisible->setText("Field Visible On Page");
    lblSigFieldPageNo->setText("Field Page #:");
    gbSigFieldBounds->setTitle("Field Bounds (%s):");
    lblSigFieldLeft->setText("Left");
    lblSigFieldTop->setText("Top");
    lblSigFieldRight->setText("Right");
    lblSigFieldBottom->setText("Bottom");
    lblSigFillColor->setText("Fill Color:");
    gbSigAppearenceText->setTitle("Appearence Text");
    chkSigShowName->setText("Show Name");
    chkSigShowReason->setText("Show Reason");
    chkSigShowLocation->setText("Show Location");
    chkSigShowDate->setText("Show Date");
    chkSigShowLabels->setText("Show Labels");
    lblSigCertFileName->setText("Certificate File:");
    btnSelectCertFile->setText("...");
    lblSigCertPassword->setText("Certificate Password:");
    lblSigConfirmCertPassword->setText("Confirm Password:");
    lblSigAuthor->setText("Author:");
    lblSigContactInfo->setText("Contact Information:");
    lblSigReason->setText("Reason:");
    lblSigLocation->setText("Location:");
    rgDate->setTitle("Date :");
    DateButtons->button(0)->setText("Current System Date");
    DateButtons->button(1)->setText("Fixed :");
    lbDocumentDlg->addItems({"Advanced", "Viewer Preferences", "Digital Signature"});
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
    // "40 Bit" is the first level.
    const bool full = cbEncryptionLevel->currentIndex() > 0;
    for (QCheckBox *box : {chkAnnotation, chkAccessibility, chkDocumentAssembly, chkHighResolutionPrint})
        box->setEnabled(full);
}

std::optional<TEntryError> TdePDFEngineDlg::PasswordMismatch(QLineEdit *confirmation) const
{
    if (!chkEnableEncryption->isChecked())
        return std::nullopt;
    const bool owner = confirmation == edConfirmOwnerPassword;
    QLineEdit *password = owner ? edOwnerPassword : edUserPassword;
    if (confirmation->text() == password->text())
        return std::nullopt;
    return TEntryError{password, QStringLiteral("The %1 Passwords do not match.\r\nPlease re-enter.")
                                     .arg(owner ? QStringLiteral("Owner") : QStringLiteral("User"))};
}

void TdePDFEngineDlg::edConfirmPasswordExit(QLineEdit *confirmation)
{
    if (const std::optional<TEntryError> mismatch = PasswordMismatch(confirmation)) {
        Dialogs().ShowMessage(TDialogKind::Error, mismatch->Message, this);
        mismatch->Field->setFocus();
        return;
    }
    edSigConfirmExit(confirmation);
}

std::optional<TEntryError> TdePDFEngineDlg::CertPasswordMismatch() const
{
    if (!chkDigitallySign->isChecked() || edSigConfirmCertPassword->text() == edSigCertPassword->text())
        return std::nullopt;
    return TEntryError{edSigCertPassword,
                       QStringLiteral("The Certificate Passwords do not match.\r\nPlease re-enter.")};
}

std::string TdePDFEngineDlg::CertificateSubjectName() const
{
    const TSigningCertificate certificate = TdePKCS7::GetPFXCertWithPvtKey(
        edSigCertFileName->text().toStdString(), edSigCertPassword->text().toStdString());
    return certificate.Valid() ? TdePKCS7::GetCertificateName(certificate) : std::string();
}

void TdePDFEngineDlg::edSigConfirmExit(QLineEdit *confirmation)
{
    if (!chkDigitallySign->isChecked())
        return;
    if (const std::optional<TEntryError> mismatch = CertPasswordMismatch()) {
        if (confirmation == edSigConfirmCertPassword) {
            Dialogs().ShowMessage(TDialogKind::Error, mismatch->Message, this);
            mismatch->Field->setFocus();
        }
        return;
    }
    // A certificate that cannot be read leaves Author as it is; signing
    // reports it when the document is written.
    const std::string subject = CertificateSubjectName();
    if (!subject.empty())
        edSigAuthor->setText(QString::fromStdString(subject));
}

void TdePDFEngineDlg::chkDigitallySignClick()
{
    EnableChildControls(*pcDigitalSignature, chkDigitallySign->isChecked());
    if (chkDigitallySign->isChecked())
        chkSigFieldVisibleClick();
}

void TdePDFEngineDlg::chkSigFieldVisibleClick()
{
    EnableChildControls(*gbSigFieldPos, chkSigFieldVisible->isChecked());
}

double TdePDFEngineDlg::BoundsLimit() const { return Engine->Page().Width(); }

void TdePDFEngineDlg::edSigFieldBoundsRangeValidate(QLineEdit *bound)
{
    bool ok = false;
    const double value = bound->text().toDouble(&ok);
    const double limit = BoundsLimit();
    if (!ok || value <= limit)
        return;
    Dialogs().ShowMessage(TDialogKind::Error, QStringLiteral("Value should be less than %1").arg(limit), this);
    bound->clear();
    bound->setFocus();
}

void TdePDFEngineDlg::btnSelectCertFileClick()
{
    TFileDialogRequest request;
    request.FileName = edSigCertFileName->text();
    // Either case: the file systems here tell them apart.
    request.Filter = "PFX (*.PFX *.pfx)";
    request.Parent = this;
    if (const std::optional<QString> fileName = Dialogs().OpenFileName(request))
        edSigCertFileName->setText(*fileName);
}

void TdePDFEngineDlg::rgDateClick()
{
    // "Current System Date" is the first item, "Fixed :" the second.
    datetimeSigDateTime->setEnabled(DateButtons->checkedId() == 1);
}

void TdePDFEngineDlg::datetimeSigDateTimeValidate()
{
    if (Showing)
        return;
    if (datetimeSigDateTime->date() > QDate::currentDate()) {
        Dialogs().ShowMessage(TDialogKind::Error, "Date should not exceed today", this);
        datetimeSigDateTime->setDateTime(QDateTime::currentDateTime());
    }
}

bool TdePDFEngineDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut &&
        (watched == edConfirmOwnerPassword || watched == edConfirmUserPassword)) {
        // Leaving the field, not the window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            edConfirmPasswordExit(static_cast<QLineEdit *>(watched));
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool leaving = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (leaving && watched == edSigConfirmCertPassword)
            edSigConfirmExit(edSigConfirmCertPassword);
        if (leaving && (watched == edSigFieldLeft || watched == edSigFieldRight))
            edSigFieldBoundsRangeValidate(static_cast<QLineEdit *>(watched));
    }
    return TdePlainSheetDlg::eventFilter(watched, event);
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
    const TdePDFEncryptionSettings &encryption = engine.Encryption();
    chkEnableEncryption->setChecked(encryption.Enabled());
    edOwnerPassword->setText(fromCp1252(encryption.OwnerPassword()));
    edConfirmOwnerPassword->setText(edOwnerPassword->text());
    edUserPassword->setText(fromCp1252(encryption.UserPassword()));
    edConfirmUserPassword->setText(edUserPassword->text());
    select(*cbEncryptionLevel, static_cast<int>(encryption.Level()));
    const TdeUserPermissions permissions = encryption.UserPermissions();
    using P = TdeUserPermissionsType;
    chkCopy->setChecked(permissions.Contains(P::AllowCopy));
    chkModify->setChecked(permissions.Contains(P::AllowModify));
    chkPrint->setChecked(permissions.Contains(P::AllowPrint));
    chkFormFill->setChecked(permissions.Contains(P::AllowFormFill));
    chkAnnotation->setChecked(permissions.Contains(P::AllowAnnotation));
    chkAccessibility->setChecked(permissions.Contains(P::AllowAccessibility));
    chkDocumentAssembly->setChecked(permissions.Contains(P::AllowDocAssembly));
    chkHighResolutionPrint->setChecked(permissions.Contains(P::AllowHighResPrint));
    const TdeViewerPreferences &viewer = engine.ViewerPreferences();
    select(*cbPageLayout, static_cast<int>(viewer.PageLayout));
    select(*cbPageMode, static_cast<int>(viewer.PageMode));
    chkMenuBar->setChecked(viewer.HideMenuBar);
    chkToolBar->setChecked(viewer.HideToolBar);
    chkNavigationControls->setChecked(viewer.HideWindowUI);
    select(*cbPageTransitionEffect, static_cast<int>(viewer.PresentationMode.TransitionEffect));
    edPageTransitionDuration->setText(QString::number(viewer.PresentationMode.Duration));
    chkCompressDocumentClick();
    cbEncryptionLevelChange();
    chkEnableEncryptionClick();
    cbPageTransitionEffectChange();

    Showing = true;
    gbSigFieldBounds->setTitle(QStringLiteral("Field Bounds (%1):").arg(unitName(engine.MeasurementUnit())));
    const TdeDigitalSignature &signature = engine.DigitalSignature();
    const TdeFieldProperties &field = signature.FieldProperties;
    const TdeSignature &properties = signature.SignatureProperties;
    chkDigitallySign->setChecked(signature.Enabled);
    chkSigFieldVisible->setChecked(field.Visible);
    edSigFieldName->setText(QString::fromStdString(field.FieldName));
    edSigFieldPageNo->setText(QString::number(field.PageNumber));
    shpSigFillColor->SetColour(toQColor(field.FillColor));
    edSigFieldLeft->setText(QString::number(field.FieldBounds.FLLeft));
    edSigFieldTop->setText(QString::number(field.FieldBounds.FLTop));
    edSigFieldRight->setText(QString::number(field.FieldBounds.FLRight));
    edSigFieldBottom->setText(QString::number(field.FieldBounds.FLBotom));
    edSigCertFileName->setText(QString::fromStdString(properties.CertFileName));
    edSigCertPassword->setText(QString::fromStdString(properties.CertPassword));
    edSigConfirmCertPassword->setText(edSigCertPassword->text());
    std::string author = properties.Author;
    if (signature.Enabled && author.empty())
        author = CertificateSubjectName();
    edSigAuthor->setText(QString::fromStdString(author));
    edSigContactInfo->setText(QString::fromStdString(properties.ContactInfo));
    edSigReason->setText(QString::fromStdString(properties.Reason));
    edSigLocation->setText(QString::fromStdString(properties.Location));
    datetimeSigDateTime->setDateTime(QDateTime::fromSecsSinceEpoch(properties.DateTime));
    using O = TdeSigFieldAppearenceOption;
    const TdeSigFieldAppearenceOptions options = field.FieldAppearenceOptions;
    chkSigShowName->setChecked(options.Contains(O::sfaoShowName));
    chkSigShowReason->setChecked(options.Contains(O::sfaoShowReason));
    chkSigShowLocation->setChecked(options.Contains(O::sfaoShowLocation));
    chkSigShowDate->setChecked(options.Contains(O::sfaoShowDate));
    chkSigShowLabels->setChecked(options.Contains(O::sfaoShowLabels));
    chkDigitallySignClick();
    rgDateClick();
    Showing = false;

    TdePlainSheetDlg::FormShow();
}

std::optional<TEntryError> TdePDFEngineDlg::CheckEntries() const
{
    // The confirmations are compared on OK too: a field never left is
    // never compared on leaving.
    for (QLineEdit *confirmation : {edConfirmOwnerPassword, edConfirmUserPassword})
        if (std::optional<TEntryError> mismatch = PasswordMismatch(confirmation))
            return mismatch;
    bool ok = false;
    edPageTransitionDuration->text().trimmed().toInt(&ok);
    if (!ok)
        return TEntryError{edPageTransitionDuration, NotAValidInteger(edPageTransitionDuration->text())};
    if (std::optional<TEntryError> mismatch = CertPasswordMismatch())
        return mismatch;
    edSigFieldPageNo->text().trimmed().toInt(&ok);
    if (!ok)
        return TEntryError{edSigFieldPageNo, NotAValidInteger(edSigFieldPageNo->text())};
    for (QLineEdit *bound : {edSigFieldLeft, edSigFieldTop, edSigFieldRight, edSigFieldBottom}) {
        bound->text().trimmed().toDouble(&ok);
        if (!ok)
            return TEntryError{bound, QStringLiteral("'%1' is not a valid floating point value").arg(bound->text())};
    }
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
    encryption.SetOwnerPassword(toCp1252(edOwnerPassword->text()));
    encryption.SetUserPassword(toCp1252(edUserPassword->text()));
    const auto level = static_cast<TdePDFEncryptionLevel>(selected(*cbEncryptionLevel));
    encryption.SetLevel(level);
    TdeUserPermissions permissions = encryption.UserPermissions();
    const auto put = [&](TdeUserPermissionsType permission, const QCheckBox *box) {
        if (box->isChecked())
            permissions.Include(permission);
        else
            permissions.Exclude(permission);
    };
    using P = TdeUserPermissionsType;
    put(P::AllowCopy, chkCopy);
    put(P::AllowModify, chkModify);
    put(P::AllowPrint, chkPrint);
    put(P::AllowFormFill, chkFormFill);
    // The others exist only at 128 bits; at 40 they keep their values.
    if (level == TdePDFEncryptionLevel::el128bit) {
        put(P::AllowAnnotation, chkAnnotation);
        put(P::AllowAccessibility, chkAccessibility);
        put(P::AllowDocAssembly, chkDocumentAssembly);
        put(P::AllowHighResPrint, chkHighResolutionPrint);
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

    TdeDigitalSignature &signature = engine.DigitalSignature();
    TdeFieldProperties &field = signature.FieldProperties;
    TdeSignature &properties = signature.SignatureProperties;
    signature.Enabled = chkDigitallySign->isChecked();
    field.Visible = chkSigFieldVisible->isChecked();
    field.FieldName = edSigFieldName->text().toStdString();
    field.FillColor = fromQColor(shpSigFillColor->Colour());
    field.PageNumber = edSigFieldPageNo->text().trimmed().toInt();
    field.FieldBounds = {edSigFieldLeft->text().trimmed().toDouble(), edSigFieldTop->text().trimmed().toDouble(),
                         edSigFieldRight->text().trimmed().toDouble(), edSigFieldBottom->text().trimmed().toDouble()};
    using O = TdeSigFieldAppearenceOption;
    TdeSigFieldAppearenceOptions options;
    for (auto [option, box] :
         {std::pair{O::sfaoShowName, chkSigShowName}, std::pair{O::sfaoShowReason, chkSigShowReason},
          std::pair{O::sfaoShowLocation, chkSigShowLocation}, std::pair{O::sfaoShowDate, chkSigShowDate},
          std::pair{O::sfaoShowLabels, chkSigShowLabels}})
        if (box->isChecked())
            options.Include(option);
    field.FieldAppearenceOptions = options;
    properties.CertFileName = edSigCertFileName->text().toStdString();
    properties.CertPassword = edSigCertPassword->text().toStdString();
    properties.Author = edSigAuthor->text().toStdString();
    properties.ContactInfo = edSigContactInfo->text().toStdString();
    properties.Reason = edSigReason->text().toStdString();
    properties.Location = edSigLocation->text().toStdString();
    properties.DateTime = DateButtons->checkedId() == 0 ? std::time(nullptr)
                                                        : static_cast<std::time_t>(
                                                              datetimeSigDateTime->dateTime().toSecsSinceEpoch());

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
