// The skin data component, the manager and the form skinner's life cycle on
// real windows: which windows get a skinner, what their own procedures see,
// and that switching the skin off gives everything back.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/imagelist.h"
#include "gui/subclass.h"
#include "gui/timer.h"
#include "skin/data/skin_data.h"
#include "skin/data/look_transitions.h"
#include "skin/data/skin_draw.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/manager/skin_engine.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/live_counts.h"

namespace {

using skin::ThreadSkinManager;
using skin::TSkinData;

// What a window's own procedure received, in order.
std::vector<UINT> g_log;
LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_log.push_back(msg);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND CreateTestWindow(DWORD style, HWND owner = nullptr, int width = 300, int height = 200) {
  return skin_test::CreateTestWindow(L"SkinManagerTestWindow", &RecordingProc, L"Test window", style, 50, 50, width,
                                     height, owner);
}

void Drain() { skin_test::DrainMessages(); }

using skin_test::TLiveCounts;

class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    owner_ = std::make_unique<gui::TComponent>(nullptr);
  }
  void TearDown() override {
    owner_.reset();
    skin::FreeSkinManager();
    Drain();
  }
  // A main-form component loaded as the form reader would, with a usable skin.
  TSkinData* LoadedData(skin::TSkinFormType type = skin::sfMainform, bool active = true,
                        const std::vector<std::uint8_t>& archive = skin_test::DefaultSkinArchive()) {
    TSkinData* data = skin_test::LoadSkinData(owner_.get(), type, active, archive);
    // The manager makes its listener's window once the thread is first
    // idle; made now, the counts compared do not hang on when that is.
    if (skin::TSkinManage* manager = skin::ThreadSkinManager()) manager->HighContrastListenerWindow();
    return data;
  }
  std::unique_ptr<gui::TComponent> owner_;
};

TEST_F(SkinManagerTest, StoredPropertiesAndDefaults) {
  TSkinData data(nullptr);
  EXPECT_EQ(skin::DefaultSkin3rd().size(), 95u);
  EXPECT_EQ(data.Skin3rd().front(), L"TTBDock=Panel");
  EXPECT_EQ(data.Skin3rd()[13], data.Skin3rd()[14]);  // the list keeps its duplicates
  EXPECT_EQ(data.Skin3rd().back(), L"TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(gui::GetPropValue(data, "Version"), "2.62.5.26");
  EXPECT_EQ(gui::GetPropValue(data, "SkinStore"), "(none)");
  EXPECT_EQ(gui::GetPropValue(data, "DisableTag"), "99");
  EXPECT_FALSE(data.HasControl(skin::xcFastReport));
  EXPECT_TRUE(data.HasControl(skin::xcSystemMenu));
  EXPECT_TRUE(data.SkinLoading());
  EXPECT_EQ(data.MenuGlyphs().Count(), 4);

  // The stream writes back what it read, count first.
  const auto stream = skin_test::SkinStreamOf(skin_test::BareSkinArchive());
  ASSERT_TRUE(data.ReadBinaryProperty("SkinStream", stream));
  EXPECT_FALSE(data.SkinLoading());
  EXPECT_EQ(gui::GetPropValue(data, "SkinStore"), "(none)");  // at run time, even with a skin
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> written;
  data.WriteBinaryProperties(written);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].first, "SkinStream");
  EXPECT_EQ(written[0].second, stream);
}

TEST_F(SkinManagerTest, EmptyStreamLeavesActiveOffAndSkinsNothing) {
  auto* data = new TSkinData(owner_.get());
  data->SetLoadingState(true);
  data->SetActive(true);
  const std::vector<std::uint8_t> zero(4, 0);
  ASSERT_TRUE(data->ReadBinaryProperty("SkinStream", zero));
  data->SetLoadingState(false);
  data->Loaded();
  EXPECT_EQ(data->SkinArchive().Size(), 0u);
  EXPECT_TRUE(data->SkinLoading());
  EXPECT_FALSE(data->Active());
  ASSERT_NE(ThreadSkinManager(), nullptr);
  EXPECT_FALSE(ThreadSkinManager()->SkinningWanted());
  EXPECT_NE(ThreadSkinManager()->HookHandle(), nullptr);
}

