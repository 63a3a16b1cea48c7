// Clickable objects of the skinned non-client area: the caption buttons (and,
// with the menu bar, its items). One object at a time is hot or pressed; the
// form skinner remembers it as its CurrentObject(). An object keeps only its
// state: where it lies, and whether it shows, is the layout's to say (the
// frame's for a caption button, the bar's for an item), read when it is
// found or painted.
#pragma once
#include <windows.h>

#include <cstddef>

namespace skin {

class TWinSkinForm;
class TDataSkinSysButton;

class TNCObject {
 public:
  enum TState { stNormal = 1, stPressed = 2, stHot = 3 };

  explicit TNCObject(TWinSkinForm* form) : Form(form) {}
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;
  // Takes any fade of the object's look with it.
  virtual ~TNCObject();

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm* Form;
  int State = stNormal;
};

// A caption button: the skin's element it draws, and its position among the
// frame's buttons (the layout's TFrameLayout::Buttons index).
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* element, std::size_t index)
      : TNCObject(form), Element(element), Index(index) {}
  void Paint() override;

  TDataSkinSysButton* const Element;
  const std::size_t Index;
};

}  // namespace skin
