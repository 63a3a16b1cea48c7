// A plain Win32 program that knows nothing of the skin engine, for the
// tests of skinrun and of the engine as a guest:
//   guest_host [--exit-code N] [--thread] [ARGS...]
// Its main window "Guest Host" (sizeable, with a File menu, a button and an
// edit) ends the program with exit code N when closed. --thread shows a
// second window, "Guest Host Thread", from a GUI thread of its own, started
// after the main window. With GUEST_HOST_REPORT naming a file, it writes
// there (UTF-8) its command line as it got it, its working folder, and one
// line per argument as the C runtime's rules read them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

int g_exitCode = 0;

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == 100) DestroyWindow(wnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(g_exitCode);
      return 0;
    default:
      return DefWindowProcW(wnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK ThreadWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void Register(const wchar_t* name, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

DWORD WINAPI SecondThread(void*) {
  HWND wnd = CreateWindowExW(0, L"GuestHostThread", L"Guest Host Thread", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 60,
                             300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"BUTTON", L"Thread button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 120, 28, wnd,
                  nullptr, GetModuleHandleW(nullptr), nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

void WriteReport(int argc, wchar_t** argv) {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"GUEST_HOST_REPORT", path, MAX_PATH)) return;
  std::wstring text = std::wstring(GetCommandLineW()) + L"\n";
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  text += std::wstring(folder) + L"\n";
  for (int i = 1; i < argc; ++i) text += std::wstring(argv[i]) + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  if (FILE* file = _wfopen(path, L"wb")) {
    std::fwrite(bytes.data(), 1, bytes.size() - 1, file);
    std::fclose(file);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  bool thread = false;
  for (int i = 1; i < __argc; ++i) {
    if (!std::wcscmp(__wargv[i], L"--exit-code") && i + 1 < __argc) g_exitCode = _wtoi(__wargv[++i]);
    if (!std::wcscmp(__wargv[i], L"--thread")) thread = true;
  }
  WriteReport(__argc, __wargv);
  Register(L"GuestHost", &MainProc);
  Register(L"GuestHostThread", &ThreadWindowProc);
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 100, L"E&xit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  HWND wnd = CreateWindowExW(0, L"GuestHost", L"Guest Host", WS_OVERLAPPEDWINDOW, 60, 60, 340, 240, nullptr, bar,
                             instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"A button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 120, 28, wnd, nullptr,
                  instance, nullptr);
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"An edit", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 60, 200, 24,
                  wnd, nullptr, instance, nullptr);
  ShowWindow(wnd, show);
  UpdateWindow(wnd);
  if (thread) CloseHandle(CreateThread(nullptr, 0, &SecondThread, nullptr, 0, nullptr));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
