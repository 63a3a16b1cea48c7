#include "skin/form/control_discovery.h"

#include <algorithm>
#include <cctype>
#include <cwctype>

#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/form/discovery_rules.h"
#include "skin/form/skin_form.h"
#include "skin/form/skinner_registry.h"

namespace skin {

namespace {

TDiscoveryObserver& Observer() {
  static TDiscoveryObserver observer;
  return observer;
}

// The canvas every control skinner binds to the device context it draws on.
gui::TCanvas& ControlCanvas() {
  static gui::TCanvas canvas;
  return canvas;
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
  s.Controls = data.SkinControls;
  s.DisableTag = data.DisableTag;
  s.HasTabsElement = data.Skin().Tabs != nullptr;
  s.Skin3rd = data.Skin3rd();
  return s;
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

bool Listed(const TWinSkinForm& form, const TSkinControl* skinner) {
  const auto& list = form.ControlSkinners();
  return std::find(list.begin(), list.end(), skinner) != list.end();
}

// An attached skinner stands in the form skinner's list. One whose attach
// failed (its window carries another layer, say) is not, and is freed: the
// window is not skinned, and nothing may count it as skinned.
TSkinControl* KeepIfAttached(TWinSkinForm& form, TSkinControl* skinner) {
  if (Listed(form, skinner)) return skinner;
  delete skinner;
  return nullptr;
}

// Makes the skinner a plan names for `component` and attaches it; nullptr
// when its kind has no skinner yet or the attach failed.
TSkinControl* CreateAndAttach(TWinSkinForm& form, gui::TComponent* component, const TSkinnerPlan& plan) {
  const TSkinnerEntry& entry = SkinnerEntry(plan.Kind);
  if (!entry.Create) return nullptr;
  TSkinControl* skinner = entry.Create(plan.OwnedByForm ? static_cast<gui::TComponent*>(&form) : component);
  switch (plan.Via) {
    case TAttachVia::Control:
      skinner->AttachControl(&form, form.SkinData, &ControlCanvas(), plan.Recolor);
      break;
    case TAttachVia::ScrollBars:
      if (auto* bars = dynamic_cast<TSkinScrollbar*>(skinner)) {
        bars->AttachScrollBars(dynamic_cast<gui::TWinControl*>(component), form.SkinData, &ControlCanvas(), &form,
                               plan.OwnThumbTracking);
      } else {
        skinner->AttachControl(&form, form.SkinData, &ControlCanvas(), plan.Recolor);
      }
      break;
    case TAttachVia::Handle:
      if (auto* control = dynamic_cast<gui::TWinControl*>(component))
        skinner->AttachWindow(control->Handle(), form.SkinData, &form, &ControlCanvas());
      break;
    case TAttachVia::Graphic:
      if (auto* speed = dynamic_cast<TSkinSpeedButton*>(skinner)) speed->AttachGraphicControl(&form, form.SkinData, &ControlCanvas());
      break;
  }
  return KeepIfAttached(form, skinner);
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
    if (auto* control = dynamic_cast<gui::TControl*>(component)) control->SetColor(form.SkinData->Skin().Colours.ButtonFace);
  if (d.WalkChildren) SkinComponents(form, component);
}

TSkinDecision Finish(gui::TComponent* component, const TSkinDecision& d) {
  if (Observer()) Observer()(component, d);
  return d;
}

}  // namespace

void SetDiscoveryObserver(TDiscoveryObserver observer) { Observer() = std::move(observer); }

void SkinComponents(TWinSkinForm& form, gui::TComponent* container) {
  form.PurgeDestroyedControls();
  if (!container || !form.SkinData) return;
  for (gui::TComponent* component : std::vector<gui::TComponent*>(container->Components()))
    SkinComponent(form, component, container);
}

bool IsAlreadySkinned(const TWinSkinForm& form, gui::TComponent* component) {
  const std::string name = component->Name();
  const std::string lower = Lower(name);
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  for (TSkinControlBase* base : form.ControlSkinners()) {
    auto* skinner = dynamic_cast<TSkinControl*>(base);
    if (skinner && skinner->GraphicControl) {
      if (skinner->GraphicControl == component) return true;
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
  if (component->Tag() == 55) return true;
  static const char* const kScrolled[] = {"TCustomListBox", "TCustomMemo", "TCustomTreeView", "TCustomRichEdit",
                                          "TCustomGrid"};
  return std::any_of(std::begin(kScrolled), std::end(kScrolled), [&](const char* k) { return component->InheritsFrom(k); });
}

bool SkinByMapping(TWinSkinForm& form, const std::string& upperClassName, gui::TComponent* component,
                   TSkinDecision& decision) {
  TDiscoveryDecision d;
  if (!DecideByMapping(upperClassName, FactsOf(component), SettingsOf(*form.SkinData), d)) return false;
  Apply(form, component, d, decision);
  return true;
}

TSkinDecision SkinComponent(TWinSkinForm& form, gui::TComponent* component, gui::TComponent* container) {
  TSkinDecision d;
  TSkinData* data = form.SkinData;
  if (!component || !data) return d;
  if (DisabledByTag(component->Tag(), data->DisableTag)) return Finish(component, (d.Rule = d.pcDisabledTag, d));
  if (IsAlreadySkinned(form, component)) return Finish(component, (d.Rule = d.pcAlreadySkinned, d));
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
    }
    if (!windowed->HandleAllocated()) return Finish(component, (d.Rule = d.pcNoHandle, d));
  }
  const TComponentFacts facts = FactsOf(component);
  // The application's own choice comes first, for every component.
  if (data->OnSkinControl) {
    TSkinControl* skinned = nullptr;
    data->OnSkinControl(&form, data, container, component, gui::Utf8ToWide(facts.ClassName), skinned);
    if (skinned) {
      d.Rule = d.pcEvent;
      d.Skinner = skinned->ClassName();
      if (!form.AddControlSkinner(skinned)) {
        skinned->AttachControl(&form, data, &ControlCanvas(), skinned->Recolor);
        // The application's skinner is its own: a failed one is left
        // unlisted, not freed.
        d.Created = Listed(form, skinned);
        if (d.Created && (facts.Kinds & ckContainer)) SkinComponents(form, component);
      }
      return Finish(component, d);
    }
  }
  Apply(form, component, DecideComponent(facts, SettingsOf(*data)), d);
  return Finish(component, d);
}

void SkinChildWindows(TWinSkinForm& form) {
  if (!form.Handle) return;
  for (HWND child = GetTopWindow(form.Handle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(form, child);
}

std::string SkinChildWindow(TWinSkinForm& form, HWND wnd) {
  if (!wnd || form.FindWindowSkinner(wnd) || !form.SkinData) return {};
  wchar_t buffer[101] = {};
  GetClassNameW(wnd, buffer, 101);
  HWND firstChild = GetWindow(wnd, GW_CHILD);
  const TChildWindowDecision d =
      DecideChildWindow(buffer, static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)), firstChild != nullptr);
  if (d.Kind == TSkinnerKind::None) return {};
  const TSkinnerEntry& entry = SkinnerEntry(d.Kind);
  if (entry.Create) {
    TSkinControl* skinner = entry.Create(&form);
    skinner->AttachWindow(d.OnFirstChild ? firstChild : wnd, form.SkinData, &form, &ControlCanvas());
    if (!KeepIfAttached(form, skinner)) return {};
  }
  return entry.ClassName;
}

std::string ButtonSkinnerForStyle(DWORD style) {
  const TSkinnerKind kind = ButtonKindForStyle(style);
  return kind == TSkinnerKind::None ? std::string() : SkinnerClassName(kind);
}

int ToolbarButtonFrame(unsigned state) {
  if (state & 1) return 1;
  if (state & (16 | 64)) return 4;
  if (state & (2 | 4)) return 3;
  if (state & 32) return 1;
  return 0;
}

int ToolbarDrawButton(TWinSkinForm& form, HDC dc, const RECT& bounds, unsigned state) {
  if (!form.SkinData || form.SkinState != TWinSkinForm::ssRunning) return 0;
  TDataSkinButton& e = form.SkinData->Skin().ButtonsElement;
  if (e.Image.Empty()) return 0;
  const int frame = ToolbarButtonFrame(state);
  if (!frame) return 0;
  if (frame == 1 && e.HasNormalColour2) SetTextColor(dc, SkinColourToRGB(e.NormalColour2));
  if (frame == 4 && e.HasMouseOverColour2) SetTextColor(dc, SkinColourToRGB(e.MouseOverColour2));
  DrawNineSlice(dc, bounds, e.Image, false, false, e.Trans != 0, 5, frame, e.Margins());
  return frame;
}

}  // namespace skin
