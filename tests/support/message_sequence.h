// Message-sequence checks for the Windows tests, in the manner of Wine's own
// user32 tests: a log records what windows receive (sent to them, posted to
// them, passed to the default procedure, and what their parent receives),
// and an expected sequence is a table of messages with flags, matched
// strictly except for entries marked optional. On a mismatch both sequences
// are printed side by side with the caller's file and line.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace msgseq {

enum TMsgFlags : unsigned {
  sent = 0x1,        // sent to the window (or dispatched to it from another source)
  posted = 0x2,      // dispatched from the queue by the log's pump
  parent = 0x4,      // received by the parent window
  defwinproc = 0x8,  // passed on to the default procedure
  wparam = 0x10,     // wParam must match
  lparam = 0x20,     // lParam must match
  optional = 0x40,   // may be missing
};

struct TMsgEntry {
  UINT message = 0;
  unsigned flags = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class TMessageLog {
 public:
  TMessageLog();
  ~TMessageLog();
  TMessageLog(const TMessageLog&) = delete;
  TMessageLog& operator=(const TMessageLog&) = delete;

  // The log the recording procedures below write to (the last one made).
  static TMessageLog* Active();

  // Records what `wnd` receives from now on, through a subclass; a parent
  // window's messages carry the `parent` flag.
  bool Watch(HWND wnd, bool isParent = false);
  // Messages never recorded (timers, hit tests, ...), on top of the usual noise.
  void Ignore(UINT message) { ignored_.insert(message); }

  // Records one message of a window whose own procedure calls this (for
  // windows of the tests' own classes); flags may add `parent`.
  void Record(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned flags = sent);
  // A window procedure's default handling, recorded as such.
  static LRESULT CALLBACK RecordedDefWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Dispatches every waiting message; those a logged window receives this
  // way are logged as posted.
  void Pump();
  void Flush() { entries_.clear(); }
  const std::vector<TMsgEntry>& Entries() const { return entries_; }

 private:
  struct Watched;
  bool Noise(UINT message) const;
  void Add(TMsgEntry entry);

  std::vector<TMsgEntry> entries_;
  std::set<UINT> ignored_;
  std::map<HWND, bool> known_;  // windows whose messages are logged, and whether each is a parent
  std::vector<std::unique_ptr<Watched>> watched_;
  MSG dispatching_{};  // the posted message being dispatched now
  bool inDispatch_ = false;
  TMessageLog* previous_ = nullptr;
};

// Compares the log with the expected sequence; on a mismatch adds a test
// failure at `file`:`line` that shows both sequences.
bool CheckSequence(const TMessageLog& log, const std::vector<TMsgEntry>& expected, const char* context,
                   const char* file, int line);

// The message's name for the failure text ("WM_NCCALCSIZE"), or its number.
std::string MessageName(UINT message);

}  // namespace msgseq

#define OK_SEQUENCE(log, expected, context) ::msgseq::CheckSequence((log), (expected), (context), __FILE__, __LINE__)
