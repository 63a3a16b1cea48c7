// TSkinData: the component a form carries to be skinned. It holds one skin
// (the compressed archive and the content parsed from it) and the switches
// that say which windows and controls are skinned, persists through the form
// description (published properties and the binary "SkinStream"), and hands
// its requests to the skin manager, which does the skinning.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/archive/byte_stream.h"
#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/imagelist.h"
#include "skin/data/skin_definition.h"
#include "skin/data/skin_palette.h"

namespace gui {
class TCustomForm;
class TControl;
}  // namespace gui

namespace skin {

enum TSkinFormType { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2 };

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar,
  xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu, xcFastReport
};
// Bit n stands for the control type of value n.
using TSkinControlTypes = std::uint32_t;
constexpr TSkinControlTypes SkinControlBit(TSkinControlType type) { return 1u << static_cast<unsigned>(type); }
// Every type's bit: xcFastReport is the last type.
constexpr TSkinControlTypes kAllSkinControls = (SkinControlBit(xcFastReport) << 1) - 1;

class TSkinData;
class TSkinControl;

// A form whose Tag is exactly this never gets a form skinner, whatever its
// component's DisableTag (whose default is the same number).
constexpr int kNeverSkinnedFormTag = 99;

using TFormSkinEvent = std::function<void(TSkinData* sender, const std::wstring& className, bool& doSkin)>;
// Lets the application give a component a skinner of its own (or none):
// sender is the form skinner, container the component being walked,
// component any component it owns, componentClass its upper-cased class
// name; a skinner left in skinnedControl is attached instead of discovery's.
using TSkinControlEvent = std::function<void(gui::TComponent* sender, TSkinData* skinData, gui::TComponent* container,
                                             gui::TComponent* component, const std::wstring& componentClass,
                                             TSkinControl*& skinnedControl)>;

// The 95 default lines of Skin3rd, class name "=" skinner kind, duplicates
// included.
const std::vector<std::wstring>& DefaultSkin3rd();

// Makes TSkinData known to the form reader (done at start-up as well).
void RegisterSkinComponents();

class TSkinData : public gui::TComponent {
  GUI_CLASS(TSkinData, gui::TComponent)
 public:
  static constexpr const wchar_t* kVersion = L"2.62.5.26";
  // Requests are carried out this long after they are made, from the
  // message loop.
  static constexpr UINT kActionDelay = 250;

  explicit TSkinData(gui::TComponent* owner);
  ~TSkinData() override;

