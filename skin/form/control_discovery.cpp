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
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/form/skin_form.h"

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

// The framework classes behind the kinds of control the chain names. Kinds
// the framework does not have yet match nothing until their classes arrive.
namespace kind {
constexpr const char* TabControl = "TTabControl";
constexpr const char* PageControl = "TPageControl";
constexpr const char* RadioGroup = "TCustomRadioGroup";
constexpr const char* ToolBar = "TToolBar";
constexpr const char* StatusBar = "TStatusBar";
constexpr const char* ProgressBar = "TProgressBar";
constexpr const char* ScrollBar = "TScrollBar";
constexpr const char* ComboBox = "TCustomComboBox";
constexpr const char* BitButton = "TBitBtn";
constexpr const char* SpeedButton = "TSpeedButton";
constexpr const char* Panel = "TCustomPanel";
constexpr const char* ListView = "TCustomListView";
constexpr const char* ScrolledListA = "TCustomListBox";
constexpr const char* ScrolledListB = "TCustomTreeView";
constexpr const char* Edit = "TCustomEdit";
constexpr const char* Frame = "TCustomFrame";
constexpr const char* ScrollBox = "TScrollBox";
constexpr const char* kScrolled[] = {"TCustomListBox", "TCustomMemo", "TCustomTreeView", "TCustomRichEdit",
                                     "TCustomGrid"};
}  // namespace kind

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool Is(gui::TComponent* c, const char* className) { return c->InheritsFrom(className); }

bool HasTabs(TSkinData* data) { return data->HasControl(xcTab) && data->Skin().Tabs != nullptr; }

// A skinner owned by `owner` and attached to `component` through its window method.
template <class T>
T* AttachNew(TWinSkinForm& form, gui::TComponent* component, bool recolor) {
  auto* skinner = new T(component);
  skinner->AttachControl(&form, form.SkinData, &ControlCanvas(), recolor);
  return skinner;
}

// Radio-group kinds: a radio skinner for each child, then the group box look.
void SkinGroupOfButtons(TWinSkinForm& form, gui::TComponent* component, bool checks, bool childrenOn) {
  if (auto* group = dynamic_cast<gui::TWinControl*>(component); group && childrenOn) {
    for (gui::TControl* child : std::vector<gui::TControl*>(group->Controls())) {
      if (!dynamic_cast<gui::TWinControl*>(child)) continue;
      if (checks)
        AttachNew<TSkinCheckBox>(form, child, false);
      else
        AttachNew<TSkinRadioButton>(form, child, false);
    }
  }
  AttachNew<TSkinGroupBox>(form, component, true);
}

void Decide(TSkinDecision& d, int rule, const char* skinner, bool created) {
  d.Rule = rule;
  d.Skinner = skinner ? skinner : "";
  d.Created = created;
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
  return std::any_of(std::begin(kind::kScrolled), std::end(kind::kScrolled),
                     [&](const char* k) { return Is(component, k); });
}

bool SkinByMapping(TWinSkinForm& form, const std::string& upperClassName, gui::TComponent* component,
                   TSkinDecision& d) {
  TSkinData* data = form.SkinData;
  const std::string key = Lower(upperClassName) + "=";
  std::string found;
  bool matched = false;
  for (const std::wstring& line : data->Skin3rd()) {
    const std::string text = Lower(gui::WideToUtf8(line));
    if (text.rfind(key, 0) != 0) continue;
    found = text.substr(text.find('=') + 1, 50);
    matched = true;
    break;
  }
  if (!matched) return false;
  d.Mapped = true;
  d.Rule = 2;
  const auto has = [data](TSkinControlType t) { return data->HasControl(t); };
  if (found == "combobox" && has(xcCombo)) {
    Decide(d, 2, "TSkinComBox", false);
  } else if (found == "edit" && has(xcEdit)) {
    Decide(d, 2, "TSkinEdit", false);
  } else if (found == "radiobutton" && has(xcRadioButton)) {
    AttachNew<TSkinRadioButton>(form, component, false);
    Decide(d, 2, "TSkinRadioButton", true);
  } else if (found == "panel" && has(xcPanel)) {
    gui::SetPropValue(*component, "Transparent", "True");
    AttachNew<TSkinBox>(form, component, true);
    Decide(d, 2, "TSkinBox", true);
  } else if (found == "trackbar" && has(xcButton)) {
    gui::SetPropValue(*component, "Transparent", "True");
    Decide(d, 2, "TSkinTrackBar", false);
  } else if (found == "button" && has(xcButton)) {
    AttachNew<TSkinButton>(form, component, false);
    Decide(d, 2, "TSkinButton", true);
  } else if (found == "tab" && HasTabs(data)) {
    Decide(d, 2, "TSkinTab", false);
  } else if (found == "progress" && has(xcProgress)) {
    Decide(d, 2, "TSkinProgress", false);
  } else if (found == "scrollbar" && has(xcScrollbar)) {
    Decide(d, 2, "TSkinScrollbar", false);
  } else if (found == "radiogroup" && has(xcPanel)) {
    SkinGroupOfButtons(form, component, false, has(xcRadioButton));
    Decide(d, 2, "TSkinGroupBox", true);
  } else if (found == "checkgroup" && has(xcPanel)) {
    // The children are check boxes, so the check-box switch gates them.
    SkinGroupOfButtons(form, component, true, has(xcCheckBox));
    Decide(d, 2, "TSkinGroupBox", true);
  } else if (found == "checkbox" && has(xcCheckBox)) {
    AttachNew<TSkinCheckBox>(form, component, false);
    Decide(d, 2, "TSkinCheckBox", true);
  }
  return true;
}

