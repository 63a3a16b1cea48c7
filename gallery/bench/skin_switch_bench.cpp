// skin_switch_bench DEFAULT.skin DARK.skin SKIN_FOLDER [REPEAT]: how long the
// gallery (its main form with every page made and the MDI demo open, every
// control skinned) takes to change its skin through SkinFile, from the call
// to the last repaint, beside the time to load the same archive alone and
// beside the gallery's own start-up without a skin (from reading its form
// to the first complete paint with every page made, as `--no-skin` starts
// it), in one run. The
// switch is split into its parts: the call (which loads the archive), the
// wait for the request to be carried out, and carrying it out with every
// repaint it causes. Also times reading a skin folder as `--watch` does
// (read, check, pack). Best of REPEAT switches each way (default 10), in
// milliseconds. The same switch once more with the request carried out at
// once (CarryOutRequestNow), as the gallery's reload of a watched folder
// does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gallery/gallery_form.h"
#include "gallery/gallery_options.h"
#include "gallery/mdi_demo.h"
#include "gallery/skin_folder_watch.h"
#include "skin/data/skin_data.h"
#include "skin/manager/skin_engine.h"
#include "tests/support/best_of.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, t;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Runs the message loop until nothing but timers is left to do: every
// paint the switch caused is done.
void Settle() {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE) & 0xFFFF)) break;
  }
  GdiFlush();
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring Wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

struct TParts {
  double Call = 1e30, Wait = 1e30, Apply = 1e30, Whole = 1e30;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: skin_switch_bench DEFAULT.skin DARK.skin SKIN_FOLDER [REPEAT]\n", stderr);
    return 2;
  }
  const std::wstring skins[2] = {Wide(argv[1]), Wide(argv[2])};
  const std::wstring folder = Wide(argv[3]);
  const int repeat = argc > 4 ? std::max(1, std::atoi(argv[4])) : 10;

  const skin::TSkinEngine engine;
  gui::TApplication application;
  // The gallery's own start-up, unskinned: the form read (its skin data
  // component still reads the archive the form carries), the skin put off
  // as the command line does, shown, and every page shown once, to the last
  // paint.
  const double startupBegin = Now();
  auto* form = application.CreateForm<TGalleryForm>();
  TGalleryOptions noSkin;
  noSkin.NoSkin = true;
  form->ApplyOptions(noSkin);
  form->Show();
  Settle();
  for (int page = form->Pages->PageCount() - 1; page >= 0; --page) {
    form->Pages->SetActivePageIndex(page);
    Settle();
  }
  const double startup = Now() - startupBegin;
  if (form->ProgressTimer) form->ProgressTimer->SetEnabled(false);
  form->MdiDemo1Click(nullptr);
  Settle();
  form->LoadSkinFile(skins[1]);
  Settle();
  Sleep(400);
  Settle();
  const skin::TSkinnerCounts skinners = skin::SkinnerCounts();

  // The archive alone: read from its file and loaded into a component of
  // its own, which no window wears.
  double load[2];
  for (int k = 0; k < 2; ++k) {
    const std::vector<std::uint8_t> bytes = ReadBytes(skins[k]);
    load[k] = BestSeconds(repeat, [&] {
                skin::TSkinData alone(nullptr);
                alone.SetSkinStream(bytes);
                alone.LoadSkin();
              }) * 1000.0;
  }

  TParts parts[2];
  for (int i = 0; i < 2 * repeat; ++i) {
    const int k = i % 2;  // default, then dark, and so on
    const double t0 = Now();
    form->SkinData1->SetSkinFile(skins[k]);
    const double t1 = Now();
    // The request is carried out from the message loop once its delay is up.
    while (skin::RequestPending()) {
      MSG msg;
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const double t2 = Now();
    Settle();
    const double t3 = Now();
    TParts& p = parts[k];
    p.Call = std::min(p.Call, t1 - t0);
    p.Wait = std::min(p.Wait, t2 - t1);
    p.Apply = std::min(p.Apply, t3 - t2);
    p.Whole = std::min(p.Whole, t3 - t0);
  }

  // The same switch with the request carried out at once, as the watched
  // folder's reload does.
  double immediate[2] = {1e30, 1e30};
  for (int i = 0; i < 2 * repeat; ++i) {
    const int k = i % 2;
    const double t0 = Now();
    form->SkinData1->SetSkinFile(skins[k]);
    form->SkinData1->CarryOutRequestNow();
    Settle();
    immediate[k] = std::min(immediate[k], Now() - t0);
  }

  TSkinFolderWatch watch(folder, nullptr);
  const double watchRead = BestSeconds(repeat, [&] { watch.Read(); }) * 1000.0;

  // Live reload as the author sees it: the definition saved in a watched
  // copy of the folder, until the gallery has repainted in the new skin.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring copy = std::wstring(temp) + L"skin_switch_bench";
  CreateDirectoryW(copy.c_str(), nullptr);
  std::string definition;
  {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        CopyFileW((folder + L"\\" + found.cFileName).c_str(), (copy + L"\\" + found.cFileName).c_str(), FALSE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    const std::vector<std::uint8_t> text = ReadBytes(copy + L"\\skin.ini");
    definition.assign(text.begin(), text.end());
  }
  form->WatchSkinFolder(copy);
  Settle();
  std::vector<double> reloads;
  for (int i = 0; i < 2 * repeat; ++i) {
    const std::uint32_t generation = form->SkinData1->SkinGeneration();
    std::string changed = definition;
    const std::size_t at = changed.find("\nButtonFace=");
    if (at != std::string::npos)
      changed.replace(at + 12, changed.find_first_of("\r\n", at + 12) - at - 12, i % 2 ? "90 90 90" : "120 80 60");
    const double t0 = Now();
    {
      std::ofstream out((copy + L"\\skin.ini").c_str(), std::ios::binary | std::ios::trunc);
      out << changed;
    }
    while (form->SkinData1->SkinGeneration() == generation && Now() - t0 < 5000) {
      MSG msg;
      if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      }
    }
    Settle();
    reloads.push_back(Now() - t0);
  }
  std::sort(reloads.begin(), reloads.end());

  std::printf("gallery: %lld skinned windows, %lld control skinners, every page made; best of %d\n", skinners.Forms,
              skinners.Controls, repeat);
  std::printf("the gallery's own start-up, unskinned (form read to the last paint, every page shown) %7.1f ms\n",
              startup);
  const char* names[2] = {"default", "dark"};
  for (int k = 0; k < 2; ++k) {
    const TParts& p = parts[k];
    std::printf("to %-8s load alone %7.1f ms | SkinFile %7.1f ms = call %6.1f + wait %6.1f + apply %6.1f | "
                "%.2fx load, %.2fx load without the wait\n",
                names[k], load[k], p.Whole, p.Call, p.Wait, p.Apply, p.Whole / load[k], (p.Whole - p.Wait) / load[k]);
  }
  for (int k = 0; k < 2; ++k)
    std::printf("to %-8s carried out at once %7.1f ms, %.2fx load, %.2fx the unskinned start-up\n", names[k],
                immediate[k], immediate[k] / load[k], immediate[k] / startup);
  std::printf("saved to repainted in a watched folder: median %7.1f ms, slowest %7.1f ms (settling %lu ms, "
              "a look every %u ms)\n",
              reloads[reloads.size() / 2], reloads.back(), static_cast<unsigned long>(TSkinFolderWatch::kSettleMs),
              TSkinFolderWatch::kTickMs);
  std::printf("watched folder read, checked and packed %7.1f ms (%.2fx loading the default archive)\n", watchRead,
              watchRead / load[0]);
  return 0;
}
