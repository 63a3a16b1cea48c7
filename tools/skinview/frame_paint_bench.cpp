// frame_paint_bench ARCHIVE [REPEAT]: times the skinned frame of a window the
// size of the settings dialog (client 290 x 310): one full non-client paint
// and one rebuild of the window region. Best of REPEAT runs (default 200),
// in microseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "gui/bitmap.h"
#include "tools/skinview/best_of.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

double BestMicroseconds(int repeat, const std::function<void()>& work) { return BestSeconds(repeat, work) * 1e6; }

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: frame_paint_bench ARCHIVE [REPEAT]\n", stderr);
    return 2;
  }
  const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "frame_paint_bench: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  skin::TSkinData data(nullptr);
  data.SkinArchive = core::ByteStream(file);
  if (!data.LoadSkin()) return 1;
  skin::EnsureSkinManager().AddSkinData(&data);
  skin::SkinManager->SkinningOn = true;

  WNDCLASSW wc{};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FramePaintBench";
  RegisterClassW(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  RECT r{0, 0, 290, 310};
  AdjustWindowRect(&r, style, FALSE);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Settings", style, 100, 100, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, wc.hInstance, nullptr);
  skin::SkinManager->SkinWindow(wnd);
  Drain();
  skin::TWinSkinForm* form = skin::SkinManager->FindFormSkinner(wnd);
  if (!form) return 1;

  GetWindowRect(wnd, &r);
  gui::TBitmap target(r.right - r.left, r.bottom - r.top);
  const double paint = BestMicroseconds(repeat, [&] { form->PaintNonClient(target.DC()); });
  const double region = BestMicroseconds(repeat, [&] {
    form->RegionSet = false;  // forces the rebuild a size change causes
    form->UpdateRegion();
  });
  std::printf("window %ld x %ld\nPaintNonClient: %.1f us\nUpdateRegion:   %.1f us\n", r.right - r.left,
              r.bottom - r.top, paint, region);
  DestroyWindow(wnd);
  Drain();
  skin::FreeSkinManager();
  return 0;
}
