// Response tables: each window class lists which messages, command ids and command-enable
// queries its member functions answer, chained to its base class's table. Plain templates and
// member pointers; a class overrides GetResponseTable() and returns a static table.
//
//   const TResponseTable& ZPane::GetResponseTable() const {
//     static const TResponseEntry entries[] = {
//         OnMessage<&ZPane::WmuNotification>(WmuNotificationMsg),
//         OnCommand<&ZPane::CmFullScreen>(7432),
//         OnCommandEnable<&ZPane::CeFullScreen>(7432),
//     };
//     static const TResponseTable table{&TLayoutWindow::GetResponseTable(), entries};
//     return table;
//   }
#pragma once

#include <span>
#include <type_traits>

#include "quillui/framework/base/messages.h"

namespace quill {

class TWindow;
class TCommandEnabler;

struct TResponseEntry {
  enum class Kind : uint8_t { Message, Command, CommandEnable };
  using MessageThunk = LRESULT (*)(TWindow&, WPARAM, LPARAM);
  using EnableThunk = void (*)(TWindow&, TCommandEnabler&);

  Kind kind = Kind::Message;
  UINT code = 0;  // message number or command id
  MessageThunk message = nullptr;
  EnableThunk enable = nullptr;
};

struct TResponseTable {
  const TResponseTable* base = nullptr;
  std::span<const TResponseEntry> entries;

  // Most derived first; the first matching entry wins.
  const TResponseEntry* Find(TResponseEntry::Kind kind, UINT code) const {
    for (const TResponseTable* t = this; t; t = t->base)
      for (const TResponseEntry& e : t->entries)
        if (e.kind == kind && e.code == code) return &e;
    return nullptr;
  }
};

namespace detail {
template <class M>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
  using Class = C;
};
}  // namespace detail

// A message handler: LRESULT (C::*)(WPARAM, LPARAM), void (C::*)(WPARAM, LPARAM) or
// void (C::*)().
template <auto Method>
constexpr TResponseEntry OnMessage(UINT message) {
  using C = typename detail::MemberOf<decltype(Method)>::Class;
  TResponseEntry e;
  e.kind = TResponseEntry::Kind::Message;
  e.code = message;
  e.message = [](TWindow& w, WPARAM wp, LPARAM lp) -> LRESULT {
    C& self = static_cast<C&>(w);
    if constexpr (std::is_invocable_v<decltype(Method), C&, WPARAM, LPARAM>) {
      if constexpr (std::is_void_v<std::invoke_result_t<decltype(Method), C&, WPARAM, LPARAM>>) {
        (self.*Method)(wp, lp);
        return 0;
      } else {
        return LRESULT((self.*Method)(wp, lp));
      }
    } else {
      (self.*Method)();
      return 0;
    }
  };
  return e;
}

// A command handler: void (C::*)(), called for WM_COMMAND with this id.
template <auto Method>
constexpr TResponseEntry OnCommand(UINT id) {
  using C = typename detail::MemberOf<decltype(Method)>::Class;
  TResponseEntry e;
  e.kind = TResponseEntry::Kind::Command;
  e.code = id;
  e.message = [](TWindow& w, WPARAM, LPARAM) -> LRESULT {
    (static_cast<C&>(w).*Method)();
    return 0;
  };
  return e;
}

// A command-enable handler: void (C::*)(TCommandEnabler&).
template <auto Method>
constexpr TResponseEntry OnCommandEnable(UINT id) {
  using C = typename detail::MemberOf<decltype(Method)>::Class;
  TResponseEntry e;
  e.kind = TResponseEntry::Kind::CommandEnable;
  e.code = id;
  e.enable = [](TWindow& w, TCommandEnabler& ce) { (static_cast<C&>(w).*Method)(ce); };
  return e;
}

// Asks the owner of a command whether it is enabled and checked; gadgets and menus answer it.
class TCommandEnabler {
 public:
  enum { Unchecked = 0, Checked = 1, Indeterminate = 2 };

  explicit TCommandEnabler(UINT id, HWND receiver = nullptr) : id_(id), receiver_(receiver) {}
  virtual ~TCommandEnabler() = default;

  UINT GetId() const { return id_; }
  HWND GetReceiver() const { return receiver_; }
  virtual void Enable(bool enable = true) {
    enabled_ = enable;
    handled_ = true;
  }
  virtual void SetCheck(int state) {
    check_ = state;
    handled_ = true;
  }
  virtual void SetText(const char* text) {
    (void)text;
    handled_ = true;
  }
  bool GetHandled() const { return handled_; }
  bool IsEnabled() const { return enabled_; }
  int GetCheck() const { return check_; }

 private:
  UINT id_;
  HWND receiver_;
  bool handled_ = false;
  bool enabled_ = true;
  int check_ = Unchecked;
};

}  // namespace quill
