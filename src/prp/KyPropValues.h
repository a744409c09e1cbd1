// Colours and file names given as property values.
#pragma once

#include "KyAtomProvider.h"

#include <optional>
#include <string>

namespace kyprop {

// Value 1 decides: "*RGB" (red, green, blue in values 2 to 4, each cut to
// 8 bits), "*DIALOG" (the colour dialog over the control), "*USER" (value 2
// as a number), else a name of the predefined colours. Nothing when the
// name is unknown or the dialog was cancelled: the control keeps its colour.
std::optional<COLORREF> colorFromValues(const KyPropertyAtom& record);

// Value 1 as a file name, or "*DIALOG" for the file-open dialog with the
// filter ("Name|pattern||"). Nothing when the dialog was cancelled.
std::optional<std::string> fileFromValue(const KyPropertyAtom& record, const char* filter);

}  // namespace kyprop
