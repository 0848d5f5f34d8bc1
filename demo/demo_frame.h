// The demo's frame: three coloured panes laid out by constraints around two hidden spacers,
// as the encyclopedia's tableau arranges its Media, Path and Article panes. A click makes a
// pane active, a double-click maximises it or restores the arrangement, F6 moves the active
// pane on, Escape closes the frame.
#pragma once

#include <array>
#include <memory>

#include "quillui/framework/image/dib.h"
#include "quillui/framework/layout/layout_window.h"

namespace quill::demo {

class DemoFrame;

class DemoPane : public TWindow {
 public:
  DemoPane(DemoFrame* frame, const char* name, TColor color);

  TColor color;
  bool active = false;
  // A picture the pane shows under its caption; null for none.
  const TDib* picture = nullptr;

 protected:
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void EvLButtonDown(UINT modKeys, const TPoint& point) override;
  void EvLButtonDblClk(UINT modKeys, const TPoint& point) override;

 private:
  DemoFrame* frame_;
};

class DemoFrame : public TLayoutWindow {
 public:
  DemoFrame(int width, int height);

  void Activate(DemoPane* pane);
  void ToggleMaximized(DemoPane* pane);
  DemoPane* ActivePane() const { return panes_[active_]; }
  DemoPane* MaximizedPane() const { return maximized_; }

 protected:
  void SetupWindow() override;
  void EvKeyDown(UINT key, UINT repeatCount, UINT flags) override;

 private:
  void Arrange();

  TWindow* vspacer_;
  TWindow* hspacer_;
  std::array<DemoPane*, 3> panes_;  // Media, Path, Article
  std::unique_ptr<TDib> picture_;
  size_t active_ = 2;
  DemoPane* maximized_ = nullptr;
};

}  // namespace quill::demo
