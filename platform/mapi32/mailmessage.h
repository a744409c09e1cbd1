// Messages of the store as RFC 5322 text with MIME parts: what MAPI's
// message description holds, written out for other mail programs to read,
// and read back from what they deliver. Texts on the MAPI side are in code
// page 1252; in the file they are labelled windows-1252, and other
// character sets are converted when read.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace mapi32 {

struct MailAddress {
  std::string name;
  std::string address;  // plain, without an "SMTP:" prefix
};

struct MailRecipient : MailAddress {
  unsigned recipientClass = 1;  // MAPI_TO, MAPI_CC or MAPI_BCC
};

struct MailAttachment {
  std::string fileName;
  std::string data;
};

struct MailContent {
  std::string subject;
  std::string body;  // line breaks as CR LF
  std::string messageType;
  std::string conversationId;
  MailAddress from;
  std::vector<MailRecipient> recipients;
  std::time_t date = 0;
  bool receiptRequested = false;
  std::vector<MailAttachment> attachments;
};

// The message as RFC 5322 text. Blind copies are listed only `withBlindCopies`
// (the stored copy), never in what is handed on for delivery.
std::string composeMessage(const MailContent& content, bool withBlindCopies);

// Reads what composeMessage writes and what other mail programs deliver:
// folded headers, encoded words, quoted-printable and base64 parts, nested
// multiparts. Never fails: what cannot be read stays empty.
MailContent parseMessage(const std::string& text);

// An address as the user wrote it, without "SMTP:" ("smtp:" too).
std::string plainAddress(const std::string& address);

}  // namespace mapi32
