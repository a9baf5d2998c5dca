#pragma once

#include <cstdint>

#include "model/messages.h"

namespace ludomark {

class TGameList;
class TGameObject32;

// What an element needs of its document. The document implements it; elements reach their
// siblings only through these lists.
class TFakeGame {
 public:
  virtual ~TFakeGame() = default;

  virtual TGameList& Players() = 0;
  virtual TGameList& Nodes() = 0;
  virtual TGameList& Moves() = 0;
  virtual TGameList& Infos() = 0;
  virtual TGameList& Payoffs() = 0;
  virtual TGameList& Strategies() = 0;
  virtual TGameList& BoundBits() = 0;
  virtual TGameList& Selection() = 0;
  virtual TGameList& Solutions() = 0;

  // Identity number of an element of the list: its 1-based position, or, while a file is
  // written, its position among the elements the file will hold.
  virtual int32_t NumberIn(TGameList& list, const TGameObject32* element) = 0;
  // Element `number` (1-based) of the list as the file was read, while a file is relinked, so
  // that elements dropped meanwhile shift nothing; otherwise of the list as it stands. `gone`
  // is set when the element read at that position has been dropped since.
  virtual TGameObject32* ElementAsRead(TGameList& list, int32_t number, bool& gone) = 0;
  virtual void AddObject(TGameObject32* element) = 0;
  virtual void SetStatus(int code) = 0;
  virtual TMessageSink& Messages() = 0;
  // True while the document tears itself down: elements then skip tidying their siblings.
  virtual bool Closing() const = 0;
};

}  // namespace ludomark
