#include "gallery/gallery_form.h"

#include <commdlg.h>

#include <algorithm>
#include <cwctype>
#include <utility>

#include "gallery/left_scroll_list.h"
#include "gallery/live_counts.h"
#include "gallery/mdi_demo.h"
#include "gui/dialogs.h"
#include "gui/text.h"
#include "skin/data/skin_data.h"
#include "skin/manager/skin_engine.h"

namespace {

// "&Push me" -> "Push me": captions as the user reads them.
std::wstring PlainCaption(const std::wstring& caption) {
  std::wstring plain;
  for (wchar_t c : caption)
    if (c != L'&') plain += c;
  return plain;
}

// Through the application's standard error report, as any failure is.
void Report(gui::TObject* sender, const std::wstring& message) {
  try {
    throw gui::Exception(message);
  } catch (...) {
    gui::HandleException(sender);
  }
}

// A status bar panel wide enough for "Skin: " and a skin's name.
constexpr int kSkinPanelWidth = 240;
// The note of what keeps a watched skin folder from being worn.
constexpr int kWatchNoteHeight = 76;

}  // namespace

TGalleryForm::TGalleryForm(gui::TComponent* owner) : gui::TForm(owner) { RegisterLeftScrollListBox(); }

gui::TNotifyEvent TGalleryForm::MethodAddress(std::string_view name) {
  using Handler = void (TGalleryForm::*)(gui::TObject*);
  static const std::pair<std::string_view, Handler> kMethods[] = {
      {"FormCreate", &TGalleryForm::FormCreate},
      {"FormDestroy", &TGalleryForm::FormDestroy},
      {"PagesChange", &TGalleryForm::PagesChange},
      {"ButtonClick", &TGalleryForm::ButtonClick},
      {"AlignClick", &TGalleryForm::AlignClick},
      {"HorizontalBarChange", &TGalleryForm::HorizontalBarChange},
      {"VerticalBarChange", &TGalleryForm::VerticalBarChange},
      {"SectionTabsChange", &TGalleryForm::SectionTabsChange},
      {"HorizontalTrackChange", &TGalleryForm::HorizontalTrackChange},
      {"VerticalTrackChange", &TGalleryForm::VerticalTrackChange},
      {"OpenSkinFile1Click", &TGalleryForm::OpenSkinFile1Click},
      {"Exit1Click", &TGalleryForm::Exit1Click},
      {"DefaultSkin1Click", &TGalleryForm::DefaultSkin1Click},
      {"DarkSkin1Click", &TGalleryForm::DarkSkin1Click},
      {"FlatSkin1Click", &TGalleryForm::FlatSkin1Click},
      {"MeridianSkin1Click", &TGalleryForm::MeridianSkin1Click},
      {"MeridianDarkSkin1Click", &TGalleryForm::MeridianDarkSkin1Click},
      {"NoSkin1Click", &TGalleryForm::NoSkin1Click},
      {"About1Click", &TGalleryForm::About1Click},
      {"MdiDemo1Click", &TGalleryForm::MdiDemo1Click},
      {"ContextItemClick", &TGalleryForm::ContextItemClick},
      {"SlowMotionClick", &TGalleryForm::SlowMotionClick},
  };
  for (const auto& [methodName, method] : kMethods)
    if (methodName == name) return [this, method](gui::TObject* sender) { (this->*method)(sender); };
  return gui::TForm::MethodAddress(name);
}

