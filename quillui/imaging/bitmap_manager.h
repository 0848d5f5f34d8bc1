// Bitmaps by name: a loose file in a local folder, a member of a registered data set, a loose
// file in a folder of the media (CD) directory, or a plain file name, searched in that order.
#pragma once

#include <memory>
#include <string>

#include "quillui/framework/image/dib.h"
#include "quillui/imaging/data_set.h"

namespace quill {

class TPalette;

// Holds no state of its own: make one where it is needed and call it. The registered sets and
// whether [BMPSets] was read are shared by all managers and live until library shutdown.
class ZBitmapManager {
 public:
  // The bitmap called name. With dir null: (when [DevParm] BMPSearchLocalDirs is on) the
  // local folder of each registered set, then each set, then the CD folder of each set, then
  // the bare name. With dir given: (switch on) the local folder dir, the set called dir, then
  // the CD folder dir. The first registration of [BMPSets] happens on the first call. The
  // palette, when given, maps the image into its colours. Null when nothing was found.
  std::unique_ptr<TDib> load_bitmap(const char* name, const char* dir = nullptr,
                                    const TPalette* palette = nullptr);
  // The member called name, read with exactly the member's length; null when absent.
  std::unique_ptr<TDib> load_bitmap_from_set(const char* name, const ZDataSet& set,
                                             const TPalette* palette = nullptr);
  // "cd:\dir\name" through replaceCDPath.
  std::unique_ptr<TDib> load_bitmap_from_cd_directory(const char* name, const char* dir,
                                                      const TPalette* palette = nullptr);
  // ".\dir\name" from the current directory.
  std::unique_ptr<TDib> load_bitmap_from_local_directory(const char* name, const char* dir,
                                                         const TPalette* palette = nullptr);

  // The registered set of that name (compared exactly), or null.
  ZDataSet* find_data_set(const char* name);
  // Registers the set unless one of that name is registered; its directory is read now.
  void add_set(const std::string& name);
  // Registers every key of [BMPSets] in file order and marks the sets as loaded, found or not.
  void load_sets();
  // Whether load_sets has run.
  static bool sets_loaded();
  // The number of registered sets.
  static int set_count();
};

}  // namespace quill
