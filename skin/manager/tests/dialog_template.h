// An in-memory dialog template (DLGTEMPLATE and its items), as a plain
// program's resource would hold one, for the tests that skin dialog boxes of
// no framework form.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

namespace engine_test {

// An in-memory DLGTEMPLATE with its items, DWORD-aligned as the system wants.
class TDialogTemplate {
 public:
  TDialogTemplate(const wchar_t* caption, short cx, short cy,
                  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME) {
    Add32(style | DS_SETFONT);
    Add32(0);
    count_ = words_.size();
    for (short v : {short(0), short(10), short(10), cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    AddText(caption);
    words_.push_back(8);
    AddText(L"MS Shell Dlg");
  }
  // A control of a predefined class (its atom) or, with className, of any.
  void Item(WORD id, WORD systemClass, DWORD style, const wchar_t* text, short x, short y, short cx, short cy,
            const wchar_t* className = nullptr, DWORD exStyle = 0) {
    if (words_.size() % 2) words_.push_back(0);
    Add32(WS_CHILD | WS_VISIBLE | style);
    Add32(exStyle);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(id);
    if (className) {
      AddText(className);
    } else {
      words_.push_back(0xFFFF);
      words_.push_back(systemClass);
    }
    AddText(text);
    words_.push_back(0);
    ++words_[count_];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Add32(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void AddText(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(*text);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  std::size_t count_ = 0;
};

}  // namespace engine_test
