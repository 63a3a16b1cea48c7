// The skinner registry: every kind of control skinner discovery can decide
// on, with the class that skins it and how one is made. A new family adds
// its kind to the enumeration and one line to the table, in the same place;
// the build checks that the two agree.
#pragma once
#include <cstddef>

namespace gui {
class TComponent;
}  // namespace gui

namespace skin {

class TSkinControl;

enum class TSkinnerKind {
  None,
  Button,
  BitButton,
  SpeedButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Box,
  StatusBar,
  Tab,
  Tab31,
  TrackBar,
  UpDown,
  Progress,
  ScControl,
  ComBox,
  Edit,
  Scrollbar,
  ListView,
  Sizer,
  Header,
  ToolBar,
  ColourRelay,
  StaticFrame,
  Link,
  Field,
  Rebar,
  RichEdit,
  Calendar,  // the last kind
};
inline constexpr std::size_t kSkinnerKinds = static_cast<std::size_t>(TSkinnerKind::Calendar) + 1;

// Makes a skinner of one kind owned by `owner`, not attached yet.
using TSkinnerFactory = TSkinControl* (*)(gui::TComponent* owner);

struct TSkinnerEntry {
  TSkinnerKind Kind;
  const char* ClassName;   // the class of the skinners it makes
  TSkinnerFactory Create;  // every kind but None has one
};

const TSkinnerEntry& SkinnerEntry(TSkinnerKind kind);
inline const char* SkinnerClassName(TSkinnerKind kind) { return SkinnerEntry(kind).ClassName; }

}  // namespace skin
