// repaint_bench [--rounds N]: what a whole repaint of the gallery costs under
// each shipped skin beside no skin, in one run. The gallery is opened from
// its real form description with the MDI demo beside it (two children,
// tiled); every round wears each skin in turn (no skin, default, dark,
// flat, meridian, meridian_dark, starting one further each round) and, under it, repaints the whole
// window as a user's "redraw everything" does (RedrawWindow with
// RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW:
// frame, background and every child) with each of its four pages shown, then
// the MDI demo's frame, then one control of each kind alone. Each figure is
// the median of the rounds (and the best), in microseconds, beside the same
// window unskinned in the same run, with the ratio of the medians.
//
// The progress bars' timer is stopped, so nothing but the repaint draws.
//
// Then what the gallery holds, skinned against unskinned: the gallery is
// started again in a process of its own for each skin (and none), worn from
// the start, every page shown and the MDI demo open, and reports the
// framework's live handle counts, the skinners and the process's working
// set and private bytes (repaint_bench --counts SKIN is that process).
//
// repaint_bench --profile [--rounds N]: where the whole repaint of each page
// spends its time, under each skin: every message sent to a window of the
// thread during the repaints, timed from the thread's hooks, its own time
// (without the messages it sent in turn) summed by window class and message
// over one repaint, the smallest sum of the rounds, the largest first. The
// hooks cost time of their own; the shares are what to read.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gallery/gallery_form.h"
#include "gallery/gallery_options.h"
#include "gallery/live_counts.h"
#include "gallery/mdi_demo.h"
#include "skin/data/skin_data.h"
#include "skin/manager/skin_engine.h"

