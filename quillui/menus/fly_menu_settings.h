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

  uint32_t m_dwMinFlyTime = 100;            // [View] MenuMinFlyTime, 0..kMaxTimeMs
  uint32_t m_dwMaxTime = 300;               // [View] MenuMaxTime, 0..kMaxTimeMs
  uint32_t m_uiBlockWidth = 2;              // [View] MenuBlockWidth, 1..kMaxBlocks
  uint32_t m_dwBlockFlyMin = 10;            // [View] MenuBlockFlyMin, 0..kMaxBlocks
  uint32_t m_uiSubMenuDelay = 250;          // [View] MenuSubDelay, 0..kMaxTimeMs
  COLORREF m_clrMenuBkgnd = 0x02FFDA99u;    // [View] MenuBkgndColor
  COLORREF m_clrMenuHilight = 0x02F2F2F2u;  // [View] MenuHilightColor
  bool m_bPlaySound = false;                // [Prefs] ButtonSounds, read again by NotifyIniChanged
  TSize m_sizeFudgeBuff;                    // [View] MenuFudgeSize
  std::string m_strSoundDir;                // [Directories] ButtonSounds
  std::string m_strSoundFile = "clkpmenu.wav";
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
