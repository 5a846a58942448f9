#include "docexport/dialogs/Document_Dlg.h"

#include "docexport/Plain_Sheet_Engine.h"
#include "docexport/dialogs/Enable_Child_Controls.h"
#include "platform/qt/Dialog_Service.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessaran {

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString fromWide(const WideString &text) { return QString::fromStdU16String(text); }
WideString toWide(const QString &text) { return text.toStdU16String(); }

QString commaText(const TStringList &list)
{
    QStringList texts;
    for (const std::string &item : list)
        texts << QString::fromStdString(item);
    return texts.join(',');
}

TStringList fromCommaText(const QString &text)
{
    TStringList list;
    if (text.isEmpty())
        return list;
    for (const QString &item : text.split(','))
        list.push_back(item.trimmed().toStdString());
    return list;
}

std::optional<int> integerOf(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QColor toQColor(TColor colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

// The picture in a file, as the engine keeps pictures: BMP or JPEG bytes.
std::optional<TdePicture> loadPicture(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull() || bytes.size() < 2)
        return std::nullopt;
    TdePicture picture;
    if (bytes.startsWith("BM"))
        picture.Format = "bmp";
    else if (static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xD8)
        picture.Format = "jpeg";
    else
        return std::nullopt;
    picture.Data.assign(bytes.begin(), bytes.end());
    picture.Width = image.width();
    picture.Height = image.height();
    return picture;
}

QImage pictureImage(const TdePicture &picture)
{
    return QImage::fromData(reinterpret_cast<const uchar *>(picture.Data.data()),
                            static_cast<int>(picture.Data.size()));
}

} // namespace

QString NotAValidInteger(const QString &text) { return "'" + text + "' is not a valid integer value"; }

// --- the general dialog ------------------------------------------------------

TdeDocumentDlg::TdeDocumentDlg(QWidget *parent) : TdeDocumentDlg(parent, TNoCreate{})
{
    FormCreate();
}