void TGalleryForm::BindField(std::string_view name, gui::TComponent* c) {
  const auto bind = [name, c]<class T>(std::string_view fieldName, T*& field) {
    if (fieldName == name) field = dynamic_cast<T*>(c);
  };
  bind("Pages", Pages);
  bind("ButtonsPage", ButtonsPage);
  bind("ListsPage", ListsPage);
  bind("TextPage", TextPage);
  bind("RangesPage", RangesPage);
  bind("StatusBar1", StatusBar1);
  bind("SkinData1", SkinData1);
  bind("Pictures", Pictures);
  bind("PushGroup", PushGroup);
  bind("PushButton", PushButton);
  bind("GlyphButton", GlyphButton);
  bind("DisabledButton", DisabledButton);
  bind("SpeedPanel", SpeedPanel);
  bind("AlignLeftButton", AlignLeftButton);
  bind("AlignCentreButton", AlignCentreButton);
  bind("AlignRightButton", AlignRightButton);
  bind("BoldButton", BoldButton);
  bind("AlignLabel", AlignLabel);
  bind("CheckGroup", CheckGroup);
  bind("CheckedBox", CheckedBox);
  bind("UncheckedBox", UncheckedBox);
  bind("DisabledBox", DisabledBox);
  bind("RadioGroup", RadioGroup);
  bind("FirstRadio", FirstRadio);
  bind("SecondRadio", SecondRadio);
  bind("DisabledRadio", DisabledRadio);
  bind("RaisedPanel", RaisedPanel);
  bind("LoweredPanel", LoweredPanel);
  bind("ClickLabel", ClickLabel);
  bind("TransitionsGroup", TransitionsGroup);
  bind("TransitionsLabel", TransitionsLabel);
  bind("SlowMotionBox", SlowMotionBox);
  bind("NumberList", NumberList);
  bind("LeftScrollList", LeftScrollList);
  bind("TextMemo", TextMemo);
  bind("RowView", RowView);
  bind("HorizontalBar", HorizontalBar);
  bind("HorizontalLabel", HorizontalLabel);
  bind("VerticalBar", VerticalBar);
  bind("VerticalLabel", VerticalLabel);
  bind("PlainEdit", PlainEdit);
  bind("ReadOnlyEdit", ReadOnlyEdit);
  bind("NumberSpin", NumberSpin);
  bind("DropDownCombo", DropDownCombo);
  bind("DropDownListCombo", DropDownListCombo);
  bind("DatePicker", DatePicker);
  bind("SectionTabs", SectionTabs);
  bind("SectionLabel", SectionLabel);
  bind("HorizontalTrack", HorizontalTrack);
  bind("HorizontalTrackLabel", HorizontalTrackLabel);
  bind("VerticalTrack", VerticalTrack);
  bind("VerticalTrackLabel", VerticalTrackLabel);
  bind("UpDownEdit", UpDownEdit);
  bind("NumberUpDown", NumberUpDown);
  bind("SmoothProgress", SmoothProgress);
  bind("ChunkedProgress", ChunkedProgress);
  bind("MainMenu1", MainMenu1);
  bind("OpenSkinFile1", OpenSkinFile1);
  bind("Exit1", Exit1);
  bind("Skin1", Skin1);
  bind("DefaultSkin1", DefaultSkin1);
  bind("DarkSkin1", DarkSkin1);
  bind("FlatSkin1", FlatSkin1);
  bind("MeridianSkin1", MeridianSkin1);
  bind("MeridianDarkSkin1", MeridianDarkSkin1);
  bind("NoSkin1", NoSkin1);
  bind("MdiDemo1", MdiDemo1);
  bind("About1", About1);
  bind("ButtonsMenu", ButtonsMenu);
  bind("CheckedItem1", CheckedItem1);
  bind("DisabledItem1", DisabledItem1);
  bind("ImageItem1", ImageItem1);
  bind("More1", More1);
  bind("DefaultItem1", DefaultItem1);
}

std::wstring TGalleryForm::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // the name was cut
  }
  const std::size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// ---------------------------------------------------------------------------
// Creation and layout

