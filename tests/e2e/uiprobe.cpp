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
//   uiprobe popupskinned TITLE [MS]   exits 0 when an open popup menu answers the skin's query
//   uiprobe menuband TITLE [MS]       "x y" of a point in the window's menu bar, by hit testing
//   uiprobe maxbox TITLE [MS]         centre of the window's maximise box
//   uiprobe zoomed TITLE [MS]         exits 0 once the window is maximised
//   uiprobe stats TITLE [MS]          the gallery's live counts, one line of NAME=VALUE
//   uiprobe dialogs TITLE [MS]        one line per dialog box the window's process shows:
//                                     "CAPTION|TEXT" (TEXT: its static texts); exits 0
//                                     with no output when there is none
//   uiprobe skinners TITLE [MS]       the gallery's control skinners: SKINNER@WINDOWCLASS ...
//   uiprobe threadstate TITLE [MS]    the window's thread input state: the active, focus,
//                                     capture and menu-owner windows (class "text") and
//                                     GetGUIThreadInfo's flags
// A TITLE of the form "FRAME>CHILD" names the MDI child captioned CHILD in
// the frame captioned FRAME; a frame is also found while its caption shows
// a maximised child ("FRAME - [CHILD]").
// Controls by window class and index (the INDEXth visible one of that class
// inside the window, in window order, counted from 0):
//   uiprobe find TITLE CLASS INDEX [MS]          its window rectangle: left top right bottom
//   uiprobe value TITLE CLASS INDEX WHAT [MS]    prints one piece of its state (below)
//   uiprobe until TITLE CLASS INDEX WHAT OP VALUE [MS]
//                                                exits 0 once WHAT compares to VALUE by OP
//                                                (eq, ne, lt, gt; numbers, or text for eq/ne)
// WHAT: text, topindex, itemheight (list box), scrollpos (scroll-bar control), trackpos
// (track bar), combosel, dropped (combo box), tabsel (tab control),
// vbar (the window's vertical scroll bar: left top right bottom arrowheight),
// thumbrect (track bar), tabrect0..tabrect9 (one tab).
// Rectangles are screen coordinates. Class "*" with TITLE "-" finds a
// top-level window of that class instead (a combo box's drop-down list:
// `uiprobe find - ComboLBox 0`).
// Waits up to MS milliseconds (default 10000); exits 1 when it finds nothing.
//   uiprobe serve    reads commands from standard input, one a line with
//                    its arguments separated by tabs, and ends each answer
//                    with a line "=> STATUS".
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gallery/live_counts.h"
#include "sdk/include/skinengine/skinengine.h"

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

std::wstring ClassOf(HWND wnd) {
  wchar_t name[128] = {};
  GetClassNameW(wnd, name, 128);
  return name;
}

// A message box carries the program's title too: the window itself is
// preferred to a dialog box of the same caption.
struct TitleSearch {
  std::wstring title;
  HWND window = nullptr;
  HWND dialog = nullptr;
};

BOOL CALLBACK MatchTitle(HWND wnd, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  wchar_t text[256] = {};
  GetWindowTextW(wnd, text, 256);
  if (search->title != text || !IsWindowVisible(wnd)) return TRUE;
  if (ClassOf(wnd) != L"#32770") {
    search->window = wnd;
    return FALSE;
  }
  if (!search->dialog) search->dialog = wnd;
  return TRUE;
}

HWND FindTopLevel(const std::wstring& title) {
  const std::size_t split = title.find(L'>');
  const std::wstring frame = title.substr(0, split);
  TitleSearch byTitle{frame};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&byTitle));
  HWND wnd = byTitle.window ? byTitle.window : byTitle.dialog;
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

struct ClassSearch {
  std::wstring className;
  int index = 0;
  HWND found = nullptr;
};

BOOL CALLBACK MatchClass(HWND wnd, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  if (search->className == ClassOf(wnd) && IsWindowVisible(wnd) && search->index-- == 0) {
    search->found = wnd;
    return FALSE;
  }
  return TRUE;
}

