#include "quillui/platform/screen/input_script.h"

#include <charconv>

namespace quill::platform {

namespace {

struct NamedKey {
  const char* name;
  uint32_t code;
};
constexpr NamedKey kNamedKeys[] = {
    {"Escape", 0x1B}, {"Tab", 0x09},      {"Return", 0x0D}, {"Space", 0x20}, {"Backspace", 0x08},
    {"Delete", 0x2E}, {"Left", 0x25},     {"Right", 0x27},  {"Up", 0x26},    {"Down", 0x28},
    {"PageUp", 0x21}, {"PageDown", 0x22}, {"Home", 0x24},   {"End", 0x23},
};

// Splits off the next blank-separated word of `rest`.
std::string_view NextWord(std::string_view& rest) {
  size_t start = rest.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  size_t end = rest.find_first_of(" \t\r", start);
  if (end == std::string_view::npos) end = rest.size();
  std::string_view word = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return word;
}

bool ReadInt(std::string_view& rest, int lo, int hi, int& value) {
  std::string_view word = NextWord(rest);
  if (word.empty()) return false;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && ptr == end && value >= lo && value <= hi;
}

bool IsPlainPngName(std::string_view name) {
  if (name.size() < 5 || name.size() > 128 || name.substr(name.size() - 4) != ".png") return false;
  if (name[0] == '.') return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
          c == '_' || c == '.'))
      return false;
  return true;
}

}  // namespace

uint32_t ScriptKeyCode(std::string_view name) {
  if (name.size() == 1) {
    char c = name[0];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return uint32_t(c);
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = 0;
    auto [ptr, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && ptr == name.data() + name.size() && n >= 1 && n <= 12)
      return 0x70u + uint32_t(n - 1);
  }
  for (const NamedKey& key : kNamedKeys)
    if (name == key.name) return key.code;
  return 0;
}

