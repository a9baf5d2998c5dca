#pragma once

#include <deque>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gamefile/file_error.h"
#include "support/fake_window.h"
#include "ui/main_window/main_form.h"

namespace ludomark::testing {

// The main window's toolkit without a window: child windows are logic over recording hosts,
// file dialogs answer from queues.
class FakeMainHost : public TMainHost {
 public:
  TMainForm* Form = nullptr;
  std::deque<std::string> OpenPaths;
  std::deque<std::string> SavePaths;
  std::vector<std::string> Opened;  // by the desktop
  int Prints = 0;

  TMDIChild& CreateChild(TWindowKind kind, TGameType32* game, TSolution32* solution) override {
    Child child{std::make_unique<FakeWindowHost>(), nullptr};
    child.Logic = std::make_unique<TMDIChild>(kind, *child.Host, *Form, game, solution);
    children_.push_back(std::move(child));
    active_ = children_.back().Logic.get();
    return *active_;
  }
  bool CloseChild(TMDIChild& window) override {
    if (!window.FormCloseQuery()) return false;
    window.FormClose();
    for (auto it = children_.begin(); it != children_.end(); ++it) {
      if (it->Logic.get() != &window) continue;
      Child gone = std::move(*it);
      children_.erase(it);
      if (active_ == &window) active_ = nullptr;
      gone.Logic.reset();  // may close the game's other windows meanwhile
      break;
    }
    // Another window becomes active, as the toolkit would tell it.
    if (active_ == nullptr && !children_.empty()) {
      active_ = children_.back().Logic.get();
      active_->FormActivate();
    }
    return true;
  }
  TMDIChild* ActiveChild() override { return active_; }
  void Activate(TMDIChild& window) override {
    active_ = &window;
    window.FormActivate();
  }
  void Cascade() override {}
  void TileVertically() override {}
  std::string AskOpenPath() override { return Next(OpenPaths); }
  std::string AskSavePath() override { return Next(SavePaths); }
  // Stands for the toolkit's picture: one line naming the game, or the file error a real
  // writer gives.
  void WritePicture(TGameType32& game, TSolution32* solution, const std::string& path,
                    double zoom) override {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "picture of " << game.Header().Name << (solution != nullptr ? " solved" : "") << " at "
        << zoom << '\n';
    if (!out.flush()) throw TFileError(path, "Cannot write the picture");
    Pictures.push_back(path);
  }
  std::vector<std::string> Pictures;
  std::string AskPicturePath() override { return Next(SavePaths); }
  std::string AskImportPath() override { return Next(OpenPaths); }
  std::string AskExportPath() override { return Next(SavePaths); }
  void ActionChanged(TAction, bool, bool) override {}
  bool PrintWindow(TMDIChild&, bool) override { return ++Prints > 0; }
  bool OpenWithDesktop(const std::string& path) override {
    Opened.push_back(path);
    return true;
  }
  void ShowHelpText(const std::string&) override {}
  void ShowAbout() override {}
  void CloseMainWindow() override { MainClosed = Form->CloseAll(); }
  void ViewChanged() override { ++ViewChanges; }
  void ShowStatus(const std::string& text) override { Statuses.push_back(text); }
  std::vector<std::string> Statuses;
  bool MainClosed = false;
  int ViewChanges = 0;
  // The recording host of a window of the logic.
  FakeWindowHost& HostOf(const TMDIChild& window) {
    for (Child& c : children_) {
      if (c.Logic.get() == &window) return *c.Host;
    }
    throw std::logic_error("no such window");
  }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  // Drops every window without asking, while the main window still lives.
  void Clear() {
    while (!children_.empty()) {
      Child gone = std::move(children_.back());
      children_.pop_back();
      active_ = nullptr;
      gone.Logic.reset();
    }
  }

 private:
  struct Child {
    std::unique_ptr<FakeWindowHost> Host;
    std::unique_ptr<TMDIChild> Logic;
  };
  static std::string Next(std::deque<std::string>& queue) {
    if (queue.empty()) return "";
    std::string path = queue.front();
    queue.pop_front();
    return path;
  }
  std::vector<Child> children_;
  TMDIChild* active_ = nullptr;
};

}  // namespace ludomark::testing
