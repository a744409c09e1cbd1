// Reading a PDF back with poppler's tools (Debian poppler-utils): its page
// count and size, the text of a page, and a page as a picture.
#pragma once

#include <cstdio>
#include <string>

namespace pdfread {

inline std::string shellQuoted(const std::string& path) {
  std::string out = "'";
  for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Standard output of a command (stderr dropped); empty when it cannot run.
inline std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

// The value of one "Key: value" line of pdfinfo, trimmed.
inline std::string info(const std::string& pdf, const std::string& key) {
  std::string all = run("pdfinfo " + shellQuoted(pdf));
  size_t at = all.find(key + ":");
  if (at == std::string::npos) return "";
  size_t start = all.find_first_not_of(' ', at + key.size() + 1);
  size_t end = all.find('\n', start);
  return all.substr(start, end - start);
}

inline int pages(const std::string& pdf) {
  std::string value = info(pdf, "Pages");
  return value.empty() ? -1 : std::stoi(value);
}

// The text of page `page` (1-based), or of every page for 0, in layout order.
inline std::string text(const std::string& pdf, int page = 0) {
  std::string range = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
  return run("pdftotext -layout" + range + " " + shellQuoted(pdf) + " -");
}

// Page `page` as a PNG at `dpi` dots per inch, written to `png`.
inline bool picture(const std::string& pdf, int page, int dpi, const std::string& png) {
  std::string stem = png.substr(0, png.size() - 4);
  std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                        " -l " + std::to_string(page) + " " + shellQuoted(pdf) + " " + shellQuoted(stem);
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace pdfread
