// The settings every fly menu shares: animation timing, submenu delay, colours, the mouse
// slack round a menu and the click sound, read from the settings file once per process.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"

namespace quill {

struct ZFlyMenuSettings {
  // Limits of the timing keys, so that a mistyped or negative value (which would read as
  // about 49 days) cannot hold the user-interface thread.
  static constexpr int kMaxTimeMs = 10000;
  static constexpr int kMaxBlocks = 4096;
  // Limit of each half of MenuFudgeSize.
  static constexpr int kMaxFudge = 4096;

  uint32_t minFlyTime = 100;       // [View] MenuMinFlyTime, 0..kMaxTimeMs
  uint32_t maxTime = 300;          // [View] MenuMaxTime, 0..kMaxTimeMs
  uint32_t blockWidth = 2;         // [View] MenuBlockWidth, 1..kMaxBlocks
  uint32_t blockFlyMin = 10;       // [View] MenuBlockFlyMin, 0..kMaxBlocks
  uint32_t subMenuDelay = 250;     // [View] MenuSubDelay, 0..kMaxTimeMs
  COLORREF bkgnd = 0x02FFDA99u;    // [View] MenuBkgndColor
  COLORREF hilight = 0x02F2F2F2u;  // [View] MenuHilightColor
  bool playSound = false;          // [Prefs] ButtonSounds, read again by NotifyIniChanged
  TSize fudge;                     // [View] MenuFudgeSize
  std::string soundDir;            // [Directories] ButtonSounds
  std::string soundFile = "clkpmenu.wav";
};

// The settings, read on first use. The first read also registers the fly menus' hook of
// NotifyIniChanged, which reads [Prefs] ButtonSounds again; nothing else is ever re-read.
const ZFlyMenuSettings& FlyMenuSettings();

// Reads [Prefs] ButtonSounds into the settings again.
void ReReadFlyMenuSound();

// A size text: split at spaces and commas; with at least two tokens, their decimal values
// (each held to -kMaxFudge..kMaxFudge), else 0 x 0.
TSize ParseFudgeSize(std::string_view text);

// The click sound's file: the directory, a "/" when the directory is not empty and ends in
// neither "/" nor "\", then the file name.
std::string JoinSoundPath(const std::string& dir, const std::string& file);

}  // namespace quill
