#include "model/solution.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "model/choice.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
#include "model/obstacles.h"
#include "model/player.h"
#include "model/settings.h"
#include "model/solution_bit.h"

namespace ludomark {

namespace {
int CountOf(TFakeGame* owner, TGameList& (TFakeGame::*list)()) {
  return owner != nullptr ? (owner->*list)().LiveCount() : 0;
}
}  // namespace

TSolution32::TSolution32(TFakeGame* owner)
    : Beliefs(CountOf(owner, &TFakeGame::Nodes), owner),
      Probabilities(CountOf(owner, &TFakeGame::Strategies), owner),
      Expectations(CountOf(owner, &TFakeGame::Strategies), owner),
      Regrets(CountOf(owner, &TFakeGame::Strategies), owner),
      BestSet(CountOf(owner, &TFakeGame::Strategies), owner),
      Values(owner, /*augmented=*/false, CountOf(owner, &TFakeGame::Nodes),
             CountOf(owner, &TFakeGame::Players)) {
  Owner = owner;
}

TSolution32* NewSolution(TFakeGame* owner) {
  auto* solution = new TSolution32(owner);
  solution->InitDefaults();
  solution->Owner = owner;
  return solution;
}

void TSolution32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kSolution;
  FoundCount = 1;
  SolutionFlags = kShowProbabilities | kShowBeliefs | kShowExpected;
}

int32_t TSolution32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Solutions(), this) : 0;
  return Number;
}

std::string TSolution32::Describe(int mode) {
  if (mode == kSolverStepsMode || mode == kStoredTextMode) return TGameObject32::Describe(mode);
  TGameObject32::Describe(mode);
  // The two integers follow in every mode: in their columns of the file line, or straight
  // after the name in listings.
  AppendColumn(Text, std::to_string(Kind), 56);
  AppendColumn(Text, std::to_string(Param), 64);
  return Text;
}

void TSolution32::ParseLine(const std::string& line) {
  TGameObject32::ParseLine(line);
  Kind = ParseIntField(FieldAt(line, 49, 8));
  Param = ParseIntField(FieldAt(line, 57, 8));
}

namespace {

// The display flag of a kind of value, 0 for kinds never drawn.
int32_t FlagOf(int kind) {
  switch (kind) {
    case kBeliefBit:
      return kShowBeliefs;
    case kMoveProbabilityBit:
    case kStrategyProbabilityBit:
      return kShowProbabilities;
    case kMoveExpectedBit:
    case kNodeValueBit:
    case kStrategyExpectedBit:
      return kShowExpected;
    default:
      return 0;
  }
}

// Where a value of the kind stands beside the element it belongs to.
TPoint PlaceOf(const TSolutionBit& bit, const TGameObject32& element) {
  const int32_t x = element.X;
  const int32_t y = element.Y;
  switch (bit.TypeCode) {
    case kBeliefBit:
      return {x + 14, y - 7};
    case kMoveProbabilityBit:
      return {x - 7, y - 38};
    case kMoveExpectedBit:
      return {x - 7, y - 52};
    case kNodeValueBit: {
      // Counted from 0, one line per player as the payoffs stand.
      const int32_t position =
          bit.Owner != nullptr && bit.Player.get() != nullptr
              ? std::max(bit.Owner->Players().PositionOf(bit.Player.get()) - 1, 0)
              : 0;
      return {x - 7, y + 14 + 14 * position};
    }
    case kStrategyProbabilityBit:
      return {x - 7, y + 18};
    default:  // kStrategyExpectedBit
      return {x - 7, y + 32};
  }
}

// The bit's number as the picture writes it: an exact probability as its fraction when the
// setting asks for fractions.
std::string ShownValue(const TSolution32& s, const TSolutionBit& bit, TGameObject32& element) {
  if (ShowFractions) {
    int choice = -1;
    if (bit.TypeCode == kStrategyProbabilityBit) choice = element.Number;
    if (bit.TypeCode == kMoveProbabilityBit) {
      if (auto* move = dynamic_cast<TMove32*>(&element); move != nullptr && move->Choice.get()) {
        choice = move->Choice->Number;
      }
    }
    if (std::string exact = s.ExactOf(choice); choice >= 0 && !exact.empty()) return exact;
  }
  return FormatPicture(bit.Value);
}

}  // namespace

