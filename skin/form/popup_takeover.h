// The form's popup menus while its skin is on: each is owner-drawn, and each
// item without a draw handler of its own draws with the skin's. What every
// menu and item had is kept when the skin first takes the menu over and is
// given back exactly, so no item calls a skinner that has gone.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "gui/menus.h"

namespace gui {
class TCustomForm;
}

namespace skin {

class TSkinData;
class TWinSkinForm;

class TPopupTakeover {
 public:
  explicit TPopupTakeover(TWinSkinForm& skinner) : skinner_(skinner) {}
  TPopupTakeover(const TPopupTakeover&) = delete;
  TPopupTakeover& operator=(const TPopupTakeover&) = delete;

  // The form's popup menus, but those the component's DisableTag exempts; a
  // re-skin finds them taken and keeps what was kept the first time.
  void TakeOver(gui::TCustomForm& form, const TSkinData& data);
  // Every item gets back what it had; an item added while skinned loses the
  // skin's handlers.
  void GiveBack(gui::TCustomForm& form, const TSkinData& data);
  // Some menu is taken over.
  bool Holding() const { return !saved_.empty(); }
  // An item added to a taken-over menu since it was taken over gets the
  // skin's handlers when it is first measured or drawn.
  void Adopt(ULONG_PTR itemData);
  // The skin's measure and draw handlers on an item.
  void AssignSkinHandlers(gui::TMenuItem& item);
  // The menu of the owner-drawn item being drawn (none outside a draw).
  void SetMenuBeingDrawn(HMENU menu) { menuBeingDrawn_ = menu; }

 private:
  // The skin's handlers on an item that has none of its own, recorded.
  void Install(gui::TMenuItem& item);

  struct TSaved {
    const gui::TPopupMenu* Menu;
    bool OwnerDraw;
    struct Item {
      const gui::TMenuItem* Item;
      UINT Command;
      gui::TMenuDrawItemEvent Draw;
      gui::TMenuMeasureItemEvent Measure;
    };
    std::vector<Item> Items;
  };
  TWinSkinForm& skinner_;
  std::vector<TSaved> saved_;
  // Items given the skin's handlers, by address and command.
  std::vector<std::pair<const gui::TMenuItem*, UINT>> skinHandled_;
  HMENU menuBeingDrawn_ = nullptr;
};

}  // namespace skin
