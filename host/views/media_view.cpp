#include "host/views/media_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/core/bookmark_texts.h"
#include "host/views/bookmark_types.h"
#include "host/views/commands.h"
#include "host/views/pane_menu.h"
#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/navigation/bookmark.h"
#include "quillui/navigation/dispatch.h"
#include "quillui/sound/mmio.h"
#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/play_sound.h"
#include "quillui/sound/wave_file.h"

namespace quillonary {

using namespace quill;

namespace {

constexpr int kMargin = 8;
constexpr double kMaxZoom = 2.0;  // small pictures grow at most this much
constexpr UINT kSoundOverTimer = 1;

constexpr UINT kCmPlay = 7120;
constexpr UINT kCmStop = 7127;
constexpr UINT kCmPreviousItem = 7106;
constexpr UINT kCmNextItem = 7107;

const TColor kBackground(36, 38, 46);
const TColor kCaption(236, 234, 222);
const TColor kMessage(240, 200, 120);
const TColor kSpeaker(210, 214, 224);

const TFont& FontOf(int slot) {
  static const TFont fallback;
  const TFont* font = GetAppFont(slot);
  return font ? *font : fallback;
}

// One line of text centred on x.
void CentredText(TDC& dc, int x, int y, const std::string& text) {
  dc.TextOut(x - dc.GetTextExtent(text).cx / 2, y, text);
}

}  // namespace

MediaView::MediaView(TWindow* holder, const ContentStore& store)
    : TWindow(holder, "Media"), store_(store) {
  Attr.Style = WS_CHILD | WS_VISIBLE;
}

MediaView::~MediaView() {
  Stop();
  if (buttonsChanged_) DestroyMenu(buttonsChanged_);
}

const MediaItem* MediaView::Item() const {
  if (!article_ || article_->media.empty()) return nullptr;
  return &article_->media[size_t(index_)];
}

void MediaView::ShowMedia(const Article* article, int index) {
  Stop();
  article_ = article;
  const int count = article_ ? int(article_->media.size()) : 0;
  index_ = count == 0 ? 0 : std::clamp(index, 0, count - 1);
  picture_.reset();
  message_.clear();
  const MediaItem* item = Item();
  if (article_ && !item) message_ = "No media";
  if (item && item->kind == MediaItem::kPicture) {
    std::string error;
    picture_ = store_.LoadPicture(item->file, &error);
    if (picture_ && !picture_->IsOK()) picture_.reset();
    if (!picture_) message_ = error.empty() ? "The picture cannot be shown" : error;
  }
  // Play and Stop are offered only while a sound is shown.
  const bool sound = item && item->kind == MediaItem::kSound;
  if (sound != soundButtons_ && IsWindow() && GetParentO()) {
    // The pane merges the buttons anew when it is given a menu to start from; the view's answer
    // replaces that menu, so it stays empty and is used again.
    if (!buttonsChanged_) buttonsChanged_ = CreatePopupMenu();
    GetParentO()->PostMessage(WmuNewBtnMenu, reinterpret_cast<WPARAM>(buttonsChanged_));
  }
  soundButtons_ = sound;
  if (IsWindow()) Invalidate();
}

void MediaView::Play() {
  const MediaItem* item = Item();
  if (!item || item->kind != MediaItem::kSound) return;
  Stop();
  // Read once here for its length, so the view knows when the sound is over.
  const std::string path = store_.SoundPath(item->file);
  ZWaveFile file;
  ZOneBlockWaveBuffer wave;
  if (path.empty() || !file.open(path.c_str(), MMIO_READ) || !wave.Load(&file) ||
      wave.Format().AvgBytesPerSec() == 0 || wave.DataSize() <= 0) {
    message_ = "The sound cannot be played";
  } else {
    const uint64_t ms = uint64_t(wave.DataSize()) * 1000 / wave.Format().AvgBytesPerSec() + 1;
    pyxPlaySound(path.c_str(), SND_ASYNC | SND_NODEFAULT);
    playing_ = true;
    message_ = "Playing";
    SetTimer(kSoundOverTimer, UINT(std::min<uint64_t>(ms, 24u * 3600 * 1000)));
  }
  if (IsWindow()) Invalidate();
}

void MediaView::Stop() {
  if (!playing_) return;
  pyxPlaySound(nullptr, 0);
  SoundOver();
}

void MediaView::SoundOver() {
  if (IsWindow()) KillTimer(kSoundOverTimer);
  playing_ = false;
  message_.clear();
  if (IsWindow()) Invalidate();
}

void MediaView::EvTimer(UINT timerId) {
  if (timerId == kSoundOverTimer && playing_)
    SoundOver();
  else
    TWindow::EvTimer(timerId);
}

void MediaView::GoToItem(int step) {
  if (!article_) return;
  const int next = index_ + step;
  if (next < 0 || next >= int(article_->media.size())) return;
  const std::string text = MediaText(article_->id, next);
  Dispatch(text.c_str());
}

void MediaView::PaintSpeaker(TDC& dc, const TPoint& c) {
  // The box, then the cone widening to the right, then three sound waves.
  dc.FillRect(TRect(c.x - 34, c.y - 10, c.x - 20, c.y + 10), kSpeaker);
  for (int i = 0; i <= 18; ++i) {
    const int half = 10 + i * 12 / 18;
    dc.FillRect(TRect(c.x - 20 + i, c.y - half, c.x - 19 + i, c.y + half), kSpeaker);
  }
  for (int r : {10, 20, 30}) {
    for (int a = -50; a <= 50; ++a) {
      const double t = a * std::numbers::pi / 180.0;
      const int x = c.x + int(std::lround(r * std::cos(t)));
      const int y = c.y + int(std::lround(r * std::sin(t)));
      dc.FillRect(TRect(x, y, x + 2, y + 2), kSpeaker);
    }
  }
}

void MediaView::Paint(TDC& dc, bool, TRect&) {
  const TRect client = GetClientRect();
  dc.FillRect(client, kBackground);
  if (!article_) return;
  dc.SetBkMode(TRANSPARENT);
  const TFont& font = FontOf(Default);
  dc.SelectObject(font);
  const int lineH = font.GetHeight() + 4;
  const int cx = client.Width() / 2;
  const MediaItem* item = Item();
  if (!item) {
    dc.SetTextColor(kCaption);
    CentredText(dc, cx, client.Height() / 2 - lineH, article_->title);
    dc.SetTextColor(kMessage);
    CentredText(dc, cx, client.Height() / 2, message_);
    dc.RestoreFont();
    return;
  }
  // The item fills what the caption line leaves.
  const TRect area(kMargin, kMargin, client.right - kMargin, client.bottom - kMargin - lineH);
  int bottom = area.top + area.Height() / 2;
  if (picture_) {
    const int w = picture_->Width(), h = std::abs(picture_->Height());
    double zoom = kMaxZoom;
    if (w > 0) zoom = std::min(zoom, double(std::max(area.Width(), 1)) / w);
    if (h > 0) zoom = std::min(zoom, double(std::max(area.Height(), 1)) / h);
    const int dw = std::max(int(w * zoom), 1), dh = std::max(int(h * zoom), 1);
    const int x = area.left + (area.Width() - dw) / 2, y = area.top + (area.Height() - dh) / 2;
    dc.SaveDC();
    dc.IntersectClipRect(area);
    dc.StretchDIBits(x, y, dw, dh, 0, 0, w, h, *picture_);
    dc.RestoreDC();
    bottom = y + dh;
  } else if (item->kind == MediaItem::kSound) {
    const TPoint centre(cx, area.top + area.Height() / 2 - lineH / 2);
    PaintSpeaker(dc, centre);
    bottom = centre.y + 40;
    if (!message_.empty()) {
      dc.SetTextColor(kMessage);
      CentredText(dc, cx, bottom + 4, message_);
      bottom += lineH;
    }
  } else {
    dc.SetTextColor(kMessage);
    CentredText(dc, cx, bottom - lineH, message_);
  }
  dc.SetTextColor(kCaption);
  CentredText(dc, cx, std::min(bottom + 4, client.bottom - lineH), item->caption);
  dc.RestoreFont();
}

LRESULT MediaView::EvCommand(UINT id, HWND control, UINT notifyCode) {
  switch (id) {
    case kCmPlay: Play(); return 0;
    case kCmStop: Stop(); return 0;
    case kCmPreviousItem: GoToItem(-1); return 0;
    case kCmNextItem: GoToItem(+1); return 0;
    default: return ForwardToFrame(id);
  }
}

LRESULT MediaView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WmuBuildFlyMenu:
      FillPaneFlyMenu(*this, {{kCmPreviousItem, "Previous item"},
                              {kCmNextItem, "Next item"},
                              {kCmPlay, "Play"},
                              {kCmStop, "Stop"},
                              {0},
                              {kCmBookmarkMedia, "Bookmark"},
                              {kCmBack, "Back"},
                              {kCmFullScreenMedia}});
      return 0;
    case WmuGetBtnMenu: {
      HMENU menu = CreatePopupMenu();
      const MediaItem* item = Item();
      soundButtons_ = item && item->kind == MediaItem::kSound;
      if (soundButtons_) {
        AppendMenu(menu, MF_STRING, kCmPlay, "@");
        AppendMenu(menu, MF_STRING, kCmStop, "@");
      }
      for (UINT id : {kCmPreviousItem, kCmNextItem, kCmBookmarkMedia, kCmFullScreenMedia})
        AppendMenu(menu, MF_STRING, id, "@");
      *reinterpret_cast<HMENU*>(lp) = menu;
      return 0;
    }
    case WmuCreateBookmark: {
      if (!article_) return 0;
      const MediaItem* item = Item();
      const std::string name = item ? article_->title + ": " + item->caption : article_->title;
      return reinterpret_cast<LRESULT>(
          new ZBookmark(kMediaType, name, MediaText(article_->id, index_)));
    }
    case WmuNotification:
      // A sound stops when another item takes the pane.
      if (wp == kNotifyHolderLeaving) Stop();
      return 0;
    default: return TWindow::WindowProc(msg, wp, lp);
  }
}

}  // namespace quillonary
