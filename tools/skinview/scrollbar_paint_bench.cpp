// scrollbar_paint_bench ARCHIVE [REPEAT]: the cost of a list box's scroll
// bars, skinned and not, in the same run. Two list boxes of 200 items with
// both bars, one left to the system and one with a scroll-bar skinner.
// The bars: the system's non-client paint of the plain one (its border and
// bars) beside the skinner's paint of the other's bars. The whole control:
// frame and list repainted at once, plain beside skinned (the system's
// bars, the list, then the skin's bars on top). A message: what any message
// costs the skinned list box over the plain one, the skinner comparing its
// bars with what it painted last. Best of REPEAT runs (default 200), in
// microseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/controls/skin_scrollbar.h"
#include "skin/data/skin_data.h"
#include "tests/support/best_of.h"

namespace {

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

HWND FilledListBox(HWND parent, int x) {
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, x,
                              10, 180, 240, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 200; ++i) {
    const std::wstring item = L"Item number " + std::to_wstring(i) + L" of a list wider than its box";
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(list, LB_SETHORIZONTALEXTENT, 400, 0);
  SendMessageW(list, LB_SETTOPINDEX, 50, 0);
  return list;
}

void RepaintAll(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Report(const char* what, double plain, double skinned) {
  std::printf("%-10s system %9.1f us   skinned %9.1f us   ratio %.2f\n", what, plain, skinned, skinned / plain);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: scrollbar_paint_bench ARCHIVE [REPEAT]\n", stderr);
    return 2;
  }
  const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "scrollbar_paint_bench: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  skin::TSkinData data(nullptr);
  data.SetSkinStream(file);
  if (!data.LoadSkin()) return 1;

  WNDCLASSW wc{};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ScrollbarPaintBench";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 300,
                             nullptr, nullptr, wc.hInstance, nullptr);
  HWND plain = FilledListBox(wnd, 10);
  HWND skinned = FilledListBox(wnd, 210);
  skin::TSkinScrollbar bars(nullptr);
  bars.AttachWindow(skinned, &data, nullptr, nullptr);
  Drain();

  const double systemBars = BestSeconds(repeat, [&] { SendMessageW(plain, WM_NCPAINT, 1, 0); }) * 1e6;
  const double skinBars = BestSeconds(repeat, [&] { bars.PaintSkin(nullptr); }) * 1e6;
  const double systemAll = BestSeconds(repeat, [&] { RepaintAll(plain); }) * 1e6;
  const double skinnedAll = BestSeconds(repeat, [&] { RepaintAll(skinned); }) * 1e6;
  const double systemMessage = BestSeconds(repeat, [&] { SendMessageW(plain, WM_NULL, 0, 0); }) * 1e6;
  const double skinnedMessage = BestSeconds(repeat, [&] { SendMessageW(skinned, WM_NULL, 0, 0); }) * 1e6;
  RECT r;
  GetWindowRect(skinned, &r);
  std::printf("list box %ld x %ld, both bars\n", r.right - r.left, r.bottom - r.top);
  Report("bars", systemBars, skinBars);
  Report("whole", systemAll, skinnedAll);
  Report("message", systemMessage, skinnedMessage);
  DestroyWindow(wnd);
  Drain();
  return 0;
}