TdeDocumentDlg::TdeDocumentDlg(QWidget *parent, TNoCreate) : QDialog(parent)
{
    setObjectName("TdeDocumentDlg");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont("DejaVu Sans", 8));

    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    outer->addLayout(body);

    lbDocumentDlg = named(new QListWidget, "lbDocumentDlg");
    lbDocumentDlg->setFixedWidth(120);
    lbDocumentDlg->setStyleSheet("QListWidget { background: #000080; color: white; }");
    body->addWidget(lbDocumentDlg);

    auto *right = new QVBoxLayout;
    body->addLayout(right, 1);
    lblDialogCaption = named(new QLabel, "lblDialogCaption");
    QFont bold = font();
    bold.setBold(true);
    lblDialogCaption->setFont(bold);
    lblDialogCaption->setAutoFillBackground(true);
    QPalette strip = lblDialogCaption->palette();
    strip.setColor(QPalette::Window, QColor(255, 255, 225));
    lblDialogCaption->setPalette(strip);
    right->addWidget(lblDialogCaption);
    pcDocument = named(new QStackedWidget, "pcDocument");
    right->addWidget(pcDocument, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = named(new QPushButton, "btnOK");
    btnOK->setDefault(true);
    btnCancel = named(new QPushButton, "btnCancel");
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    outer->addLayout(buttons);

    buildPreferences();
    buildContent();
    buildBackground();
    buildEMail();

    connect(lbDocumentDlg, &QListWidget::itemClicked, this, [this] { lbDocumentDlgClick(); });
    connect(lbDocumentDlg, &QListWidget::currentRowChanged, this, [this] { lbDocumentDlgClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(479, 458);
}

QWidget *TdeDocumentDlg::AddPage(const char *name, const QString &listEntry)
{
    QWidget *page = named(new QWidget, name);
    // The e-mail page stays last: pages with list entries go before it.
    const int at = tsEMailInfo ? pcDocument->indexOf(tsEMailInfo) : pcDocument->count();
    pcDocument->insertWidget(at, page);
    if (!listEntry.isEmpty())
        lbDocumentDlg->addItem(listEntry);
    return page;
}

void TdeDocumentDlg::buildPreferences()
{
    tsPreferences = AddPage("tsPreferences", {});
    PreferencesLayout = new QVBoxLayout(tsPreferences);
    gbPageRange = named(new QGroupBox, "gbPageRange");
    auto *range = new QGridLayout(gbPageRange);
    rbtnAll = named(new QRadioButton, "rbtnAll");
    rbtnAll->setChecked(true);
    rbtnPages = named(new QRadioButton, "rbtnPages");
    edPages = named(new QLineEdit, "edPages");
    // Page numbers and ranges only: digits, commas and hyphens.
    edPages->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9,-]*"), edPages));
    lblPageExample = named(new QLabel, "lblPageExample");
    lblPageExample->setWordWrap(true);
    range->addWidget(rbtnAll, 0, 0, 1, 2);
    range->addWidget(rbtnPages, 1, 0);
    range->addWidget(edPages, 1, 1);
    range->addWidget(lblPageExample, 2, 0, 1, 2);
    PreferencesLayout->addWidget(gbPageRange);
    chkUseImagesAsResources = named(new QCheckBox, "chkUseImagesAsResources");
    chkOpenAfterCreate = named(new QCheckBox, "chkOpenAfterCreate");
    chkProcessAfterEachPage = named(new QCheckBox, "chkProcessAfterEachPage");
    chkActiveHyperLinks = named(new QCheckBox, "chkActiveHyperLinks");
    for (QCheckBox *box : {chkUseImagesAsResources, chkOpenAfterCreate, chkProcessAfterEachPage, chkActiveHyperLinks})
        PreferencesLayout->addWidget(box);
    PreferencesLayout->addStretch(1);

    connect(rbtnAll, &QRadioButton::clicked, this, [this] { rbtnAllClick(); });
    connect(rbtnPages, &QRadioButton::clicked, this, [this] { rbtnPagesClick(); });
    connect(edPages, &QLineEdit::textChanged, this, [this](const QString &text) { edPagesChange(text); });
}

void TdeDocumentDlg::buildContent()
{
    tsContent = AddPage("tsContent", {});
    auto *layout = new QVBoxLayout(tsContent);
    gbItemsToRender = named(new QGroupBox, "gbItemsToRender");
    auto *items = new QHBoxLayout(gbItemsToRender);
    chkText = named(new QCheckBox, "chkText");
    chkShape = named(new QCheckBox, "chkShape");
    chkImage = named(new QCheckBox, "chkImage");
    for (QCheckBox *box : {chkText, chkShape, chkImage})
        items->addWidget(box);
    layout->addWidget(gbItemsToRender);

    gbImageSettings = named(new QGroupBox, "gbImageSettings");
    auto *image = new QFormLayout(gbImageSettings);
    lblOutputImageFormat = named(new QLabel, "lblOutputImageFormat");
    cbOutputImageFormat = named(new QComboBox, "cbOutputImageFormat");
    lblJPEGQuality = named(new QLabel, "lblJPEGQuality");
    edJPEGQuality = named(new QLineEdit, "edJPEGQuality");
    edJPEGQuality->setMaxLength(3);
    lblImagePixelFormat = named(new QLabel, "lblImagePixelFormat");
    cbImagePixelFormat = named(new QComboBox, "cbImagePixelFormat");
    lblSourceDPI = named(new QLabel, "lblSourceDPI");
    edSourceDPI = named(new QLineEdit, "edSourceDPI");
    image->addRow(lblOutputImageFormat, cbOutputImageFormat);
    image->addRow(lblJPEGQuality, edJPEGQuality);
    image->addRow(lblImagePixelFormat, cbImagePixelFormat);
    image->addRow(lblSourceDPI, edSourceDPI);
    layout->addWidget(gbImageSettings);

    gbDocInfo = named(new QGroupBox, "gbDocInfo");
    auto *info = new QFormLayout(gbDocInfo);
    const auto row = [&](QLabel *&label, QLineEdit *&edit, const char *labelName, const char *editName) {
        label = named(new QLabel, labelName);
        edit = named(new QLineEdit, editName);
        info->addRow(label, edit);
    };
    row(lblAuthor, edAuthor, "lblAuthor", "edAuthor");
    row(lblCreator, edCreator, "lblCreator", "edCreator");
    row(lblKeywords, edKeywords, "lblKeywords", "edKeywords");
    row(lblSubject, edSubject, "lblSubject", "edSubject");
    row(lblTitle, edTitle, "lblTitle", "edTitle");
    layout->addWidget(gbDocInfo);
    layout->addStretch(1);

    connect(cbOutputImageFormat, &QComboBox::currentIndexChanged, this, [this] { cbOutputImageFormatChange(); });
    connect(chkImage, &QCheckBox::toggled, this, [this] { chkImageClick(); });
}

void TdeDocumentDlg::buildBackground()
{
    tsBackground = AddPage("tsBackground", {});
    auto *layout = new QGridLayout(tsBackground);
    lblBackgroundImage = named(new QLabel, "lblBackgroundImage");
    imgBackgroundImage = named(new QLabel, "imgBackgroundImage");
    imgBackgroundImage->setFixedSize(200, 85);
    imgBackgroundImage->setFrameShape(QFrame::Box);
    imgBackgroundImage->setScaledContents(true);
    btnSelectImage = named(new QPushButton, "btnSelectImage");
    btnImgPrvw = named(new QPushButton, "btnImgPrvw");
    btnClear = named(new QPushButton, "btnClear");
    lblBackgroundDisplayType = named(new QLabel, "lblBackgroundDisplayType");
    cbBackgroundDisplayType = named(new QComboBox, "cbBackgroundDisplayType");
    lblBackgroundColor = named(new QLabel, "lblBackgroundColor");
    shpBackgroundColor = named(new TColourSwatch, "shpBackgroundColor");
    shpBackgroundColor->setFixedSize(40, 20);
    layout->addWidget(lblBackgroundImage, 0, 0, 1, 3);
    layout->addWidget(imgBackgroundImage, 1, 0, 1, 3);
    layout->addWidget(btnSelectImage, 2, 0);
    layout->addWidget(btnImgPrvw, 2, 1);
    layout->addWidget(btnClear, 2, 2);
    layout->addWidget(lblBackgroundDisplayType, 3, 0);
    layout->addWidget(cbBackgroundDisplayType, 3, 1, 1, 2);
    layout->addWidget(lblBackgroundColor, 4, 0);
    layout->addWidget(shpBackgroundColor, 4, 1);
    layout->setRowStretch(5, 1);
    btnImgPrvw->setEnabled(false);
    btnClear->setEnabled(false);
    lblBackgroundDisplayType->setEnabled(false);
    cbBackgroundDisplayType->setEnabled(false);

    connect(btnSelectImage, &QPushButton::clicked, this, [this] { btnSelectImageClick(); });
    connect(btnImgPrvw, &QPushButton::clicked, this, [this] { btnImgPrvwClick(); });
    connect(btnClear, &QPushButton::clicked, this, [this] { btnClearClick(); });
    connect(shpBackgroundColor, &TColourSwatch::MouseDown, this,
            [this](Qt::MouseButton button, QPoint position) { SwatchMouseDown(button, position); });
    connect(shpBackgroundColor, &TColourSwatch::MouseUp, this, [this](Qt::MouseButton button, QPoint position) {
        SwatchMouseUp(*shpBackgroundColor, button, position);
    });
}

void TdeDocumentDlg::buildEMail()
{
    tsEMailInfo = AddPage("tsEMailInfo", {});
    auto *layout = new QVBoxLayout(tsEMailInfo);
    chkEMailAfterCreate = named(new QCheckBox, "chkEMailAfterCreate");
    layout->addWidget(chkEMailAfterCreate);
    gbEMail = named(new QGroupBox, "gbEMail");
    auto *form = new QFormLayout(gbEMail);
    const auto edit = [&](QLineEdit *&field, const char *name, const char *labelName) {
        field = named(new QLineEdit, name);
        form->addRow(named(new QLabel, labelName), field);
    };
    edit(edHost, "edHost", "lblHost");
    edit(edPort, "edPort", "lblPort");
    chkAuthentication = named(new QCheckBox, "chkAuthentication");
    form->addRow(chkAuthentication);
    gbAuthentication = named(new QGroupBox, "gbAuthentication");
    auto *authentication = new QFormLayout(gbAuthentication);
    edUserID = named(new QLineEdit, "edUserID");
    edPassword = named(new QLineEdit, "edPassword");
    edPassword->setEchoMode(QLineEdit::Password);
    authentication->addRow(named(new QLabel, "lblUserID"), edUserID);
    authentication->addRow(named(new QLabel, "lblPassword"), edPassword);
    form->addRow(gbAuthentication);
    edit(edFrom, "edFrom", "lblFrom");
    edit(edTo, "edTo", "lblTo");
    edit(edCC, "edCC", "lblCC");
    edit(edBCC, "edBCC", "lblBCC");
    edit(edEMailSubject, "edEMailSubject", "lblEMailSubject");
    memoBody = named(new QPlainTextEdit, "memoBody");
    form->addRow(named(new QLabel, "lblBody"), memoBody);
    layout->addWidget(gbEMail);

    connect(chkEMailAfterCreate, &QCheckBox::toggled, this, [this] { chkEMailAfterCreateClick(); });
    connect(chkAuthentication, &QCheckBox::toggled, this, [this] { chkAuthenticationClick(); });
}

void TdeDocumentDlg::LoadCaptions()
{
    setWindowTitle("Document Setup");
    btnOK->setText("&OK");
    btnCancel->setText("&Cancel");
    gbPageRange->setTitle("Page Range");
    rbtnAll->setText("All Pages");
    rbtnPages->setText("Pages:");
    lblPageExample->setText("Enter page numbers and/or page ranges separated by commas. For example, 1,3,5-12");
    chkUseImagesAsResources->setText("Use Images As Resources");
    chkOpenAfterCreate->setText("Open After Create");
    chkProcessAfterEachPage->setText("Process After Each Page");
    chkActiveHyperLinks->setText("Active HyperLinks");
    gbItemsToRender->setTitle("Items To Render");
    chkText->setText("Text");
    chkShape->setText("Shape");
    chkImage->setText("Image");
    lblOutputImageFormat->setText("Output Image Format:");
    lblJPEGQuality->setText("JPEG Quality:");
    lblImagePixelFormat->setText("Image Pixel Format:");
    lblSourceDPI->setText("Source DPI:");
    gbDocInfo->setTitle("Document Information");
    lblAuthor->setText("Author:");
    lblCreator->setText("Creator:");
    lblKeywords->setText("Keywords:");
    lblSubject->setText("Subject:");
    lblTitle->setText("Title:");
    lblBackgroundImage->setText("Background Image:");
    btnSelectImage->setText("Select Image");
    btnImgPrvw->setText("Preview");
    btnClear->setText("Clear");
    lblBackgroundDisplayType->setText("Background Display Type:");
    lblBackgroundColor->setText("Background Color:");
    shpBackgroundColor->setToolTip("Click to Select Background Color");
    chkEMailAfterCreate->setText("EMail After Create");
    chkAuthentication->setText("Server Requires Authentication");
    const std::pair<const char *, const char *> labels[] = {
        {"lblHost", "Host: "},   {"lblPort", "Port #: "},   {"lblUserID", "UserID: "},
        {"lblPassword", "Password: "}, {"lblFrom", "From: "}, {"lblTo", "To: "},
        {"lblCC", "CC: "},       {"lblBCC", "BCC: "},       {"lblEMailSubject", "Subject: "},
        {"lblBody", "Message: "}};
    for (const auto &[name, text] : labels)
        findChild<QLabel *>(name)->setText(text);
    lbDocumentDlg->clear();
    lbDocumentDlg->addItems({"Preferences", "Content", "Background"});
}

void TdeDocumentDlg::FillLists()
{
    static const char *const displayTypes[] = {"Tile",        "Top-Left", "Top-Center",  "Top-Right",
                                               "Center-Left", "Center",   "Center-Right", "Bottom-Left",
                                               "Bottom-Center", "Bottom-Right"};
    cbBackgroundDisplayType->clear();
    for (int i = 0; i < 10; ++i)
        cbBackgroundDisplayType->addItem(displayTypes[i], i);
    static const char *const formats[] = {"BMP", "JPEG", "GIF", "PNG", "Metafile", "CCITT3", "CCITT4"};
    cbOutputImageFormat->clear();
    for (int i = 0; i < 7; ++i)
        cbOutputImageFormat->addItem(formats[i], i);
    cbOutputImageFormat->setCurrentIndex(-1); // chosen from the engine only by an engine's own dialog
    static const char *const pixelFormats[] = {"Device", "1 bit",  "4 bit",  "8 bit", "15 bit",
                                               "16 bit", "24 bit", "32 bit", "Custom"};
    cbImagePixelFormat->clear();
    for (int i = 0; i < 9; ++i)
        cbImagePixelFormat->addItem(pixelFormats[i], i);
    cbImagePixelFormat->removeItem(8); // a custom format cannot be asked for
}

void TdeDocumentDlg::FormCreate()
{
    LoadCaptions();
    FillLists();
    cbOutputImageFormatChange();
    lbDocumentDlg->setCurrentRow(0);
    lbDocumentDlgClick();
}

int TdeDocumentDlg::ShowModal() { return exec() == QDialog::Accepted ? mrOk : mrCancel; }

void TdeDocumentDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (Engine)
        FormShow();
}

