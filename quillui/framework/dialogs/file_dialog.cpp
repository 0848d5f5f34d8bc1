#include "quillui/framework/dialogs/file_dialog.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/text_format.h"

namespace quill {

namespace fs = std::filesystem;

namespace {

// A directory with more entries than this shows only the first ones.
constexpr size_t kMaxEntries = 10000;
// A filter string with more pairs than this keeps the first ones.
constexpr size_t kMaxFilters = 64;

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

std::string Normal(const fs::path& p) {
  std::string s = p.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool IsDir(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

std::string CurrentDirectory() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? std::string("/") : Normal(p);
}

}  // namespace

// --- TFileList ----------------------------------------------------------------------------------

TFileList::TFileList(TWindow* parent, int id, int x, int y, int w, int h)
    : TControl(parent, id, nullptr, x, y, w, h) {
  Attr.Style |= WS_TABSTOP;
  SetBkgndColor(TControlColors::Window());
}

const TResponseTable& TFileList::GetResponseTable() const {
  static const TResponseEntry entries[] = {OnMessage<&TFileList::EvMouseWheel>(WM_MOUSEWHEEL)};
  static const TResponseTable table{&TControl::GetResponseTable(), entries};
  return table;
}

void TFileList::SetEntries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  sel_ = -1;
  top_ = 0;
  if (IsWindow()) Invalidate();
}

const TFileList::Entry* TFileList::Selected() const {
  return sel_ >= 0 && size_t(sel_) < entries_.size() ? &entries_[size_t(sel_)] : nullptr;
}

int TFileList::RowHeight() const { return std::max(GetFont().GetHeight() + 1, 1); }

int TFileList::VisibleRows() const {
  return std::max((GetClientRect().Height() - 4) / RowHeight(), 1);
}

void TFileList::SetSelIndex(int index, bool notify) {
  int n = int(entries_.size());
  index = n == 0 ? -1 : std::clamp(index, -1, n - 1);
  if (index >= 0) {
    if (index < top_) top_ = index;
    if (index >= top_ + VisibleRows()) top_ = index - VisibleRows() + 1;
  }
  bool changed = index != sel_;
  sel_ = index;
  if (IsWindow()) Invalidate();
  if (changed && notify) Notify(LBN_SELCHANGE);
}

int TFileList::RowAt(const TPoint& point) const {
  int row = top_ + (point.y - 2) / RowHeight();
  return point.y >= 2 && row < int(entries_.size()) ? row : -1;
}

void TFileList::Paint(TDC& dc, bool, TRect&) {
  TRect r = GetClientRect();
  dc.FillRect(r, TControlColors::Window());
  DrawBevel(dc, r, TControlColors::Shadow(), TControlColors::Highlight());
  DrawBevel(dc, r.InflatedBy(-1, -1), TControlColors::DarkShadow(), TControlColors::Face());
  TRect inner = r.InflatedBy(-2, -2);
  dc.IntersectClipRect(inner);
  dc.SelectObject(GetFont());
  dc.SetBkMode(TRANSPARENT);
  bool focused = GetFocus() == GetHandle();
  int rh = RowHeight();
  for (int i = top_, y = inner.top; i < int(entries_.size()) && y < inner.bottom; ++i, y += rh) {
    const Entry& e = entries_[size_t(i)];
    TRect row(inner.left, y, inner.right, y + rh);
    bool selected = i == sel_;
    if (selected) dc.FillRect(row, TControlColors::Selection());
    dc.SetTextColor(selected ? TControlColors::SelectionText() : TControlColors::Text());
    std::string shown = e.isDir ? "[" + e.name + "]" : e.name;
    TRect text = row.InflatedBy(-2, 0);
    dc.DrawText(shown, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && focused) DrawFocusRect(dc, row);
  }
}

UINT TFileList::EvGetDlgCode(const MSG*) { return DLGC_WANTARROWS; }

void TFileList::EvLButtonDown(UINT, const TPoint& point) {
  SetFocus();
  int row = RowAt(point);
  if (row >= 0) SetSelIndex(row, true);
}

void TFileList::EvLButtonDblClk(UINT modKeys, const TPoint& point) {
  int row = RowAt(point);
  if (row < 0) return;
  SetSelIndex(row, true);
  Notify(LBN_DBLCLK);
}

void TFileList::EvKeyDown(UINT key, UINT, UINT) {
  int page = std::max(VisibleRows() - 1, 1);
  int n = int(entries_.size());
  switch (key) {
    case VK_UP: SetSelIndex(sel_ < 0 ? 0 : std::max(sel_ - 1, 0), true); break;
    case VK_DOWN: SetSelIndex(sel_ + 1 < n ? sel_ + 1 : sel_, true); break;
    case VK_PRIOR: SetSelIndex(std::max(sel_ - page, 0), true); break;
    case VK_NEXT: SetSelIndex(std::min(sel_ + page, n - 1), true); break;
    case VK_HOME: SetSelIndex(0, true); break;
    case VK_END: SetSelIndex(n - 1, true); break;
    default: break;
  }
}

void TFileList::EvMouseWheel(WPARAM wp, LPARAM) {
  int delta = int16_t(HIWORD(wp));
  int maxTop = std::max(int(entries_.size()) - VisibleRows(), 0);
  top_ = std::clamp(top_ - delta / 120 * 3, 0, maxTop);
  Invalidate();
}

void TFileList::EvSetFocus(HWND) {
  if (sel_ < 0 && !entries_.empty()) SetSelIndex(0, true);
  Invalidate();
}

void TFileList::EvKillFocus(HWND) { Invalidate(); }

// --- TData --------------------------------------------------------------------------------------

TOpenSaveDialog::TData::TData(uint32_t flags, const char* filter, const char* initialDir,
                              const char* defExt)
    : Flags(flags),
      Filter(filter ? filter : ""),
      InitialDir(initialDir ? initialDir : ""),
      DefExt(defExt ? defExt : "") {}

std::vector<std::pair<std::string, std::string>> TOpenSaveDialog::TData::FilterPairs() const {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < Filter.size() && parts.size() < 2 * kMaxFilters) {
    size_t bar = Filter.find('|', start);
    if (bar == std::string::npos) bar = Filter.size();
    parts.push_back(Filter.substr(start, bar - start));
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i + 1].empty()) pairs.emplace_back(parts[i], parts[i + 1]);
  return pairs;
}