namespace {

double NowMicroseconds() {
  LARGE_INTEGER frequency, t;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Runs the message loop until nothing but timers is left to do.
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

constexpr UINT kWholeRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

double TimeRepaint(HWND wnd, const RECT* part = nullptr) {
  const double start = NowMicroseconds();
  RedrawWindow(wnd, part, nullptr, kWholeRepaint);
  GdiFlush();
  return NowMicroseconds() - start;
}

struct TSamples {
  std::vector<double> Values;
  double Best() const { return Values.empty() ? 0 : *std::min_element(Values.begin(), Values.end()); }
  double Median() const {
    if (Values.empty()) return 0;
    std::vector<double> sorted = Values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t half = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2;
  }
};

struct TSkinChoice {
  const char* Name;
  TGallerySkin Skin;
};
constexpr TSkinChoice kSkins[] = {{"no skin", TGallerySkin::gsNone},
                                  {"default", TGallerySkin::gsDefault},
                                  {"dark", TGallerySkin::gsDark},
                                  {"flat", TGallerySkin::gsFlat},
                                  {"meridian", TGallerySkin::gsMeridian},
                                  {"meridian_dark", TGallerySkin::gsMeridianDark}};
constexpr int kSkinCount = static_cast<int>(std::size(kSkins));

// One thing repainted: what must be shown first, and the repaint itself.
struct TTarget {
  std::string Name;
  const wchar_t* Page;  // the gallery's page to show first, or none
  std::function<double()> Repaint;
  TSamples Samples[kSkinCount];
};

// A control by itself; a windowless one (speed button, label) as the part
// of its parent it covers.
std::function<double()> ControlRepaint(gui::TControl* control) {
  return [control] {
    if (auto* windowed = dynamic_cast<gui::TWinControl*>(control)) return TimeRepaint(windowed->Handle());
    const RECT bounds = control->BoundsRect();
    return TimeRepaint(control->Parent()->Handle(), &bounds);
  };
}

void PrintTable(const char* title, const std::vector<TTarget>& targets, int rounds) {
  std::printf("\n%s, median of %d rounds (best) in us, and the ratio of the medians to no skin\n", title, rounds);
  std::printf("%-22s", "");
  for (const TSkinChoice& skin : kSkins) std::printf(" %-26s", skin.Name);
  std::printf("\n");
  for (const TTarget& target : targets) {
    std::printf("%-22s", target.Name.c_str());
    const double plain = target.Samples[0].Median();
    for (int k = 0; k < kSkinCount; ++k) {
      char cell[64];
      const TSamples& s = target.Samples[k];
      if (k == 0) {
        std::snprintf(cell, sizeof cell, "%8.0f (%6.0f)", s.Median(), s.Best());
      } else {
        std::snprintf(cell, sizeof cell, "%8.0f (%6.0f) %5.2fx", s.Median(), s.Best(), plain > 0 ? s.Median() / plain : 0);
      }
      std::printf(" %-26s", cell);
    }
    std::printf("\n");
  }
}

// The messages sent during a repaint, timed by the thread's hooks: for each
// window class and message, the time spent inside the window procedure less
// the time of the messages it sent in turn, summed over one repaint; the
// figure kept is the smallest sum over the repaints (the load of a busy
// machine only ever adds).
class TMessageProfile {
 public:
  void Start() {
    active_ = this;
    before_ = SetWindowsHookExW(WH_CALLWNDPROC, &Before, nullptr, GetCurrentThreadId());
    after_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &After, nullptr, GetCurrentThreadId());
  }
  void Stop() {
    UnhookWindowsHookEx(before_);
    UnhookWindowsHookEx(after_);
    active_ = nullptr;
    open_.clear();
  }
  // Each repaint's sums become candidates for the smallest.
  void EndRepaint() {
    for (auto& [key, entry] : totals_) {
      if (entry.Count > 0 && (entry.Best < 0 || entry.Own < entry.Best)) {
        entry.Best = entry.Own;
        entry.BestCount = entry.Count;
      }
      entry.Own = 0;
      entry.Count = 0;
    }
  }
  void Print(const char* title) const {
    std::vector<std::pair<double, std::string>> rows;
    double total = 0;
    for (const auto& [key, entry] : totals_) {
      if (entry.Best < 0) continue;
      rows.emplace_back(entry.Best, key + " x" + std::to_string(entry.BestCount));
      total += entry.Best;
    }
    std::sort(rows.rbegin(), rows.rend());
    std::printf("\n%s: %.0f us in messages (each the smallest of the repaints)\n", title, total);
    for (std::size_t i = 0; i < rows.size() && i < 16; ++i)
      std::printf("  %5.1f %%  %8.0f us  %s\n", total > 0 ? rows[i].first * 100 / total : 0, rows[i].first,
                  rows[i].second.c_str());
  }

 private:
  struct TOpen {
    std::string Key;
    double Start, Children;
  };
  struct TEntry {
    double Own = 0, Best = -1;
    long Count = 0, BestCount = 0;
  };
  static std::string KeyOf(HWND wnd, UINT msg) {
    wchar_t className[64] = L"?";
    GetClassNameW(wnd, className, 64);
    char text[128];
    std::snprintf(text, sizeof text, "%ls 0x%04X", className, msg);
    return text;
  }
  static LRESULT CALLBACK Before(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && active_) {
      const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
      active_->open_.push_back({KeyOf(sent->hwnd, sent->message), NowMicroseconds(), 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK After(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && active_ && !active_->open_.empty()) {
      const TOpen done = active_->open_.back();
      active_->open_.pop_back();
      const double elapsed = NowMicroseconds() - done.Start;
      TEntry& entry = active_->totals_[done.Key];
      entry.Own += elapsed - done.Children;
      ++entry.Count;
      if (!active_->open_.empty()) active_->open_.back().Children += elapsed;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline TMessageProfile* active_ = nullptr;
  HHOOK before_ = nullptr, after_ = nullptr;
  std::vector<TOpen> open_;
  std::map<std::string, TEntry> totals_;
};

// The gallery as a process of its own opens it under one skin (or none):
// shown, every page shown once, the MDI demo open with two children; then
// its counts on one line of standard output.
int ReportCounts(const char* skinName) {
  const skin::TSkinEngine engine;
  gui::TApplication application;
  auto* form = application.CreateForm<TGalleryForm>();
  TGalleryOptions options;
  const std::string name = skinName;
  if (name == "none") options.NoSkin = true;
  if (name == "dark") options.SkinFile = TGalleryForm::DarkSkinPath();
  if (name == "flat") options.SkinFile = TGalleryForm::FlatSkinPath();
  if (name == "meridian") options.SkinFile = TGalleryForm::MeridianSkinPath();
  if (name == "meridian_dark") options.SkinFile = TGalleryForm::MeridianDarkSkinPath();
  form->ApplyOptions(options);
  form->Show();
  // A skin request waits for the manager's timer.
  for (int i = 0; i < 400 && skin::RequestPending(); ++i) {
    Sleep(5);
    Settle();
  }
  for (int page = form->Pages->PageCount() - 1; page >= 0; --page) {
    form->Pages->SetActivePageIndex(page);
    Settle();
  }
  if (form->ProgressTimer) form->ProgressTimer->SetEnabled(false);
  form->MdiDemo1Click(nullptr);
  form->MdiDemo->NewChild();
  form->MdiDemo->NewChild();
  Settle();
  Sleep(300);
  Settle();
  std::printf("%s\n", FormatLiveCounts(ReadLiveCounts()).c_str());
  std::fflush(stdout);
  return 0;
}

// The counts of the gallery started as a process of its own under a skin.
std::map<std::string, long long> CountsUnder(const char* skinName) {
  std::map<std::string, long long> counts;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return counts;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --counts ";
  for (const char* c = skinName; *c; ++c) commandLine += static_cast<wchar_t>(*c);
  const BOOL started =
      CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    // The gallery of this process keeps answering meanwhile: the new one's
    // activation sends its windows messages and waits for the answers.
    const DWORD begin = GetTickCount();
    for (bool running = true; running && GetTickCount() - begin < 60000;) {
      running = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10, QS_ALLINPUT) != WAIT_OBJECT_0;
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      DWORD available = 0;
      while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) || got == 0) break;
        output.append(buffer, got);
      }
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  std::istringstream words(output);
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals != std::string::npos) counts[word.substr(0, equals)] = std::atoll(word.c_str() + equals + 1);
  }
  return counts;
}

