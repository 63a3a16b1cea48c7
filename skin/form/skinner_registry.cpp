#include "skin/form/skinner_registry.h"

#include <array>

#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_edits.h"
#include "skin/controls/skin_listview.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/skin_recolour.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_tabs.h"
#include "skin/controls/skin_toolbar.h"

namespace skin {

namespace {

template <class T>
TSkinControl* Make(gui::TComponent* owner) {
  return new T(owner);
}

// One line per kind, in the order of the enumeration: SkinnerEntry reads
// the line at the kind's value.
constexpr std::array<TSkinnerEntry, kSkinnerKinds> kEntries{{
    {TSkinnerKind::None, "", nullptr},
    {TSkinnerKind::Button, "TSkinButton", &Make<TSkinButton>},
    {TSkinnerKind::BitButton, "TSkinBitButton", &Make<TSkinBitButton>},
    {TSkinnerKind::SpeedButton, "TSkinSpeedButton", &Make<TSkinSpeedButton>},
    {TSkinnerKind::CheckBox, "TSkinCheckBox", &Make<TSkinCheckBox>},
    {TSkinnerKind::RadioButton, "TSkinRadioButton", &Make<TSkinRadioButton>},
    {TSkinnerKind::GroupBox, "TSkinGroupBox", &Make<TSkinGroupBox>},
    {TSkinnerKind::Box, "TSkinBox", &Make<TSkinBox>},
    {TSkinnerKind::StatusBar, "TSkinStatusBar", &Make<TSkinStatusBar>},
    {TSkinnerKind::Tab, "TSkinTab", &Make<TSkinTab>},
    {TSkinnerKind::Tab31, "TSkinTab31", &Make<TSkinTab31>},
    {TSkinnerKind::TrackBar, "TSkinTrackBar", &Make<TSkinTrackBar>},
    {TSkinnerKind::UpDown, "TSkinUpDown", &Make<TSkinUpDown>},
    {TSkinnerKind::Progress, "TSkinProgress", &Make<TSkinProgress>},
    {TSkinnerKind::ScControl, "TSkinScControl", &Make<TSkinScControl>},
    {TSkinnerKind::ComBox, "TSkinComBox", &Make<TSkinComBox>},
    {TSkinnerKind::Edit, "TSkinEdit", &Make<TSkinEdit>},
    {TSkinnerKind::Scrollbar, "TSkinScrollbar", &Make<TSkinScrollbar>},
    {TSkinnerKind::ListView, "TSkinListView", &Make<TSkinListView>},
    {TSkinnerKind::Sizer, "TSkinSizer", &Make<TSkinSizer>},
    {TSkinnerKind::Header, "TSkinHeader", &Make<TSkinHeader>},
    {TSkinnerKind::ToolBar, "TSkinToolBar", &Make<TSkinToolBar>},
    {TSkinnerKind::ColourRelay, "TSkinColourRelay", &Make<TSkinColourRelay>},
    {TSkinnerKind::StaticFrame, "TSkinStaticFrame", &Make<TSkinStaticFrame>},
    {TSkinnerKind::Link, "TSkinLink", &Make<TSkinLink>},
    {TSkinnerKind::Field, "TSkinField", &Make<TSkinField>},
    {TSkinnerKind::Rebar, "TSkinRebar", &Make<TSkinRebar>},
    {TSkinnerKind::RichEdit, "TSkinRichEdit", &Make<TSkinRichEdit>},
    {TSkinnerKind::Calendar, "TSkinCalendar", &Make<TSkinCalendar>},
}};

constexpr bool EveryLineInItsPlace() {
  for (std::size_t i = 0; i < kEntries.size(); ++i) {
    const TSkinnerEntry& e = kEntries[i];
    if (static_cast<std::size_t>(e.Kind) != i) return false;
    if ((e.Kind == TSkinnerKind::None) != (e.Create == nullptr)) return false;
    if ((e.Kind == TSkinnerKind::None) != (e.ClassName[0] == '\0')) return false;
  }
  return true;
}
static_assert(EveryLineInItsPlace(),
              "the registry's lines follow the enumeration, and every kind but None makes a skinner");

}  // namespace

const TSkinnerEntry& SkinnerEntry(TSkinnerKind kind) { return kEntries[static_cast<std::size_t>(kind)]; }

}  // namespace skin
