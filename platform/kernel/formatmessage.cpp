// FormatMessageA: a message text from a string, a module's message table or
// the system table, with its inserts (%1 .. %99, each with an optional
// !printf format!) and escapes (%0 %n %r %t %% %. %! %space) expanded.
#include <internal/messagetext.h>
#include <winbase.h>
#include <winnls.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

std::optional<std::string> messageTableText(const void* data, size_t size, DWORD id) {
  // Layout: DWORD block count; blocks of {DWORD low id, DWORD high id,
  // DWORD offset of the first entry}; entries of {WORD length of the whole
  // entry, WORD flags (1 = UTF-16 text), text}. All offsets from the start.
  auto bytes = static_cast<const unsigned char*>(data);
  auto readDword = [&](size_t offset, DWORD& value) {
    if (offset > size || size - offset < 4) return false;
    std::memcpy(&value, bytes + offset, 4);
    return true;
  };
  auto readWord = [&](size_t offset, WORD& value) {
    if (offset > size || size - offset < 2) return false;
    std::memcpy(&value, bytes + offset, 2);
    return true;
  };
  DWORD blocks = 0;
  if (!bytes || !readDword(0, blocks)) return std::nullopt;
  for (DWORD block = 0; block < blocks; ++block) {
    DWORD low = 0, high = 0, offset = 0;
    size_t at = 4 + static_cast<size_t>(block) * 12;
    if (!readDword(at, low) || !readDword(at + 4, high) || !readDword(at + 8, offset)) return std::nullopt;
    if (id < low || id > high) continue;
    size_t entry = offset;
    for (DWORD skip = low; skip < id; ++skip) {
      WORD length = 0;
      if (!readWord(entry, length) || length < 4) return std::nullopt;
      entry += length;
    }
    WORD length = 0, flags = 0;
    if (!readWord(entry, length) || !readWord(entry + 2, flags) || length < 4 || entry + length > size)
      return std::nullopt;
    const unsigned char* text = bytes + entry + 4;
    size_t room = length - 4u;
    if (!(flags & 1)) return std::string(reinterpret_cast<const char*>(text), strnlen(reinterpret_cast<const char*>(text), room));
    std::u16string wide;
    for (size_t i = 0; i + 1 < room; i += 2) {
      char16_t c;
      std::memcpy(&c, text + i, 2);
      if (c == 0) break;
      wide.push_back(c);
    }
    if (wide.empty()) return std::string();
    int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string ansi(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), needed, nullptr, nullptr);
    return ansi;
  }
  return std::nullopt;
}

}  // namespace win32

