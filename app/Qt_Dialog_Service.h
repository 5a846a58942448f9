#pragma once
// The program's message-and-dialog service, shown with Qt: message boxes,
// file, picture and colour dialogs, and opening documents and addresses
// with the desktop's programs (xdg-open).

#include "network/User_Interface_Seam.h"
#include "platform/qt/Dialog_Service.h"

namespace tessaran {

class TQtDialogService : public TDialogService {
public:
    TDialogButton ShowMessageBox(const TMessageBoxRequest &request) override;
    std::optional<QString> OpenFileName(const TFileDialogRequest &request) override;
    std::optional<QString> SaveFileName(const TFileDialogRequest &request) override;
    std::optional<QString> OpenPictureName(const TFileDialogRequest &request) override;
    std::optional<QString> SavePictureName(const TFileDialogRequest &request) override;
    std::optional<QColor> ChooseColour(const QColor &initial, QWidget *parent) override;
    bool OpenWithDesktop(const QString &fileOrAddress) override;
};

// The networks' way up to the user: their boxes and questions go to the
// installed message-and-dialog service, their waits pump Qt's events.
class TDialogSeam : public TUserInterfaceSeam {
public:
    void ShowMessage(TMessageKind kind, const std::string &text) override;
    bool AskYesNo(TMessageKind kind, const std::string &text) override;
    void ProcessMessages() override;
    int TestResultsMode() const override { return TestResults; }

    int TestResults = 0;
};

TDialogKind DialogKindOf(TMessageKind kind);

} // namespace tessaran
