#pragma once

#include <string>

namespace ludomark {

// General number format with at most `digits` significant digits, the period as separator
// whatever the locale: trailing zeros and an unneeded point are dropped; magnitudes below 0.0001
// or with more than `digits` digits before the point take scientific notation (2.5E-5, 1.23457E6).
std::string FormatGeneral(double value, int digits);
// The numbers drawn on the picture: the same with 6 digits, but fixed down to 0.00001.
std::string FormatPicture(double value);

}  // namespace ludomark
