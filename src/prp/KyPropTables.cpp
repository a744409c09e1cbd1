// The value vocabularies of the property atom provider and the look-up
// that reads a value text through them.
#include "KyPropTables.h"

#include "KyPropertyChoice.h"

#include <cctype>
#include <cstring>
#include <string>

namespace kyprop {
namespace {

constexpr KyPropEntry kButtonAlignment[] = {{"topleft", 0},    {"topcenter", 1},    {"topright", 2},
                                            {"centerleft", 3}, {"center", 4},       {"centerright", 5},
                                            {"bottomleft", 6}, {"bottomcenter", 7}, {"bottomright", 8}};
constexpr KyPropEntry kThreeAlignments[] = {{"left", 0}, {"center", 1}, {"right", 2}};
constexpr KyPropEntry kEditEdgeAlignment[] = {{"left", 0}, {"right", 0x800}};
constexpr KyPropEntry kEditBorder[] = {
    {"none", 0}, {"standard", 0x800000}, {"indented", 0x200}, {"extruded", 0x800200}, {"bump", 0x800200}};
constexpr KyPropEntry kStaticBorder[] = {
    {"none", 0}, {"standard", 0x800000}, {"indented", 0x10}, {"extruded", 0x800010}, {"bump", 0x20}};
constexpr KyPropEntry kDisplayPicture[] = {{"no", 0}, {"yes", 0x8000}, {"autosize", 0x4000}};
constexpr KyPropEntry kCase[] = {{"both", 0}, {"uppercase", 8}, {"lowercase", 16}};
constexpr KyPropEntry kStaticType[] = {{"text", 0},    {"group", 1}, {"frame", 2},
                                       {"picture", 3}, {"hline", 4}, {"vline", 5}};
// COLORREF: 0x00BBGGRR.
constexpr KyPropEntry kColors[] = {
    {"black", 0x000000},  {"white", 0xFFFFFF},   {"red", 0x0000FF},     {"green", 0x00FF00},
    {"blue", 0xFF0000},   {"yellow", 0x00FFFF},  {"magenta", 0xFF00FF}, {"cyan", 0xFFFF00},
    {"gray", 0x808080},   {"lgray", 0xC0C0C0},   {"dkred", 0x000080},   {"dkgreen", 0x008000},
    {"dkblue", 0x800000}, {"olive", 0x008080},   {"purple", 0x800080},  {"drab", 0x808000}};

}  // namespace

const KyPropTable buttonAlignment{"Alignment", kButtonAlignment};
const KyPropTable editAlignment{"Alignment", kThreeAlignments};
const KyPropTable staticAlignment{"Alignment", kThreeAlignments};
const KyPropTable editEdgeAlignment{"Edit Alignment", kEditEdgeAlignment};
const KyPropTable editBorder{"Border", kEditBorder};
const KyPropTable staticBorder{"Border", kStaticBorder};
const KyPropTable displayPicture{"Display Picture", kDisplayPicture};
const KyPropTable letterCase{"Case", kCase};
const KyPropTable staticType{"Static Type", kStaticType};
const KyPropTable predefinedColors{"Predefined Colors", kColors};

std::optional<int> lookUp(const KyPropTable& table, const char* text, HWND owner) {
  if (!text) return std::nullopt;
  if (std::strcmp(text, "*DIALOG") == 0) return KyChooseProperty(owner, table);
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const KyPropEntry& entry : table.entries)
    if (lower == entry.name) return entry.value;
  return std::nullopt;
}

}  // namespace kyprop
