#pragma once

namespace ludomark {

// Program-wide settings that live in memory while the program runs.
inline double Zoom = 1.0;       // drawing scale, 0.8 to 1.6
inline bool DebugMode = false;  // shows temporary elements, makes the solver trace
inline int SolveMethod = 2;     // 1 Pure, 2 Mixed, 3 Sampling

}  // namespace ludomark
