#pragma once
// The message that an engine may be asked to send with the files it has just
// written, and the adapter that a mail transport would plug into. No
// transport is part of the system: the base adapter sends nothing.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "docexport/Base_Component.h"

namespace tessaran {

using TStringList = std::vector<std::string>;

class TdeEmailSettings {
public:
    TdeEmailSettings() = default;
    // Copies every field, lists line by line.
    void Assign(const TdeEmailSettings &source) { *this = source; }
    // A new copy owned by the caller.
    std::unique_ptr<TdeEmailSettings> Clone() const { return std::make_unique<TdeEmailSettings>(*this); }

    std::string Host;
    std::string UserID;
    std::string Password;
    TStringList Attachments;
    TStringList Body;
    // Message date (days since 1899-12-30, fraction = time of day).
    double Date = 0;
    std::string FromAddress;
    std::string FromName;
    std::string ReplyTo;
    std::string Subject;
    TStringList RecipientList;
    std::string ReceiptRecipient;
    TStringList CCList;
    TStringList BCCList;
    bool AuthenticationRequired = false;
    int Port = 25;
};

using TNotifyEvent = std::function<void(TdeBaseComponent *sender)>;

class TdeEmailAdapter : public TdeBaseComponent {
public:
    using TdeBaseComponent::TdeBaseComponent;

    // The base adapter creates no settings object; a working adapter would.
    TdeEmailSettings *EMailSettings() const { return FEmailSettings.get(); }
    void SetEMailSettings(const TdeEmailSettings &value)
    {
        if (FEmailSettings)
            FEmailSettings->Assign(value);
    }
    virtual void SendEmail() {}

    TNotifyEvent OnEmailConnected, OnEmailDisConnected, OnEmailStatus, OnEmailSuccess;

protected:
    std::unique_ptr<TdeEmailSettings> FEmailSettings;
};

} // namespace tessaran
