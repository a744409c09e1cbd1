#include "addressbook.h"

#include "mailstore.h"

#include <mapi.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

namespace mapi32 {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<MailAddress> readBook(const std::string& storeRoot) {
  std::vector<MailAddress> entries;
  std::ifstream in(storeRoot + "/addresses");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    const auto open = line.rfind('<');
    const auto close = line.rfind('>');
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    std::string name = line.substr(first, open - first);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    const std::string address = line.substr(open + 1, close - open - 1);
    if (address.empty()) continue;
    entries.push_back({name.empty() ? address : name, address});
  }
  return entries;
}

}  // namespace

Resolution resolveName(const std::string& storeRoot, const std::string& name) {
  if (name.empty()) return {MAPI_E_UNKNOWN_RECIPIENT, {}};
  const std::string plain = plainAddress(name);
  const std::vector<MailAddress> book = readBook(storeRoot);
  std::vector<const MailAddress*> exact, partial;
  const std::string wanted = lower(plain);
  for (const MailAddress& entry : book) {
    if (lower(entry.name) == wanted || lower(entry.address) == wanted) {
      exact.push_back(&entry);
    } else if (lower(entry.name).find(wanted) != std::string::npos) {
      partial.push_back(&entry);
    }
  }
  if (exact.size() == 1) return {SUCCESS_SUCCESS, *exact.front()};
  if (exact.size() > 1) return {MAPI_E_AMBIGUOUS_RECIPIENT, {}};
  if (plain.find('@') != std::string::npos && plain.find_first_of(" \t<>,") == std::string::npos) {
    return {SUCCESS_SUCCESS, {plain, plain}};
  }
  if (partial.size() == 1) return {SUCCESS_SUCCESS, *partial.front()};
  return {partial.empty() ? static_cast<ULONG>(MAPI_E_UNKNOWN_RECIPIENT) : static_cast<ULONG>(MAPI_E_AMBIGUOUS_RECIPIENT),
          {}};
}

}  // namespace mapi32
