#include "tools/quill-rc/resource_script.h"

#include <cctype>

#include <map>
#include <set>
#include "tools/quill-rc/resource_lexer.h"

namespace quill {

namespace {

using rc::Lexer;
using rc::Tok;
using rc::Token;

// Values are kept in 64 bits so that every 32-bit id or style, signed or not, fits, and any
// result outside that band is refused before it is narrowed.
constexpr int64_t kMinValue = INT32_MIN;
constexpr int64_t kMaxValue = UINT32_MAX;

// The classic values of the names a script may use without defining them.
const std::map<std::string, int64_t>& BuiltinConstants() {
  static const std::map<std::string, int64_t> table = {
      {"WS_OVERLAPPED", 0x00000000},
      {"WS_POPUP", 0x80000000},
      {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000},
      {"WS_VISIBLE", 0x10000000},
      {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000},
      {"WS_CLIPCHILDREN", 0x02000000},
      {"WS_MAXIMIZE", 0x01000000},
      {"WS_CAPTION", 0x00C00000},
      {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000},
      {"WS_VSCROLL", 0x00200000},
      {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000},
      {"WS_THICKFRAME", 0x00040000},
      {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000},
      {"WS_MINIMIZEBOX", 0x00020000},
      {"WS_MAXIMIZEBOX", 0x00010000},
      {"WS_EX_DLGMODALFRAME", 0x1},
      {"WS_EX_TOPMOST", 0x8},
      {"WS_EX_TRANSPARENT", 0x20},
      {"WS_EX_TOOLWINDOW", 0x80},
      {"DS_ABSALIGN", 0x01},
      {"DS_SYSMODAL", 0x02},
      {"DS_3DLOOK", 0x04},
      {"DS_LOCALEDIT", 0x20},
      {"DS_SETFONT", 0x40},
      {"DS_MODALFRAME", 0x80},
      {"DS_NOIDLEMSG", 0x100},
      {"DS_SETFOREGROUND", 0x200},
      {"DS_CENTER", 0x800},
      {"SS_LEFT", 0},
      {"SS_CENTER", 1},
      {"SS_RIGHT", 2},
      {"SS_NOPREFIX", 0x80},
      {"BS_PUSHBUTTON", 0},
      {"BS_DEFPUSHBUTTON", 1},
      {"BS_CHECKBOX", 2},
      {"BS_AUTOCHECKBOX", 3},
      {"BS_RADIOBUTTON", 4},
      {"BS_GROUPBOX", 7},
      {"BS_AUTORADIOBUTTON", 9},
      {"ES_LEFT", 0},
      {"ES_CENTER", 1},
      {"ES_RIGHT", 2},
      {"ES_MULTILINE", 4},
      {"ES_UPPERCASE", 8},
      {"ES_LOWERCASE", 0x10},
      {"ES_PASSWORD", 0x20},
      {"ES_AUTOVSCROLL", 0x40},
      {"ES_AUTOHSCROLL", 0x80},
      {"ES_READONLY", 0x800},
      {"IDOK", 1},
      {"IDCANCEL", 2},
      {"IDABORT", 3},
      {"IDRETRY", 4},
      {"IDIGNORE", 5},
      {"IDYES", 6},
      {"IDNO", 7},
      {"IDC_STATIC", -1},
  };
  return table;
}

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& file, const TResourceFileReader& reader,
         TResourceScript& out, TResourceScriptError& error)
      : lx_(text), file_(file), reader_(reader), out_(out), error_(error) {}

  bool Run() {
    for (;;) {
      const Token& t = lx_.Peek();
      if (t.kind == Tok::End) return true;
      if (t.kind == Tok::Directive) {
        if (!Directive()) return false;
        continue;
      }
      if (t.kind == Tok::Ident && Upper(t.text) == "STRINGTABLE") {
        lx_.Next();
        if (!StringTable()) return false;
        continue;
      }
      if (t.kind != Tok::Ident && t.kind != Tok::String)
        return Fail(t.line, "expected a resource name, found " + Describe(t));
      Token name = lx_.Next();
      Token type = lx_.Next();
      if (type.kind != Tok::Ident)
        return Fail(type.line,
                    "expected a resource type after '" + name.text + "', found " + Describe(type));
      std::string kind = Upper(type.text);
      bool ok = false;
      if (kind == "MENU")
        ok = Menu(name);
      else if (kind == "DIALOG")
        ok = Dialog(name);
      else if (kind == "BITMAP")
        ok = Bitmap(name);
      else
        return Fail(type.line, "unknown keyword '" + type.text +
                                   "' (expected MENU, DIALOG, "
                                   "BITMAP or STRINGTABLE)");
      if (!ok) return false;
    }
  }

