// The address book of the mail library: the file "addresses" in the store's
// folder, one "Display Name <address>" a line ('#' starts a comment). A name
// resolves to the one entry whose display name or address equals it
// (ignoring case), else to the one entry whose display name contains it; a
// text holding '@' and no blank is an address of its own.
#pragma once

#include "mailmessage.h"

#include <windef.h>

#include <string>

namespace mapi32 {

struct Resolution {
  ULONG code;  // SUCCESS_SUCCESS, MAPI_E_UNKNOWN_RECIPIENT or MAPI_E_AMBIGUOUS_RECIPIENT
  MailAddress address;
};

Resolution resolveName(const std::string& storeRoot, const std::string& name);

}  // namespace mapi32
