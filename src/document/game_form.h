#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/document_change.h"
#include "document/solver_work.h"
#include "model/fake_game.h"
#include "model/game_list.h"
#include "model/messages.h"
#include "model/node.h"
#include "model/select_rect.h"
#include "model/status_code.h"

namespace ludomark {

// The one object that owns a whole game: its elements, its solutions and the solver's lists,
// its status, file name and selection.
class TInfo32;

class TGameForm32 : public TFakeGame {
 public:
  TGameForm32();
  ~TGameForm32() override;
  TGameForm32(const TGameForm32&) = delete;
  TGameForm32& operator=(const TGameForm32&) = delete;

  TGameList& Players() override { return players_; }
  TGameList& Nodes() override { return nodes_; }
  TGameList& Moves() override { return moves_; }
  TGameList& Infos() override { return infos_; }
  TGameList& Payoffs() override { return payoffs_; }
  TGameList& Strategies() override { return strategies_; }
  TGameList& BoundBits() override { return boundBits_; }
  TGameList& Selection() override { return selection_; }
  TGameList& Findings() { return findings_; }
  TGameList& WorkList() { return workList_; }
  TGameList& Solutions() override { return solutions_; }
  TGameList& PendingBits() { return pendingBits_; }
  TGameList& Profiles() { return profiles_; }
  TGameList& Groups() { return groups_; }
  TGameList& SolverLog() { return solverLog_; }

  TMessageSink& Messages() override { return *messages_; }
  // The window's message boxes; without one, messages are recorded in RecordedMessages.
  void SetMessages(TMessageSink* sink) { messages_ = sink != nullptr ? sink : &recorded_; }
  TRecordedMessages& RecordedMessages() { return recorded_; }
  bool Closing() const override { return closing_; }

  int Status() const { return status_; }
  // 103 is always taken; any other code only when the game is not new (100). The change is
  // collected for the end of the command, like every other.
  void SetStatus(int code) override;
  // Writes the status without the rule (Undo and mouse drags do).
  void ForceStatus(int code);

  // The windows showing the game; they leave before they go (non-owning).
  void Watch(TDocumentObserver* observer);
  void Unwatch(TDocumentObserver* observer);
  // Collects a change for the observers. Inside an edit scope they are told when the outermost
  // scope ends; outside any scope the change is a command of its own and they are told at once.
  void Changed(TChange change);
  // A command's scope (nestable): what changes inside it reaches the observers once, at its end.
  void BeginEdit() { ++editDepth_; }
  void EndEdit();
  bool Editing() const { return editDepth_ > 0; }
  // Notifications delivered so far (for tests that count them).
  int Notifications() const { return notifications_; }
  // The numbers an exchange file gave, as it wrote them ("1/3"), by the move or payoff holding
  // them: exported as read. An entry counts only while the element's value is still that number.
  std::unordered_map<const TGameObject32*, std::string> ExactNumbers;
  // Opened while another instance edits the same file: looked at, solved, saved elsewhere,
  // never changed.
  bool ReadOnly = false;
  // Whether a run works on the game: what the gate asks (a new game keeps its status meanwhile).
  bool RunWorking() const { return runWorking_; }
  void SetRunWorking(bool working);
  // Whether the solutions come from a run that was stopped, so that the set may be incomplete.
  bool SolutionsIncomplete = false;

  const std::string& FileName() const { return fileName_; }
  bool HasFileName() const { return hasFileName_; }
  void SetFileName(const std::string& name);
  void ClearFileName() { hasFileName_ = false; }

  TGameObject32& Header() { return *header_; }
  TSelectRect& SelectRect() { return *selectRect_; }
  TNode32* Root() const { return root_.get(); }
  void SetRoot(TNode32* node) { root_ = node; }
  TGameObject32* LastFinding() const { return lastFinding_.get(); }
  int32_t ExtentX = 2000;
  int32_t ExtentY = 2000;
  // The solver's working data while a run lasts; empty otherwise.
  std::unique_ptr<TSolverWork> Work;
  double SqrNorm = 0;

