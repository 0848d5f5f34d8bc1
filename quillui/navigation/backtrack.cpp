#include "quillui/navigation/backtrack.h"

#include <string>
#include <vector>

#include "quillui/navigation/beep.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/navigation/tableau_link.h"

namespace quill {

namespace {

constexpr const char* kStatePrefix = "!State";
constexpr const char* kQuietItem = "!quiet";

struct GroupState {
  int depth = 0;
  std::string text;
  int count = 0;
  std::unique_ptr<ZBookmark> capturedState;
  std::string savedTableauState;
};

GroupState& Group() {
  static GroupState group;
  return group;
}

// A bookmark being fired by PopBacktrackStack. The frame's handler may pop again or push
// enough to trim the stack; a pinned bookmark that leaves the stack meanwhile is not deleted
// under the handler's feet but handed to the pop that fired it.
struct Pin {
  ZBookmark* bookmark;
  bool orphaned;
};

std::vector<Pin>& Pins() {
  static std::vector<Pin> pins;
  return pins;
}

// Deletes a bookmark that left the backtrack stack, unless a pop is still firing it.
void Dispose(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  std::vector<Pin>& pins = Pins();
  for (auto it = pins.rbegin(); it != pins.rend(); ++it) {
    if (it->bookmark == bookmark.get()) {
      it->orphaned = true;
      bookmark.release();
      return;
    }
  }
}

void GroupAppend(std::string_view t) {
  GroupState& g = Group();
  if (t.empty()) return;
  if (g.count == 0) {
    g.text = t;
  } else {
    if (g.count == 1) g.text = "<" + g.text + ">";
    std::string grouped;
    grouped.reserve(t.size() + 3 + g.text.size());
    grouped.append("<").append(t).append("> ").append(g.text);
    g.text = std::move(grouped);
  }
  ++g.count;
}

}  // namespace

void AddBacktrackBookmark(std::unique_ptr<ZBookmark> bookmark) {
  if (!bookmark) return;
  GroupState& g = Group();
  if (g.depth == 0) {
    ZBookmarkList& stack = GetBacktrackStack();
    stack.Add(std::move(bookmark));
    stack.Trim(GetBookmarkListMax(), GetBookmarkKillItems(), &Dispose);
    return;
  }
  if (bookmark->GetText().compare(0, 6, kStatePrefix) == 0) {
    if (!g.capturedState) g.capturedState = std::move(bookmark);
    return;
  }
  GroupAppend(bookmark->GetText());
}

void AddBacktrackBookmark(ZBookmark& bookmark) {
  AddBacktrackBookmark(std::unique_ptr<ZBookmark>(&bookmark));
}

void PopBacktrackStack() {
  ZBookmarkList& stack = GetBacktrackStack();
  ZBookmark* newest = stack.Newest();
  if (newest == nullptr) {
    DefaultBeep();
    return;
  }
  Pins().push_back(Pin{newest, false});
  FireOffBookmark(*newest);
  const Pin mine = Pins().back();
  Pins().pop_back();
  // Found by identity, not by position: the handler may have pushed, trimmed or popped.
  const int at = stack.Find(newest);
  if (at >= 0) {
    Dispose(stack.Detach(at));
  } else if (mine.orphaned) {
    Dispose(std::unique_ptr<ZBookmark>(newest));
  }
}

void StartGroupedBacktrackBookmark() {
  if (GetSuppressBookmarks()) return;
  GroupState& g = Group();
  if (g.depth == 0) {
    g.text.clear();
    g.count = 0;
    g.capturedState.reset();
  }
  ++g.depth;
  if (g.depth != 1) return;
  ZTableauNavigation* tableau = GetFrameTableauNavigation();
  g.savedTableauState.clear();
  if (tableau == nullptr) return;
  tableau->CreateTableauBacktrackBookmark();
  // The tableau's handler may have closed the group again; then there is nothing to note.
  if (g.depth > 0) g.savedTableauState = tableau->GetState();
}

std::unique_ptr<ZBookmark> FinishGroupedBacktrackBookmark() {
  if (GetSuppressBookmarks()) return nullptr;
  GroupState& g = Group();
  // A Finish without its Start must not push the depth below zero, where every later group
  // would be off by one.
  if (g.depth == 0) return nullptr;
  if (--g.depth != 0) return nullptr;
  ZTableauNavigation* tableau = GetFrameTableauNavigation();
  const std::string state = tableau ? tableau->GetState() : std::string();
  if (g.count == 0 && state == g.savedTableauState) {
    g.capturedState.reset();
    return nullptr;
  }
  if (g.capturedState) {
    GroupAppend(kQuietItem);
    GroupAppend(g.capturedState->GetText());
    g.capturedState.reset();
  }
  if (g.text.empty()) return nullptr;
  auto grouped = std::make_unique<ZBookmark>(ZBookmark::kSpecialType, "grouped", g.text);
  g.text.clear();
  g.count = 0;
  return grouped;
}

int GetBacktrackGroupDepth() { return Group().depth; }

void ResetBacktrackGrouping() {
  GroupState& g = Group();
  g.depth = 0;
  g.text.clear();
  g.count = 0;
  g.capturedState.reset();
  g.savedTableauState.clear();
}

}  // namespace quill
