// MediaView: the Media pane's content window. Shows one media item of an article: a picture
// centred with its caption, or a sound as a speaker with Play and Stop.
#pragma once

#include <memory>
#include <string>

#include "host/core/article.h"
#include "host/core/content_store.h"
#include "quillui/framework/menus/menu.h"
#include "quillui/framework/window/window.h"

namespace quill {
class TDib;
}

namespace quillonary {

class MediaView : public quill::TWindow {
 public:
  MediaView(quill::TWindow* holder, const ContentStore& store);
  ~MediaView() override;

  // Shows the article's item at index (clamped to its items); null shows nothing. A sound
  // that was playing stops.
  void ShowMedia(const Article* article, int index);
  const Article* Current() const { return article_; }
  int Index() const { return index_; }
  // The item shown, or null (no article, or an article without media).
  const MediaItem* Item() const;
  // The picture shown, or null (a sound, or a picture that could not be read).
  const quill::TDib* Picture() const { return picture_.get(); }
  // The line shown instead of the picture, or the sound's state ("" when none). "Playing"
  // lasts the sound's length.
  const std::string& Message() const { return message_; }
  bool IsPlaying() const { return playing_; }

  void Play();
  void Stop();

 protected:
  void Paint(quill::TDC& dc, bool erase, quill::TRect& rect) override;
  void EvTimer(quill::UINT timerId) override;
  quill::LRESULT EvCommand(quill::UINT id, quill::HWND control, quill::UINT notifyCode) override;
  quill::LRESULT WindowProc(quill::UINT msg, quill::WPARAM wp, quill::LPARAM lp) override;

 private:
  // The sound has ended or was stopped.
  void SoundOver();
  void PaintSpeaker(quill::TDC& dc, const quill::TPoint& centre);
  // Dispatches the article's item index + step, when there is one.
  void GoToItem(int step);

  const ContentStore& store_;
  const Article* article_ = nullptr;
  int index_ = 0;
  std::unique_ptr<quill::TDib> picture_;
  std::string message_;
  bool playing_ = false;
  bool soundButtons_ = false;  // the buttons last offered include Play and Stop
  // The menu handle that tells the pane to ask for the buttons again (kept for the pane's
  // merges; destroyed with the view).
  quill::HMENU buttonsChanged_ = nullptr;
};

}  // namespace quillonary
