#pragma once

#include <cstddef>
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
// Whether a real field holds a number the format cannot mean: "nan", "inf" and the like, a
// hexadecimal form, or a decimal beyond the range of a double. Reading it as 0 or as a shorter
// number would silently solve another game.
bool IsUnreadableNumber(const std::string& field);
// The text with every control character (codes 0 to 31 and 127, and the C1 controls written
// in UTF-8) and every U+FEFF replaced by blanks.
std::string WithoutControls(const std::string& text);
// The longest start of a UTF-8 text of at most `bytes` bytes that ends between characters.
std::string CutToCharacters(const std::string& text, std::size_t bytes);
// A full name field whose last character was cut short (its last bytes start a UTF-8
// character that the field has no room to finish) with that character as U+FFFD; any other
// field as it is. Broken bytes would otherwise reach listings and JSON.
std::string WithCutCharacterMarked(const std::string& field, std::size_t width);
// General format of a value cut to the width of its field.
std::string RealField(double value, int width);

}  // namespace ludomark
