// Putting a layer in front of a framework control's replaceable window
// method (TControl::WindowProc) and taking it away again: the sibling of
// TWindowSubclass for the framework's own dispatch. Attach saves the method
// that was in front and puts the hook's there; CallPrevious passes a message
// on to the saved one. Detach puts the saved method back only while the
// hook is still the one in front; when another layer has put itself on top
// since, the hook stays in the chain as a pass-through, so that layer's
// saved method keeps working, until the control is freed. The links live
// with the control, so a hook whose control went first just forgets it.
#pragma once
#include <functional>
#include <memory>

#include "gui/messages.h"

namespace gui {

class TControl;
class TWindowMethodHook;

// One layer in a control's chain of window methods; owned by the control.
struct TWindowMethodLink {
  TControl* Control = nullptr;
  TWndMethod Previous;
  // The hook it belongs to; none once it is only a pass-through.
  TWindowMethodHook* Hook = nullptr;
  std::function<void(TMessage&)> Handler;

  void Method(TMessage& message);
  TWndMethod AsMethod() { return TWndMethod::Bind<TWindowMethodLink, &TWindowMethodLink::Method>(this); }
};

class TWindowMethodHook {
 public:
  using THandler = std::function<void(TMessage&)>;

  TWindowMethodHook() = default;
  TWindowMethodHook(const TWindowMethodHook&) = delete;
  TWindowMethodHook& operator=(const TWindowMethodHook&) = delete;
  ~TWindowMethodHook() { Detach(); }

  // False when the hook is attached already or there is no control.
  bool Attach(TControl* control, THandler handler);
  void Detach();
  bool Attached() const { return link_ != nullptr; }
  TControl* Control() const { return link_ ? link_->Control : nullptr; }
  // The method in front of the control before the hook last attached; kept
  // after Detach, so a message being handled while detaching still reaches it.
  TWndMethod Previous() const { return previous_; }
  void CallPrevious(TMessage& message) const;

  // Links alive in every control's chain, pass-throughs included.
  static long LiveCount();

 private:
  friend class TControl;
  // The control is being freed and its links with it.
  void ControlGone() {
    link_ = nullptr;
    previous_ = {};
  }

  TWindowMethodLink* link_ = nullptr;
  TWndMethod previous_;
};

}  // namespace gui
