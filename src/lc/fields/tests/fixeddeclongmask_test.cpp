// A fixed-decimal field laid into a picture whose text is longer than the
// 256-byte buffer of the buffer form: the masked text keeps it whole, the
// buffer form cuts it to the buffer.
#include <gtest/gtest.h>

#include <string>

#include "KyFixedDecFld.h"
#include "intlsettings.h"

namespace {

TEST(FixedDecimalLongMask, MaskedTextKeepsTheWholeText) {
  GetIntlSettings();
  const KyFixedDecFld field(KyFixedDecImpl("-1234567890123456789012345678.125"), 0);
  const std::string mask = std::string(300, 'x') + "#,##0.00";
  const std::string expected = "-" + std::string(300, 'x') + "1,234,567,890,123,456,789,012,345,678.13";
  EXPECT_EQ(static_cast<LPCSTR>(field.strGetMaskedText(mask.c_str())), expected);

  char buffer[256];
  EXPECT_EQ(KyFixedDecFld::FormatToBuffer(field, mask.c_str(), buffer, sizeof buffer, 0), 255);
  EXPECT_EQ(std::string(buffer), expected.substr(0, 255));
}

}  // namespace