namespace {

constexpr int kMostInserts = 99;

// What an insert's format says its argument is.
enum class Kind { pointer, int32, int64, real, wideString, wideChar };

// One insert sequence of a message: %n or %n!format!.
struct Insert {
  int number = 0;              // 1 .. 99
  std::string flags;           // printf flags
  std::string width, precision;  // digits, "*" or empty
  bool hasPrecision = false;
  std::string length;          // printf length prefix for the host
  char conversion = 's';
  Kind kind = Kind::pointer;
  size_t end = 0;              // offset after the sequence
};

// Parses "%n[!format!]" at `text[at]` (the '%'); nullopt when no number follows.
std::optional<Insert> parseInsert(const std::string& text, size_t at) {
  Insert insert;
  size_t i = at + 1;
  while (i < text.size() && i < at + 3 && text[i] >= '0' && text[i] <= '9') insert.number = insert.number * 10 + (text[i++] - '0');
  if (insert.number < 1 || insert.number > kMostInserts) return std::nullopt;
  insert.end = i;
  if (i >= text.size() || text[i] != '!') return insert;
  size_t close = text.find('!', i + 1);
  if (close == std::string::npos) return insert;  // no closing '!': the '!' is text
  std::string format = text.substr(i + 1, close - i - 1);
  insert.end = close + 1;
  size_t f = 0;
  while (f < format.size() && std::strchr("-+ #0", format[f])) insert.flags += format[f++];
  while (f < format.size() && (std::isdigit(static_cast<unsigned char>(format[f])) || format[f] == '*'))
    insert.width += format[f++];
  if (f < format.size() && format[f] == '.') {
    insert.hasPrecision = true;
    ++f;
    while (f < format.size() && (std::isdigit(static_cast<unsigned char>(format[f])) || format[f] == '*'))
      insert.precision += format[f++];
  }
  // Microsoft size prefixes: l is 32 bits (a Windows long), I64/ll 64 bits,
  // I pointer-sized, h short, w wide.
  bool wide = false, sixtyFour = false;
  if (format.compare(f, 3, "I64") == 0) {
    sixtyFour = true;
    f += 3;
  } else if (format.compare(f, 3, "I32") == 0) {
    f += 3;
  } else if (format.compare(f, 2, "ll") == 0) {
    sixtyFour = true;
    f += 2;
  } else if (f < format.size() && format[f] == 'I') {
    sixtyFour = true;
    ++f;
  } else if (f < format.size() && (format[f] == 'l' || format[f] == 'w')) {
    wide = true;  // also means 32-bit for integers
    ++f;
  } else if (f < format.size() && format[f] == 'h') {
    insert.length = "h";
    ++f;
  }
  if (f >= format.size()) return std::nullopt;
  insert.conversion = format[f];
  switch (insert.conversion) {
    case 's': insert.kind = wide ? Kind::wideString : Kind::pointer; break;
    case 'S': insert.kind = Kind::wideString; insert.conversion = 's'; break;
    case 'c': insert.kind = wide ? Kind::wideChar : Kind::int32; break;
    case 'C': insert.kind = Kind::wideChar; insert.conversion = 'c'; break;
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
      insert.kind = sixtyFour ? Kind::int64 : Kind::int32;
      if (sixtyFour) insert.length = "ll";
      break;
    case 'p': insert.kind = Kind::pointer; break;
    case 'e': case 'E': case 'f': case 'g': case 'G': case 'a': case 'A': insert.kind = Kind::real; break;
    default: return std::nullopt;
  }
  return insert;
}

// Argument values by insert number, from an array or read off a va_list.
class Arguments {
 public:
  Arguments(const DWORD_PTR* array) : array_(array) {}
  Arguments(std::vector<DWORD_PTR> values, std::map<int, double> reals)
      : list_(std::move(values)), reals_(std::move(reals)) {}

  bool has(int number) const { return array_ || number <= static_cast<int>(list_.size()); }
  DWORD_PTR value(int number) const { return array_ ? array_[number - 1] : list_[number - 1]; }
  double real(int number) const {
    if (array_) {
      double d;
      DWORD_PTR bits = array_[number - 1];
      std::memcpy(&d, &bits, sizeof d);
      return d;
    }
    auto it = reals_.find(number);
    return it == reals_.end() ? 0.0 : it->second;
  }

 private:
  const DWORD_PTR* array_ = nullptr;
  std::vector<DWORD_PTR> list_;
  std::map<int, double> reals_;
};

// The kinds of argument 1 .. n that a message's inserts use: a va_list can
// only be read in order and by type.
std::map<int, Kind> argumentKinds(const std::string& text) {
  std::map<int, Kind> kinds;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] == '%') {
      ++at;
      continue;
    }
    auto insert = parseInsert(text, at);
    if (!insert) continue;
    int number = insert->number;
    if (insert->width == "*") kinds.emplace(number++, Kind::int32);
    if (insert->precision == "*") kinds.emplace(number++, Kind::int32);
    kinds.emplace(number, insert->kind);
  }
  return kinds;
}

Arguments readList(va_list list, const std::map<int, Kind>& kinds) {
  std::vector<DWORD_PTR> values;
  std::map<int, double> reals;
  int last = kinds.empty() ? 0 : kinds.rbegin()->first;
  for (int number = 1; number <= last && number <= kMostInserts + 2; ++number) {
    auto it = kinds.find(number);
    Kind kind = it == kinds.end() ? Kind::pointer : it->second;
    switch (kind) {
      case Kind::int32:
      case Kind::wideChar: values.push_back(static_cast<DWORD>(va_arg(list, int))); break;
      case Kind::real: reals[number] = va_arg(list, double); values.push_back(0); break;
      default: values.push_back(reinterpret_cast<DWORD_PTR>(va_arg(list, void*))); break;
    }
  }
  return Arguments(std::move(values), std::move(reals));
}