// TITLE "-": a top-level window of the class; otherwise a child of the window.
HWND FindByClass(const std::wstring& title, const std::wstring& className, int index) {
  ClassSearch search{className, index};
  if (title == L"-") {
    EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
  } else if (HWND top = FindTopLevel(title)) {
    EnumChildWindows(top, MatchClass, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

void PrintRect(const RECT& r) { std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom); }

// Messages whose pointer the system does not carry to another process
// (the common controls' own) get a buffer inside the control's process.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND wnd, SIZE_T size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  bool Write(const void* data) const {
    return address_ && WriteProcessMemory(process_, address_, data, size_, nullptr);
  }
  bool Read(void* data) const { return address_ && ReadProcessMemory(process_, address_, data, size_, nullptr); }

 private:
  SIZE_T size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// A control rectangle the control writes through a pointer, in its client
// coordinates, turned into screen coordinates.
bool RemoteClientRect(HWND wnd, UINT message, WPARAM wParam, RECT& r) {
  RemoteBuffer buffer(wnd, sizeof r);
  r = {};
  if (!buffer.Write(&r)) return false;
  if (!SendMessageW(wnd, message, wParam, buffer.Address()) && message != TBM_GETTHUMBRECT) return false;
  if (!buffer.Read(&r)) return false;
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return true;
}

// One piece of a control's state as text; empty when it cannot be read.
std::string ReadValue(HWND wnd, const std::string& what) {
  char text[512];
  const auto number = [&](LRESULT n) {
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(n));
    return std::string(text);
  };
  const auto rect = [&](const RECT& r) {
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    return std::string(text);
  };
  if (what == "text") {
    // GetWindowText does not ask a window of another process for its text.
    wchar_t wide[512] = {};
    SendMessageW(wnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
  }
  if (what == "topindex") return number(SendMessageW(wnd, LB_GETTOPINDEX, 0, 0));
  if (what == "itemheight") return number(SendMessageW(wnd, LB_GETITEMHEIGHT, 0, 0));
  if (what == "scrollpos") return number(SendMessageW(wnd, SBM_GETPOS, 0, 0));
  if (what == "trackpos") return number(SendMessageW(wnd, TBM_GETPOS, 0, 0));
  if (what == "combosel") return number(SendMessageW(wnd, CB_GETCURSEL, 0, 0));
  if (what == "dropped") return number(SendMessageW(wnd, CB_GETDROPPEDSTATE, 0, 0));
  if (what == "tabsel") return number(SendMessageW(wnd, TCM_GETCURSEL, 0, 0));
  if (what == "vbar") {
    // The system keeps a window's scroll-bar state to its own process:
    // the bar is placed from the client rectangle, beside it on the side
    // the style says, and its arrows are the system's size.
    if (!(GetWindowLongW(wnd, GWL_STYLE) & WS_VSCROLL)) return {};
    RECT client;
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    const bool left = GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    const RECT bar{left ? client.left - width : client.right, client.top, left ? client.left : client.right + width,
                   client.bottom};
    return rect(bar) + " " + number(GetSystemMetrics(SM_CYVSCROLL));
  }
  RECT r;
  if (what == "thumbrect") return RemoteClientRect(wnd, TBM_GETTHUMBRECT, 0, r) ? rect(r) : std::string();
  const std::string tabRect = "tabrect";
  if (what.size() == tabRect.size() + 1 && what.starts_with(tabRect) && std::isdigit(static_cast<unsigned char>(what.back())))
    return RemoteClientRect(wnd, TCM_GETITEMRECT, what.back() - '0', r) ? rect(r) : std::string();
  return {};
}

bool Compare(const std::string& actual, const std::string& op, const std::string& expected) {
  if (actual.empty()) return false;
  if (op == "eq") return actual == expected;
  if (op == "ne") return actual != expected;
  const long a = std::atol(actual.c_str()), e = std::atol(expected.c_str());
  if (op == "lt") return a < e;
  if (op == "gt") return a > e;
  return false;
}

// The engine's published query: a skinned window answers 1.
const UINT kSkinQuery = RegisterWindowMessageW(SKINENGINE_QUERY_MESSAGE);


LRESULT CALLBACK ReceiveCounts(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    auto* line = reinterpret_cast<std::string*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (data->dwData == kLiveCountsCopyTag && line) line->assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Empty when the window does not answer.
std::string AskLiveCounts(HWND top, LPARAM what) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = ReceiveCounts;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"uiprobe.counts";
  RegisterClassW(&cls);
  HWND receiver = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
  if (!receiver) return {};
  std::string line;
  SetWindowLongPtrW(receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&line));
  DWORD_PTR answered = 0;
  // The answer arrives while this thread waits for the send to return.
  SendMessageTimeoutW(top, RegisterWindowMessageW(kLiveCountsMessageName), reinterpret_cast<WPARAM>(receiver), what,
                      SMTO_ABORTIFHUNG, 5000, &answered);
  DestroyWindow(receiver);
  return line;
}

// The dialog boxes shown by one process, with their texts.
struct DialogSearch {
  DWORD process = 0;
  std::vector<std::string> lines;
};

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data) {
  auto* text = reinterpret_cast<std::wstring*>(data);
  if (ClassOf(child) != L"Static") return TRUE;
  wchar_t part[1024] = {};
  SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(part));
  if (!*part) return TRUE;
  if (!text->empty()) *text += L" / ";
  for (const wchar_t* p = part; *p; ++p) *text += (*p == L'\r' || *p == L'\n') ? L' ' : *p;
  return TRUE;
}

std::string Narrow(const std::wstring& text) {
  char buf[2048] = {};
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buf, sizeof buf - 1, nullptr, nullptr);
  return buf;
}

