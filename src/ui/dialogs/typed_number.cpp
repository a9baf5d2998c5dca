#include "ui/dialogs/typed_number.h"

#include <charconv>
#include <cmath>

#include "model/number_format.h"

namespace ludomark {

bool ReadTypedNumber(const std::string& text, double& value) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  const std::size_t end = text.find_last_not_of(' ') + 1;
  if (text[begin] == '+' && begin + 1 < end && text[begin + 1] != '-') ++begin;
  double read = 0;
  const auto result = std::from_chars(text.data() + begin, text.data() + end, read);
  if (result.ec != std::errc() || result.ptr != text.data() + end || !std::isfinite(read)) {
    return false;
  }
  value = read;
  return true;
}

std::string DialogNumber(double value) {
  return FormatGeneral(value, 7);
}

}  // namespace ludomark