TEST_F(SkinManagerTest, NothingIsHookedUntilTheProgramInstallsTheEngine) {
  skin::UninstallEngine();
  TSkinData* data = LoadedData();
  EXPECT_FALSE(data->SkinLoading());  // the skin is read all the same
  data->SetActive(false);
  data->SetActive(true);
  EXPECT_EQ(ThreadSkinManager(), nullptr);
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Drain();
  EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 0);
  DestroyWindow(wnd);
  delete data;

  skin::InstallEngine();
  LoadedData();
  ASSERT_NE(ThreadSkinManager(), nullptr);
  EXPECT_TRUE(ThreadSkinManager()->SkinningWanted());
  EXPECT_NE(ThreadSkinManager()->HookHandle(), nullptr);
}

TEST_F(SkinManagerTest, RequestsBeforeTheFirstActivationTakeEffectAtOnce) {
  TSkinData* data = LoadedData();
  ASSERT_FALSE(data->SkinLoading());
  EXPECT_TRUE(ThreadSkinManager()->SkinningWanted());
  EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());
  const skin::TSkinRequest taken = ThreadSkinManager()->PendingRequest();
  data->SetActive(true);  // its own value: nothing asked
  EXPECT_TRUE(ThreadSkinManager()->PendingRequest() == taken);
  data->SetActive(false);
  EXPECT_FALSE(ThreadSkinManager()->SkinningWanted());
  EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Action, skin::saSkinOff);
  // After an activation (the hook sees a window shown) the same request
  // waits for the timer.
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(ThreadSkinManager()->ActivationCount(), 1);
  data->SetActive(true);
  EXPECT_FALSE(ThreadSkinManager()->SkinningWanted());
  EXPECT_TRUE(ThreadSkinManager()->ActionTimer().Enabled());
  DestroyWindow(wnd);
}

TEST_F(SkinManagerTest, WrongArchiveVersionIsReportedAndSkinsNothing) {
  gui::TApplication app;
  auto* data = new TSkinData(owner_.get());
  std::atomic<bool> done{false};
  std::atomic<bool> seen{false};
  std::thread answer([&] {
    for (int i = 0; i < 500 && !done; ++i) {
      if (HWND box = FindWindowW(L"#32770", nullptr)) {
        seen = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(20);
    }
  });
  data->SetLoadingState(true);
  data->SetActive(true);
  data->ReadBinaryProperty("SkinStream", skin_test::SkinStreamOf(skin_test::BareSkinArchive(19999)));
  data->SetLoadingState(false);
  done = true;
  answer.join();
  data->Loaded();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(data->SkinLoading());
  EXPECT_FALSE(data->Active());
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW);
  ThreadSkinManager()->StartSkinningNow();  // even then a component without a skin skins nothing
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(wnd));
  DestroyWindow(wnd);
}

TEST_F(SkinManagerTest, SkinFileAtRunTimeLoadsAndQueuesSkinChanged) {
  TSkinData* data = LoadedData();
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring path = std::wstring(dir) + L"skin_manager_test.skin";
  const auto archive = skin_test::BareSkinArchive();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, archive.data(), static_cast<DWORD>(archive.size()), &written, nullptr);
  CloseHandle(file);
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);  // activated: requests wait
  ASSERT_EQ(ThreadSkinManager()->ActivationCount(), 1);
  data->SetSkinFile(path);
  EXPECT_FALSE(data->SkinLoading());
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Action, skin::saSkinChanged);
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Data, data);
  EXPECT_TRUE(ThreadSkinManager()->ActionTimer().Enabled());
  // Carried out at once when asked, not again when the delay is up.
  data->CarryOutRequestNow();
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Data, nullptr);
  EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());
  DestroyWindow(wnd);
  DeleteFileW(path.c_str());
}

