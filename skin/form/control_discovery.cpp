#include "skin/form/control_discovery.h"

#include <algorithm>
#include <cctype>

#include "gui/buttons.h"
#include "gui/comctrls.h"
#include "gui/controls.h"
#include "gui/edits.h"
#include "gui/extctrls.h"
#include "gui/forms.h"
#include "gui/listview.h"
#include "gui/lists.h"
#include "gui/ranges.h"
#include "gui/stdctrls.h"
#include "gui/tabs.h"
#include "gui/text.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/form/skinner_registry.h"

namespace skin {

namespace {

TDiscoveryObserver& Observer() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* observer = new TDiscoveryObserver;
  return *observer;
}

// The canvas every control skinner binds to the device context it draws on.
gui::TCanvas& ControlCanvas() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* canvas = new gui::TCanvas;
  return *canvas;
}

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

TDiscoverySettings SettingsOf(TSkinData& data) {
  TDiscoverySettings s;
  s.Controls = data.SkinControls();
  s.DisableTag = data.DisableTag();
  s.HasTabsElement = data.Skin().Tabs != nullptr;
  s.Skin3rd = data.Skin3rd();
  return s;
}

template <class T>
TKindClass KindOf(TComponentKind kind) {
  return TKindClass{kind, T::StaticClass().Name};
}

// What the rules read of a component, gathered once.
TComponentFacts FactsOf(gui::TComponent* component) {
  TComponentFacts f;
  f.ClassName = Upper(component->ClassName());
  for (const TKindClass& k : KindClasses())
    if (component->InheritsFrom(k.ClassName)) f.Kinds |= k.Kind;
  f.Tag = component->Tag();
  f.HasScrollBars = HasScrollBars(component);
  f.UpDownMode = gui::GetPropValue(*component, "Kind") == "dtkTime";
  return f;
}

// Makes a skinner of `kind` owned by `owner` and attaches it as `how` says.
// One whose attach failed (its window carries another layer, say) is freed:
// the window is not skinned, and nothing may count it as skinned.
TSkinControl* MakeAttached(TSkinnerKind kind, gui::TComponent* owner, const TSkinnerAttach& how) {
  TSkinControl* skinner = SkinnerEntry(kind).Create(owner);
  if (skinner->Attach(how)) return skinner;
  delete skinner;
  return nullptr;
}

// What the form skinner's skinners work with.
TSkinnerAttach AttachWith(TWinSkinForm& form) {
  return TSkinnerAttach{.Data = form.SkinData(), .Host = &form, .Canvas = &ControlCanvas()};
}

// Makes the skinner a plan names for `component` and attaches it to the
// component or its window; nullptr when the attach failed.
TSkinControl* CreateAndAttach(TWinSkinForm& form, gui::TComponent* component, const TSkinnerPlan& plan) {
  TSkinnerAttach how = AttachWith(form);
  how.Recolor = plan.Recolor;
  how.OwnThumbTracking = plan.OwnThumbTracking;
  if (plan.Via == TAttachVia::Window) {
    if (auto* windowed = dynamic_cast<gui::TWinControl*>(component)) how.Window = windowed->Handle();
  } else {
    how.Control = dynamic_cast<gui::TControl*>(component);
  }
  return MakeAttached(plan.Kind, plan.OwnedByForm ? static_cast<gui::TComponent*>(&form) : component, how);
}

// Carries out what the rules decided for one component.
void Apply(TWinSkinForm& form, gui::TComponent* component, const TDiscoveryDecision& d, TSkinDecision& seen) {
  seen.Rule = d.Rule;
  seen.Mapped = d.Mapped;
  for (const auto& [name, value] : d.Properties) gui::SetPropValue(*component, name, value);
  if (d.ChildSkinner != TSkinnerKind::None) {
    if (auto* group = dynamic_cast<gui::TWinControl*>(component)) {
      for (gui::TControl* child : std::vector<gui::TControl*>(group->Controls()))
        if (dynamic_cast<gui::TWinControl*>(child)) CreateAndAttach(form, child, TSkinnerPlan{d.ChildSkinner});
    }
  }
  if (d.Skinner.Kind != TSkinnerKind::None) {
    seen.Skinner = SkinnerClassName(d.Skinner.Kind);
    seen.Created = CreateAndAttach(form, component, d.Skinner) != nullptr;
  }
  if (d.FaceColourAfter)
    if (auto* control = dynamic_cast<gui::TControl*>(component)) control->SetColor(form.SkinData()->Skin().Colours.ButtonFace);
  if (d.WalkChildren) SkinComponents(form, component);
}

TSkinDecision Finish(gui::TComponent* component, const TSkinDecision& d) {
  if (Observer()) Observer()(component, d);
  return d;
}

}  // namespace

const std::vector<TKindClass>& KindClasses() {
  static const std::vector<TKindClass> classes = {
      KindOf<gui::TTabControl>(ckTabControl),       KindOf<gui::TPageControl>(ckPageControl),
      KindOf<gui::TCustomCheckBox>(ckCheckBox),     KindOf<gui::TCustomGroupBox>(ckGroupBox),
      KindOf<gui::TRadioButton>(ckRadioButton),     KindOf<gui::TStatusBar>(ckStatusBar),
      KindOf<gui::TProgressBar>(ckProgressBar),     KindOf<gui::TScrollBar>(ckScrollBar),
      KindOf<gui::TCustomComboBox>(ckComboBox),     KindOf<gui::TBitBtn>(ckBitButton),
      KindOf<gui::TSpeedButton>(ckSpeedButton),     KindOf<gui::TCustomPanel>(ckPanel),
      KindOf<gui::TCustomListView>(ckListView),     KindOf<gui::TCustomListBox>(ckListBox),
      KindOf<gui::TButton>(ckPushButton),           KindOf<gui::TCustomEdit>(ckEdit),
      KindOf<gui::TCustomForm>(ckForm),
  };
  return classes;
}

