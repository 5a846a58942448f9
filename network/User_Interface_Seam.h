#pragma once
// The network model's only way up to the user interface: message boxes,
// Yes/No questions, pumping window messages during long work, and the
// test-results switch of the example-systems browser. The main window
// implements it with Qt; tests answer its questions from a script.

#include <functional>
#include <string>
#include <vector>

namespace tessaran {

enum class TMessageKind { Information, Warning, Error, Confirmation };

class TUserInterfaceSeam {
public:
    virtual ~TUserInterfaceSeam() = default;

    // A modal message box with an OK button. Lines are separated by "\r".
    virtual void ShowMessage(TMessageKind kind, const std::string &text) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(TMessageKind kind, const std::string &text) = 0;
    // Lets the user interface handle pending events (timers, the Stop button).
    virtual void ProcessMessages() = 0;
    // Non-zero while the example browser generates test results: the model
    // then writes its log lines but shows no message boxes of some checks.
    virtual int TestResultsMode() const = 0;
};

// Used when no user interface is attached: shows nothing, answers No.
class TSilentUserInterface : public TUserInterfaceSeam {
public:
    void ShowMessage(TMessageKind, const std::string &) override {}
    bool AskYesNo(TMessageKind, const std::string &) override { return false; }
    void ProcessMessages() override {}
    int TestResultsMode() const override { return 0; }
};

// The shared do-nothing instance, the default of every network.
TUserInterfaceSeam &SilentUserInterface();

// The results log: a list of lines that the checks and the solver append to.
// A blank line is a single space. The user interface may watch additions.
class TResultsLog {
public:
    void Add(const std::string &line)
    {
        Lines.push_back(line);
        if (OnLineAdded)
            OnLineAdded(line);
    }
    void Clear() { Lines.clear(); }
    int Count() const { return static_cast<int>(Lines.size()); }
    const std::string &operator[](int index) const { return Lines.at(static_cast<std::size_t>(index)); }

    std::vector<std::string> Lines;
    std::function<void(const std::string &)> OnLineAdded;
};

// A grid of texts addressed by column and row (0-based, as the result tables
// address them), with column widths in pixels. Result and input-data tables
// fill it; the results sheet and the edit grid show it.
class TStringGrid {
public:
    TStringGrid() = default;
    TStringGrid(int colCount, int rowCount) { SetSize(colCount, rowCount); }

    void SetSize(int colCount, int rowCount);
    void SetColCount(int colCount) { SetSize(colCount, RowCount()); }
    void SetRowCount(int rowCount) { SetSize(ColCount(), rowCount); }
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }

    // Reading outside the grid gives an empty text; writing outside raises.
    const std::string &Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string &text);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // A whole row's cells.
    std::vector<std::string> Row(int row) const;
    void SetRow(int row, const std::vector<std::string> &texts);
    void Clear();

    int FixedRows = 1;
    int FixedCols = 0;
    int DefaultColWidth = 64;

private:
    int colCount_ = 0;
    int rowCount_ = 0;
    std::vector<std::string> cells_;
    std::vector<int> widths_;
};

} // namespace tessaran
