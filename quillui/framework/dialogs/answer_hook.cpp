#include "quillui/framework/dialogs/answer_hook.h"

#include <algorithm>
#include <memory>

#include "quillui/framework/dialogs/message_box.h"
#include "quillui/platform/screen/display_loss.h"

namespace quill {

namespace {

struct AnswerState {
  TAnswerHook hook;
  std::vector<TModalQuestion> asked;
};

AnswerState& State() {
  static AnswerState state;
  return state;
}

}  // namespace

TAnswerHook SetAnswerHook(TAnswerHook hook) {
  TAnswerHook previous = std::move(State().hook);
  State().hook = std::move(hook);
  return previous;
}

void ResetAnswerHook() {
  State().hook = nullptr;
  State().asked.clear();
}

std::optional<TModalAnswer> AskAnswerHook(const TModalQuestion& question) {
  AnswerState& s = State();
  if (s.asked.size() >= kMaxRecordedQuestions) s.asked.erase(s.asked.begin());
  s.asked.push_back(question);
  // With the display gone nobody can answer, whatever hook is set: the program is closing.
  if (platform::DisplayIsLost()) return AnswerWithoutDisplay(question);
  if (!s.hook) return std::nullopt;
  // A copy, so a hook that replaces itself while answering does not destroy the running one.
  TAnswerHook hook = s.hook;
  return hook(question);
}

std::optional<TModalAnswer> AnswerWithoutDisplay(const TModalQuestion& question) {
  if (question.kind != TModalKind::MessageBox) return TModalAnswer{IDCANCEL, {}};
  // The button a box would start with the focus on, as TMessageBox picks it.
  std::vector<int> ids = TMessageBox::ButtonIds(question.type);
  size_t def = std::min<size_t>((question.type & MB_DEFMASK) >> 8, ids.size() - 1);
  return TModalAnswer{ids[def], {}};
}

const std::vector<TModalQuestion>& RecordedQuestions() { return State().asked; }

void ClearRecordedQuestions() { State().asked.clear(); }

TAnswerHook ScriptedAnswers(std::vector<TModalAnswer> answers, std::vector<TModalKind> kinds) {
  struct Script {
    std::vector<TModalAnswer> answers;
    size_t next = 0;
  };
  auto script = std::make_shared<Script>(Script{std::move(answers), 0});
  return
      [script, kinds = std::move(kinds)](const TModalQuestion& q) -> std::optional<TModalAnswer> {
        if (std::find(kinds.begin(), kinds.end(), q.kind) == kinds.end()) return std::nullopt;
        if (script->next >= script->answers.size()) return std::nullopt;
        return script->answers[script->next++];
      };
}

}  // namespace quill