// --- TOpenSaveDialog ----------------------------------------------------------------------------

namespace {
TDialogTemplate ChooserTemplate(bool save, const char* title) {
  TDialogTemplate t;
  t.name = save ? "FILE_SAVE" : "FILE_OPEN";
  t.caption = title ? title : (save ? "Save As" : "Open");
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER;
  t.units = TRect(0, 0, 260, 172);
  return t;
}
}  // namespace

TOpenSaveDialog::TOpenSaveDialog(TWindow* parent, TData& data, bool save, const char* title,
                                 TModule* module)
    : TDialog(parent, ChooserTemplate(save, title), module), data_(data), save_(save) {
  filters_ = data_.FilterPairs();
  if (filters_.empty()) filters_.emplace_back("All Files (*.*)", "*.*");
  filter_ = size_t(std::clamp(data_.FilterIndex, 1, int(filters_.size())) - 1);
  pattern_ = filters_[filter_].second;
}

TSize TOpenSaveDialog::ContentSize() const { return MapDialogRect(TRect(0, 0, 260, 172)).Size(); }

void TOpenSaveDialog::BuildControls(const TPoint& origin) {
  auto at = [&](int x, int y, int w, int h) {
    return MapDialogRect(TRect(x, y, x + w, y + h)).OffsetBy(origin.x, origin.y);
  };
  auto place = [&](auto* c) {
    c->SetFont(GetDialogFont(), false);
    return c;
  };
  // Made in tab order: the name field first, as in the classic chooser.
  TRect r = at(55, 122, 140, 13);
  name_ = place(new TEdit(this, kFileNameId, "", r.left, r.top, r.Width(), r.Height()));
  r = at(7, 20, 246, 96);
  list_ = place(new TFileList(this, kFileListId, r.left, r.top, r.Width(), r.Height()));
  r = at(55, 141, 140, 14);
  type_ = place(new TButton(this, kFileTypeId, "", r.left, r.top, r.Width(), r.Height()));
  r = at(203, 122, 50, 14);
  place(new TButton(this, IDOK, save_ ? "&Save" : "&Open", r.left, r.top, r.Width(), r.Height(),
                    true));
  r = at(203, 141, 50, 14);
  place(new TButton(this, IDCANCEL, "Cancel", r.left, r.top, r.Width(), r.Height()));
  r = at(7, 7, 40, 9);
  place(new TStatic(this, -1, "Look in:", r.left, r.top, r.Width(), r.Height()));
  r = at(50, 7, 203, 9);
  dirLabel_ =
      place(new TStatic(this, kFileDirId, "", r.left, r.top, r.Width(), r.Height(), SS_NOPREFIX));
  r = at(7, 124, 45, 9);
  place(new TStatic(this, -1, "File name:", r.left, r.top, r.Width(), r.Height()));
  r = at(7, 144, 45, 9);
  place(new TStatic(this, -1, "Files of type:", r.left, r.top, r.Width(), r.Height()));
}

