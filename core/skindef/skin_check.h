// The skin checker: what a skin author's folder or archive holds that the
// engine would read otherwise than the author meant, each finding pointing
// at the line (or the file) at fault. It reads the definition exactly as the
// engine does and watches what the reader asks for, so a key the engine
// never reads is reported as such rather than silently ignored.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// A skin as its author has it: the definition and every other file by the
// name an archive entry would have.
struct SkinSource {
  std::string DefinitionName = "skin.ini";
  std::string Definition;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Files;
};

// The skin a folder's or an archive's files make: the one definition (the
// name ending in ".ini") and the rest. Nothing, and `problem` says why, when
// there is no definition or more than one.
std::optional<SkinSource> SkinSourceOf(std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files,
                                       std::string& problem);

class TSkinReader;
struct SkinDefinition;

// The same, read in place: views of bytes held elsewhere (a SkinSource, an
// archive reader's decoded entries), valid as long as those are.
struct SkinView {
  std::string DefinitionName = "skin.ini";
  std::string_view Definition;
  std::vector<std::pair<std::string, std::span<const std::uint8_t>>> Files;
};
SkinView ViewOf(const SkinSource& skin);

// The skin an unpacked archive holds, as the engine reads it: the entry
// `definitionEntry` (the first whose name contains ".ini") with its text,
// and every other entry as a file; of two entries with one name (compared
// without regard to case) the first counts. Without the density variants
// ("name@2x.bmp"), what a screen of the design density reads: those entries
// are then neither decoded nor checked.
enum class SkinEntries { All, WithoutDensityVariants };
SkinSource SkinSourceOf(const TSkinReader& archive, const std::string& definitionEntry, std::string definition,
                        SkinEntries entries = SkinEntries::All);
// The same entries without copying them: views into the reader's decoded
// archive, valid while the reader holds it; the definition is viewed too.
SkinView SkinViewOf(const TSkinReader& archive, const std::string& definitionEntry, std::string_view definition,
                    SkinEntries entries = SkinEntries::All);

// The findings hold an error.
struct SkinFinding;
bool HasError(const std::vector<SkinFinding>& findings);

struct SkinFinding {
  enum class Level { Warning, Error };
  std::string File;
  int Line = 1;  // 1 for a finding about a file as a whole
  Level Severity = Level::Warning;
  std::string Text;
};

// The findings in file and line order. Errors: a bitmap named but missing
// or one the engine refuses, a picture whose size does not divide into its
// frames, margins wider or taller than a frame, a number or colour that does
// not parse, a density variant of the wrong size. Warnings: unknown sections
// and keys (with the nearest known name), duplicates the engine never reads,
// bitmaps nothing names.
// When `read` is given, it receives the definition as the engine reads it
// (each picture's size from its file header), unless the text is refused
// before it is read (UTF-16).
std::vector<SkinFinding> CheckSkin(const SkinSource& skin);
std::vector<SkinFinding> CheckSkin(const SkinView& skin, SkinDefinition* read = nullptr);

// "file:line: error: text" or "file:line: warning: text".
std::string FormatFinding(const SkinFinding& finding);

// Why a skin with errors is refused: its error lines, the first `shown` of
// them and how many more there are.
std::string ErrorSummary(const std::vector<SkinFinding>& findings, std::size_t shown = 8);

}  // namespace core
