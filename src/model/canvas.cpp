#include "model/canvas.h"

namespace ludomark {

TPoint EstimatedTextExtent(const std::string& text, int32_t points) {
  int32_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  // The desktop's 8-point font is about 6 pixels a character and 13 high.
  const int32_t size = points > 0 ? points : 1;
  return TPoint{(characters * 7 * size + 7) / 8, (size * 13 + 7) / 8 + 1};
}

}  // namespace ludomark
