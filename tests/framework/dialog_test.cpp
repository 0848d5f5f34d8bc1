// Dialogs, message boxes, file choosers and the answer hook, driven by injected input on the
// headless screen with the manual clock.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "quillui/framework/base/diagnostics.h"
#include "quillui/framework/dialogs/answer_hook.h"
#include "quillui/framework/dialogs/controls.h"
#include "quillui/framework/dialogs/dialog.h"
#include "quillui/framework/dialogs/file_dialog.h"
#include "quillui/framework/dialogs/message_box.h"
#include "quillui/testing/framework.h"
#include "support/headless_fixture.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

// Runs a function once the modal loop has started, from a timer of a hidden window: the
// function looks at the screen and injects input as a person would.
class TModalDriver : public TWindow {
 public:
  explicit TModalDriver(std::function<void()> fn) : TWindow(nullptr), fn_(std::move(fn)) {
    Attr.Style = WS_POPUP;
    Create();
    SetTimer(1, 10);
  }

 protected:
  void EvTimer(UINT) override {
    KillTimer(1);
    fn_();
  }

 private:
  std::function<void()> fn_;
};

class DialogTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetAnswerHook();
    SetDiagnosticsHook([this](const TDiagnostic& d) { diagnostics.push_back(d); });
  }
  void TearDown() override {
    SetDiagnosticsHook(nullptr);
    ResetAnswerHook();
    HeadlessTest::TearDown();
  }

 public:
  // Queues input without running the loop: the modal loop takes it.
  void QueueClick(const TPoint& p) {
    for (auto kind : {platform::InputKind::ButtonDown, platform::InputKind::ButtonUp}) {
      platform::InputEvent e;
      e.kind = kind;
      e.x = p.x;
      e.y = p.y;
      e.button = platform::MouseButton::Left;
      backend->Inject(e);
    }
  }
  void QueueKey(UINT vk, bool down) {
    platform::InputEvent e;
    e.kind = down ? platform::InputKind::KeyDown : platform::InputKind::KeyUp;
    e.virtualKey = vk;
    backend->Inject(e);
  }
  void QueueKey(UINT vk) {
    QueueKey(vk, true);
    QueueKey(vk, false);
  }
  void QueueText(const std::string& text) {
    for (char c : text) {
      platform::InputEvent e;
      e.kind = platform::InputKind::Char;
      e.character = uint8_t(c);
      backend->Inject(e);
    }
  }
  static TPoint CentreOf(TWindow* w) {
    TRect r = w->GetWindowRect();
    return TPoint(r.left + r.Width() / 2, r.top + r.Height() / 2);
  }
  static TDialog* ActiveDialog() { return dynamic_cast<TDialog*>(GetWindowPtr(GetActiveWindow())); }

 protected:
  std::vector<TDiagnostic> diagnostics;
};

TDialogTemplate SampleTemplate() {
  TDialogTemplate t;
  t.name = "SAMPLE";
  t.caption = "Sample";
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  t.units = TRect(20, 10, 20 + 160, 10 + 80);
  t.items.push_back({"STATIC", "Name:", 100, TRect(8, 8, 48, 16), SS_LEFT});
  t.items.push_back({"EDIT", "", 101, TRect(50, 6, 150, 18), WS_TABSTOP});
  t.items.push_back({"BUTTON", "OK", IDOK, TRect(8, 58, 58, 72), BS_DEFPUSHBUTTON | WS_TABSTOP});
  t.items.push_back({"BUTTON", "Cancel", IDCANCEL, TRect(62, 58, 112, 72), WS_TABSTOP});
  t.items.push_back({"BUTTON", "&Other", 42, TRect(116, 58, 156, 72), WS_TABSTOP});
  return t;
}

// A dialog that records its data exchange, as a dialog with fields would use it.
class TRecordingDialog : public TDialog {
 public:
  using TDialog::TDialog;
  void TransferData(TTransferDirection direction) override {
    if (direction == tdSetData) {
      ++sets;
    } else {
      name = GetDlgItemText(101);
    }
  }
  int sets = 0;
  std::string name = "(not read)";
};

