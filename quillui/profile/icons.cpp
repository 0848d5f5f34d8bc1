#include "quillui/profile/icons.h"

#include <sys/stat.h>

#include <cstring>
#include <map>
#include <mutex>

#include "quillui/profile/graphic_reader.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

// One cel of a strip: 8-bit strips keep their indices and colour table, other depths become
// 24-bit, which keeps every colour without cutting packed pixels apart.
std::unique_ptr<TDib> CutCel(const TDib& strip, int left, int width) {
  const int height = strip.Height();
  if (strip.BitsPerPixel() == 8) {
    auto cel = std::make_unique<TDib>(width, height, 8, strip.NumColors());
    if (!cel->IsOK()) return nullptr;
    for (int i = 0; i < strip.NumColors(); ++i) cel->SetColor(i, strip.GetColor(i));
    for (int y = 0; y < height; ++y)
      std::memcpy(cel->ScanLine(y), strip.ScanLine(y) + left, size_t(width));
    return cel;
  }
  auto cel = std::make_unique<TDib>(width, height, 24);
  if (!cel->IsOK()) return nullptr;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TColor c = strip.GetPixelColor(left + x, y);
      cel->SetPixelColor(x, y, c == TColor::None ? TColor::Black : c);
    }
  return cel;
}

bool IsLight(TColor c) { return int(c.Red()) + c.Green() + c.Blue() >= 384; }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

const ZIcon::SizeClass* ZIcon::Class(eSIZE size) const {
  if (size < 0 || size >= kSizeClasses || classes_[size].stateCount == 0) return nullptr;
  return &classes_[size];
}

bool ZIcon::SetImage(eSIZE size, const TDib& strip, const TDib* mask, std::string* error) {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (size < 0 || size >= kSizeClasses) return fail("no such size class");
  if (!strip.IsOK()) return fail("no image");
  const int height = strip.Height();
  const int width = mask ? mask->Width() : (strip.Width() < height ? strip.Width() : height);
  if (mask && (!mask->IsOK() || mask->Height() != height))
    return fail("the mask's height differs from the image's");
  if (width <= 0 || width > kMaxSide || height > kMaxSide)
    return fail("icon larger than 256 pixels");
  if (strip.Width() % width != 0) return fail("the image is not a whole number of cels");
  const int states = strip.Width() / width;
  if (states > kMaxStates) return fail("too many states");

  SizeClass c;
  for (int i = 0; i < states; ++i) {
    c.states[i] = CutCel(strip, i * width, width);
    if (!c.states[i]) return fail("out of memory");
  }
  c.stateCount = states;
  if (mask) {
    c.mask = CutCel(*mask, 0, width);
    if (!c.mask) return fail("out of memory");
  }
  classes_[size] = std::move(c);
  return true;
}

bool ZIcon::HasSize(eSIZE size) const { return Class(size) != nullptr; }

TSize ZIcon::GetSize(eSIZE size) const {
  const SizeClass* c = Class(size);
  return c ? TSize(c->states[0]->Width(), c->states[0]->Height()) : TSize();
}

int ZIcon::GetStateCount(eSIZE size) const {
  const SizeClass* c = Class(size);
  return c ? c->stateCount : 0;
}

const TDib* ZIcon::GetIcon(eSIZE size, int state) const {
  const SizeClass* c = Class(size);
  if (!c) return nullptr;
  return c->states[(state >= 0 && state < c->stateCount) ? state : 0].get();
}

const TDib* ZIcon::GetMask(eSIZE size) const {
  const SizeClass* c = Class(size);
  return c ? c->mask.get() : nullptr;
}

std::unique_ptr<TDib> ZIcon::ComposeOver(eSIZE size, int state, TColor background) const {
  const TDib* image = GetIcon(size, state);
  if (!image) return nullptr;
  const TDib* mask = GetMask(size);
  auto out = std::make_unique<TDib>(image->Width(), image->Height(), 24);
  if (!out->IsOK()) return nullptr;
  const TColor bg = background.Rgb();
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x) {
      const bool shown = mask == nullptr || IsLight(mask->GetPixelColor(x, y));
      const TColor c = shown ? image->GetPixelColor(x, y) : bg;
      out->SetPixelColor(x, y, c == TColor::None ? bg : c);
    }
  return out;
}

bool ZIcon::Load(const std::string& base, std::string* error) {
  static const char* const kSuffix[kSizeClasses] = {"_16", "_32"};
  bool any = false;
  for (int s = 0; s < kSizeClasses; ++s) {
    const std::string imagePath = base + kSuffix[s] + ".bmp";
    if (!Exists(imagePath)) continue;
    ZGraphicReader image(imagePath.c_str(), 0, -1, nullptr);
    if (!image.IsOK()) {
      if (error) *error = image.GetError();
      continue;
    }
    const std::string maskPath = base + kSuffix[s] + "m.bmp";
    std::unique_ptr<ZGraphicReader> mask;
    if (Exists(maskPath)) {
      mask = std::make_unique<ZGraphicReader>(maskPath.c_str(), 0, -1, nullptr);
      if (!mask->IsOK()) {
        if (error) *error = mask->GetError();
        continue;
      }
    }
    std::string why;
    if (!SetImage(eSIZE(s), *image.GetTDib(), mask ? mask->GetTDib() : nullptr, &why)) {
      if (error) *error = imagePath + ": " + why;
      continue;
    }
    any = true;
  }
  return any;
}

namespace {

struct IconStore {
  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, std::unique_ptr<ZIcon>> icons;
};

IconStore& Store() {
  static IconStore store;
  return store;
}

std::string IconsDir() {
  ZProf& profile = ZProfile();
  std::string dir = profile.Get("Directories", "Icons", "");
  if (dir.empty()) dir = profile.GetInstallDir() + "icons";
  replaceCDPath(dir);
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

const ZIcon* GetIcon(const char* group, const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  const std::string g = group ? group : "";
  IconStore& store = Store();
  {
    std::lock_guard lock(store.mutex);
    auto it = store.icons.find({g, name});
    if (it != store.icons.end()) return it->second.get();
  }
  // Names from callers must not walk out of the icons directory.
  const std::string n = name;
  auto unsafe = [](const std::string& s) {
    return s.find('/') != std::string::npos || s.find('\\') != std::string::npos || s == "." ||
           s == "..";
  };
  std::unique_ptr<ZIcon> icon;
  if (!unsafe(n) && !unsafe(g)) {
    icon = std::make_unique<ZIcon>();
    std::string error;
    const std::string base = IconsDir() + (g.empty() ? "" : g + "/") + n;
    if (!icon->Load(base, &error)) {
      if (!error.empty())
        reporter(("Invalid icon: " + error).c_str(), "Error", eREPORT_LOG, "ICONS", __LINE__);
      icon.reset();
    }
  }
  std::lock_guard lock(store.mutex);
  auto [it, added] = store.icons.emplace(std::make_pair(g, n), std::move(icon));
  return it->second.get();
}

void ResetIcons() {
  IconStore& store = Store();
  std::lock_guard lock(store.mutex);
  store.icons.clear();
}

TCursorShape GetAppCursor(int cursor) {
  switch (cursor) {
    case eAPP_CURSOR_HAND: return TCursorShape::Hand;
    case eAPP_CURSOR_WAIT: return TCursorShape::Wait;
    case eAPP_CURSOR_TEXT: return TCursorShape::IBeam;
    default: return TCursorShape::Arrow;
  }
}

}  // namespace quill
