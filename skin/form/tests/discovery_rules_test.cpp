// The discovery table's decisions, without a window: which rule each kind
// of control reaches, the skinner it gets, how it is attached, and what the
// skin data's switches change.
#include "skin/form/discovery_rules.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "gui/text.h"
#include "skin/data/skin_data.h"

namespace {

using skin::TAttachVia;
using skin::TComponentFacts;
using skin::TDiscoverySettings;
using skin::TSkinnerKind;

TDiscoverySettings AllOn() {
  TDiscoverySettings s;
  s.Controls = skin::kAllSkinControls & ~skin::SkinControlBit(skin::xcFastReport);
  s.HasTabsElement = true;
  s.Skin3rd = skin::DefaultSkin3rd();
  return s;
}

TComponentFacts Facts(const char* className, std::uint32_t kinds = 0) {
  TComponentFacts f;
  f.ClassName = className;
  f.Kinds = kinds;
  return f;
}

struct Case {
  const char* what;
  TComponentFacts facts;
  int rule;
  TSkinnerKind skinner;
  TAttachVia via = TAttachVia::Control;
  bool recolor = false;
  bool walk = false;
};

TEST(DiscoveryRules, EveryKindTheChainNamesReachesItsRule) {
  using namespace skin;
  TComponentFacts scrolled = Facts("TMYGRID");
  scrolled.HasScrollBars = true;
  TComponentFacts timePicker = Facts("TDATETIMEPICKER");
  timePicker.UpDownMode = true;
  const std::vector<Case> cases = {
      {"tab control", Facts("TTABCONTROL", ckTabControl), 1, TSkinnerKind::Tab, TAttachVia::Window},
      {"tab set", Facts("TTABSET"), 3, TSkinnerKind::Tab31},
      {"tabbed notebook", Facts("TTABBEDNOTEBOOK"), 4, TSkinnerKind::Tab, TAttachVia::Window},
      {"MVC panel", Facts("TMVCPANEL"), 5, TSkinnerKind::None, TAttachVia::Control, false, true},
      {"page control", Facts("TPAGECONTROL", ckPageControl), 6, TSkinnerKind::Tab, TAttachVia::Window},
      {"check box", Facts("TCHECKBOX", ckCheckBox), 7, TSkinnerKind::CheckBox},
      {"track bar", Facts("TTRACKBAR"), 8, TSkinnerKind::TrackBar},
      {"up-down", Facts("TUPDOWN"), 9, TSkinnerKind::UpDown, TAttachVia::Window},
      {"radio group", Facts("TRADIOGROUP", ckRadioGroup), 10, TSkinnerKind::GroupBox, TAttachVia::Control, true},
      {"data navigator", Facts("TDBNAVIGATOR", ckPanel), 11, TSkinnerKind::Box, TAttachVia::Control, true},
      {"group box", Facts("TGROUPBOX", ckGroupBox), 12, TSkinnerKind::GroupBox, TAttachVia::Control, true, true},
      {"radio button", Facts("TRADIOBUTTON", ckRadioButton), 13, TSkinnerKind::RadioButton},
      {"tool bar", Facts("TTOOLBAR", ckToolBar), 14, TSkinnerKind::Box, TAttachVia::Control, true},
      {"status bar", Facts("TSTATUSBAR", ckStatusBar), 15, TSkinnerKind::StatusBar},
      {"progress bar", Facts("TPROGRESSBAR", ckProgressBar), 16, TSkinnerKind::Progress},
      {"scroll bar", Facts("TSCROLLBAR", ckScrollBar), 17, TSkinnerKind::ScControl},
      {"combo box", Facts("TCOMBOBOX", ckComboBox), 18, TSkinnerKind::ComBox},
      {"date picker", Facts("TDATETIMEPICKER"), 19, TSkinnerKind::ComBox},
      {"time picker", timePicker, 19, TSkinnerKind::Edit},
      {"rich edit", Facts("TRICHEDIT", ckEdit), 20, TSkinnerKind::Scrollbar},
      {"memo of a data library", Facts("TDXDBMEMO"), 21, TSkinnerKind::Scrollbar},
      {"bit button", Facts("TBITBTN", ckBitButton | ckPushButton), 22, TSkinnerKind::BitButton},
      {"speed button", Facts("TSPEEDBUTTON", ckSpeedButton), 23, TSkinnerKind::SpeedButton},
      {"panel", Facts("TPANEL", ckPanel), 24, TSkinnerKind::Box, TAttachVia::Control, true, true},
      {"grid of a data library", Facts("TDXDBGRID"), 25, TSkinnerKind::Scrollbar},
      {"list view", Facts("TLISTVIEW", ckListView), 26, TSkinnerKind::ListView},
      {"list box", Facts("TLISTBOX", ckListBox), 27, TSkinnerKind::Scrollbar},
      {"tree view", Facts("TTREEVIEW", ckTreeView), 28, TSkinnerKind::Scrollbar},
      {"anything with scroll bars", scrolled, 29, TSkinnerKind::Scrollbar},
      {"push button", Facts("TBUTTON", ckPushButton), 30, TSkinnerKind::Button},
      {"edit", Facts("TEDIT", ckEdit), 31, TSkinnerKind::Edit, TAttachVia::Window},
      {"scroll box", Facts("TSCROLLBOX", ckContainer), 32, TSkinnerKind::None, TAttachVia::Control, false, true},
      {"inner form", Facts("TFORM2", ckForm), 33, TSkinnerKind::Box, TAttachVia::Control, true, true},
      {"a component of no kind", Facts("TSKINDATA"), 0, TSkinnerKind::None},
      {"excluded", Facts("TQRPREVIEW", ckPanel), skin::pcExcluded, TSkinnerKind::None},
  };
  const TDiscoverySettings all = AllOn();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const skin::TDiscoveryDecision d = skin::DecideComponent(c.facts, all);
    EXPECT_EQ(d.Rule, c.rule);
    EXPECT_EQ(d.Skinner.Kind, c.skinner);
    if (c.skinner == TSkinnerKind::None) continue;
    EXPECT_EQ(d.Skinner.Via, c.via);
    EXPECT_EQ(d.Skinner.Recolor, c.recolor);
    EXPECT_EQ(d.WalkChildren, c.walk);
  }
  // The details a few rules add.
  EXPECT_EQ(skin::DecideComponent(Facts("TRADIOGROUP", ckRadioGroup), all).ChildSkinner, TSkinnerKind::RadioButton);
  EXPECT_TRUE(skin::DecideComponent(Facts("TTREEVIEW", ckTreeView), all).FaceColourAfter);
  EXPECT_TRUE(skin::DecideComponent(Facts("TPAGECONTROL", ckPageControl), all).Skinner.OwnedByForm);
  EXPECT_FALSE(skin::DecideComponent(Facts("TLISTVIEW", ckListView), all).Skinner.OwnThumbTracking);
  EXPECT_TRUE(skin::DecideComponent(Facts("TLISTBOX", ckListBox), all).Skinner.OwnThumbTracking);
  EXPECT_EQ(skin::DecideComponent(Facts("TTOOLBAR", ckToolBar), all).Properties,
            (std::vector<std::pair<std::string, std::string>>{{"Flat", "True"}, {"Transparent", "True"}}));
}

