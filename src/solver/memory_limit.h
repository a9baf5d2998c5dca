#pragma once

#include <cstdint>
#include <string>

namespace ludomark {

// The machine's physical memory in bytes (the largest value when it cannot be told).
std::uint64_t PhysicalMemoryBytes();
// Bytes as a reader takes them: "6.3 GB", "512 MB".
std::string MemoryText(std::uint64_t bytes);

}  // namespace ludomark
