#pragma once

#include "model/game_object.h"

namespace ludomark {

class TFakeGame;

// A new element of the class a file record type stands for, or nothing for records that are
// skipped (choices, headers, unknown or unreadable types).
TGameObject32* NewElementForRecord(int typeCode, TFakeGame* owner);

}  // namespace ludomark
