#pragma once

// Checks of the program's own invariants. In the sanitizer build (LUDOMARK_DCHECKS) a failed
// check prints where it failed and aborts, so a programming error stops the test run; in other
// builds the condition is compiled but not evaluated.
#ifdef LUDOMARK_DCHECKS
#define LUDOMARK_DCHECK(condition) \
  ((condition) ? (void)0 : ::ludomark::DcheckFailed(#condition, __FILE__, __LINE__))
#else
#define LUDOMARK_DCHECK(condition) ((void)sizeof(!(condition)))
#endif

namespace ludomark {

[[noreturn]] void DcheckFailed(const char* condition, const char* file, int line);

}  // namespace ludomark
