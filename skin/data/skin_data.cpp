#include "skin/data/skin_data.h"

#include "skin/data/screen_scale.h"

#include <cstring>
#include <exception>

#include "core/archive/skin_reader.h"
#include "core/skindef/picture_scale.h"
#include "core/skindef/skin_check.h"
#include "gui/files.h"
#include "gui/formreader.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "skin/data/menu_glyphs.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_message_sink.h"
#include "skin/data/skin_coordinator.h"

namespace skin {

namespace {

std::vector<std::wstring> BuildDefaultSkin3rd() {
  std::vector<std::wstring> lines = {
      L"TTBDock=Panel", L"TTBToolbar=Panel", L"TImageEnMView=scrollbar", L"TImageEnView=scrollbar",
      L"TRzButton=button", L"TRzCheckGroup=CheckGroup", L"TRzRadioGroup=Radiogroup", L"TRzRadioButton=Radiobutton",
      L"TRzCheckBox=Checkbox", L"TRzButtonEdit=Edit", L"TRzDBRadioGroup=Radiogroup",
      L"TRzDBRadioButton=Radiobutton", L"TRzDBCheckBox=Checkbox", L"TDBCheckboxEh=Checkbox",
      L"TDBCheckboxEh=Checkbox", L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox",
      L"TLMDRadiobutton=Radiobutton", L"TLMDGROUPBOX=Panel", L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel",
      L"TLMDButtonPanel=Panel", L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel", L"TLMDTechnicalLine=Panel",
      L"TLMDLMDClock=Panel", L"TLMDTrackbar=trackbar"};
  auto add = [&lines](std::initializer_list<const wchar_t*> names, const wchar_t* kind) {
    for (const wchar_t* name : names) lines.push_back(std::wstring(name) + L"=" + kind);
  };
  add({L"TLMDListCombobox", L"TLMDCheckListCombobox", L"TLMDHeaderListCombobox", L"TLMDImageCombobox",
       L"TLMDColorCombobox", L"TLMDFontCombobox", L"TLMDFontSizeCombobox", L"TLMDFontSizeCombobox",
       L"TLMDPrinterCombobox", L"TLMDDriveCombobox", L"TLMDCalculatorComboBox", L"TLMDTrackBarComboBox",
       L"TLMDCalendarComboBox"},
      L"combobox");
  lines.insert(lines.end(), {L"TLMDRADIOGROUP=radiogroup", L"TLMDCheckGroup=CheckGroup",
                             L"TLMDDBRADIOGROUP=radiogroup", L"TLMDDBCheckGroup=CheckGroup"});
  add({L"TLMDEDIT", L"TLMDMASKEDIT", L"TLMDBROWSEEDIT", L"TLMDEXTSPINEDIT", L"TLMDCALENDAREDIT",
       L"TLMDFILEOPENEDIT", L"TLMDFILESAVEEDIT", L"TLMDCOLOREDIT", L"TLMDDBEDIT", L"TLMDDBMASKEDIT",
       L"TLMDDBEXTSPINEDIT", L"TLMDDBSPINEDIT", L"TLMDDBEDITDBLookup", L"TLMDEDITDBLookup"},
      L"Edit");
  add({L"TDBLookupCombobox", L"TWWDBCombobox", L"TWWDBLookupCombo", L"TWWDBCombobox", L"TWWKeyCombo"},
      L"Combobox");
  lines.insert(lines.end(),
               {L"TWWTempKeyCombo=combobox", L"TWWDBDateTimePicker=Combobox", L"TWWRADIOGROUP=radiogroup"});
  add({L"TDXDBPICKEDIT", L"TDXDBCALCEDIT", L"TDXDBIMAGEEDIT", L"TDXDBPOPUPEDIT", L"TDXDBEXTLOOKUPEDIT",
       L"TDXDBLOOKUPEDIT", L"TDXDBDATEEDIT", L"TDXDATEEDIT", L"TDXPICKEDIT", L"TDXPOPUPEDIT"},
      L"Combobox");
  add({L"TDXDBCURRENCYEDIT", L"TDXDBEDIT", L"TDXDBMASKEDIT", L"TDXDBHYPERLINKEDIT", L"TDXEDIT", L"TDXMASKEDIT",
       L"TWWDBEDIT", L"TDXBUTTONEDIT", L"TDXCURRENCYEDIT", L"TDXHYPERLINKEDIT", L"TOVCPICTUREFIELD",
       L"TOVCDBPICTUREFIELD", L"TOVCSLIDEREDIT", L"TOVCDBSLIDEREDIT", L"TOVCSIMPLEFIELD", L"TOVCDBSIMPLEFIELD",
       L"TO32DBFLEXEDIT", L"TOVCNUMERICFIELD", L"TOVCDBNUMERICFIELD"},
      L"Edit");
  return lines;
}

const std::vector<std::string> kSkinControlNames = {
    "xcMainMenu", "xcPopupMenu", "xcToolbar",     "xcControlbar", "xcCombo",      "xcCheckBox",   "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit",        "xcButton",     "xcBitBtn",     "xcSpeedButton", "xcPanel",
    "xcGroupBox", "xcStatusBar", "xcTab",         "xcSystemMenu", "xcFastReport"};

}  // namespace

void RegisterSkinComponents() { gui::RegisterComponentClass<TSkinData>(); }

namespace {
// Any program that links the component can read it from a form description.
const bool registered = (RegisterSkinComponents(), true);
}  // namespace

const std::vector<std::wstring>& DefaultSkin3rd() {
  static const std::vector<std::wstring> lines = BuildDefaultSkin3rd();
  return lines;
}

void TSkinData::DeclareProperties(std::vector<gui::TPropInfo>& list) {
  gui::TPropBuilder<TSkinData> b(list);
  b.Boolean("Active", [](TSkinData& d) { return d.Active(); }, [](TSkinData& d, bool v) { d.SetActive(v); });
  b.Integer("DisableTag", [](TSkinData& d) { return d.DisableTag(); },
            [](TSkinData& d, int v) { d.SetDisableTag(v); });
  b.Set("SkinControls", kSkinControlNames, [](TSkinData& d) { return d.SkinControls(); },
        [](TSkinData& d, std::uint32_t v) { d.SetSkinControls(v); });
  b.Strings("Skin3rd", [](TSkinData& d) { return d.Skin3rd(); },
            [](TSkinData& d, const std::vector<std::wstring>& v) { d.SetSkin3rd(v); });
  b.String("SkinFile", [](TSkinData& d) { return d.SkinFile(); },
           [](TSkinData& d, const std::wstring& v) { d.SetSkinFile(v); });
  b.String("SkinStore", [](TSkinData& d) { return d.SkinStore(); },
           [](TSkinData& d, const std::wstring& v) { d.SetSkinStore(v); });
  b.Enumeration("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"},
                [](TSkinData& d) { return static_cast<int>(d.SkinFormtype()); },
                [](TSkinData& d, int v) {
                  if (v >= sfMainform && v <= sfDialog) d.SetSkinFormtype(static_cast<TSkinFormType>(v));
                });
  b.String("Version", [](TSkinData& d) { return d.Version(); },
           [](TSkinData& d, const std::wstring& v) { d.SetVersion(v); });
  b.Boolean("MenuUpdate", [](TSkinData& d) { return d.MenuUpdate(); },
            [](TSkinData& d, bool v) { d.SetMenuUpdate(v); });
  b.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
}

