// Where the host finds its content, its art and its settings, and the settings file it starts
// from: the sample settings installed with it, copied into the reader's own folder on first run.
#pragma once

#include <string>

namespace quillonary {

struct HostPaths {
  std::string content;   // the folder of articles.set, media.set and sounds/
  std::string home;      // the reader's folder: quillonary.ini and bookmark lists
  std::string settings;  // home/quillonary.ini
};

// The content folder: the one given, else the build tree's when this program runs from it,
// else the installed one beside the program (../share/quillonary/content).
std::string FindContentDir(const std::string& given);
// The library's art when the program runs from the build tree, else empty (the installed art).
std::string FindBuildArtDir();
// The reader's folder: the one given, else $XDG_CONFIG_HOME/quillonary or ~/.config/quillonary.
std::string FindHomeDir(const std::string& given);
// Makes the home folder and, when it holds no settings yet, copies the sample settings there.
// False, with the reason, when neither works.
bool PrepareHome(HostPaths& paths, std::string* error);
// The sample settings the host ships (also written into a new home).
const char* SampleSettings();

}  // namespace quillonary