void SetDiscoveryObserver(TDiscoveryObserver observer) { Observer() = std::move(observer); }

void SkinComponents(TWinSkinForm& form, gui::TComponent* container) {
  form.PurgeDestroyedControls();
  if (!container || !form.SkinData()) return;
  for (gui::TComponent* component : std::vector<gui::TComponent*>(container->Components()))
    SkinComponent(form, component, container);
}

bool IsAlreadySkinned(const TWinSkinForm& form, gui::TComponent* component) {
  const std::string name = component->Name();
  const std::string lower = Lower(name);
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  for (TSkinControlBase* base : form.ControlSkinners()) {
    auto* skinner = dynamic_cast<TSkinControl*>(base);
    if (skinner && skinner->GraphicControl()) {
      if (skinner->GraphicControl() == component) return true;
      continue;
    }
    if (!windowed) continue;
    if (windowed->HandleAllocated()) {
      if (windowed->Handle() == base->SkinnedWindow()) return true;
      continue;
    }
    return lower.find("preview") != std::string::npos || name == "TQRStandardPreview" ||
           name == "TppPrintPreview" || name == "TdxfmStdPreview";
  }
  return false;
}

bool HasScrollBars(gui::TComponent* component) {
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  if (!windowed) return false;
  if (windowed->HandleAllocated() &&
      (GetWindowLongPtrW(windowed->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0)
    return true;
  if (component->Tag() == kScrollBarsTag) return true;
  static const char* const kScrolled[] = {gui::TCustomListBox::StaticClass().Name,
                                          gui::TCustomMemo::StaticClass().Name};
  return std::any_of(std::begin(kScrolled), std::end(kScrolled), [&](const char* k) { return component->InheritsFrom(k); });
}

TSkinDecision SkinComponent(TWinSkinForm& form, gui::TComponent* component, gui::TComponent* container) {
  TSkinDecision d;
  TSkinData* data = form.SkinData();
  if (!component || !data) return d;
  if (DisabledByTag(component->Tag(), data->DisableTag())) return Finish(component, (d.Rule = pcDisabledTag, d));
  if (IsAlreadySkinned(form, component)) return Finish(component, (d.Rule = pcAlreadySkinned, d));
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
    }
    if (!windowed->HandleAllocated()) return Finish(component, (d.Rule = pcNoHandle, d));
  }
  const TComponentFacts facts = FactsOf(component);
  // The application's own choice comes first, for every component.
  if (data->OnSkinControl) {
    TSkinControl* skinned = nullptr;
    data->OnSkinControl(&form, data, container, component, gui::Utf8ToWide(facts.ClassName), skinned);
    if (skinned) {
      d.Rule = pcEvent;
      d.Skinner = skinned->ClassName();
      if (!form.AddControlSkinner(skinned)) {
        // The application's skinner is its own: a failed one is left
        // unlisted, not freed.
        d.Created = skinned->AttachControl(&form, data, &ControlCanvas(), skinned->Recolor());
        if (d.Created && (facts.Kinds & ckContainer)) SkinComponents(form, component);
      }
      return Finish(component, d);
    }
  }
  Apply(form, component, DecideComponent(facts, SettingsOf(*data)), d);
  return Finish(component, d);
}

namespace {

// The skinner the class table gives one child window, made and attached;
// answers whether its children are to be walked too.
bool SkinOneChildWindow(TWinSkinForm& form, HWND wnd, std::string* skinnerClass) {
  wchar_t name[101] = {}, real[101] = {};
  GetClassNameW(wnd, name, 101);
  RealGetWindowClassW(wnd, real, 101);
  const TChildWindowDecision d =
      DecideChildWindow(name, static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)),
                        static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE)), real);
  if (d.Kind == TSkinnerKind::None || form.FindWindowSkinner(wnd)) return d.WalkChildren;
  TSkinnerAttach how = AttachWith(form);
  how.Window = wnd;
  how.Classic = d.Classic;
  if (MakeAttached(d.Kind, &form, how) && skinnerClass) *skinnerClass = SkinnerClassName(d.Kind);
  return d.WalkChildren;
}

void SkinChildWindowsOf(TWinSkinForm& form, HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)) continue;
    // An MDI child is a window of its own, skinned as one; a window of
    // another thread is that thread's.
    if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) continue;
    if (GetWindowThreadProcessId(child, nullptr) != GetCurrentThreadId()) continue;
    if (SkinOneChildWindow(form, child, nullptr)) SkinChildWindowsOf(form, child);
  }
}

}  // namespace

void SkinChildWindows(TWinSkinForm& form) {
  if (form.Handle() && form.SkinData()) SkinChildWindowsOf(form, form.Handle());
}

std::string SkinChildWindow(TWinSkinForm& form, HWND wnd) {
  if (!wnd || form.FindWindowSkinner(wnd) || !form.SkinData()) return {};
  std::string skinner;
  SkinOneChildWindow(form, wnd, &skinner);
  return skinner;
}

std::string ButtonSkinnerForStyle(DWORD style) {
  const TSkinnerKind kind = ButtonKindForStyle(style);
  return kind == TSkinnerKind::None ? std::string() : SkinnerClassName(kind);
}

}  // namespace skin
