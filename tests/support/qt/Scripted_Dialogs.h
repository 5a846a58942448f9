#pragma once
// The message-and-dialog service for form tests: installs itself for its
// lifetime, checks every message box against the next expected one (kind
// and text) and gives its scripted answer; file and colour dialogs take
// their answers from queues; desktop openings are recorded.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/qt/Dialog_Service.h"

namespace tessaran::test {

class TScriptedDialogs : public TDialogService {
public:
    struct Expected {
        TDialogKind Kind;
        QString Text;
        TDialogButton Answer;
    };
    struct Shown {
        TMessageBoxRequest Request;
        TDialogButton Answer;
    };

    TScriptedDialogs() : previous_(InstallDialogs(this)) {}
    ~TScriptedDialogs() override
    {
        InstallDialogs(previous_);
        for (const Expected &missing : expected_)
            ADD_FAILURE() << "Expected message box not shown: " << missing.Text.toStdString();
    }
    TScriptedDialogs(const TScriptedDialogs &) = delete;
    TScriptedDialogs &operator=(const TScriptedDialogs &) = delete;

    // The next message box must be of this kind and text ("\r" line breaks);
    // it is answered with the given button.
    TScriptedDialogs &Expect(TDialogKind kind, const QString &text, TDialogButton answer = DialogOk)
    {
        expected_.push_back({kind, text, answer});
        return *this;
    }
    bool AllShown() const { return expected_.empty(); }

    TDialogButton ShowMessageBox(const TMessageBoxRequest &request) override
    {
        if (OnMessageBox)
            OnMessageBox(request);
        TDialogButton answer = fallbackAnswer(request.Buttons);
        if (expected_.empty()) {
            ADD_FAILURE() << "Unexpected message box (" << KindName(request.Kind)
                          << "): " << request.Text.toStdString();
        } else {
            const Expected next = expected_.front();
            expected_.pop_front();
            EXPECT_EQ(request.Text.toStdString(), next.Text.toStdString());
            EXPECT_EQ(std::string(KindName(request.Kind)), std::string(KindName(next.Kind))) << request.Text.toStdString();
            EXPECT_TRUE(request.Buttons & next.Answer)
                << "the box has no button for the scripted answer: " << request.Text.toStdString();
            answer = next.Answer;
        }
        Boxes.push_back({request, answer});
        return answer;
    }

    std::optional<QString> OpenFileName(const TFileDialogRequest &request) override { return nextFile(request); }
    std::optional<QString> SaveFileName(const TFileDialogRequest &request) override { return nextFile(request); }
    std::optional<QString> OpenPictureName(const TFileDialogRequest &request) override { return nextFile(request); }
    std::optional<QString> SavePictureName(const TFileDialogRequest &request) override { return nextFile(request); }

    std::optional<QColor> ChooseColour(const QColor &initial, QWidget *) override
    {
        ColourDialogsInitial.push_back(initial);
        if (Colours.empty()) {
            ADD_FAILURE() << "Unexpected colour dialog";
            return std::nullopt;
        }
        std::optional<QColor> answer = Colours.front();
        Colours.pop_front();
        return answer;
    }

    bool OpenWithDesktop(const QString &fileOrAddress) override
    {
        Opened.push_back(fileOrAddress);
        return OpenSucceeds;
    }

    static const char *KindName(TDialogKind kind)
    {
        switch (kind) {
        case TDialogKind::Information:
            return "Information";
        case TDialogKind::Warning:
            return "Warning";
        case TDialogKind::Error:
            return "Error";
        case TDialogKind::Confirmation:
            return "Confirmation";
        }
        return "?";
    }

    // Called with every box before it is answered (to look at the screen
    // as the user would see it then).
    std::function<void(const TMessageBoxRequest &)> OnMessageBox;
    std::vector<Shown> Boxes;
    // Answers of the file dialogs in order; no value is a cancel.
    std::deque<std::optional<QString>> FileNames;
    std::vector<TFileDialogRequest> FileDialogs;
    std::deque<std::optional<QColor>> Colours;
    std::vector<QColor> ColourDialogsInitial;
    std::vector<QString> Opened;
    bool OpenSucceeds = true;

private:
    static TDialogButton fallbackAnswer(TDialogButtons buttons)
    {
        for (TDialogButton button : {DialogCancel, DialogNo, DialogAbort, DialogOk})
            if (buttons & button)
                return button;
        return DialogNone;
    }

    std::optional<QString> nextFile(const TFileDialogRequest &request)
    {
        FileDialogs.push_back(request);
        if (FileNames.empty()) {
            ADD_FAILURE() << "Unexpected file dialog: " << request.Caption.toStdString();
            return std::nullopt;
        }
        if (!FileNames.front()) {
            FileNames.pop_front();
            return std::nullopt;
        }
        QString answer = *FileNames.front();
        FileNames.pop_front();
        return answer;
    }

    std::deque<Expected> expected_;
    TDialogService *previous_;
};

} // namespace tessaran::test
