#include "mailmessage.h"

#include "mimecodec.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>

namespace mapi32 {
namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The date in RFC 5322 form, in local time with its offset; the names are
// English whatever the locale.
std::string rfcDate(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  const long offset = local.tm_gmtoff / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[local.tm_wday], local.tm_mday,
                kMonths[local.tm_mon], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
                offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
  return text;
}

std::string randomToken() {
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  char text[48];
  std::snprintf(text, sizeof text, "%08x%08x.%u.%u", device(), device(), static_cast<unsigned>(getpid()), counter++);
  return text;
}

std::string formatAddress(const MailAddress& address) {
  const std::string plain = plainAddress(address.address);
  if (address.name.empty() || address.name == plain) return plain;
  const std::string encoded = encodeHeaderText(address.name);
  if (encoded != address.name) return encoded + " <" + plain + ">";
  std::string quoted = "\"";
  for (char c : address.name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\" <" + plain + ">";
}

std::string quotedParameter(const std::string& value) {
  std::string out = "\"";
  for (char c : encodeHeaderText(value)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c == '\n' ? ' ' : c;
  }
  return out + "\"";
}

std::string windowsLineBreaks(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// --- reading ---

struct Part {
  std::multimap<std::string, std::string> headers;  // lower-case names, raw values
  std::string body;

  std::string header(const std::string& name) const {
    auto found = headers.find(name);
    return found == headers.end() ? "" : found->second;
  }
};

Part splitPart(const std::string& text) {
  Part part;
  size_t pos = 0;
  std::string name, value;
  auto keep = [&] {
    if (!name.empty()) part.headers.emplace(lower(trim(name)), trim(value));
    name.clear();
    value.clear();
  };
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (line.empty()) break;
    if ((line[0] == ' ' || line[0] == '\t') && !name.empty()) {
      value += line;  // folded: the line break goes, the blank stays
      continue;
    }
    keep();
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    name = line.substr(0, colon);
    value = line.substr(colon + 1);
  }
  keep();
  part.body = pos < text.size() ? text.substr(pos) : "";
  return part;
}

// "type/sub; a=b; c=\"d\"" as the lower-case type and its parameters.
std::string contentType(const std::string& value, std::map<std::string, std::string>& parameters) {
  std::vector<std::string> pieces;
  std::string piece;
  bool quoted = false;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\' && quoted && i + 1 < value.size()) {
      piece += value[++i];
      continue;
    }
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (c == ';' && !quoted) {
      pieces.push_back(piece);
      piece.clear();
      continue;
    }
    piece += c;
  }
  pieces.push_back(piece);
  for (size_t i = 1; i < pieces.size(); ++i) {
    const auto equals = pieces[i].find('=');
    if (equals == std::string::npos) continue;
    parameters[lower(trim(pieces[i].substr(0, equals)))] = trim(pieces[i].substr(equals + 1));
  }
  return lower(trim(pieces[0]));
}

std::string transferDecoded(const Part& part) {
  const std::string encoding = lower(part.header("content-transfer-encoding"));
  if (encoding == "base64") return decodeBase64(part.body);
  if (encoding == "quoted-printable") return decodeQuotedPrintable(part.body);
  return part.body;
}

std::vector<MailAddress> parseAddresses(const std::string& value) {
  std::vector<std::string> items;
  std::string item;
  bool quoted = false;
  int angle = 0;
  for (char c : value) {
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '<') ++angle;
    if (!quoted && c == '>' && angle) --angle;
    if (c == ',' && !quoted && !angle) {
      items.push_back(item);
      item.clear();
      continue;
    }
    item += c;
  }
  items.push_back(item);
  std::vector<MailAddress> addresses;
  for (const std::string& raw : items) {
    const std::string text = trim(raw);
    if (text.empty()) continue;
    MailAddress address;
    const auto open = text.rfind('<');
    const auto close = text.rfind('>');
    if (open != std::string::npos && close != std::string::npos && close > open) {
      address.address = trim(text.substr(open + 1, close - open - 1));
      std::string name = trim(text.substr(0, open));
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        std::string unquoted;
        for (size_t i = 1; i + 1 < name.size(); ++i) {
          if (name[i] == '\\' && i + 2 < name.size()) ++i;
          unquoted += name[i];
        }
        name = unquoted;
      }
      address.name = decodeHeaderText(name);
    } else {
      address.address = text;
    }
    if (address.name.empty()) address.name = address.address;
    addresses.push_back(address);
  }
  return addresses;
}

