#pragma once

#include <QIcon>

namespace ludomark {

// The program's icon: two players' discs joined by a move, drawn at every size asked.
QIcon AppIcon();

}  // namespace ludomark
