// The encodings of MIME: base64, quoted-printable, encoded words in
// headers, and character sets to and from code page 1252.
#pragma once

#include <string>

namespace mapi32 {

// Lines of 76 characters, each ended by "\n".
std::string encodeBase64(const std::string& data);
// Skips whatever is not of the alphabet (line ends, blanks) and stops at '='.
std::string decodeBase64(const std::string& text);

// Line breaks of `text` (CR LF or LF) become "\n"; lines stay under 77
// characters through soft breaks; text without a final line break ends in
// a soft break, so that decoding gives back exactly the text.
std::string encodeQuotedPrintable(const std::string& text);
std::string decodeQuotedPrintable(const std::string& text);

// A header value: as it is when it is printable ASCII, else base64 encoded
// words in windows-1252.
std::string encodeHeaderText(const std::string& text);
// Encoded words (B and Q) decoded and converted to code page 1252; the
// blanks between two encoded words dropped, as RFC 2047 says.
std::string decodeHeaderText(const std::string& value);

// Text of `charset` in code page 1252; characters it lacks become '?'.
// Unknown character sets pass unchanged.
std::string toCodePage1252(const std::string& text, const std::string& charset);

}  // namespace mapi32