void TOpenSaveDialog::SetupWindow() {
  // The starting directory: a directory in the initial name, else the initial directory, else
  // the current one; a directory that is not there falls back to the current one.
  std::string name = data_.FileName;
  std::string dir = data_.InitialDir.empty() ? CurrentDirectory() : data_.InitialDir;
  size_t slash = name.rfind('/');
  if (slash != std::string::npos) {
    std::string part = name.substr(0, slash + 1);
    dir = fs::path(part).is_absolute() ? part : (fs::path(dir) / part).string();
    name = name.substr(slash + 1);
  }
  if (HasWildcard(name)) pattern_ = name;
  type_->SetText(filters_[filter_].first);
  if (!ChangeDir(dir)) ChangeDir(CurrentDirectory());
  name_->SetText(name);
  TDialog::SetupWindow();
  name_->SetFocus();
}

void TOpenSaveDialog::DescribeQuestion(TModalQuestion& q) const {
  TDialog::DescribeQuestion(q);
  q.kind = save_ ? TModalKind::FileSave : TModalKind::FileOpen;
  q.resourceName.clear();
  q.filter = data_.Filter;
  q.defaultExt = data_.DefExt;
  q.initialDir = data_.InitialDir;
  q.fileName = data_.FileName;
  q.flags = data_.Flags;
}

void TOpenSaveDialog::TakeAnswer(const TModalAnswer& answer) {
  if (answer.result == IDOK) data_.FileName = answer.path;
}

