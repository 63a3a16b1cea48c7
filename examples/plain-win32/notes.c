/* Notes: an ordinary Win32 program in C (a menu bar from a resource with
 * accelerators, a checked, a disabled and two owner-drawn items, a status
 * bar with a tooltip, an edit control filling the window, a dialog of
 * every control, the system's open, save, find, font and colour dialogs, a
 * property sheet and message boxes), skinned by the skin engine with a few
 * lines and nothing else of it.
 *
 *   notes.exe [--skin FILE] [--self-test]
 *
 * --self-test opens every window in turn, checks that the engine skins it
 * and that its first label stands out from the face behind it, closes it,
 * stops the engine and checks the main window is given back; the exit
 * status is the number of checks that failed. */
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <skinengine/skinengine.h>

#include "resource.h"

static HWND main_window, edit, status_bar, find_dialog;
static HINSTANCE instance;
static UINT find_message;
static FINDREPLACEW find_request;
static wchar_t find_text[128];
static BOOL word_wrap = TRUE;

/* --- the engine: all the program does for its skin ---------------------- */

static void on_skin_error(const wchar_t* message, void* context) {
  (void)context;
  if (status_bar) SendMessageW(status_bar, SB_SETTEXTW, 0, (LPARAM)message);
}

static void start_skin(const wchar_t* path) {
  if (skinengine_start_file(path, on_skin_error, NULL) != SKINENGINE_OK)
    MessageBoxW(main_window, skinengine_last_error(), L"Notes", MB_OK | MB_ICONWARNING);
}

/* --- the program's own windows ------------------------------------------ */

static INT_PTR CALLBACK controls_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG: {
      LVCOLUMNW column = {0};
      LVITEMW item = {0};
      TCITEMW tab = {0};
      int i;
      for (i = 0; i < 8; ++i) {
        wchar_t text[32];
        swprintf(text, 32, L"Item %d", i + 1);
        SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, (LPARAM)text);
        SendDlgItemMessageW(dialog, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)text);
      }
      SendDlgItemMessageW(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
      CheckRadioButton(dialog, IDC_RADIO1, IDC_RADIO2, IDC_RADIO1);
      SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, 40, 0);
      SendDlgItemMessageW(dialog, IDC_SPIN, UDM_SETRANGE32, 0, 100);
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = 120;
      column.pszText = L"Name";
      SendDlgItemMessageW(dialog, IDC_LISTVIEW, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
      item.mask = LVIF_TEXT;
      item.pszText = L"First row";
      SendDlgItemMessageW(dialog, IDC_LISTVIEW, LVM_INSERTITEMW, 0, (LPARAM)&item);
      tab.mask = TCIF_TEXT;
      tab.pszText = L"One";
      SendDlgItemMessageW(dialog, IDC_TABS, TCM_INSERTITEMW, 0, (LPARAM)&tab);
      tab.pszText = L"Two";
      SendDlgItemMessageW(dialog, IDC_TABS, TCM_INSERTITEMW, 1, (LPARAM)&tab);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

static INT_PTR CALLBACK page_proc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)page, (void)msg, (void)wParam, (void)lParam;
  return msg == WM_INITDIALOG;
}

static void show_properties(void) {
  PROPSHEETPAGEW pages[2];
  PROPSHEETHEADERW sheet;
  int i;
  memset(pages, 0, sizeof pages);
  for (i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].hInstance = instance;
    pages[i].pszTemplate = MAKEINTRESOURCEW(i == 0 ? IDD_PAGE_ONE : IDD_PAGE_TWO);
    pages[i].pfnDlgProc = page_proc;
  }
  memset(&sheet, 0, sizeof sheet);
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  sheet.hwndParent = main_window;
  sheet.hInstance = instance;
  sheet.pszCaption = L"Notes settings";
  sheet.nPages = 2;
  sheet.ppsp = pages;
  PropertySheetW(&sheet);
}

static void open_or_save(BOOL save) {
  wchar_t file[MAX_PATH] = L"";
  OPENFILENAMEW dialog;
  memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = main_window;
  dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))
    SendMessageW(status_bar, SB_SETTEXTW, 0, (LPARAM)file);
}

static void choose_font(void) {
  LOGFONTW font;
  CHOOSEFONTW dialog;
  memset(&font, 0, sizeof font);
  memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = main_window;
  dialog.lpLogFont = &font;
  dialog.Flags = CF_SCREENFONTS;
  ChooseFontW(&dialog);
}

static void choose_colour(void) {
  static COLORREF custom[16];
  CHOOSECOLORW dialog;
  memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = main_window;
  dialog.lpCustColors = custom;
  ChooseColorW(&dialog);
}

static void find(void) {
  if (find_dialog) {
    SetFocus(find_dialog);
    return;
  }
  memset(&find_request, 0, sizeof find_request);
  find_request.lStructSize = sizeof find_request;
  find_request.hwndOwner = main_window;
  find_request.lpstrFindWhat = find_text;
  find_request.wFindWhatLen = sizeof find_text / sizeof find_text[0];
  find_request.Flags = FR_DOWN;
  find_dialog = FindTextW(&find_request);
}

