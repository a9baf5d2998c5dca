#include "solver/pure_profiles.h"

#include <algorithm>
#include <vector>

#include "model/choice.h"
#include "model/info.h"
#include "model/number_format.h"
#include "model/player.h"
#include "solver/evaluation.h"
#include "solver/profile.h"

namespace ludomark {

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

void UpdateRanges(TGameForm32& game, TInfo32& info) {
  // Scratch lists of the run's working data, so that the test allocates nothing per set.
  std::vector<TChoice32*> scratchOwn;
  std::vector<int> scratchExcluded;
  std::vector<TChoice32*>& own = game.Work != nullptr ? game.Work->RangeChoices : scratchOwn;
  std::vector<int>& excluded = game.Work != nullptr ? game.Work->RangeExcluded : scratchExcluded;
  own.clear();
  excluded.clear();
  info.Choices.ForEachAs<TChoice32>([&](TChoice32* c) {
    if (!c->HasPlayer() || c->Owner == nullptr) return;
    c->MaxExpected = -1e150;
    c->MinExpected = 1e150;
    if (!c->Eliminated) own.push_back(c);
  });
  if (own.empty()) return;
  // Choices left out of the supports fixed so far at the other sets on the path: a profile
  // that uses one of them does not count.
  game.Strategies().ForEachAs<TChoice32>([&](TChoice32* d) {
    if (d->HasPlayer() && d->Info.get() != &info && d->Info->Mark && !d->Mark) {
      excluded.push_back(d->Number);
    }
  });
  game.Profiles().ForEachAs<TProfile>([&](TProfile* profile) {
    for (const int d : excluded) {
      if (profile->Used.Get(d)) return;
    }
    const double value = profile->InfoValues.Get(info.Number);
    for (TChoice32* c : own) {
      if (!profile->Used.Get(c->Number)) continue;
      c->MaxExpected = std::max(c->MaxExpected, value);
      c->MinExpected = std::min(c->MinExpected, value);
    }
  });
}

void Eliminate(TGameForm32& game, const std::atomic<bool>* stop) {
  do {
    if (stop != nullptr && stop->load()) return;
    game.Infos().ForEachAs<TInfo32>([&](TInfo32* info) { UpdateRanges(game, *info); });
  } while (EliminationPass(game));
}

bool SupportPruned(TGameForm32& game, TInfo32& info) {
  UpdateRanges(game, info);
  bool pruned = false;
  info.Choices.ForEach([&](TGameObject32* c) {
    if (c->Mark && As<TChoice32>(c)->IsDominated()) pruned = true;
  });
  return pruned;
}

}  // namespace ludomark