TSkinData::TSkinData(gui::TComponent* owner)
    : gui::TComponent(owner), skin3rd_(DefaultSkin3rd()), content_(std::make_unique<TSkinContent>()) {
  menuGlyphs_ = new gui::TImageList(this, kMenuGlyphSize, kMenuGlyphSize);
  gui::BitmapHandle strip = CreateMenuGlyphStrip();
  menuGlyphs_->AddMasked(strip.get(), RGB(255, 255, 255));
}

TSkinData::~TSkinData() {
  BeginDestroy();
  // Never leaves its colours in force after it is gone.
  if (gui::CurrentColorScheme() == &palette_) gui::SetColorScheme(nullptr);
  if (ISkinCoordinator* coordinator = CurrentSkinCoordinator()) coordinator->RemoveSkinData(this);
}

bool TSkinData::ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) {
  if (name != "SkinStream") return gui::TComponent::ReadBinaryProperty(name, data);
  std::int32_t count = 0;
  if (data.size() >= sizeof(count)) std::memcpy(&count, data.data(), sizeof(count));
  if (count <= 0) return true;
  // A count beyond the stored bytes takes what is there; the archive reader
  // refuses a cut archive.
  const std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(count), data.size() - sizeof(count));
  SetSkinStream(data.subspan(sizeof(count), size));
  if (!IsDesigning()) LoadSkin();
  return true;
}