 private:
  bool Fail(int line, std::string message) {
    error_.file = file_;
    error_.line = line;
    error_.message = std::move(message);
    return false;
  }

  static std::string Describe(const Token& t) {
    switch (t.kind) {
      case Tok::End: return "the end of the file";
      case Tok::Ident: return "'" + t.text + "'";
      case Tok::Number: return "the number " + t.text;
      case Tok::String: return "a string";
      case Tok::Punct: return "'" + t.text + "'";
      case Tok::Directive: return "'#" + t.text + "'";
      case Tok::Bad: return "'" + t.text + "'";
    }
    return "?";
  }

  // A bad token's own complaint, or a generic one.
  bool FailOn(const Token& t, const std::string& expected) {
    if (t.kind == Tok::Bad) {
      if (!t.text.empty() && t.text[0] >= '0' && t.text[0] <= '9')
        return Fail(t.line, "bad number '" + t.text + "'");
      return Fail(t.line, t.text);
    }
    return Fail(t.line, "expected " + expected + ", found " + Describe(t));
  }

  bool IsPunct(const Token& t, char c) const {
    return t.kind == Tok::Punct && t.text.size() == 1 && t.text[0] == c;
  }
  bool IsWord(const Token& t, const char* word) const {
    return t.kind == Tok::Ident && Upper(t.text) == word;
  }
  bool SkipComma() {
    if (IsPunct(lx_.Peek(), ',')) {
      lx_.Next();
      return true;
    }
    return false;
  }
  bool ExpectComma() {
    Token t = lx_.Next();
    return IsPunct(t, ',') ? true : FailOn(t, "','");
  }

  bool Directive() {
    Token d = lx_.Next();
    if (Upper(d.text) != "DEFINE") return Fail(d.line, "unsupported directive '#" + d.text + "'");
    lx_.SetStopLine(d.line);
    Token name = lx_.Next();
    if (name.kind != Tok::Ident) {
      lx_.SetStopLine(0);
      return FailOn(name, "a name after #define");
    }
    int64_t v = 0;
    bool ok = lx_.Peek().kind == Tok::End ? true : Expr(v, 0);
    if (ok && lx_.Peek().kind != Tok::End) ok = FailOn(lx_.Peek(), "the end of the line");
    lx_.SetStopLine(0);
    if (!ok) return false;
    defines_[name.text] = v;
    return true;
  }

  // expr := term (('|' | '+' | '-') term)*
  bool Expr(int64_t& v, int depth) {
    if (!Term(v, depth)) return false;
    for (;;) {
      const Token& t = lx_.Peek();
      char op = t.kind == Tok::Punct ? t.text[0] : '\0';
      if (op != '|' && op != '+' && op != '-') return true;
      int line = t.line;
      lx_.Next();
      int64_t r = 0;
      if (!Term(r, depth)) return false;
      if (op == '|')
        v = int64_t(uint32_t(v) | uint32_t(r));
      else
        v = op == '+' ? v + r : v - r;
      if (v < kMinValue || v > kMaxValue) return Fail(line, "value out of range");
    }
  }

  // term := number | name | '(' expr ')' | '-' term | '~' term
  bool Term(int64_t& v, int depth) {
    if (depth > kMaxExpressionNesting) return Fail(lx_.Peek().line, "expression nests too deeply");
    Token t = lx_.Next();
    if (t.kind == Tok::Number) {
      v = t.value;
      return true;
    }
    if (t.kind == Tok::Ident) {
      auto d = defines_.find(t.text);
      if (d != defines_.end()) {
        v = d->second;
        return true;
      }
      auto b = BuiltinConstants().find(t.text);
      if (b != BuiltinConstants().end()) {
        v = b->second;
        return true;
      }
      return Fail(t.line, "unknown name '" + t.text + "'");
    }
    if (IsPunct(t, '(')) {
      if (!Expr(v, depth + 1)) return false;
      Token c = lx_.Next();
      return IsPunct(c, ')') ? true : FailOn(c, "')'");
    }
    if (IsPunct(t, '-') || IsPunct(t, '~')) {
      if (!Term(v, depth + 1)) return false;
      v = IsPunct(t, '-') ? -v : int64_t(~uint32_t(v));
      if (v < kMinValue || v > kMaxValue) return Fail(t.line, "value out of range");
      return true;
    }
    return FailOn(t, "a number");
  }

