// Integer text as the profile-string layer reads it: signed decimal, or
// hexadecimal after "$" (and after "0x"/"0X" once a reader has turned that
// prefix into "$"). Text that does not parse gives the caller's default.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// Leading blanks are skipped, then an optional sign, then either "$" and
// hexadecimal digits or decimal digits, up to the end of the text. Decimal
// values must fit a signed 32-bit integer; hexadecimal ones fit 32 bits and
// wrap into the signed range ("$FFFFFFFF" is -1).
std::optional<std::int32_t> ParseInteger(std::string_view text);

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// The settings file's integer rule: text longer than two characters that
// starts with "0x" or "0X" is hexadecimal; everything else goes through
// StrToIntDef.
std::int32_t ProfileTextToInt(std::string_view text, std::int32_t fallback);
// The same rule; nothing when the text does not parse.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

}  // namespace core
