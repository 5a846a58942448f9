#pragma once
// A headless user interface for tests: records every message and question
// and answers questions from a script (No once the script runs out).

#include "network/User_Interface_Seam.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tessaran::test {

class TScriptedUserInterface : public TUserInterfaceSeam {
public:
    struct Shown {
        TMessageKind Kind;
        std::string Text;
        bool Question;
    };

    void ShowMessage(TMessageKind kind, const std::string &text) override
    {
        Messages.push_back({kind, text, false});
    }
    bool AskYesNo(TMessageKind kind, const std::string &text) override
    {
        Messages.push_back({kind, text, true});
        ++QuestionsAsked;
        if (Answers.empty())
            return false;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ProcessMessages() override
    {
        ++EventPumps;
        if (OnProcessMessages)
            OnProcessMessages();
    }
    int TestResultsMode() const override { return TestResults; }

    std::vector<Shown> Messages;
    std::deque<bool> Answers;
    int QuestionsAsked = 0;
    int EventPumps = 0;
    int TestResults = 0;
    std::function<void()> OnProcessMessages;
};

} // namespace tessaran::test
