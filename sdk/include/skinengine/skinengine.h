/* The skin engine for any Win32 program, as C: plain types and error codes.
 *
 *   #include <skinengine/skinengine.h>
 *   ...
 *   skinengine_options options = SKINENGINE_OPTIONS_INIT;
 *   options.skin_file = L"C:\\skins\\dark.skin";
 *   options.on_error = on_error;
 *   if (skinengine_start_ex(&options) != SKINENGINE_OK) ...
 *   ... the message loop: every window of this thread is skinned as it is
 *   activated, its dialogs, message boxes and popup menus too ...
 *   skinengine_stop();
 *
 * The engine belongs to the thread that started it (the GUI thread). Each
 * function says which threads may call it; a call from another answers
 * SKINENGINE_E_WRONG_THREAD. Link the static library (target
 * SkinEngine::skinengine) or the DLL (skinengine.dll, target
 * SkinEngine::skinengine_dll), which exports exactly these functions, by
 * name, with the C calling convention. Built with mingw-w64.
 *
 * Within one major version nothing here changes meaning and nothing goes:
 * a program built against 1.x runs on any later 1.y (docs/sdk.md,
 * "Compatibility").
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
/* Every function and the error handler: whatever the caller's compiler
 * takes by default (/Gz, -mrtd), the engine is called and calls back the
 * C way. */
#define SKINENGINE_CALL __cdecl

#define SKINENGINE_VERSION_MAJOR 1
#define SKINENGINE_VERSION_MINOR 2
#define SKINENGINE_VERSION_PATCH 0
#define SKINENGINE_VERSION_STRING "1.2.0"
/* One number per version, growing with it: 1.1.0 is 0x010100. */
#define SKINENGINE_MAKE_VERSION(major, minor, patch) (((major) << 16) | ((minor) << 8) | (patch))
#define SKINENGINE_VERSION_NUMBER \
  SKINENGINE_MAKE_VERSION(SKINENGINE_VERSION_MAJOR, SKINENGINE_VERSION_MINOR, SKINENGINE_VERSION_PATCH)

/* Registered window messages (RegisterWindowMessageW with these names),
 * for any program, inside this process or outside it:
 * - SKINENGINE_QUERY_MESSAGE, sent to any window: a window the engine
 *   skins answers 1 (screen readers, test drivers, launchers ask this);
 * - SKINENGINE_CAPTION_ACTION_MESSAGE, posted to a skinned window when a
 *   caption button of the skin's own (an Action the engine gives no
 *   meaning, docs/skin-format.md) is clicked; wParam is the Action.
 * A window carrying the property SKINENGINE_EXCLUDE_PROPERTY (any non-null
 * value, SetPropW) is never skinned. */
#define SKINENGINE_QUERY_MESSAGE L"SkinEngine.Query"
#define SKINENGINE_CAPTION_ACTION_MESSAGE L"SkinEngine.CaptionAction"
#define SKINENGINE_EXCLUDE_PROPERTY L"SkinEngine.Exclude"

typedef enum skinengine_result {
  SKINENGINE_OK = 0,
  SKINENGINE_E_NOT_STARTED = 1,     /* no skinengine_start on this process yet */
  SKINENGINE_E_ALREADY_STARTED = 2, /* started already: switch skins instead */
  SKINENGINE_E_WRONG_THREAD = 3,    /* called from a thread the function does not allow */
  SKINENGINE_E_INVALID_ARGUMENT = 4,
  SKINENGINE_E_FILE = 5,            /* the skin file cannot be read */
  SKINENGINE_E_NOT_A_SKIN = 6,      /* the bytes are not a skin archive this engine reads */
  SKINENGINE_E_INTERNAL = 7,        /* since 1.1: a failure inside the engine (out of memory); nothing changed */
  SKINENGINE_E_VERSION = 8          /* since 1.1: the program was built against a later major version */
} skinengine_result;

/* Where the engine reports what went wrong (a skin that did not load, an
 * error inside a window it skins): the message, valid during the call
 * only, and the context given with the handler. Called on the engine's
 * thread; it must not call the engine. Without a handler nothing is shown;
 * see skinengine_report_with_message_boxes. */
typedef void(SKINENGINE_CALL* skinengine_error_handler)(const wchar_t* message, void* context);

