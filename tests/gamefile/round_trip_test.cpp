// Games saved and read back keep every element and every link.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamefile/file_error.h"
#include "gamefile/game_file.h"
#include "gamefile/listing.h"
#include "model/colors.h"
#include "model/random.h"
#include "support/example_games.h"
#include "support/game_builder.h"

namespace ludomark {
namespace {

using testing::CellOf;
using testing::ExampleGames;
using testing::GameBuilder;

bool Saved(const TGameObject32* e) {
  return !e->Temporary && e->TypeCode != kChoice;
}

// Position of an element among the saved ones of its list, "-" for none or a dropped set.
std::string Where(TGameList& list, const TGameObject32* target) {
  if (target == nullptr) return "-";
  if (target->TypeCode == kInfo && static_cast<const TInfo32*>(target)->Members.LiveCount() < 2) {
    return "-";  // one-member sets are derived and dropped when a file is read
  }
  int position = 0;
  int found = 0;
  list.ForEach([&](TGameObject32* e) {
    if (!Saved(e)) return;
    ++position;
    if (e == target) found = position;
  });
  return std::to_string(found);
}

// The parts joined by single blanks.
std::string Cat(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text.push_back(' ');
    text.append(part);
  }
  return text;
}

// One line per saved element: kind, name, place and every link, links by saved position.
std::vector<std::string> Signature(TGameType32& game) {
  std::vector<std::string> lines;
  auto add = [&](TGameObject32* e, const std::string& links) {
    if (!Saved(e)) return;
    if (e->TypeCode == kInfo && static_cast<TInfo32*>(e)->Members.LiveCount() < 2) return;
    lines.push_back(Cat(
        {std::to_string(e->TypeCode), e->Name, std::to_string(e->X), std::to_string(e->Y), links}));
  };
  game.Players().ForEach([&](TGameObject32* e) { add(e, std::to_string(e->Color)); });
  game.Nodes().ForEach([&](TGameObject32* e) {
    auto* n = static_cast<TNode32*>(e);
    // A table's player and set come from its first side by the audit; the file holds neither.
    if (e->TypeCode == kTable) return add(e, "- -");
    add(e, Cat({Where(game.Players(), n->Player.get()), Where(game.Infos(), n->Info.get())}));
  });
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    std::string links = Cat({Where(game.Nodes(), m->TypeCode == kCell ? nullptr : m->From.get()),
                             Where(game.Nodes(), m->To.get()), std::to_string(m->Value)});
    if (m->TypeCode == kCell) {
      auto* c = static_cast<TCell32*>(m);
      links = Cat({links, "table", Where(game.Nodes(), c->Table.get())});
      c->CellStrategies.ForEach([&](TGameObject32* s) {
        links = Cat({links, Where(game.Strategies(), s)});
      });
    }
    add(e, links);
  });
  game.Infos().ForEach([&](TGameObject32* e) {
    std::string links;
    if (e->TypeCode == kSide) {
      auto* s = static_cast<TSide32*>(e);
      links = Cat({Where(game.Players(), s->Player.get()), Where(game.Nodes(), s->Table.get())});
    }
    add(e, links);
  });
  game.Strategies().ForEach([&](TGameObject32* e) {
    add(e, Where(game.Infos(), static_cast<TChoice32*>(e)->Info.get()));
  });
  game.Payoffs().ForEach([&](TGameObject32* e) {
    auto* p = static_cast<TPayoff32*>(e);
    add(e, Cat({Where(game.Moves(), p->Move.get()), Where(game.Players(), p->Player.get()),
                std::to_string(p->Value)}));
  });
  return lines;
}

// A game with tables, information sets, chance and a loop, derived as the audit derives it.
void BuildAudited(TGameType32& game, bool temporaryFirst) {
  GameBuilder b(game);
  if (temporaryFirst) {
    // Temporary elements standing before saved ones must not shift the saved numbers.
    TNode32* early = b.Node("early", nullptr);
    early->Temporary = true;
    b.Move("early", early, nullptr)->Temporary = true;
  }
  TPlayer32* ann = b.Player("Ann", kBlue);
  TPlayer32* bob = b.Player("Bob", kRed);
  TNode32* root = b.Node("Root", nullptr, 100, 50);
  TNode32* a = b.Node("A", ann, 50, 150);
  TNode32* c = b.Node("B", ann, 150, 150);
  TTable32* table = b.Table("Duel", 300, 300);
  TNode32* end = b.Node("End", bob, 100, 400);
  b.Move("l", root, a, 0.5);
  b.Move("r", root, c, 0.5);
  b.InfoSet("I", {a, c});
  b.Move("go", a, table);
  b.Move("go", c, table);
  b.Move("stop", a, nullptr);
  b.Move("stop", c, nullptr);
  b.Side(table, ann, "Rows", {"U", "D"});
  b.Side(table, bob, "Cols", {"L", "R"});
  CellOf(table, {"D", "R"})->To = end;
  b.Move("again", end, root, 0.9);
  b.Move("quit", end, nullptr);
  game.Moves().ForEach([&](TGameObject32* e) {
    auto* m = static_cast<TMove32*>(e);
    if (m->To.get() != nullptr || m->Temporary) return;
    b.Payoff(m, ann, 1.5);
    b.Payoff(m, bob, -0.25);
  });
  // Derived elements: expansion, artificial node, single-member sets, choices, numbers.
  table->Expand();
  static_cast<TInfo32*>(game.Infos().Get(0))->ArtificialNode();
  game.Nodes().ForEach([](TGameObject32* n) {
    if (n->TypeCode == kNode) static_cast<TNode32*>(n)->EnsureInfo();
  });
  game.Moves().ForEach([](TGameObject32* m) { static_cast<TMove32*>(m)->AttachChoice(); });
  game.Renumber();
}