// --- Dialog units and construction --------------------------------------------------------------

TEST(DialogUnitsTest, ConvertEachEdgeTruncating) {
  struct Case {
    TRect units;
    int aw, h;
    TRect pixels;
  } cases[] = {
      {TRect(0, 0, 4, 8), 6, 13, TRect(0, 0, 6, 13)},
      {TRect(10, 9, 70, 17), 7, 16, TRect(17, 18, 122, 34)},   // 70 * 7 / 4 = 122.5
      {TRect(11, 30, 92, 57), 5, 13, TRect(13, 48, 115, 92)},  // 11 * 5 / 4 = 13.75
      {TRect(-4, -8, 0, 0), 6, 13, TRect(-6, -13, 0, 0)},
      {TRect(0, 0, 2000000000, 2000000000), 9, 20, TRect(0, 0, 32767, 32767)},  // clamped
  };
  for (const Case& c : cases)
    EXPECT_EQ(DialogUnitsToPixels(c.units, c.aw, c.h), c.pixels) << c.units.right;
}

TEST_F(DialogTest, ControlsArePlacedInDialogUnitsOfTheDialogFont) {
  TDialog dlg(nullptr, SampleTemplate());
  ASSERT_TRUE(dlg.Create());
  TTextMetric tm = dlg.GetDialogFont().GetTextMetrics();
  ASSERT_GT(tm.tmAveCharWidth, 0);
  EXPECT_EQ(dlg.GetDialogFont().GetLogFont().lfHeight, -11);  // 8 points at 96 dpi
  TPoint origin = dlg.ContentOrigin();
  EXPECT_EQ(origin.y, dlg.CaptionHeight() + origin.x);
  TWindow* edit = dlg.GetDlgItem(101);
  ASSERT_NE(edit, nullptr);
  TRect expect(50 * tm.tmAveCharWidth / 4 + origin.x, 6 * tm.tmHeight / 8 + origin.y,
               150 * tm.tmAveCharWidth / 4 + origin.x, 18 * tm.tmHeight / 8 + origin.y);
  EXPECT_EQ(edit->GetBounds(), expect);
  // The window holds the template's client size plus caption, frame and border; with no
  // owner the template's position is on the screen.
  TRect w = dlg.GetWindowRect();
  EXPECT_EQ(w.left, 20 * tm.tmAveCharWidth / 4);
  EXPECT_EQ(w.top, 10 * tm.tmHeight / 8);
  EXPECT_EQ(dlg.GetClientRect().Width(), 160 * tm.tmAveCharWidth / 4 + 2 * origin.x);
  EXPECT_EQ(dlg.GetClientRect().Height(), 80 * tm.tmHeight / 8 + origin.y + origin.x);
  EXPECT_EQ(dlg.GetCaption(), "Sample");
}

TEST_F(DialogTest, ResourceByNameFromTheModuleAndMissingResource) {
  TApplication app("test");
  app.Resources().AddDialog(SampleTemplate());
  TWindow owner(nullptr, "owner", &app);
  TDialog found(&owner, "sample");  // resource names compare without case
  ASSERT_NE(found.GetTemplate(), nullptr);
  TDialog missing(&owner, "NO_SUCH_DIALOG");
  EXPECT_EQ(missing.GetTemplate(), nullptr);
  EXPECT_EQ(missing.Execute(), -1);
  ASSERT_FALSE(diagnostics.empty());
  EXPECT_NE(diagnostics.back().message.find("NO_SUCH_DIALOG"), std::string::npos);
}

// --- Running modally ----------------------------------------------------------------------------

