// A skin file given at run time either replaces the skin in force entirely
// or changes nothing: every kind of bad file is reported once, with its
// name, and the window keeps its complete skinned frame and working buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/skindef/picture_scale.h"
#include "core/skindef/tests/bmp_builder.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

using skin::ThreadSkinManager;
using skin::TSkinData;
using skin::TWinSkinForm;

std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::vector<std::uint8_t> Archive(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& entries) {
  core::TSkinWriter writer;
  for (const auto& [name, bytes] : entries) writer.AddEntry(name, bytes);
  return core::LzhCompress(writer.BuildContainer());
}

std::vector<std::uint8_t> Text(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

struct BadFile {
  const char* what;
  std::vector<std::uint8_t> bytes;  // empty: no file at all
};

TEST(SkinFile, AFileThatFailsToLoadLeavesTheSkinInForceComplete) {
  skin::FreeSkinManager();
  gui::TApplication app;
  std::vector<std::wstring> reports;
  app.OnException = [&](gui::TObject*, const std::wstring& message) { reports.push_back(message); };

  gui::TComponent owner(nullptr);
  auto* data = new TSkinData(&owner);
  data->SetLoadingState(true);
  data->SetActive(true);
  ASSERT_TRUE(data->ReadBinaryProperty("SkinStream", skin_test::SkinStreamOf(skin_test::DefaultSkinArchive())));
  data->SetLoadingState(false);
  data->Loaded();
  ASSERT_TRUE(ThreadSkinManager() && ThreadSkinManager()->SkinningWanted());

  HWND wnd = skin_test::CreateTestWindow(L"SkinFileTestWindow", &PlainProc, L"Skin file",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 320, 220);
  ThreadSkinManager()->WindowActivated(wnd);  // as the hook saw it activated
  skin_test::DrainMessages();
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  skinner->PaintNonClient();
  const std::size_t buttons = skinner->SysButtons().size();
  const int frameTop = skinner->Frame().Top;
  const std::string skinName = data->SkinName();
  ASSERT_GT(buttons, 0u);
  ASSERT_GT(frameTop, 0);

  const std::string definition = "[Info]\r\nName=Broken\r\n[Buttons]\r\nBitmap=face.bmp\r\n";
  std::vector<std::uint8_t> truncated = skin_test::DefaultSkinArchive();
  truncated.resize(100);
  const std::vector<BadFile> bad = {
      {"wrong version", skin_test::BareSkinArchive(19999)},
      {"truncated archive", truncated},
      {"no definition entry", Archive({{"face.bmp", core::testing::WrappedColourCountBmp()}})},
      {"bitmap with a wrapped colour count",
       Archive({{"skin.ini", Text(definition)}, {"face.bmp", core::testing::WrappedColourCountBmp()}})},
      {"missing file", {}},
  };
  const std::wstring path = TempPath(L"skin_file_test.skin");
  const auto expectSkinInForce = [&](const std::wstring& named) {
    skin_test::DrainMessages();
    if (ThreadSkinManager()->ActionTimer().Enabled()) ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(named), std::wstring::npos) << gui::WideToUtf8(reports[0]);
    EXPECT_FALSE(data->SkinLoading());
    EXPECT_EQ(data->SkinName(), skinName);
    skinner->PaintNonClient();
    EXPECT_EQ(skinner->SysButtons().size(), buttons);
    EXPECT_EQ(skinner->Frame().Top, frameTop);
    int visible = 0;
    for (const auto& button : skinner->SysButtons()) visible += skinner->PlaceOf(*button).Visible && !button->Element->Image.Empty();
    EXPECT_GT(visible, 0);
  };
  for (const BadFile& file : bad) {
    SCOPED_TRACE(file.what);
    DeleteFileW(path.c_str());
    if (!file.bytes.empty()) WriteBytes(path, file.bytes);
    reports.clear();
    data->SetSkinFile(path);
    expectSkinInForce(path);
    EXPECT_NE(data->SkinFile(), path);
    // The same archive held in memory (a skin the program carries).
    if (file.bytes.empty()) continue;
    reports.clear();
    EXPECT_FALSE(data->SetSkinArchive(file.bytes));
    expectSkinInForce(L"The skin was not loaded");
  }
  DeleteFileW(path.c_str());

  // A good archive in memory replaces a skin that came from a file.
  data->SetSkinFile(skin_test::DarkSkinPath());
  ASSERT_NE(data->SkinName(), skinName);
  EXPECT_TRUE(data->SetSkinArchive(skin_test::DefaultSkinArchive()));
  EXPECT_EQ(data->SkinName(), skinName);
  EXPECT_TRUE(data->SkinFile().empty());
  skin_test::DrainMessages();
  if (ThreadSkinManager()->ActionTimer().Enabled()) ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());

  // The skinned close button still closes the window.
  skin::TWinSysButton* closeButton = nullptr;
  for (const auto& button : skinner->SysButtons())
    if (button->Element->Action == 0 && skinner->PlaceOf(*button).Visible) closeButton = button.get();
  ASSERT_NE(closeButton, nullptr);
  RECT window{};
  GetWindowRect(wnd, &window);
  const RECT closeRect = skinner->PlaceOf(*closeButton).Bounds;
  const LPARAM at = MAKELPARAM(window.left + (closeRect.left + closeRect.right) / 2,
                               window.top + (closeRect.top + closeRect.bottom) / 2);
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, at);
  SendMessageW(wnd, WM_NCLBUTTONUP, HTCLOSE, at);
  skin_test::DrainMessages();
  EXPECT_FALSE(IsWindow(wnd));
  skin::FreeSkinManager();
}

}  // namespace

