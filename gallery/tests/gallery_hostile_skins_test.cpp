// The drawing fuzz under Wine: every hostile variant of the default skin
// (core/skindef/tests/hostile_skins.h, the list the checker's verdicts are
// tested on) given to the gallery as a skin file, one page shown for each
// and all four for every tenth. The gallery must live through all of them;
// a variant the checker refuses is refused with one report and the skin in
// force stays; one it passes is worn with a caption that moves the window,
// a close box, controls inside their parents, and no window one colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"
#include "core/skindef/tests/hostile_skins.h"
#include "gallery/tests/gallery_fixture.h"
#include "gui/tests/form_fixture.h"
#include "gui/text.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

using core::testing::HostileSkin;

core::SkinSource DefaultSkin() {
  std::ifstream file((TGalleryForm::ProgramFolder() + L"default.skin").c_str(), std::ios::binary);
  core::ByteStream archive(
      std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
  core::TSkinReader reader;
  if (!reader.LoadArchive(archive)) return {};
  core::ByteStream definition;
  std::string name;
  reader.ExtractFirstMatching(".ini", definition, name);
  const auto text = definition.Bytes();
  return core::SkinSourceOf(reader, name, std::string(text.begin(), text.end()));
}

// The variant as a skin file: its definition first, as skinpack packs one.
std::wstring WriteSkinFile(const core::SkinSource& skin) {
  core::TSkinWriter writer;
  writer.AddEntry(skin.DefinitionName, std::span(reinterpret_cast<const std::uint8_t*>(skin.Definition.data()),
                                                 skin.Definition.size()));
  for (const auto& [name, bytes] : skin.Files) writer.AddEntry(name, bytes);
  const std::vector<std::uint8_t> archive = core::LzhCompress(writer.BuildContainer());
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"gallery-hostile.skin";
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  return path;
}

// Where the window answers a hit test with `code` (window coordinates), or
// nothing: the top 64 rows and the borders scanned as a pointer would.
std::optional<POINT> FindHit(HWND wnd, LRESULT code) {
  RECT r{};
  GetWindowRect(wnd, &r);
  for (int y = 0; y < std::min<LONG>(64, r.bottom - r.top); ++y)
    for (int x = 0; x < r.right - r.left; ++x)
      if (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)) == code) return POINT{x, y};
  return std::nullopt;
}

// Visible child windows that stick out of their parent's window.
std::vector<std::wstring> ControlsOutsideTheirParents(HWND wnd) {
  std::vector<std::wstring> outside;
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT c{}, p{};
    GetWindowRect(child, &c);
    GetWindowRect(wnd, &p);
    RECT both{};
    IntersectRect(&both, &c, &p);
    if (!EqualRect(&both, &c)) {
      wchar_t name[64] = {};
      GetClassNameW(child, name, 64);
      outside.push_back(name);
    }
    const auto inner = ControlsOutsideTheirParents(child);
    outside.insert(outside.end(), inner.begin(), inner.end());
  }
  return outside;
}

// The share of the window's pixels taken by its commonest colour.
double CommonestColourShare(HWND wnd) {
  const gui::TBitmap shot = gui_test::WholeWindowShot(wnd);
  std::map<COLORREF, int> counts;
  for (int y = 0; y < shot.Height(); y += 2)
    for (int x = 0; x < shot.Width(); x += 2) ++counts[shot.Pixel(x, y)];
  int most = 0, all = 0;
  for (const auto& [colour, n] : counts) {
    most = std::max(most, n);
    all += n;
  }
  return all ? static_cast<double>(most) / all : 1.0;
}

class HostileSkinsTest : public GalleryFixture {
 protected:
  // The gallery's window under the skin in force, as a user meets it.
  void ExpectUsable(TGalleryForm& f, const std::string& what) {
    SCOPED_TRACE(what);
    HWND wnd = f.Handle();
    ASSERT_TRUE(IsWindow(wnd));
    skin::TWinSkinForm* skinner = skin::ThreadSkinManager() ? skin::ThreadSkinManager()->FindFormSkinner(wnd) : nullptr;
    ASSERT_NE(skinner, nullptr);
    EXPECT_TRUE(skinner->FrameSkinned());
    EXPECT_TRUE(FindHit(wnd, HTCAPTION)) << "no caption";
    EXPECT_TRUE(FindHit(wnd, HTCLOSE)) << "no close box";
    const auto outside = ControlsOutsideTheirParents(wnd);
    EXPECT_TRUE(outside.empty()) << outside.size() << " controls outside, the first a "
                                 << gui::WideToUtf8(outside.empty() ? L"" : outside[0]);
    EXPECT_LT(CommonestColourShare(wnd), 0.9) << "the window is one colour";
  }
};

TEST_F(HostileSkinsTest, EveryVariantIsRefusedOnceOrWornUsablyAndTheGalleryLives) {
  const core::SkinSource base = DefaultSkin();
  ASSERT_FALSE(base.Files.empty());
  TGalleryForm& f = Open();
  ASSERT_EQ(f.SkinData1->SkinName(), "Daylight");
  const std::vector<std::wstring> pages{L"Buttons", L"Lists", L"Text", L"Ranges"};
  const auto variants = core::testing::HostileSkins(base);
  int refused = 0, worn = 0, captionless = 0;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const HostileSkin& variant = variants[i];
    SCOPED_TRACE(variant.Name);
    const std::wstring path = WriteSkinFile(variant.Skin);
    errors_.clear();
    const bool loaded = f.LoadSkinFile(path);
    WaitForSkinRequests();
    if (variant.Expected == HostileSkin::Verdict::Refused) {
      ++refused;
      EXPECT_FALSE(loaded);
      EXPECT_EQ(errors_.size(), 1u);
      EXPECT_EQ(f.SkinData1->SkinName(), "Daylight") << "the skin in force stays";
    } else {
      ++worn;
      EXPECT_TRUE(loaded);
      EXPECT_TRUE(errors_.empty()) << gui::WideToUtf8(errors_.empty() ? L"" : errors_[0]);
    }
    // A page for each; all four for every tenth.
    for (std::size_t page = 0; page < pages.size(); ++page) {
      if (i % 10 != 0 && page != i % pages.size()) continue;
      ASSERT_TRUE(f.ShowPage(pages[page]));
      WaitForSkinRequests();
      ExpectUsable(f, gui::WideToUtf8(pages[page]));
      captionless += !FindHit(f.Handle(), HTCAPTION);
    }
    if (loaded) f.ChooseSkin(TGallerySkin::gsDefault);
    WaitForSkinRequests();
    DeleteFileW(path.c_str());
  }
  EXPECT_EQ(captionless, 0);
  std::cout << variants.size() << " variants: " << refused << " refused, " << worn << " worn, " << captionless
            << " windows without a caption\n";
}

}  // namespace
