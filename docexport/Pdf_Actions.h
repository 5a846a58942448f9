#pragma once
// Actions of the extended PDF engine: on an annotation (its /A entry), on a
// page (open and close, the page's /AA) and the document's scripts run
// before and after printing and saving and before closing.

#include "docexport/Doc_Types.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tessaran {

enum class TdeAnnotActionType : std::uint8_t { aaGoTo, aaURI, aaNamed, aaGoToR, aaLaunch, aaJavaScript };
enum class TdeDestinationFit : std::uint8_t { dfXYZ, dfFit, dfFitH, dfFitV, dfFitR };
enum class TdeNamedActionType : std::uint8_t { naNextPage, naPrevPage, naFirstPage, naLastPage };

class TdeAnnotAction {
public:
    virtual ~TdeAnnotAction() = default;
    TdeAnnotActionType SubType() const { return FSubType; }

protected:
    explicit TdeAnnotAction(TdeAnnotActionType subType) : FSubType(subType) {}

private:
    TdeAnnotActionType FSubType;
};

// A page of this document; the rectangle is in the engine's measurement unit.
class TdeGoToAction : public TdeAnnotAction {
public:
    TdeGoToAction() : TdeAnnotAction(TdeAnnotActionType::aaGoTo) {}
    int DestPageNo = 1;
    int Zoom = 0;
    TdeDestinationFit Fit = TdeDestinationFit::dfXYZ;
    TdeRect DestRect;
};

class TdeURIAction : public TdeAnnotAction {
public:
    TdeURIAction() : TdeAnnotAction(TdeAnnotActionType::aaURI) {}
    std::string URIText;
};

class TdeNamedAction : public TdeAnnotAction {
public:
    TdeNamedAction() : TdeAnnotAction(TdeAnnotActionType::aaNamed) {}
    TdeNamedActionType NamedAction = TdeNamedActionType::naNextPage;
};

// A page of another document: DestPageNo from 1.
class TdeGoToRAction : public TdeAnnotAction {
public:
    TdeGoToRAction() : TdeAnnotAction(TdeAnnotActionType::aaGoToR) {}
    std::string FileName;
    int DestPageNo = 1;
    TdeDestinationFit Fit = TdeDestinationFit::dfXYZ;
    TdeRect DestRect;
    int Zoom = 0;
    bool NewWindow = false;
};

class TdeLaunchAction : public TdeAnnotAction {
public:
    TdeLaunchAction() : TdeAnnotAction(TdeAnnotActionType::aaLaunch) {}
    std::string FileName;
    bool NewWindow = false;
};

class TdeJavaScriptAction : public TdeAnnotAction {
public:
    TdeJavaScriptAction() : TdeAnnotAction(TdeAnnotActionType::aaJavaScript) {}
    WideString Script;
};

// The open and close actions of one page.
class TdePageEventAction {
public:
    int PageNo = -1;
    std::unique_ptr<TdeAnnotAction> OpenAction;
    std::unique_ptr<TdeAnnotAction> CloseAction;
};

// Document scripts, in the ANSI code page.
class TdeDocEventJSAction {
public:
    std::string BeforeClose;
    std::string BeforeSave;
    std::string AfterSave;
    std::string BeforePrint;
    std::string AfterPrint;

    bool Empty() const
    {
        return BeforeClose.empty() && BeforeSave.empty() && AfterSave.empty() && BeforePrint.empty() &&
               AfterPrint.empty();
    }
    void Clear() { *this = TdeDocEventJSAction{}; }
};

// The /S names and the fit names.
const char *ActionTypeName(TdeAnnotActionType type);
const char *DestinationFitName(TdeDestinationFit fit);
// With its leading blank: " /NextPage".
const char *NamedActionName(TdeNamedActionType type);

} // namespace tessaran