void TdeDocumentDlg::lbDocumentDlgClick()
{
    const int row = lbDocumentDlg->currentRow();
    if (row < 0 || row >= pcDocument->count())
        return;
    pcDocument->setCurrentIndex(row);
    lblDialogCaption->setText(lbDocumentDlg->item(row)->text());
}

void TdeDocumentDlg::FormShow()
{
    TdePreferences &preferences = Engine->Preferences();
    chkOpenAfterCreate->setChecked(preferences.OpenAfterCreate());
    chkEMailAfterCreate->setChecked(preferences.EmailAfterCreate());
    chkProcessAfterEachPage->setChecked(preferences.ProcessAfterEachPage());
    chkUseImagesAsResources->setChecked(preferences.UseImagesAsResources());
    if (lbDocumentDlg->count() > 0)
        lblDialogCaption->setText(lbDocumentDlg->item(0)->text());
    lblPageExample->setText("Enter page numbers and/or page ranges separated by commas. For example, 1,3,5-12");

    const TdeEmailSettings &mail = Engine->EMailSettings();
    edHost->setText(QString::fromStdString(mail.Host));
    edPort->setText(QString::number(mail.Port));
    chkAuthentication->setChecked(mail.AuthenticationRequired);
    edUserID->setText(QString::fromStdString(mail.UserID));
    edPassword->setText(QString::fromStdString(mail.Password));
    edFrom->setText(QString::fromStdString(mail.FromAddress));
    edTo->setText(commaText(mail.RecipientList));
    edCC->setText(commaText(mail.CCList));
    edBCC->setText(commaText(mail.BCCList));
    edEMailSubject->setText(QString::fromStdString(mail.Subject));
    QStringList body;
    for (const std::string &line : mail.Body)
        body << QString::fromStdString(line);
    memoBody->setPlainText(body.join('\n'));
    chkEMailAfterCreateClick();

    const QString pages = QString::fromStdString(Engine->PagesToRender());
    if (pages.isEmpty()) {
        rbtnAll->setChecked(true);
    } else {
        rbtnPages->setChecked(true);
        edPages->setText(pages);
    }
}

