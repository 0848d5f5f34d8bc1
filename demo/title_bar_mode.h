// quill-demo --titlebar: two panes wearing title bars over the frame. Resting the mouse on a
// bar's icon flies the pane's menu open below the bar; the full-screen button makes the pane
// fill the frame and turns into the small-screen button, which brings it back.
#pragma once

#include <memory>
#include <vector>

namespace quill {
class TWindow;
class ZFlyMenu;
class ZIcon;
}  // namespace quill

namespace quill::demo {

class TitleBarPane;

class TitleBarMode {
 public:
  explicit TitleBarMode(TWindow& frame);
  ~TitleBarMode();

  // Says on standard output where the first pane's menu shows, when it does.
  void ReportMenu() const;

 private:
  std::unique_ptr<ZIcon> icon_;
  std::vector<TitleBarPane*> panes_;  // owned by the frame
  std::vector<std::unique_ptr<ZFlyMenu>> menus_;
};

}  // namespace quill::demo