/* The two colour items are drawn by the program itself. */
static void measure_item(MEASUREITEMSTRUCT* item) {
  item->itemWidth = 90;
  item->itemHeight = 20;
}

static void draw_item(const DRAWITEMSTRUCT* item) {
  const BOOL selected = (item->itemState & ODS_SELECTED) != 0;
  const COLORREF swatch = item->itemID == IDM_DRAWN_RED ? RGB(200, 40, 40) : RGB(40, 60, 200);
  RECT box = item->rcItem;
  HBRUSH back = CreateSolidBrush(selected ? RGB(230, 230, 230) : RGB(255, 255, 255));
  HBRUSH fill = CreateSolidBrush(swatch);
  FillRect(item->hDC, &item->rcItem, back);
  box.left += 4, box.top += 4, box.bottom -= 4, box.right = box.left + 24;
  FillRect(item->hDC, &box, fill);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, swatch);
  TextOutW(item->hDC, item->rcItem.left + 34, item->rcItem.top + 3, item->itemID == IDM_DRAWN_RED ? L"Red" : L"Blue",
           item->itemID == IDM_DRAWN_RED ? 3 : 4);
  DeleteObject(back);
  DeleteObject(fill);
}

static void lay_out(void) {
  RECT client, bar;
  GetClientRect(main_window, &client);
  SendMessageW(status_bar, WM_SIZE, 0, 0);
  GetWindowRect(status_bar, &bar);
  MoveWindow(edit, 0, 0, client.right, client.bottom - (bar.bottom - bar.top), TRUE);
}

static void add_tooltip(void) {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, main_window,
                             NULL, instance, NULL);
  TOOLINFOW tool;
  memset(&tool, 0, sizeof tool);
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = main_window;
  tool.uId = (UINT_PTR)status_bar;
  tool.lpszText = L"What Notes is doing";
  SendMessageW(tip, TTM_ADDTOOLW, 0, (LPARAM)&tool);
}