TEST_F(SkinManagerTest, WindowsThatAreNeverSkinned) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  data->OnFormSkin = nullptr;
  HWND zero = CreateTestWindow(WS_POPUP, nullptr, 0, 0);
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(zero));
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(app.Handle()));  // "TApplication"
  bool asked = false;
  EXPECT_TRUE(ThreadSkinManager()->AskFormSkin(L"TForm1"));
  EXPECT_FALSE(ThreadSkinManager()->AskFormSkin(L"SysMonthCal32"));
  data->OnFormSkin = [&](TSkinData*, const std::wstring&, bool& doSkin) {
    asked = true;
    doSkin = true;
  };
  EXPECT_TRUE(ThreadSkinManager()->AskFormSkin(L"SysMonthCal32"));
  EXPECT_TRUE(asked);
  data->OnFormSkin = nullptr;
  data->SetSkinControls(data->SkinControls() | skin::SkinControlBit(skin::xcFastReport));
  EXPECT_FALSE(ThreadSkinManager()->AskFormSkin(L"TfrPreview"));

  gui::TForm form(&app);
  form.SetClientWidth(200);
  form.SetClientHeight(150);
  form.SetTag(99);
  data->SetDisableTag(5);
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(form.Handle()));
  form.SetTag(0);
  EXPECT_TRUE(ThreadSkinManager()->SkinWindow(form.Handle()));
  EXPECT_EQ(SendMessageW(form.Handle(), skin::SkinMsgQuery, 0, 0), 1);
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(form.Handle()));  // once only
  DestroyWindow(zero);
}

TEST_F(SkinManagerTest, WhichComponentSkinsWhichWindow) {
  TSkinData* first = LoadedData();
  TSkinData* second = LoadedData();
  HWND plain = CreateTestWindow(WS_OVERLAPPEDWINDOW);
  HWND box = CreateWindowExW(0, L"#32770", L"Box", WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(plain), second);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(box), second);  // no dialog component yet
  TSkinData* dialog = LoadedData(skin::sfDialog);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(box), dialog);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(plain), second);
  // The filter is the first main-form component's.
  first->OnFormSkin = [](TSkinData*, const std::wstring&, bool& doSkin) { doSkin = false; };
  EXPECT_FALSE(ThreadSkinManager()->AskFormSkin(L"Anything"));
  DestroyWindow(box);
  DestroyWindow(plain);
}

