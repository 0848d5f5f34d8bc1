// Icons for menu entries, title bars and frames: for each size class an image per state and
// one mask, read from BMP files; and the application's cursors by number.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/base/color.h"
#include "quillui/framework/base/geometry.h"
#include "quillui/framework/image/dib.h"
#include "quillui/framework/window/cursor.h"

namespace quill {

class ZIcon {
 public:
  // Size classes: small icons (16 pixels by convention) beside menu entries and in title
  // bars, large ones (32) elsewhere. The pixel size is whatever the files hold.
  enum eSIZE : int { eSMALL = 0, eLARGE = 1 };
  static constexpr int kSizeClasses = 2;
  // States, one cel each in the image file from the left; a state the file lacks shows the
  // normal cel.
  enum eSTATE : int { eNORMAL = 0, eHILITE = 1, eDISABLED = 2 };
  static constexpr int kMaxStates = 16;
  static constexpr int kMaxSide = 256;

  ZIcon() = default;
  ZIcon(const ZIcon&) = delete;
  ZIcon& operator=(const ZIcon&) = delete;

  // Sets a size class from an image strip of whole cels side by side and a mask of one cel.
  // Mask pixels that are light mark the icon, dark ones the background (the mask is drawn
  // with the raster operation that keeps the image where the mask is white). A null mask
  // means every pixel is the icon's. False, and nothing changed, when the sizes disagree or
  // exceed the limits.
  bool SetImage(eSIZE size, const TDib& strip, const TDib* mask, std::string* error = nullptr);

  bool HasSize(eSIZE size) const;
  // The cel size of the class, or 0 x 0 when the icon has none.
  TSize GetSize(eSIZE size) const;
  int GetStateCount(eSIZE size) const;
  // The image of a state and the mask; null when the class is missing.
  const TDib* GetIcon(eSIZE size, int state = eNORMAL) const;
  const TDib* GetMask(eSIZE size) const;
  // The bitmap drawn for a state as it is, without a mask operation: the state's image.
  const TDib* GetIconBitmap(eSIZE size, int state) const { return GetIcon(size, state); }
  // The state's image over a background colour through the mask, as a 24-bit DIB.
  std::unique_ptr<TDib> ComposeOver(eSIZE size, int state, TColor background) const;

  // Reads the classes that exist: "<base>_16.bmp" with mask "<base>_16m.bmp" for eSMALL and
  // "<base>_32.bmp" / "<base>_32m.bmp" for eLARGE. True when at least one class was read.
  bool Load(const std::string& base, std::string* error = nullptr);

 private:
  struct SizeClass {
    std::unique_ptr<TDib> states[kMaxStates];
    int stateCount = 0;
    std::unique_ptr<TDib> mask;
  };
  const SizeClass* Class(eSIZE size) const;
  SizeClass classes_[kSizeClasses];
};

// The icon named by a group and a name, read once from the icons directory ([Directories]
// "Icons", default "icons" in the installation directory) as "<dir>/<group>/<name>_16.bmp"
// and its siblings (no group: "<dir>/<name>_16.bmp"). Null when no file of it exists; the
// answer, either way, is kept, so a missing icon costs one look. The store owns the icons.
const ZIcon* GetIcon(const char* group, const char* name);

// The application's cursors: 0 is the ordinary one.
enum APP_CURSOR : int {
  eAPP_CURSOR_NORMAL = 0,
  eAPP_CURSOR_HAND = 1,
  eAPP_CURSOR_WAIT = 2,
  eAPP_CURSOR_TEXT = 3
};
// The shape of the cursor; an unknown number gives the ordinary one.
TCursorShape GetAppCursor(int cursor);

}  // namespace quill
