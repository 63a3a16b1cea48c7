// An archive of another version is reported in the framework's message
// dialog, titled with the application title, and refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"
#include "gui/forms.h"
#include "skin/data/skin_message_sink.h"

TEST(SkinMessageSink, AnOlderArchiveIsReportedInTheMessageDialog) {
  gui::TApplication app;
  app.SetTitle(L"Skin test");

  core::TSkinWriter writer;
  const std::string definition = "[Info]\r\nName=Test\r\n";
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  std::vector<std::uint8_t> container = writer.BuildContainer();
  // Turn the version word 20000 into 19999.
  bool patched = false;
  for (std::size_t i = 0; i + 4 <= 16 && !patched; ++i) {
    std::uint32_t word;
    std::memcpy(&word, container.data() + i, 4);
    if (word == core::TSkinReader::ArchiveVersion) {
      word = 19999;
      std::memcpy(container.data() + i, &word, 4);
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  core::ByteStream archive(core::LzhCompress(container));

  std::wstring text, caption;
  std::atomic<bool> answered{false};
  std::thread answer([&] {
    for (int i = 0; i < 300 && !answered; ++i) {
      if (HWND box = FindWindowW(L"#32770", L"Skin test")) {
        wchar_t buffer[256] = {};
        GetDlgItemTextW(box, 0xFFFF, buffer, 256);
        text = buffer;
        GetWindowTextW(box, buffer, 256);
        caption = buffer;
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        answered = true;
      }
      Sleep(20);
    }
  });
  skin::TDialogMessageSink sink;
  core::TSkinReader reader(&sink);
  const bool loaded = reader.LoadArchive(archive);
  answered = true;
  answer.join();

  EXPECT_FALSE(loaded);
  EXPECT_EQ(caption, L"Skin test");
  EXPECT_EQ(text, L"This is Older Skin File\rPlease update to new version !");
}
