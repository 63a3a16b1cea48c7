// frame_paint_bench ARCHIVE [REPEAT]: times the skinned frame of a window the
// size of the settings dialog (client 290 x 310) beside one window-sized
// BitBlt to the same window in the same run: a full non-client paint from
// the composed frame, one that composes it again, a caption button's state
// change, and the window region's rebuild with and without handing it to
// the system. Best of REPEAT runs (default 200), in microseconds. Also counts
// the SetWindowRgn calls of skinning the window, dragging it by the caption
// and resizing it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "tests/support/import_patch.h"
#include "tests/support/best_of.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

double BestMicroseconds(int repeat, const std::function<void()>& work) { return BestSeconds(repeat, work) * 1e6; }

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int regionCalls = 0;
bool regionToSystem = true;
decltype(&SetWindowRgn) systemSetWindowRgn = nullptr;

// Counts the calls; with regionToSystem off the region is dropped instead,
// which leaves the region's own computation to be timed.
int WINAPI CountingSetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
  ++regionCalls;
  if (regionToSystem) return systemSetWindowRgn(wnd, region, redraw);
  if (region) DeleteObject(region);
  return 1;
}

void Report(const char* what, double us, double baseline) {
  std::printf("%-34s %8.1f us  %6.2fx BitBlt\n", what, us, us / baseline);
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
  data.SetSkinStream(file);
  if (!data.LoadSkin()) return 1;
  skin::EnsureSkinManager().AddSkinData(&data);
  skin::ThreadSkinManager()->Request({skin::saSkinOn, &data}, 0);

  WNDCLASSW wc{};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FramePaintBench";
  RegisterClassW(&wc);
  test_support::TImportPatch patch("user32.dll", "SetWindowRgn", reinterpret_cast<void*>(&CountingSetWindowRgn));
  systemSetWindowRgn = reinterpret_cast<decltype(&SetWindowRgn)>(patch.Original());
  if (!patch.Patched()) std::fputs("SetWindowRgn calls are not counted\n", stderr);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  RECT r{0, 0, 290, 310};
  AdjustWindowRect(&r, style, FALSE);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Settings", style, 100, 100, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, wc.hInstance, nullptr);
  regionCalls = 0;
  skin::ThreadSkinManager()->SkinWindow(wnd);
  Drain();
  const int startUpCalls = regionCalls;
  skin::TWinSkinForm* form = skin::ThreadSkinManager()->FindFormSkinner(wnd);
  if (!form) return 1;

  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // A drag by the caption moves the window in steps; a resize by the frame
  // changes its size in steps.
  regionCalls = 0;
  for (int step = 1; step <= 20; ++step) {
    SetWindowPos(wnd, nullptr, r.left + step * 5, r.top + step * 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Drain();
  }
  const int dragCalls = regionCalls;
  regionCalls = 0;
  for (int step = 1; step <= 20; ++step) {
    SetWindowPos(wnd, nullptr, 0, 0, w + step * 4, h + step * 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Drain();
  }
  const int resizeCalls = regionCalls;
  SetWindowPos(wnd, nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  Drain();

  gui::TBitmap picture(w, h);
  gui::WindowDc dc = gui::WindowDc::Whole(wnd);
  form->PaintNonClient(dc.get());
  const double blit = BestMicroseconds(repeat, [&] { BitBlt(dc.get(), 0, 0, w, h, picture.DC(), 0, 0, SRCCOPY); });
  const double cached = BestMicroseconds(repeat, [&] { form->PaintNonClient(dc.get()); });
  const double composed = BestMicroseconds(repeat, [&] {
    form->DropFrameCache();
    form->PaintNonClient(dc.get());
  });
  skin::TWinSysButton* close = nullptr;
  for (auto& button : form->SysButtons())
    if (form->PlaceOf(*button).Visible && button->Element->Action == skin::caClose) close = button.get();
  int state = skin::TNCObject::stNormal;
  const double button = close ? BestMicroseconds(repeat, [&] {
    state = state == skin::TNCObject::stHot ? skin::TNCObject::stNormal : skin::TNCObject::stHot;
    form->PaintSysButton(*close, state);
  })
                              : 0.0;
  const double region = BestMicroseconds(repeat, [&] {
    form->InvalidateRegion();  // forces the rebuild a size change causes
    form->UpdateRegion();
  });
  regionToSystem = false;
  const double computed = BestMicroseconds(repeat, [&] {
    form->InvalidateRegion();
    form->UpdateRegion();
  });
  regionToSystem = true;
  form->InvalidateRegion();
  form->UpdateRegion();

  std::printf("window %d x %d, best of %d\n", w, h, repeat);
  Report("BitBlt, window-sized (baseline)", blit, blit);
  Report("PaintNonClient, from the cache", cached, blit);
  Report("PaintNonClient, composing", composed, blit);
  Report("caption button state change", button, blit);
  Report("UpdateRegion with SetWindowRgn", region, blit);
  Report("UpdateRegion, computation only", computed, blit);
  std::printf("SetWindowRgn calls: start-up %d, drag (20 moves) %d, resize (20 sizes) %d\n", startUpCalls,
              dragCalls, resizeCalls);
  DestroyWindow(wnd);
  Drain();
  skin::FreeSkinManager();
  return 0;
}