  bool Number(int64_t& v, int64_t lo, int64_t hi, const char* what) {
    int line = lx_.Peek().line;
    if (!Expr(v, 0)) return false;
    if (v < lo || v > hi)
      return Fail(line, std::string(what) + " " + std::to_string(v) + " is out of range (" +
                            std::to_string(lo) + " to " + std::to_string(hi) + ")");
    return true;
  }

  bool String(std::string& s, const char* what) {
    Token t = lx_.Next();
    if (t.kind != Tok::String) return FailOn(t, what);
    s = std::move(t.text);
    return true;
  }

  // Memory options of the classic syntax; accepted and ignored.
  void SkipLoadOptions() {
    static const std::set<std::string> kOptions = {"DISCARDABLE", "MOVEABLE", "FIXED",     "PURE",
                                                   "IMPURE",      "PRELOAD",  "LOADONCALL"};
    while (lx_.Peek().kind == Tok::Ident && kOptions.count(Upper(lx_.Peek().text))) lx_.Next();
  }

  bool OpenBlock(int& line) {
    Token t = lx_.Next();
    line = t.line;
    if (IsPunct(t, '{') || IsWord(t, "BEGIN")) return true;
    return FailOn(t, "'{' or BEGIN");
  }
  // At a block's end: consumes the close and answers true; at the end of the file fails.
  bool AtClose(bool& closed, int openLine) {
    const Token& t = lx_.Peek();
    closed = false;
    if (t.kind == Tok::End)
      return Fail(openLine, "unclosed block: the block opened at line " + std::to_string(openLine) +
                                " is never closed");
    if (IsPunct(t, '}') || IsWord(t, "END")) {
      lx_.Next();
      closed = true;
    }
    return true;
  }

  bool Menu(const Token& name) {
    for (const TMenuTemplate& m : out_.menus)
      if (Upper(m.name) == Upper(name.text))
        return Fail(name.line, "menu '" + name.text + "' is defined twice");
    SkipLoadOptions();
    TMenuTemplate menu;
    menu.name = name.text;
    int open = 0;
    if (!OpenBlock(open) || !MenuItems(menu.items, 1, open)) return false;
    out_.menus.push_back(std::move(menu));
    return true;
  }

  bool MenuOptions(uint32_t& flags) {
    for (;;) {
      bool comma = SkipComma();
      const Token& t = lx_.Peek();
      if (t.kind != Tok::Ident) {
        if (comma) return FailOn(t, "a menu option");
        return true;
      }
      std::string w = Upper(t.text);
      uint32_t bit = 0;
      if (w == "CHECKED")
        bit = MF_CHECKED;
      else if (w == "GRAYED")
        bit = MF_GRAYED;
      else if (w == "INACTIVE")
        bit = MF_DISABLED;
      else if (w == "MENUBREAK")
        bit = MF_MENUBREAK;
      else if (w == "MENUBARBREAK")
        bit = MF_MENUBARBREAK;
      else if (w == "HELP")
        bit = MF_HELP;
      else if (comma)
        return Fail(t.line, "unknown menu option '" + t.text + "'");
      else
        return true;  // the next item's keyword
      lx_.Next();
      flags |= bit;
    }
  }

  bool MenuItems(std::vector<TMenuItemTemplate>& items, int depth, int openLine) {
    for (;;) {
      bool closed = false;
      if (!AtClose(closed, openLine)) return false;
      if (closed) return true;
      Token t = lx_.Next();
      TMenuItemTemplate item;
      if (IsWord(t, "MENUITEM")) {
        if (IsWord(lx_.Peek(), "SEPARATOR")) {
          lx_.Next();
          item.flags = MF_SEPARATOR;
        } else {
          int64_t id = 0;
          if (!String(item.text, "the item's text in quotes") || !ExpectComma() ||
              !Number(id, 0, 0xFFFF, "menu item id") || !MenuOptions(item.flags))
            return false;
          item.id = uint32_t(id);
        }
      } else if (IsWord(t, "POPUP")) {
        if (depth >= kMaxMenuNesting)
          return Fail(t.line,
                      "menus nest deeper than " + std::to_string(kMaxMenuNesting) + " levels");
        if (!String(item.text, "the pop-up's text in quotes") || !MenuOptions(item.flags))
          return false;
        item.flags |= MF_POPUP;
        int open = 0;
        if (!OpenBlock(open) || !MenuItems(item.items, depth + 1, open)) return false;
      } else if (t.kind == Tok::Ident) {
        return Fail(t.line, "unknown keyword '" + t.text +
                                "' in a menu (expected MENUITEM or "
                                "POPUP)");
      } else {
        return FailOn(t, "MENUITEM, POPUP or the end of the block");
      }
      items.push_back(std::move(item));
    }
  }

