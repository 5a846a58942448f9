#pragma once
// Message boxes and questions of the whole program, shown with Qt; the
// networks' seam to the user interface goes through the same service.

#include "network/User_Interface_Seam.h"

#include <QString>

class QWidget;

namespace tessaran {

class TQtMessageService : public TUserInterfaceSeam {
public:
    // Boxes open over this window (or the active window when none is set).
    void SetParentWindow(QWidget *window) { parent_ = window; }

    void ShowMessage(TMessageKind kind, const std::string &text) override;
    bool AskYesNo(TMessageKind kind, const std::string &text) override;
    void ProcessMessages() override;
    int TestResultsMode() const override { return TestResults; }

    // The texts keep "\r" as their line break; boxes show it as one.
    static QString BoxText(const std::string &text);

    int TestResults = 0;

private:
    QWidget *parent_ = nullptr;
};

} // namespace tessaran
