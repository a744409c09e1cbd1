// Text between COM's UTF-16 and duktape's internal form (CESU-8: every
// UTF-16 code unit, a surrogate too, as its own UTF-8 sequence).
#pragma once

#include <string>
#include <string_view>

namespace jscript {

std::string toEngineText(std::u16string_view text);
// An invalid byte sequence becomes U+FFFD; a character beyond the basic
// plane becomes its surrogate pair.
std::u16string fromEngineText(std::string_view text);

}  // namespace jscript
