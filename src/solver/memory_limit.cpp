#include "solver/memory_limit.h"

#include <unistd.h>

#include <limits>

#include "model/number_format.h"

namespace ludomark {

std::uint64_t PhysicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || size <= 0) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size);
}

std::string MemoryText(std::uint64_t bytes) {
  const double megabytes = static_cast<double>(bytes) / 1e6;
  if (megabytes < 1000) return FormatGeneral(megabytes, 3) + " MB";
  return FormatGeneral(megabytes / 1000, 2) + " GB";
}

}  // namespace ludomark
