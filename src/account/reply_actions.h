#pragma once

#include <string>
#include <string_view>

#include "account/account_context.h"
#include "account/server_reply.h"
#include "ui/control_names.h"

namespace account {

// What the launcher does with each recognised reply. An action reads the fields it needs
// when the reply arrives, not when the request went out.
class LauncherReplies : public ReplyActions {
  public:
    explicit LauncherReplies(AccountContext& context) : c_(context) {}

    // The connection's data arrival. The dispatch works on its own copy of the bytes: an
    // action's message box lets the next arrival in, which brings bytes of its own.
    void arrived() {
        std::string reply = c_.client.receivedData();
        onServerReply(reply, *this);
    }

    void boardReply(int slot, std::string content) override;
    void statusReply(ReplyCode code) override;

  private:
    void emptyFields(const ui::FieldList& names);
    void offerUpdate();

    AccountContext& c_;
};

}  // namespace account
