// Finds windows and controls on the Wine desktop for end-to-end tests and
// prints their screen coordinates, so that a script can click them as a user.
//   uiprobe control TITLE TEXT [MS]   centre of the child control showing TEXT
//   uiprobe checked TITLE TEXT [MS]   exits 0 when that control (a check box) is checked
//   uiprobe closebox TITLE [MS]       centre of the window's close box
//   uiprobe gone TITLE [MS]           exits 0 once no window has that title
//   uiprobe minbox TITLE [MS]         centre of the window's minimise box
//   uiprobe rect TITLE [MS]           the window rectangle: left top right bottom
//   uiprobe iconic TITLE [MS]         exits 0 once the window is minimised
//   uiprobe restore TITLE [MS]        restores the minimised window, as a task bar does
//   uiprobe skinned TITLE [MS]        exits 0 when the window answers the skin's query
//   uiprobe close TITLE [MS]          asks the window to close (WM_CLOSE), as Alt+F4 does
//   uiprobe popup TITLE [MS]          the rectangle of an open popup menu (TITLE is not read)
//   uiprobe menuband TITLE [MS]       "x y" of a point in the window's menu bar, by hit testing
//   uiprobe maxbox TITLE [MS]         centre of the window's maximise box
//   uiprobe zoomed TITLE [MS]         exits 0 once the window is maximised
// A TITLE of the form "FRAME>CHILD" names the MDI child captioned CHILD in
// the frame captioned FRAME; a frame is also found while its caption shows
// a maximised child ("FRAME - [CHILD]").
// Waits up to MS milliseconds (default 10000); exits 1 when it finds nothing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Widen(const char* s) {
  wchar_t buf[512];
  MultiByteToWideChar(CP_UTF8, 0, s, -1, buf, 512);
  return buf;
}

struct ChildSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchMdiChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  if ((GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && search->caption == text && IsWindowVisible(child)) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

// An MDI frame whose child is maximised shows "FRAME - [CHILD]".
struct FrameSearch {
  std::wstring prefix;
  HWND found = nullptr;
};

BOOL CALLBACK MatchMaximisedFrame(HWND wnd, LPARAM data) {
  auto* search = reinterpret_cast<FrameSearch*>(data);
  wchar_t text[256] = {};
  GetWindowTextW(wnd, text, 256);
  if (std::wstring(text).starts_with(search->prefix) && IsWindowVisible(wnd)) {
    search->found = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const std::wstring& title) {
  const std::size_t split = title.find(L'>');
  const std::wstring frame = title.substr(0, split);
  HWND wnd = FindWindowW(nullptr, frame.c_str());
  if (!wnd) {
    FrameSearch search{frame + L" - ["};
    EnumWindows(MatchMaximisedFrame, reinterpret_cast<LPARAM>(&search));
    wnd = search.found;
  }
  if (!wnd || !IsWindowVisible(wnd)) return nullptr;
  if (split == std::wstring::npos) return wnd;
  ChildSearch search{title.substr(split + 1)};
  EnumChildWindows(wnd, MatchMdiChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Search {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  std::wstring plain;
  for (const wchar_t* p = text; *p; ++p)
    if (*p != L'&') plain += *p;
  if (plain == search->text && IsWindowVisible(child)) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

bool Centre(HWND wnd) {
  RECT r;
  if (!GetWindowRect(wnd, &r)) return false;
  std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return true;
}

// Walks the caption row from the right until the window answers the hit
// code (HTCLOSE: the close box, HTMINBUTTON: the minimise box).
bool CaptionBox(HWND wnd, LRESULT code) {
  RECT r;
  GetWindowRect(wnd, &r);
  for (int y = r.top + 1; y < r.top + 40; ++y)
    for (int x = r.right - 1; x > r.right - 140; --x)
      if (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
        int right = x, bottom = y;
        while (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(right - 1, y)) == code) --right;
        while (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, bottom + 1)) == code) ++bottom;
        std::printf("%d %d\n", (x + right) / 2, (y + bottom) / 2);
        return true;
      }
  return false;
}

// The private query a skinned window answers with 1.
constexpr UINT kSkinQuery = 0x3504;

}  // namespace

int main(int argc, char** argv) {
  // Rectangles in the screen's own pixels, as the pointer moves, whatever
  // the screen's density.
  using SetAwareFunction = BOOL(WINAPI*)();
  if (HMODULE user = GetModuleHandleW(L"user32.dll"))
    if (auto setAware = reinterpret_cast<SetAwareFunction>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware"))))
      setAware();
  if (argc < 3) {
    std::fprintf(stderr, "usage: uiprobe control|checked TITLE TEXT | closebox|minbox|maxbox|zoomed|rect|iconic|restore|skinned|close|popup|menuband|gone TITLE [MS]\n");
    return 2;
  }
  const std::string command = argv[1];
  const std::wstring title = Widen(argv[2]);
  const bool namesControl = command == "control" || command == "checked";
  const int waitArg = namesControl ? 4 : 3;
  const int wait = argc > waitArg ? std::atoi(argv[waitArg]) : 10000;
  for (int waited = 0; waited <= wait; waited += 100, Sleep(100)) {
    if (command == "popup") {
      // The visible popup menu window nearest the top of the z-order.
      for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
           menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
        RECT r;
        if (IsWindowVisible(menu) && GetWindowRect(menu, &r)) {
          std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
          return 0;
        }
      }
      continue;
    }
    HWND top = FindTopLevel(title);
    if (command == "gone") {
      if (!top) return 0;
      continue;
    }
    if (!top) continue;
    if (command == "closebox" && CaptionBox(top, HTCLOSE)) return 0;
    if (command == "minbox" && CaptionBox(top, HTMINBUTTON)) return 0;
    if (command == "maxbox" && CaptionBox(top, HTMAXBUTTON)) return 0;
    if (command == "zoomed" && IsZoomed(top)) return 0;
    if (command == "iconic" && IsIconic(top)) return 0;
    if (command == "skinned") return SendMessageW(top, kSkinQuery, 0, 0) == 1 ? 0 : 1;
    if (command == "close") return PostMessageW(top, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "restore") {
      ShowWindow(top, SW_RESTORE);
      return 0;
    }
    if (command == "menuband") {
      // The middle row of the band that answers HTMENU, down the window's
      // left part (a skinned bar is no system menu bar: its rows are found
      // by hit testing).
      RECT r;
      GetWindowRect(top, &r);
      const int x = r.left + 24;
      int first = -1, last = -1;
      for (int y = r.top; y < r.bottom && y < r.top + 200; ++y) {
        const LRESULT hit = SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTMENU) {
          if (first < 0) first = y;
          last = y;
        } else if (first >= 0) {
          break;
        }
      }
      if (first < 0) continue;
      std::printf("%d %d\n", x, (first + last) / 2);
      return 0;
    }
    if (command == "rect") {
      RECT r;
      GetWindowRect(top, &r);
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
      return 0;
    }
    if (namesControl && argc > 3) {
      Search search{Widen(argv[3])};
      EnumChildWindows(top, MatchChild, reinterpret_cast<LPARAM>(&search));
      if (!search.found) continue;
      if (command == "checked") return SendMessageW(search.found, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
      if (Centre(search.found)) return 0;
    }
  }
  std::fprintf(stderr, "uiprobe: %s %s not found\n", argv[1], argv[2]);
  return 1;
}
