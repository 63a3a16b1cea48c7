#include "skin/form/discovery_rules.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "skin/data/skin_data.h"

namespace skin {

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string LowerAscii(const std::wstring& w) {
  std::string s;
  s.reserve(w.size());
  for (wchar_t c : w) s.push_back(c < 0x80 ? static_cast<char>(std::tolower(static_cast<int>(c))) : '?');
  return s;
}

bool Has(const TDiscoverySettings& s, TSkinControlType type) { return (s.Controls & SkinControlBit(type)) != 0; }
bool Is(const TComponentFacts& f, TComponentKind kind) { return (f.Kinds & kind) != 0; }
bool Tabs(const TDiscoverySettings& s) { return Has(s, xcTab) && s.HasTabsElement; }

// The plans the rules and the Skin3rd table choose from.
constexpr TSkinnerPlan Plan(TSkinnerKind kind, TAttachVia via = TAttachVia::Control, bool recolor = false) {
  return TSkinnerPlan{.Kind = kind, .Via = via, .Recolor = recolor};
}
constexpr TSkinnerPlan kButton = Plan(TSkinnerKind::Button);
constexpr TSkinnerPlan kCheckBox = Plan(TSkinnerKind::CheckBox);
constexpr TSkinnerPlan kRadioButton = Plan(TSkinnerKind::RadioButton);
constexpr TSkinnerPlan kComBox = Plan(TSkinnerKind::ComBox);
constexpr TSkinnerPlan kTrackBar = Plan(TSkinnerKind::TrackBar);
constexpr TSkinnerPlan kProgress = Plan(TSkinnerKind::Progress);
constexpr TSkinnerPlan kTab = Plan(TSkinnerKind::Tab, TAttachVia::Window);
constexpr TSkinnerPlan kEdit = Plan(TSkinnerKind::Edit, TAttachVia::Window);
// Group boxes, panels and forms wear the skin's button face.
constexpr TSkinnerPlan kGroupBox = Plan(TSkinnerKind::GroupBox, TAttachVia::Control, true);
constexpr TSkinnerPlan kBox = Plan(TSkinnerKind::Box, TAttachVia::Control, true);
constexpr TSkinnerPlan ScrollPlan(TSkinnerKind kind, bool ownThumbTracking) {
  return TSkinnerPlan{.Kind = kind, .OwnThumbTracking = ownThumbTracking};
}
constexpr TSkinnerPlan kScrollbar = ScrollPlan(TSkinnerKind::Scrollbar, true);

// One rule of the chain: when `Applies` holds, `Decide` fills the decision.
struct TRule {
  int Number;
  std::function<bool(const TComponentFacts&, const TDiscoverySettings&)> Applies;
  std::function<void(const TComponentFacts&, const TDiscoverySettings&, TDiscoveryDecision&)> Decide;
};

using F = const TComponentFacts&;
using S = const TDiscoverySettings&;
using D = TDiscoveryDecision&;

void Skinner(D d, TSkinnerPlan plan) { d.Skinner = plan; }

// The chain in its order. Rule 2, the Skin3rd table, is DecideByMapping.
const std::vector<TRule>& Rules() {
  static const std::vector<TRule> rules = {
      {1, [](F f, S s) { return Is(f, ckTabControl) && Tabs(s); }, [](F, S, D d) { Skinner(d, kTab); }},
      {3, [](F f, S s) { return f.ClassName == "TTABSET" && Tabs(s); },
       [](F, S, D d) { Skinner(d, Plan(TSkinnerKind::Tab31)); }},
      {4, [](F f, S s) { return f.ClassName == "TTABBEDNOTEBOOK" && Tabs(s); }, [](F, S, D d) { Skinner(d, kTab); }},
      {5, [](F f, S) { return f.ClassName == "TMVCPANEL"; }, [](F, S, D d) { d.WalkChildren = true; }},
      {6, [](F f, S s) { return Is(f, ckPageControl) && Tabs(s); },
       [](F, S, D d) {
         TSkinnerPlan p = kTab;
         p.OwnedByForm = true;
         Skinner(d, p);
       }},
      {7, [](F f, S s) { return Is(f, ckCheckBox) && Has(s, xcCheckBox); }, [](F, S, D d) { Skinner(d, kCheckBox); }},
      {8, [](F f, S s) { return f.ClassName == "TTRACKBAR" && Has(s, xcButton); },
       [](F, S, D d) { Skinner(d, kTrackBar); }},
      {9, [](F f, S s) { return f.ClassName == "TUPDOWN" && Has(s, xcButton); },
       [](F, S, D d) { Skinner(d, Plan(TSkinnerKind::UpDown, TAttachVia::Window)); }},
      {10, [](F f, S s) { return Is(f, ckRadioGroup) && Has(s, xcRadioButton); },
       [](F, S, D d) {
         d.ChildSkinner = TSkinnerKind::RadioButton;
         Skinner(d, kGroupBox);
       }},
      {11, [](F f, S s) { return f.ClassName == "TDBNAVIGATOR" && Has(s, xcPanel); },
       [](F, S, D d) {
         d.Properties = {{"Flat", "True"}};
         Skinner(d, kBox);
       }},
      {12, [](F f, S s) { return Is(f, ckGroupBox) && Has(s, xcPanel); },
       [](F, S, D d) {
         Skinner(d, kGroupBox);
         d.WalkChildren = true;
       }},
      {13, [](F f, S s) { return Is(f, ckRadioButton) && Has(s, xcRadioButton); },
       [](F, S, D d) { Skinner(d, kRadioButton); }},
      {14, [](F f, S s) { return Is(f, ckToolBar) && Has(s, xcToolbar); },
       [](F, S, D d) {
         d.Properties = {{"Flat", "True"}, {"Transparent", "True"}};
         Skinner(d, kBox);
       }},
      // The status bar keeps its size grip: the skinner draws the skin's
      // over it, and the system still sizes the window from it.
      {15, [](F f, S s) { return Is(f, ckStatusBar) && Has(s, xcStatusBar); },
       [](F, S, D d) { Skinner(d, Plan(TSkinnerKind::StatusBar)); }},
      {16, [](F f, S s) { return Is(f, ckProgressBar) && Has(s, xcProgress); },
       [](F, S, D d) { Skinner(d, kProgress); }},
      {17, [](F f, S s) { return Is(f, ckScrollBar) && Has(s, xcScrollbar); },
       [](F, S, D d) { Skinner(d, Plan(TSkinnerKind::ScControl)); }},
      {18, [](F f, S s) { return Is(f, ckComboBox) && Has(s, xcCombo); }, [](F, S, D d) { Skinner(d, kComBox); }},
      {19, [](F f, S s) { return f.ClassName == "TDATETIMEPICKER" && Has(s, xcEdit); },
       [](F f, S, D d) { Skinner(d, Plan(f.UpDownMode ? TSkinnerKind::Edit : TSkinnerKind::ComBox)); }},
      {20, [](F f, S s) { return Has(s, xcScrollbar) && f.ClassName == "TRICHEDIT"; },
       [](F, S, D d) { Skinner(d, kScrollbar); }},
      {21,
       [](F f, S s) { return Has(s, xcScrollbar) && (f.ClassName == "TWWDBRICHEDIT" || f.ClassName == "TDXDBMEMO"); },
       [](F, S, D d) { Skinner(d, kScrollbar); }},
      // Without xcBitBtn a bitmap button gets nothing, and the chain still ends.
      {22, [](F f, S) { return Is(f, ckBitButton); },
       [](F, S s, D d) {
         if (Has(s, xcBitBtn)) Skinner(d, Plan(TSkinnerKind::BitButton));
       }},
      {23, [](F f, S s) { return Is(f, ckSpeedButton) && Has(s, xcSpeedButton); },
       [](F, S, D d) { Skinner(d, Plan(TSkinnerKind::SpeedButton)); }},
      {24, [](F f, S s) { return Is(f, ckPanel) && Has(s, xcPanel); },
       [](F, S, D d) {
         Skinner(d, kBox);
         d.WalkChildren = true;
       }},
      {25,
       [](F f, S s) {
         return (f.ClassName == "TDXTREELIST" || f.ClassName == "TDXDBTREELIST" || f.ClassName == "TDXDBGRID") &&
                Has(s, xcScrollbar);
       },
       [](F, S, D d) { Skinner(d, ScrollPlan(TSkinnerKind::Scrollbar, false)); }},
      {26, [](F f, S s) { return Is(f, ckListView) && Has(s, xcScrollbar); },
       [](F, S, D d) { Skinner(d, ScrollPlan(TSkinnerKind::ListView, false)); }},
      {27, [](F f, S s) { return Has(s, xcScrollbar) && Is(f, ckListBox); },
       [](F, S, D d) { Skinner(d, kScrollbar); }},
      {28, [](F f, S s) { return Has(s, xcScrollbar) && Is(f, ckTreeView); },
       [](F, S, D d) {
         Skinner(d, kScrollbar);
         d.FaceColourAfter = true;
       }},
      {29, [](F f, S s) { return Has(s, xcScrollbar) && f.HasScrollBars; }, [](F, S, D d) { Skinner(d, kScrollbar); }},
      {30, [](F f, S s) { return Is(f, ckPushButton) && Has(s, xcButton); }, [](F, S, D d) { Skinner(d, kButton); }},
      {31, [](F f, S s) { return Is(f, ckEdit) && Has(s, xcEdit); }, [](F, S, D d) { Skinner(d, kEdit); }},
      {32, [](F f, S) { return Is(f, ckContainer); }, [](F, S, D d) { d.WalkChildren = true; }},
      {33, [](F f, S) { return Is(f, ckForm); },
       [](F, S, D d) {
         Skinner(d, kBox);
         d.WalkChildren = true;
       }},
  };
  return rules;
}

template <TSkinControlType Type>
bool On(S s) {
  return Has(s, Type);
}

// What a kind the Skin3rd table names gets, when the switch it needs is on.
struct TMappedKind {
  const char* Kind;  // as a line writes it, in lower case
  bool (*Allowed)(S);
  TSkinnerPlan Plan;
  bool Transparent = false;  // its "Transparent" property is set first
  // A skinner for each child control first, when its switch is on.
  TSkinnerKind ChildSkinner = TSkinnerKind::None;
  TSkinControlType ChildSwitch = xcCheckBox;
};

const TMappedKind kMappedKinds[] = {
    {"combobox", On<xcCombo>, kComBox},
    {"edit", On<xcEdit>, kEdit},
    {"radiobutton", On<xcRadioButton>, kRadioButton},
    {"panel", On<xcPanel>, kBox, true},
    {"trackbar", On<xcButton>, kTrackBar, true},
    {"button", On<xcButton>, kButton},
    {"tab", Tabs, kTab},
    {"progress", On<xcProgress>, kProgress},
    {"scrollbar", On<xcScrollbar>, kScrollbar},
    {"radiogroup", On<xcPanel>, kGroupBox, false, TSkinnerKind::RadioButton, xcRadioButton},
    // The children are check boxes, so the check-box switch gates them.
    {"checkgroup", On<xcPanel>, kGroupBox, false, TSkinnerKind::CheckBox, xcCheckBox},
    {"checkbox", On<xcCheckBox>, kCheckBox},
};

// Rule 2: the first Skin3rd line that maps the class decides, whatever it
// maps it to (a kind outside the table, or one switched off, gets nothing).
bool DecideByMapping(const std::string& upperClassName, S s, D d) {
  const std::string key = Lower(upperClassName) + "=";
  const auto line = std::find_if(s.Skin3rd.begin(), s.Skin3rd.end(),
                                 [&](const std::wstring& text) { return LowerAscii(text).rfind(key, 0) == 0; });
  if (line == s.Skin3rd.end()) return false;
  const std::string text = LowerAscii(*line);
  const std::string kind = text.substr(text.find('=') + 1, 50);
  d.Rule = 2;
  d.Mapped = true;
  for (const TMappedKind& m : kMappedKinds) {
    if (kind != m.Kind) continue;
    if (!m.Allowed(s)) break;
    if (m.Transparent) d.Properties = {{"Transparent", "True"}};
    if (Has(s, m.ChildSwitch)) d.ChildSkinner = m.ChildSkinner;
    Skinner(d, m.Plan);
    break;
  }
  return true;
}

}  // namespace

bool DisabledByTag(int tag, int disableTag) { return tag % 100 == disableTag; }

TDiscoveryDecision DecideComponent(const TComponentFacts& facts, const TDiscoverySettings& settings) {
  TDiscoveryDecision d;
  const std::string& c = facts.ClassName;
  if (c == "TDBCOMBOBOXEH" || c == "TQRPREVIEW" || c == "TFRDESIGNERPAGE" || c == "TFRPBOX") {
    d.Rule = pcExcluded;
    return d;
  }
  const std::vector<TRule>& rules = Rules();
  // Rule 1 comes before the mapping table, the rest after it.
  if (rules.front().Applies(facts, settings)) {
    d.Rule = rules.front().Number;
    rules.front().Decide(facts, settings, d);
    return d;
  }
  if (DecideByMapping(c, settings, d)) return d;
  for (std::size_t i = 1; i < rules.size(); ++i) {
    if (!rules[i].Applies(facts, settings)) continue;
    d.Rule = rules[i].Number;
    rules[i].Decide(facts, settings, d);
    return d;
  }
  return d;
}

}  // namespace skin
