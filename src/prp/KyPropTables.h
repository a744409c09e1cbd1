// The provider's value tables: names a property value may be written as,
// with the number each stands for, and the caption the choice dialog shows.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

struct KyPropEntry {
  const char* name;  // lower case
  int value;
};

struct KyPropTable {
  const char* caption;
  std::span<const KyPropEntry> entries;
};

namespace kyprop {

extern const KyPropTable buttonAlignment;
extern const KyPropTable editAlignment;
extern const KyPropTable staticAlignment;
extern const KyPropTable editEdgeAlignment;  // "Edit Alignment"
extern const KyPropTable editBorder;
extern const KyPropTable staticBorder;
extern const KyPropTable displayPicture;
extern const KyPropTable letterCase;
extern const KyPropTable staticType;
extern const KyPropTable predefinedColors;

// The value named by `text`: "*DIALOG" lets a person choose (over `owner`);
// any other text is compared, lower-cased, with the entries' names. Nothing
// when no entry has that name or the choice was cancelled. The caller's
// text is never changed.
std::optional<int> lookUp(const KyPropTable& table, const char* text, HWND owner);

}  // namespace kyprop
