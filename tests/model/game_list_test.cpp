#include "model/game_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/node.h"

namespace ludomark {
namespace {

TGameObject32* Named(const char* name, int code = 0) {
  auto* e = NewElement<TGameObject32>(nullptr);
  e->SetName(name);
  e->TypeCode = code;
  return e;
}

std::vector<std::string> Names(TGameList& list) {
  std::vector<std::string> names;
  list.ForEach([&](TGameObject32* e) { names.push_back(e->Name); });
  return names;
}

TEST(Ref, EmptiesWhenTargetIsDestroyedAndSurvivesMoves) {
  TGameObject32* target = Named("t");
  Ref<TGameObject32> a = target;
  Ref<TGameObject32> b = a;
  std::vector<Ref<TGameObject32>> many;
  // NOLINTNEXTLINE(performance-inefficient-vector-operation): the reallocations are the point
  for (int i = 0; i < 100; ++i) many.emplace_back(target);  // reallocation moves the links
  Ref<TGameObject32> moved = std::move(b);
  EXPECT_EQ(b.get(), nullptr);  // NOLINT(bugprone-use-after-move): a moved link is empty
  EXPECT_EQ(moved.get(), target);
  many.erase(many.begin() + 10, many.begin() + 60);
  FreeElement(target);
  EXPECT_EQ(a.get(), nullptr);
  EXPECT_EQ(moved.get(), nullptr);
  for (auto& r : many) EXPECT_EQ(r.get(), nullptr);
}

TEST(Ref, SelfLinkAndReassignment) {
  TGameObject32* first = Named("a");
  TGameObject32* second = Named("b");
  first->CopyLink = first;  // an element may link to itself
  Ref<TGameObject32> r = first;
  r = second;
  FreeElement(first);  // r no longer points there and must not be touched
  EXPECT_EQ(r.get(), second);
  r = nullptr;
  FreeElement(second);
  EXPECT_EQ(r.get(), nullptr);
}

TEST(GameList, WalkSkipsEmptyEntriesAndElementsDestroyedElsewhere) {
  TGameList owner(/*owning=*/true);
  TGameList view;
  for (const char* n : {"a", "b", "c", "d"}) {
    TGameObject32* e = Named(n);
    owner.Add(e);
    view.Add(e);
  }
  view.Add(nullptr);
  owner.FreeElementOf(owner.Get(1));  // "b" goes; the view's entry empties itself
  EXPECT_EQ(Names(view), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(view.PositionOf(owner.Get(2)), 2);

  // Elements destroyed during a walk are skipped, appended ones are not visited.
  std::vector<std::string> seen;
  owner.ForEach([&](TGameObject32* e) {
    seen.push_back(e->Name);
    if (e->Name == "a") {
      owner.FreeElementOf(owner.Get(1));  // "c"
      owner.Add(Named("late"));
    }
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "d"}));
  EXPECT_EQ(Names(owner), (std::vector<std::string>{"a", "d", "late"}));
  view.Clear();
}

TEST(GameList, FreeByTypeKeepsOrderOfTheRestAndZeroFreesAll) {
  TGameList list(/*owning=*/true);
  for (const char* n : {"a", "b", "c", "d", "e"}) list.Add(Named(n, 502));
  list.Get(1)->MarkForRemoval();
  list.Get(3)->MarkForRemoval();
  list.FreeByType(kRemoved);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "e"}));
  EXPECT_EQ(list.Count(), 3);
  list.FreeByType(0);
  EXPECT_EQ(list.Count(), 0);
}

TEST(GameList, PositionsAndLookups) {
  TGameList list(/*owning=*/true);
  TGameObject32* a = Named("a");
  TGameObject32* b = Named("b");
  list.Add(a);
  list.Add(b);
  TGameObject32* stranger = Named("x");
  EXPECT_EQ(list.PositionOf(stranger), 0);
  EXPECT_EQ(list.PositionOf(b), 2);
  EXPECT_FALSE(list.Contains(stranger));
  EXPECT_EQ(list.ElementAt(0), nullptr);
  EXPECT_EQ(list.ElementAt(2), b);
  EXPECT_EQ(list.ElementAt(3), nullptr);
  list.Remove(a);  // the element survives, its entry empties
  EXPECT_EQ(list.PositionOf(b), 1);
  EXPECT_EQ(list.ElementAt(1), b);
  EXPECT_EQ(list.LiveCount(), 1);
  FreeElement(a);
  FreeElement(stranger);
}

TEST(GameList, ViewNeverFreesAndOwnerFreesOnDestruction) {
  TGameObject32* kept = Named("kept");
  Ref<TGameObject32> watch;
  {
    TGameList view;
    view.Add(kept);
  }
  EXPECT_EQ(kept->Name, "kept");  // still alive: the sanitizer would object otherwise
  {
    TGameList owner(/*owning=*/true);
    owner.Add(kept);
    watch = kept;
  }
  EXPECT_EQ(watch.get(), nullptr);
}

}  // namespace
}  // namespace ludomark
