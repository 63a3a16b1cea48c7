/* A dialog-based program, as many small tools are: a dialog box is its main
 * window, with a menu bar; its keys go through IsDialogMessage, so Escape
 * means Cancel and closes it. Skinned through the C interface, the engine's
 * keyboard menu must behave here as the system's does: after Alt+F, the
 * first Escape closes the File menu and leaves the bar, the second leaves
 * the bar, and only a third reaches the dialog.
 *   menu_dialog.exe SKIN_FILE */
#include <windows.h>

#include "skinengine/skinengine.h"

#define IDD_MAIN 100
#define IDM_MENU 200
#define IDM_NEW 201
#define IDM_EXIT 202

static INT_PTR CALLBACK main_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDM_EXIT) {
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  HWND dialog;
  MSG msg;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  (void)previous;
  (void)command_line;
  dialog = CreateDialogW(instance, MAKEINTRESOURCEW(IDD_MAIN), NULL, main_proc);
  if (!dialog) return 2;
  ShowWindow(dialog, show);
  if (argv && argc > 1) skinengine_start_file(argv[1], NULL, NULL);
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  skinengine_stop();
  LocalFree(argv);
  return 0;
}
