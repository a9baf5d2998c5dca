#include "model/solution.h"

#include <algorithm>

#include "model/choice.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/fixed_fields.h"
#include "model/info.h"
#include "model/move.h"
#include "model/node.h"
#include "model/number_format.h"
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

void TSolution32::Draw(TCanvas& canvas) {
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(kBlack);
  canvas.SetFontStyle(TFontStyle::Regular);
  canvas.SetFontSize(ToScreen(8));
  Bits.ForEachAs<TSolutionBit>([&](TSolutionBit* bit) {
    TGameObject32* element = bit->Move.get();
    if (bit->Temporary || element == nullptr || (SolutionFlags & FlagOf(bit->TypeCode)) == 0) {
      return;
    }
    const TPoint at = PlaceOf(*bit, *element);
    bit->SetPosition(at.X, at.Y);
    canvas.SetBrushColor(kWhite);
    canvas.SetFontColor(bit->Player.get() != nullptr ? bit->Player->Color : kBlack);
    canvas.SetFontSize(ToScreen(8));
    canvas.TextOut(ToScreen(at.X), ToScreen(at.Y),
                   SolutionBitLabel(bit->TypeCode) + ShownValue(*this, *bit, *element));
    if (bit->TypeCode == kMoveProbabilityBit && bit->Value == 0) {
      if (auto* move = dynamic_cast<TMove32*>(element)) DrawCurve(canvas, *move, /*solid=*/false);
    }
    if (bit->TypeCode == kBeliefBit && bit->Value == 0) {
      if (auto* node = dynamic_cast<TNode32*>(element)) NodeDisc(canvas, *node, /*filled=*/false);
    }
  });
}

}  // namespace ludomark
