// A skin file given at run time either replaces the skin in force entirely
// or changes nothing: every kind of bad file is reported once, with its
// name, and the window keeps its complete skinned frame and working buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/skindef/tests/bmp_builder.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

using skin::SkinManager;
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
  ASSERT_TRUE(SkinManager && SkinManager->SkinningOn);

  HWND wnd = skin_test::CreateTestWindow(L"SkinFileTestWindow", &PlainProc, L"Skin file",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 320, 220);
  SkinManager->SkinWindow(wnd);  // already done by the hook when it was activated
  skin_test::DrainMessages();
  SkinManager->ActivationCount = 1;
  TWinSkinForm* skinner = SkinManager->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  skinner->PaintNonClient();
  const std::size_t buttons = skinner->SysButtons().size();
  const int frameTop = skinner->Frame().Top;
  const std::string skinName = data->SkinName;
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
    if (SkinManager->ActionTimer().Enabled()) SkinManager->RunPendingAction();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(named), std::wstring::npos) << gui::WideToUtf8(reports[0]);
    EXPECT_FALSE(data->SkinLoading);
    EXPECT_EQ(data->SkinName, skinName);
    skinner->PaintNonClient();
    EXPECT_EQ(skinner->SysButtons().size(), buttons);
    EXPECT_EQ(skinner->Frame().Top, frameTop);
    int visible = 0;
    for (const auto& button : skinner->SysButtons()) visible += button->Visible && !button->Element->Image.Empty();
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
  ASSERT_NE(data->SkinName, skinName);
  EXPECT_TRUE(data->SetSkinArchive(skin_test::DefaultSkinArchive()));
  EXPECT_EQ(data->SkinName, skinName);
  EXPECT_TRUE(data->SkinFile().empty());
  skin_test::DrainMessages();
  if (SkinManager->ActionTimer().Enabled()) SkinManager->RunPendingAction();

  // The skinned close button still closes the window.
  skin::TWinSysButton* closeButton = nullptr;
  for (const auto& button : skinner->SysButtons())
    if (button->Element->Action == 0 && button->Visible) closeButton = button.get();
  ASSERT_NE(closeButton, nullptr);
  RECT window{};
  GetWindowRect(wnd, &window);
  const LPARAM at = MAKELPARAM(window.left + (closeButton->BoundsRect.left + closeButton->BoundsRect.right) / 2,
                               window.top + (closeButton->BoundsRect.top + closeButton->BoundsRect.bottom) / 2);
  SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCLOSE, at);
  SendMessageW(wnd, WM_NCLBUTTONUP, HTCLOSE, at);
  skin_test::DrainMessages();
  EXPECT_FALSE(IsWindow(wnd));
  skin::FreeSkinManager();
}

}  // namespace
