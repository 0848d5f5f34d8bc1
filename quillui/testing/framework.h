// Test hooks for the window framework's process-wide state.
// Each puts its part back as at library start-up, so that tests (ours and a host's) leak
// no state into each other. Not for a running program.
#pragma once

#include "quillui/framework/gdi/font_engine.h"

namespace quill {

// Drops every face, glyph and resolution the engine holds process-wide and starts over with
// the given settings. The next font use opens faces again.
void ResetFontEngine(const FontEngineSettings& settings = {});

// Removes the hook and forgets the recorded questions.
void ResetAnswerHook();

// Forgets every registration, including those made by TStreamableClass objects.
void ResetStreamableClasses();

}  // namespace quill