namespace {

std::vector<std::uint8_t> SkinArchiveOf(const std::string& definition, bool pictures = true) {
  core::TSkinWriter writer;
  writer.AddEntry("skin.ini", Text(definition));
  if (pictures) skin_test::AddFramePictures(writer);
  return core::LzhCompress(writer.BuildContainer());
}

// The loader's verdict is the checker's: what it calls an error is refused
// as an undecodable picture is (one report, the skin in force kept, at
// start no skin at all), a picture named and missing among them; warnings
// load.
TEST(SkinFile, TheEngineRefusesWhatTheCheckerCallsAnErrorAndWearsWhatItWarnsAbout) {
  skin::FreeSkinManager();
  gui::TApplication app;
  std::vector<std::wstring> reports;
  app.OnException = [&](gui::TObject*, const std::wstring& message) { reports.push_back(message); };
  const std::string whole = skin_test::WholeSkinDefinition("Hostile");
  const auto negative = SkinArchiveOf(whole + "[Buttons]\r\nLeftWidth=-2147483648\r\n");

  // At start: one report naming the line, and the program goes on unskinned.
  gui::TComponent owner(nullptr);
  TSkinData* data = skin_test::LoadSkinData(&owner, skin::sfMainform, true, negative);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(L"error: LeftWidth = -2147483648: a margin cannot be negative"), std::wstring::npos)
      << gui::WideToUtf8(reports[0]);
  EXPECT_NE(reports[0].find(L"skin.ini:"), std::wstring::npos);
  EXPECT_TRUE(data->SkinLoading());
  EXPECT_FALSE(data->Active());
  HWND wnd = skin_test::CreateTestWindow(L"SkinFileTestWindow", &PlainProc, L"Refused", WS_OVERLAPPEDWINDOW, 60, 60,
                                         320, 220);
  ThreadSkinManager()->StartSkinningNow();  // even then a component without a skin skins nothing
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(wnd));

  // At run time the skin in force stays; the same archive through the
  // SDK's call gives the reason instead of a report.
  reports.clear();
  ASSERT_TRUE(data->SetSkinArchive(skin_test::DefaultSkinArchive()));
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> refused{
      {"a negative margin", negative},
      {"a picture named and missing", SkinArchiveOf(whole + "[Tabs]\r\nImage=tab.bmp\r\n")},
      {"a colour of -1 -1 -1", SkinArchiveOf(whole + "[Colours]\r\nButtonFace=-1 -1 -1\r\n")},
      {"no frame at all", SkinArchiveOf("[TitlebarSkin]\r\nSkinName=Bare\r\n", false)},
  };
  for (const auto& [what, archive] : refused) {
    SCOPED_TRACE(what);
    reports.clear();
    EXPECT_FALSE(data->SetSkinArchive(archive));
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(data->SkinName(), "Daylight");
    std::wstring failure;
    EXPECT_FALSE(data->SetSkinArchive(archive, failure));
    EXPECT_NE(failure.find(L"skin.ini:"), std::wstring::npos) << gui::WideToUtf8(failure);
  }
  reports.clear();
  EXPECT_TRUE(data->SetSkinArchive(SkinArchiveOf(whole + "[Tabs]\r\nImag=tab.bmp\r\n")));
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(data->SkinName(), "Hostile");

  // A density variant of the wrong size is an error only where it is read:
  // a screen of the design density never draws, reads or checks one.
  core::TSkinWriter writer;
  writer.AddEntry("skin.ini", Text(skin_test::WholeSkinDefinition("Variant")));
  skin_test::AddFramePictures(writer);
  writer.AddEntry("frame_top@2x.bmp", gui_test::StripBmp(15, 40, {RGB(70, 90, 120)}));
  const bool designDensity = skin::ScreenDpi() == core::kDesignDpi;
  EXPECT_EQ(data->SetSkinArchive(writer.BuildArchive()), designDensity);
  EXPECT_EQ(reports.size(), designDensity ? 0u : 1u);
  DestroyWindow(wnd);
  skin::FreeSkinManager();
}