namespace {

// Offsets from a value's own place to try, nearest first, a step sideways (20 units) counting
// for less than a row of text (14 units) up or down so that a value stays on its element's line
// where it can; below before above and right before left at the same distance.
const std::vector<TPoint>& PlacesAround() {
  static const std::vector<TPoint> places = [] {
    constexpr int32_t kRow = 14;
    constexpr int32_t kStep = 20;
    constexpr int32_t kRows = 4;
    constexpr int32_t kSteps = 7;
    std::vector<TPoint> all;
    for (int32_t row = -kRows; row <= kRows; ++row) {
      for (int32_t step = -kSteps; step <= kSteps; ++step) {
        all.push_back(TPoint{step * kStep, row * kRow});
      }
    }
    auto cost = [](const TPoint& p) {
      return 2 * std::abs(p.X) / kStep + 3 * std::abs(p.Y) / kRow;
    };
    std::stable_sort(all.begin(), all.end(), [&](const TPoint& a, const TPoint& b) {
      if (cost(a) != cost(b)) return cost(a) < cost(b);
      if (a.Y != b.Y) return a.Y > b.Y;
      return a.X > b.X;
    });
    return all;
  }();
  return places;
}

}  // namespace

void TSolution32::Draw(TCanvas& canvas) {
  DrawValues(canvas, nullptr);
}

void TSolution32::Draw(TCanvas& canvas, TObstacles& obstacles) {
  DrawValues(canvas, &obstacles);
}

void TSolution32::DrawValues(TCanvas& canvas, TObstacles* obstacles) {
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(kBlack);
  canvas.SetFontStyle(TFontStyle::Regular);
  canvas.SetFontSize(ToScreen(8));
  // The values of one element move together, so that they stay one block beside it.
  struct Value {
    TSolutionBit* Bit;
    std::string Text;
    TPoint At;
    TPoint Size;
  };
  std::vector<TGameObject32*> order;
  std::unordered_map<TGameObject32*, std::vector<Value>> blocks;
  Bits.ForEachAs<TSolutionBit>([&](TSolutionBit* bit) {
    TGameObject32* element = bit->Move.get();
    if (bit->Temporary || element == nullptr || (SolutionFlags & FlagOf(bit->TypeCode)) == 0) {
      return;
    }
    auto [block, added] = blocks.try_emplace(element);
    if (added) order.push_back(element);
    const std::string text = SolutionBitLabel(bit->TypeCode) + ShownValue(*this, *bit, *element);
    block->second.push_back(Value{bit, text, PlaceOf(*bit, *element), canvas.TextExtent(text)});
  });
  auto box = [](const Value& v, const TPoint& offset) {
    const int32_t x = ToScreen(v.At.X + offset.X);
    const int32_t y = ToScreen(v.At.Y + offset.Y);
    return TRect{x - 1, y - 1, x + v.Size.X + 1, y + v.Size.Y + 1};
  };
  for (TGameObject32* element : order) {
    std::vector<Value>& values = blocks[element];
    TPoint offset{0, 0};
    if (obstacles != nullptr) {
      for (const TPoint& candidate : PlacesAround()) {
        const bool free = std::none_of(values.begin(), values.end(), [&](const Value& v) {
          return obstacles->Hits(box(v, candidate));
        });
        if (free) {
          offset = candidate;
          break;
        }
      }
      for (const Value& v : values) obstacles->AddBox(box(v, offset));
    }
    for (const Value& v : values) {
      TSolutionBit* bit = v.Bit;
      const TPoint at{v.At.X + offset.X, v.At.Y + offset.Y};
      bit->SetPosition(at.X, at.Y);
      canvas.SetBrushColor(kWhite);
      canvas.SetFontColor(bit->Player.get() != nullptr ? bit->Player->Color : kBlack);
      canvas.SetFontSize(ToScreen(8));
      canvas.TextOut(ToScreen(at.X), ToScreen(at.Y), v.Text);
      if (bit->TypeCode == kMoveProbabilityBit && bit->Value == 0) {
        if (auto* move = dynamic_cast<TMove32*>(element)) DrawCurve(canvas, *move, /*solid=*/false);
      }
      if (bit->TypeCode == kBeliefBit && bit->Value == 0) {
        if (auto* node = dynamic_cast<TNode32*>(element)) NodeDisc(canvas, *node, /*filled=*/false);
      }
    }
  }
}

}  // namespace ludomark
