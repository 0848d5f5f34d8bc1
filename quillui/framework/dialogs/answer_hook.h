// The answer hook: every modal interaction (message box, file dialog, dialog Execute) asks it
// first, so tests and scripted sessions can answer without a person. Every question is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quillui/framework/base/messages.h"

namespace quill {

enum class TModalKind : uint8_t { MessageBox, FileOpen, FileSave, Dialog };

// What a modal interaction is about to ask. Only the fields of its kind are filled.
struct TModalQuestion {
  TModalKind kind = TModalKind::MessageBox;
  HWND owner = nullptr;
  // Message boxes.
  std::string text;
  std::string caption;
  UINT type = 0;  // MB_* bits
  // File dialogs.
  std::string filter;      // "desc|pattern|desc|pattern|"
  std::string defaultExt;  // without the dot
  std::string initialDir;
  std::string fileName;  // the initial name
  uint32_t flags = 0;    // OFN_* bits
  // Dialogs.
  std::string resourceName;  // the template's name
};

struct TModalAnswer {
  int result = 0;    // IDOK, IDCANCEL, IDYES, ... or the dialog's result
  std::string path;  // file dialogs answered with IDOK: the chosen file, used as given
};

// Answers a question, or declines with nullopt so the real modal user interface runs.
using TAnswerHook = std::function<std::optional<TModalAnswer>(const TModalQuestion&)>;

// Installs hook (an empty one removes it) and returns the previous one. Process-wide.
TAnswerHook SetAnswerHook(TAnswerHook hook);

// Records the question and asks the hook, if there is one.
std::optional<TModalAnswer> AskAnswerHook(const TModalQuestion& question);

// Questions asked so far, oldest first, whether the hook answered them or not. Only the most
// recent ones are kept, so a long scripted session does not grow without bound.
const std::vector<TModalQuestion>& RecordedQuestions();
void ClearRecordedQuestions();
inline constexpr size_t kMaxRecordedQuestions = 1000;

// A hook that answers from a list, in order, one answer per question of the given kinds
// (others are declined), and declines once the list is used up.
TAnswerHook ScriptedAnswers(std::vector<TModalAnswer> answers,
                            std::vector<TModalKind> kinds = {
                                TModalKind::MessageBox, TModalKind::FileOpen, TModalKind::FileSave,
                                TModalKind::Dialog});

// The answer to a modal question that nobody can see, as every question gets once the display
// is lost: a message box answers its default button, a dialog or file dialog Cancel.
std::optional<TModalAnswer> AnswerWithoutDisplay(const TModalQuestion& question);

}  // namespace quill
