#include "quillui/tableau/holder_manager.h"

#include <unordered_map>

#include "quillui/app/presentation.h"
#include "quillui/app/user_messages.h"
#include "quillui/framework/window/application.h"
#include "quillui/tableau/holder.h"

namespace quill {

ZHolderManager::ZHolderManager(TWindow* parent, const char* title, TModule* module)
    : TLayoutWindow(parent, title, module), m_clrBackground(GetAppColor(HOLDER_BACKGROUND)) {
  Attr.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
}

const TResponseTable& ZHolderManager::GetResponseTable() const {
  static const TResponseEntry entries[] = {
      OnMessage<&ZHolderManager::WmuGetDisplayMode>(quill::WmuGetDisplayMode),
      OnMessage<&ZHolderManager::WmuNotification>(quill::WmuNotification),
      OnMessage<&ZHolderManager::WmuVexMciNotify>(quill::WmuVexMciNotify),
  };
  static const TResponseTable table{&TLayoutWindow::GetResponseTable(), entries};
  return table;
}

ZHolder* ZHolderManager::CreateHolder(int id) {
  auto* holder = new ZHolder(this, id);
  if (!holder->Create()) {
    delete holder;
    return nullptr;
  }
  return holder;
}

TWindow* ZHolderManager::FindOrCreate(int id) {
  // Only live children count: a holder that closed itself is waiting to be deleted and must
  // not be handed out.
  if (TWindow* w = LiveChildWithId(id)) return w;
  CreateHolder(id);
  return LiveChildWithId(id);
}

ZHolder* ZHolderManager::GetHolder(int id) { return dynamic_cast<ZHolder*>(FindOrCreate(id)); }

ZHolder* ZHolderManager::ActivateHolder(int id) {
  auto* holder = dynamic_cast<ZHolder*>(FindOrCreate(id));
  if (!holder) return nullptr;
  // An active holder that closed itself is active no longer.
  if (m_pActiveHolder && !m_pActiveHolder->IsWindow()) m_pActiveHolder = nullptr;
  if (holder == m_pActiveHolder) return holder;

  if (ZHolder* old = m_pActiveHolder) {
    old->SendMessage(quill::WmuNotification, kNotifyHolderLeaving, 0);
    if (m_pActiveHolder == old) {  // the content may have deleted it meanwhile
      old->EnableWindow(false);
      old->ShowWindow(SW_HIDE);
    }
  }
  m_pActiveHolder = holder;
  SetHolderMetrics(holder);
  holder->EnableWindow(true);
  holder->BringWindowToTop();
  holder->ShowWindow(SW_SHOW);
  holder->SendMessage(quill::WmuNotification, kNotifyHolderActivated, 0);
  OnHolderActivated();
  Layout();
  return m_pActiveHolder;
}

void ZHolderManager::SetHolderMetrics(ZHolder* holder) {
  if (!holder) return;
  TLayoutMetrics metrics;
  metrics.X.SameAs(lmParent, lmLeft);
  metrics.Y.SameAs(lmParent, lmTop);
  metrics.Width.SameAs(lmParent, lmRight);
  metrics.Height.SameAs(lmParent, lmBottom);
  metrics.SetMeasurementUnits(lmPixels);
  SetChildLayoutMetrics(*holder, metrics);
}

void ZHolderManager::OnHolderActivated() {}

bool ZHolderManager::IsFlushBoundary(TWindow&) { return false; }

void ZHolderManager::FlushHolders() {
  // Each child's generation: 0 for those present now, g + 1 for those that appear while a
  // child of generation g is deleted. Generations 0 and 1 go, the latest added first; later
  // ones stay, or a handler that makes a new holder whenever one goes would keep the flush
  // going for ever.
  std::unordered_map<const TWindow*, int> generation;
  for (const TWindow* c : GetChildren()) generation.emplace(c, 0);
  const TWindow* previous = nullptr;
  HWND previousHandle = nullptr;
  for (;;) {
    TWindow* child = nullptr;
    int gen = 0;
    const auto& children = GetChildren();
    for (auto it = children.rbegin(); it != children.rend() && !child; ++it) {
      auto known = generation.find(*it);
      if (known != generation.end() && known->second <= 1) {
        child = *it;
        gen = known->second;
      }
    }
    if (!child || IsFlushBoundary(*child)) return;
    // Found again: it could not be deleted. (A new child at a reused address has a new
    // handle, unless neither ever had one.)
    if (child == previous && child->GetHandle() == previousHandle) return;
    generation.erase(child);
    if (child == m_pActiveHolder) m_pActiveHolder = nullptr;
    previous = child;
    previousHandle = child->GetHandle();
    delete child;
    // Posted closes, timers and paints run between deletions; the list is read afresh after.
    for (int i = 0; i < 3; ++i) PumpWaitingMessages();
    for (const TWindow* c : GetChildren()) generation.try_emplace(c, gen + 1);
  }
}

void ZHolderManager::PassInward(UINT commandId) {
  if (!m_pActiveHolder) return;
  if (HWND child = m_pActiveHolder->GetChild())
    quill::SendMessage(child, WM_COMMAND, MAKEWPARAM(uint16_t(commandId), 0), 0);
}

LRESULT ZHolderManager::ForwardMessageToActiveHolder(UINT msg, WPARAM wp, LPARAM lp) {
  return m_pActiveHolder ? m_pActiveHolder->SendMessage(msg, wp, lp) : 0;
}

void ZHolderManager::RemoveChild(TWindow* child) {
  if (child && child == m_pActiveHolder) m_pActiveHolder = nullptr;
  TLayoutWindow::RemoveChild(child);
}

bool ZHolderManager::EvEraseBkgnd(TDC& dc) {
  return EraseHolderBackground(dc, GetClientRect(), m_clrBackground);
}

LRESULT ZHolderManager::WmuGetDisplayMode(WPARAM, LPARAM) { return LRESULT(m_eDisplayMode); }

LRESULT ZHolderManager::WmuNotification(WPARAM wp, LPARAM lp) {
  return ForwardMessageToActiveHolder(quill::WmuNotification, wp, lp);
}

LRESULT ZHolderManager::WmuVexMciNotify(WPARAM wp, LPARAM lp) {
  return quill::SendMessage(GetParent(), quill::WmuVexMciNotify, wp, lp);
}

}  // namespace quill
