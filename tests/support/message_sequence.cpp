#include "tests/support/message_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "gui/subclass.h"
#include "gui/text.h"

namespace msgseq {

namespace {

TMessageLog*& ActiveLog() {
  static TMessageLog* log = nullptr;
  return log;
}

// Messages a window gets at any time under Wine and Windows alike, which no
// test can expect in a fixed place.
bool UsualNoise(UINT m) {
  switch (m) {
    case WM_GETICON:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_TIMER:
    case WM_ENTERIDLE:
    case WM_GETOBJECT:
    case WM_GETMINMAXINFO:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
    case WM_DEVICECHANGE:
    case 0x0093:  // WM_UAHINITMENU and friends
    case 0x0094:
    case 0x0095:
    case 0x031F:  // WM_DWMNCRENDERINGCHANGED
    case 0x0090:  // WM_UAHDESTROYWINDOW
      return true;
    default:
      return false;
  }
}

std::string FlagsText(unsigned f) {
  std::string text;
  const auto add = [&](unsigned bit, const char* name) {
    if (!(f & bit)) return;
    if (!text.empty()) text += "|";
    text += name;
  };
  add(sent, "sent");
  add(posted, "posted");
  add(parent, "parent");
  add(defwinproc, "defwinproc");
  add(optional, "optional");
  return text;
}

std::string EntryText(const TMsgEntry& e, bool withValues) {
  std::ostringstream out;
  out << MessageName(e.message) << " (" << FlagsText(e.flags) << ")";
  if (withValues || (e.flags & wparam)) out << " w=" << std::hex << e.wParam;
  if (withValues || (e.flags & lparam)) out << " l=" << std::hex << e.lParam;
  return out.str();
}

constexpr unsigned kKind = sent | posted | parent | defwinproc;

bool Matches(const TMsgEntry& want, const TMsgEntry& got) {
  if (want.message != got.message) return false;
  if ((want.flags & kKind) != (got.flags & kKind)) return false;
  if ((want.flags & wparam) && want.wParam != got.wParam) return false;
  if ((want.flags & lparam) && want.lParam != got.lParam) return false;
  return true;
}

}  // namespace

struct TMessageLog::Watched {
  gui::TWindowSubclass subclass;
};

TMessageLog::TMessageLog() : previous_(ActiveLog()) { ActiveLog() = this; }

TMessageLog::~TMessageLog() {
  watched_.clear();
  ActiveLog() = previous_;
}

TMessageLog* TMessageLog::Active() { return ActiveLog(); }

bool TMessageLog::Watch(HWND wnd, bool isParent) {
  auto watched = std::make_unique<Watched>();
  gui::TWindowSubclass& sub = watched->subclass;
  const bool ok = sub.Attach(wnd, [this, wnd, &sub, isParent](UINT m, WPARAM w, LPARAM l) {
    Record(wnd, m, w, l, sent | (isParent ? parent : 0u));
    return sub.CallPrevious(m, w, l);
  });
  if (!ok) return false;
  known_[wnd] = isParent;
  watched_.push_back(std::move(watched));
  return true;
}

bool TMessageLog::Noise(UINT message) const { return UsualNoise(message) || ignored_.contains(message); }

void TMessageLog::Add(TMsgEntry entry) {
  if (!Noise(entry.message)) entries_.push_back(entry);
}

void TMessageLog::Record(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned flags) {
  if (!known_.contains(wnd)) known_[wnd] = (flags & parent) != 0;
  if (known_[wnd]) flags |= parent;
  // The message the pump is dispatching from the queue arrives posted.
  if (inDispatch_ && dispatching_.hwnd == wnd && dispatching_.message == message && dispatching_.wParam == wParam &&
      dispatching_.lParam == lParam && !(flags & defwinproc)) {
    inDispatch_ = false;
    flags = (flags & ~static_cast<unsigned>(sent)) | posted;
  }
  Add(TMsgEntry{message, flags, wParam, lParam});
}

LRESULT CALLBACK TMessageLog::RecordedDefWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (TMessageLog* log = Active()) log->Record(wnd, message, wParam, lParam, defwinproc);
  return DefWindowProcW(wnd, message, wParam, lParam);
}

void TMessageLog::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    dispatching_ = msg;
    inDispatch_ = true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    inDispatch_ = false;
  }
}

bool CheckSequence(const TMessageLog& log, const std::vector<TMsgEntry>& expected, const char* context,
                   const char* file, int line) {
  const std::vector<TMsgEntry>& got = log.Entries();
  std::size_t i = 0, j = 0;
  std::string problem;
  while (i < expected.size() && j < got.size()) {
    if (Matches(expected[i], got[j])) {
      ++i;
      ++j;
    } else if (expected[i].flags & optional) {
      ++i;
    } else {
      problem = "expected " + EntryText(expected[i], false) + ", got " + EntryText(got[j], true);
      break;
    }
  }
  if (problem.empty()) {
    while (i < expected.size() && (expected[i].flags & optional)) ++i;
    if (i < expected.size())
      problem = "the window did not receive " + EntryText(expected[i], false);
    else if (j < got.size())
      problem = "unexpected " + EntryText(got[j], true);
  }
  if (problem.empty()) return true;

  std::ostringstream text;
  text << context << ": " << problem << "\n";
  text << std::left << std::setw(46) << "  expected" << "received\n";
  for (std::size_t k = 0; k < std::max(expected.size(), got.size()); ++k) {
    text << "  " << std::setw(44) << (k < expected.size() ? EntryText(expected[k], false) : std::string())
         << (k < got.size() ? EntryText(got[k], true) : std::string()) << "\n";
  }
  ADD_FAILURE_AT(file, line) << text.str();
  return false;
}

std::string MessageName(UINT message) {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_CANCELMODE, "WM_CANCELMODE"},
      {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
      {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
      {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
      {WM_NCRBUTTONDOWN, "WM_NCRBUTTONDOWN"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"},
      {WM_SYSCHAR, "WM_SYSCHAR"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_HSCROLL, "WM_HSCROLL"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_INITMENU, "WM_INITMENU"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
      {WM_MENUSELECT, "WM_MENUSELECT"},
      {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
      {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_MDIACTIVATE, "WM_MDIACTIVATE"},
      {WM_MDISETMENU, "WM_MDISETMENU"},
      {WM_MDIREFRESHMENU, "WM_MDIREFRESHMENU"},
      {WM_MEASUREITEM, "WM_MEASUREITEM"},
      {WM_DRAWITEM, "WM_DRAWITEM"},
      {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
      {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
      {WM_SETFONT, "WM_SETFONT"},
      {WM_USER, "WM_USER"},
  };
  auto it = names.find(message);
  if (it != names.end()) return it->second;
  // A registered message (the engine's own among them) by its name.
  wchar_t registered[64] = {};
  if (message >= 0xC000 && message <= 0xFFFF && GetClipboardFormatNameW(message, registered, 64) > 0)
    return gui::WideToAnsi(registered);
  std::ostringstream out;
  out << "0x" << std::hex << message;
  return out.str();
}

}  // namespace msgseq
