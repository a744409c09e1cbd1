// The mail library's message reader on arbitrary bytes (what a delivery
// agent may leave in the maildir): it must never fail, and what it reads
// must survive being written and read again: the same attachments, byte
// for byte.
#include <cstdlib>
#include <string>

#include "../platform/mapi32/mailmessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const mapi32::MailContent read = mapi32::parseMessage(text);
  const mapi32::MailContent again = mapi32::parseMessage(mapi32::composeMessage(read, true));
  if (again.attachments.size() != read.attachments.size()) std::abort();
  for (size_t i = 0; i < read.attachments.size(); ++i) {
    if (again.attachments[i].data != read.attachments[i].data) std::abort();
  }
  return 0;
}