TEST_F(DialogTest, ExecuteAnswersTheClickedButtonAndRestoresTheOwner) {
  TWindow owner(nullptr, "owner");
  owner.Attr.X = 0;
  owner.Attr.Y = 0;
  owner.Attr.W = 400;
  owner.Attr.H = 300;
  ASSERT_TRUE(owner.Create());
  TRecordingDialog dlg(&owner, SampleTemplate());
  ASSERT_TRUE(dlg.Create());
  bool ownerEnabledDuring = true;
  TModalDriver probe([&] {
    ownerEnabledDuring = owner.IsWindowEnabled();
    QueueClick(CentreOf(dlg.GetDlgItem(42)));
  });
  EXPECT_EQ(dlg.Execute(), 42);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_FALSE(dlg.IsWindow());
  EXPECT_EQ(dlg.sets, 1);
  EXPECT_EQ(dlg.name, "(not read)");  // a button that is not OK does not take the data
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(DialogTest, KeysEnterEscapeTabAndMnemonics) {
  struct Case {
    const char* name;
    std::function<void(DialogTest&)> keys;
    int result;
    std::string nameRead;
  } cases[] = {
      {"enter presses the default button and OK takes the data",
       [](DialogTest& t) {
         t.QueueText("Ann");
         t.QueueKey(VK_RETURN);
       },
       IDOK, "Ann"},
      {"escape cancels", [](DialogTest& t) { t.QueueKey(VK_ESCAPE); }, IDCANCEL, "(not read)"},
      {"tab to OK, tab to Cancel, enter presses the focused button",
       [](DialogTest& t) {
         t.QueueKey(VK_TAB);
         t.QueueKey(VK_TAB);
         t.QueueKey(VK_RETURN);
       },
       IDCANCEL, "(not read)"},
      {"shift-tab from the edit wraps to the last button",
       [](DialogTest& t) {
         t.QueueKey(VK_SHIFT, true);
         t.QueueKey(VK_TAB);
         t.QueueKey(VK_SHIFT, false);
         t.QueueKey(VK_SPACE);
       },
       42, "(not read)"},
      {"a mnemonic presses its button",
       [](DialogTest& t) {
         t.QueueKey(VK_TAB);  // off the edit, which takes letters as text
         t.QueueKey('O');
       },
       42, "(not read)"},
  };
  for (const Case& c : cases) {
    TRecordingDialog dlg(nullptr, SampleTemplate());
    c.keys(*this);
    EXPECT_EQ(dlg.Execute(), c.result) << c.name;
    EXPECT_EQ(dlg.name, c.nameRead) << c.name;
  }
  EXPECT_TRUE(diagnostics.empty());
}

// A dialog whose button asks a question of its own.
class TAskingDialog : public TDialog {
 public:
  using TDialog::TDialog;
  const TResponseTable& GetResponseTable() const override {
    static const TResponseEntry entries[] = {OnCommand<&TAskingDialog::CmOther>(42)};
    static const TResponseTable table{&TDialog::GetResponseTable(), entries};
    return table;
  }
  void CmOther() { answer = MessageBox("Sure?", "Other", MB_OKCANCEL); }
  int answer = 0;
};

TEST_F(DialogTest, KeysReachTheDialogAgainAfterABoxItOpened) {
  TAskingDialog dlg(nullptr, SampleTemplate());
  QueueKey(VK_TAB);
  QueueKey('O');        // the handler opens a real box ...
  QueueKey(VK_RETURN);  // ... whose OK is the default
  QueueKey(VK_ESCAPE);  // and the dialog has the keys again
  EXPECT_EQ(dlg.Execute(), IDCANCEL);
  EXPECT_EQ(dlg.answer, IDOK);
  EXPECT_TRUE(diagnostics.empty());
}

// The timed confirmation's pattern: a timer set up with the window closes it.
class TTimedDialog : public TDialog {
 public:
  using TDialog::TDialog;
  void SetupWindow() override {
    TDialog::SetupWindow();
    SetTimer(3, 1000);
  }
  void EvTimer(UINT id) override { CloseWindow(IDCANCEL); }
};

TEST_F(DialogTest, TimerClosesTheDialogOnTheVirtualClock) {
  TTimedDialog dlg(nullptr, SampleTemplate());
  uint64_t start = clock->NowMs();
  EXPECT_EQ(dlg.Execute(), IDCANCEL);
  EXPECT_EQ(clock->NowMs() - start, 1000u);
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(DialogTest, NothingCanAnswerSoTheDialogIsCancelledWithoutHanging) {
  // A window ticking away elsewhere must not keep a box nobody can click open for ever.
  TWindow ticker(nullptr, "ticker");
  ASSERT_TRUE(ticker.Create());
  ticker.SetTimer(1, 500);
  uint64_t start = clock->NowMs();
  TDialog dlg(nullptr, SampleTemplate());
  EXPECT_EQ(dlg.Execute(), IDCANCEL);
  EXPECT_LE(clock->NowMs() - start, 5u * 60 * 1000);
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_NE(diagnostics[0].message.find("SAMPLE"), std::string::npos);

  EXPECT_EQ(MessageBox(nullptr, "Save modified bookmark list?", "Bookmark List", MB_YESNO),
            IDCANCEL);
  EXPECT_EQ(diagnostics.size(), 2u);
}

TEST_F(DialogTest, HookAnswersExecuteAndRecordsTheQuestion) {
  SetAnswerHook([](const TModalQuestion& q) -> std::optional<TModalAnswer> {
    if (q.kind == TModalKind::Dialog && q.resourceName == "SAMPLE") return TModalAnswer{42, {}};
    return std::nullopt;
  });
  TRecordingDialog dlg(nullptr, SampleTemplate());
  EXPECT_EQ(dlg.Execute(), 42);
  EXPECT_FALSE(dlg.IsWindow());
  EXPECT_EQ(dlg.sets, 0);  // never shown
  ASSERT_EQ(RecordedQuestions().size(), 1u);
  EXPECT_EQ(RecordedQuestions()[0].kind, TModalKind::Dialog);
  EXPECT_EQ(RecordedQuestions()[0].caption, "Sample");
}

// --- Edit field ---------------------------------------------------------------------------------

TEST_F(DialogTest, EditTypingCaretSelectionAndLimit) {
  TWindow host(nullptr, "host");
  host.Attr.W = 300;
  host.Attr.H = 100;
  auto* edit = new TEdit(&host, 7, "abc", 10, 10, 200, 20, 6);
  ASSERT_TRUE(host.Create());
  edit->SetFocus();  // by keyboard: everything selected
  size_t s = 0, e = 0;
  edit->GetSelection(s, e);
  EXPECT_EQ(s, 0u);
  EXPECT_EQ(e, 3u);
  QueueText("xy");
  Pump();
  EXPECT_EQ(edit->GetText(), "xy");
  Key(VK_HOME);
  Key(VK_HOME, false);
  QueueText("12345");  // only four fit under the limit of six
  Pump();
  EXPECT_EQ(edit->GetText(), "1234xy");
  EXPECT_EQ(edit->GetCaretPos(), 4u);
  Key(VK_DELETE);
  Key(VK_DELETE, false);
  QueueText("\b");
  Pump();
  EXPECT_EQ(edit->GetText(), "123y");
  QueueText("\r\t");  // control characters are not text
  Pump();
  EXPECT_EQ(edit->GetText(), "123y");
}

TEST_F(DialogTest, EditWidenedAfterTheFocusShowsItsTextFromTheStart) {
  TWindow host(nullptr, "host");
  host.Attr.W = 300;
  host.Attr.H = 100;
  auto* edit = new TEdit(&host, 7, "northern lights", 10, 10, 12, 20);
  ASSERT_TRUE(host.Create());
  edit->SetFocus();  // the caret at the end scrolls the text of a narrow field
  edit->MoveWindow(10, 10, 250, 20);
  Click(10 + 3, 20);  // just inside the text's left edge
  EXPECT_EQ(edit->GetCaretPos(), 0u);
}

// --- Message boxes ------------------------------------------------------------------------------

TEST(MessageBoxTypesTest, ButtonsOfEachType) {
  EXPECT_EQ(TMessageBox::ButtonIds(MB_OK), std::vector<int>({IDOK}));
  EXPECT_EQ(TMessageBox::ButtonIds(MB_OKCANCEL | MB_ICONSTOP), std::vector<int>({IDOK, IDCANCEL}));
  EXPECT_EQ(TMessageBox::ButtonIds(MB_YESNOCANCEL), std::vector<int>({IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(TMessageBox::ButtonIds(MB_YESNO | MB_DEFBUTTON2), std::vector<int>({IDYES, IDNO}));
  EXPECT_EQ(TMessageBox::ButtonIds(MB_ABORTRETRYIGNORE),
            std::vector<int>({IDABORT, IDRETRY, IDIGNORE}));
}

TEST_F(DialogTest, HookAnswersMessageBoxesAndRecordsEachQuestion) {
  TWindow frame(nullptr, "frame");
  ASSERT_TRUE(frame.Create());
  SetAnswerHook(ScriptedAnswers({{IDYES, {}}, {IDOK, {}}}, {TModalKind::MessageBox}));
  EXPECT_EQ(MessageBox(frame, "Save modified bookmark list?", "Bookmark List", MB_YESNOCANCEL),
            IDYES);
  EXPECT_EQ(MessageBoxExA(frame, "Not a valid bookmark list\n'x.bmk'", "Read Bookmark List",
                          MB_OK | MB_ICONEXCLAMATION, 0),
            IDOK);
  const auto& q = RecordedQuestions();
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].kind, TModalKind::MessageBox);
  EXPECT_EQ(q[0].text, "Save modified bookmark list?");
  EXPECT_EQ(q[0].caption, "Bookmark List");
  EXPECT_EQ(q[0].type, 3u);
  EXPECT_EQ(q[0].owner, frame.GetHandle());
  EXPECT_EQ(q[1].type, 0x30u);
  EXPECT_EQ(q[1].caption, "Read Bookmark List");
  EXPECT_TRUE(diagnostics.empty());
  // The script is used up: the next box runs for real and, with nobody there, cancels.
  EXPECT_EQ(MessageBox(nullptr, "x", nullptr, MB_OK), IDCANCEL);
  EXPECT_EQ(RecordedQuestions().back().caption, "Error");
}

TEST_F(DialogTest, RealBoxIsDrawnAndAnswersTheClickedButton) {
  TWindow frame(nullptr, "frame");
  frame.Attr.W = 800;
  frame.Attr.H = 600;
  ASSERT_TRUE(frame.Create());
  std::vector<int> seenIds;
  uint8_t captionPixel = 0, iconPixel = 0;
  bool frameDisabled = false;
  TModalDriver driver([&] {
    auto* box = dynamic_cast<TMessageBox*>(ActiveDialog());
    ASSERT_NE(box, nullptr);
    for (TWindow* c : box->GetChildren()) seenIds.push_back(c->GetId());
    frameDisabled = !frame.IsWindowEnabled();
    TPoint o = box->ClientOriginOnScreen();
    TPoint cap = box->ContentOrigin();
    captionPixel = ScreenPixel(o.x + cap.x + 1, o.y + cap.x + 1);
    TRect icon = box->IconRect();
    iconPixel = ScreenPixel(o.x + icon.left + 16, o.y + icon.top + 4);
    QueueClick(CentreOf(box->GetDlgItem(IDNO)));
  });
  EXPECT_EQ(MessageBox(frame, "Unable to DirectlyDrawMaskedIcon", "ZTitleBarIconWnd::Paint",
                       MB_YESNOCANCEL | MB_ICONSTOP),
            IDNO);
  EXPECT_EQ(seenIds, std::vector<int>({IDYES, IDNO, IDCANCEL}));
  EXPECT_TRUE(frameDisabled);
  EXPECT_TRUE(frame.IsWindowEnabled());
  EXPECT_EQ(captionPixel, IndexOf(TColor(0, 0, 128)));
  EXPECT_EQ(iconPixel, IndexOf(TColor(255, 0, 0)));
  ASSERT_EQ(RecordedQuestions().size(), 1u);  // asked even though nobody answered it
}

TEST_F(DialogTest, MessageBoxKeys) {
  struct Case {
    UINT type;
    std::vector<UINT> keys;
    int result;
  } cases[] = {
      {MB_YESNO, {VK_RETURN}, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_RETURN}, IDCANCEL},
      {MB_YESNO, {VK_ESCAPE, 'N'}, IDNO},  // no Cancel button: Escape does nothing
      {MB_YESNOCANCEL, {VK_ESCAPE}, IDCANCEL},
      {MB_OK, {VK_ESCAPE}, IDOK},
      {MB_YESNO, {VK_TAB, VK_SPACE}, IDNO},
      {MB_ABORTRETRYIGNORE, {'R'}, IDRETRY},
  };
  for (const Case& c : cases) {
    for (UINT k : c.keys) QueueKey(k);
    EXPECT_EQ(MessageBox(nullptr, "Question?", "Keys", c.type), c.result) << std::hex << c.type;
  }
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(DialogTest, LongTextWrapsInsideTheScreen) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "word ";
  TMessageBox box(nullptr, text.c_str(), "Long", MB_OK | MB_ICONINFORMATION);
  ASSERT_TRUE(box.Create());
  TRect w = box.GetWindowRect();
  EXPECT_GE(w.left, 0);
  EXPECT_LE(w.right, 800);
  EXPECT_GT(box.TextRect().Height(), 3 * box.GetDialogFont().GetHeight());
  EXPECT_GE(box.TextRect().left, box.IconRect().right);
}

// --- File choosers ------------------------------------------------------------------------------

class FileDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dir = fs::temp_directory_path() / ("quill_dialog_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* f : {"b.bmk", "A.BMK", "notes.txt"}) std::ofstream(dir / f) << "x";
  }
  void TearDown() override {
    fs::remove_all(dir);
    DialogTest::TearDown();
  }
  static constexpr const char* kFilter = "Bookmark Lists (*.bmk)|*.bmk|All Files (*.*)|*.*|";
  fs::path dir;
};

TEST_F(FileDialogTest, FilterPairs) {
  TOpenSaveDialog::TData d(0, kFilter);
  auto pairs = d.FilterPairs();
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0], std::make_pair(std::string("Bookmark Lists (*.bmk)"), std::string("*.bmk")));
  EXPECT_EQ(pairs[1].second, "*.*");
  EXPECT_TRUE(TOpenSaveDialog::TData(0, "").FilterPairs().empty());
  EXPECT_EQ(TOpenSaveDialog::TData(0, "Text|*.txt|Dangling").FilterPairs().size(), 1u);
  EXPECT_EQ(TOpenSaveDialog::TData(0, "|||||").FilterPairs().size(), 0u);
}