  bool StringTable() {
    SkipLoadOptions();
    int open = 0;
    if (!OpenBlock(open)) return false;
    for (;;) {
      bool closed = false;
      if (!AtClose(closed, open)) return false;
      if (closed) return true;
      int line = lx_.Peek().line;
      int64_t id = 0;
      std::string text;
      if (!Number(id, 0, 0xFFFF, "string id")) return false;
      SkipComma();
      if (!String(text, "the string's text in quotes")) return false;
      if (!strings_.insert(uint32_t(id)).second)
        return Fail(line, "string id " + std::to_string(id) + " is defined twice");
      out_.strings.emplace_back(uint32_t(id), std::move(text));
    }
  }

  bool Dialog(const Token& name) {
    for (const TDialogTemplate& d : out_.dialogs)
      if (Upper(d.name) == Upper(name.text))
        return Fail(name.line, "dialog '" + name.text + "' is defined twice");
    SkipLoadOptions();
    TDialogTemplate dlg;
    dlg.name = name.text;
    if (!Rect(dlg.units)) return false;
    bool hasStyle = false, hasFont = false;
    int64_t style = 0;
    for (;;) {
      const Token& t = lx_.Peek();
      if (IsPunct(t, '{') || IsWord(t, "BEGIN")) break;
      Token w = lx_.Next();
      std::string kw = w.kind == Tok::Ident ? Upper(w.text) : std::string();
      if (kw == "STYLE") {
        if (!Expr(style, 0)) return false;
        hasStyle = true;
      } else if (kw == "EXSTYLE") {
        int64_t ex = 0;
        if (!Expr(ex, 0)) return false;
      } else if (kw == "CAPTION") {
        if (!String(dlg.caption, "the caption in quotes")) return false;
      } else if (kw == "FONT") {
        int64_t size = 0;
        if (!Number(size, 1, 144, "font size") || !ExpectComma() ||
            !String(dlg.fontFace, "the font's face name in quotes"))
          return false;
        dlg.fontPointSize = int(size);
        hasFont = true;
      } else if (w.kind == Tok::Ident) {
        return Fail(w.line, "unknown keyword '" + w.text + "' in a dialog");
      } else {
        return FailOn(w, "a dialog statement or '{'");
      }
    }
    // Without STYLE the classic default applies.
    uint32_t s = hasStyle ? uint32_t(style) : 0x80000000u | 0x00800000u | 0x00080000u;
    if (hasFont) s |= 0x40;  // DS_SETFONT
    dlg.style = s;
    int open = 0;
    if (!OpenBlock(open)) return false;
    for (;;) {
      bool closed = false;
      if (!AtClose(closed, open)) return false;
      if (closed) break;
      TDialogItemTemplate item;
      if (!Control(item)) return false;
      dlg.items.push_back(std::move(item));
    }
    out_.dialogs.push_back(std::move(dlg));
    return true;
  }

  bool Rect(TRect& r) {
    int64_t x = 0, y = 0, cx = 0, cy = 0;
    if (!Number(x, -32768, 32767, "x") || !ExpectComma() || !Number(y, -32768, 32767, "y") ||
        !ExpectComma() || !Number(cx, 0, 32767, "width") || !ExpectComma() ||
        !Number(cy, 0, 32767, "height"))
      return false;
    r = TRect(int(x), int(y), int(x + cx), int(y + cy));
    return true;
  }

  // Optional ", style [, exstyle]" after a control's rectangle.
  bool ControlTail(uint32_t& style) {
    if (!SkipComma()) return true;
    int64_t s = 0;
    if (!Expr(s, 0)) return false;
    style |= uint32_t(s);
    if (SkipComma()) {
      int64_t ex = 0;
      if (!Expr(ex, 0)) return false;
    }
    return true;
  }

