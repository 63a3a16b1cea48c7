#include "gui/actions.h"

#include <algorithm>
#include <cwctype>
#include <unordered_set>

#include "gui/text.h"

namespace gui {

namespace {

// Per thread. Never destroyed: actions freed at program exit still
// unregister here.
std::unordered_set<TAction*>& LiveActions() {
  thread_local auto* actions = new std::unordered_set<TAction*>;
  return *actions;
}

struct KeyName {
  WORD key;
  const wchar_t* name;
};
// Names that do not depend on the keyboard layout, so that menus read the
// same everywhere and texts in form descriptions always parse.
constexpr KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},  {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},   {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},   {VK_END, L"End"},      {VK_HOME, L"Home"},    {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},      {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"},   {VK_DELETE, L"Del"},
};

std::wstring KeyText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

bool SameWide(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return towupper(x) == towupper(y); });
}

WORD KeyFromText(std::wstring_view text) {
  if (text.size() == 1) {
    const auto c = static_cast<wchar_t>(towupper(text[0]));
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z')) return static_cast<WORD>(c);
  }
  for (WORD key = VK_F1; key <= VK_F24; ++key)
    if (SameWide(text, KeyText(key))) return key;
  for (const KeyName& k : kKeyNames)
    if (SameWide(text, k.name)) return k.key;
  return 0;
}

}  // namespace

TShortCut ShortCutFromKey(WORD key) {
  TShortCut modifiers = scNone;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) modifiers |= scAlt;
  return ShortCut(key, modifiers);
}

std::wstring ShortCutToText(TShortCut shortCut) {
  const std::wstring key = KeyText(static_cast<WORD>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + key;
}

TShortCut TextToShortCut(std::wstring_view text) {
  TShortCut modifiers = scNone;
  for (;;) {
    const std::size_t plus = text.find(L'+');
    // A lone "+" at the end would be the key itself, which has no name here.
    if (plus == std::wstring_view::npos || plus + 1 == text.size()) break;
    const std::wstring_view word = text.substr(0, plus);
    if (SameWide(word, L"Shift")) {
      modifiers |= scShift;
    } else if (SameWide(word, L"Ctrl")) {
      modifiers |= scCtrl;
    } else if (SameWide(word, L"Alt")) {
      modifiers |= scAlt;
    } else {
      return scNone;
    }
    text.remove_prefix(plus + 1);
  }
  const WORD key = KeyFromText(text);
  return key ? ShortCut(key, modifiers) : scNone;
}

TShortCut ShortCutFromValue(const TPropValue& value) {
  if (value.kind == TPropValue::Kind::Integer) return static_cast<TShortCut>(value.integer);
  return TextToShortCut(Utf8ToWide(value.text));
}

// ---------------------------------------------------------------------------
// TAction

TAction::TAction(TComponent* owner) : TComponent(owner) { LiveActions().insert(this); }

TAction::~TAction() {
  BeginDestroy();
  LiveActions().erase(this);
  // Linked items keep the state they have and forget the action.
  for (TActionClient* client : std::vector<TActionClient*>(clients_)) client->ActionChanged(*this);
}

void TAction::RegisterClient(TActionClient* client) {
  if (client && std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TAction::UnregisterClient(TActionClient* client) { std::erase(clients_, client); }

void TAction::Changed() {
  for (TActionClient* client : std::vector<TActionClient*>(clients_)) client->ActionChanged(*this);
}

void TAction::SetCaption(const std::wstring& caption) {
  if (AssignChanged(caption_, caption)) Changed();
}

void TAction::SetEnabled(bool enabled) {
  if (AssignChanged(enabled_, enabled)) Changed();
}

void TAction::SetChecked(bool checked) {
  if (AssignChanged(checked_, checked)) Changed();
}

void TAction::SetVisible(bool visible) {
  if (AssignChanged(visible_, visible)) Changed();
}

void TAction::SetShortCut(TShortCut shortCut) {
  if (AssignChanged(shortCut_, shortCut)) Changed();
}

void TAction::SetImageIndex(int index) {
  if (AssignChanged(imageIndex_, index)) Changed();
}

bool TAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

bool TAction::Execute() {
  Update();
  if (!enabled_ || !OnExecute) return false;
  OnExecute(this);
  return true;
}

void TAction::UpdateAll() {
  // A handler may free actions: walk a copy and skip the ones gone.
  const std::vector<TAction*> actions(LiveActions().begin(), LiveActions().end());
  for (TAction* action : actions)
    if (LiveActions().contains(action) && !action->IsDestroying()) action->Update();
}

void TAction::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TAction> b(list);
  b.String("Caption", [](TAction& a) { return a.Caption(); }, [](TAction& a, const std::wstring& v) { a.SetCaption(v); });
  b.Boolean("Enabled", [](TAction& a) { return a.Enabled(); }, [](TAction& a, bool v) { a.SetEnabled(v); });
  b.Boolean("Checked", [](TAction& a) { return a.Checked(); }, [](TAction& a, bool v) { a.SetChecked(v); });
  b.Boolean("Visible", [](TAction& a) { return a.Visible(); }, [](TAction& a, bool v) { a.SetVisible(v); });
  b.Integer("ImageIndex", [](TAction& a) { return a.ImageIndex(); }, [](TAction& a, int v) { a.SetImageIndex(v); });
  TPropInfo shortCut{"ShortCut", TPropKind::Integer, {}, {}, {}, {}, {}, {}};
  shortCut.Get = [](TObject& o) { return prop::IntValue(static_cast<TAction&>(o).ShortCut()); };
  shortCut.Set = [](TObject& o, const TPropValue& v) { static_cast<TAction&>(o).SetShortCut(ShortCutFromValue(v)); };
  list.push_back(std::move(shortCut));
  b.Event("OnExecute", &TAction::OnExecute);
  b.Event("OnUpdate", &TAction::OnUpdate);
}

}  // namespace gui
