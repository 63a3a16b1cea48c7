// Every live-handle count of the framework that skinning moves, taken when
// constructed: a window skinned and let go again leaves them as they were.
#pragma once
#include <ostream>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "gui/imagelist.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "gui/timer.h"
#include "skin/data/element_picture.h"

namespace skin_test {

struct TLiveCounts {
  // The skin's pictures, decoded as they are first drawn, live with the skin
  // (each with its own DC, made on its first draw), so they are not among
  // the counts compared.
  long bitmaps = gui::BitmapHandle::LiveCount() - skin::TElementPicture::LiveDecodedCount();
  long brushes = gui::BrushHandle::LiveCount();
  long pens = gui::PenHandle::LiveCount();
  long fonts = gui::FontHandle::LiveCount();
  long regions = gui::RegionHandle::LiveCount();
  long dcs = gui::MemoryDcHandle::LiveCount() + gui::WindowDc::LiveCount();
  long icons = gui::IconHandle::LiveCount();
  long subclasses = gui::TWindowSubclass::LiveCount();
  long methodHooks = gui::TWindowMethodHook::LiveCount();
  long timers = gui::TTimer::LiveCount();
  long imageLists = gui::TImageList::LiveCount();
  bool operator==(const TLiveCounts&) const = default;
};

inline void PrintTo(const TLiveCounts& c, std::ostream* os) {
  *os << "bitmaps " << c.bitmaps << ", brushes " << c.brushes << ", pens " << c.pens << ", fonts " << c.fonts
      << ", regions " << c.regions << ", DCs " << c.dcs << ", icons " << c.icons << ", subclasses " << c.subclasses
      << ", method hooks " << c.methodHooks << ", timers " << c.timers << ", image lists " << c.imageLists;
}

}  // namespace skin_test
