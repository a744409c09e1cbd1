// Single-byte conversion between two code pages of a setting, for the table
// generator and the tests that check its tables. glibc's iconv knows most
// of the IBM code pages; for a host code page it lacks (838, Thai) ICU's
// IBM converter of the same CCSID stands in, and the two sides meet in
// UTF-16. A code page that neither knows has no converter, so its setting
// gets no table file and the run-time copies texts unchanged.
#pragma once

#include <unicode/ucnv.h>

#include <memory>
#include <string>

#include "GxtIconvNames.h"

namespace kygxt {

// ICU's name of a host CCSID that iconv lacks, or "" when ICU lacks it too.
inline std::string IcuName(unsigned ccsid, bool host) {
  if (!host || !IconvName(ccsid, host).empty()) return "";
  const std::string name = "ibm-" + std::to_string(BaseCcsid(ccsid));
  UErrorCode status = U_ZERO_ERROR;
  UConverter* probe = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status)) return "";
  ucnv_close(probe);
  return name;
}

// Whether the generator can build the table of this direction.
inline bool HasConverter(unsigned ccsid, bool host) {
  return !IconvName(ccsid, host).empty() || !IcuName(ccsid, host).empty();
}

class ByteConverter {
 public:
  ByteConverter(unsigned from, bool fromHost, unsigned to, bool toHost)
      : from_(open(from, fromHost, false)), to_(open(to, toHost, true)) {
    const std::string fromIconv = IconvName(from, fromHost), toIconv = IconvName(to, toHost);
    if (!fromIconv.empty() && !toIconv.empty()) direct_ = iconv_open(toIconv.c_str(), fromIconv.c_str());
  }
  ~ByteConverter() {
    if (direct_ != kNoIconv) iconv_close(direct_);
  }
  ByteConverter(const ByteConverter&) = delete;
  ByteConverter& operator=(const ByteConverter&) = delete;

  bool ok() const { return direct_ != kNoIconv || (from_.usable() && to_.usable()); }

  // The single byte that `byte` becomes, or -1 (no counterpart).
  int convert(unsigned char byte) const {
    if (direct_ != kNoIconv) return ConvertByte(direct_, byte);
    std::u16string text;
    if (!from_.decode(byte, &text)) return -1;
    return to_.encode(text);
  }

 private:
  static inline const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

  // One code page through iconv or ICU: a byte to UTF-16, or UTF-16 to one byte.
  class Side {
   public:
    Side() = default;
    Side(const std::string& iconvName, const std::string& icuName, bool encoding) {
      if (!iconvName.empty()) {
        iconv_ = encoding ? iconv_open(iconvName.c_str(), "UTF-16LE") : iconv_open("UTF-16LE", iconvName.c_str());
      } else if (!icuName.empty()) {
        UErrorCode status = U_ZERO_ERROR;
        icu_.reset(ucnv_open(icuName.c_str(), &status));
        if (U_FAILURE(status)) icu_.reset();
        if (icu_) {
          // Only true round trips and reverse fallbacks: no substitute bytes.
          ucnv_setToUCallBack(icu_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
          ucnv_setFromUCallBack(icu_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        }
      }
    }
    Side(Side&& other) noexcept : iconv_(other.iconv_), icu_(std::move(other.icu_)) { other.iconv_ = kNoIconv; }
    Side& operator=(Side&&) = delete;
    ~Side() {
      if (iconv_ != kNoIconv) iconv_close(iconv_);
    }
    bool usable() const { return iconv_ != kNoIconv || icu_ != nullptr; }

    bool decode(unsigned char byte, std::u16string* text) const {
      char16_t out[8];
      if (icu_) {
        UErrorCode status = U_ZERO_ERROR;
        const char in = static_cast<char>(byte);
        const int32_t length = ucnv_toUChars(icu_.get(), reinterpret_cast<UChar*>(out), 8, &in, 1, &status);
        if (U_FAILURE(status) || length <= 0) return false;
        text->assign(out, length);
        return true;
      }
      char in[1] = {static_cast<char>(byte)};
      char* pin = in;
      char* pout = reinterpret_cast<char*>(out);
      size_t inLeft = 1, outLeft = sizeof out;
      iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
      if (iconv(iconv_, &pin, &inLeft, &pout, &outLeft) != 0 || inLeft != 0) return false;
      text->assign(out, (sizeof out - outLeft) / 2);
      return !text->empty();
    }

    int encode(const std::u16string& text) const {
      char out[8];
      size_t written = 0;
      if (icu_) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(icu_.get());
        const int32_t length = ucnv_fromUChars(icu_.get(), out, sizeof out, reinterpret_cast<const UChar*>(text.data()),
                                               static_cast<int32_t>(text.size()), &status);
        if (U_FAILURE(status)) return -1;
        written = static_cast<size_t>(length);
      } else {
        std::u16string copy = text;
        char* pin = reinterpret_cast<char*>(copy.data());
        char* pout = out;
        size_t inLeft = copy.size() * 2, outLeft = sizeof out;
        iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(iconv_, &pin, &inLeft, &pout, &outLeft) != 0 || inLeft != 0) return -1;
        written = sizeof out - outLeft;
      }
      return written == 1 ? static_cast<unsigned char>(out[0]) : -1;
    }

   private:
    struct CloseIcu {
      void operator()(UConverter* converter) const { ucnv_close(converter); }
    };
    iconv_t iconv_ = kNoIconv;
    std::unique_ptr<UConverter, CloseIcu> icu_;
  };

  static Side open(unsigned ccsid, bool host, bool encoding) {
    return Side(IconvName(ccsid, host), IcuName(ccsid, host), encoding);
  }

  Side from_, to_;
  iconv_t direct_ = kNoIconv;
};

}  // namespace kygxt