/* How skinengine_start_ex starts the engine (since 1.1). Initialise it with
 * SKINENGINE_OPTIONS_INIT, which records the structure's size and this
 * header's version, then set what you need. Later versions only add fields
 * at the end: a DLL ignores fields it does not know and refuses a
 * structure smaller than any it knows. */
typedef struct skinengine_options {
  size_t size;                      /* sizeof(skinengine_options) as the program was built */
  unsigned int version;             /* SKINENGINE_VERSION_NUMBER as the program was built */
  const wchar_t* skin_file;         /* the skin: a file, */
  const void* skin_bytes;           /* or bytes (copied); exactly one of the two */
  size_t skin_size;
  skinengine_error_handler on_error; /* may be NULL */
  void* context;                    /* given to on_error */
  int message_boxes;                /* non-zero: each report is also shown in a message box */
  int no_transitions;               /* since 1.2: non-zero: parts change their looks at once, whatever the
                                       skin's [Animation] says (they do anyway under high contrast and
                                       while the system's client-area animation is off) */
} skinengine_options;
#define SKINENGINE_OPTIONS_INIT {sizeof(skinengine_options), SKINENGINE_VERSION_NUMBER, NULL, NULL, 0, NULL, NULL, 0, 0}

/* Starting, on any thread while the engine is not started; that thread
 * becomes the engine's. Started already: SKINENGINE_E_ALREADY_STARTED on
 * its thread, SKINENGINE_E_WRONG_THREAD elsewhere.
 * The windows the thread has already are skinned at once, later ones as
 * they are activated. On a failure nothing is started and the handler has
 * heard why. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_start_ex(const skinengine_options* options);
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_start_file(const wchar_t* path,
                                                                      skinengine_error_handler handler,
                                                                      void* context);
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_start_memory(const void* bytes, size_t size,
                                                                        skinengine_error_handler handler,
                                                                        void* context);

/* The functions below, up to skinengine_report_with_message_boxes, are for
 * the engine's thread: SKINENGINE_E_NOT_STARTED before a start,
 * SKINENGINE_E_WRONG_THREAD on another thread. */

/* Another skin, all or nothing: a skin that does not load leaves the one in
 * force on every window, and the handler hears why. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_switch_file(const wchar_t* path);
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_switch_memory(const void* bytes, size_t size);

/* Skinning off (every window gets its system look back, the engine stays
 * started) and on again. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_set_skinning(int on);

/* Stops the engine: every window is given back exactly as it was, the hook
 * goes. Starting again is allowed, on any thread. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_stop(void);

/* 1 when the engine skins the window now, else 0 (also on another thread
 * or before a start; skinengine_last_error says which). From any thread
 * or process, SKINENGINE_QUERY_MESSAGE asks the window itself. */
SKINENGINE_API int SKINENGINE_CALL skinengine_is_skinned(HWND window);

/* Keeps a window, or every window of a class (its top-level windows and
 * dialogs), out of the skin; a window skinned already is given back. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_exclude_window(HWND window);
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_exclude_class(const wchar_t* class_name);

/* With on non-zero, what goes to the handler is also shown in a message box
 * (off by default: the library shows none unless asked); for the engine
 * running now and those started later. Before a start any thread may call
 * it; once started, the engine's thread. */
SKINENGINE_API skinengine_result SKINENGINE_CALL skinengine_report_with_message_boxes(int on);

/* The functions below answer on any thread, started or not. */

/* What went wrong in the calling thread's last call, "" after a call that
 * succeeded; valid until that thread's next call. */
SKINENGINE_API const wchar_t* SKINENGINE_CALL skinengine_last_error(void);

/* What a result means, in a few English words ("the skin file cannot be
 * read"); a static string. Since 1.1. */
SKINENGINE_API const char* SKINENGINE_CALL skinengine_result_text(skinengine_result result);

/* The version of the library running (the DLL's, not the header's):
 * "1.1.0", and SKINENGINE_VERSION_NUMBER as it was built (since 1.1). */
SKINENGINE_API const char* SKINENGINE_CALL skinengine_version(void);
SKINENGINE_API unsigned int SKINENGINE_CALL skinengine_version_number(void);

#ifdef __cplusplus
}
#endif

#endif /* SKINENGINE_SKINENGINE_H */