void TSkinData::SetSkinStream(std::span<const std::uint8_t> archive) {
  skinArchive_.Clear();
  skinArchive_.Write(archive.data(), archive.size());
  skinArchive_.Seek(0);
}

void TSkinData::WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& out) {
  gui::TComponent::WriteBinaryProperties(out);
  const auto bytes = skinArchive_.Bytes();
  const auto count = static_cast<std::int32_t>(bytes.size());
  std::vector<std::uint8_t> stream(sizeof(count));
  std::memcpy(stream.data(), &count, sizeof(count));
  stream.insert(stream.end(), bytes.begin(), bytes.end());
  out.emplace_back("SkinStream", std::move(stream));
}

namespace {

// Keeps the archive reader's message (an archive of another version), so
// that a skin file's failure is reported once, with the file's name.
class TKeptMessage : public core::ISkinMessageSink {
 public:
  void ShowMessage(std::string_view text) override { Text = text; }
  std::string Text;
};

// Decompresses, checks and parses an archive into a new skin without
// touching the component. Nothing for an archive of another version
// (reported through `messages`) or one without a definition entry; a
// damaged archive, a skin the checker finds an error in (the same rules as
// `skinpack check`) or an invalid picture raises its error.
std::unique_ptr<TSkinContent> ReadSkinArchive(std::span<const std::uint8_t> bytes,
                                              core::ISkinMessageSink& messages) {
  core::TSkinReader reader(&messages);
  core::ByteStream archive(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  if (!reader.LoadArchive(archive)) return nullptr;
  core::ByteStream extracted;
  std::string entryName;
  reader.ExtractFirstMatching(".ini", extracted, entryName);
  if (entryName.empty()) return nullptr;
  // The definition is parsed straight from the archive entry; no temporary
  // file is written.
  const auto text = extracted.Bytes();
  const std::string_view definition(reinterpret_cast<const char*>(text.data()), text.size());
  // At the design density the pictures' density variants are never drawn:
  // they are left undecoded and unchecked (packed last, most of the archive).
  const int dpi = ScreenDpi();
  const core::SkinEntries entries =
      dpi == core::kDesignDpi ? core::SkinEntries::WithoutDensityVariants : core::SkinEntries::All;
  // The checker reads the entries in place and hands over its reading of
  // the definition, which is the engine's when it finds no error.
  core::SkinDefinition def;
  const std::vector<core::SkinFinding> findings =
      core::CheckSkin(core::SkinViewOf(reader, entryName, definition, entries), &def);
  if (core::HasError(findings)) throw gui::Exception(gui::AnsiToWide(core::ErrorSummary(findings)));
  return ParseDefinition(def, reader, dpi);
}

std::vector<std::uint8_t> ReadSkinFile(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  if (!gui::ReadWholeFile(path, bytes)) throw gui::Exception(L"The file cannot be opened.");
  return bytes;
}

}  // namespace

bool TSkinData::LoadSkin() {
  skinLoading_ = true;
  if (IsDesigning()) return false;
  TDialogMessageSink messages;
  std::unique_ptr<TSkinContent> content;
  // A skin that is refused is reported once, as a skin file is, and the
  // program goes on without it (at start: unskinned).
  try {
    try {
      content = ReadSkinArchive(skinArchive_.Bytes(), messages);
    } catch (const gui::Exception& e) {
      throw gui::Exception(L"The skin was not loaded.\n\n" + e.Message());
    } catch (const std::exception& e) {
      throw gui::Exception(L"The skin was not loaded.\n\n" + gui::AnsiToWide(e.what()));
    }
  } catch (...) {
    gui::HandleException(this);
    return false;
  }
  // A failed load leaves the previous element objects in place.
  if (!content) return false;
  TakeContent(std::move(content));
  return true;
}

void TSkinData::TakeContent(std::unique_ptr<TSkinContent> content) {
  content_ = std::move(content);
  ++skinGeneration_;
  reportedProblems_.clear();
  skinName_ = content_->SkinName;
  skinLoading_ = false;
  palette_.Build(content_->Colours, content_->ButtonFaceBrush.get());
  // Worn already: what is painted in it follows the new colours.
  if (gui::CurrentColorScheme() == &palette_) gui::ColorSchemeChanged();
}

void TSkinData::ReportSkinProblem(const std::string& what, const std::wstring& text) {
  if (!reportedProblems_.insert(what).second) return;
  try {
    throw gui::Exception(text);
  } catch (...) {
    gui::HandleException(this);
  }
}

void TSkinData::SetSkinFile(const std::wstring& value) {
  if (IsDesigning()) {
    skinLoading_ = true;
    skinFile_ = value;
    if (!value.empty() && skinArchive_.Size() > 0) skinArchive_.Clear();
    return;
  }
  std::vector<std::uint8_t> bytes;
  try {
    try {
      bytes = ReadSkinFile(value);
    } catch (const gui::Exception& e) {
      throw gui::Exception(L"The skin file \"" + value + L"\" was not loaded.\n\n" + e.Message());
    }
  } catch (...) {
    gui::HandleException(this);
    return;
  }
  ReplaceSkin(std::move(bytes), value);
}

bool TSkinData::SetSkinArchive(std::span<const std::uint8_t> bytes) {
  if (IsDesigning()) return false;
  return ReplaceSkin(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), std::wstring());
}

