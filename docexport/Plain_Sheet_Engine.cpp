#include "docexport/Plain_Sheet_Engine.h"

namespace tessaran {

TdeCustomPlainSheetEngine::TdeCustomPlainSheetEngine(TdeBaseComponent *owner) : TdeCustomDocumentEngine(owner)
{
    ReplacePreferences(TdeCustomPlainSheetEngine::PreferencesClass());
}

std::unique_ptr<TdePreferences> TdeCustomPlainSheetEngine::PreferencesClass() const
{
    return std::make_unique<TdePlainSheetPreferences>();
}

void TdeCustomPlainSheetEngine::BeginDoc()
{
    // A list left by a cancelled start is replaced, never kept.
    if (!IsDocumentStarted())
        FTOCItemList = std::make_unique<std::vector<std::unique_ptr<TdeTOCItem>>>();
    TdeCustomDocumentEngine::BeginDoc();
}

void TdeCustomPlainSheetEngine::EndDoc()
{
    TdeCustomDocumentEngine::EndDoc();
    FTOCItemList.reset();
}

bool TdeCustomPlainSheetEngine::IsValidParent(int parentNode) const
{
    return FTOCItemList && parentNode >= -1 && parentNode < static_cast<int>(FTOCItemList->size());
}

int TdeCustomPlainSheetEngine::AddTOCItem(const WideString &Title, int ParentNode, int PageNumber, double Top)
{
    if (!IsDocumentStarted() || !IsValidParent(ParentNode) || PageNumber < 1 || PageNumber > PageCount())
        return -1;
    auto item = std::make_unique<TdeTOCItem>();
    item->Title = Title;
    item->PageNumber = PageNumber;
    item->ParentNode = ParentNode;
    item->X = 0;
    item->Y = Top;
    FTOCItemList->push_back(std::move(item));
    return static_cast<int>(FTOCItemList->size()) - 1;
}

int TdeCustomPlainSheetEngine::AddTOCItem(const WideString &Title, int ParentNode, const std::string &URL)
{
    if (!IsDocumentStarted() || !IsValidParent(ParentNode))
        return -1;
    auto item = std::make_unique<TdeTOCItem>();
    item->Title = Title;
    item->ParentNode = ParentNode;
    item->URL = URL;
    FTOCItemList->push_back(std::move(item));
    return static_cast<int>(FTOCItemList->size()) - 1;
}

} // namespace tessaran
