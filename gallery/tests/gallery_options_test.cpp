// The gallery's command line, as the program splits it.
#include <gtest/gtest.h>

#include "gallery/gallery_options.h"

TEST(GalleryOptions, ReadsSkinPageWatchAndNoSkin) {
  const TGalleryOptions none = ParseGalleryOptions({});
  EXPECT_TRUE(none.SkinFile.empty());
  EXPECT_FALSE(none.NoSkin);
  EXPECT_TRUE(none.Page.empty());
  EXPECT_FALSE(none.RightToLeftLayout);
  EXPECT_TRUE(none.Problems.empty());

  const TGalleryOptions all = ParseGalleryOptions(
      {L"--page", L"Lists", L"--skin", L"C:\\skins\\my dark.skin", L"--no-skin", L"--watch", L"C:\\my skin", L"--rtl"});
  EXPECT_EQ(all.SkinFile, L"C:\\skins\\my dark.skin");
  EXPECT_EQ(all.WatchFolder, L"C:\\my skin");
  EXPECT_EQ(all.Page, L"Lists");
  EXPECT_TRUE(all.NoSkin);
  EXPECT_TRUE(all.RightToLeftLayout);
  EXPECT_TRUE(all.Problems.empty());

  // The last of a repeated option counts; a value may look like an option.
  const TGalleryOptions repeated = ParseGalleryOptions({L"--page", L"Text", L"--page", L"--no-skin"});
  EXPECT_EQ(repeated.Page, L"--no-skin");
  EXPECT_FALSE(repeated.NoSkin);
}

TEST(GalleryOptions, NamesWhatItDoesNotUnderstand) {
  const TGalleryOptions unknown = ParseGalleryOptions({L"--skins", L"a.skin", L"--page"});
  ASSERT_EQ(unknown.Problems.size(), 3u);
  EXPECT_EQ(unknown.Problems[0], L"Unknown option \"--skins\".");
  EXPECT_EQ(unknown.Problems[1], L"Unknown option \"a.skin\".");
  EXPECT_EQ(unknown.Problems[2], L"The option --page needs a value.");
  EXPECT_TRUE(unknown.Page.empty());
}