  // Published properties, in stored order.
  bool Active() const { return active_; }
  void SetActive(bool value);
  // Forms and components whose Tag ends in these two digits are not skinned.
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int value) { disableTag_ = value; }
  // Which kinds of control get skinners.
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value & kAllSkinControls; }
  const std::vector<std::wstring>& Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<std::wstring>& lines) { skin3rd_ = lines; }
  // The file of the skin in force, when it came from one.
  const std::wstring& SkinFile() const { return skinFile_; }
  // Loads and applies a skin archive file. At run time all or nothing: a
  // file that cannot be read, is of another version, damaged or without a
  // definition is reported once through the standard error report and the
  // skin in force stays, complete.
  void SetSkinFile(const std::wstring& value);
  // Loads and applies a skin archive held in memory (a skin the program
  // carries), all or nothing as SetSkinFile; SkinFile is empty afterwards.
  // False, after the one report, when it could not be loaded.
  bool SetSkinArchive(std::span<const std::uint8_t> bytes);
  // The same, reporting nothing: a failure's reason goes into `failure`
  // (for a caller that shows it its own way, as a folder being watched).
  bool SetSkinArchive(std::span<const std::uint8_t> bytes, std::wstring& failure);
  // What this component asked for (skin changed, on or off) carried out now
  // instead of after kActionDelay; for a caller in the message loop.
  void CarryOutRequestNow();
  std::wstring SkinStore() const;
  void SetSkinStore(const std::wstring&) {}
  // Which windows this component skins: every window of the program, only
  // the form that carries it, or dialogs.
  TSkinFormType SkinFormtype() const { return skinFormtype_; }
  void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
  const std::wstring& Version() const { return version_; }
  void SetVersion(const std::wstring& value) { version_ = value; }
  // The skinned menu bar follows changes of the program's menu.
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  TFormSkinEvent OnFormSkin;
  gui::TNotifyEvent OnSkinChanged;
  TSkinControlEvent OnSkinControl;

  bool HasControl(TSkinControlType type) const { return (skinControls_ & SkinControlBit(type)) != 0; }

  // "SkinStream": a signed 32-bit count and that many archive bytes.
  bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) override;
  void WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& out) override;

  void Loaded() override;
  // Decompresses, checks and parses SkinArchive; false (and SkinLoading
  // still set) when the archive is of another version or holds no
  // definition, or when it is refused (a damaged archive, an error the skin
  // checker finds, a picture that does not decode), which is reported once
  // through the error report.
  bool LoadSkin();
  // Asks the manager to re-skin with this component after a new skin loaded.
  void ApplySkin();
  // The window filter the manager consults for each candidate window.
  void FormFilter(const std::wstring& className, bool& doSkin);
  // What FormFilter decides for a window class when OnFormSkin is not set.
  bool SkinsClassByDefault(const std::wstring& className) const;
  void FireSkinChanged();

  // The compressed archive (no count prefix).
  const core::ByteStream& SkinArchive() const { return skinArchive_; }
  // Holds a compressed archive for the next LoadSkin to read, as the form
  // description's "SkinStream" does; nothing is loaded or applied yet.
  void SetSkinStream(std::span<const std::uint8_t> archive);
  // True until a definition has been parsed completely; a component whose
  // skin is loading has no usable skin.
  bool SkinLoading() const { return skinLoading_; }
  // The loaded skin's name, as its definition gives it.
  const std::string& SkinName() const { return skinName_; }
  // The parsed skin; a failed load leaves the previous one in place.
  TSkinContent& Skin() { return *content_; }
  // Counts the skins loaded: what was drawn or shaped from a skin is stale
  // once this has moved on (a new content may sit at a freed one's address).
  std::uint32_t SkinGeneration() const { return skinGeneration_; }
  // Reports what the loaded skin cannot do (through the error report, as a
  // skin that does not load is reported): the text for the first time the
  // problem `what` is met while this skin is loaded, nothing for the rest.
  void ReportSkinProblem(const std::string& what, const std::wstring& text);
  gui::TImageList& MenuGlyphs() { return *menuGlyphs_; }
  // The skin's colours as a colour scheme, built with every skin loaded; the
  // manager puts it in force while the skin is worn. It stays at one address
  // for the component's life, so a new skin never leaves a freed scheme in
  // force.
  const TSkinPalette& Palette() const { return palette_; }

  static void DeclareProperties(std::vector<gui::TPropInfo>& list);

 private:
  bool active_ = false;
  int disableTag_ = kNeverSkinnedFormTag;
  TSkinControlTypes skinControls_ = kAllSkinControls & ~SkinControlBit(xcFastReport);
  TSkinFormType skinFormtype_ = sfMainform;
  std::wstring version_ = kVersion;
  bool menuUpdate_ = true;
  core::ByteStream skinArchive_;
  bool skinLoading_ = true;
  std::string skinName_;
  std::vector<std::wstring> skin3rd_;
  std::wstring skinFile_;
  std::unique_ptr<TSkinContent> content_;
  std::uint32_t skinGeneration_ = 0;
  std::set<std::string> reportedProblems_;
  TSkinPalette palette_;
  // Takes a parsed skin as the one in force, with its palette.
  void TakeContent(std::unique_ptr<TSkinContent> content);
  // Wears a skin read from `bytes` (which came from `file`, or from memory
  // when it is empty); reports once and keeps the skin in force otherwise.
  // `failure` given: the reason is put there instead of being reported.
  bool ReplaceSkin(std::vector<std::uint8_t> bytes, const std::wstring& file, std::wstring* failure = nullptr);
  gui::TImageList* menuGlyphs_ = nullptr;  // owned as a component
};

}  // namespace skin