  int32_t NumberIn(TGameList& list, const TGameObject32* element) override;
  TGameObject32* ElementAsRead(TGameList& list, int32_t number, bool& gone) override;
  // Whether a game file holds the element: derived data (temporary elements, derived choices,
  // the audit's one-node sets) is never saved.
  static bool IsSaved(const TGameObject32* element);
  // Frees findings, solutions, pending values, profiles, groups, the log and bound values, and
  // forgets the work list: what a reading starts without.
  void ClearDerivedLists();
  // While set, identity numbers count only the elements a game file holds, so that what is
  // written reads back with every reference on the same element.
  void SetFileNumbering(bool on);

  // Files the element by its type code (the caller keeps any other) and widens the extent.
  void AddObject(TGameObject32* element) override;
  void Renumber();
  void RelinkAfterLoad();
  void RelinkInfos(bool keepSingle);
  // Every set rebuilds its members (sides their choice mask); the sets with a member that no
  // move reaches, in list order.
  std::vector<TInfo32*> RelinkEveryInfo();
  void PurgeInfos(bool keepSingle);
  void ResetDerived();
  bool SelectInRect();
  void DeleteSelection();
  void CopySelection();
  void ReportFinding(const std::string& message);
  // The picture of the game: the selection rectangle, then players, nodes and tables, moves
  // and cells, sets and sides, strategies, payoffs, each list in its order.
  // With a view (model units), elements wholly outside it are skipped.
  void Draw(TCanvas& canvas, const TRect* view = nullptr);
  // Frees every element of the game itself (not its solutions), as Undo does before rereading.
  void FreeGame();

 private:
  int status_ = StatusSaved;
  std::string fileName_;
  bool hasFileName_ = false;
  std::unique_ptr<TGameObject32> header_;
  TGameList players_{/*owning=*/true};
  TGameList nodes_{/*owning=*/true};
  TGameList moves_{/*owning=*/true};
  TGameList infos_{/*owning=*/true};
  TGameList payoffs_{/*owning=*/true};
  TGameList strategies_{/*owning=*/true};
  TGameList findings_{/*owning=*/true};
  TGameList workList_{/*owning=*/false};
  TGameList solutions_{/*owning=*/true};
  TGameList pendingBits_{/*owning=*/true};
  TGameList profiles_{/*owning=*/true};
  TGameList groups_{/*owning=*/true};
  TGameList solverLog_{/*owning=*/true};
  TGameList boundBits_{/*owning=*/true};
  TGameList selection_{/*owning=*/false};
  Ref<TNode32> root_;
  Ref<TGameObject32> lastFinding_;
  std::unique_ptr<TSelectRect> selectRect_;
  TRecordedMessages recorded_;
  TMessageSink* messages_ = &recorded_;
  bool closing_ = false;
  std::vector<TDocumentObserver*> observers_;
  bool runWorking_ = false;
  int editDepth_ = 0;
  TChanges pending_;
  int notifications_ = 0;
  bool fileNumbering_ = false;
  // Moves and strategies as read, kept while a file is relinked.
  bool relinking_ = false;
  std::vector<Ref<TGameObject32>> movesAsRead_;
  std::vector<Ref<TGameObject32>> strategiesAsRead_;
};

// One command's edits of a game: the observers hear of them once, when it ends.
class TEditScope {
 public:
  explicit TEditScope(TGameForm32& game) : game_(game) { game_.BeginEdit(); }
  ~TEditScope() { game_.EndEdit(); }
  TEditScope(const TEditScope&) = delete;
  TEditScope& operator=(const TEditScope&) = delete;

 private:
  TGameForm32& game_;
};

// The document every game window creates: adds the solver's step size.
class TGameType32 : public TGameForm32 {
 public:
  double Speed = 0;
};

}  // namespace ludomark