std::time_t parseDate(const std::string& value) {
  std::string text = trim(value);
  if (const auto comma = text.find(','); comma != std::string::npos) text = trim(text.substr(comma + 1));
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  char month[4] = "", zone[8] = "";
  const int read = std::sscanf(text.c_str(), "%d %3s %d %d:%d:%d %7s", &day, month, &year, &hour, &minute, &second, zone);
  if (read < 5) {
    if (std::sscanf(text.c_str(), "%d %3s %d %d:%d %7s", &day, month, &year, &hour, &minute, zone) < 5) return 0;
    second = 0;
  }
  int monthIndex = -1;
  for (int i = 0; i < 12; ++i) {
    if (strncasecmp(month, kMonths[i], 3) == 0) monthIndex = i;
  }
  if (monthIndex < 0) return 0;
  if (year < 100) year += year < 50 ? 2000 : 1900;
  std::tm utc{};
  utc.tm_year = year - 1900;
  utc.tm_mon = monthIndex;
  utc.tm_mday = day;
  utc.tm_hour = hour;
  utc.tm_min = minute;
  utc.tm_sec = second;
  std::time_t when = timegm(&utc);
  if ((zone[0] == '+' || zone[0] == '-') && std::strlen(zone) == 5) {
    const int offset = ((zone[1] - '0') * 10 + (zone[2] - '0')) * 60 + (zone[3] - '0') * 10 + (zone[4] - '0');
    when -= (zone[0] == '-' ? -offset : offset) * 60;
  }
  return when;
}

// Walks the part tree: the first plain text that is no attachment is the
// body, every named or attached part an attachment.
void collect(const Part& part, MailContent& content) {
  std::map<std::string, std::string> parameters;
  const std::string type = contentType(part.header("content-type"), parameters);
  if (type.rfind("multipart/", 0) == 0 && !parameters["boundary"].empty()) {
    const std::string delimiter = "--" + parameters["boundary"];
    size_t pos = 0;
    std::vector<std::string> pieces;
    size_t start = std::string::npos;
    while (pos <= part.body.size()) {
      size_t end = part.body.find('\n', pos);
      if (end == std::string::npos) end = part.body.size();
      std::string line = part.body.substr(pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind(delimiter, 0) == 0) {
        if (start != std::string::npos) {
          size_t stop = pos;
          if (stop > start && part.body[stop - 1] == '\n') --stop;  // the break belongs to the delimiter
          if (stop > start && part.body[stop - 1] == '\r') --stop;
          pieces.push_back(part.body.substr(start, stop - start));
        }
        if (line.compare(delimiter.size(), 2, "--") == 0) break;
        start = end + 1;
      }
      pos = end + 1;
    }
    for (const std::string& piece : pieces) collect(splitPart(piece), content);
    return;
  }
  std::map<std::string, std::string> disposition;
  const std::string dispositionType = contentType(part.header("content-disposition"), disposition);
  std::string fileName = !disposition["filename"].empty() ? disposition["filename"] : parameters["name"];
  const bool attached = dispositionType == "attachment" || !fileName.empty();
  const std::string data = transferDecoded(part);
  if (!attached && (type.empty() || type == "text/plain") && content.body.empty()) {
    content.body = windowsLineBreaks(toCodePage1252(data, parameters["charset"]));
    return;
  }
  if (!attached) return;  // an alternative form of the text
  fileName = decodeHeaderText(fileName);
  // Only the name: a sender's directories have no meaning here.
  if (const auto slash = fileName.find_last_of("/\\"); slash != std::string::npos) fileName = fileName.substr(slash + 1);
  content.attachments.push_back({fileName, data});
}

}  // namespace

