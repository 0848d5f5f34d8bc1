// The attribute store of buttons and bars: named attributes ("HintText", "ClickSound",
// "Sound", ...) of an object, looked up by the object's attribute key in the settings file.
// An attribute lives in the section of its own name under the object's key:
//   [HintText]
//   pbnext=Next article
//   [ClickSound]
//   pbnext=click.wav!
#pragma once

#include <cstdint>
#include <string>

#include "quillui/framework/base/geometry.h"

namespace quill {

// An attribute name as a small number; 0 is no atom.
using ZAtom = uint16_t;

class atom_table {
 public:
  static constexpr ZAtom kFirstAtom = 0xC000;  // atoms count up from here, as string atoms did
  // The atom of the name (names compare without regard to case): the same atom for the same
  // name, a new one the first time. 0 for a null or empty name or when the table is full.
  static ZAtom create_atom(const char* name);
  // The atom of a name created before, or 0.
  static ZAtom find_atom(const char* name);
  // The name as first created, or empty for an unknown atom.
  static std::string get_name(ZAtom atom);
  // For tests: an empty table.
  static void reset();
};

// Something with attributes: its key is built from its token (a button's token is its short
// name); derived classes may build richer keys.
class ZAttributeHandler {
 public:
  virtual ~ZAttributeHandler() = default;

  virtual std::string build_key() const { return get_token(); }
  virtual std::string get_token() const { return std::string(); }

  // The attribute's text for this object: the settings value of section get_name(atom) and
  // key build_key(); empty when either is unknown or empty.
  std::string attribute(ZAtom atom) const;
  std::string attribute(const char* name) const;
};

// A window whose parts have attributes: find_handler gives the handler under a screen point.
// Without parts of its own to ask, it answers null.
class ZAttributeWindow : public ZAttributeHandler {
 public:
  virtual ZAttributeHandler* find_handler(const TPoint& screenPoint) { return nullptr; }
};

// The attribute-window base that the control bars carry beside their window class.
class ZControlBar1 : public ZAttributeWindow {};

}  // namespace quill