TEST_F(FileDialogTest, HookAnswersWithAPathAndSeesTheDialogData) {
  TOpenSaveDialog::TData data(0x180C, kFilter, "/install", "bmk");
  data.FileName = "*.bmk";
  SetAnswerHook([](const TModalQuestion& q) -> std::optional<TModalAnswer> {
    if (q.kind == TModalKind::FileOpen) return TModalAnswer{IDOK, "/data/lists/mine.bmk"};
    return std::nullopt;
  });
  TFileOpenDialog dlg(nullptr, data);
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(data.FileName, "/data/lists/mine.bmk");
  ASSERT_EQ(RecordedQuestions().size(), 1u);
  const TModalQuestion& q = RecordedQuestions()[0];
  EXPECT_EQ(q.filter, kFilter);
  EXPECT_EQ(q.defaultExt, "bmk");
  EXPECT_EQ(q.initialDir, "/install");
  EXPECT_EQ(q.fileName, "*.bmk");
  EXPECT_EQ(q.flags, 0x180Cu);

  // A cancelled save leaves the name alone.
  SetAnswerHook([](const TModalQuestion&) {
    return std::optional<TModalAnswer>(TModalAnswer{IDCANCEL, {}});
  });
  TOpenSaveDialog::TData save(0x880E, kFilter, "/install", "bmk");
  save.FileName = "untitled.bmk";
  TFileSaveDialog saveDlg(nullptr, save);
  EXPECT_EQ(saveDlg.Execute(), IDCANCEL);
  EXPECT_EQ(save.FileName, "untitled.bmk");
  EXPECT_EQ(RecordedQuestions().back().kind, TModalKind::FileSave);
}