std::string plainAddress(const std::string& address) {
  return strncasecmp(address.c_str(), "SMTP:", 5) == 0 ? address.substr(5) : address;
}

std::string composeMessage(const MailContent& content, bool withBlindCopies) {
  std::string text = "Date: " + rfcDate(content.date ? content.date : std::time(nullptr)) + "\n";
  text += "From: " + formatAddress(content.from) + "\n";
  static constexpr struct {
    unsigned recipientClass;
    const char* header;
  } kHeaders[] = {{1, "To"}, {2, "Cc"}, {3, "Bcc"}};
  for (const auto& [recipientClass, header] : kHeaders) {
    if (recipientClass == 3 && !withBlindCopies) continue;
    std::string list;
    for (const MailRecipient& recipient : content.recipients) {
      if (recipient.recipientClass != recipientClass) continue;
      list += (list.empty() ? "" : ",\n ") + formatAddress(recipient);
    }
    if (!list.empty()) text += std::string(header) + ": " + list + "\n";
  }
  if (!content.subject.empty()) text += "Subject: " + encodeHeaderText(content.subject) + "\n";
  text += "Message-ID: <" + randomToken() + "@ky721>\n";
  if (content.receiptRequested) text += "Disposition-Notification-To: " + formatAddress(content.from) + "\n";
  if (!content.messageType.empty()) text += "X-Message-Type: " + encodeHeaderText(content.messageType) + "\n";
  if (!content.conversationId.empty()) text += "X-Conversation-ID: " + encodeHeaderText(content.conversationId) + "\n";
  text += "MIME-Version: 1.0\n";
  const std::string bodyHeaders = "Content-Type: text/plain; charset=windows-1252\nContent-Transfer-Encoding: quoted-printable\n";
  if (content.attachments.empty()) return text + bodyHeaders + "\n" + encodeQuotedPrintable(content.body);
  const std::string boundary = "=_ky_" + randomToken();
  text += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
  text += "--" + boundary + "\n" + bodyHeaders + "\n" + encodeQuotedPrintable(content.body) + "\n";
  for (const MailAttachment& attachment : content.attachments) {
    text += "--" + boundary + "\n";
    text += "Content-Type: application/octet-stream; name=" + quotedParameter(attachment.fileName) + "\n";
    text += "Content-Disposition: attachment; filename=" + quotedParameter(attachment.fileName) + "\n";
    text += "Content-Transfer-Encoding: base64\n\n" + encodeBase64(attachment.data) + "\n";
  }
  return text + "--" + boundary + "--\n";
}

MailContent parseMessage(const std::string& text) {
  const Part message = splitPart(text);
  MailContent content;
  content.subject = decodeHeaderText(message.header("subject"));
  content.messageType = decodeHeaderText(message.header("x-message-type"));
  content.conversationId = decodeHeaderText(message.header("x-conversation-id"));
  content.date = parseDate(message.header("date"));
  content.receiptRequested = !message.header("disposition-notification-to").empty();
  const auto from = parseAddresses(message.header("from"));
  if (!from.empty()) content.from = from.front();
  static constexpr struct {
    const char* header;
    unsigned recipientClass;
  } kHeaders[] = {{"to", 1}, {"cc", 2}, {"bcc", 3}};
  for (const auto& [header, recipientClass] : kHeaders) {
    auto [first, last] = message.headers.equal_range(header);
    for (auto it = first; it != last; ++it) {
      for (const MailAddress& address : parseAddresses(it->second)) {
        MailRecipient recipient;
        static_cast<MailAddress&>(recipient) = address;
        recipient.recipientClass = recipientClass;
        content.recipients.push_back(recipient);
      }
    }
  }
  collect(message, content);
  return content;
}

}  // namespace mapi32
