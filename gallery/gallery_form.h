// The skin gallery's main form: every control kind of the framework on four
// pages, a main menu that switches skins while the program runs, a context
// menu, and a status bar that shows the skin in force and the page.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gallery/gallery_options.h"
#include "gallery/skin_folder_watch.h"
#include "gui/buttons.h"
#include "gui/comctrls.h"
#include "gui/datetime.h"
#include "gui/edits.h"
#include "gui/extctrls.h"
#include "gui/forms.h"
#include "gui/imagelist.h"
#include "gui/labels.h"
#include "gui/listview.h"
#include "gui/lists.h"
#include "gui/menus.h"
#include "gui/ranges.h"
#include "gui/stdctrls.h"
#include "gui/tabs.h"
#include "gui/tabset.h"
#include "gui/timer.h"

namespace skin {
class TSkinData;
}

class TLeftScrollListBox;
class TMdiDemoForm;

// Which skin the gallery wears: one of the two beside the program, another
// archive file, or none.
enum class TGallerySkin { gsDefault, gsDark, gsFlat, gsMeridian, gsMeridianDark, gsOtherFile, gsWatchedFolder, gsNone };

class TGalleryForm : public gui::TForm {
  GUI_CLASS(TGalleryForm, gui::TForm)
 public:
  explicit TGalleryForm(gui::TComponent* owner);

  // Rows the long lists are filled with when the form is created.
  static constexpr int kNumberedItems = 200;
  static constexpr int kMemoLines = 300;
  static constexpr int kListViewRows = 500;
  static constexpr int kLeftScrollItems = 60;
  static constexpr UINT kProgressInterval = 100;

  gui::TPageControl* Pages = nullptr;
  gui::TTabSheet* ButtonsPage = nullptr;
  gui::TTabSheet* ListsPage = nullptr;
  gui::TTabSheet* TextPage = nullptr;
  gui::TTabSheet* RangesPage = nullptr;
  gui::TStatusBar* StatusBar1 = nullptr;
  skin::TSkinData* SkinData1 = nullptr;
  gui::TImageList* Pictures = nullptr;

  // Buttons
  gui::TGroupBox* PushGroup = nullptr;
  gui::TButton* PushButton = nullptr;
  gui::TBitBtn* GlyphButton = nullptr;
  gui::TButton* DisabledButton = nullptr;
  gui::TPanel* SpeedPanel = nullptr;
  gui::TSpeedButton* AlignLeftButton = nullptr;
  gui::TSpeedButton* AlignCentreButton = nullptr;
  gui::TSpeedButton* AlignRightButton = nullptr;
  gui::TSpeedButton* BoldButton = nullptr;
  gui::TLabel* AlignLabel = nullptr;
  gui::TGroupBox* CheckGroup = nullptr;
  gui::TCheckBox* CheckedBox = nullptr;
  gui::TCheckBox* UncheckedBox = nullptr;
  gui::TCheckBox* DisabledBox = nullptr;
  gui::TGroupBox* RadioGroup = nullptr;
  gui::TRadioButton* FirstRadio = nullptr;
  gui::TRadioButton* SecondRadio = nullptr;
  gui::TRadioButton* DisabledRadio = nullptr;
  gui::TPanel* RaisedPanel = nullptr;
  gui::TPanel* LoweredPanel = nullptr;
  gui::TLabel* ClickLabel = nullptr;
  gui::TGroupBox* TransitionsGroup = nullptr;
  gui::TLabel* TransitionsLabel = nullptr;
  gui::TCheckBox* SlowMotionBox = nullptr;

  // Lists
  gui::TListBox* NumberList = nullptr;
  TLeftScrollListBox* LeftScrollList = nullptr;
  gui::TMemo* TextMemo = nullptr;
  gui::TListView* RowView = nullptr;
  gui::TScrollBar* HorizontalBar = nullptr;
  gui::TLabel* HorizontalLabel = nullptr;
  gui::TScrollBar* VerticalBar = nullptr;
  gui::TLabel* VerticalLabel = nullptr;

  // Text
  gui::TEdit* PlainEdit = nullptr;
  gui::TEdit* ReadOnlyEdit = nullptr;
  gui::TSpinEdit* NumberSpin = nullptr;
  gui::TComboBox* DropDownCombo = nullptr;
  gui::TComboBox* DropDownListCombo = nullptr;
  gui::TDateTimePicker* DatePicker = nullptr;
  gui::TTabSet* SectionTabs = nullptr;
  gui::TLabel* SectionLabel = nullptr;

  // Ranges
  gui::TTrackBar* HorizontalTrack = nullptr;
  gui::TLabel* HorizontalTrackLabel = nullptr;
  gui::TTrackBar* VerticalTrack = nullptr;
  gui::TLabel* VerticalTrackLabel = nullptr;
  gui::TEdit* UpDownEdit = nullptr;
  gui::TUpDown* NumberUpDown = nullptr;
  gui::TProgressBar* SmoothProgress = nullptr;
  gui::TProgressBar* ChunkedProgress = nullptr;
  gui::TTimer* ProgressTimer = nullptr;  // made in FormCreate