TSkinDecision SkinComponent(TWinSkinForm& form, gui::TComponent* component, gui::TComponent* container) {
  TSkinDecision d;
  TSkinData* data = form.SkinData;
  if (!component || !data) return d;
  if (component->Tag() % 100 == data->DisableTag) return Finish(component, (d.Rule = d.pcDisabledTag, d));
  if (IsAlreadySkinned(form, component)) return Finish(component, (d.Rule = d.pcAlreadySkinned, d));
  auto* windowed = dynamic_cast<gui::TWinControl*>(component);
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
    }
    if (!windowed->HandleAllocated()) return Finish(component, (d.Rule = d.pcNoHandle, d));
  }
  const std::string C = Upper(component->ClassName());
  if (data->OnSkinControl) {
    if (auto* control = dynamic_cast<gui::TControl*>(component)) {
      TSkinControl* skinned = nullptr;
      data->OnSkinControl(data, data, dynamic_cast<gui::TCustomForm*>(container) ? dynamic_cast<gui::TCustomForm*>(container) : form.Form,
                          control, gui::Utf8ToWide(C), skinned);
      if (skinned) {
        d.Rule = d.pcEvent;
        d.Skinner = skinned->ClassName();
        if (!form.AddControlSkinner(skinned)) {
          skinned->AttachControl(&form, data, &ControlCanvas(), skinned->Recolor);
          d.Created = true;
          if (Is(component, kind::Frame) || Is(component, kind::ScrollBox)) SkinComponents(form, component);
        }
        return Finish(component, d);
      }
    }
  }
  if (C == "TDBCOMBOBOXEH" || C == "TQRPREVIEW" || C == "TFRDESIGNERPAGE" || C == "TFRPBOX")
    return Finish(component, (d.Rule = d.pcExcluded, d));

  const auto has = [data](TSkinControlType t) { return data->HasControl(t); };
  if (Is(component, kind::TabControl) && HasTabs(data)) {
    Decide(d, 1, "TSkinTab", false);
  } else if (SkinByMapping(form, C, component, d)) {
    // decided by the table
  } else if (C == "TTABSET" && HasTabs(data)) {
    Decide(d, 3, "TSkinTab31", false);
  } else if (C == "TTABBEDNOTEBOOK" && HasTabs(data)) {
    Decide(d, 4, "TSkinTab", false);
  } else if (C == "TMVCPANEL") {
    Decide(d, 5, nullptr, false);
    SkinComponents(form, component);
  } else if (Is(component, kind::PageControl) && HasTabs(data)) {
    Decide(d, 6, "TSkinTab", false);
  } else if (Is(component, "TCustomCheckBox") && has(xcCheckBox)) {
    AttachNew<TSkinCheckBox>(form, component, false);
    Decide(d, 7, "TSkinCheckBox", true);
  } else if (C == "TTRACKBAR" && has(xcButton)) {
    Decide(d, 8, "TSkinTrackBar", false);
  } else if (C == "TUPDOWN" && has(xcButton)) {
    Decide(d, 9, "TSkinUpDown", false);
  } else if (Is(component, kind::RadioGroup) && has(xcRadioButton)) {
    SkinGroupOfButtons(form, component, false, true);
    Decide(d, 10, "TSkinGroupBox", true);
  } else if (C == "TDBNAVIGATOR" && has(xcPanel)) {
    gui::SetPropValue(*component, "Flat", "True");
    AttachNew<TSkinBox>(form, component, true);
    Decide(d, 11, "TSkinBox", true);
  } else if (Is(component, "TCustomGroupBox") && has(xcPanel)) {
    AttachNew<TSkinGroupBox>(form, component, true);
    Decide(d, 12, "TSkinGroupBox", true);
    SkinComponents(form, component);
  } else if (Is(component, "TRadioButton") && has(xcRadioButton)) {
    AttachNew<TSkinRadioButton>(form, component, false);
    Decide(d, 13, "TSkinRadioButton", true);
  } else if (Is(component, kind::ToolBar) && has(xcToolbar)) {
    gui::SetPropValue(*component, "Flat", "True");
    gui::SetPropValue(*component, "Transparent", "True");
    AttachNew<TSkinBox>(form, component, true);
    Decide(d, 14, "TSkinBox", true);
  } else if (Is(component, kind::StatusBar) && has(xcStatusBar)) {
    // The system's size grip stays: its style tells the skinner to draw the
    // skin's grip in its place.
    AttachNew<TSkinStatusBar>(form, component, false);
    Decide(d, 15, "TSkinStatusBar", true);
  } else if (Is(component, kind::ProgressBar) && has(xcProgress)) {
    Decide(d, 16, "TSkinProgress", false);
  } else if (Is(component, kind::ScrollBar) && has(xcScrollbar)) {
    Decide(d, 17, "TSkinScControl", false);
  } else if (Is(component, kind::ComboBox) && has(xcCombo)) {
    Decide(d, 18, "TSkinComBox", false);
  } else if (C == "TDATETIMEPICKER" && has(xcEdit)) {
    Decide(d, 19, gui::GetPropValue(*component, "Kind") == "dtkTime" ? "TSkinEdit" : "TSkinComBox", false);
  } else if (has(xcScrollbar) && C == "TRICHEDIT") {
    Decide(d, 20, "TSkinScrollbar", false);
  } else if (has(xcScrollbar) && (C == "TWWDBRICHEDIT" || C == "TDXDBMEMO")) {
    Decide(d, 21, "TSkinScrollbar", false);
  } else if (Is(component, kind::BitButton)) {
    const bool on = has(xcBitBtn);
    if (on) AttachNew<TSkinBitButton>(form, component, false);
    Decide(d, 22, on ? "TSkinBitButton" : nullptr, on);
  } else if (Is(component, kind::SpeedButton) && has(xcSpeedButton)) {
    auto* skinner = new TSkinSpeedButton(component);
    skinner->AttachGraphicControl(&form, data, &ControlCanvas());
    Decide(d, 23, "TSkinSpeedButton", true);
  } else if (Is(component, kind::Panel) && has(xcPanel)) {
    AttachNew<TSkinBox>(form, component, true);
    Decide(d, 24, "TSkinBox", true);
    SkinComponents(form, component);
  } else if ((C == "TDXTREELIST" || C == "TDXDBTREELIST" || C == "TDXDBGRID") && has(xcScrollbar)) {
    Decide(d, 25, "TSkinScrollbar", false);
  } else if (Is(component, kind::ListView) && has(xcScrollbar)) {
    Decide(d, 26, "TSkinListView", false);
  } else if (has(xcScrollbar) && Is(component, kind::ScrolledListA)) {
    Decide(d, 27, "TSkinScrollbar", false);
  } else if (has(xcScrollbar) && Is(component, kind::ScrolledListB)) {
    Decide(d, 28, "TSkinScrollbar", false);
  } else if (has(xcScrollbar) && HasScrollBars(component)) {
    Decide(d, 29, "TSkinScrollbar", false);
  } else if (Is(component, "TButton") && has(xcButton)) {
    AttachNew<TSkinButton>(form, component, false);
    Decide(d, 30, "TSkinButton", true);
  } else if (Is(component, kind::Edit) && has(xcEdit)) {
    Decide(d, 31, "TSkinEdit", false);
  } else if (Is(component, kind::Frame) || Is(component, kind::ScrollBox)) {
    Decide(d, 32, nullptr, false);
    SkinComponents(form, component);
  } else if (Is(component, "TCustomForm")) {
    AttachNew<TSkinBox>(form, component, true);
    Decide(d, 33, "TSkinBox", true);
    SkinComponents(form, component);
  }
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
  std::wstring cls = buffer;
  std::transform(cls.begin(), cls.end(), cls.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  const auto s = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
  const auto attach = [&](auto* skinner) {
    skinner->AttachWindow(wnd, form.SkinData, &form, &ControlCanvas());
    return std::string(skinner->ClassName());
  };
  if (cls == L"button") {
    const std::string kind = ButtonSkinnerForStyle(s);
    if (kind == "TSkinCheckBox") return attach(new TSkinCheckBox(&form));
    if (kind == "TSkinRadioButton") return attach(new TSkinRadioButton(&form));
    if (kind == "TSkinButton") return attach(new TSkinButton(&form));
    return {};
  }
  if (cls == L"combobox") return (s & 3) == 1 ? std::string() : std::string("TSkinComBox");
  if (cls == L"comboboxex32") return GetWindow(wnd, GW_CHILD) ? "TSkinComBox" : "";
  if (cls == L"scrollbar") return "TSkinSizer";
  if (cls == L"systabcontrol32") return (s & 0x2000) ? "" : "TSkinTab";
  if (cls == L"edit") return "TSkinEdit";
  return {};
}

std::string ButtonSkinnerForStyle(DWORD style) {
  // The kind of a "button" window is its type bits alone; the other bits
  // (text alignment, multi-line, notify, push-like, ...) say nothing of it.
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return "TSkinButton";
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return "TSkinCheckBox";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return "TSkinRadioButton";
    default:
      // Group boxes, and buttons the skin has no look for: owner-drawn,
      // split buttons and command links keep their own drawing.
      return {};
  }
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
