// libFuzzer target for bookmark texts: Make and GetEntryName agree on every text, routing
// lines (the first line is the key, the rest the value) never fault, and the grouping of
// backtrack bookmarks gives back the gathered texts, newest first, when they can be read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "quillui/navigation/backtrack.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/routing.h"
#include "quillui/profile/cmd_line.h"
#include "quillui/profile/holder_ids.h"
#include "quillui/testing/profile.h"

namespace {

using namespace quill;

bool Balanced(const std::string& text) {
  int depth = 0;
  for (char c : text) {
    if (c == '<') ++depth;
    if (c == '>' && --depth < 0) return false;
  }
  return depth == 0;
}

void CheckText(const std::string& text) {
  std::unique_ptr<ZBookmark> b = ZBookmark::Make(text);
  const std::string entry = ZBookmark::GetEntryName(text);
  ZCmdLine line(text);
  std::string first, value;
  const bool valued = line.FindFirst(first, value) && !value.empty();
  if (valued != (b == nullptr)) std::abort();
  if (valued && !entry.empty()) std::abort();
  if (b) {
    if (b->GetText() != text || b->GetEntryName() != entry) std::abort();
    if (std::strlen(b->GetType()) > ZBookmark::kTypeLength) std::abort();
  }
}

void CheckRoutingLine(const std::string& text) {
  const size_t newline = text.find('\n');
  const std::string key = text.substr(0, newline);
  const std::string value = newline == std::string::npos ? "" : text.substr(newline + 1);
  const ZRouteInfo route = MakeRouteInfo(key, value);
  if (route.m_ePane < eMEDIA_PANE || route.m_ePane > ePOPUP_PANE) std::abort();
  if (route.m_bFullScreen != 0 && route.m_bFullScreen != 1) std::abort();
  ResetHolderIds();  // the table would otherwise grow with every input
}

// The input split at newlines gives the texts gathered into one group.
void CheckGrouping(const std::string& text) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= text.size() && parts.size() < 16) {
    const size_t end = text.find('\n', pos);
    parts.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  StartGroupedBacktrackBookmark();
  for (const std::string& p : parts) AddBacktrackBookmark(std::make_unique<ZBookmark>(p));
  std::unique_ptr<ZBookmark> grouped = FinishGroupedBacktrackBookmark();
  // Oldest first: the texts gathered, then "!quiet" and the first "!State" text, which the
  // group keeps aside and puts in last.
  std::vector<std::string> kept;
  std::string state;
  for (const std::string& p : parts) {
    if (p.compare(0, 6, "!State") == 0) {
      if (state.empty()) state = p;
    } else if (!p.empty()) {
      kept.push_back(p);
    }
  }
  if (kept.empty() != (grouped == nullptr)) std::abort();
  if (!state.empty() && !kept.empty()) {
    kept.push_back("!quiet");
    kept.push_back(state);
  }
  if (!grouped) return;
  if (kept.size() == 1) {
    if (grouped->GetText() != kept[0]) std::abort();
    return;
  }
  // Each text comes back as one bracketed item when its own brackets balance.
  for (const std::string& p : kept)
    if (!Balanced(p)) return;
  ZCmdLine line{std::string(grouped->GetText())};
  std::string name, value;
  size_t i = kept.size();
  for (bool ok = line.FindFirst(name, value); ok; ok = line.FindNext(name, value)) {
    if (i == 0 || name != kept[i - 1] || !value.empty()) std::abort();
    --i;
  }
  if (i != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckText(text);
  CheckRoutingLine(text);
  CheckGrouping(text);
  return 0;
}