std::optional<TEntryError> TdeDocumentDlg::CheckEntries() const
{
    if (chkEMailAfterCreate->isChecked() && !integerOf(edPort->text()))
        return TEntryError{edPort, NotAValidInteger(edPort->text())};
    return std::nullopt;
}

void TdeDocumentDlg::WriteSettings()
{
    TdePreferences &preferences = Engine->Preferences();
    preferences.SetOpenAfterCreate(chkOpenAfterCreate->isChecked());
    preferences.SetEmailAfterCreate(chkEMailAfterCreate->isChecked());
    if (chkEMailAfterCreate->isChecked()) {
        TdeEmailSettings &mail = Engine->EMailSettings();
        mail.Body.clear();
        for (const QString &line : memoBody->toPlainText().split('\n'))
            mail.Body.push_back(line.toStdString());
        if (memoBody->toPlainText().isEmpty())
            mail.Body.clear();
        mail.RecipientList = fromCommaText(edTo->text());
        mail.CCList = fromCommaText(edCC->text());
        mail.BCCList = fromCommaText(edBCC->text());
        mail.Host = edHost->text().toStdString();
        mail.UserID = edUserID->text().toStdString();
        mail.Password = edPassword->text().toStdString();
        mail.AuthenticationRequired = chkAuthentication->isChecked();
        mail.FromAddress = edFrom->text().toStdString();
        mail.Subject = edEMailSubject->text().toStdString();
        mail.Port = *integerOf(edPort->text());
    }
    preferences.SetProcessAfterEachPage(chkProcessAfterEachPage->isChecked());
    preferences.SetUseImagesAsResources(chkUseImagesAsResources->isChecked());
    Engine->SetPagesToRender(rbtnAll->isChecked() ? std::string() : edPages->text().toStdString());
}

