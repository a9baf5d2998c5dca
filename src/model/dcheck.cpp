#include "model/dcheck.h"

#include <cstdio>
#include <cstdlib>

namespace ludomark {

void DcheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace ludomark
