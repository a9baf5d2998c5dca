#include "solver/pure_profiles.h"

#include "model/choice.h"
#include "model/info.h"
#include "model/number_format.h"
#include "model/player.h"
#include "solver/evaluation.h"
#include "solver/profile.h"

namespace ludomark {

namespace {}  // namespace

bool RecordProfile(TGameForm32& game) {
  if (!Evaluate(game, /*all=*/true)) return false;
  auto* profile = new TProfile(game.Strategies().LiveCount(), game.Infos().LiveCount(), &game);
  profile->SetName("Profile # " + FormatGeneral(game.Profiles().LiveCount() + 1, 3));
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* choice) {
    if (HasPlayer(choice->Info.get())) profile->Used.Put(choice->Number, choice->Mark);
  });
  game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) {
    if (!HasPlayer(info)) return;
    info->Choices.ForEach([&](TGameObject32* c) {
      if (c->Mark) profile->InfoValues.Put(/*add=*/false, info->Number, As<TChoice32>(c)->Expected);
    });
  });
  game.Profiles().Add(profile);
  return true;
}

void PurgeProfiles(TGameForm32& game) {
  game.Profiles().ForEachAs<TProfile>([&](TProfile* profile) {
    bool usesEliminated = false;
    game.Strategies().ForEach([&](TGameObject32* e) {
      if (As<TChoice32>(e)->Eliminated && profile->Used.Get(e->Number)) {
        usesEliminated = true;
      }
    });
    if (usesEliminated) game.Profiles().FreeElementOf(profile);
  });
  game.Profiles().Pack();
}

bool EliminationPass(TGameForm32& game) {
  bool changed = false;
  for (;;) {
    bool stable = true;
    game.Strategies().ForEachAs<TChoice32>([&](TChoice32* choice) {
      if (choice->Eliminated || !choice->IsDominated()) return;
      choice->Eliminated = true;
      stable = false;
    });
    if (stable) return changed;
    PurgeProfiles(game);
    changed = true;
  }
}

void Eliminate(TGameForm32& game, const std::atomic<bool>* stop) {
  do {
    if (stop != nullptr && stop->load()) return;
    game.Strategies().ForEach(
        [&](TGameObject32* e) { As<TChoice32>(e)->UpdateRange(game.Profiles()); });
  } while (EliminationPass(game));
}

bool SupportPruned(TGameForm32& game, TInfo32& info) {
  info.Choices.ForEach([&](TGameObject32* c) { As<TChoice32>(c)->UpdateRange(game.Profiles()); });
  bool pruned = false;
  info.Choices.ForEach([&](TGameObject32* c) {
    if (c->Mark && As<TChoice32>(c)->IsDominated()) pruned = true;
  });
  return pruned;
}

}  // namespace ludomark