bool TSkinData::SetSkinArchive(std::span<const std::uint8_t> bytes, std::wstring& failure) {
  failure.clear();
  if (IsDesigning()) return false;
  return ReplaceSkin(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), std::wstring(), &failure);
}

void TSkinData::CarryOutRequestNow() {
  if (ISkinCoordinator* coordinator = CurrentSkinCoordinator()) coordinator->CarryOutPendingRequest();
}

bool TSkinData::ReplaceSkin(std::vector<std::uint8_t> bytes, const std::wstring& file, std::wstring* failure) {
  // All or nothing: the skin in force stays, complete, until a new one has
  // been read and parsed entirely; a skin that fails is reported once.
  std::unique_ptr<TSkinContent> content;
  try {
    std::wstring reason;
    try {
      TKeptMessage version;
      content = ReadSkinArchive(bytes, version);
      if (!content)
        reason = version.Text.empty() ? L"It holds no skin definition (an entry ending in .ini)."
                                      : gui::AnsiToWide(version.Text);
    } catch (const gui::Exception& e) {
      reason = e.Message();
    } catch (const std::exception& e) {
      reason = gui::AnsiToWide(e.what());
    }
    if (!content && failure) {
      *failure = reason;
      return false;
    }
    if (!content) {
      const std::wstring what = file.empty() ? L"The skin" : L"The skin file \"" + file + L"\"";
      throw gui::Exception(what + L" was not loaded.\n\n" + reason);
    }
  } catch (...) {
    gui::HandleException(this);
    return false;
  }
  skinFile_ = file;
  SetSkinStream(bytes);
  TakeContent(std::move(content));
  ApplySkin();
  return true;
}

std::wstring TSkinData::SkinStore() const {
  if (IsDesigning() && skinArchive_.Size() > 0) return L"(Good)";
  return L"(none)";
}

void TSkinData::Loaded() {
  gui::TComponent::Loaded();
  if (IsDesigning()) return;
  ISkinCoordinator* coordinator = EnsureSkinCoordinator();
  if (!coordinator) return;  // the program did not install the engine
  coordinator->AddSkinData(this);
  if (skinFormtype_ == sfMainform) {
    coordinator->InstallHook();
    if (active_) {
      if (skinLoading_) {
        active_ = false;
      } else {
        coordinator->Request({saSkinOn, this}, kActionDelay);
      }
    }
    return;
  }
  coordinator->StartSkinningNow();
  if (auto* form = dynamic_cast<gui::TCustomForm*>(Owner())) coordinator->SkinWindow(form->Handle());
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (IsDesigning() || IsLoading()) return;
  if (skinFormtype_ == sfDialog) return;
  ISkinCoordinator* coordinator = EnsureSkinCoordinator();
  if (!coordinator) return;
  // Skin-on waits for a skin to wear.
  if (value && skinLoading_) return;
  coordinator->Request({value ? saSkinOn : saSkinOff, this}, kActionDelay);
}

void TSkinData::ApplySkin() {
  if (IsDesigning() || IsLoading()) return;
  if (!CurrentSkinCoordinator()) Loaded();
  ISkinCoordinator* coordinator = EnsureSkinCoordinator();
  if (!coordinator) return;
  coordinator->ReleaseAllSysButtons();
  coordinator->Request({saSkinChanged, this}, kActionDelay);
}

void TSkinData::FormFilter(const std::wstring& className, bool& doSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (!SkinsClassByDefault(className)) doSkin = false;
}

bool TSkinData::SkinsClassByDefault(const std::wstring& className) const {
  return className != L"SysMonthCal32" && !(HasControl(xcFastReport) && className.starts_with(L"Tfr"));
}

void TSkinData::FireSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

}  // namespace skin