TEST_F(FileDialogTest, ListShowsFoldersThenMatchingFilesAndTheTypeSwitchRefilters) {
  TOpenSaveDialog::TData data(OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, kFilter, dir.c_str(), "bmk");
  data.FileName = "*.bmk";
  TFileOpenDialog dlg(nullptr, data);
  ASSERT_TRUE(dlg.Create());
  auto names = [&] {
    std::vector<std::string> out;
    auto* list = dynamic_cast<TFileList*>(dlg.GetDlgItem(kFileListId));
    for (const auto& e : list->GetEntries()) out.push_back(e.name);
    return out;
  };
  EXPECT_EQ(dlg.CurrentDir(), dir.string());
  EXPECT_EQ(names(), std::vector<std::string>({"..", "sub", "A.BMK", "b.bmk"}));
  EXPECT_EQ(dlg.GetDlgItemText(kFileNameId), "*.bmk");
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kFileTypeId, BN_CLICKED), 0);  // All Files
  EXPECT_EQ(names(), std::vector<std::string>({"..", "sub", "A.BMK", "b.bmk", "notes.txt"}));
  EXPECT_EQ(dlg.GetDlgItemText(kFileTypeId), "All Files (*.*)");
  EXPECT_FALSE(dlg.Accept("sub"));  // a folder opens
  EXPECT_EQ(dlg.CurrentDir(), (dir / "sub").string());
  EXPECT_EQ(names(), std::vector<std::string>({".."}));
  EXPECT_FALSE(dlg.Accept(".."));
  EXPECT_EQ(dlg.CurrentDir(), dir.string());
  EXPECT_FALSE(dlg.Accept("*.txt"));  // a pattern filters
  EXPECT_EQ(names(), std::vector<std::string>({"..", "sub", "notes.txt"}));
}