  // Menus
  gui::TMainMenu* MainMenu1 = nullptr;
  gui::TMenuItem* OpenSkinFile1 = nullptr;
  gui::TMenuItem* Exit1 = nullptr;
  gui::TMenuItem* Skin1 = nullptr;
  gui::TMenuItem* DefaultSkin1 = nullptr;
  gui::TMenuItem* DarkSkin1 = nullptr;
  gui::TMenuItem* FlatSkin1 = nullptr;
  gui::TMenuItem* MeridianSkin1 = nullptr;
  gui::TMenuItem* MeridianDarkSkin1 = nullptr;
  gui::TMenuItem* NoSkin1 = nullptr;
  gui::TMenuItem* MdiDemo1 = nullptr;
  // The multiple-document demo, made when first asked for.
  TMdiDemoForm* MdiDemo = nullptr;
  gui::TMenuItem* About1 = nullptr;
  gui::TPopupMenu* ButtonsMenu = nullptr;
  gui::TMenuItem* CheckedItem1 = nullptr;
  gui::TMenuItem* DisabledItem1 = nullptr;
  gui::TMenuItem* ImageItem1 = nullptr;
  gui::TMenuItem* More1 = nullptr;
  gui::TMenuItem* DefaultItem1 = nullptr;

  // The skin in force, as the Skin menu's marks show it.
  TGallerySkin ActiveSkin() const { return activeSkin_; }
  // Wears the skin the gallery carries (Default), one of the skins beside
  // the program (dark, flat, Meridian light and dark), or none. A skin file that fails to load is reported once and
  // the skin in force stays.
  void ChooseSkin(TGallerySkin skin);
  // Loads any skin archive through SkinData1's SkinFile; false (after the
  // report) when it could not be loaded.
  bool LoadSkinFile(const std::wstring& path);
  // Wears the skin in the folder, packed in memory, and wears it again
  // within a second of every change to the folder. A folder that does not
  // check or load keeps the skin in force: the reason goes into the status
  // bar and a note that the next good change closes, never a message box.
  void WatchSkinFolder(const std::wstring& folder);
  // Shows the page with that caption (any case); false when there is none.
  bool ShowPage(const std::wstring& caption);
  // The command line's choices; what cannot be done is reported through
  // the standard error report.
  void ApplyOptions(const TGalleryOptions& options);

  // The other skins lie beside the program; the default one is inside it.
  static std::wstring ProgramFolder();
  static std::wstring DarkSkinPath() { return ProgramFolder() + L"dark.skin"; }
  static std::wstring FlatSkinPath() { return ProgramFolder() + L"flat.skin"; }
  static std::wstring MeridianSkinPath() { return ProgramFolder() + L"meridian.skin"; }
  static std::wstring MeridianDarkSkinPath() { return ProgramFolder() + L"meridian_dark.skin"; }

  // Event handlers named in the form description.
  void FormCreate(gui::TObject* sender);
  void FormDestroy(gui::TObject* sender);
  void PagesChange(gui::TObject* sender);
  void ButtonClick(gui::TObject* sender);
  void AlignClick(gui::TObject* sender);
  void HorizontalBarChange(gui::TObject* sender);
  void VerticalBarChange(gui::TObject* sender);
  void SectionTabsChange(gui::TObject* sender);
  void HorizontalTrackChange(gui::TObject* sender);
  void VerticalTrackChange(gui::TObject* sender);
  void ProgressTimerTick(gui::TObject* sender);
  void OpenSkinFile1Click(gui::TObject* sender);
  void Exit1Click(gui::TObject* sender);
  void DefaultSkin1Click(gui::TObject* sender);
  void DarkSkin1Click(gui::TObject* sender);
  void FlatSkin1Click(gui::TObject* sender);
  void MeridianSkin1Click(gui::TObject* sender);
  void MeridianDarkSkin1Click(gui::TObject* sender);
  void NoSkin1Click(gui::TObject* sender);
  void About1Click(gui::TObject* sender);
  void MdiDemo1Click(gui::TObject* sender);
  void ContextItemClick(gui::TObject* sender);
  // Fades shown ten times longer, for skin authors.
  void SlowMotionClick(gui::TObject* sender);

  gui::TNotifyEvent MethodAddress(std::string_view name) override;
  void BindField(std::string_view name, gui::TComponent* component) override;
  void WndProc(gui::TMessage& message) override;

 private:
  // Page control and status bar fill the client area as it is resized.
  void LayOut();
  void ShowSkinState();
  // What the skin worn declares in [Animation], on the Buttons page.
  void ShowTransitions();
  void ShowPageInStatus();
  void WearWatchedFolder();
  void ShowWatchNote(const std::wstring& text);

  TGallerySkin activeSkin_ = TGallerySkin::gsDefault;
  // The archive of the form description's skin, kept for Skin > Default.
  std::vector<std::uint8_t> embeddedSkin_;
  std::unique_ptr<TSkinFolderWatch> watch_;
  std::wstring watchProblem_;
  gui::TMemo* watchNote_ = nullptr;  // lists what keeps the folder from being worn
};
