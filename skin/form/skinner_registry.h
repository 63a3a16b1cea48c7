// The skinner registry: every kind of control skinner discovery can decide
// on, with the class that skins it and how one is made. A kind whose family
// has not been built yet stands here with no factory, so the decisions that
// name it are visible in one table and simply make no skinner. A new family
// registers its skinner in this one place.
#pragma once
#include <windows.h>

#include <cstddef>

namespace gui {
class TCanvas;
class TComponent;
class TControl;
}  // namespace gui

namespace skin {

class TSkinControl;
class TSkinData;
class TWinSkinForm;

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
};

// Everything an attach needs.
struct TSkinnerAttach {
  TWinSkinForm* Form = nullptr;
  TSkinData* Data = nullptr;
  gui::TCanvas* Canvas = nullptr;
  bool Recolor = false;
  bool OwnThumbTracking = false;
};

// Makes a skinner of one kind owned by `owner`: nullptr when the kind has
// no skinner yet.
using TSkinnerFactory = TSkinControl* (*)(gui::TComponent* owner);

struct TSkinnerEntry {
  TSkinnerKind Kind;
  const char* ClassName;  // the skinner class the Parts name
  TSkinnerFactory Create;  // none yet: the decision makes no skinner
};

const TSkinnerEntry& SkinnerEntry(TSkinnerKind kind);
inline const char* SkinnerClassName(TSkinnerKind kind) { return SkinnerEntry(kind).ClassName; }
// Kinds whose family exists.
bool HasSkinner(TSkinnerKind kind);

}  // namespace skin