void TdeDocumentDlg::btnOKClick()
{
    if (!Engine) {
        accept();
        return;
    }
    if (const std::optional<TEntryError> error = CheckEntries()) {
        Dialogs().ShowMessage(TDialogKind::Error, error->Message, this);
        // Show the page that holds the field, then the field.
        for (int page = 0; page < pcDocument->count(); ++page)
            if (pcDocument->widget(page)->isAncestorOf(error->Field) && page < lbDocumentDlg->count()) {
                lbDocumentDlg->setCurrentRow(page);
                lbDocumentDlgClick();
            }
        error->Field->setFocus();
        return;
    }
    try {
        WriteSettings();
    } catch (const std::exception &e) {
        // An engine that cannot take a setting keeps the dialog open.
        Dialogs().ShowMessage(TDialogKind::Error, QString::fromStdString(e.what()), this);
        return;
    }
    accept();
}

void TdeDocumentDlg::rbtnAllClick() { edPages->clear(); }

void TdeDocumentDlg::rbtnPagesClick() { edPages->setFocus(); }

void TdeDocumentDlg::edPagesChange(const QString &text)
{
    if (!text.isEmpty()) {
        rbtnPages->setChecked(true);
    } else {
        rbtnAll->setChecked(true);
        rbtnAll->setFocus();
    }
}