// Bounded printf of one value with a directive built from an insert.
template <class T>
std::string formatted(const std::string& directive, int width, int precision, T value) {
  int count = std::snprintf(nullptr, 0, directive.c_str(), width, precision, value);
  if (count < 0) return std::string();
  std::string out(static_cast<size_t>(count) + 1, '\0');
  std::snprintf(out.data(), out.size(), directive.c_str(), width, precision, value);
  out.resize(static_cast<size_t>(count));
  return out;
}

std::string narrowed(const char16_t* wide, int length) {
  if (!wide) return "(null)";
  if (length < 0) {
    length = 0;
    while (wide[length]) ++length;
  }
  if (length == 0) return std::string();
  int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), needed, nullptr, nullptr);
  return out;
}

// The text of one insert; nullopt when its argument is missing.
std::optional<std::string> expandInsert(const Insert& insert, const Arguments& args) {
  int number = insert.number;
  int width = 0, precision = -1;
  // "*" width and precision come from the insert's argument and the next.
  if (insert.width == "*") {
    if (!args.has(number)) return std::nullopt;
    width = static_cast<int>(args.value(number++));
  } else if (!insert.width.empty()) {
    width = std::atoi(insert.width.c_str());
  }
  if (insert.precision == "*") {
    if (!args.has(number)) return std::nullopt;
    precision = static_cast<int>(args.value(number++));
  } else if (insert.hasPrecision) {
    precision = insert.precision.empty() ? 0 : std::atoi(insert.precision.c_str());
  }
  if (!args.has(number)) return std::nullopt;
  std::string directive = "%" + insert.flags + "*.*";
  DWORD_PTR value = args.value(number);
  switch (insert.kind) {
    case Kind::pointer:
      if (insert.conversion == 'p') return formatted(directive + "p", width, precision, reinterpret_cast<void*>(value));
      return formatted(directive + "s", width, precision, value ? reinterpret_cast<const char*>(value) : "(null)");
    case Kind::wideString: {
      std::string text = narrowed(reinterpret_cast<const char16_t*>(value), -1);
      return formatted(directive + "s", width, precision, text.c_str());
    }
    case Kind::wideChar: {
      char16_t c = static_cast<char16_t>(value);
      std::string text = narrowed(&c, 1);
      return formatted(directive + "s", width, -1, text.c_str());
    }
    case Kind::int32:
      return formatted(directive + insert.length + insert.conversion, width, precision, static_cast<DWORD>(value));
    case Kind::int64:
      return formatted(directive + "ll" + insert.conversion, width, precision, static_cast<unsigned long long>(value));
    case Kind::real:
      return formatted(directive + insert.conversion, width, precision, args.real(number));
  }
  return std::nullopt;
}

enum class Expanded { ok, missingArgument, badInsert };

// Expands escapes and (unless ignored) inserts. A line break of the
// template is kept, or becomes a blank when a maximum width is given.
Expanded expand(const std::string& text, const Arguments* args, bool ignoreInserts, bool joinLines,
                std::string& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (!joinLines) {
        out += c;
      } else if (!(c == '\n' && i > 0 && text[i - 1] == '\r')) {
        out += ' ';
      }
      continue;
    }
    if (c != '%') {
      out += c;
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lone '%' at the end stands for nothing
    char next = text[i + 1];
    if (next >= '1' && next <= '9') {
      auto insert = parseInsert(text, i);
      if (!insert) return Expanded::badInsert;
      if (ignoreInserts) {
        out.append(text, i, insert->end - i);
      } else {
        if (!args) return Expanded::missingArgument;
        auto value = expandInsert(*insert, *args);
        if (!value) return Expanded::missingArgument;
        out += *value;
      }
      i = insert->end - 1;
      continue;
    }
    ++i;
    switch (next) {
      case '0': return Expanded::ok;  // ends the message, without a line end
      case 'n': out += "\r\n"; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      default: out += next; break;  // %% %. %! %space and anything else: the character
    }
  }
  return Expanded::ok;
}

