// Parsing and editing of INI files (see profilefile.h).
#include "profilefile.h"

#include <internal/hostpath.h>

#include <algorithm>
#include <cstring>

namespace win32::profile {

bool isProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isProfileBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isProfileBlank(s.back())) s.remove_suffix(1);
  return s;
}

size_t NameHash::operator()(std::string_view name) const noexcept {
  // Case folding of code page 1252 only ever sets bit 0x20 (A..Z, À..Þ), so
  // hashing every byte with that bit set gives equal hashes to names that
  // equalsIgnoringCase finds equal. FNV-1a.
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : name) {
    h ^= static_cast<unsigned char>(c | 0x20);
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h);
}

bool NameEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return equalsIgnoringCase(a, b);
}

ProfileFile::ProfileFile(std::string bytes) : text_(std::move(bytes)) { parse(); }

ProfileLine ProfileFile::parseLine(size_t begin, size_t contentBegin, size_t end, size_t next) const {
  ProfileLine line;
  line.begin = begin;
  line.end = end;
  line.next = next;
  const std::string_view content =
      trimBlanks(std::string_view(text_).substr(contentBegin, end - contentBegin));
  line.content = content;
  if (content.empty()) {
    line.kind = ProfileLine::Kind::Blank;
  } else if (content.front() == ';') {
    line.kind = ProfileLine::Kind::Comment;
  } else if (content.front() == '[' && content.find(']') != std::string_view::npos) {
    line.kind = ProfileLine::Kind::Section;
    line.name = trimBlanks(content.substr(1, content.find(']') - 1));
  } else if (size_t eq = content.find('='); eq != std::string_view::npos) {
    line.kind = ProfileLine::Kind::Key;
    line.name = trimBlanks(content.substr(0, eq));
    line.value = trimBlanks(content.substr(eq + 1));
  } else {
    line.kind = ProfileLine::Kind::Other;
  }
  return line;
}

void ProfileFile::parse() {
  const size_t n = text_.size();
  size_t pos = 0;
  // A UTF-8 byte order mark stays in the bytes but is no part of the first line.
  const size_t bom = text_.starts_with("\xEF\xBB\xBF") ? 3 : 0;

  lines_.reserve(static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1);
  ProfileSection preamble;  // lines before the first header: kept for editing, never read
  ProfileSection* current = &preamble;
  while (pos < n) {
    // The line ends at its first CR or LF (CRLF, LF or a lone CR).
    const char* base = text_.data();
    const void* lf = std::memchr(base + pos, '\n', n - pos);
    const size_t lineFeed = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : n;
    const void* cr = std::memchr(base + pos, '\r', lineFeed - pos);
    const size_t end = cr ? static_cast<size_t>(static_cast<const char*>(cr) - base) : lineFeed;
    size_t next = end;
    if (next < n) {
      if (text_[next] == '\r' && next + 1 < n && text_[next + 1] == '\n') {
        if (eol_.empty()) eol_ = "\r\n";
        next += 2;
      } else {
        if (eol_.empty()) eol_ = std::string(1, text_[next]);
        next += 1;
      }
    }
    lines_.push_back(parseLine(pos, pos == 0 ? bom : pos, end, next));
    const size_t index = lines_.size() - 1;
    const ProfileLine& line = lines_.back();
    if (line.kind == ProfileLine::Kind::Section) {
      current->endLine = index;
      ProfileSection section;
      section.name = line.name;
      section.header = index;
      section.firstLine = index + 1;
      sections_.push_back(std::move(section));
      current = &sections_.back();
    } else if (line.kind == ProfileLine::Kind::Key) {
      current->keys.try_emplace(line.name, index);  // the first occurrence wins
    }
    pos = next;
  }
  current->endLine = lines_.size();
  if (eol_.empty()) eol_ = "\r\n";  // what Windows writes into a new file

  for (size_t i = 0; i < sections_.size(); ++i) sectionIndex_.try_emplace(sections_[i].name, i);
}

