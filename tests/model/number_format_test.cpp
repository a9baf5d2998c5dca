#include "model/number_format.h"

#include <gtest/gtest.h>

#include <clocale>

namespace ludomark {
namespace {

TEST(NumberFormat, GeneralFormatWithSixDigits) {
  EXPECT_EQ(FormatGeneral(1, 6), "1");
  EXPECT_EQ(FormatGeneral(0.5, 6), "0.5");
  EXPECT_EQ(FormatGeneral(1.0 / 3, 6), "0.333333");
  EXPECT_EQ(FormatGeneral(-1.0 / 3, 6), "-0.333333");
  EXPECT_EQ(FormatGeneral(2.0 / 3, 6), "0.666667");
  EXPECT_EQ(FormatGeneral(0, 6), "0");
  EXPECT_EQ(FormatGeneral(-0.0, 6), "0");
  EXPECT_EQ(FormatGeneral(100, 6), "100");
  EXPECT_EQ(FormatGeneral(123456, 6), "123456");
  EXPECT_EQ(FormatGeneral(1234567, 6), "1.23457E6");
  EXPECT_EQ(FormatGeneral(1000000, 6), "1E6");
  EXPECT_EQ(FormatGeneral(999999.7, 6), "1E6");  // rounding carries into a seventh digit
  EXPECT_EQ(FormatGeneral(0.0001, 6), "0.0001");
  EXPECT_EQ(FormatGeneral(0.00012345, 6), "0.00012345");
  EXPECT_EQ(FormatGeneral(2.5e-5, 6), "2.5E-5");
  EXPECT_EQ(FormatGeneral(1e-12, 6), "1E-12");
  EXPECT_EQ(FormatGeneral(-1e150, 6), "-1E150");
  EXPECT_EQ(FormatGeneral(12.5, 6), "12.5");
}

TEST(NumberFormat, OtherDigitCounts) {
  EXPECT_EQ(FormatGeneral(2.5, 15), "2.5");
  EXPECT_EQ(FormatGeneral(3, 15), "3");
  EXPECT_EQ(FormatGeneral(0.1, 15), "0.1");
  EXPECT_EQ(FormatGeneral(1.0 / 3, 15), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(999, 3), "999");
  EXPECT_EQ(FormatGeneral(1000, 3), "1E3");
  EXPECT_EQ(FormatGeneral(1.0 / 3, 7), "0.3333333");
}

TEST(NumberFormat, PeriodWhateverTheLocale) {
  // Try a locale with a decimal comma when the machine has one; the text must not change.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(FormatGeneral(0.5, 6), "0.5");
  EXPECT_EQ(FormatGeneral(2.5e-5, 6), "2.5E-5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace ludomark