void TGalleryForm::FormCreate(gui::TObject*) {
  const auto embedded = SkinData1->SkinArchive().Bytes();
  embeddedSkin_.assign(embedded.begin(), embedded.end());

  std::vector<std::wstring> numbered;
  for (int i = 1; i <= kNumberedItems; ++i) numbered.push_back(L"Item " + std::to_wstring(i));
  NumberList->Items().Assign(numbered);

  std::vector<std::wstring> leftScroll;
  for (int i = 1; i <= kLeftScrollItems; ++i) leftScroll.push_back(L"Entry " + std::to_wstring(i));
  LeftScrollList->Items().Assign(leftScroll);

  std::vector<std::wstring> lines;
  for (int i = 1; i <= kMemoLines; ++i)
    lines.push_back(L"Line " + std::to_wstring(i) + L": the quick brown fox jumps over the lazy dog.");
  TextMemo->Lines().Assign(lines);

  static const wchar_t* const kNames[] = {L"Alpha", L"Bravo", L"Charlie", L"Delta", L"Echo",
                                          L"Foxtrot", L"Golf", L"Hotel", L"India", L"Juliett"};
  for (int i = 1; i <= kListViewRows; ++i) {
    gui::TListItem& row = RowView->Items().Add();
    row.SetCaption(std::to_wstring(i));
    row.SubItems().Add(kNames[(i - 1) % std::size(kNames)]);
    row.SubItems().Add(std::to_wstring(i * 37 % 1000));
  }

  ProgressTimer = new gui::TTimer(this);
  ProgressTimer->SetInterval(kProgressInterval);
  ProgressTimer->OnTimer = [this](gui::TObject* sender) { ProgressTimerTick(sender); };

  StatusBar1->SetPanels({gui::TStatusPanel{L"", kSkinPanelWidth}, gui::TStatusPanel{L"", -1}});
  ShowSkinState();
  ShowPageInStatus();
}

void TGalleryForm::FormDestroy(gui::TObject*) {
  if (ProgressTimer) ProgressTimer->SetEnabled(false);
}

void TGalleryForm::WndProc(gui::TMessage& m) {
  // A test driver outside the process asks what the gallery holds.
  static const UINT liveCountsMessage = RegisterWindowMessageW(kLiveCountsMessageName);
  if (m.Msg == liveCountsMessage) {
    m.Result = SendLiveCounts(reinterpret_cast<HWND>(m.WParam), Handle(), m.LParam) ? 1 : 0;
    return;
  }
  gui::TForm::WndProc(m);
  // A minimised window has no client area to fill: laid out to nothing, the
  // page control would grow the scroll arrows of a tab strip too narrow for
  // its tabs, and keep them.
  if (m.Msg == WM_SIZE && m.WParam != SIZE_MINIMIZED) LayOut();
}

