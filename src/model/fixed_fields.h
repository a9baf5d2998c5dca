#pragma once

#include <cstdint>
#include <string>

namespace ludomark {

// Fixed-width fields of game file lines; columns count from 1.

// Characters from column `start` over `width` columns, as far as the line reaches.
std::string FieldAt(const std::string& line, int start, int width);
// Pads with blanks up to `width`, or cuts to it.
void PadTo(std::string& text, int width);
// The integer at the start of the field (leading blanks and a sign allowed), reading as much
// as makes a number: "12 " and "12x" give 12; a field holding no number gives -1.
int32_t ParseIntField(const std::string& text);
// The same for a real number (period, optional exponent); 0 when nothing parses.
double ParseFloatField(const std::string& text);
// General format of a value cut to the width of its field.
std::string RealField(double value, int width);

}  // namespace ludomark
