// quill-demo --tableau: the encyclopedia's tableau filling the frame, its Media, Path, Article
// and Maxi panes holding pages of text under their title bars, with the button bars shown, over
// the application background of the art folder. A double click on a title bar maximises its
// pane, the small-screen button brings the tableau back, F6 moves the focus from pane to pane.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

namespace quill {
class TWindow;
class ZIcon;
}  // namespace quill

namespace quill::demo {

class TableauFrame;

class TableauMode {
 public:
  // Writes the mode's settings file into a scratch folder of its own and makes the frame (not
  // yet created) with the tableau in it.
  TableauMode(int width, int height);
  // Takes the frame down, then the settings folder.
  ~TableauMode();

  TWindow& Frame();
  // Once the frame exists: pages in the panes, titles and icons on the title bars, the focus
  // in the Media pane.
  void Fill();

 private:
  std::filesystem::path folder_;
  std::vector<std::unique_ptr<ZIcon>> icons_;  // outlive the title bars that show them
  std::unique_ptr<TableauFrame> frame_;
};

}  // namespace quill::demo