// A skin the checker passes may still be unable to frame a window (here:
// no close box): that window keeps the system's frame, with its controls
// skinned, reported once however many windows meet it; a skin change that
// can frame it skins the frame, and one that cannot gives the frame back.
TEST(SkinFile, AWindowTheSkinCannotFrameKeepsTheSystemFrameAndIsReportedOnce) {
  skin::FreeSkinManager();
  gui::TApplication app;
  std::vector<std::wstring> reports;
  app.OnException = [&](gui::TObject*, const std::wstring& message) { reports.push_back(message); };
  std::string noClose = skin_test::WholeSkinDefinition("NoClose");
  noClose.erase(noClose.find("[Button0]"), noClose.find("[Button1]") - noClose.find("[Button0]"));
  const auto archive = SkinArchiveOf(noClose);
  gui::TComponent owner(nullptr);
  TSkinData* data = skin_test::LoadSkinData(&owner, skin::sfMainform, true, archive);
  ASSERT_FALSE(data->SkinLoading());
  HWND windows[2];
  for (HWND& wnd : windows) {
    wnd = skin_test::CreateTestWindow(L"SkinFileTestWindow", &PlainProc, L"Framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      60, 60, 320, 220);
    ThreadSkinManager()->WindowActivated(wnd);  // as the hook saw it activated
  }
  skin_test::DrainMessages();
  const auto expectSystemFrame = [&](HWND wnd) {
    TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
    ASSERT_NE(skinner, nullptr);
    EXPECT_FALSE(skinner->FrameSkinned());
    EXPECT_EQ(skinner->FrameRefused(), skin::fsNoCloseBox);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    // The system's caption moves it.
    RECT r{};
    GetWindowRect(wnd, &r);
    const int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM((r.left + r.right) / 2, y)), HTCAPTION);
  };
  for (HWND wnd : windows) expectSystemFrame(wnd);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(L"shows no close box"), std::wstring::npos) << gui::WideToUtf8(reports[0]);

  reports.clear();
  ASSERT_TRUE(data->SetSkinArchive(skin_test::DefaultSkinArchive()));
  ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
  skin_test::DrainMessages();
  for (HWND wnd : windows) {
    TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
    ASSERT_NE(skinner, nullptr);
    EXPECT_TRUE(skinner->FrameSkinned());
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, 0);
  }
  EXPECT_TRUE(reports.empty());

  // A minimised window is judged at the size it comes back to.
  ShowWindow(windows[0], SW_MINIMIZE);
  skin_test::DrainMessages();
  data->SetSkinFile(skin_test::DarkSkinPath());
  ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
  skin_test::DrainMessages();
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(windows[0]), nullptr);
  EXPECT_TRUE(ThreadSkinManager()->FindFormSkinner(windows[0])->FrameSkinned());
  ShowWindow(windows[0], SW_RESTORE);
  skin_test::DrainMessages();
  EXPECT_TRUE(reports.empty());

  ASSERT_TRUE(data->SetSkinArchive(archive));
  ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
  skin_test::DrainMessages();
  for (HWND wnd : windows) expectSystemFrame(wnd);
  EXPECT_EQ(reports.size(), 1u);
  for (HWND wnd : windows) DestroyWindow(wnd);
  skin::FreeSkinManager();
}

}  // namespace
