/* The skin engine for any Win32 program, as C: plain types and error codes.
 *
 *   #include <skinengine/skinengine.h>
 *   ...
 *   if (skinengine_start_file(L"C:\\skins\\dark.skin", on_error, NULL) != SKINENGINE_OK) ...
 *   ... the message loop: every window of this thread is skinned as it is
 *   activated, its dialogs, message boxes and popup menus too ...
 *   skinengine_stop();
 *
 * The engine belongs to the thread that started it (the GUI thread): every
 * function but skinengine_version answers SKINENGINE_E_WRONG_THREAD on
 * another thread. Link the static library (target SkinEngine::skinengine)
 * or the DLL (skinengine.dll, target SkinEngine::skinengine_dll), which
 * exports exactly these functions.
 */
#ifndef SKINENGINE_SKINENGINE_H
#define SKINENGINE_SKINENGINE_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(SKINENGINE_BUILDING_DLL)
#define SKINENGINE_API __declspec(dllexport)
#elif defined(SKINENGINE_USING_DLL)
#define SKINENGINE_API __declspec(dllimport)
#else
#define SKINENGINE_API
#endif

#define SKINENGINE_VERSION_MAJOR 1
#define SKINENGINE_VERSION_MINOR 0
#define SKINENGINE_VERSION_PATCH 0
#define SKINENGINE_VERSION_STRING "1.0.0"

typedef enum skinengine_result {
  SKINENGINE_OK = 0,
  SKINENGINE_E_NOT_STARTED = 1,     /* no skinengine_start on this process yet */
  SKINENGINE_E_ALREADY_STARTED = 2, /* started already: switch skins instead */
  SKINENGINE_E_WRONG_THREAD = 3,    /* called from another thread than the one that started it */
  SKINENGINE_E_INVALID_ARGUMENT = 4,
  SKINENGINE_E_FILE = 5,            /* the skin file cannot be read */
  SKINENGINE_E_NOT_A_SKIN = 6       /* the bytes are not a skin archive this engine reads */
} skinengine_result;

/* Where the engine reports what went wrong (a skin that did not load, an
 * error inside a window it skins): the message, and the context given with
 * the handler. Without a handler nothing is shown; see
 * skinengine_report_with_message_boxes. */
typedef void (*skinengine_error_handler)(const wchar_t* message, void* context);

/* Starts the engine for the calling thread with a skin file, or with skin
 * bytes (copied). The windows the thread has already are skinned at once,
 * later ones as they are activated. On a failure nothing is started and
 * the handler has heard why. */
SKINENGINE_API skinengine_result skinengine_start_file(const wchar_t* path, skinengine_error_handler handler,
                                                       void* context);
SKINENGINE_API skinengine_result skinengine_start_memory(const void* bytes, size_t size,
                                                         skinengine_error_handler handler, void* context);

/* Another skin, all or nothing: a skin that does not load leaves the one in
 * force on every window, and the handler hears why. */
SKINENGINE_API skinengine_result skinengine_switch_file(const wchar_t* path);
SKINENGINE_API skinengine_result skinengine_switch_memory(const void* bytes, size_t size);

/* Skinning off (every window gets its system look back, the engine stays
 * started) and on again. */
SKINENGINE_API skinengine_result skinengine_set_skinning(int on);

/* Stops the engine: every window is given back exactly as it was, the hook
 * goes. Starting again is allowed. */
SKINENGINE_API skinengine_result skinengine_stop(void);

/* 1 when the engine skins the window now, else 0. */
SKINENGINE_API int skinengine_is_skinned(HWND window);

/* Keeps a window, or every window of a class (its top-level windows and
 * dialogs), out of the skin; a window skinned already is given back. */
SKINENGINE_API skinengine_result skinengine_exclude_window(HWND window);
SKINENGINE_API skinengine_result skinengine_exclude_class(const wchar_t* class_name);

/* With on non-zero, what goes to the handler is also shown in a message box
 * (off by default: the library shows none unless asked); for the engine
 * running now and those started later. */
SKINENGINE_API skinengine_result skinengine_report_with_message_boxes(int on);

/* What went wrong last, "" after a call that succeeded; valid until the
 * next call. */
SKINENGINE_API const wchar_t* skinengine_last_error(void);

/* "1.0.0", the version of the library as built. */
SKINENGINE_API const char* skinengine_version(void);

#ifdef __cplusplus
}
#endif

#endif /* SKINENGINE_SKINENGINE_H */