// Each count under each skin beside no skin; the framework's handles also
// summed.
bool PrintCounts() {
  std::map<std::string, long long> counts[kSkinCount];
  for (int k = 0; k < kSkinCount; ++k) {
    counts[k] = CountsUnder(k == 0 ? "none" : kSkins[k].Name);
    if (counts[k].empty()) {
      std::fprintf(stderr, "repaint_bench: no counts from the gallery under %s\n", kSkins[k].Name);
      return false;
    }
  }
  const std::vector<TLiveCount> order = ReadLiveCounts();
  std::printf("\nwhat the gallery holds, every page shown and the MDI demo open with 2 children, each in a process of "
              "its own\n%-24s", "");
  for (const TSkinChoice& skin : kSkins) std::printf(" %-18s", skin.Name);
  std::printf("\n");
  const auto row = [&](const std::string& label, const std::function<long long(int)>& value) {
    std::printf("%-24s", label.c_str());
    const long long plain = value(0);
    for (int k = 0; k < kSkinCount; ++k) {
      char cell[48];
      if (k == 0 || plain == 0) {
        std::snprintf(cell, sizeof cell, "%lld", value(k));
      } else {
        std::snprintf(cell, sizeof cell, "%lld %6.2fx", value(k), static_cast<double>(value(k)) / static_cast<double>(plain));
      }
      std::printf(" %-18s", cell);
    }
    std::printf("\n");
  };
  row("framework handles, all", [&](int k) {
    long long sum = 0;
    for (const TLiveCount& count : order)
      if (count.Kind == TLiveCountKind::lcFramework && std::string(count.Name) != "subclasses" &&
          std::string(count.Name) != "methodHooks" && std::string(count.Name) != "timers")
        sum += counts[k][count.Name];
    return sum;
  });
  for (const TLiveCount& count : order) row(count.Name, [&](int k) { return counts[k][count.Name]; });
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 40;
  bool profile = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--profile") == 0) {
      profile = true;
    } else if (std::strcmp(argv[i], "--counts") == 0 && i + 1 < argc) {
      return ReportCounts(argv[i + 1]);
    } else {
      std::fputs("usage: repaint_bench [--profile] [--rounds N] | --counts none|default|dark|flat\n", stderr);
      return 2;
    }
  }

  const skin::TSkinEngine engine;
  gui::TApplication application;
  bool failed = false;
  application.OnException = [&](gui::TObject*, const std::wstring& message) {
    std::fprintf(stderr, "repaint_bench: %ls\n", message.c_str());
    failed = true;
  };
  auto* form = application.CreateForm<TGalleryForm>();
  form->Show();
  form->MdiDemo1Click(nullptr);
  TMdiDemoForm* demo = form->MdiDemo;
  // Side by side, so that neither covers the other.
  SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(demo->Handle(), nullptr, form->Width() + 8, 0, 360, 420, SWP_NOZORDER | SWP_NOACTIVATE);
  demo->NewChild();
  demo->NewChild();
  SendMessageW(demo->ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0);
  Settle();
  const auto stopProgress = [form] {
    if (form->ProgressTimer) form->ProgressTimer->SetEnabled(false);
  };

  std::vector<TTarget> windows;
  for (const wchar_t* page : {L"Buttons", L"Lists", L"Text", L"Ranges"}) {
    char name[32];
    std::snprintf(name, sizeof name, "page %ls", page);
    windows.push_back({name, page, [form] { return TimeRepaint(form->Handle()); }, {}});
  }
  windows.push_back({"MDI demo", nullptr, [demo] { return TimeRepaint(demo->Handle()); }, {}});

  struct TControlOnPage {
    const char* Name;
    const wchar_t* Page;
    gui::TControl* Control;
  };
  const TControlOnPage controls[] = {
      {"push button", L"Buttons", form->PushButton},
      {"glyph button", L"Buttons", form->GlyphButton},
      {"speed button", L"Buttons", form->AlignLeftButton},
      {"check box", L"Buttons", form->CheckedBox},
      {"radio button", L"Buttons", form->FirstRadio},
      {"group box", L"Buttons", form->CheckGroup},
      {"panel", L"Buttons", form->RaisedPanel},
      {"label", L"Buttons", form->ClickLabel},
      {"list box", L"Lists", form->NumberList},
      {"memo", L"Lists", form->TextMemo},
      {"list view", L"Lists", form->RowView},
      {"scroll bar", L"Lists", form->HorizontalBar},
      {"edit", L"Text", form->PlainEdit},
      {"spin edit", L"Text", form->NumberSpin},
      {"combo box", L"Text", form->DropDownCombo},
      {"drop-down list", L"Text", form->DropDownListCombo},
      {"date picker", L"Text", form->DatePicker},
      {"tab set", L"Text", form->SectionTabs},
      {"track bar", L"Ranges", form->HorizontalTrack},
      {"up-down", L"Ranges", form->NumberUpDown},
      {"progress bar", L"Ranges", form->SmoothProgress},
      {"page control", L"Ranges", form->Pages},
      {"status bar", L"Ranges", form->StatusBar1},
  };
  std::vector<TTarget> parts;
  for (const TControlOnPage& c : controls) parts.push_back({c.Name, c.Page, ControlRepaint(c.Control), {}});

  // Every page once, so that each has been made before anything is timed.
  for (const wchar_t* page : {L"Buttons", L"Lists", L"Text", L"Ranges"}) {
    form->ShowPage(page);
    stopProgress();
    Settle();
  }

  if (profile) {
    for (const TSkinChoice& skin : kSkins) {
      form->ChooseSkin(skin.Skin);
      form->SkinData1->CarryOutRequestNow();
      Settle();
      for (TTarget& target : windows) {
        if (target.Page) {
          form->ShowPage(target.Page);
          stopProgress();
        }
        Settle();
        TMessageProfile messages;
        messages.Start();
        for (int round = 0; round < rounds; ++round) {
          target.Repaint();
          messages.EndRepaint();
          Settle();
        }
        messages.Stop();
        messages.Print((target.Name + ", " + skin.Name).c_str());
      }
    }
    return failed ? 1 : 0;
  }

  for (int round = 0; round < rounds && !failed; ++round) {
    for (int step = 0; step < kSkinCount; ++step) {
      const int k = (round + step) % kSkinCount;
      form->ChooseSkin(kSkins[k].Skin);
      form->SkinData1->CarryOutRequestNow();
      Settle();
      if (form->ActiveSkin() != kSkins[k].Skin) {
        std::fprintf(stderr, "repaint_bench: the gallery did not wear %s\n", kSkins[k].Name);
        return 1;
      }
      for (std::vector<TTarget>* list : {&windows, &parts}) {
        for (TTarget& target : *list) {
          if (target.Page) {
            if (!form->ShowPage(target.Page)) {
              std::fprintf(stderr, "repaint_bench: no page %ls\n", target.Page);
              return 1;
            }
            stopProgress();
            Settle();
          }
          target.Samples[k].Values.push_back(target.Repaint());
          Settle();
        }
      }
    }
  }
  if (failed) return 1;

  RECT galleryRect{}, demoRect{};
  GetWindowRect(form->Handle(), &galleryRect);
  GetWindowRect(demo->Handle(), &demoRect);
  std::printf("gallery window %ld x %ld, MDI demo %ld x %ld with 2 children; %d rounds, the skins in turn in each\n",
              galleryRect.right - galleryRect.left, galleryRect.bottom - galleryRect.top, demoRect.right - demoRect.left,
              demoRect.bottom - demoRect.top, rounds);
  PrintTable("whole window repainted", windows, rounds);
  PrintTable("one control of each kind repainted", parts, rounds);
  return PrintCounts() ? 0 : 1;
}