  bool Control(TDialogItemTemplate& item) {
    constexpr uint32_t kChild = 0x40000000u | 0x10000000u;  // WS_CHILD | WS_VISIBLE
    constexpr uint32_t kGroup = 0x00020000u, kTab = 0x00010000u, kBorder = 0x00800000u;
    Token t = lx_.Next();
    std::string kw = t.kind == Tok::Ident ? Upper(t.text) : std::string();
    int64_t id = 0;
    auto textIdRect = [&]() {
      return String(item.text, "the control's text in quotes") && ExpectComma() &&
             Number(id, -1, 0xFFFF, "control id") && ExpectComma() && Rect(item.units);
    };
    if (kw == "LTEXT" || kw == "CTEXT" || kw == "RTEXT") {
      if (!textIdRect()) return false;
      item.className = "STATIC";
      item.style = kChild | kGroup | (kw == "LTEXT" ? 0u : kw == "CTEXT" ? 1u : 2u);
    } else if (kw == "PUSHBUTTON" || kw == "DEFPUSHBUTTON" || kw == "GROUPBOX") {
      if (!textIdRect()) return false;
      item.className = "BUTTON";
      item.style = kChild | (kw == "GROUPBOX" ? 7u : kTab | (kw == "PUSHBUTTON" ? 0u : 1u));
    } else if (kw == "EDITTEXT") {
      if (!Number(id, -1, 0xFFFF, "control id") || !ExpectComma() || !Rect(item.units))
        return false;
      item.className = "EDIT";
      item.style = kChild | kTab | kBorder;
    } else if (kw == "CONTROL") {
      int64_t style = 0;
      if (!String(item.text, "the control's text in quotes") || !ExpectComma() ||
          !Number(id, -1, 0xFFFF, "control id") || !ExpectComma())
        return false;
      Token cls = lx_.Next();
      if (cls.kind != Tok::String && cls.kind != Tok::Ident) return FailOn(cls, "a class name");
      item.className = Upper(cls.text);
      if (!ExpectComma() || !Expr(style, 0) || !ExpectComma() || !Rect(item.units)) return false;
      item.style = kChild | uint32_t(style);
      item.id = int(id);
      if (SkipComma()) {
        int64_t ex = 0;
        if (!Expr(ex, 0)) return false;
      }
      return true;
    } else if (t.kind == Tok::Ident) {
      return Fail(t.line, "unknown keyword '" + t.text + "' in a dialog's controls");
    } else {
      return FailOn(t, "a control or the end of the block");
    }
    item.id = int(id);
    return ControlTail(item.style);
  }

  bool Bitmap(const Token& name) {
    for (const TBitmapResource& b : out_.bitmaps)
      if (Upper(b.name) == Upper(name.text))
        return Fail(name.line, "bitmap '" + name.text + "' is defined twice");
    SkipLoadOptions();
    TBitmapResource bitmap;
    bitmap.name = name.text;
    std::string file;
    int line = lx_.Peek().line;
    if (!String(file, "the bitmap's file name in quotes")) return false;
    if (!reader_) return Fail(line, "cannot read bitmap file '" + file + "' here");
    std::string why;
    if (!reader_(file, bitmap.bmp, why)) return Fail(line, "cannot read '" + file + "': " + why);
    if (bitmap.bmp.size() > kMaxBitmapFileBytes)
      return Fail(line, "'" + file + "' is too large for a resource bitmap");
    // A file header (14 bytes) and at least the smallest info header (12 bytes).
    if (bitmap.bmp.size() < 26 || bitmap.bmp[0] != 'B' || bitmap.bmp[1] != 'M')
      return Fail(line, "'" + file + "' is not a bitmap file");
    out_.bitmaps.push_back(std::move(bitmap));
    out_.bitmapFiles.push_back(file);
    return true;
  }

  Lexer lx_;
  const std::string& file_;
  const TResourceFileReader& reader_;
  TResourceScript& out_;
  TResourceScriptError& error_;
  std::map<std::string, int64_t> defines_;
  std::set<uint32_t> strings_;
};

}  // namespace

std::string TResourceScriptError::ToString() const {
  return file + ":" + std::to_string(line) + ": error: " + message;
}

bool ParseResourceScript(std::string_view text, const std::string& fileName,
                         const TResourceFileReader& reader, TResourceScript& out,
                         TResourceScriptError& error) {
  out = TResourceScript{};
  error = TResourceScriptError{};
  if (text.size() > kMaxScriptBytes) {
    error.file = fileName;
    error.line = 1;
    error.message = "the script is larger than " + std::to_string(kMaxScriptBytes) + " bytes";
    return false;
  }
  Parser parser(text, fileName, reader, out, error);
  return parser.Run();
}

void AddResourceScript(const TResourceScript& script, TResourceTable& table) {
  for (const TMenuTemplate& m : script.menus) table.AddMenu(m);
  for (const TDialogTemplate& d : script.dialogs) table.AddDialog(d);
  for (const auto& [id, text] : script.strings) table.AddString(id, text);
  for (const TBitmapResource& b : script.bitmaps) table.AddBitmap(b);
}

}  // namespace quill