bool TOpenSaveDialog::Matches(const std::string& name) const {
  size_t start = 0;
  while (start <= pattern_.size()) {
    size_t semi = pattern_.find(';', start);
    if (semi == std::string::npos) semi = pattern_.size();
    std::string p = pattern_.substr(start, semi - start);
    p.erase(0, p.find_first_not_of(' '));
    if (p == "*.*") p = "*";  // the classic "every file", dot or not
    if (!p.empty() && fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
    start = semi + 1;
  }
  return false;
}

bool TOpenSaveDialog::ChangeDir(const std::string& dir) {
  std::error_code ec;
  fs::path path = fs::absolute(fs::path(dir), ec);
  if (ec || !IsDir(path)) return false;
  fs::directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
  if (ec) return false;
  std::vector<TFileList::Entry> dirs, files;
  for (size_t n = 0; it != fs::directory_iterator() && n < kMaxEntries; it.increment(ec), ++n) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden entries stay hidden
    if (IsDir(it->path()))
      dirs.push_back({name, true});
    else if (Matches(name))
      files.push_back({name, false});
  }
  auto byName = [](const TFileList::Entry& a, const TFileList::Entry& b) {
    std::string la = Lower(a.name), lb = Lower(b.name);
    return la != lb ? la < lb : a.name < b.name;
  };
  std::sort(dirs.begin(), dirs.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  std::vector<TFileList::Entry> all;
  dir_ = Normal(path);
  if (dir_ != "/") all.push_back({"..", true});
  all.insert(all.end(), dirs.begin(), dirs.end());
  all.insert(all.end(), files.begin(), files.end());
  if (list_) list_->SetEntries(std::move(all));
  if (dirLabel_) dirLabel_->SetText(dir_);
  return true;
}

void TOpenSaveDialog::Refresh() { ChangeDir(dir_); }

void TOpenSaveDialog::SetFilter(size_t index) {
  filter_ = index % filters_.size();
  pattern_ = filters_[filter_].second;
  type_->SetText(filters_[filter_].first);
  Refresh();
}

int TOpenSaveDialog::Ask(const std::string& text, UINT type) {
  int answer = quill::MessageBox(GetHandle(), text.c_str(), GetCaption().c_str(), type);
  if (name_ && name_->IsWindow()) name_->SetFocus();
  return answer;
}

bool TOpenSaveDialog::Accept(const std::string& typedIn) {
  std::string typed = typedIn;
  typed.erase(0, typed.find_first_not_of(' '));
  while (!typed.empty() && typed.back() == ' ') typed.pop_back();
  if (typed.empty()) return false;
  fs::path full = fs::path(typed).is_absolute() ? fs::path(typed) : fs::path(dir_) / typed;
  std::string base = full.filename().string();
  if (HasWildcard(base)) {
    // A pattern: show what matches it, in its directory.
    std::string parent = Normal(full.parent_path());
    pattern_ = base;
    ChangeDir(parent);
    name_->SetText(base);
    return false;
  }
  if (IsDir(full)) {
    ChangeDir(full.string());
    name_->SetText(HasWildcard(pattern_) && pattern_ != filters_[filter_].second ? pattern_ : "");
    return false;
  }
  if (!data_.DefExt.empty() && base.find('.') == std::string::npos && !base.empty()) {
    full += "." + data_.DefExt;
    base = full.filename().string();
  }
  std::string path = Normal(full);
  std::string folder = Normal(full.parent_path());
  bool strict = !(data_.Flags & OFN_NOVALIDATE);
  if (strict && (data_.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsDir(folder)) {
    Ask(folder + "\nThe path does not exist.\nCheck the path and try again.",
        MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  bool exists = Exists(full);
  if (strict && (data_.Flags & OFN_FILEMUSTEXIST) && !exists) {
    Ask(base + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (strict && exists && (data_.Flags & OFN_NOREADONLYRETURN) &&
      ::access(path.c_str(), W_OK) != 0) {
    Ask(base + "\nThis file is set to read-only.\nTry again with a different file name.",
        MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (save_ && exists && (data_.Flags & OFN_OVERWRITEPROMPT) &&
      Ask(base + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) !=
          IDYES)
    return false;
  data_.FileName = path;
  data_.FilterIndex = int(filter_) + 1;
  if (!(data_.Flags & OFN_NOCHANGEDIR)) {
    std::error_code ec;
    fs::current_path(folder, ec);  // the classic chooser leaves the process in the folder
  }
  EndDialog(IDOK);
  return true;
}

LRESULT TOpenSaveDialog::EvCommand(UINT id, HWND control, UINT notifyCode) {
  if (int(id) == kFileListId) {
    const TFileList::Entry* e = list_->Selected();
    if (!e) return 0;
    if (notifyCode == TFileList::LBN_SELCHANGE && !e->isDir) name_->SetText(e->name);
    if (notifyCode == TFileList::LBN_DBLCLK) {
      std::string name = e->name;
      if (e->isDir) {
        ChangeDir((fs::path(dir_) / name).string());
      } else {
        Accept(name);
      }
    }
    return 0;
  }
  if (int(id) == kFileTypeId && notifyCode == BN_CLICKED) {
    SetFilter(filter_ + 1);
    return 0;
  }
  if (id == UINT(IDOK) && notifyCode == BN_CLICKED) {
    // Enter on a folder in the list opens it; otherwise the name field decides.
    const TFileList::Entry* e = list_->Selected();
    if (GetFocus() == list_->GetHandle() && e && e->isDir) {
      ChangeDir((fs::path(dir_) / e->name).string());
      return 0;
    }
    Accept(name_->GetText());
    return 0;
  }
  return TDialog::EvCommand(id, control, notifyCode);
}

}  // namespace quill
