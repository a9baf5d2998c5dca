#pragma once

#include <string>

namespace ludomark {

// A number typed in a dialog: the whole text (blanks around it allowed) in the period notation,
// whatever the locale. False for anything else, the value then untouched.
bool ReadTypedNumber(const std::string& text, double& value);

// A number as a dialog's edit shows it: general format, 7 significant digits.
std::string DialogNumber(double value);

}  // namespace ludomark
