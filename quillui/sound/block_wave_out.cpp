#include "quillui/sound/block_wave_out.h"

#include <algorithm>
#include <cassert>

namespace quill {

namespace {
constexpr UINT kPollTimer = 0x5157;  // "QW"
}

ZBlockWaveOutDevice::ZBlockWaveOutDevice(TWindow* parent) : TWindow(parent, "ZBlockWaveOutDevice") {
  Attr.Style = WS_POPUP;  // never shown
  Attr.W = Attr.H = 0;
}

ZBlockWaveOutDevice::~ZBlockWaveOutDevice() { Close(); }

const TResponseTable& ZBlockWaveOutDevice::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZBlockWaveOutDevice::EvNotifyBlockDone>(MM_WOM_DONE),
  };
  static const TResponseTable table{&TWindow::GetResponseTable(), entries};
  return table;
}

bool ZBlockWaveOutDevice::Open(const ZWaveFormat& format) {
  if (!GetHandle() && !Create()) return false;
  if (device_) Close();
  if (waveOutOpen(&device_, WAVE_MAPPER, &format, GetHandle(), 0, CALLBACK_WINDOW) !=
      MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  bPlaying = false;
  queue_.clear();
  sent_.clear();
  return true;
}

bool ZBlockWaveOutDevice::Queue(ZWaveBlock& block) {
  if (!device_ || !block.Header()) return false;
  if (waveOutPrepareHeader(device_, block.Header(), sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
    return false;
  block->bQueued = true;
  block->bDone = false;
  if (bPlaying) return SendBlock(block);
  queue_.push_back(block);
  return true;
}

void ZBlockWaveOutDevice::Play() {
  if (!device_) return;
  bPlaying = true;
  while (!queue_.empty()) {
    ZWaveBlock& block = queue_.front();
    queue_.pop_front();
    SendBlock(block);
  }
}

void ZBlockWaveOutDevice::Unprepare(ZWaveBlock& block) {
  if (device_ && block.Header()) waveOutUnprepareHeader(device_, block.Header(), sizeof(WAVEHDR));
  block->bQueued = false;
  block->bDone = true;
}

void ZBlockWaveOutDevice::Stop() {
  bPlaying = false;
  // Blocks never written are handed back unprepared: no notice will come for them.
  for (ZWaveBlock& block : queue_) Unprepare(block);
  queue_.clear();
  if (device_) {
    waveOutReset(device_);
    SchedulePoll();
  }
}

void ZBlockWaveOutDevice::Close() {
  if (bPlaying) Stop();
  assert(!bPlaying);
  for (ZWaveBlock& block : queue_) Unprepare(block);
  queue_.clear();
  if (device_) {
    waveOutReset(device_);  // a device will not close with blocks in it
    waveOutClose(device_);
    device_ = nullptr;
  }
  // Notices still queued for these blocks will find nothing and be ignored.
  for (auto& [header, imp] : sent_) {
    header->dwFlags &= ~WHDR_PREPARED;
    imp->bQueued = false;
    imp->bDone = true;
  }
  sent_.clear();
  if (GetHandle()) KillTimer(kPollTimer);
}

bool ZBlockWaveOutDevice::SendBlock(ZWaveBlock& block) {
  if (!device_ || !block.Header()) return false;
  if (waveOutWrite(device_, block.Header(), sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
  sent_[block.Header()] = &block.Imp();
  SchedulePoll();
  return true;
}

void ZBlockWaveOutDevice::SchedulePoll() {
  if (!GetHandle()) return;
  const long next = waveOutPoll(device_);
  if (next < 0)
    KillTimer(kPollTimer);
  else
    SetTimer(kPollTimer, UINT(std::min<long>(next, 60000)));
}

void ZBlockWaveOutDevice::EvTimer(UINT timerId) {
  if (timerId != kPollTimer) {
    TWindow::EvTimer(timerId);
    return;
  }
  if (!device_) {
    KillTimer(kPollTimer);
    return;
  }
  SchedulePoll();
}

LRESULT ZBlockWaveOutDevice::EvNotifyBlockDone(WPARAM device, LPARAM header) {
  // A notice from a device since closed (or reopened) refers to nothing of ours now.
  if (!device_ || HWAVEOUT(device) != device_) return 0;
  auto* hdr = reinterpret_cast<WAVEHDR*>(header);
  auto it = sent_.find(hdr);
  if (it == sent_.end()) return 0;
  // A block cut off by Stop and written again is back in the device: this notice was for the
  // earlier play.
  if (waveOutUnprepareHeader(device_, hdr, sizeof(WAVEHDR)) == WAVERR_STILLPLAYING) return 0;
  ZWaveBlockImp* imp = it->second;
  sent_.erase(it);
  imp->bQueued = false;
  imp->bDone = true;
  if (notifyWindow_ && notifyWindow_->GetHandle() && notifyMessage_ != 0)
    notifyWindow_->SendMessage(notifyMessage_, WPARAM(hdr->dwUser), 0);
  return 0;
}

}  // namespace quill
