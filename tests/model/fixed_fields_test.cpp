#include "model/fixed_fields.h"

#include <gtest/gtest.h>

namespace ludomark {
namespace {

TEST(FixedFields, FieldAtAndPadTo) {
  EXPECT_EQ(FieldAt("abcdef", 2, 3), "bcd");
  EXPECT_EQ(FieldAt("abcdef", 5, 8), "ef");
  EXPECT_EQ(FieldAt("abcdef", 7, 8), "");
  EXPECT_EQ(FieldAt("abcdef", 0, 8), "");
  std::string s = "ab";
  PadTo(s, 5);
  EXPECT_EQ(s, "ab   ");
  s = "A name that is far too long";
  PadTo(s, 16);
  EXPECT_EQ(s, "A name that is f");
}

TEST(FixedFields, IntegersReadAsFarAsTheyGo) {
  EXPECT_EQ(ParseIntField("12      "), 12);
  EXPECT_EQ(ParseIntField("12x"), 12);
  EXPECT_EQ(ParseIntField("   -7   "), -7);
  EXPECT_EQ(ParseIntField("+5"), 5);
  EXPECT_EQ(ParseIntField("        "), -1);
  EXPECT_EQ(ParseIntField(""), -1);
  EXPECT_EQ(ParseIntField("x12"), -1);
  EXPECT_EQ(ParseIntField("-"), -1);
  EXPECT_EQ(ParseIntField("0"), 0);
  EXPECT_EQ(ParseIntField("2147483647"), 2147483647);
  EXPECT_EQ(ParseIntField("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseIntField("99999999999"), 999999999);  // shortened until it fits
}

TEST(FixedFields, RealsReadAsFarAsTheyGo) {
  EXPECT_DOUBLE_EQ(ParseFloatField("0.333333"), 0.333333);
  EXPECT_DOUBLE_EQ(ParseFloatField("  -0.5  "), -0.5);
  EXPECT_DOUBLE_EQ(ParseFloatField("1E-12"), 1e-12);
  EXPECT_DOUBLE_EQ(ParseFloatField("2.5e-5x"), 2.5e-5);
  EXPECT_DOUBLE_EQ(ParseFloatField("1.5E"), 1.5);
  EXPECT_DOUBLE_EQ(ParseFloatField(".25"), 0.25);
  EXPECT_DOUBLE_EQ(ParseFloatField("1e999"), 1e99);
  EXPECT_DOUBLE_EQ(ParseFloatField("        "), 0);
  EXPECT_DOUBLE_EQ(ParseFloatField("inf"), 0);
  EXPECT_DOUBLE_EQ(ParseFloatField("nan"), 0);
  EXPECT_DOUBLE_EQ(ParseFloatField("0x1p3"), 0);
}

TEST(FixedFields, RealFieldsFitTheirWidthWithoutLosingTheExponent) {
  EXPECT_EQ(RealField(1.0 / 3, 8), "0.333333");
  EXPECT_EQ(RealField(-1.0 / 3, 8), "-0.33333");  // fixed texts are cut
  EXPECT_EQ(RealField(0.9, 8), "0.9");
  EXPECT_EQ(RealField(1e-12, 8), "1E-12");
  EXPECT_EQ(RealField(1.23456789e-5, 8), "1.235E-5");  // cutting would store 1.23457
  EXPECT_EQ(RealField(-1.23456789e-5, 8), "-1.23E-5");
  EXPECT_EQ(RealField(123456789, 8), "1.2346E8");
  EXPECT_EQ(RealField(-1.0 / 3, 16), "-0.333333");
}

}  // namespace
}  // namespace ludomark
