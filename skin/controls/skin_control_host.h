// What a control skinner and the form skinner that lists it know of each
// other: the control skinner through TSkinControlBase, the list's owner
// through TSkinControlHost. The control skinners depend on nothing above
// them; the form skinner is the host.
#pragma once
#include <windows.h>

#include <vector>

namespace skin {

// A control skinner's life: created, attached to its control, and dead once
// the control's window is gone (it waits for the form skinner to free it).
enum TSkinnerState { ksCreated = 0, ksAttached = 1, ksDead = 6 };

class TSkinControlBase {
 public:
  virtual ~TSkinControlBase() = default;
  virtual HWND SkinnedWindow() const = 0;
  virtual TSkinnerState SkinnerState() const = 0;
  virtual void RestoreColor() = 0;
  virtual void SkinChanged() = 0;
  // The hot push button: the form skinner takes the hot look off it when the
  // pointer has left the rectangle it was last painted in (screen coordinates).
  virtual void SendMouseLeave() = 0;
  virtual RECT LastPaintedRect() const = 0;
  // A notification the skinned control sent its parent (custom drawing,
  // which a control asks of its parent rather than of itself), handed on by
  // the skinned parent: true when the skinner answered it with `result`.
  virtual bool ParentNotify(const NMHDR&, LRESULT&) { return false; }

  // Frees the skinner: at once or, while it is handling a message of its
  // window (the program destroyed the window from inside that handling),
  // once that message is done, having forgotten its host.
  void Release();

 protected:
  // Held by every way the system enters the skinner with a message.
  class TBusy {
   public:
    explicit TBusy(TSkinControlBase& skinner) : skinner_(skinner) { ++skinner_.busy_; }
    ~TBusy() {
      if (--skinner_.busy_ == 0 && skinner_.released_) delete &skinner_;
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

   private:
    TSkinControlBase& skinner_;
  };
  // Lets go of the host before a late free; false when the skinner cannot
  // wait (another object owns it and frees it).
  virtual bool LetGoOfHost() { return true; }

 private:
  int busy_ = 0;
  bool released_ = false;
};

// The list a control skinner stands in, and the one push-button skinner of
// the window that shows the hot look. The form skinner is the host of its
// window's control skinners; the control skinners' own tests use a host of
// their own.
class TSkinControlHost {
 public:
  TSkinControlHost() = default;
  TSkinControlHost(const TSkinControlHost&) = delete;
  TSkinControlHost& operator=(const TSkinControlHost&) = delete;
  virtual ~TSkinControlHost();

  // True when the skinner was listed already (it is not added twice).
  virtual bool AddControlSkinner(TSkinControlBase* skinner);
  virtual void RemoveControlSkinner(TSkinControlBase* skinner);
  // Frees the skinners whose window is gone.
  void PurgeDestroyedControls();
  // Frees every skinner, giving the living ones' colours back first.
  void FreeControlSkinners();
  TSkinControlBase* FindWindowSkinner(HWND wnd) const;
  // Hands a WM_NOTIFY the window got on to the skinner of the control that
  // sent it: true when that skinner answered it with `result`.
  bool RouteParentNotify(LPARAM header, LRESULT& result) const;
  const std::vector<TSkinControlBase*>& ControlSkinners() const { return controlSkinners_; }

  // The push button showing the hot look; none when no button does.
  TSkinControlBase* HotButton() const { return hotButton_; }
  void SetHotButton(TSkinControlBase* button) { hotButton_ = button; }

 private:
  std::vector<TSkinControlBase*> controlSkinners_;
  TSkinControlBase* hotButton_ = nullptr;
};

}  // namespace skin
