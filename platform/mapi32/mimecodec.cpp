#include "mimecodec.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace mapi32 {
namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";

int base64Value(unsigned char c) {
  const char* at = c ? std::strchr(kBase64, c) : nullptr;
  return at ? static_cast<int>(at - kBase64) : -1;
}

int hexValue(unsigned char c) {
  if (std::isdigit(c)) return c - '0';
  c = static_cast<unsigned char>(std::toupper(c));
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Base64 without line breaks, for encoded words.
std::string base64Run(const std::string& data) {
  std::string out;
  for (size_t i = 0; i < data.size(); i += 3) {
    const unsigned a = static_cast<unsigned char>(data[i]);
    const unsigned b = i + 1 < data.size() ? static_cast<unsigned char>(data[i + 1]) : 0;
    const unsigned c = i + 2 < data.size() ? static_cast<unsigned char>(data[i + 2]) : 0;
    const unsigned triple = (a << 16) | (b << 8) | c;
    out += kBase64[(triple >> 18) & 63];
    out += kBase64[(triple >> 12) & 63];
    out += i + 1 < data.size() ? kBase64[(triple >> 6) & 63] : '=';
    out += i + 2 < data.size() ? kBase64[triple & 63] : '=';
  }
  return out;
}

// One encoded word's text (between "=?" and "?="), decoded; false when it
// is not one.
bool decodeWord(const std::string& word, std::string& out) {
  const auto q1 = word.find('?');
  const auto q2 = q1 == std::string::npos ? q1 : word.find('?', q1 + 1);
  if (q2 == std::string::npos || q2 != q1 + 2) return false;
  std::string charset = word.substr(0, q1);
  if (const auto star = charset.find('*'); star != std::string::npos) charset.resize(star);  // RFC 2231 language
  const char encoding = static_cast<char>(std::toupper(static_cast<unsigned char>(word[q1 + 1])));
  std::string payload = word.substr(q2 + 1);
  std::string bytes;
  if (encoding == 'B') {
    bytes = decodeBase64(payload);
  } else if (encoding == 'Q') {
    for (char& c : payload) {
      if (c == '_') c = ' ';
    }
    bytes = decodeQuotedPrintable(payload);
  } else {
    return false;
  }
  out += toCodePage1252(bytes, charset);
  return true;
}

}  // namespace

std::string encodeBase64(const std::string& data) {
  std::string run = base64Run(data), out;
  for (size_t i = 0; i < run.size(); i += 76) out += run.substr(i, 76) + "\n";
  return out;
}

std::string decodeBase64(const std::string& text) {
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  for (unsigned char c : text) {
    if (c == '=') break;
    const int value = base64Value(c);
    if (value < 0) continue;
    buffer = (buffer << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  return out;
}

std::string encodeQuotedPrintable(const std::string& text) {
  std::string out, line;
  auto flush = [&](bool hard) {
    // A blank at the end of a line would be lost in transport.
    if (hard && !line.empty() && (line.back() == ' ' || line.back() == '\t')) {
      const unsigned char last = static_cast<unsigned char>(line.back());
      line.pop_back();
      line += '=';
      line += kHex[last >> 4];
      line += kHex[last & 15];
    }
    out += line + (hard ? "\n" : "=\n");
    line.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n') {
      flush(true);
      continue;
    }
    std::string piece;
    if ((c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t') {
      piece = static_cast<char>(c);
    } else {
      piece = {'=', kHex[c >> 4], kHex[c & 15]};
    }
    if (line.size() + piece.size() > 75) flush(false);
    line += piece;
  }
  // Text without a final line break ends in a soft break, so that none is
  // added when read back.
  if (!line.empty()) flush(false);
  return out;
}

std::string decodeQuotedPrintable(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
      continue;
    }
    // A soft break: '=' then optional blanks and the line end.
    size_t j = i + 1;
    while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
    if (j < text.size() && (text[j] == '\r' || text[j] == '\n')) {
      if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
      i = j;
      continue;
    }
    if (j >= text.size()) break;
    const int high = i + 1 < text.size() ? hexValue(static_cast<unsigned char>(text[i + 1])) : -1;
    const int low = i + 2 < text.size() ? hexValue(static_cast<unsigned char>(text[i + 2])) : -1;
    if (high < 0 || low < 0) {
      out += '=';  // not an escape: kept as written
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string encodeHeaderText(const std::string& text) {
  bool plain = true;
  for (unsigned char c : text) plain = plain && c >= 32 && c < 127;
  if (plain && text.find("=?") == std::string::npos) return text;
  // 45 bytes give 60 characters of base64: each word fits a folded line.
  std::string out;
  for (size_t i = 0; i < text.size(); i += 45) {
    if (i) out += "\n ";
    out += "=?windows-1252?B?" + base64Run(text.substr(i, 45)) + "?=";
  }
  return out;
}

std::string decodeHeaderText(const std::string& value) {
  std::string out, pendingBlanks;
  bool lastWasWord = false;
  size_t i = 0;
  while (i < value.size()) {
    if (value.compare(i, 2, "=?") == 0) {
      const auto q1 = value.find('?', i + 2);
      const auto q2 = q1 == std::string::npos ? q1 : value.find('?', q1 + 1);
      const auto end = q2 == std::string::npos ? q2 : value.find("?=", q2 + 1);
      std::string decoded;
      if (end != std::string::npos && decodeWord(value.substr(i + 2, end - i - 2), decoded)) {
        if (!lastWasWord) out += pendingBlanks;
        pendingBlanks.clear();
        out += decoded;
        lastWasWord = true;
        i = end + 2;
        continue;
      }
    }
    const char c = value[i++];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      pendingBlanks += c == '\t' ? '\t' : ' ';
      continue;
    }
    out += pendingBlanks;
    pendingBlanks.clear();
    out += c;
    lastWasWord = false;
  }
  return out + pendingBlanks;
}

std::string toCodePage1252(const std::string& text, const std::string& charset) {
  const std::string name = lower(charset);
  if (name.empty() || name == "windows-1252" || name == "cp1252" || name == "us-ascii" || name == "ascii") return text;
  iconv_t converter = iconv_open("WINDOWS-1252", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out;
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* to = buffer;
    size_t toLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &to, &toLeft);
    out.append(buffer, static_cast<size_t>(to - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      if (errno == EINVAL) break;  // cut in the middle of a character
      out += '?';
      // Skip the whole character the code page lacks (a UTF-8 sequence).
      size_t skip = 1;
      if (name == "utf-8" || name == "utf8") {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace mapi32
