#include "support/headless_fixture.h"

#include <cstdio>

namespace quill::test {

void HeadlessTest::SetUp() {
  auto c = std::make_unique<platform::ManualClock>();
  auto b = std::make_unique<platform::HeadlessBackend>();
  clock = c.get();
  backend = b.get();
  TWindowSystemOptions options;
  options.backend = std::move(b);
  options.clock = std::move(c);
  TWindowSystem::Install(std::move(options));
}

void HeadlessTest::TearDown() { TWindowSystem::Uninstall(); }

int HeadlessTest::Pump(int maxRounds) {
  int rounds = 0;
  while (rounds < maxRounds && PumpWaitingMessages()) ++rounds;
  return rounds;
}

void HeadlessTest::InjectAndPump(const platform::InputEvent& event) {
  backend->Inject(event);
  Pump();
}

void HeadlessTest::MouseMove(int x, int y) {
  InjectAndPump({.kind = platform::InputKind::MouseMove, .x = x, .y = y});
}

void HeadlessTest::MouseDown(int x, int y, platform::MouseButton b) {
  InjectAndPump({.kind = platform::InputKind::ButtonDown, .x = x, .y = y, .button = b});
}

void HeadlessTest::MouseUp(int x, int y, platform::MouseButton b) {
  InjectAndPump({.kind = platform::InputKind::ButtonUp, .x = x, .y = y, .button = b});
}

void HeadlessTest::Click(int x, int y) {
  MouseDown(x, y);
  MouseUp(x, y);
}

void HeadlessTest::Key(UINT vk, bool down) {
  InjectAndPump(
      {.kind = down ? platform::InputKind::KeyDown : platform::InputKind::KeyUp, .virtualKey = vk});
}

TRecorder::TRecorder(TWindow* parent, std::string n, std::vector<std::string>* l, TRect bounds,
                     uint32_t style)
    : TWindow(parent, n.c_str()), name(std::move(n)), log(l) {
  Attr.X = bounds.left;
  Attr.Y = bounds.top;
  Attr.W = bounds.Width();
  Attr.H = bounds.Height();
  Attr.Style |= style;
}

LRESULT TRecorder::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (log && (recordMouseMoves || msg != WM_MOUSEMOVE) && msg != WM_NCHITTEST &&
      msg != WM_SETCURSOR && msg != WM_NCCREATE && msg != WM_NCDESTROY && msg != WM_GETDLGCODE &&
      msg != WM_NCCALCSIZE) {
    std::string entry = name + ":" + MessageName(msg);
    if (msg == WM_TIMER) entry += "(" + std::to_string(wp) + ")";
    if (msg == WM_PARENTNOTIFY) entry += std::string("(") + MessageName(LOWORD(wp)) + ")";
    log->push_back(entry);
  }
  return TWindow::WindowProc(msg, wp, lp);
}

std::string MessageName(UINT msg) {
  switch (msg) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_MOVE: return "WM_MOVE";
    case WM_SIZE: return "WM_SIZE";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_PAINT: return "WM_PAINT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
    case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_TIMER: return "WM_TIMER";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_PARENTNOTIFY: return "WM_PARENTNOTIFY";
    case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
    default: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%04X", msg);
      return buf;
    }
  }
}

}  // namespace quill::test