void TdeDocumentDlg::cbOutputImageFormatChange()
{
    const bool jpeg = chkImage->isChecked() && cbOutputImageFormat->currentText() == "JPEG";
    lblJPEGQuality->setEnabled(jpeg);
    edJPEGQuality->setEnabled(jpeg);
    QPalette palette = edJPEGQuality->palette();
    const QColor colour = jpeg ? WindowColour() : InactiveBorderColour();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    edJPEGQuality->setPalette(palette);
}

void TdeDocumentDlg::chkImageClick()
{
    EnableChildControls(*gbImageSettings, chkImage->isChecked());
    cbOutputImageFormatChange();
}

void TdeDocumentDlg::ShowBackgroundPicture(const TdePicture &picture)
{
    BackgroundPicture = picture;
    const bool has = !picture.Empty();
    imgBackgroundImage->setPixmap(has ? QPixmap::fromImage(pictureImage(picture)) : QPixmap());
    for (QWidget *widget : std::initializer_list<QWidget *>{btnImgPrvw, btnClear, lblBackgroundDisplayType,
                                                            cbBackgroundDisplayType})
        widget->setEnabled(has);
}

void TdeDocumentDlg::btnSelectImageClick()
{
    TFileDialogRequest request;
    request.Caption = "Select Image";
    request.Filter = "Pictures (*.bmp *.jpg *.jpeg);;All files (*)";
    request.Parent = this;
    const std::optional<QString> fileName = Dialogs().OpenPictureName(request);
    if (!fileName)
        return;
    const std::optional<TdePicture> picture = loadPicture(*fileName);
    if (!picture) {
        Dialogs().ShowMessage(TDialogKind::Error, "The picture in " + *fileName + " cannot be read.", this);
        return;
    }
    ShowBackgroundPicture(*picture);
}

