// What the gallery tells a test driver outside its process about what it
// holds: the framework's live handle counts, the skinners the skin engine
// keeps, and the process's own figures as the system reports them. A driver
// sends the registered message with its own window in wParam; the gallery
// answers with one line of text through WM_COPYDATA to that window.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The message's name for RegisterWindowMessageW.
inline constexpr wchar_t kLiveCountsMessageName[] = L"SkinGallery.LiveCounts";
// lParam asking for the list of control skinners instead of the counts.
inline constexpr LPARAM kLiveCountsSkinnerList = 1;
// WM_COPYDATA's dwData on the answer ("LIVE").
inline constexpr ULONG_PTR kLiveCountsCopyTag = 0x4C495645;

// Which counts must come back when the program comes back to a state:
// owned handles and skinners do; the process's figures move with the
// system's own allocations and are only reported.
enum class TLiveCountKind { lcFramework, lcSkinners, lcProcess };

struct TLiveCount {
  const char* Name;
  TLiveCountKind Kind;
  long long Value;
};

// Read on the GUI thread (the framework's counters belong to it).
std::vector<TLiveCount> ReadLiveCounts();
// "bitmaps=12 brushes=3 ... skin.forms=1 ... process.handles=40 ...":
// skinner counts under "skin.", the process's figures under "process.".
std::string FormatLiveCounts(const std::vector<TLiveCount>& counts);
// "TSkinListBox@TListBox TSkinUpDown@msctls_updown32 ...": each form
// skinner's control skinners, by their class and their window's class, so
// that a driver can tell which one a count has lost or gained.
std::string DescribeSkinners();
// Sends the formatted counts (or, asked with kLiveCountsSkinnerList, the
// skinners) to `asker` as WM_COPYDATA from `from`; false when the asker is
// no window.
bool SendLiveCounts(HWND asker, HWND from, LPARAM what = 0);
