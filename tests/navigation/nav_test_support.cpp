#include "nav_test_support.h"

#include "quillui/navigation/backtrack.h"
#include "quillui/testing/framework.h"
#include "quillui/testing/navigation.h"
#include "quillui/testing/profile.h"

namespace quill::test {

void NavTableau::CreateTableauBacktrackBookmark() {
  ++backtrackRequests;
  const std::string text = "!State=<" + state + ">";
  AddBacktrackBookmark(std::make_unique<ZBookmark>(ZBookmark::kSpecialType, text, text));
}

void NavTest::SetUp() {
  AppTest::SetUp();
  ResetNavigation();
  ResetHostLookups();
  ResetHolderIds();
  ResetAnswerHook();
  SetAnswerHook([this](const TModalQuestion& q) -> std::optional<TModalAnswer> {
    TModalAnswer a;
    switch (q.kind) {
      case TModalKind::MessageBox:
        a.result = IDOK;
        if (!boxAnswers.empty()) {
          a.result = boxAnswers.front();
          boxAnswers.pop_front();
        }
        return a;
      case TModalKind::FileOpen:
      case TModalKind::FileSave:
        a.result = IDCANCEL;
        if (!fileAnswers.empty()) {
          a = fileAnswers.front();
          fileAnswers.pop_front();
        }
        return a;
      case TModalKind::Dialog: a.result = IDCANCEL; return a;
    }
    return std::nullopt;
  });
}

void NavTest::TearDown() {
  ResetNavigation();
  ResetHostLookups();
  ResetHolderIds();
  ResetAnswerHook();
  SetAppFrame(nullptr);
  frame.reset();
  AppTest::TearDown();
}

void NavTest::MakeFrame(bool withTableau) {
  frame = std::make_unique<NavFrame>();
  if (withTableau) {
    tableau = new NavTableau(frame.get());
    tableau->Attr.Style = WS_CHILD | WS_VISIBLE;
    tableau->Attr.W = 600;
    tableau->Attr.H = 400;
    frame->SetTableau(nullptr, tableau);
  }
  frame->Create();
  SetAppFrame(frame.get());
}

std::vector<TModalQuestion> NavTest::Questions(TModalKind kind) const {
  std::vector<TModalQuestion> out;
  for (const TModalQuestion& q : RecordedQuestions())
    if (q.kind == kind) out.push_back(q);
  return out;
}

std::unique_ptr<ZBookmark> Typed(const std::string& text, const char* type) {
  return std::make_unique<ZBookmark>(type, text, text);
}

}  // namespace quill::test
