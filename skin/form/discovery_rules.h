// Control discovery as data: which skinner a component or a dialog box's
// child window gets, decided by a pure function over an ordered rule table
// from facts gathered beforehand (class name, the kinds of control the
// component belongs to, its tag, its scroll bars) and the skin data's
// switches. Nothing here touches a window; the decisions are carried out by
// control_discovery through the skinner registry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/form/skinner_registry.h"

namespace skin {

// The kinds of control the rules test, each bound to a framework class (a
// component belongs to every kind whose class it is or inherits from).
enum TComponentKind : std::uint32_t {
  ckTabControl = 1u << 0,
  ckPageControl = 1u << 1,  // the second tab-control kind
  ckRadioGroup = 1u << 2,
  ckCheckBox = 1u << 3,
  ckGroupBox = 1u << 4,
  ckRadioButton = 1u << 5,
  ckToolBar = 1u << 6,
  ckStatusBar = 1u << 7,
  ckProgressBar = 1u << 8,
  ckScrollBar = 1u << 9,  // the stand-alone scroll-bar control
  ckComboBox = 1u << 10,
  ckBitButton = 1u << 11,
  ckSpeedButton = 1u << 12,
  ckPanel = 1u << 13,
  ckListView = 1u << 14,
  ckListBox = 1u << 15,
  ckTreeView = 1u << 16,
  ckPushButton = 1u << 17,
  ckEdit = 1u << 18,
  ckContainer = 1u << 19,  // frames and scroll boxes
  ckForm = 1u << 20,
};

// The framework class behind each kind (control_discovery.cpp: named by
// type, so only classes the framework has can be listed). A kind with no
// class listed keeps its rule, which no framework component reaches.
struct TKindClass {
  TComponentKind Kind;
  const char* ClassName;
};
const std::vector<TKindClass>& KindClasses();

// A component a program tags so is taken to have scroll bars (a control of
// its own that scrolls without window scroll bars of the system's).
constexpr int kScrollBarsTag = 55;

// What the rules read of one component.
struct TComponentFacts {
  std::string ClassName;  // upper case
  std::uint32_t Kinds = 0;
  int Tag = 0;
  bool HasScrollBars = false;  // window scroll bars now, kScrollBarsTag, or a scrolled-list kind
  bool UpDownMode = false;     // a date-time picker showing an up-down control
};

// The skin data's switches the rules read.
struct TDiscoverySettings {
  std::uint32_t Controls = 0;  // TSkinControlTypes
  int DisableTag = 99;
  bool HasTabsElement = false;  // the skin has a "Tabs" picture
  std::vector<std::wstring> Skin3rd;
};

// What a chosen skinner's attach is given (TSkinnerAttach): the component
// itself, or the component's window.
enum class TAttachVia { Control, Window };

struct TSkinnerPlan {
  TSkinnerKind Kind = TSkinnerKind::None;
  TAttachVia Via = TAttachVia::Control;
  bool Recolor = false;
  bool OwnThumbTracking = false;
  bool OwnedByForm = false;  // owned by the form skinner rather than the component
};

// Why discovery left a component before the rules decided (a decision's
// Rule is then negative): its tag, a skinner it has already, no window, the
// application's own skinner, or a class that is never skinned.
enum TPreCheck {
  pcNone = 0,
  pcDisabledTag = -1,
  pcAlreadySkinned = -2,
  pcNoHandle = -3,
  pcEvent = -4,
  pcExcluded = -5
};

struct TDiscoveryDecision {
  // The rule of the chain that matched (1 to 33; 2 is the Skin3rd table), a
  // pre-check that stopped it (a TPreCheck), or 0: no rule matched.
  int Rule = pcNone;
  bool Mapped = false;
  // Property writes made before attaching ("Flat" = "True", ...).
  std::vector<std::pair<std::string, std::string>> Properties;
  // A skinner for each child control first (radio and check groups).
  TSkinnerKind ChildSkinner = TSkinnerKind::None;
  TSkinnerPlan Skinner;
  // The control's colour becomes the skin's button face after attaching.
  bool FaceColourAfter = false;
  // Then the components it owns are walked.
  bool WalkChildren = false;
};

// The tag rule every component and form passes first.
bool DisabledByTag(int tag, int disableTag);

// The chain after the pre-checks that need the live form (already skinned,
// window handle, the application's event): the excluded classes, then rules
// 1 to 33 in order, the first that holds deciding. Rule 2 is the Skin3rd
// table: a line that maps the class decides, whatever it maps it to.
TDiscoveryDecision DecideComponent(const TComponentFacts& facts, const TDiscoverySettings& settings);

}  // namespace skin