TEST(RoundTrip, AuditedGameReadsBackElementByElement) {
  for (bool temporaryFirst : {false, true}) {
    TGameType32 game;
    BuildAudited(game, temporaryFirst);
    ASSERT_GT(game.Strategies().LiveCount(), 4);
    const std::vector<std::string> before = Signature(game);
    const std::string text = GameFileText(game);
    EXPECT_EQ(Signature(game), before);  // writing changes nothing

    TGameType32 back;
    ReadGameText(text, back);
    EXPECT_EQ(Signature(back), before) << (temporaryFirst ? "temporary first" : "plain");
    EXPECT_EQ(back.Status(), StatusSaved);
    EXPECT_EQ(back.Findings().LiveCount(), 0);
    // The derived sets and choices are gone now; from here on the file is stable.
    const std::string second = GameFileText(back);
    TGameType32 third;
    ReadGameText(second, third);
    EXPECT_EQ(GameFileText(third), second);
  }
}

TEST(RoundTrip, ListingOfAGameBuiltInMemoryIsUnchangedByReopening) {
  for (const auto& example : ExampleGames()) {
    TGameType32 game;
    example.Build(game);
    const std::string text = GameFileText(game);
    TGameType32 back;
    ReadGameText(text, back);
    EXPECT_EQ(BuildListing(back, kSolvableListMode), BuildListing(game, kSolvableListMode))
        << example.FileName;
    EXPECT_EQ(GameFileText(back), text) << example.FileName;
  }
}

TEST(RoundTrip, HeaderAndChoiceLinesAreDropped) {
  TGameType32 game;
  const std::string text =
      "My game                 50      50      0       900     \r\n"
      "Ann             10      10      1       201     0               \r\n"
      "Left            0       0       1       303     \r\n";
  ReadGameText(text, game);
  EXPECT_EQ(game.Players().LiveCount(), 1);
  EXPECT_EQ(game.Strategies().LiveCount(), 0);
  EXPECT_EQ(game.Header().Name, "");
  EXPECT_EQ(static_cast<TPlayer32*>(game.Players().Get(0))->Color, 16711680);
}

TEST(RoundTrip, DamagedFilesLoadWhatParses) {
  TGameType32 source;
  BuildAudited(source, /*temporaryFirst=*/false);
  const std::string text = GameFileText(source);
  TUniformRandom random(11);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random.Next() * n); };
  std::vector<std::string> inputs = {"",
                                     "\n\n\n",
                                     std::string(5000, '\0'),
                                     std::string("\xff\xfe\x00\x01", 4),
                                     std::string(100000, '9'),
                                     text + text};
  for (int i = 0; i < 300; ++i) {
    std::string damaged = text;
    switch (i % 4) {
      case 0:
        damaged.resize(pick(damaged.size()));  // truncated anywhere
        break;
      case 1:
        for (int k = 0; k < 20; ++k) damaged[pick(damaged.size())] = static_cast<char>(pick(256));
        break;
      case 2:
        for (int k = 0; k < 10; ++k) damaged.insert(pick(damaged.size()), "-1      ");
        break;
      default:
        for (int k = 0; k < 5; ++k) {
          const std::size_t from = pick(damaged.size());
          damaged.insert(pick(damaged.size()), damaged.substr(from, pick(200)));
        }
    }
    inputs.push_back(damaged);
  }
  for (const std::string& input : inputs) {
    TGameType32 game;
    try {
      ReadGameText(input, game);
    } catch (const TFileError&) {
      continue;  // refused as a whole, which is fine; what is read must be stable
    }
    BuildListing(game, kSolvableListMode);
    TGameType32 second;
    ReadGameText(GameFileText(game), second);
    // A black first player reads back blue; after that, what survived is stable.
    const std::string again = GameFileText(second);
    TGameType32 third;
    ReadGameText(again, third);
    EXPECT_EQ(GameFileText(third), again);
  }
}

}  // namespace
}  // namespace ludomark
