#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/game_list.h"
#include "model/game_object.h"
#include "model/player.h"

namespace ludomark {

class TPlayer32;
class TChoice32;
class TNode32;

// Decision nodes of one player that the player cannot tell apart. Membership, owner and choices
// are derived from the nodes and moves each time the set relinks.
class TInfo32 : public TGameObject32 {
 public:
  Ref<TPlayer32> Player;
  TGameList Members;  // view, in Nodes order
  TGameList Choices;  // view; a side owns its strategies here
  bool NeedsArt = false;
  bool Singleton = false;
  uint32_t ChoiceMask = 0;
  double BestValue = 0;
  Ref<TChoice32> Best;
  Ref<TInfo32> SuccessorSet;  // the audit's working link of a temporary set
  bool Derived = false;       // made by the audit for a node alone; never saved

  ~TInfo32() override;

  void InitDefaults() override;
  bool InRect(const TRect& rect) override;
  int32_t Renumber() override;
  std::string Describe(int mode) override;
  void Draw(TCanvas& canvas) override;
  // Rebuilds the members from the nodes that name the set; false when some member is reached
  // by no move.
  bool Relink() override;
  // The same with the members (in Nodes order) and the reach test given, for relinking every
  // set of a game in one pass.
  bool RelinkWith(const std::vector<TNode32*>& members,
                  const std::function<bool(TNode32*)>& reached);

  void SetPlayer(TPlayer32* p);
  void AddChoice(TChoice32* c);
  void FindBest();
  bool NextSubset(int k);
  void SetMarks(bool flag, int k);
  std::string FirstMemberName();
  int MoveCount();
  TNode32* FirstMember();
  // Builds a temporary node with a temporary move to every member.
  TNode32* ArtificialNode();
};

// A set of a player (not of chance); nothing counts as chance.
inline bool HasPlayer(const TInfo32* info) {
  return info != nullptr && info->Player.get() != nullptr;
}

}  // namespace ludomark
