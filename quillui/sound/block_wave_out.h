// ZBlockWaveOutDevice: an invisible window that owns a wave-out device. Blocks queued while it
// is paused go to the device in order on Play; finished blocks come back as MM_WOM_DONE.
#pragma once

#include <deque>
#include <functional>
#include <unordered_map>

#include "quillui/framework/window/window.h"
#include "quillui/sound/wave_block.h"
#include "quillui/sound/wave_format.h"

namespace quill {

class ZBlockWaveOutDevice : public TWindow {
 public:
  // An invisible pop-up; its handle is made by the first Open.
  explicit ZBlockWaveOutDevice(TWindow* parent = nullptr);
  ~ZBlockWaveOutDevice() override;

  // Closed -> Paused: opens a device for format (closing any open one) and empties the queue.
  bool Open(const ZWaveFormat& format);
  // Paused: prepares the block and keeps it in the queue; Playing: prepares and writes it at
  // once; Closed: false. The caller keeps the block alive until its block-done notice.
  bool Queue(ZWaveBlock& block);
  // Writes the queued blocks in order and stays Playing.
  void Play();
  // Discards the queue without writing it and cuts off what is playing.
  void Stop();
  void Close();
  // Writes one prepared block to the device.
  bool SendBlock(ZWaveBlock& block);

  // The window told about finished blocks (wParam = the header's dwUser), and the message.
  void SetNotify(TWindow* window, UINT message) {
    notifyWindow_ = window;
    notifyMessage_ = message;
  }
  TWindow* NotifyWindow() const { return notifyWindow_; }
  UINT NotifyMessage() const { return notifyMessage_; }

  enum class State { Closed, Paused, Playing };
  State GetState() const {
    return !device_ ? State::Closed : bPlaying ? State::Playing : State::Paused;
  }
  HWAVEOUT DeviceHandle() const { return device_; }
  size_t QueuedCount() const { return queue_.size(); }
  // Whether the block behind header was written and has not been reported done.
  bool IsSent(const WAVEHDR* header) const { return sent_.count(const_cast<WAVEHDR*>(header)) > 0; }

  // MM_WOM_DONE: unprepares the finished header and tells the notify window. Answers 0.
  virtual LRESULT EvNotifyBlockDone(WPARAM device, LPARAM header);

  const TResponseTable& GetResponseTable() const override;

 protected:
  void EvTimer(UINT timerId) override;

  bool bPlaying = false;

 private:
  // Virtual-time backends finish blocks only when polled; a timer does that while any play.
  void SchedulePoll();
  void Unprepare(ZWaveBlock& block);

  HWAVEOUT device_ = nullptr;
  std::deque<std::reference_wrapper<ZWaveBlock>> queue_;
  // Blocks written and not yet reported done; a notice for any other header is stale.
  std::unordered_map<WAVEHDR*, ZWaveBlockImp*> sent_;
  TWindow* notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
};

}  // namespace quill
