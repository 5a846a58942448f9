#pragma once
// The PDF engine's setup dialog: the plain-sheet dialog's pages and rules
// with the PDF settings added (font embedding, the background, compression,
// font encoding, how a viewer opens the document and page transitions).

#include "docexport/dialogs/Document_Dlg.h"

class QButtonGroup;

namespace tessaran {

class TdeCustomPDFEngine;

class TdePDFEngineDlg : public TdePlainSheetDlg {
    Q_OBJECT
public:
    explicit TdePDFEngineDlg(QWidget *parent = nullptr);

protected:
    void LoadCaptions() override;
    void FillLists() override;
    void FormShow() override;
    std::optional<TEntryError> CheckEntries() const override;
    void WriteSettings() override;

    void chkCompressDocumentClick();
    void cbPageTransitionEffectChange();

    TdeCustomPDFEngine &PDFEngine() const;

    QGroupBox *rgpEmbedTrueTypeFonts = nullptr;
    QButtonGroup *EmbedButtons = nullptr;
    QWidget *tsPDFAdvanced = nullptr, *tsViewerPreferences = nullptr;
    QCheckBox *chkCompressDocument = nullptr;
    QGroupBox *gbCompression = nullptr;
    QLabel *lblCompressionLevel = nullptr, *lblEncoding = nullptr;
    QComboBox *cbCompressionLevel = nullptr, *cbEncoding = nullptr;
    QLabel *lblPageLayout = nullptr, *lblPageMode = nullptr, *lblPageTransitionEffect = nullptr,
           *lblPageTransitionDuration = nullptr, *lblSecs = nullptr;
    QComboBox *cbPageLayout = nullptr, *cbPageMode = nullptr, *cbPageTransitionEffect = nullptr;
    QGroupBox *gbHideUIElements = nullptr, *gbPresentationMode = nullptr;
    QCheckBox *chkMenuBar = nullptr, *chkToolBar = nullptr, *chkNavigationControls = nullptr;
    QLineEdit *edPageTransitionDuration = nullptr;
};

// Makes the PDF engines show this dialog when their setup dialog is asked for.
void InstallPDFEngineSetupDialog();

} // namespace tessaran