void TdeDocumentDlg::btnImgPrvwClick()
{
    TdeImgPrvwDlg preview(this);
    preview.SetPicture(pictureImage(BackgroundPicture));
    preview.exec();
}

void TdeDocumentDlg::btnClearClick() { ShowBackgroundPicture({}); }

void TdeDocumentDlg::chkEMailAfterCreateClick()
{
    EnableChildControls(*gbEMail, chkEMailAfterCreate->isChecked());
    chkAuthenticationClick();
}

void TdeDocumentDlg::chkAuthenticationClick()
{
    EnableChildControls(*gbAuthentication, chkEMailAfterCreate->isChecked() && chkAuthentication->isChecked());
}

void TdeDocumentDlg::SwatchMouseDown(Qt::MouseButton, QPoint position) { MousePoint = position; }

void TdeDocumentDlg::SwatchMouseUp(TColourSwatch &swatch, Qt::MouseButton button, QPoint position)
{
    if (button != Qt::LeftButton || position != MousePoint)
        return;
    if (const std::optional<QColor> colour = Dialogs().ChooseColour(swatch.Colour(), this))
        swatch.SetColour(*colour);
}

// --- the plain-sheet dialog --------------------------------------------------

TdePlainSheetDlg::TdePlainSheetDlg(QWidget *parent) : TdePlainSheetDlg(parent, TNoCreate{})
{
    FormCreate();
}

TdePlainSheetDlg::TdePlainSheetDlg(QWidget *parent, TNoCreate) : TdeDocumentDlg(parent, TNoCreate{})
{
    setObjectName("TdePlainSheetDlg");
}

void TdePlainSheetDlg::LoadCaptions()
{
    TdeDocumentDlg::LoadCaptions();
    chkActiveHyperLinks->setText("Active HyperLinks");
}