TEST_F(SkinManagerTest, HookSkinsOnActivationAndSkinOffGivesEverythingBack) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  TSkinData* other = LoadedData();
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW);
  HWND owned = CreateTestWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, wnd);
  const auto ownProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  RECT client{}, window{};
  GetClientRect(wnd, &client);
  GetWindowRect(wnd, &window);
  // Components without a default window icon adopt the first skinned
  // window's icon for good; give them one so the counts compare.
  ThreadSkinManager()->SetDefaultWindowIcon(data, gui::TBitmap(16, 16));
  ThreadSkinManager()->SetDefaultWindowIcon(other, gui::TBitmap(16, 16));
  const TLiveCounts before;

  g_log.clear();
  ShowWindow(wnd, SW_SHOW);  // activation: the hook attaches a skinner
  auto* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->SkinData(), other);  // the later main-form component
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
  Drain();  // SkinMsgAttached fits the frame
  EXPECT_EQ(skinner->State(), skin::TWinSkinForm::ssRunning);
  g_log.clear();
  EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 1);
  for (UINT msg : g_log) {
    EXPECT_NE(msg, skin::SkinMsgQuery);  // answered before the window's own procedure
    EXPECT_NE(msg, skin::SkinMsgAttached);
  }

  ShowWindow(owned, SW_SHOW);
  auto* ownedSkinner = ThreadSkinManager()->FindFormSkinner(owned);
  ASSERT_NE(ownedSkinner, nullptr);
  EXPECT_NE(GetWindowLongPtrW(owned, GWL_STYLE) & WS_CAPTION, 0);  // an owned window keeps its caption
  EXPECT_EQ(GetWindowLongPtrW(owned, GWL_STYLE) & WS_SYSMENU, 0);
  Drain();

  // Skin off in main-form mode: every skinner goes, whatever its component.
  g_log.clear();
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data});
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, 0);
  RECT clientAfter{};
  GetClientRect(wnd, &clientAfter);
  EXPECT_EQ(clientAfter.right, client.right);
  EXPECT_EQ(clientAfter.bottom, client.bottom);
  RECT windowAfter{};
  GetWindowRect(wnd, &windowAfter);
  EXPECT_EQ(windowAfter.left, window.left);
  EXPECT_EQ(windowAfter.top, window.top);
  // The window's own procedure saw the caption come back, then the new size.
  auto styleChanged = std::find(g_log.begin(), g_log.end(), static_cast<UINT>(WM_STYLECHANGED));
  ASSERT_NE(styleChanged, g_log.end());
  EXPECT_NE(std::find(styleChanged, g_log.end(), static_cast<UINT>(WM_WINDOWPOSCHANGED)), g_log.end());
  Drain();
  EXPECT_EQ(TLiveCounts{}, before);

  DestroyWindow(owned);
  DestroyWindow(wnd);
}

// A GUI thread of its own wears the skin on a window without an icon, ends,
// and the program goes on: what the thread kept for itself is left alone at
// its exit (a thread-local object's destructor runs after its storage is
// freed), so every heap of the process stays whole.
TEST_F(SkinManagerTest, AThreadThatWoreTheSkinEndsAndLeavesTheHeapsWhole) {
  const skin::TAnimationAllowedQuery allowed = skin::SetAnimationAllowedQuery({});
  skin::SetAnimationAllowedQuery(allowed);
  for (int round = 0; round < 8; ++round) {
    std::thread([] {
      skin::TSkinEngine engine;
      gui::TComponent owner(nullptr);
      skin_test::LoadSkinData(&owner, skin::sfMainform, true, skin_test::DefaultSkinArchive());
      HWND wnd = skin_test::CreateTestWindow(L"SkinManagerThreadExit", &DefWindowProcW, L"No icon",
                                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 240, 160);
      ThreadSkinManager()->SkinWindow(wnd);
      skin_test::DrainMessages();
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      DestroyWindow(wnd);
    }).join();
    HANDLE heaps[64] = {};
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i) EXPECT_TRUE(HeapValidate(heaps[i], 0, nullptr)) << "round " << round;
  }
  // The thread's engine took the process's fade query with it.
  skin::SetAnimationAllowedQuery(allowed);
}

TEST_F(SkinManagerTest, FiveHundredSkinCyclesLeaveNothingBehind) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  auto* form = new gui::TForm(&app);
  form->SetClientWidth(240);
  form->SetClientHeight(160);
  form->HandleNeeded();
  form->Show();
  Drain();
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(form->Handle()), nullptr);
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data});
  Drain();
  HWND wnd = form->Handle();
  const auto ownProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  const gui::TWndMethod ownMethod = form->WindowProc;
  const gui::TColor ownColor = form->Color();
  RECT client{}, window{};
  GetClientRect(wnd, &client);
  GetWindowRect(wnd, &window);
  const TLiveCounts before;
  for (int i = 0; i < 500; ++i) {
    ThreadSkinManager()->CarryOut({skin::saSkinOn, data});
    ASSERT_NE(ThreadSkinManager()->FindFormSkinner(wnd), nullptr) << "cycle " << i;
    ASSERT_FALSE(form->WindowProc == ownMethod) << "cycle " << i;
    Drain();
    ThreadSkinManager()->CarryOut({skin::saSkinOff, data});
  }
  Drain();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
  EXPECT_TRUE(form->WindowProc == ownMethod);
  EXPECT_EQ(form->Color(), ownColor);
  RECT after{}, windowAfter{};
  GetClientRect(wnd, &after);
  GetWindowRect(wnd, &windowAfter);
  EXPECT_EQ(after.right, client.right);
  EXPECT_EQ(after.bottom, client.bottom);
  EXPECT_EQ(windowAfter.left, window.left);
  EXPECT_EQ(windowAfter.top, window.top);
  EXPECT_EQ(TLiveCounts{}, before);
}

