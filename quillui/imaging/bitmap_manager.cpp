#include "quillui/imaging/bitmap_manager.h"

#include <vector>

#include "quillui/imaging/file_lookup.h"
#include "quillui/profile/graphic_reader.h"
#include "quillui/profile/paths.h"
#include "quillui/profile/profile.h"
#include "quillui/testing/imaging.h"

namespace quill {

namespace {

// The registered sets in registration order, owned here until shutdown.
std::vector<std::unique_ptr<ZDataSet>>& Sets() {
  static std::vector<std::unique_ptr<ZDataSet>> sets;
  return sets;
}
bool g_setsLoaded = false;

ZBitmapReaderHook& ReaderHook() {
  static ZBitmapReaderHook hook;
  return hook;
}

std::unique_ptr<TDib> Read(const std::string& path, int64_t offset, int64_t length,
                           const TPalette* palette) {
  if (ReaderHook()) return ReaderHook()(path, offset, length, palette);
  ZGraphicReader reader(path.c_str(), long(offset), long(length), palette);
  return reader.TakeTDib();
}

// A loose file: the path as written, or its name in another case in the same folder.
std::unique_ptr<TDib> ReadLoose(const std::string& path, const TPalette* palette) {
  return Read(FindFileNoCase(path), 0, -1, palette);
}

bool Usable(const char* text) { return text != nullptr && *text != '\0'; }

}  // namespace

std::unique_ptr<TDib> ZBitmapManager::load_bitmap(const char* name, const char* dir,
                                                  const TPalette* palette) {
  if (!Usable(name)) return nullptr;
  if (!g_setsLoaded) load_sets();
  const bool searchLocal = ZProfile().GetBool("DevParm", "BMPSearchLocalDirs", false);

  if (dir == nullptr) {
    // The list is not changed by the searches, but a copy of the pointers keeps the walk
    // sound should a reader hook register a set.
    std::vector<ZDataSet*> sets;
    for (const auto& set : Sets()) sets.push_back(set.get());
    if (searchLocal) {
      for (ZDataSet* set : sets) {
        if (auto dib = load_bitmap_from_local_directory(name, set->name().c_str(), palette)) {
          return dib;
        }
      }
    }
    for (ZDataSet* set : sets) {
      if (auto dib = load_bitmap_from_set(name, *set, palette)) return dib;
    }
    for (ZDataSet* set : sets) {
      if (auto dib = load_bitmap_from_cd_directory(name, set->name().c_str(), palette)) {
        return dib;
      }
    }
    return ReadLoose(name, palette);
  }

  if (searchLocal) {
    if (auto dib = load_bitmap_from_local_directory(name, dir, palette)) return dib;
  }
  if (ZDataSet* set = find_data_set(dir)) {
    if (auto dib = load_bitmap_from_set(name, *set, palette)) return dib;
  }
  return load_bitmap_from_cd_directory(name, dir, palette);
}

std::unique_ptr<TDib> ZBitmapManager::load_bitmap_from_set(const char* name, const ZDataSet& set,
                                                           const TPalette* palette) {
  if (!Usable(name)) return nullptr;
  ZDataSetEntry entry;
  if (!set.find_entry(name, entry) || entry.length == 0) return nullptr;
  // Exactly the member's bytes: an image whose header claims more than its member holds is
  // cut off there, never read on into the next member.
  if (ReaderHook()) return Read(set.path(), int64_t(entry.offset), int64_t(entry.length), palette);
  // Through the set's open file: no path to look up again for each member.
  ZGraphicReader reader(set.descriptor(), set.path(), long(entry.offset), long(entry.length),
                        palette);
  return reader.TakeTDib();
}

std::unique_ptr<TDib> ZBitmapManager::load_bitmap_from_cd_directory(const char* name,
                                                                    const char* dir,
                                                                    const TPalette* palette) {
  if (!Usable(name) || dir == nullptr || !StaysInsideFolder(name)) return nullptr;
  std::string path = std::string("cd:\\") + dir + "\\" + name;
  replaceCDPath(path);
  return ReadLoose(path, palette);
}

std::unique_ptr<TDib> ZBitmapManager::load_bitmap_from_local_directory(const char* name,
                                                                       const char* dir,
                                                                       const TPalette* palette) {
  if (!Usable(name) || dir == nullptr || !StaysInsideFolder(name)) return nullptr;
  return ReadLoose(std::string(".\\") + dir + "\\" + name, palette);
}

ZDataSet* ZBitmapManager::find_data_set(const char* name) {
  if (name == nullptr) return nullptr;
  for (const auto& set : Sets()) {
    if (set->name() == name) return set.get();
  }
  return nullptr;
}

void ZBitmapManager::add_set(const std::string& name) {
  if (find_data_set(name.c_str()) != nullptr) return;
  Sets().push_back(std::make_unique<ZDataSet>(name));
}

void ZBitmapManager::load_sets() {
  // The keys first: making a set reads the settings, which must not disturb the walk.
  ZProf& profile = ZProfile();
  std::vector<std::string> names;
  std::string key, value;
  for (bool more = profile.GetFirstEntry("BMPSets", key, value); more;
       more = profile.GetNextEntry(key, value)) {
    names.push_back(key);
  }
  for (const std::string& name : names) add_set(name);
  g_setsLoaded = true;
}

bool ZBitmapManager::sets_loaded() { return g_setsLoaded; }

int ZBitmapManager::set_count() { return int(Sets().size()); }

void ResetBitmapManager() {
  Sets().clear();
  g_setsLoaded = false;
  ReaderHook() = nullptr;
}

void SetBitmapReaderHook(ZBitmapReaderHook hook) { ReaderHook() = std::move(hook); }

}  // namespace quill
