#include "quillui/navigation/dispatch.h"

#include <memory>

#include "quillui/app/app_registry.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/window/window.h"
#include "quillui/navigation/tableau_link.h"
#include "quillui/profile/cmd_line.h"

namespace quill {

namespace {

LPARAM AddressOf(const void* p) { return reinterpret_cast<LPARAM>(p); }

HWND ArticleContent() {
  ZTableauNavigation* tableau = GetFrameTableauNavigation();
  return tableau ? tableau->GetArticleContent() : nullptr;
}

}  // namespace

LRESULT FireOffBookmark(const ZBookmark& bookmark) {
  TWindow* frame = GetAppFrameTWindow();
  return frame ? frame->HandleMessage(WmuFireOffBookmark, 0, AddressOf(&bookmark)) : 0;
}

LRESULT FireOffBookmark(const ZBookmark& bookmark, HWND target) {
  TWindow* frame = GetAppFrameTWindow();
  return frame ? frame->HandleMessage(WmuFireOffBookmark, reinterpret_cast<WPARAM>(target),
                                      AddressOf(&bookmark))
               : 0;
}

void QuietlyFireOffBookmark(const ZBookmark& bookmark) {
  TWindow* frame = GetAppFrameTWindow();
  if (frame) SendMessage(frame->GetHandle(), WmuFireOffBookmark, 1, AddressOf(&bookmark));
}

LRESULT Dispatch(const char* text) {
  std::unique_ptr<ZBookmark> bookmark = ZBookmark::Make(text);
  if (!bookmark) return 0;
  return FireOffBookmark(*bookmark);
}

LRESULT SubDispatch(HWND window, const char* text) {
  std::unique_ptr<ZBookmark> bookmark = ZBookmark::Make(text);
  if (!bookmark) return 0;
  if (TWindow* target = GetWindowPtr(window)) {
    if (TWindow* content = target->GetFirstChild()) {
      content->Destroy(0);
      delete content;
    }
  }
  return FireOffBookmark(*bookmark, window);
}

bool GetDisplayedArticle(ZDBInfo*& database, long& codedRef) {
  database = nullptr;
  codedRef = 0;
  HWND content = ArticleContent();
  if (content == nullptr) return false;
  std::unique_ptr<ZBookmark> bookmark(
      reinterpret_cast<ZBookmark*>(SendMessage(content, WmuCreateBookmark, eBOOKMARK_FOR_USER, 0)));
  if (!bookmark) return false;
  long value = 0;
  const bool found = ZCmdLine(std::string(bookmark->GetText())).GetLongValue("codedref", value);
  if (found) codedRef = value;
  return found && value != 0;
}

LRESULT GetArticleTextSelection(std::string& text) {
  HWND content = ArticleContent();
  if (content == nullptr) return 0;
  const LRESULT answer = SendMessage(content, WmuGetTextSelection, 1, 0);
  text = GetCADS();
  return answer;
}

std::string& GetCADS() {
  static std::string exchange;
  return exchange;
}

void LogTrackingInformation(const std::string& text) {
  TWindow* frame = GetAppFrameTWindow();
  if (frame) frame->HandleMessage(WmuLogTracking, 0, AddressOf(&text));
}

}  // namespace quill