// What each more skinned window holds: its composed frame and its icon,
// nothing more. The caption font is one for all of them; the title band is
// read from the frame; a menu bar keeps neither a picture nor a DC.
TEST_F(SkinManagerTest, ASecondSkinnedWindowHoldsOnlyItsFrameAndIcon) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  ThreadSkinManager()->SetDefaultWindowIcon(data, gui::TBitmap(16, 16));
  const auto skinWithMenu = [&] {
    HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 100, L"&File");
    AppendMenuW(bar, MF_STRING, 101, L"&Edit");
    SetMenu(wnd, bar);
    ShowWindow(wnd, SW_SHOW);
    Drain();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
    EXPECT_TRUE(skinner && skinner->MenuBar() && !skinner->MenuBar()->Items.empty());
    if (skinner && skinner->MenuBar() && !skinner->MenuBar()->Items.empty()) {
      // A hot item is drawn over the bar's background, made for it.
      skinner->MenuBar()->Items[0]->State = skin::TNCObject::stHot;
      skinner->MenuBar()->PaintItem(*skinner->MenuBar()->Items[0]);
    }
    return wnd;
  };
  HWND first = skinWithMenu();
  const long bitmaps = gui::BitmapHandle::LiveCount(), fonts = gui::FontHandle::LiveCount();
  const long dcs = gui::BitmapDcHandle::LiveCount();
  HWND second = skinWithMenu();
  EXPECT_EQ(gui::FontHandle::LiveCount(), fonts);
  EXPECT_EQ(gui::BitmapDcHandle::LiveCount(), dcs);
  EXPECT_LE(gui::BitmapHandle::LiveCount() - bitmaps, 2);
  DestroyWindow(second);
  DestroyWindow(first);
  Drain();
}

// The default icon a window offers is the picture that window shows, not a
// copy of it.
TEST_F(SkinManagerTest, TheDefaultWindowIconIsThePictureAWindowShows) {
  TSkinData* data = LoadedData();
  gui::TBitmap pixels(16, 16);
  pixels.SetPixel(3, 4, RGB(200, 10, 10));
  gui::TBitmap shown;
  shown.CopyFrom(pixels);
  const std::shared_ptr<gui::TBitmap> picture = skin::SharedIconPicture(std::move(shown));
  const long bitmaps = gui::BitmapHandle::LiveCount();
  ThreadSkinManager()->OfferWindowIcon(data, *picture);
  EXPECT_EQ(ThreadSkinManager()->DefaultWindowIcon(data), picture.get());
  EXPECT_EQ(gui::BitmapHandle::LiveCount(), bitmaps);
  // Another picture is kept as it is.
  ThreadSkinManager()->SetDefaultWindowIcon(data, gui::TBitmap(16, 16));
  ASSERT_NE(ThreadSkinManager()->DefaultWindowIcon(data), nullptr);
  EXPECT_NE(ThreadSkinManager()->DefaultWindowIcon(data), picture.get());
  EXPECT_EQ(ThreadSkinManager()->DefaultWindowIcon(data)->Pixel(3, 4), RGB(0, 0, 0));
}

