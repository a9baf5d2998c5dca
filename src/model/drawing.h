#pragma once

#include <array>
#include <cstdint>

#include "model/canvas.h"
#include "model/geometry.h"

namespace ludomark {

class TFakeGame;
class TGameObject32;
class TMove32;
class TNode32;

// The drawing routines every element shares. Points are in model units and scaled with
// ToScreen when drawn, unless a routine says they are pixels already.

// Dashes from a to b (pixels): one per 50 pixels of length, rounded; none when that is 0.
void DashedLine(TCanvas& canvas, TPoint a, TPoint b);
// Dashes along an arc from a to b (model units) that bows below the straight line by a quarter
// of its length (at least 30, at most 150 units), dashed as DashedLine dashes a line.
void DashedArc(TCanvas& canvas, TPoint a, TPoint b);
// Whether the segment from a to b passes over the disc of a node of the game other than the
// two given (its ends) and the temporary ones.
bool PassesANode(TFakeGame& game, TPoint a, TPoint b, const TGameObject32* end1,
                 const TGameObject32* end2);
// A small figure of a player at (x, y) in the colour.
void PlayerFigure(TCanvas& canvas, int32_t x, int32_t y, int32_t color);
// A triangle through the three points, in the current pen and brush.
void FillTriangle(TCanvas& canvas, const std::array<TPoint, 3>& points);
// The disc of a node in its colour, or white when hollow; its outline is one pixel wide.
void NodeDisc(TCanvas& canvas, const TNode32& node, bool filled);
// The curve of a move: solid, or with every other segment painted over in white (dashed).
void DrawCurve(TCanvas& canvas, const TMove32& move, bool solid);
// The label every element starts with: its name above it (information sets write none), then
// pen and brush in its colour. False, with nothing drawn, for a temporary element unless
// DebugMode is on.
bool DrawLabel(TCanvas& canvas, TGameObject32& element);
// The dotted grid of the window: a line every 20 model units up to 2000.
void DrawGrid(TCanvas& canvas);

// Colours of the picture.
constexpr int32_t kWhite = 0xFFFFFF;

}  // namespace ludomark
