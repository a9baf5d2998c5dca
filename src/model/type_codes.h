#pragma once

namespace ludomark {

// One number names both the kind of an element and its record type in game files.
enum TypeCodes : int {
  kRemoved = -1,
  kPlain = 0,
  kSelectRect = 100,
  kPlayer = 201,
  kMove = 203,
  kPayoff = 204,
  kInfo = 205,
  kChoice = 303,
  kStrategy = 304,
  kSide = 403,
  kNode = 502,
  kTable = 503,
  kCell = 504,
  kGroup = 798,
  kProfile = 799,
  kSolution = 800,
  kUpperBoundBit = 810,
  kLowerBoundBit = 811,
  kHeaderRecord = 900,
};

}  // namespace ludomark
