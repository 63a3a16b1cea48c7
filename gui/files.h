// Reading a whole file in one piece.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// Puts the whole file at `path` into `bytes`, read with as few calls as its
// size allows (a stream read a character at a time costs a millisecond for a
// skin of 50 KB under Wine). False, with `bytes` empty, when the path names
// no file that can be opened and read (a folder included).
bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes);

}  // namespace gui
