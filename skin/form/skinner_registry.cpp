#include "skin/form/skinner_registry.h"

#include <array>

#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_listview.h"
#include "skin/controls/skin_scrollbar.h"

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
    {TSkinnerKind::Tab, "TSkinTab", nullptr},
    {TSkinnerKind::Tab31, "TSkinTab31", nullptr},
    {TSkinnerKind::TrackBar, "TSkinTrackBar", nullptr},
    {TSkinnerKind::UpDown, "TSkinUpDown", nullptr},
    {TSkinnerKind::Progress, "TSkinProgress", nullptr},
    {TSkinnerKind::ScControl, "TSkinScControl", &Make<TSkinScControl>},
    {TSkinnerKind::ComBox, "TSkinComBox", nullptr},
    {TSkinnerKind::Edit, "TSkinEdit", nullptr},
    {TSkinnerKind::Scrollbar, "TSkinScrollbar", &Make<TSkinScrollbar>},
    {TSkinnerKind::ListView, "TSkinListView", &Make<TSkinListView>},
    {TSkinnerKind::Sizer, "TSkinSizer", &Make<TSkinSizer>},
}};

}  // namespace

const TSkinnerEntry& SkinnerEntry(TSkinnerKind kind) { return kEntries[static_cast<std::size_t>(kind)]; }

bool HasSkinner(TSkinnerKind kind) { return SkinnerEntry(kind).Create != nullptr; }

}  // namespace skin
