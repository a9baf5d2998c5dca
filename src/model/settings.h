#pragma once

namespace ludomark {

// Program-wide settings that live in memory while the program runs.
inline double Zoom = 1.0;       // drawing scale, 0.8 to 1.6
inline bool DebugMode = false;  // shows temporary elements, makes the solver trace
// The methods of the solver.
constexpr int kSolvePure = 1;
constexpr int kSolveMixed = 2;
constexpr int kSolveSampling = 3;
constexpr int kSolveTracing = 4;
constexpr int kSolveLemke = 5;
constexpr int kSolveExact = 6;
inline int SolveMethod = kSolveMixed;
// Solution views draw a probability the exact method found as its fraction ("2/3").
inline bool ShowFractions = false;

}  // namespace ludomark
