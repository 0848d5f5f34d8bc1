// Shared pieces of the navigation tests: a recording frame, a tableau stand-in, a list-change
// recorder, scripted answers to modal questions, and navigation state reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/tableau_link.h"
#include "quillui/profile/entries.h"
#include "quillui/profile/holder_ids.h"

namespace quill::test {

// What the frame saw of one WmuFireOffBookmark or WmuLogTracking.
struct Fired {
  WPARAM wParam = 0;
  std::string text;  // the bookmark's text, or the tracking string
  std::string type;
};

class NavFrame : public TWindow, public ZVexFrame {
 public:
  NavFrame() : TWindow(nullptr, "Frame") {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 640;
    Attr.H = 480;
  }
  TWindow& GetFrameTWindow() override { return *this; }

  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuFireOffBookmark) {
      const auto* b = reinterpret_cast<const ZBookmark*>(lp);
      fired.push_back(Fired{wp, std::string(b->GetText()), b->GetType()});
      if (onFire) onFire(*b);
      return answer;
    }
    if (msg == WmuLogTracking) {
      tracked.push_back(Fired{wp, *reinterpret_cast<const std::string*>(lp), ""});
      return 0;
    }
    return TWindow::WindowProc(msg, wp, lp);
  }

  std::vector<Fired> fired;
  std::vector<Fired> tracked;
  std::function<void(const ZBookmark&)> onFire;
  LRESULT answer = 77;
};

// Stands in for the tableau: a state string the test sets, "!State" backtrack bookmarks of
// it, and the content window of the Article pane.
class NavTableau : public TWindow, public ZTableauNavigation {
 public:
  explicit NavTableau(TWindow* parent) : TWindow(parent, "Tableau") {}
  void CreateTableauBacktrackBookmark() override;
  std::string GetState() override { return state; }
  HWND GetArticleContent() override { return article ? article->GetHandle() : nullptr; }

  std::string state = " 0 0 0 0";
  TWindow* article = nullptr;
  int backtrackRequests = 0;
};

// Records the wParam of every WmuBookmarkListChanged it receives.
class ListWatcher : public TWindow {
 public:
  ListWatcher() : TWindow(nullptr, "Watcher") {}
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WmuBookmarkListChanged) codes.push_back(int(wp));
    return TWindow::WindowProc(msg, wp, lp);
  }
  std::vector<int> codes;
};

class NavTest : public AppTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A frame (with a tableau stand-in when withTableau) registered as the application frame.
  void MakeFrame(bool withTableau = true);

  // Modal questions are answered from these queues, in order; an empty queue answers a
  // message box with IDOK, a file dialog with IDCANCEL and the "Bookmark created" dialog
  // with IDCANCEL, as its timer would.
  std::deque<int> boxAnswers;
  std::deque<TModalAnswer> fileAnswers;
  std::vector<TModalQuestion> Questions(TModalKind kind) const;

  std::unique_ptr<NavFrame> frame;
  NavTableau* tableau = nullptr;
};

// A heap bookmark of a type and text, named after its text.
std::unique_ptr<ZBookmark> Typed(const std::string& text, const char* type = "ARTI");

}  // namespace quill::test