TEST_F(SkinManagerTest, SizeGripRefusedOnlyInsideSkinnedWindows) {
  gui::TApplication app;
  LoadedData();
  HWND skinned = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND plain = CreateTestWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(skinned), nullptr);
  ASSERT_EQ(ThreadSkinManager()->FindFormSkinner(plain), nullptr);
  auto grip = [](HWND parent) {
    return CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, parent, nullptr, nullptr,
                           nullptr);
  };
  EXPECT_EQ(grip(skinned), nullptr);
  EXPECT_NE(grip(plain), nullptr);
  DestroyWindow(plain);
  DestroyWindow(skinned);
  Drain();
  // The destroyed window's skinner is freed at the next decision.
  ThreadSkinManager()->PurgeDestroyedForms();
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
}

// A message box answered from another thread: the hook sees the "#32770"
// window and skins it; 500 of them leave no handle behind.
TEST_F(SkinManagerTest, MessageBoxesAreSkinnedAndLeaveNothingBehind) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  ThreadSkinManager()->SetDefaultWindowIcon(data, gui::TBitmap(16, 16));  // no icon adopted from the first box
  Drain();
  const TLiveCounts before;
  std::atomic<bool> done{false};
  std::atomic<int> skinnedBoxes{0};
  std::thread answer([&] {
    HWND last = nullptr;
    while (!done) {
      HWND box = FindWindowW(L"#32770", L"Notes");
      if (box && box != last && IsWindowVisible(box)) {
        if (SendMessageW(box, skin::SkinMsgQuery, 0, 0) == 1) ++skinnedBoxes;
        last = box;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(1);
    }
  });
  constexpr int kBoxes = 500;
  for (int i = 0; i < kBoxes; ++i) MessageBoxW(nullptr, L"Do you wish to save the changes?", L"Notes", MB_OK);
  done = true;
  answer.join();
  ThreadSkinManager()->PurgeDestroyedForms();
  Drain();
  EXPECT_EQ(skinnedBoxes, kBoxes);
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
  EXPECT_EQ(TLiveCounts{}, before);
}

TEST_F(SkinManagerTest, PopupMenusAreSkinnedOnlyWhileTheSkinIsOn) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  HWND wnd = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Drain();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"Item");
  auto track = [&] {
    // The menu window exists while the menu loop runs; a posted cancel ends it.
    std::atomic<bool> done{false};
    std::atomic<LRESULT> query{-1};
    std::thread closer([&] {
      for (int i = 0; i < 200 && !done; ++i) {
        if (HWND popup = FindWindowW(L"#32768", nullptr); popup && IsWindowVisible(popup)) {
          query = SendMessageW(popup, skin::SkinMsgQuery, 0, 0);
          PostMessageW(wnd, WM_CANCELMODE, 0, 0);
          PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
          break;
        }
        Sleep(10);
      }
    });
    SetForegroundWindow(wnd);
    TrackPopupMenu(menu, 0, 100, 100, 0, wnd, nullptr);
    done = true;
    closer.join();
    return query.load();
  };
  EXPECT_EQ(track(), 1);
  EXPECT_EQ(ThreadSkinManager()->MenuSkinnerCount(), 0u);  // freed when the menu window went
  data->SetActive(false);
  skin_test::WaitForPendingAction();
  EXPECT_NE(track(), 1);
  EXPECT_EQ(ThreadSkinManager()->MenuSkinnerCount(), 0u);
  DestroyMenu(menu);
  DestroyWindow(wnd);
}

}  // namespace

