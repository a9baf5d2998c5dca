#include "model/info.h"

#include "model/choice.h"
#include "model/colors.h"
#include "model/drawing.h"
#include "model/fake_game.h"
#include "model/move.h"
#include "model/node.h"
#include "model/player.h"
#include "model/random.h"
#include "model/settings.h"

namespace ludomark {

TInfo32::~TInfo32() {
  Player = nullptr;
  Best = nullptr;
  SuccessorSet = nullptr;
  Members.ForEachAs<TNode32>([&](TNode32* node) {
    if (node->Info.get() == this) node->SetInfo(nullptr);
  });
  Members.Clear();
  if (!Choices.Owning()) Choices.Clear();
}

void TInfo32::InitDefaults() {
  TGameObject32::InitDefaults();
  TypeCode = kInfo;
  Player = nullptr;
  Best = nullptr;
  SuccessorSet = nullptr;
  Members.Clear();
  if (!Choices.Owning()) Choices.Clear();
}

void TInfo32::SetPlayer(TPlayer32* p) {
  Player = p;
}

int32_t TInfo32::Renumber() {
  Number = Owner != nullptr ? Owner->NumberIn(Owner->Infos(), this) : 0;
  return Number;
}

bool TInfo32::InRect(const TRect& rect) {
  int inside = 0;
  Members.ForEach([&](TGameObject32* e) {
    if (e->InRect(rect)) ++inside;
  });
  return inside >= 2;
}

std::string TInfo32::Describe(int mode) {
  if (mode == kFileLine || mode == kSolverStepsMode || mode == kStoredTextMode) {
    return TGameObject32::Describe(mode);
  }
  std::string text = Name;
  Members.ForEach([&](TGameObject32* e) { text += e->Describe(kShortText) + " "; });
  Text = text;
  return Text;
}

bool TInfo32::Relink() {
  std::vector<TNode32*> members;
  if (TypeCode != kSide && Owner != nullptr) {
    Owner->Nodes().ForEach([&](TGameObject32* e) {
      if (As<TNode32>(e)->Info.get() == this) members.push_back(As<TNode32>(e));
    });
  }
  return RelinkWith(members, [](TNode32* n) { return n->HasIncomingMove(); });
}

bool TInfo32::RelinkWith(const std::vector<TNode32*>& members,
                         const std::function<bool(TNode32*)>& reached) {
  bool result = true;
  ChoiceMask = 0;
  if (TypeCode == kSide) {
    Choices.ForEach([&](TGameObject32*) { ChoiceMask = ChoiceMask * 2 + 1; });
  } else {
    Members.Clear();
    if (!Choices.Owning()) Choices.Clear();
    for (TNode32* node : members) Members.Add(node);
    if (TNode32* first = FirstMember()) {
      Player = first->Player.get();
      for (TNode32* node : members) {
        if (!reached(node)) result = false;
      }
    }
  }
  Singleton = Members.LiveCount() <= 1;
  return result;
}

void TInfo32::AddChoice(TChoice32* c) {
  Choices.Add(c);
  ChoiceMask = ChoiceMask * 2 + 1;
}

void TInfo32::FindBest() {
  // Found first, linked once: relinking costs more than comparing.
  TChoice32* best = nullptr;
  double value = -1e150;
  Choices.ForEachAs<TChoice32>([&](TChoice32* choice) {
    if (choice->Expected > value) {
      value = choice->Expected;
      best = choice;
    }
  });
  Best = best;
  BestValue = value;
}

void TInfo32::SetMarks(bool flag, int k) {
  int position = 0;
  Choices.ForEach([&](TGameObject32* e) {
    if (position++ < k) e->Mark = flag;
  });
}

bool TInfo32::NextSubset(int k) {
  // Binary counting over the choices' marks, the first choice being the lowest bit.
  if (k <= 0) return false;
  if (NextSubset(k - 1)) return true;
  Choices.Pack();
  TGameObject32* kth = Choices.Get(k - 1);
  if (kth == nullptr || kth->Mark) return false;
  kth->Mark = true;
  SetMarks(/*flag=*/false, k - 1);
  return true;
}

TNode32* TInfo32::FirstMember() {
  return As<TNode32>(Members.First());
}

std::string TInfo32::FirstMemberName() {
  TNode32* first = FirstMember();
  return first != nullptr ? first->Name : "Anonymous";
}

int TInfo32::MoveCount() {
  TNode32* first = FirstMember();
  return first != nullptr ? first->OutDegree() : 0;
}

TNode32* TInfo32::ArtificialNode() {
  if (Owner == nullptr) return nullptr;
  auto* node = NewElement<TNode32>(Owner);
  node->Temporary = true;
  Owner->Nodes().Add(node);
  int32_t highest = 0;
  Members.ForEach([&](TGameObject32* e) { highest = Max(highest, e->Level); });
  node->Level = highest - 1;
  node->Name = "Art" + FirstMemberName();
  TNode32* first = FirstMember();
  node->Player = first != nullptr ? first->Player.get() : nullptr;
  Members.ForEachAs<TNode32>([&](TNode32* member) {
    auto* move = NewElement<TMove32>(Owner);
    move->Temporary = true;
    move->From = node;
    move->To = member;
    move->Name = "To " + member->Name;
    move->Value = 1e-12;
    if (DebugMode) {
      move->X = static_cast<int32_t>((static_cast<double>(node->X) + member->X) / 2);
      move->Y = static_cast<int32_t>((static_cast<double>(node->Y) + member->Y) / 2);
    }
    Owner->Moves().Add(move);
  });
  if (DebugMode) {
    // Truncated like the coordinates of the moves; a later move refresh draws them.
    node->X = static_cast<int32_t>(SharedRandom().Next() * 1000);
    node->Y = static_cast<int32_t>(SharedRandom().Next() * 1000);
  }
  return node;
}

void TInfo32::Draw(TCanvas& canvas) {
  if (Temporary && !DebugMode) return;
  std::vector<TGameObject32*> members;
  Members.ForEach([&](TGameObject32* m) { members.push_back(m); });
  if (members.size() < 2) return;
  Color = Player.get() != nullptr ? Player->Color : kBlack;
  DrawLabel(canvas, *this);
  canvas.SetPenWidth(ToScreen(5));
  for (std::size_t i = 1; i < members.size(); ++i) {
    const TPoint from{members[i - 1]->X, members[i - 1]->Y};
    const TPoint to{members[i]->X, members[i]->Y};
    // A straight line would run through a node that is not a member (another set's member on
    // the same row, most often): the two members are joined by an arc below them instead.
    if (Owner != nullptr && PassesANode(*Owner, from, to, members[i - 1], members[i])) {
      DashedArc(canvas, from, to);
    } else {
      DashedLine(canvas, TPoint{ToScreen(from.X), ToScreen(from.Y)},
                 TPoint{ToScreen(to.X), ToScreen(to.Y)});
    }
  }
  canvas.SetPenWidth(ToScreen(1));
}

}  // namespace ludomark
