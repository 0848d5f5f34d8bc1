// What the bookmark lists and the dispatch functions need of the frame's tableau; the tableau
// implements it and navigation finds it through the application frame.
#pragma once

#include <string>

#include "quillui/framework/base/messages.h"

namespace quill {

class ZTableauNavigation {
 public:
  virtual ~ZTableauNavigation() = default;

  // Hands a "!State" bookmark of the current arrangement to AddBacktrackBookmark (or does
  // nothing while backtrack bookmarks are suppressed).
  virtual void CreateTableauBacktrackBookmark() = 0;
  // The tableau's state string.
  virtual std::string GetState() = 0;
  // The content window of the Article pane's active holder; null without an active holder or
  // without content.
  virtual HWND GetArticleContent() = 0;
};

// The frame's tableau, or null when there is no frame, no tableau, or the tableau window is
// not one that answers these questions.
ZTableauNavigation* GetFrameTableauNavigation();

}  // namespace quill
