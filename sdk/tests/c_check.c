/* The C interface through skinengine.dll, as a C program uses it: a bad
 * skin refused with its code and a message, a window skinned and given
 * back. Exit status 0 when every step answered as documented. It uses the
 * 1.0 functions only: it is also built against the 1.0.0 header and run on
 * today's DLL. */
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

#include "skinengine/skinengine.h"

/* The 1.0.0 header names no calling convention: it was the default one. */
#ifndef SKINENGINE_CALL
#define SKINENGINE_CALL
#endif

static int messages = 0;

static void SKINENGINE_CALL on_error(const wchar_t* message, void* context) {
  (void)message;
  *(int*)context += 1;
}

static int expect(int condition, const char* what) {
  if (!condition) printf("failed: %s\n", what);
  return condition ? 0 : 1;
}

int main(int argc, char** argv) {
  wchar_t path[MAX_PATH];
  const char junk[] = "no skin";
  int failures = 0;
  HWND window;
  if (argc < 2) return 2;
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH);

  failures += expect(skinengine_start_memory(junk, sizeof junk, on_error, &messages) == SKINENGINE_E_NOT_A_SKIN,
                     "bytes that are no skin are refused");
  failures += expect(messages == 1 && wcslen(skinengine_last_error()) > 0, "the handler heard why");
  failures += expect(skinengine_stop() == SKINENGINE_E_NOT_STARTED, "nothing was started");

  {
    WNDCLASSW wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"CCheckWindow";
    RegisterClassW(&wc);
  }
  window = CreateWindowExW(0, L"CCheckWindow", L"C program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, NULL,
                           NULL, GetModuleHandleW(NULL), NULL);
  failures += expect(skinengine_start_file(path, on_error, &messages) == SKINENGINE_OK, "the skin file starts it");
  failures += expect(skinengine_is_skinned(window) == 1, "the program's window is skinned");
  failures += expect(skinengine_start_file(path, NULL, NULL) == SKINENGINE_E_ALREADY_STARTED, "a second start");
  failures += expect(skinengine_stop() == SKINENGINE_OK, "stop");
  failures += expect(skinengine_is_skinned(window) == 0, "the window is given back");
  failures += expect((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, "with its caption");
  {
    /* The DLL's version, of the header's major version. */
    char major[16];
    sprintf(major, "%d.", SKINENGINE_VERSION_MAJOR);
    failures += expect(strncmp(skinengine_version(), major, strlen(major)) == 0, "the version");
  }
  DestroyWindow(window);
  printf("%d failures\n", failures);
  return failures == 0 ? 0 : 1;
}
