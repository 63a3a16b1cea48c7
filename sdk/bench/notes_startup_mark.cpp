// Linked into the benchmark builds of Notes only: notes.c is compiled as it
// is, with its call of skinengine_start_file renamed to bench_start_file by
// the build, and this file stands in between. It writes marks with the
// performance counter to standard output ("mark NAME COUNTER"; the same
// clock in every process): "main" at static initialisation, "start" when
// Notes asks for its skin (its main window made, shown and painted), and
// "done" once every window of the thread has been painted and, in the
// skinned build, skinned; then it ends the program. The unskinned build
// (NOTES_WITHOUT_SKIN) starts no engine: its "done" is Notes' own start-up.
#include <windows.h>

#include <string>

#include <skinengine/skinengine.h>

extern "C" skinengine_result bench_start_file(const wchar_t* path, skinengine_error_handler handler, void* context);

namespace {

void Mark(const char* name) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::string line = std::string("mark ") + name + " " + std::to_string(now.QuadPart) + "\n";
  DWORD written = 0;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out && out != INVALID_HANDLE_VALUE) WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

const struct TMainMark {
  TMainMark() { Mark("main"); }
} mainMark;

struct TState {
  bool waiting = false;  // a visible window still needs a paint or the skin
  bool skin = false;
};

BOOL CALLBACK CheckChild(HWND wnd, LPARAM state) {
  if (IsWindowVisible(wnd) && GetUpdateRect(wnd, nullptr, FALSE)) reinterpret_cast<TState*>(state)->waiting = true;
  return TRUE;
}

BOOL CALLBACK CheckTopLevel(HWND wnd, LPARAM state) {
  auto& s = *reinterpret_cast<TState*>(state);
  if (!IsWindowVisible(wnd)) return TRUE;
  if (GetUpdateRect(wnd, nullptr, FALSE) || (s.skin && !skinengine_is_skinned(wnd))) s.waiting = true;
  EnumChildWindows(wnd, &CheckChild, state);
  return TRUE;
}

// Every visible window of the thread painted (and skinned, with `skin`).
// Asked after every message: while the queue says a paint is due, that
// answer costs one call instead of a walk over every window, which would
// add a third of a millisecond a message to the figure measured.
bool Done(bool skin) {
  if (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) return false;
  TState state;
  state.skin = skin;
  EnumThreadWindows(GetCurrentThreadId(), &CheckTopLevel, reinterpret_cast<LPARAM>(&state));
  return !state.waiting;
}

// Runs the thread's messages (the skin's posted fitting of the frame, the
// paints it causes) until every window is done, then ends the program.
void FinishStartup(bool skin) {
  for (int idle = 0; !Done(skin) && idle < 5000;) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      ++idle;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  Mark("done");
  PostQuitMessage(0);
}

}  // namespace

extern "C" skinengine_result bench_start_file(const wchar_t* path, skinengine_error_handler handler, void* context) {
  Mark("start");
#ifdef NOTES_WITHOUT_SKIN
  (void)path, (void)handler, (void)context;
  FinishStartup(false);
  return SKINENGINE_OK;
#else
  const skinengine_result result = skinengine_start_file(path, handler, context);
  Mark("started");
  FinishStartup(result == SKINENGINE_OK);
  return result;
#endif
}