namespace {

// While a menu of this window's is open, the menu loop tells the owner it is
// idle, naming the menu window: print that window into a DIB, then end the
// menu.
struct MenuProbe {
  HWND menuWindow = nullptr;
  COLORREF printedCorner = CLR_INVALID;
  COLORREF printedCentreBand = CLR_INVALID;
  int width = 0, height = 0;
} g_probe;

LRESULT CALLBACK MenuOwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !g_probe.menuWindow) {
    g_probe.menuWindow = reinterpret_cast<HWND>(lParam);
    RECT r{};
    GetWindowRect(g_probe.menuWindow, &r);
    g_probe.width = r.right - r.left;
    g_probe.height = r.bottom - r.top;
    gui::TBitmap target(g_probe.width, g_probe.height);
    SendMessageW(g_probe.menuWindow, WM_PRINT, reinterpret_cast<WPARAM>(target.DC()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    g_probe.printedCorner = target.Pixel(0, 0);
    g_probe.printedCentreBand = target.Pixel(g_probe.width / 2, 1);
    EndMenu();
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(SkinManagerTest, APopupMenuPrintsItsFrameFromTheSkin) {
  gui::TApplication app;
  TSkinData* data = LoadedData();
  ASSERT_TRUE(data->Skin().MenuBackground && !data->Skin().MenuBackground->Image.Empty());
  HWND wnd = skin_test::CreateTestWindow(L"SkinManagerMenuOwner", &MenuOwnerProc, L"Owner",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200);
  Drain();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"First item");
  AppendMenuW(menu, MF_STRING, 2, L"Second item");
  g_probe = MenuProbe{};
  SetForegroundWindow(wnd);
  TrackPopupMenu(menu, 0, 60, 60, 0, wnd, nullptr);
  ASSERT_NE(g_probe.menuWindow, nullptr);
  // The expected picture: the element nine-sliced to the menu's size.
  TSkinData& skinData = *data;
  const RECT whole{0, 0, g_probe.width, g_probe.height};
  auto& element = *skinData.Skin().MenuBackground;
  gui::TBitmap expected =
      skin::RenderNineSlice(whole, element.Image, element.Margins(), false, element.TilesCentre(), 1, 1);
  EXPECT_EQ(g_probe.printedCorner, expected.Pixel(0, 0));
  EXPECT_EQ(g_probe.printedCentreBand, expected.Pixel(g_probe.width / 2, 1));
  EXPECT_EQ(ThreadSkinManager()->MenuSkinnerCount(), 0u);
  EXPECT_EQ(skin::PendingMenuSkinner, nullptr);  // the freed skinner is not left pending
  DestroyMenu(menu);
  DestroyWindow(wnd);
}

TEST_F(SkinManagerTest, AOneFormComponentSkinsAndUnskinsOnlyItsForm) {
  gui::TApplication app;
  TSkinData* mainData = LoadedData();
  HWND other = CreateTestWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Drain();
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(other), nullptr);

  auto* form = new gui::TForm(&app);
  form->SetClientWidth(200);
  form->SetClientHeight(120);
  auto* own = new TSkinData(form);
  own->SetSkinFormtype(skin::sfOnlyThisForm);
  own->SetSkinStream(skin_test::DefaultSkinArchive());
  ASSERT_TRUE(own->LoadSkin());
  const int activations = ThreadSkinManager()->ActivationCount();
  own->Loaded();  // skins its owner at once
  EXPECT_EQ(ThreadSkinManager()->ActivationCount(), activations + 1);
  auto* skinner = ThreadSkinManager()->FindFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->SkinData(), own);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(form->Handle()), own);
  EXPECT_EQ(ThreadSkinManager()->FindSkinData(other), mainData);

  // Switched off: the request waits for the action timer, then takes only
  // this form's skinner and tells the component.
  int changed = 0;
  own->OnSkinChanged = [&](gui::TObject* sender) {
    EXPECT_EQ(sender, own);
    ++changed;
  };
  own->SetActive(true);
  own->SetActive(false);
  EXPECT_TRUE(ThreadSkinManager()->ActionTimer().Enabled());
  for (int i = 0; i < 400 && ThreadSkinManager()->ActionTimer().Enabled(); ++i) {
    Drain();
    Sleep(5);
  }
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(form->Handle()), nullptr);
  EXPECT_NE(ThreadSkinManager()->FindFormSkinner(other), nullptr);
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Data, nullptr);
  delete form;
  DestroyWindow(other);
}
