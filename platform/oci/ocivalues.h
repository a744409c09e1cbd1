// Values between SQLite and OCI's external types: Oracle NUMBER bytes,
// OCIDate and the 7-byte Oracle date, texts of every form, integers,
// floating point and raw bytes.
#pragma once

#include "ocihandles.h"

#include <string>

namespace oci {

// Oracle NUMBER bytes (exponent byte then base-100 digits, at most 21
// bytes) of a decimal text such as "-12.5" or "1e3"; false for a text that
// is no number or does not fit.
bool numberFromText(const char* text, ub1* bytes, ub1* length);
// The NUMBER bytes as a decimal text ("" for bytes that are no number).
std::string numberToText(const ub1* bytes, ub1 length);

// Binds the slot's value as parameter `index`; OCI_SUCCESS or the error
// (recorded in the error handle).
sword bindSlot(sqlite3_stmt* statement, int index, const Slot& slot, OCIError* error);
// Moves column `column` of the current row into the slot: OCI_SUCCESS,
// OCI_SUCCESS_WITH_INFO for a truncated text, or the error.
sword defineSlot(sqlite3_stmt* statement, int column, const Slot& slot, OCIError* error);

}  // namespace oci
