// Clickable objects of the skinned non-client area: the caption buttons (and,
// with the menu bar, its items). One object at a time is hot or pressed; the
// form skinner remembers it as its CurrentObject().
#pragma once
#include <windows.h>

namespace skin {

class TWinSkinForm;
class TDataSkinSysButton;

class TNCObject {
 public:
  enum TState { stNormal = 1, stPressed = 2, stHot = 3 };

  TNCObject(TWinSkinForm* form) : Form(form) {}
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;
  virtual ~TNCObject() = default;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm* Form;
  RECT BoundsRect{};
  bool Visible = true;
  int State = stNormal;
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* element) : TNCObject(form), Element(element) {}
  void Paint() override;

  TDataSkinSysButton* Element;
};

}  // namespace skin
