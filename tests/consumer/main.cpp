// Uses an installed Quill UI: a bookmark from the navigation layer and a window of the
// framework on the headless screen. Prints "consumer: ok" and answers 0 when both work.
#include <quillui/framework/window/window.h>
#include <quillui/framework/window/window_system.h>
#include <quillui/navigation/bookmark.h>

#include <cstdio>

int main() {
  quill::ZBookmark bookmark("Lighthouses", "ARTI:lighthouses");
  if (bookmark.GetName() != "Lighthouses" || bookmark.GetText() != "ARTI:lighthouses") {
    std::fprintf(stderr, "consumer: the bookmark lost its name or text\n");
    return 1;
  }

  quill::TWindowSystem::Install({});  // headless, 800 x 600
  quill::TWindow window(nullptr, "Consumer");
  window.Attr.W = 320;
  window.Attr.H = 200;
  if (!window.Create() || !quill::IsWindow(window.GetHandle())) {
    std::fprintf(stderr, "consumer: the window was not made\n");
    return 1;
  }
  window.Destroy();
  quill::TWindowSystem::Uninstall();
  std::puts("consumer: ok");
  return 0;
}
