// The smallest host of Quill UI: a frame, the tableau filling it and one content window in the
// Article pane. With a display it runs until the window is closed; `--once` (or no display)
// shows the first frame, writes it to minimal-host.png and exits. `--art DIR` names the
// library's art when it is not where the library was installed.
#include <quillui/app/app_registry.h>
#include <quillui/app/art_dir.h>
#include <quillui/framework/gdi/dc.h>
#include <quillui/framework/window/application.h>
#include <quillui/framework/window/window_system.h>
#include <quillui/platform/screen/screen_backends.h>
#include <quillui/profile/profile.h>
#include <quillui/tableau/holder.h>
#include <quillui/tableau/pane_base.h>
#include <quillui/tableau/tableau.h>

#include <cstring>
#include <fstream>
#include <string>

using namespace quill;

// The frame: a top-level window the library knows as the application frame.
class Frame : public TWindow, public ZVexFrame {
 public:
  Frame() : TWindow(nullptr, "Minimal host") {
    Attr.W = 640, Attr.H = 480;
    auto* tableau = new ZTableau(this);  // the frame owns it, as every child
    tableau->Attr.W = Attr.W, tableau->Attr.H = Attr.H;
    SetTableau(tableau);
  }
  TWindow& GetFrameTWindow() override { return *this; }
};

// A content window: what a pane shows through one of its holders.
class Hello : public TWindow {
 public:
  explicit Hello(TWindow* holder) : TWindow(holder, "Hello") {}
  void Paint(TDC& dc, bool, TRect&) override {
    dc.FillRect(GetClientRect(), TColor(250, 250, 244));
    dc.TextOut(12, 12, "Hello from the Article pane");
  }
};

int main(int argc, char** argv) {
  bool once = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--once") == 0) once = true;
    if (std::strcmp(argv[i], "--art") == 0 && i + 1 < argc) SetArtDir(argv[++i]);
  }
  // The settings: where the art is and the data set of the pane buttons.
  std::ofstream("minimal-host.ini")
      << "[Directories]\nArt=" << GetArtDir() << "\n[BMPSets]\nbuttons=art:\\buttons.set\n";
  SetProfilePath("minimal-host.ini");

  platform::BackendRequest request;
  request.width = 640, request.height = 480, request.title = "Minimal host";
  platform::BackendChoice screen = platform::OpenScreenBackend(request);
  once = once || screen.name == "headless";
  TWindowSystemOptions system;
  system.width = 640, system.height = 480, system.backend = std::move(screen.backend);
  TWindowSystem::Install(std::move(system));
  int status = 0;
  {
    TApplication app("minimal-host");
    Frame frame;
    SetAppFrame(&frame);
    frame.Create();
    app.SetMainWindow(&frame);
    ZTableauPaneBase* article = frame.GetTableau()->GetTableauPane(eARTICLE_PANE);
    (new Hello(article->GetHolder(1)))->Create();  // the holder owns its content
    article->ActivateHolder(1);
    if (once) {
      while (app.PumpWaitingMessages()) {
      }
      status = TWindowSystem::Get().Screen().SaveScreenshot("minimal-host.png", nullptr) ? 0 : 1;
    } else {
      status = app.Run();
    }
    frame.Destroy();
    SetAppFrame(nullptr);
  }
  TWindowSystem::Uninstall();
  return status;
}