// Breaks lines longer than `width` at the last blank before the limit (or
// at the limit inside a long word); existing line breaks start new lines.
std::string wrapped(const std::string& text, size_t width) {
  std::string out;
  size_t lineStart = 0;  // in `out`
  for (char c : text) {
    out += c;
    if (c == '\n') {
      lineStart = out.size();
      continue;
    }
    if (out.size() - lineStart <= width) continue;
    size_t blank = out.rfind(' ', out.size() - 1);
    if (blank != std::string::npos && blank >= lineStart && blank > lineStart) {
      out.replace(blank, 1, "\r\n");
      lineStart = blank + 2;
    } else {
      out.insert(out.size() - 1, "\r\n");
      lineStart = out.size() - 1;
    }
  }
  return out;
}

bool systemLanguage(DWORD language) {
  WORD primary = PRIMARYLANGID(language);
  return language == 0 || primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

// The template of a message from a module's RT_MESSAGETABLE.
std::optional<std::string> moduleMessage(HMODULE module, DWORD id, DWORD language, DWORD& error) {
  HRSRC info = language == 0 ? FindResourceA(module, MAKEINTRESOURCEA(1), RT_MESSAGETABLE)
                             : FindResourceExA(module, RT_MESSAGETABLE, MAKEINTRESOURCEA(1), static_cast<WORD>(language));
  if (!info) {
    error = GetLastError();
    if (error == ERROR_SUCCESS) error = ERROR_RESOURCE_TYPE_NOT_FOUND;
    return std::nullopt;
  }
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) {
    error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return std::nullopt;
  }
  auto text = win32::messageTableText(bytes, SizeofResource(module, info), id);
  if (!text) error = ERROR_MR_MID_NOT_FOUND;
  return text;
}

DWORD fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

extern "C" DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                                       DWORD size, va_list* arguments) {
  if (!buffer) return fail(ERROR_INVALID_PARAMETER);
  std::string text;
  if (flags & FORMAT_MESSAGE_FROM_STRING) {
    if (!source) return fail(ERROR_INVALID_PARAMETER);
    text = static_cast<const char*>(source);
  } else if (flags & (FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM)) {
    DWORD error = ERROR_MR_MID_NOT_FOUND;
    std::optional<std::string> found;
    if (flags & FORMAT_MESSAGE_FROM_HMODULE)
      found = moduleMessage(static_cast<HMODULE>(const_cast<void*>(source)), messageId, languageId, error);
    if (!found && (flags & FORMAT_MESSAGE_FROM_SYSTEM)) {
      if (!systemLanguage(languageId)) return fail(ERROR_RESOURCE_LANG_NOT_FOUND);
      if (const char* system = win32::systemMessageText(messageId)) found = system;
      else error = ERROR_MR_MID_NOT_FOUND;
    }
    if (!found) return fail(error);
    text = std::move(*found);
  } else {
    return fail(ERROR_INVALID_PARAMETER);
  }

  const bool ignoreInserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
  std::optional<Arguments> args;
  va_list copy;
  bool copied = false;
  if (!ignoreInserts && arguments) {
    if (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) {
      args.emplace(reinterpret_cast<const DWORD_PTR*>(arguments));
    } else {
      va_copy(copy, *arguments);
      copied = true;
      args.emplace(readList(copy, argumentKinds(text)));
    }
  }
  if (copied) va_end(copy);

  const DWORD width = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  std::string out;
  switch (expand(text, args ? &*args : nullptr, ignoreInserts, width != 0, out)) {
    case Expanded::ok: break;
    case Expanded::missingArgument:
    case Expanded::badInsert: return fail(ERROR_INVALID_PARAMETER);
  }
  if (width != 0 && width != FORMAT_MESSAGE_MAX_WIDTH_MASK) out = wrapped(out, width);

  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    size_t bytes = std::max<size_t>(out.size() + 1, size);
    auto* allocated = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
    if (!allocated) return fail(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(allocated, out.c_str(), out.size() + 1);
    *reinterpret_cast<char**>(buffer) = allocated;
  } else {
    if (out.size() + 1 > size) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
  }
  return static_cast<DWORD>(out.size());
}
