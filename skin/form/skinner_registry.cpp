#include "skin/form/skinner_registry.h"

#include <array>

#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_edits.h"
#include "skin/controls/skin_listview.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_tabs.h"

namespace skin {

namespace {

template <class T>
TSkinControl* Make(gui::TComponent* owner) {
  return new T(owner);
}

// One line per kind, in the order of the enumeration.
constexpr std::array<TSkinnerEntry, 20> kEntries{{
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
}};

}  // namespace

const TSkinnerEntry& SkinnerEntry(TSkinnerKind kind) { return kEntries[static_cast<std::size_t>(kind)]; }

bool HasSkinner(TSkinnerKind kind) { return SkinnerEntry(kind).Create != nullptr; }

}  // namespace skin