static LRESULT CALLBACK main_proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == find_message && find_message != 0) {
    if (((FINDREPLACEW*)lParam)->Flags & FR_DIALOGTERM) find_dialog = NULL;
    return 0;
  }
  switch (msg) {
    case WM_CREATE: {
      HMENU menu = GetMenu(wnd);
      main_window = wnd;
      edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"Type here.",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0, 0, wnd,
                             (HMENU)(INT_PTR)IDC_EDIT, instance, NULL);
      status_bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   wnd, NULL, instance, NULL);
      ModifyMenuW(menu, IDM_DRAWN_RED, MF_BYCOMMAND | MF_OWNERDRAW, IDM_DRAWN_RED, NULL);
      ModifyMenuW(menu, IDM_DRAWN_BLUE, MF_BYCOMMAND | MF_OWNERDRAW, IDM_DRAWN_BLUE, NULL);
      add_tooltip();
      return 0;
    }
    case WM_SIZE:
      lay_out();
      return 0;
    case WM_SETFOCUS:
      SetFocus(edit);
      return 0;
    case WM_INITMENUPOPUP:
      /* The program keeps its items up to date as the menu opens. */
      CheckMenuItem((HMENU)wParam, IDM_WRAP, MF_BYCOMMAND | (word_wrap ? MF_CHECKED : MF_UNCHECKED));
      return 0;
    case WM_MEASUREITEM:
      if (((MEASUREITEMSTRUCT*)lParam)->CtlType == ODT_MENU) {
        measure_item((MEASUREITEMSTRUCT*)lParam);
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (((DRAWITEMSTRUCT*)lParam)->CtlType == ODT_MENU) {
        draw_item((DRAWITEMSTRUCT*)lParam);
        return TRUE;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDM_OPEN: open_or_save(FALSE); return 0;
        case IDM_SAVE: open_or_save(TRUE); return 0;
        case IDM_EXIT: DestroyWindow(wnd); return 0;
        case IDM_FIND: find(); return 0;
        case IDM_FONT: choose_font(); return 0;
        case IDM_COLOUR: choose_colour(); return 0;
        case IDM_WRAP: word_wrap = !word_wrap; return 0;
        case IDM_CONTROLS: DialogBoxW(instance, MAKEINTRESOURCEW(IDD_CONTROLS), wnd, controls_proc); return 0;
        case IDM_PROPERTIES: show_properties(); return 0;
        case IDM_ABOUT:
          MessageBoxW(wnd, L"Notes: a plain Win32 program, skinned.", L"About Notes", MB_OK | MB_ICONINFORMATION);
          return 0;
        case IDM_DRAWN_RED:
        case IDM_DRAWN_BLUE:
          SendMessageW(status_bar, SB_SETTEXTW, 0, (LPARAM)(LOWORD(wParam) == IDM_DRAWN_RED ? L"Red" : L"Blue"));
          return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

/* --- the self-test: every window in turn -------------------------------- */

static const WORD test_commands[] = {IDM_CONTROLS, IDM_OPEN, IDM_SAVE, IDM_FIND, IDM_FONT, IDM_COLOUR,
                                     IDM_PROPERTIES, IDM_ABOUT};
static const char* const test_names[] = {"every-control dialog", "open dialog", "save dialog", "find dialog",
                                         "font dialog", "colour dialog", "property sheet", "message box"};
static int test_step = -1, test_waited, test_failures;

static void check(int condition, const char* what) {
  printf("%s: %s\n", condition ? "ok" : "FAILED", what);
  fflush(stdout);
  if (!condition) ++test_failures;
}

/* The first visible label (a Static with text) inside a window. */
static BOOL CALLBACK find_label(HWND child, LPARAM found) {
  wchar_t cls[16], text[8];
  if (!IsWindowVisible(child)) return TRUE;
  GetClassNameW(child, cls, 16);
  if (_wcsicmp(cls, L"Static") != 0 || GetWindowTextW(child, text, 8) == 0) return TRUE;
  *(HWND*)found = child;
  return FALSE;
}

static int luminance(COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; }

/* A label is readable when its ink stands out from the face behind it by
 * at least 90 in luminance; both read from the screen. */
static int label_readable(HWND window) {
  HWND label = NULL;
  RECT r;
  HDC screen;
  int x, y, background, contrast = 0;
  EnumChildWindows(window, find_label, (LPARAM)&label);
  if (!label) return 1;
  GetWindowRect(label, &r);
  screen = GetDC(NULL);
  background = luminance(GetPixel(screen, r.right - 1, r.bottom - 1));
  for (y = r.top; y < r.bottom; ++y)
    for (x = r.left; x < r.right; ++x) {
      const int d = abs(luminance(GetPixel(screen, x, y)) - background);
      if (d > contrast) contrast = d;
    }
  ReleaseDC(NULL, screen);
  return contrast >= 90;
}

static void CALLBACK self_test_tick(HWND wnd, UINT msg, UINT_PTR id, DWORD time) {
  const int steps = (int)(sizeof test_commands / sizeof test_commands[0]);
  HWND shown;
  (void)wnd, (void)msg, (void)time;
  if (test_step < 0) {
    check(skinengine_is_skinned(main_window), "main window");
    test_step = 0;
    test_waited = 0;
    PostMessageW(main_window, WM_COMMAND, test_commands[0], 0);
    return;
  }
  if (test_step >= steps) {
    KillTimer(NULL, id);
    check(skinengine_stop() == SKINENGINE_OK && !skinengine_is_skinned(main_window), "main window given back");
    PostMessageW(main_window, WM_CLOSE, 0, 0);
    return;
  }
  shown = GetForegroundWindow();
  if (!shown || shown == main_window) {
    if (++test_waited > 50) {
      check(0, test_names[test_step]);
      ++test_step;
      test_waited = 0;
      if (test_step < steps) PostMessageW(main_window, WM_COMMAND, test_commands[test_step], 0);
    }
    return;
  }
  check(skinengine_is_skinned(shown), test_names[test_step]);
  {
    char what[96];
    snprintf(what, sizeof what, "%s: its labels readable", test_names[test_step]);
    check(label_readable(shown), what);
  }
  /* Closed as the user's Cancel (or Escape) would. */
  PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
  PostMessageW(shown, WM_CLOSE, 0, 0);
  ++test_step;
  test_waited = 0;
  if (test_step < steps) PostMessageW(main_window, WM_COMMAND, test_commands[test_step], 0);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE previous, LPSTR command_line, int show) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
  WNDCLASSEXW wc;
  MSG msg;
  HACCEL accelerators;
  int argc = 0, i;
  BOOL self_test = FALSE;
  const wchar_t* skin = L"default.skin";
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  (void)previous, (void)command_line;
  for (i = 1; argv && i < argc; ++i) {
    if (wcscmp(argv[i], L"--skin") == 0 && i + 1 < argc) skin = argv[++i];
    else if (wcscmp(argv[i], L"--self-test") == 0) self_test = TRUE;
  }
  instance = hInstance;
  InitCommonControlsEx(&controls);
  find_message = RegisterWindowMessageW(FINDMSGSTRINGW);

  memset(&wc, 0, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = main_proc;
  wc.hInstance = hInstance;
  wc.hIcon = LoadIconW(NULL, (LPCWSTR)IDI_APPLICATION);
  wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
  wc.lpszClassName = L"NotesWindow";
  RegisterClassExW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"Notes", WS_OVERLAPPEDWINDOW, 80, 80, 560, 400, NULL, NULL, hInstance, NULL);
  ShowWindow(main_window, self_test ? SW_SHOWNORMAL : show);
  UpdateWindow(main_window);

  start_skin(skin);
  if (self_test) SetTimer(NULL, 0, 150, self_test_tick);

  accelerators = LoadAcceleratorsW(hInstance, MAKEINTRESOURCEW(IDA_MAIN));
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (find_dialog && IsDialogMessageW(find_dialog, &msg)) continue;
    if (TranslateAcceleratorW(main_window, accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  skinengine_stop();
  LocalFree(argv);
  return self_test ? test_failures : (int)msg.wParam;
}