void TdePlainSheetDlg::FormShow()
{
    if (auto *sheet = dynamic_cast<TdeCustomPlainSheetEngine *>(Engine))
        chkActiveHyperLinks->setChecked(sheet->Preferences().ActiveHyperLinks);
    const TdeItemsToRender items = Engine->ItemsToRender();
    chkText->setChecked(items.Contains(TdeItemsToRenderKind::irText));
    chkShape->setChecked(items.Contains(TdeItemsToRenderKind::irShape));
    chkImage->setChecked(items.Contains(TdeItemsToRenderKind::irImage));
    chkImageClick();
    TdeImageSettings &image = Engine->ImageSettings();
    cbImagePixelFormat->setCurrentIndex(static_cast<int>(image.ImagePixelFormat));
    edSourceDPI->setText(QString::number(image.SourceDPI));
    TdeDocInfo &info = Engine->DocInfo();
    edAuthor->setText(fromWide(info.Author()));
    edCreator->setText(fromWide(info.Creator()));
    edKeywords->setText(fromWide(info.Keywords()));
    edSubject->setText(fromWide(info.Subject()));
    edTitle->setText(fromWide(info.Title()));
    TdeDocumentDlg::FormShow();
}

std::optional<TEntryError> TdePlainSheetDlg::CheckEntries() const
{
    if (!integerOf(edSourceDPI->text()))
        return TEntryError{edSourceDPI, NotAValidInteger(edSourceDPI->text())};
    return TdeDocumentDlg::CheckEntries();
}

void TdePlainSheetDlg::WriteSettings()
{
    if (auto *sheet = dynamic_cast<TdeCustomPlainSheetEngine *>(Engine))
        sheet->Preferences().ActiveHyperLinks = chkActiveHyperLinks->isChecked();
    TdeItemsToRender items = Engine->ItemsToRender();
    const auto setKind = [&](TdeItemsToRenderKind kind, bool on) {
        if (on)
            items.Include(kind);
        else
            items.Exclude(kind);
    };
    setKind(TdeItemsToRenderKind::irText, chkText->isChecked());
    setKind(TdeItemsToRenderKind::irShape, chkShape->isChecked());
    setKind(TdeItemsToRenderKind::irImage, chkImage->isChecked());
    Engine->SetItemsToRender(items);
    TdeImageSettings &image = Engine->ImageSettings();
    // Without a selection (a plain-sheet dialog on its own) the format stays.
    if (cbOutputImageFormat->currentIndex() >= 0)
        image.SetOutputImageFormat(static_cast<TdeOutputImageFormat>(cbOutputImageFormat->currentData().toInt()));
    if (!edJPEGQuality->text().isEmpty())
        if (const std::optional<int> quality = integerOf(edJPEGQuality->text()))
            image.JPEGQuality = *quality;
    if (cbImagePixelFormat->currentIndex() >= 0)
        image.ImagePixelFormat = static_cast<TPixelFormat>(cbImagePixelFormat->currentData().toInt());
    image.SourceDPI = *integerOf(edSourceDPI->text());
    TdeDocInfo &info = Engine->DocInfo();
    info.SetAuthor(toWide(edAuthor->text()));
    info.SetCreator(toWide(edCreator->text()));
    info.SetKeywords(toWide(edKeywords->text()));
    info.SetSubject(toWide(edSubject->text()));
    info.SetTitle(toWide(edTitle->text()));
    TdeDocumentDlg::WriteSettings();
}

// --- the preview window ------------------------------------------------------

TdeImgPrvwDlg::TdeImgPrvwDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName("TdeImgPrvwDlg");
    setWindowFlags(Qt::Tool | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Preview");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *panel = named(new QWidget, "pnlBgImgPrvw");
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, WindowColour());
    panel->setPalette(palette);
    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(Border, Border, Border, Border);
    imgBgImgPrvw = named(new QLabel, "imgBgImgPrvw");
    imgBgImgPrvw->setAlignment(Qt::AlignCenter);
    imgBgImgPrvw->setScaledContents(true);
    inner->addWidget(imgBgImgPrvw);
    layout->addWidget(panel);
    resize(265, 301);
}

void TdeImgPrvwDlg::SetPicture(const QImage &image)
{
    imgBgImgPrvw->setPixmap(QPixmap::fromImage(image));
    imgBgImgPrvw->setFixedSize(image.size());
    resize(image.width() + 2 * Border, image.height() + 2 * Border);
}

} // namespace tessaran
