#include "host/app/host_session.h"

#include <cstdio>
#include <filesystem>

#include "host/app/host_setup.h"
#include "host/core/bookmark_texts.h"
#include "quillui/app/app_palette.h"
#include "quillui/app/art_dir.h"
#include "quillui/app/presentation.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/navigation/bmk_commands.h"
#include "quillui/navigation/bmk_file.h"
#include "quillui/navigation/routing.h"
#include "quillui/platform/clock.h"
#include "quillui/platform/screen/headless/headless_backend.h"
#include "quillui/profile/profile.h"

namespace quillonary {

using namespace quill;

HostSession::HostSession(const SessionOptions& options, const ContentStore& store)
    : options_(options), store_(store) {}

HostSession::~HostSession() {
  if (frame_) {
    if (frame_->IsWindow()) frame_->Destroy();
    SetAppFrame(nullptr);
    frame_.reset();
  }
  DeleteRouting();
  DeleteStatics();
}

bool HostSession::Start(std::string* error) {
  SetProfilePath(options_.settings);
  std::string art = !options_.art.empty() ? options_.art : FindBuildArtDir();
  if (!art.empty()) SetArtDir(art);
  art = GetArtDir();
  // The settings name the art by its folder, so "art:\..." values find it.
  ZProf& profile = ZProfile();
  if (profile.Get("Directories", "Art", "") != art) profile.Set("Directories", "Art", art.c_str());
  const std::string background = "art:\\background" + std::to_string(options_.width) + ".bmp";
  if (profile.Get("View", "Background", "") != background)
    profile.Set("View", "Background", background.c_str());
  RegisterHostEntries();
  LoadupRouting();
  // Every save keeps the list it replaces as NAME.bmk.bak.
  SetKeepBookmarkBackup(true);
  LoadupUserBookmarks();

  frame_ = std::make_unique<HostFrame>(options_.width, options_.height, store_);
  SetAppFrame(frame_.get());
  if (TPalette* palette = GetAppPalette()) {
    TScreenDC screenDC;
    screenDC.SelectPalette(palette, false);
    screenDC.RealizePalette();
  }
  if (!frame_->Create()) {
    if (error) *error = "cannot create the main window";
    return false;
  }
  app_.SetMainWindow(frame_.get());
  frame_->SetFocus();
  frame_->Start();
  return true;
}

bool HostSession::FrameOpen() const { return frame_ && frame_->IsWindow(); }

void HostSession::Settle() {
  // As the message loop does: the messages waiting, then idle time (menus watch the mouse and
  // buttons are enabled there) for as long as it asks for more, within bounds.
  for (long idleCount = 0; idleCount < 32;) {
    for (int round = 0; round < 1000 && app_.PumpWaitingMessages(); ++round) {
    }
    if (!app_.IdleAction(idleCount++) && !TWindowSystem::Get().HasQueued()) break;
  }
}

void HostSession::Wait(uint64_t ms) {
  auto* clock = dynamic_cast<platform::ManualClock*>(&TWindowSystem::Get().Clock());
  if (!clock) return;
  const uint64_t until = clock->NowMs() + ms;
  // Every timer falling due on the way runs at its time, in order.
  for (int timers = 0; timers < 100000; ++timers) {
    const uint64_t due = TWindowSystem::Get().NextTimerDue();
    if (due == UINT64_MAX || due > until) break;
    clock->Set(due);
    Settle();
  }
  clock->Set(until);
  Settle();
}

void HostSession::Inject(const platform::InputEvent& event) {
  static_cast<platform::HeadlessBackend&>(TWindowSystem::Get().Backend()).Inject(event);
  Settle();
  // Input takes a little time.
  Wait(1);
}

bool HostSession::Replay(const std::vector<platform::ScriptStep>& steps,
                         const std::string& outDir) {
  bool ok = true;
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  Settle();
  for (const platform::ScriptStep& step : steps) {
    if (!FrameOpen()) break;
    switch (step.kind) {
      case platform::ScriptStep::kInput: Inject(step.event); break;
      case platform::ScriptStep::kWait: Wait(step.waitMs); break;
      case platform::ScriptStep::kShot: {
        const std::string path = (std::filesystem::path(outDir) / step.shot).string();
        std::string error;
        if (TWindowSystem::Get().Screen().SaveScreenshot(path, &error)) {
          std::printf("quillonary: wrote %s\n", path.c_str());
        } else {
          std::fprintf(stderr, "quillonary: %s\n", error.c_str());
          ok = false;
        }
        break;
      }
    }
  }
  return ok;
}

}  // namespace quillonary
