// Actions: one command (caption, enabled and checked state, shortcut, what
// it does) that several user-interface items follow. OnUpdate lets the
// program set the state when the application is idle and before a menu
// opens; every linked item takes the new state at once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/classes.h"

namespace gui {

class TAction;

// A key with its modifiers, as menus show it after a tab ("Ctrl+O").
using TShortCut = std::uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// A virtual key combined with scShift, scCtrl and scAlt.
constexpr TShortCut ShortCut(WORD key, TShortCut modifiers) {
  return static_cast<TShortCut>((key & 0xFF) | (modifiers & (scShift | scCtrl | scAlt)));
}
// The key of a key message with the modifiers held down right now.
TShortCut ShortCutFromKey(WORD key);
std::wstring ShortCutToText(TShortCut shortCut);
// "Ctrl+Shift+F5", "Alt+X", "Del": scNone when the text names no key.
TShortCut TextToShortCut(std::wstring_view text);

// What an item linked to an action does when the action changes.
class TActionClient {
 public:
  virtual void ActionChanged(TAction& action) = 0;

 protected:
  ~TActionClient() = default;
};

class TAction : public TComponent {
  GUI_CLASS(TAction, TComponent)
 public:
  explicit TAction(TComponent* owner);
  ~TAction() override;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // Runs OnUpdate; false when there is none.
  bool Update();
  // Updates, then runs OnExecute when the action is enabled; false when
  // nothing ran.
  bool Execute();

  void RegisterClient(TActionClient* client);
  void UnregisterClient(TActionClient* client);

  // Updates every action of the process (the application does this when idle).
  static void UpdateAll();

  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  void Changed();

  std::wstring caption_;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
  TShortCut shortCut_ = scNone;
  int imageIndex_ = -1;
  std::vector<TActionClient*> clients_;
};

// The published "ShortCut" property: an integer in the form description,
// or its text ('Ctrl+O').
TShortCut ShortCutFromValue(const TPropValue& value);

}  // namespace gui