void TGalleryForm::LayOut() {
  if (!Pages || !StatusBar1 || !HandleAllocated()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  // The status bar keeps its height along the bottom (it is made with
  // CCS_NORESIZE, so it is placed like any other control).
  const int statusHeight = StatusBar1->Height();
  const int noteHeight = watchNote_ && watchNote_->Visible() ? kWatchNoteHeight : 0;
  const int pagesHeight = std::max(0, static_cast<int>(client.bottom) - statusHeight - noteHeight);
  StatusBar1->SetBounds(0, pagesHeight + noteHeight, client.right, statusHeight);
  if (noteHeight) watchNote_->SetBounds(0, pagesHeight, client.right, noteHeight);
  Pages->SetBounds(0, 0, client.right, pagesHeight);
}

// ---------------------------------------------------------------------------
// Skins

void TGalleryForm::ChooseSkin(TGallerySkin skin) {
  switch (skin) {
    case TGallerySkin::gsNone:
      SkinData1->SetActive(false);
      activeSkin_ = TGallerySkin::gsNone;
      break;
    case TGallerySkin::gsDefault:
      // The skin the gallery carries in its form description, whatever
      // files lie beside the program.
      if (SkinData1->SetSkinArchive(embeddedSkin_)) {
        SkinData1->SetActive(true);
        activeSkin_ = skin;
      }
      break;
    case TGallerySkin::gsDark:
      if (LoadSkinFile(DarkSkinPath())) activeSkin_ = skin;
      break;
    case TGallerySkin::gsFlat:
      if (LoadSkinFile(FlatSkinPath())) activeSkin_ = skin;
      break;
    case TGallerySkin::gsMeridian:
      if (LoadSkinFile(MeridianSkinPath())) activeSkin_ = skin;
      break;
    case TGallerySkin::gsMeridianDark:
      if (LoadSkinFile(MeridianDarkSkinPath())) activeSkin_ = skin;
      break;
    case TGallerySkin::gsOtherFile:
    case TGallerySkin::gsWatchedFolder:
      break;  // LoadSkinFile names the file; the watch wears the folder
  }
  ShowSkinState();
}

bool TGalleryForm::LoadSkinFile(const std::wstring& path) {
  // SetSkinFile replaces the component's skin only when the whole archive
  // loaded; otherwise it reports once and the skin in force stays.
  const skin::TSkinContent* before = &SkinData1->Skin();
  SkinData1->SetSkinFile(path);
  if (&SkinData1->Skin() == before) {
    ShowSkinState();
    return false;
  }
  // The new skin is applied first; switching skinning on afterwards makes
  // that the request carried out when the gallery was unskinned.
  SkinData1->SetActive(true);
  const std::wstring chosen = gui::LowerCase(path);
  activeSkin_ = chosen == gui::LowerCase(DarkSkinPath())           ? TGallerySkin::gsDark
                : chosen == gui::LowerCase(FlatSkinPath())         ? TGallerySkin::gsFlat
                : chosen == gui::LowerCase(MeridianSkinPath())     ? TGallerySkin::gsMeridian
                : chosen == gui::LowerCase(MeridianDarkSkinPath()) ? TGallerySkin::gsMeridianDark
                                                                   : TGallerySkin::gsOtherFile;
  ShowSkinState();
  return true;
}

void TGalleryForm::ShowSkinState() {
  ShowTransitions();
  if (DefaultSkin1) DefaultSkin1->SetChecked(activeSkin_ == TGallerySkin::gsDefault);
  if (DarkSkin1) DarkSkin1->SetChecked(activeSkin_ == TGallerySkin::gsDark);
  if (FlatSkin1) FlatSkin1->SetChecked(activeSkin_ == TGallerySkin::gsFlat);
  if (MeridianSkin1) MeridianSkin1->SetChecked(activeSkin_ == TGallerySkin::gsMeridian);
  if (MeridianDarkSkin1) MeridianDarkSkin1->SetChecked(activeSkin_ == TGallerySkin::gsMeridianDark);
  if (NoSkin1) NoSkin1->SetChecked(activeSkin_ == TGallerySkin::gsNone);
  if (!StatusBar1 || !SkinData1) return;
  std::wstring text = L"No skin";
  if (activeSkin_ != TGallerySkin::gsNone) text = L"Skin: " + gui::AnsiToWide(SkinData1->SkinName());
  auto panels = StatusBar1->Panels();
  if (panels.size() < 2) return;
  // What keeps a watched folder from being worn takes the room it needs.
  panels[0].Text = watchProblem_.empty() ? text : L"Not reloaded: " + watchProblem_;
  panels[0].Width = watchProblem_.empty() ? kSkinPanelWidth : std::max(kSkinPanelWidth, ClientWidth() - 140);
  StatusBar1->SetPanels(std::move(panels));
}

void TGalleryForm::ShowTransitions() {
  if (!TransitionsLabel || !SkinData1) return;
  std::wstring text;
  if (activeSkin_ != TGallerySkin::gsNone) {
    const core::SkinAnimation& animation = SkinData1->Skin().Animation;
    for (int k = 0; k < core::kAnimatedKinds; ++k) {
      std::wstring kind;
      for (int c = 0; c < core::kLookChanges; ++c) {
        const int ms = animation.Duration(static_cast<core::AnimatedKind>(k), static_cast<core::LookChange>(c));
        if (ms <= 0) continue;
        kind += (kind.empty() ? L" " : L", ") +
                gui::AnsiToWide(std::string(core::LookChangeName(static_cast<core::LookChange>(c)))) + L" " +
                std::to_wstring(ms);
      }
      if (!kind.empty())
        text += (text.empty() ? L"" : L"; ") +
                gui::AnsiToWide(std::string(core::AnimatedKindName(static_cast<core::AnimatedKind>(k)))) + kind;
    }
  }
  TransitionsLabel->SetCaption(text.empty() ? L"This skin declares no [Animation]: every change of look is at once."
                                            : L"Fades (ms): " + text);
}

void TGalleryForm::SlowMotionClick(gui::TObject*) {
  if (SlowMotionBox) skin::SetTransitionOptions({.Enabled = true, .Slowdown = SlowMotionBox->Checked() ? 10 : 1});
}

void TGalleryForm::WatchSkinFolder(const std::wstring& folder) {
  watch_ = std::make_unique<TSkinFolderWatch>(folder, [this] { WearWatchedFolder(); });
  WearWatchedFolder();
}

void TGalleryForm::WearWatchedFolder() {
  const TSkinFolderWatch::TReading reading = watch_->Read();
  std::wstring all;
  for (const core::SkinFinding& finding : reading.Findings) all += gui::AnsiToWide(core::FormatFinding(finding)) + L"\r\n";
  std::wstring failure = reading.Failure;
  if (failure.empty() && !reading.Ok()) {
    // The first error is the one to mend first.
    const auto error = std::find_if(reading.Findings.begin(), reading.Findings.end(), [](const core::SkinFinding& f) {
      return f.Severity == core::SkinFinding::Level::Error;
    });
    if (error != reading.Findings.end()) failure = gui::AnsiToWide(core::FormatFinding(*error));
  }
  if (failure.empty() && !SkinData1->SetSkinArchive(reading.Archive, failure) && failure.empty())
    failure = L"The skin was not loaded.";
  watchProblem_ = failure;
  if (failure.empty()) {
    SkinData1->SetActive(true);
    // A save should show at once, not a quarter second later.
    SkinData1->CarryOutRequestNow();
    activeSkin_ = TGallerySkin::gsWatchedFolder;
    if (watchNote_ && watchNote_->Visible()) {
      watchNote_->SetVisible(false);
      LayOut();
    }
  } else {
    ShowWatchNote(all.empty() ? failure : all);
  }
  ShowSkinState();
}

void TGalleryForm::ShowWatchNote(const std::wstring& text) {
  if (!watchNote_) {
    // A strip above the status bar, inside the gallery: it takes no focus
    // from the editor the author is saving from.
    watchNote_ = new gui::TMemo(this);
    watchNote_->SetParent(this);
    watchNote_->SetReadOnly(true);
    watchNote_->SetWordWrap(false);
    watchNote_->SetScrollBars(gui::TScrollStyle::ssBoth);
  }
  watchNote_->SetText(text);
  SendMessageW(watchNote_->Handle(), EM_SETSEL, 0, 0);
  watchNote_->SetVisible(true);
  LayOut();
}

// ---------------------------------------------------------------------------
// Pages

bool TGalleryForm::ShowPage(const std::wstring& caption) {
  for (int i = 0; i < Pages->PageCount(); ++i) {
    if (gui::LowerCase(Pages->Pages(i)->Caption()) != gui::LowerCase(caption)) continue;
    Pages->SetActivePageIndex(i);
    ShowPageInStatus();
    return true;
  }
  return false;
}

void TGalleryForm::PagesChange(gui::TObject*) { ShowPageInStatus(); }

void TGalleryForm::ShowPageInStatus() {
  if (!StatusBar1 || !Pages || !Pages->ActivePage()) return;
  auto panels = StatusBar1->Panels();
  if (panels.size() < 2) return;
  panels[1].Text = L"Page: " + Pages->ActivePage()->Caption();
  StatusBar1->SetPanels(std::move(panels));
  // The progress bars move only while they can be seen.
  if (ProgressTimer) ProgressTimer->SetEnabled(Pages->ActivePage() == RangesPage);
}

void TGalleryForm::ApplyOptions(const TGalleryOptions& options) {
  for (const std::wstring& problem : options.Problems) Report(this, problem);
  if (!options.SkinFile.empty()) LoadSkinFile(options.SkinFile);
  if (!options.WatchFolder.empty()) WatchSkinFolder(options.WatchFolder);
  if (options.NoSkin) ChooseSkin(TGallerySkin::gsNone);
  if (!options.Page.empty() && !ShowPage(options.Page)) Report(this, L"There is no page \"" + options.Page + L"\".");
}

// ---------------------------------------------------------------------------
// Controls

void TGalleryForm::ButtonClick(gui::TObject* sender) {
  if (auto* control = dynamic_cast<gui::TControl*>(sender))
    ClickLabel->SetCaption(L"Clicked: " + PlainCaption(control->Caption()));
}

void TGalleryForm::AlignClick(gui::TObject* sender) {
  const wchar_t* side = sender == AlignCentreButton ? L"centre" : sender == AlignRightButton ? L"right" : L"left";
  AlignLabel->SetCaption(std::wstring(L"Alignment: ") + side);
}

void TGalleryForm::HorizontalBarChange(gui::TObject*) {
  HorizontalLabel->SetCaption(L"Horizontal: " + std::to_wstring(HorizontalBar->Position()));
}

void TGalleryForm::VerticalBarChange(gui::TObject*) {
  VerticalLabel->SetCaption(L"Vertical: " + std::to_wstring(VerticalBar->Position()));
}

void TGalleryForm::SectionTabsChange(gui::TObject*) {
  const int index = SectionTabs->TabIndex();
  SectionLabel->SetCaption(L"Section: " + (index >= 0 ? SectionTabs->Tabs()[index] : std::wstring(L"none")));
}

void TGalleryForm::HorizontalTrackChange(gui::TObject*) {
  HorizontalTrackLabel->SetCaption(L"Horizontal: " + std::to_wstring(HorizontalTrack->Position()));
}

void TGalleryForm::VerticalTrackChange(gui::TObject*) {
  VerticalTrackLabel->SetCaption(L"Vertical: " + std::to_wstring(VerticalTrack->Position()));
}

void TGalleryForm::ProgressTimerTick(gui::TObject*) {
  for (gui::TProgressBar* bar : {SmoothProgress, ChunkedProgress}) {
    if (bar->Position() >= bar->Max()) {
      bar->SetPosition(bar->Min());
    } else {
      bar->StepIt();
    }
  }
}

// ---------------------------------------------------------------------------
// Menus

void TGalleryForm::OpenSkinFile1Click(gui::TObject*) {
  std::wstring file(MAX_PATH, L'\0');
  const std::wstring folder = ProgramFolder();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"Skin archives (*.skin)\0*.skin\0All files (*.*)\0*.*\0";
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = L"Open Skin File";
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return;  // cancelled
  file.resize(file.find(L'\0'));
  LoadSkinFile(file);
}

void TGalleryForm::Exit1Click(gui::TObject*) { Close(); }

void TGalleryForm::DefaultSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsDefault); }

void TGalleryForm::DarkSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsDark); }

void TGalleryForm::FlatSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsFlat); }
void TGalleryForm::MeridianSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsMeridian); }
void TGalleryForm::MeridianDarkSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsMeridianDark); }

void TGalleryForm::NoSkin1Click(gui::TObject*) { ChooseSkin(TGallerySkin::gsNone); }

void TGalleryForm::MdiDemo1Click(gui::TObject*) {
  if (!MdiDemo) MdiDemo = new TMdiDemoForm(this);
  MdiDemo->Show();
}

void TGalleryForm::About1Click(gui::TObject*) {
  std::wstring text = L"Skin Gallery\n\nEvery kind of control the framework has, drawn by the skin engine. "
                      L"Choose a skin from the Skin menu to change the look while the program runs.";
  if (watch_)
    text += L"\n\nWatching the skin folder " + watch_->Folder() +
            L": every change to it is worn within a second.";
  gui::ShowMessage(text);
}

void TGalleryForm::ContextItemClick(gui::TObject* sender) {
  if (auto* item = dynamic_cast<gui::TMenuItem*>(sender))
    ClickLabel->SetCaption(L"Chosen from the context menu: " + PlainCaption(item->Caption()));
}
