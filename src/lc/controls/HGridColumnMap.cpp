// The grid's column map in the INI file: section "<key>:<control>:Grid
// Settings", key "Column Map", one "column,width; " pair per display
// position ("0,80; 2,40; 1,120; "). A map is applied only when it holds
// exactly one pair per column and names every column once; anything else
// leaves order and widths as they are.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "HGrid.h"
#include "KyProfile.h"
#include "grid.h"

namespace {

constexpr char kMapKey[] = "Column Map";
constexpr int kNarrowest = 2;

struct StoredPair {
  short column;
  int width;
};

// The pairs of the text: a column ended by ',', a width ended by ';'.
std::vector<StoredPair> readPairs(const std::string& text, int limit, bool& whole) {
  std::vector<StoredPair> pairs;
  whole = true;
  size_t at = 0;
  while (static_cast<int>(pairs.size()) < limit) {
    const size_t comma = text.find(',', at);
    if (comma == std::string::npos) break;
    const size_t semicolon = text.find(';', comma + 1);
    if (semicolon == std::string::npos) {
      whole = false;
      break;
    }
    pairs.push_back({static_cast<short>(std::atoi(text.substr(at, comma - at).c_str())),
                     std::atoi(text.substr(comma + 1, semicolon - comma - 1).c_str())});
    at = semicolon + 1;
  }
  return pairs;
}

bool isPermutation(const std::vector<StoredPair>& pairs) {
  std::vector<bool> seen(pairs.size(), false);
  for (const StoredPair& pair : pairs) {
    if (pair.column < 0 || static_cast<size_t>(pair.column) >= pairs.size() || seen[static_cast<size_t>(pair.column)])
      return false;
    seen[static_cast<size_t>(pair.column)] = true;
  }
  return true;
}

}  // namespace

std::string HGrid::settingsSection(const char* pszKey) const {
  return std::string(pszKey ? pszKey : "") + ":" + GetName() + ":Grid Settings";
}

void HGrid::SaveSettings(const char* pszSection, const char* pszKey) {
  if (!m_hWnd) return;
  const int count = static_cast<int>(send(KYM_GRIDCOLUMNCOUNT));
  std::vector<short> order(static_cast<size_t>(std::max(count, 0)));
  if (count > 0) send(KYM_GRIDGETORDER, 0, reinterpret_cast<LPARAM>(order.data()));
  std::string text;
  for (int position = 0; position < count; ++position) {
    const short column = order[static_cast<size_t>(position)];
    const LRESULT width = send(KYM_GRIDGETFIELDWIDTH, static_cast<WPARAM>(PositionOf(column)));
    text += std::to_string(column) + "," + std::to_string(width) + "; ";
  }
  KyWriteProfileString(settingsSection(pszKey).c_str(), kMapKey, text.c_str());
}

void HGrid::RestoreSettings(const char* pszSection, const char* pszKey) {
  if (!m_hWnd) return;
  const int count = static_cast<int>(send(KYM_GRIDCOLUMNCOUNT));
  if (count <= 0) return;
  const KyString text = KyGetProfileString(settingsSection(pszKey).c_str(), kMapKey, "");
  bool whole = true;
  // One pair more than the columns is read, so that a map of a wider
  // grid is recognised and left alone.
  std::vector<StoredPair> pairs = readPairs(text.GetString(), count + 1, whole);
  if (!whole || static_cast<int>(pairs.size()) != count || !isPermutation(pairs)) return;

  std::vector<short> current(static_cast<size_t>(count));
  send(KYM_GRIDGETORDER, 0, reinterpret_cast<LPARAM>(current.data()));
  bool identity = true;
  for (int i = 0; i < count; ++i) identity = identity && current[static_cast<size_t>(i)] == i;
  std::vector<short> stored;
  for (const StoredPair& pair : pairs) stored.push_back(pair.column);
  // Columns the user moved already stay where they are.
  if (identity) restoreOrder(stored);
  for (const StoredPair& pair : pairs) {
    const WPARAM position = static_cast<WPARAM>(PositionOf(pair.column));
    // A stored 2 keeps a wider present width; anything narrower is 2.
    int width = std::max(pair.width, kNarrowest);
    if (pair.width == kNarrowest) width = std::max(width, static_cast<int>(send(KYM_GRIDGETFIELDWIDTH, position)));
    send(KYM_GRIDSETFIELDWIDTH, position, width);
  }
  // The grid's own order message would reorder columns the user moved
  // (this grid applies an order it is handed): the moves above are all.
  rebindEditors();
}

// Position by position, the column that belongs there is moved in from
// where it stands (always to the right of the settled positions).
void HGrid::restoreOrder(const std::vector<short>& stored) {
  for (int position = 0; position < static_cast<int>(stored.size()); ++position) {
    const int from = PositionOf(stored[static_cast<size_t>(position)]);
    if (from >= 0 && from != position) send(KYM_GRIDMOVEFIELD, static_cast<WPARAM>(from), position);
  }
}
