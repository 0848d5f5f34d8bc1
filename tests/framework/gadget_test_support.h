// Shared pieces of the gadget tests: a logging box gadget, a parent window that records
// commands and answers command enabling, solid glyph strips and a fixture with a gadget window.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quillui/framework/gadgets/button_gadget.h"
#include "quillui/framework/gadgets/gadget_window.h"
#include "quillui/framework/gdi/dc.h"
#include "quillui/framework/gdi/font_engine.h"
#include "quillui/framework/image/cel_array.h"
#include "quillui/framework/image/dib.h"
#include "support/headless_fixture.h"

namespace quill::test {

using Log = std::vector<std::string>;

inline std::string At(const TPoint& p) {
  return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

// A gadget of a fixed content size that logs its hooks and floods far past its bounds when
// painted, so clipping shows.
class Box : public TGadget {
 public:
  Box(int id, TSize content, Log* log = nullptr, TColor color = TColor::LtBlue)
      : TGadget(id), content_(content), log_(log), color_(color) {
    SetShrinkWrap(true, true);
  }

  void GetDesiredSize(TSize& size) override {
    TGadget::GetDesiredSize(size);
    size = size + content_;
  }
  void Paint(TDC& dc) override { dc.FillRect({-100, -100, 1000, 1000}, color_); }
  void MouseEnter(UINT, const TPoint& p) override { Note("enter", p); }
  void MouseLeave(UINT, const TPoint& p) override { Note("leave", p); }
  void Inserted() override { Note("inserted", {}); }
  void Removed() override { Note("removed", {}); }

 private:
  void Note(const char* what, const TPoint& p) {
    if (log_) log_->push_back(std::string(what) + " " + std::to_string(GetId()) + " " + At(p));
  }
  TSize content_;
  Log* log_;
  TColor color_;
};

// A top-level window at (100, 100) that records the commands reaching it and answers command
// enabling for a few ids.
class Sink : public TWindow {
 public:
  Sink() : TWindow(nullptr, "sink") {
    Attr.X = 100;
    Attr.Y = 100;
    Attr.W = 400;
    Attr.H = 200;
  }
  LRESULT EvCommand(UINT id, HWND, UINT) override {
    commands.push_back(id);
    if (onCommand) onCommand(id);
    return 0;
  }
  void Ce101(TCommandEnabler& ce) { ce.Enable(enable101); }
  void Ce102(TCommandEnabler& ce) { ce.SetCheck(TCommandEnabler::Checked); }
  void Cm103() {}
  const TResponseTable& GetResponseTable() const override {
    static const TResponseEntry entries[] = {
        OnCommandEnable<&Sink::Ce101>(101),
        OnCommandEnable<&Sink::Ce102>(102),
        OnCommand<&Sink::Cm103>(103),
    };
    static const TResponseTable table{&TWindow::GetResponseTable(), entries};
    return table;
  }

  std::vector<UINT> commands;
  std::function<void(UINT)> onCommand;
  bool enable101 = false;
};

// A solid 8-bit glyph strip: cel i has colour table entry i + 1.
inline std::unique_ptr<TCelArray> Glyph(TSize cel, std::vector<TColor> colors) {
  int n = int(colors.size());
  auto dib = std::make_unique<TDib>(cel.cx * n, cel.cy, 8, n + 1);
  for (int i = 0; i < n; ++i) {
    dib->SetColor(i + 1, colors[size_t(i)]);
    for (int y = 0; y < cel.cy; ++y)
      for (int x = 0; x < cel.cx; ++x) dib->SetPixelIndex(i * cel.cx + x, y, i + 1);
  }
  return std::make_unique<TCelArray>(std::move(dib), n);
}

inline TButtonGadget* Button(int id, TButtonGadget::TType type = TButtonGadget::Command) {
  return new TButtonGadget(Glyph({6, 6}, {TColor::LtRed}), id, type, true);
}

class GadgetFixture : public HeadlessTest {
 protected:
  // A gadget window child of the sink at (10, 20), created with the sink.
  TGadgetWindow* MakeWindow(TGadgetWindow::TTileDirection dir = TGadgetWindow::Horizontal,
                            uint32_t style = 0, TSize size = {200, 40}) {
    gw = new TGadgetWindow(&sink, dir);
    gw->Attr.X = 10;
    gw->Attr.Y = 20;
    gw->Attr.W = size.cx;
    gw->Attr.H = size.cy;
    gw->Attr.Style |= style;
    return gw;
  }
  // A point of a gadget (gadget coordinates) on the screen.
  TPoint OnScreen(const TGadget& g, int dx, int dy) {
    TPoint p = g.GetBounds().TopLeft() + TPoint(dx, dy);
    gw->ClientToScreen(p);
    return p;
  }
  void MoveTo(const TGadget& g, int dx, int dy) {
    TPoint p = OnScreen(g, dx, dy);
    MouseMove(p.x, p.y);
  }
  uint8_t PixelOf(const TGadget& g, int dx, int dy) {
    TPoint p = OnScreen(g, dx, dy);
    return ScreenPixel(p.x, p.y);
  }
  bool HaveFont() { return DescribeResolvedFace(TGadgetWindowFont()).found; }

  Sink sink;
  TGadgetWindow* gw = nullptr;
};

}  // namespace quill::test
