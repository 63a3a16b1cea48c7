#include "skin/form/popup_takeover.h"

#include <algorithm>

#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/form/menu_item_draw.h"

namespace skin {

namespace {

// Every item of a menu, at every depth.
template <class Visit>
void ForEachItem(gui::TMenuItem& parent, const Visit& visit) {
  for (gui::TMenuItem* item : parent.Items()) {
    visit(*item);
    ForEachItem(*item, visit);
  }
}

template <class Visit>
void ForEachPopup(gui::TCustomForm& form, const TSkinData& data, const Visit& visit) {
  if (!data.HasControl(xcPopupMenu)) return;
  for (gui::TComponent* component : form.Components()) {
    auto* menu = dynamic_cast<gui::TPopupMenu*>(component);
    if (menu && menu->Tag() % 100 != data.DisableTag()) visit(*menu);
  }
}

}  // namespace

void TPopupTakeover::TakeOver(gui::TCustomForm& form, const TSkinData& data) {
  ForEachPopup(form, data, [this](gui::TPopupMenu& menu) {
    if (std::none_of(saved_.begin(), saved_.end(), [&menu](const TSaved& s) { return s.Menu == &menu; })) {
      TSaved record{&menu, menu.OwnerDraw, {}};
      ForEachItem(menu.Items(), [&record](gui::TMenuItem& item) {
        record.Items.push_back({&item, item.Command(), item.OnDrawItem, item.OnMeasureItem});
      });
      saved_.push_back(std::move(record));
    }
    menu.OwnerDraw = true;
    ForEachItem(menu.Items(), [this](gui::TMenuItem& item) { Install(item); });
  });
}

void TPopupTakeover::GiveBack(gui::TCustomForm& form, const TSkinData& data) {
  ForEachPopup(form, data, [this](gui::TPopupMenu& menu) {
    auto saved = std::find_if(saved_.begin(), saved_.end(), [&menu](const TSaved& s) { return s.Menu == &menu; });
    if (saved == saved_.end()) return;
    // An item is known by its address and its command together, so a new
    // item at a freed one's address is not taken for it.
    menu.OwnerDraw = saved->OwnerDraw;
    ForEachItem(menu.Items(), [this, &saved](gui::TMenuItem& item) {
      const std::pair<const gui::TMenuItem*, UINT> key{&item, item.Command()};
      auto kept = std::find_if(saved->Items.begin(), saved->Items.end(),
                               [&key](const TSaved::Item& k) { return k.Item == key.first && k.Command == key.second; });
      if (kept != saved->Items.end()) {
        item.OnDrawItem = kept->Draw;
        item.OnMeasureItem = kept->Measure;
      } else if (std::find(skinHandled_.begin(), skinHandled_.end(), key) != skinHandled_.end()) {
        item.OnDrawItem = nullptr;
        item.OnMeasureItem = nullptr;
      }
    });
  });
  saved_.clear();
  skinHandled_.clear();
}

void TPopupTakeover::Install(gui::TMenuItem& item) {
  if (item.OnDrawItem) return;  // the application draws this one itself
  AssignSkinHandlers(item);
  skinHandled_.emplace_back(&item, item.Command());
}

void TPopupTakeover::Adopt(ULONG_PTR itemData) {
  gui::TMenuItem* item = gui::TMenuItem::FromItemData(itemData);
  if (!item || item->OnDrawItem) return;
  const gui::TMenu* menu = item->Menu();
  if (std::any_of(saved_.begin(), saved_.end(), [menu](const TSaved& s) { return s.Menu == menu; })) Install(*item);
}

void TPopupTakeover::AssignSkinHandlers(gui::TMenuItem& item) {
  item.OnMeasureItem = [this](gui::TMenuItem* it, HDC dc, int& width, int& height) {
    SkinMenuItemMeasure(skinner_, *it, dc, width, height);
  };
  item.OnDrawItem = [this](gui::TMenuItem* it, HDC dc, const RECT& rect, UINT state) {
    SkinMenuItemDraw(skinner_, *it, dc, rect, (state & ODS_SELECTED) != 0, menuBeingDrawn_);
  };
}

}  // namespace skin