TEST_F(FileDialogTest, TypedNameAndEnterGiveThePathWithTheDefaultExtension) {
  TOpenSaveDialog::TData data(0x180C, kFilter, dir.c_str(), "bmk");
  TFileOpenDialog dlg(nullptr, data);
  QueueText("b");
  QueueKey(VK_RETURN);
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(data.FileName, (dir / "b.bmk").string());
  EXPECT_EQ(data.FilterIndex, 1);
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(FileDialogTest, MouseDoubleClickInTheListChoosesAFile) {
  TOpenSaveDialog::TData data(0x180C, kFilter, dir.c_str(), "bmk");
  TFileOpenDialog dlg(nullptr, data);
  ASSERT_TRUE(dlg.Create());
  auto* list = dynamic_cast<TFileList*>(dlg.GetDlgItem(kFileListId));
  ASSERT_EQ(list->GetEntries()[3].name, "b.bmk");
  TRect r = list->GetWindowRect();
  TPoint row(r.left + 20, r.top + 2 + 3 * list->RowHeight() + list->RowHeight() / 2);
  QueueClick(row);
  QueueClick(row);  // within the double-click time on the manual clock
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(data.FileName, (dir / "b.bmk").string());
}

TEST_F(FileDialogTest, FileMustExistRefusesAMissingFile) {
  SetAnswerHook(ScriptedAnswers({{IDOK, {}}}, {TModalKind::MessageBox}));
  TOpenSaveDialog::TData data(0x180C, kFilter, dir.c_str(), "bmk");
  TFileOpenDialog dlg(nullptr, data);
  QueueText("missing");
  QueueKey(VK_RETURN);
  QueueKey(VK_ESCAPE);
  EXPECT_EQ(dlg.Execute(), IDCANCEL);
  EXPECT_EQ(data.FileName, "");
  const auto& q = RecordedQuestions();
  ASSERT_EQ(q.size(), 2u);  // the chooser, then its complaint
  EXPECT_EQ(q[1].kind, TModalKind::MessageBox);
  EXPECT_EQ(q[1].text, "missing.bmk\nFile not found.\nCheck the file name and try again.");
  EXPECT_EQ(q[1].caption, "Open");
  EXPECT_NE(q[1].owner, nullptr);  // owned by the chooser
}

TEST_F(FileDialogTest, PathMustExistRefusesAMissingFolder) {
  SetAnswerHook(ScriptedAnswers({{IDOK, {}}}, {TModalKind::MessageBox}));
  TOpenSaveDialog::TData data(OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR, kFilter, dir.c_str(), "bmk");
  TFileSaveDialog dlg(nullptr, data);
  ASSERT_TRUE(dlg.Create());
  EXPECT_FALSE(dlg.Accept("nowhere/list"));
  ASSERT_EQ(RecordedQuestions().size(), 1u);
  EXPECT_NE(RecordedQuestions()[0].text.find("The path does not exist"), std::string::npos);
  EXPECT_EQ(data.FileName, "");
}

TEST_F(FileDialogTest, OverwritePromptAsksThroughAMessageBox) {
  SetAnswerHook(ScriptedAnswers({{IDNO, {}}, {IDYES, {}}}, {TModalKind::MessageBox}));
  TOpenSaveDialog::TData data(0x880E, kFilter, dir.c_str(), "bmk");
  data.FileName = "b.bmk";
  TFileSaveDialog dlg(nullptr, data);
  QueueKey(VK_RETURN);  // No: the chooser stays
  QueueKey(VK_RETURN);  // Yes: it ends
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(data.FileName, (dir / "b.bmk").string());
  const auto& q = RecordedQuestions();
  ASSERT_EQ(q.size(), 3u);
  for (size_t i : {1u, 2u}) {
    EXPECT_EQ(q[i].text, "b.bmk already exists.\nDo you want to replace it?");
    EXPECT_EQ(q[i].type, MB_YESNO | MB_ICONEXCLAMATION);
  }
  // A new name is not asked about.
  ClearRecordedQuestions();
  TOpenSaveDialog::TData fresh(0x880E, kFilter, dir.c_str(), "bmk");
  TFileSaveDialog dlg2(nullptr, fresh);
  QueueText("new");
  QueueKey(VK_RETURN);
  EXPECT_EQ(dlg2.Execute(), IDOK);
  EXPECT_EQ(fresh.FileName, (dir / "new.bmk").string());
  EXPECT_EQ(RecordedQuestions().size(), 1u);
}

TEST_F(FileDialogTest, RealOverwriteBoxRunsInsideTheChooser) {
  TOpenSaveDialog::TData data(0x880E, kFilter, dir.c_str(), "bmk");
  data.FileName = "b.bmk";
  TFileSaveDialog dlg(nullptr, data);
  QueueKey(VK_RETURN);  // the chooser asks ...
  QueueKey('Y');        // ... and the box, drawn for real, takes the answer
  EXPECT_EQ(dlg.Execute(), IDOK);
  EXPECT_EQ(data.FileName, (dir / "b.bmk").string());
  ASSERT_EQ(RecordedQuestions().size(), 2u);
  EXPECT_EQ(RecordedQuestions()[1].kind, TModalKind::MessageBox);
  EXPECT_TRUE(diagnostics.empty());
}

TEST_F(FileDialogTest, UnreadableStartingFolderFallsBackToTheCurrentOne) {
  TOpenSaveDialog::TData data(0, kFilter, (dir / "gone").c_str(), nullptr);
  TFileOpenDialog dlg(nullptr, data);
  ASSERT_TRUE(dlg.Create());
  EXPECT_EQ(dlg.CurrentDir(), fs::current_path().lexically_normal().string());
}

}  // namespace
}  // namespace quill::test
