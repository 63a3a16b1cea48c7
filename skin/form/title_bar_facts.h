// The skinned title bar as accessibility clients are to see it: the system's
// caption is off the window, and with it the system's account of its
// buttons, so the skinned caption answers OBJID_TITLEBAR with the title
// band, the caption and the close, minimise and maximise buttons where the
// frame's layout puts them.
#pragma once
#include <windows.h>

#include <string>

#include "gui/accessibility.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/frame_layout.h"

namespace skin {

// The title bar's facts in screen coordinates.
gui::TTitleBarFacts TitleBarFactsOf(HWND wnd, const std::wstring& caption, bool maximized, const TFrameLayout& layout,
                                    const TCaptionButtons& buttons);
// WM_GETOBJECT for OBJID_TITLEBAR, answered from those facts.
LRESULT AnswerTitleBar(HWND wnd, const std::wstring& caption, bool maximized, const TFrameLayout& layout,
                       const TCaptionButtons& buttons, WPARAM wParam);

}  // namespace skin
