// One-shot sounds (button clicks, menu swishes): pyxPlaySound plays a wave file without the
// caller keeping any buffer or device, plus the three companions that do nothing.
#pragma once

#include <cstddef>

#include "quillui/framework/base/messages.h"

namespace quill {

inline constexpr unsigned SND_SYNC = 0x0000;
inline constexpr unsigned SND_ASYNC = 0x0001;
inline constexpr unsigned SND_NODEFAULT = 0x0002;
inline constexpr unsigned SND_NOSTOP = 0x0010;

// Plays the wave file; a new sound cuts off the one playing (unless SND_NOSTOP, which then
// leaves the new one out). SND_ASYNC returns at once; without it the call waits the sound's
// length on the framework's clock. A null name stops the sound. Files are kept after the
// first play, so repeated clicks cost no file reading. Unreadable files are ignored.
void pyxPlaySound(const char* fileName, unsigned flags);
bool pyxPlaySoundQueryBusy();                 // always false
void pyxPlaySoundSetNotifyWindow(HWND hwnd);  // does nothing
void pyxPlaySoundNotify(unsigned, long);      // does nothing

// The sound player's state, for hosts and tests: the device, its backend ("" when none is
// open), and the number of sounds kept.
const char* PlaySoundBackendName();
size_t PlaySoundCachedCount();
// Blocks the player holds until the device is done with them.
size_t PlaySoundHeldCount();

}  // namespace quill
