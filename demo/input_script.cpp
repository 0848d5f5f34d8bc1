#include "demo/input_script.h"

#include <sstream>

namespace quill::demo {

namespace {

uint32_t KeyCode(const std::string& name) {
  if (name.size() == 1 &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
    return uint32_t(name[0]);
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 12) return 0x70u + uint32_t(n - 1);
  }
  if (name == "Escape") return 0x1B;
  if (name == "Tab") return 0x09;
  if (name == "Return") return 0x0D;
  if (name == "Space") return 0x20;
  return 0;
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<platform::InputEvent>& out,
                      std::string* error) {
  using platform::InputEvent;
  using platform::InputKind;
  using platform::MouseButton;
  std::stringstream commands(text);
  std::string command;
  while (std::getline(commands, command, ';')) {
    std::istringstream words(command);
    std::string verb;
    if (!(words >> verb)) continue;
    InputEvent e;
    if (verb == "key") {
      std::string name;
      words >> name;
      e.virtualKey = KeyCode(name);
      if (!e.virtualKey) {
        if (error) *error = "unknown key '" + name + "'";
        return false;
      }
      e.kind = InputKind::KeyDown;
      out.push_back(e);
      e.kind = InputKind::KeyUp;
      out.push_back(e);
      continue;
    }
    int x = 0, y = 0;
    if (!(words >> x >> y) || x < 0 || y < 0 || x > 4096 || y > 4096) {
      if (error) *error = "'" + verb + "' needs two coordinates";
      return false;
    }
    e.x = x;
    e.y = y;
    e.kind = InputKind::MouseMove;
    out.push_back(e);
    if (verb == "move") continue;
    int clicks = verb == "dblclick" ? 2 : 1;
    e.button = verb == "rclick" ? MouseButton::Right : MouseButton::Left;
    if (verb != "click" && verb != "dblclick" && verb != "rclick") {
      if (error) *error = "unknown command '" + verb + "'";
      return false;
    }
    for (int i = 0; i < clicks; ++i) {
      e.kind = InputKind::ButtonDown;
      out.push_back(e);
      e.kind = InputKind::ButtonUp;
      out.push_back(e);
    }
  }
  return true;
}

}  // namespace quill::demo
