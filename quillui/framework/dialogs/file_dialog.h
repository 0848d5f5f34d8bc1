// File choosers: TFileOpenDialog and TFileSaveDialog, drawn by the framework (a filtered list
// of the directory's entries, a name field, a file-type switch, OK and Cancel), with the
// classic filter string, default extension, initial directory and name, and OFN_ flags.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/dialogs/dialog.h"

namespace quill {

inline constexpr uint32_t OFN_READONLY = 0x00000001;
inline constexpr uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;  // there is no read-only box to hide
inline constexpr uint32_t OFN_NOCHANGEDIR = 0x00000008;
inline constexpr uint32_t OFN_NOVALIDATE = 0x00000100;
inline constexpr uint32_t OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr uint32_t OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr uint32_t OFN_NOREADONLYRETURN = 0x00008000;

// Control ids inside the chooser.
inline constexpr int kFileListId = 1120;
inline constexpr int kFileNameId = 1152;
inline constexpr int kFileTypeId = 1136;
inline constexpr int kFileDirId = 1088;

// The list of a directory's entries: folders first (shown in brackets), then files.
class TFileList : public TControl {
 public:
  struct Entry {
    std::string name;
    bool isDir = false;
  };
  // Notification codes sent to the parent.
  static constexpr UINT LBN_SELCHANGE = 1;
  static constexpr UINT LBN_DBLCLK = 2;

  TFileList(TWindow* parent, int id, int x, int y, int w, int h);

  void SetEntries(std::vector<Entry> entries);
  const std::vector<Entry>& GetEntries() const { return entries_; }
  int GetSelIndex() const { return sel_; }
  // Selects an entry (-1: none) and scrolls it into view; notifies when notify is true.
  void SetSelIndex(int index, bool notify = false);
  const Entry* Selected() const;
  int RowHeight() const;
  int TopIndex() const { return top_; }

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  UINT EvGetDlgCode(const MSG* msg) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;
  void EvSetFocus(HWND lostFocus) override;
  void EvKillFocus(HWND getFocus) override;
  const TResponseTable& GetResponseTable() const override;

 private:
  void EvMouseWheel(WPARAM wp, LPARAM lp);
  int VisibleRows() const;
  int RowAt(const TPoint& point) const;
  std::vector<Entry> entries_;
  int sel_ = -1;
  int top_ = 0;
};

class TOpenSaveDialog : public TDialog {
 public:
  // What the chooser starts from and, after IDOK, the file chosen (FileName, a full path).
  struct TData {
    explicit TData(uint32_t flags = 0, const char* filter = nullptr,
                   const char* initialDir = nullptr, const char* defExt = nullptr);
    uint32_t Flags;
    std::string Filter;      // "desc|pattern|desc|pattern|"; patterns may list several with ';'
    std::string FileName;    // initial name (may hold a directory or a wildcard), then the result
    std::string InitialDir;  // empty: the current directory
    std::string DefExt;      // appended (after a dot) to a typed name without an extension
    int FilterIndex = 1;     // 1-based: the filter chosen at the start and at the end
    // The filter's (description, pattern) pairs; a description without a pattern is dropped.
    std::vector<std::pair<std::string, std::string>> FilterPairs() const;
  };

  // The directory on show and the pattern in use.
  const std::string& CurrentDir() const { return dir_; }
  const std::string& CurrentPattern() const { return pattern_; }
  // Shows a directory's entries; false (and nothing changes) when it cannot be read.
  bool ChangeDir(const std::string& dir);
  // Acts on a typed name as OK does: a pattern filters, a directory opens, a file is checked
  // against the flags and, if it passes, ends the dialog with IDOK. Answers whether it ended.
  bool Accept(const std::string& typed);
  TData& GetData() { return data_; }

 protected:
  TOpenSaveDialog(TWindow* parent, TData& data, bool save, const char* title, TModule* module);

  void SetupWindow() override;
  TSize ContentSize() const override;
  void BuildControls(const TPoint& origin) override;
  LRESULT EvCommand(UINT id, HWND control, UINT notifyCode) override;
  void DescribeQuestion(TModalQuestion& question) const override;
  void TakeAnswer(const TModalAnswer& answer) override;

 private:
  void Refresh();
  void SetFilter(size_t index);
  bool Matches(const std::string& name) const;
  // A message box owned by the chooser; the focus returns to the name field after.
  int Ask(const std::string& text, UINT type);

  TData& data_;
  bool save_;
  std::vector<std::pair<std::string, std::string>> filters_;
  size_t filter_ = 0;
  std::string dir_;
  std::string pattern_;
  TFileList* list_ = nullptr;
  TEdit* name_ = nullptr;
  TButton* type_ = nullptr;
  TStatic* dirLabel_ = nullptr;
};

class TFileOpenDialog : public TOpenSaveDialog {
 public:
  TFileOpenDialog(TWindow* parent, TData& data, const char* title = nullptr,
                  TModule* module = nullptr)
      : TOpenSaveDialog(parent, data, false, title, module) {}
};

class TFileSaveDialog : public TOpenSaveDialog {
 public:
  TFileSaveDialog(TWindow* parent, TData& data, const char* title = nullptr,
                  TModule* module = nullptr)
      : TOpenSaveDialog(parent, data, true, title, module) {}
};

}  // namespace quill
