// A parsed INI (profile) file: its bytes as read and an index of its
// sections and keys.
//
// The bytes are kept exactly so that a write changes only the lines it must
// (comments, blank lines and line endings of the rest stay as they were).
// Names and values are views into those bytes, which is why a ProfileFile is
// neither copied nor moved: it lives behind a shared_ptr, and an edit makes
// the new bytes from which the caller parses a new ProfileFile.
//
// Reading rules, as Windows reads profiles:
// - a line is a section header when its first non-blank character is '['
//   and it has a ']'; the name is the trimmed text between them. A '[' line
//   without ']' is no header: it is an ordinary line of the current section.
// - a line whose first non-blank character is ';' is a comment.
// - a line with '=' is a key: name and value are trimmed of blanks.
// - any other line (no '=') belongs to its section but is no key.
// - lines before the first header belong to no section and are never read.
// - names match ignoring case; the first of duplicate sections or keys wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace win32::profile {

// One key's new value (nullopt: the key goes) in a group of changes.
struct KeyChange {
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

struct ProfileLine {
  enum class Kind : uint8_t { Blank, Comment, Section, Key, Other };
  Kind kind = Kind::Blank;
  size_t begin = 0;  // first byte of the line
  size_t end = 0;    // end of the content, before the line ending
  size_t next = 0;   // first byte of the next line; == end for a last line without ending
  std::string_view name;   // section name (Section) or key name (Key), trimmed
  std::string_view value;  // value of a Key, trimmed, quotes kept
  std::string_view content;  // the whole line trimmed (used for Other lines)
};

// Hash and equality of names ignoring case (code page 1252 letters).
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const noexcept;
};
struct NameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept;
};
using NameIndex = std::unordered_map<std::string_view, size_t, NameHash, NameEqual>;

struct ProfileSection {
  static constexpr size_t npos = static_cast<size_t>(-1);
  std::string_view name;
  size_t header = npos;  // line index of the header; npos for the lines before the first one
  size_t firstLine = 0;  // body lines are [firstLine, endLine)
  size_t endLine = 0;
  NameIndex keys;        // key name -> line index of its first occurrence
};

class ProfileFile {
 public:
  explicit ProfileFile(std::string bytes);
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  const std::string& text() const { return text_; }
  const std::vector<ProfileLine>& lines() const { return lines_; }
  // Every section with a header, in file order (duplicates included).
  const std::vector<ProfileSection>& sections() const { return sections_; }

  // The first section named `name` (blanks around it ignored), or nullptr.
  const ProfileSection* findSection(std::string_view name) const;
  // The first key line named `key` in `section`, or nullptr.
  const ProfileLine* findKey(const ProfileSection& section, std::string_view key) const;

  // Edits: each answers the complete new bytes, or nullopt when the file
  // would not change. Names are written trimmed, values as given.
  std::optional<std::string> withValue(std::string_view section, std::string_view key,
                                       std::string_view value) const;
  std::optional<std::string> withoutKey(std::string_view section, std::string_view key) const;
  std::optional<std::string> withoutSection(std::string_view section) const;
  // Applies every change in one pass: the file then reads as after the same
  // withValue and withoutKey calls one after the other (a later change of a
  // key wins).
  std::optional<std::string> withChanges(const std::vector<KeyChange>& changes) const;
  // Replaces the body of `section` (created when missing) by `entries`, one
  // line each; blank lines that separate it from the next section stay.
  std::optional<std::string> withSectionBody(std::string_view section,
                                             const std::vector<std::string_view>& entries) const;

 private:
  void parse();
  ProfileLine parseLine(size_t begin, size_t contentBegin, size_t end, size_t next) const;
  // Whether `section` has a key named `key`.
  bool findKeyIn(std::string_view section, std::string_view key) const;
  // Line index after which a new key of `section` goes: its last non-blank line.
  size_t lastFilledLine(const ProfileSection& section) const;
  // New bytes with `lines` inserted after line `index` (each gets an ending).
  std::string insertedAfter(size_t index, std::string_view newLines) const;
  std::string appendedSection(std::string_view section, std::string_view body) const;
  // Appends a new section with its body (lines with endings) to `out`.
  void appendSection(std::string& out, std::string_view section, std::string_view body) const;

  std::string text_;
  std::string eol_;  // line ending new lines get: the file's own, CRLF for a new file
  std::vector<ProfileLine> lines_;
  std::vector<ProfileSection> sections_;
  NameIndex sectionIndex_;  // section name -> index into sections_ of its first occurrence
};

// Blank characters around names and values: space, tab, CR, VT, FF and the
// DOS end-of-file mark 0x1A that old editors leave in INI files.
bool isProfileBlank(char c);
std::string_view trimBlanks(std::string_view s);

}  // namespace win32::profile
