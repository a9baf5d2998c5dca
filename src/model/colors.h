#pragma once

#include <cstdint>

namespace ludomark {

// Colours are 0x00BBGGRR values.
constexpr int32_t kBlack = 0;
constexpr int32_t kGrey = 8421504;  // red, green and blue 128 each
constexpr int32_t kBlue = 16711680;
constexpr int32_t kRed = 255;
constexpr int32_t kGreen = 32768;

}  // namespace ludomark