BOOL CALLBACK MatchDialog(HWND wnd, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(wnd, &process);
  if (process != search->process || !IsWindowVisible(wnd) || ClassOf(wnd) != L"#32770") return TRUE;
  wchar_t caption[256] = {};
  GetWindowTextW(wnd, caption, 256);
  std::wstring text;
  EnumChildWindows(wnd, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  search->lines.push_back(Narrow(caption) + "|" + Narrow(text));
  return TRUE;
}

// "NAME=CLASS "TEXT"" of one window, or "NAME=-" for none.
std::string Describe(const char* name, HWND wnd) {
  if (!wnd) return std::string(name) + "=-";
  wchar_t text[128] = {};
  SendMessageTimeoutW(wnd, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
  return std::string(name) + "=" + Narrow(ClassOf(wnd)) + "\"" + Narrow(text) + "\"";
}

// One command; its exit status.
int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: uiprobe control|checked TITLE TEXT | closebox|minbox|maxbox|zoomed|rect|iconic|restore|skinned|"
                 "close|popup|popupskinned|menuband|stats|skinners|dialogs|threadstate|gone TITLE | find TITLE CLASS INDEX | value TITLE CLASS INDEX WHAT | "
                 "until TITLE CLASS INDEX WHAT OP VALUE  [MS]\n");
    return 2;
  }
  const std::string command = argv[1];
  const std::wstring title = Widen(argv[2]);
  const bool namesControl = command == "control" || command == "checked";
  const bool byClass = command == "find" || command == "value" || command == "until";
  const int waitArg = command == "find"    ? 5
                      : command == "value" ? 6
                      : command == "until" ? 8
                      : namesControl       ? 4
                                           : 3;
  if (byClass && argc < waitArg) {
    std::fprintf(stderr, "uiprobe: %s needs more arguments\n", argv[1]);
    return 2;
  }
  const int wait = argc > waitArg ? std::atoi(argv[waitArg]) : 10000;
  for (int waited = 0; waited <= wait; waited += 100, Sleep(100)) {
    if (command == "popup" || command == "popupskinned") {
      // The visible popup menu window nearest the top of the z-order.
      for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
           menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
        RECT r;
        if (command == "popupskinned" && IsWindowVisible(menu))
          return SendMessageW(menu, kSkinQuery, 0, 0) == 1 ? 0 : 1;
        if (IsWindowVisible(menu) && GetWindowRect(menu, &r)) {
          std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
          return 0;
        }
      }
      continue;
    }
    if (byClass) {
      HWND wnd = FindByClass(title, Widen(argv[3]), std::atoi(argv[4]));
      if (!wnd) continue;
      if (command == "find") {
        RECT r;
        GetWindowRect(wnd, &r);
        PrintRect(r);
        return 0;
      }
      const std::string value = ReadValue(wnd, argv[5]);
      if (command == "value") {
        if (value.empty() && std::string(argv[5]) != "text") continue;
        std::printf("%s\n", value.c_str());
        return 0;
      }
      if (Compare(value, argv[6], argv[7])) return 0;
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
    if (command == "stats" || command == "skinners") {
      const std::string line = AskLiveCounts(top, command == "skinners" ? kLiveCountsSkinnerList : 0);
      if (line.empty()) continue;
      std::printf("%s\n", line.c_str());
      return 0;
    }
    if (command == "dialogs") {
      DialogSearch search;
      GetWindowThreadProcessId(top, &search.process);
      EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
      for (const std::string& line : search.lines) std::printf("%s\n", line.c_str());
      return 0;
    }
    if (command == "threadstate") {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return 1;
      std::printf("%s %s %s %s %s flags=0x%lx\n", Describe("active", info.hwndActive).c_str(),
                  Describe("focus", info.hwndFocus).c_str(), Describe("capture", info.hwndCapture).c_str(),
                  Describe("menuOwner", info.hwndMenuOwner).c_str(), Describe("moveSize", info.hwndMoveSize).c_str(),
                  static_cast<unsigned long>(info.flags));
      return 0;
    }
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

// Commands from standard input, one a line, arguments separated by tabs;
// after each command's output a line "=> STATUS". Saves starting a process
// for every question a long run asks.
int Serve() {
  _setmode(_fileno(stdout), _O_BINARY);
  char line[2048];
  while (std::fgets(line, sizeof line, stdin)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::vector<std::string> words{"uiprobe"};
    for (std::size_t start = 0;;) {
      const std::size_t tab = text.find('\t', start);
      words.push_back(text.substr(start, tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    const int status = Run(static_cast<int>(args.size()), args.data());
    std::printf("=> %d\n", status);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Rectangles in the screen's own pixels, as the pointer moves, whatever
  // the screen's density.
  using SetAwareFunction = BOOL(WINAPI*)();
  if (HMODULE user = GetModuleHandleW(L"user32.dll"))
    if (auto setAware = reinterpret_cast<SetAwareFunction>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware"))))
      setAware();
  if (argc == 2 && std::string(argv[1]) == "serve") return Serve();
  return Run(argc, argv);
}
