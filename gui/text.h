// Text conversion at the edges of the framework: the framework keeps UTF-16
// inside; form descriptions are UTF-8; profile strings and a few system calls
// use the ANSI code page (or a given one, such as GBK for the title).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace gui {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring AnsiToWide(std::string_view text, UINT codePage = CP_ACP);
std::string WideToAnsi(std::wstring_view wide, UINT codePage = CP_ACP);

// ASCII names compared without regard to case (class, property and colour names).
bool SameText(std::string_view a, std::string_view b);
// Window class names and file paths in lower case, as they are compared.
std::wstring LowerCase(std::wstring text);

}  // namespace gui