bool ParseInputScript(std::string_view text, std::vector<ScriptStep>& out, std::string* error) {
  int number = 0;
  auto fail = [&](const std::string& what) {
    if (error) *error = "command " + std::to_string(number) + ": " + what;
    return false;
  };
  auto push = [&](const InputEvent& e) {
    ScriptStep step;
    step.event = e;
    out.push_back(step);
  };
  size_t pos = 0;
  std::string_view line;  // what is left of the current line, its comment cut off
  while (pos < text.size() || !line.empty()) {
    if (line.empty()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      line = text.substr(pos, end - pos);
      pos = end + 1;
      if (size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
      if (line.empty()) continue;
    }
    const size_t semicolon = line.find(';');
    std::string_view command = line.substr(0, semicolon);
    line = semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon + 1);
    std::string_view rest = command;
    std::string_view verb = NextWord(rest);
    if (verb.empty()) continue;
    ++number;
    if (out.size() >= kMaxScriptSteps) return fail("the script is too long");
    InputEvent e;
    if (verb == "key") {
      std::string_view name = NextWord(rest);
      for (;;) {
        if (name.starts_with("Ctrl+")) {
          e.modifiers |= kModCtrl;
          name.remove_prefix(5);
        } else if (name.starts_with("Shift+")) {
          e.modifiers |= kModShift;
          name.remove_prefix(6);
        } else if (name.starts_with("Alt+")) {
          e.modifiers |= kModAlt;
          name.remove_prefix(4);
        } else {
          break;
        }
      }
      e.virtualKey = ScriptKeyCode(name);
      if (!e.virtualKey) return fail("unknown key '" + std::string(name) + "'");
      // Modifiers are pressed around the key as a keyboard does: each its own key, held.
      constexpr struct {
        uint32_t bit, code;
      } kModifierKeys[] = {{kModCtrl, 0x11}, {kModShift, 0x10}, {kModAlt, 0x12}};
      InputEvent modifier;
      for (const auto& m : kModifierKeys) {
        if (!(e.modifiers & m.bit)) continue;
        modifier.virtualKey = m.code;
        modifier.kind = InputKind::KeyDown;
        push(modifier);
        modifier.modifiers |= m.bit;
      }
      e.kind = InputKind::KeyDown;
      push(e);
      // As on the keyboard, a key that types a control character types it with its press.
      if (const uint32_t typed = ControlCharacterOf(e.virtualKey)) {
        InputEvent ch;
        ch.kind = InputKind::Char;
        ch.character = typed;
        push(ch);
      }
      e.kind = InputKind::KeyUp;
      push(e);
      for (auto m = std::rbegin(kModifierKeys); m != std::rend(kModifierKeys); ++m) {
        if (!(e.modifiers & m->bit)) continue;
        modifier.modifiers &= ~m->bit;
        modifier.virtualKey = m->code;
        modifier.kind = InputKind::KeyUp;
        push(modifier);
      }
      continue;
    }
    if (verb == "type") {
      size_t start = rest.find_first_not_of(" \t");
      std::string_view typed =
          start == std::string_view::npos ? std::string_view() : rest.substr(start);
      while (!typed.empty() && (typed.back() == '\r' || typed.back() == ' '))
        typed.remove_suffix(1);
      for (char c : typed) {
        if (c < 0x20 || c > 0x7E) return fail("'type' takes printable characters only");
        if (out.size() >= kMaxScriptSteps) return fail("the script is too long");
        e.kind = InputKind::Char;
        e.character = uint8_t(c);
        push(e);
      }
      continue;
    }
    if (verb == "wait") {
      int ms = 0;
      if (!ReadInt(rest, 0, 600000, ms)) return fail("'wait' needs milliseconds (0..600000)");
      ScriptStep step;
      step.kind = ScriptStep::kWait;
      step.waitMs = uint32_t(ms);
      out.push_back(step);
      continue;
    }
    if (verb == "shot") {
      std::string_view name = NextWord(rest);
      if (!IsPlainPngName(name)) return fail("'shot' needs a plain file name ending in .png");
      ScriptStep step;
      step.kind = ScriptStep::kShot;
      step.shot = std::string(name);
      out.push_back(step);
      continue;
    }
    int x = 0, y = 0;
    if (!ReadInt(rest, 0, 4096, x) || !ReadInt(rest, 0, 4096, y))
      return fail("'" + std::string(verb) + "' needs two coordinates (0..4096)");
    e.x = x;
    e.y = y;
    e.kind = InputKind::MouseMove;
    if (verb == "move") {
      push(e);
    } else if (verb == "wheel") {
      int notches = 0;
      if (!ReadInt(rest, -100, 100, notches)) return fail("'wheel' needs a number of notches");
      push(e);
      e.kind = InputKind::Wheel;
      e.wheelDelta = notches * 120;
      push(e);
    } else if (verb == "drag") {
      int x2 = 0, y2 = 0;
      if (!ReadInt(rest, 0, 4096, x2) || !ReadInt(rest, 0, 4096, y2))
        return fail("'drag' needs four coordinates (0..4096)");
      push(e);
      e.button = MouseButton::Left;
      e.kind = InputKind::ButtonDown;
      push(e);
      e.kind = InputKind::MouseMove;
      e.x = (x + x2) / 2, e.y = (y + y2) / 2;
      push(e);
      e.x = x2, e.y = y2;
      push(e);
      e.kind = InputKind::ButtonUp;
      push(e);
    } else if (verb == "click" || verb == "dblclick" || verb == "rclick") {
      push(e);
      e.button = verb == "rclick" ? MouseButton::Right : MouseButton::Left;
      for (int i = 0, clicks = verb == "dblclick" ? 2 : 1; i < clicks; ++i) {
        e.kind = InputKind::ButtonDown;
        push(e);
        e.kind = InputKind::ButtonUp;
        push(e);
      }
    } else {
      return fail("unknown command '" + std::string(verb) + "'");
    }
  }
  return true;
}

}  // namespace quill::platform
