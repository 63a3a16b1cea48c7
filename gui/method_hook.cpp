#include "gui/method_hook.h"

#include "gui/controls.h"

namespace gui {

namespace {
long g_liveLinks = 0;
}  // namespace

void TWindowMethodLink::Method(TMessage& message) {
  if (Hook && Handler) {
    // The handler may detach the hook while it runs; a copy keeps it alive.
    const std::function<void(TMessage&)> handler = Handler;
    handler(message);
  } else {
    Previous(message);
  }
}

bool TWindowMethodHook::Attach(TControl* control, THandler handler) {
  if (link_ || !control) return false;
  auto link = std::make_unique<TWindowMethodLink>();
  link->Control = control;
  link->Previous = control->WindowProc;
  link->Hook = this;
  link->Handler = std::move(handler);
  link_ = link.get();
  previous_ = link_->Previous;
  control->WindowProc = link_->AsMethod();
  control->methodLinks_.push_back(std::move(link));
  ++g_liveLinks;
  return true;
}

void TWindowMethodHook::Detach() {
  if (!link_) return;
  TWindowMethodLink* link = std::exchange(link_, nullptr);
  TControl* control = link->Control;
  if (control->WindowProc == link->AsMethod()) {
    control->WindowProc = link->Previous;
    auto& links = control->methodLinks_;
    std::erase_if(links, [link](const std::unique_ptr<TWindowMethodLink>& l) { return l.get() == link; });
    --g_liveLinks;
    return;
  }
  // Another layer is on top and holds this link as the method it calls on.
  link->Hook = nullptr;
  link->Handler = nullptr;
}

void TWindowMethodHook::CallPrevious(TMessage& message) const {
  if (previous_) previous_(message);
}

long TWindowMethodHook::LiveCount() { return g_liveLinks; }

void TControl::ForgetMethodLinks() {
  for (const auto& link : methodLinks_)
    if (link->Hook) link->Hook->ControlGone();
  g_liveLinks -= static_cast<long>(methodLinks_.size());
  methodLinks_.clear();
}

}  // namespace gui