const ProfileSection* ProfileFile::findSection(std::string_view name) const {
  auto it = sectionIndex_.find(trimBlanks(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const ProfileLine* ProfileFile::findKey(const ProfileSection& section, std::string_view key) const {
  auto it = section.keys.find(trimBlanks(key));
  return it == section.keys.end() ? nullptr : &lines_[it->second];
}

size_t ProfileFile::lastFilledLine(const ProfileSection& section) const {
  size_t last = section.header;
  for (size_t i = section.firstLine; i < section.endLine; ++i) {
    if (lines_[i].kind != ProfileLine::Kind::Blank) last = i;
  }
  return last;
}

std::string ProfileFile::insertedAfter(size_t index, std::string_view newLines) const {
  const ProfileLine& line = lines_[index];
  std::string out;
  out.reserve(text_.size() + newLines.size() + 2 * eol_.size());
  out.append(text_, 0, line.next);
  if (line.next == line.end) out += eol_;  // the file's last line had no ending
  out += newLines;
  out.append(text_, line.next, std::string::npos);
  return out;
}

void ProfileFile::appendSection(std::string& out, std::string_view section, std::string_view body) const {
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += eol_;
  out += '[';
  out += trimBlanks(section);
  out += ']';
  out += eol_;
  out += body;
}

std::string ProfileFile::appendedSection(std::string_view section, std::string_view body) const {
  std::string out;
  out.reserve(text_.size() + section.size() + body.size() + 3 * eol_.size() + 2);
  out = text_;
  appendSection(out, section, body);
  return out;
}

std::optional<std::string> ProfileFile::withValue(std::string_view section, std::string_view key,
                                                  std::string_view value) const {
  std::string keyLine(trimBlanks(key));
  keyLine += '=';
  keyLine += value;
  const ProfileSection* s = findSection(section);
  if (!s) return appendedSection(section, keyLine + eol_);

  if (const ProfileLine* line = findKey(*s, key)) {
    if (line->value == trimBlanks(value)) return std::nullopt;  // reads the same already
    // Keep the line's indentation and the key's spelling; only the value changes.
    const size_t nameEnd = static_cast<size_t>(line->name.data() + line->name.size() - text_.data());
    std::string out;
    out.reserve(text_.size() + value.size() + 1);
    out.append(text_, 0, nameEnd);
    out += '=';
    out += value;
    out.append(text_, line->end, std::string::npos);
    return out;
  }
  return insertedAfter(lastFilledLine(*s), keyLine + eol_);
}

std::optional<std::string> ProfileFile::withoutKey(std::string_view section, std::string_view key) const {
  const ProfileSection* s = findSection(section);
  const ProfileLine* line = s ? findKey(*s, key) : nullptr;
  if (!line) return std::nullopt;
  std::string out = text_;
  out.erase(line->begin, line->next - line->begin);
  return out;
}

std::optional<std::string> ProfileFile::withoutSection(std::string_view section) const {
  const ProfileSection* s = findSection(section);
  if (!s) return std::nullopt;
  const size_t from = lines_[s->header].begin;
  const size_t to = s->endLine < lines_.size() ? lines_[s->endLine].begin : text_.size();
  std::string out = text_;
  out.erase(from, to - from);
  return out;
}

std::optional<std::string> ProfileFile::withSectionBody(
    std::string_view section, const std::vector<std::string_view>& entries) const {
  std::string body;
  for (std::string_view entry : entries) {
    body += entry;
    body += eol_;
  }
  const ProfileSection* s = findSection(section);
  if (!s) return appendedSection(section, body);

  const size_t last = lastFilledLine(*s);
  const ProfileLine& header = lines_[s->header];
  size_t from = header.next;
  size_t to = last == s->header ? from : lines_[last].next;
  std::string out;
  out.reserve(text_.size() + body.size() + eol_.size());
  out.append(text_, 0, from);
  if (header.next == header.end) out += eol_;  // a header as last line without ending
  // The last old body line may have lacked an ending; the new body ends each line.
  out += body;
  out.append(text_, to, std::string::npos);
  if (out == text_) return std::nullopt;
  return out;
}

bool ProfileFile::findKeyIn(std::string_view section, std::string_view key) const {
  const ProfileSection* s = findSection(section);
  return s && findKey(*s, key);
}

namespace {

// Bytes [begin, end) of the old text replaced by `text` (begin == end: inserted).
struct Splice {
  size_t begin;
  size_t end;
  std::string text;
};

}  // namespace

std::optional<std::string> ProfileFile::withChanges(const std::vector<KeyChange>& changes) const {
  const NameEqual same;
  // One entry per key, where and as its first change names it (later changes
  // write into that key), with the last value. A key removed and then set
  // again goes to its section's end, as the two single writes would put it.
  struct Entry {
    std::string_view section;
    std::string_view key;
    const std::optional<std::string>* value;
    bool removedFirst = false;
  };
  std::vector<Entry> entries;
  for (const KeyChange& change : changes) {
    const std::string_view section = trimBlanks(change.section), key = trimBlanks(change.key);
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return same(e.section, section) && same(e.key, key); });
    if (it == entries.end()) {
      entries.push_back({section, key, &change.value});
    } else if (!*it->value && change.value) {
      const bool removedFirst = it->removedFirst || findKeyIn(it->section, it->key);
      entries.erase(it);
      entries.push_back({section, key, &change.value, removedFirst});
    } else {
      it->value = &change.value;
    }
  }

  std::vector<Splice> splices;
  std::vector<std::pair<size_t, std::string>> inserts;  // after line index: new key lines
  std::vector<std::pair<std::string_view, std::string>> appended;  // new sections and their bodies
  for (const Entry& entry : entries) {
    const std::optional<std::string>& value = *entry.value;
    std::string keyLine;
    if (value) keyLine = std::string(entry.key) + '=' + *value + eol_;
    const ProfileSection* s = findSection(entry.section);
    if (!s) {
      if (!value) continue;
      auto it = std::find_if(appended.begin(), appended.end(), [&](const auto& a) { return same(a.first, entry.section); });
      if (it == appended.end()) it = appended.insert(appended.end(), {entry.section, std::string()});
      it->second += keyLine;
      continue;
    }
    const ProfileLine* line = findKey(*s, entry.key);
    if (line && (!value || entry.removedFirst)) {
      splices.push_back({line->begin, line->next, std::string()});
    } else if (line) {
      if (line->value != trimBlanks(*value)) {
        // Keep the line's indentation and the key's spelling; only the value changes.
        const size_t nameEnd = static_cast<size_t>(line->name.data() + line->name.size() - text_.data());
        splices.push_back({nameEnd, line->end, '=' + *value});
      }
      continue;
    }
    if (!value) continue;
    const size_t after = lastFilledLine(*s);
    auto it = std::find_if(inserts.begin(), inserts.end(), [&](const auto& i) { return i.first == after; });
    if (it == inserts.end()) it = inserts.insert(inserts.end(), {after, std::string()});
    it->second += keyLine;
  }
  for (auto& [after, lines] : inserts) {
    const ProfileLine& line = lines_[after];
    // The file's last line may lack an ending.
    splices.push_back({line.next, line.next, (line.next == line.end ? eol_ : std::string()) + lines});
  }
  if (splices.empty() && appended.empty()) return std::nullopt;

  // Insertions go before a change that starts where they do.
  std::stable_sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
    return a.begin != b.begin ? a.begin < b.begin : (a.begin == a.end) > (b.begin == b.end);
  });
  std::string out;
  size_t extra = 0;
  for (const Splice& splice : splices) extra += splice.text.size();
  for (const auto& [name, body] : appended) extra += name.size() + body.size() + 2 * eol_.size() + 2;
  out.reserve(text_.size() + extra);
  size_t at = 0;
  for (const Splice& splice : splices) {
    out.append(text_, at, splice.begin - at);
    out += splice.text;
    at = splice.end;
  }
  out.append(text_, at, std::string::npos);
  for (const auto& [name, body] : appended) appendSection(out, name, body);
  return out;
}

}  // namespace win32::profile
