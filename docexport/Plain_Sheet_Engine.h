#pragma once
// The layer between the abstract document engine and the PDF engine: its
// own preferences class (adding active hyperlinks) and the document's table
// of contents, from which the PDF writer builds the outline.

#include <memory>
#include <string>
#include <vector>

#include "docexport/Document_Engine.h"

namespace tessaran {

// One entry of the table of contents: a position on a page, or a link.
class TdeTOCItem {
public:
    WideString Title;
    // Page number from 1; 0 for a link entry.
    int PageNumber = 0;
    // -1 for a top-level entry, else the index of an earlier entry.
    int ParentNode = -1;
    // Native; X is always 0.
    double X = 0;
    double Y = 0;
    // Empty for a page entry.
    std::string URL;
};

class TdePlainSheetPreferences : public TdePreferences {
public:
    TdePlainSheetPreferences() = default;
    // Turns links found in unrotated text into active links. A plain store;
    // Assign leaves it as it is.
    bool ActiveHyperLinks = true;
};

class TdeCustomPlainSheetEngine : public TdeCustomDocumentEngine {
public:
    explicit TdeCustomPlainSheetEngine(TdeBaseComponent *owner = nullptr);

    // Starts an empty table of contents, then opens the document.
    void BeginDoc() override;
    // Writes the document (with its outline), then drops the table of contents.
    void EndDoc() override;

    // A page entry; -1 (nothing added) unless a document is open, ParentNode
    // is -1 or an earlier entry and PageNumber names a page created so far.
    // Top is a native vertical position on that page, not in MeasurementUnit.
    int AddTOCItem(const WideString &Title, int ParentNode, int PageNumber, double Top);
    // A link entry; -1 unless a document is open and ParentNode is valid.
    int AddTOCItem(const WideString &Title, int ParentNode, const std::string &URL);

    // Entries in order (every parent before its children); none outside a document.
    const std::vector<std::unique_ptr<TdeTOCItem>> *TOCItemList() const { return FTOCItemList.get(); }

    TdePlainSheetPreferences &Preferences() { return static_cast<TdePlainSheetPreferences &>(TdeCustomDocumentEngine::Preferences()); }

protected:
    std::unique_ptr<TdePreferences> PreferencesClass() const override;

private:
    bool IsValidParent(int parentNode) const;

    std::unique_ptr<std::vector<std::unique_ptr<TdeTOCItem>>> FTOCItemList;
};

} // namespace tessaran