TEST(DiscoveryRules, TheSkinDatasSwitchesAndTheMappingTable) {
  using namespace skin;
  TDiscoverySettings s = AllOn();
  // A group box follows xcPanel, not xcGroupBox; track bars and up-downs follow xcButton.
  s.Controls &= ~SkinControlBit(xcGroupBox);
  EXPECT_EQ(DecideComponent(Facts("TGROUPBOX", ckGroupBox), s).Rule, 12);
  s.Controls &= ~SkinControlBit(xcPanel);
  EXPECT_EQ(DecideComponent(Facts("TGROUPBOX", ckGroupBox), s).Rule, 0);
  s = AllOn();
  s.Controls &= ~SkinControlBit(xcButton);
  EXPECT_EQ(DecideComponent(Facts("TTRACKBAR"), s).Rule, 0);
  EXPECT_EQ(DecideComponent(Facts("TUPDOWN"), s).Rule, 0);
  // Without xcBitBtn a bitmap button stops the chain with no skinner.
  s = AllOn();
  s.Controls &= ~SkinControlBit(xcBitBtn);
  const TDiscoveryDecision bit = DecideComponent(Facts("TBITBTN", ckBitButton | ckPushButton), s);
  EXPECT_EQ(bit.Rule, 22);
  EXPECT_EQ(bit.Skinner.Kind, TSkinnerKind::None);
  // Tabs need the switch and a "Tabs" picture.
  s = AllOn();
  s.HasTabsElement = false;
  EXPECT_EQ(DecideComponent(Facts("TTABCONTROL", ckTabControl), s).Rule, 0);

  // The mapping table: any letter case, a kind outside the table still stops the chain.
  s = AllOn();
  s.Skin3rd = {L"TThirdParty=Panel", L"tOddOne=gadget", L"TNoEquals"};
  const TDiscoveryDecision mapped = DecideComponent(Facts("TTHIRDPARTY"), s);
  EXPECT_EQ(mapped.Rule, 2);
  EXPECT_TRUE(mapped.Mapped);
  EXPECT_EQ(mapped.Skinner.Kind, TSkinnerKind::Box);
  EXPECT_EQ(mapped.Properties, (std::vector<std::pair<std::string, std::string>>{{"Transparent", "True"}}));
  const TDiscoveryDecision odd = DecideComponent(Facts("TODDONE", ckPushButton), s);
  EXPECT_EQ(odd.Rule, 2);
  EXPECT_EQ(odd.Skinner.Kind, TSkinnerKind::None);
  EXPECT_EQ(DecideComponent(Facts("TNOEQUALS", ckPushButton), s).Rule, 30);
  // Rule 1 comes before the table, the rest after it.
  s.Skin3rd = {L"TTabControl=button", L"TButton=checkbox"};
  EXPECT_EQ(DecideComponent(Facts("TTABCONTROL", ckTabControl), s).Rule, 1);
  EXPECT_EQ(DecideComponent(Facts("TBUTTON", ckPushButton), s).Skinner.Kind, TSkinnerKind::CheckBox);
  // The default table's check groups get check boxes for their children.
  s = AllOn();
  EXPECT_EQ(DecideComponent(Facts("TRZCHECKGROUP"), s).ChildSkinner, TSkinnerKind::CheckBox);

  EXPECT_TRUE(DisabledByTag(99, 99));
  EXPECT_TRUE(DisabledByTag(199, 99));
  EXPECT_FALSE(DisabledByTag(-1, 99));
}

}  // namespace
