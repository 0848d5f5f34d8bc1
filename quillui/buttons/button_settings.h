// The settings the library's buttons read once per process: hint level, the buttons' and
// sounds' folders, the pressed cel, the frame's tracking flag. For the buttons' own use.
#pragma once

#include <string>

namespace quill {

// [DevParm] "HintTextLevel", default 1.
int ButtonHintTextLevel();
// [Directories] "Buttons", default empty; a value that does not end in a separator gets "/".
const std::string& ButtonsDirectory();
// [Directories] "ButtonSounds", default empty, ended like ButtonsDirectory.
const std::string& ButtonSoundsDirectory();
// [Presentation] "PressedCellIndex" read through PressedCellIndexFromText.
int DesiredPressedCelIndex();
// [Presentation] "HintText", default 1: above 0 the status text is drawn.
int PresentationHintText();
// The application frame's tracking flag, false without a frame.
bool ButtonTracking();

// "Default" gives 2, "Last" -1, any other text its decimal value (0 when not a number); a
// negative value other than "Last" gives -1 too, so no cel before the strip is ever chosen.
int PressedCellIndexFromText(const std::string& text);
// A directory joined straight to a file name: a non-empty value ending in neither "/" nor "\"
// gets "/".
std::string DirectoryWithSeparator(std::string dir);

// Forgets every value read, so the next reader reads the settings again (the test hooks).
void ForgetButtonSettings();

}  // namespace quill
