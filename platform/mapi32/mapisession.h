// What the entry points of MAPI32.DLL share: the sessions, the answers of
// the dialogs a headless run cannot show, and the conversions between
// MAPI's descriptions and the store's messages.
#pragma once

#include "mailmessage.h"
#include "mailstore.h"
#include "mapibuffer.h"

#include <mapi.h>

#include <optional>
#include <string>
#include <vector>

namespace mapi32 {

// The store of `session`: a logged-on session's, or with session 0 and
// `temporaryAllowed` a temporary one on the user's store (the calls that
// log on by themselves when given none). `code` tells why there is none.
std::optional<MailStore> sessionStore(LHANDLE session, bool temporaryAllowed, ULONG& code);

// The non-empty items of `list` between `delimiter`s; none for null.
std::vector<std::string> splitList(const char* list, char delimiter);

// A dialog of the library answered from the user script: nullopt when it
// was cancelled, else the names or addresses the person added.
std::optional<std::vector<std::string>> answerDialog(const std::string& what);

// The user's own address: KY_MAIL_FROM, else login@host.
MailAddress userAddress();

// A recipient description as an address: its address when it has one,
// else its name resolved in the store's address book.
ULONG recipientAddress(const std::string& storeRoot, const MapiRecipDesc& recipient, MailAddress& address);

// The store's message from a MAPI description: recipients resolved (a
// class outside MAPI_TO..MAPI_BCC refused), attachments read from their
// files. `strictRecipients` refuses a name that does not resolve; without
// it the name stands as it is (a saved draft).
ULONG messageContent(const std::string& storeRoot, const MapiMessage& message, bool strictRecipients,
                     MailContent& content);

// A recipient description in `block`: the address as "SMTP:address",
// null texts for empty ones.
void fillRecipient(BufferBlock& block, MapiRecipDesc& out, const MailAddress& address, ULONG recipientClass);

// The date as MAPI writes it, "YYYY/MM/DD HH:MM" in local time.
std::string mapiDate(std::time_t when);

}  // namespace mapi32
