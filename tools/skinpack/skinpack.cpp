// skinpack: builds, inspects and unpacks skin archives for skin authors and
// for the build. Exit status 0 on success, 1 when an input is bad or an
// operation fails, 2 for a malformed command line.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#if __has_include(<sys/mman.h>)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define SKINPACK_MAPS_FILES 1
#endif

#include "core/archive/byte_stream.h"
#include "core/archive/lzh.h"
#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"
#include "core/skindef/picture_scale.h"
#include "core/skindef/skin_check.h"
#include "tools/skingen/modern_art.h"
#include "tools/skingen/skin_art.h"
#include "tools/skinpack/png_picture.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace skinpack {
// The project's skin definitions, as the build embeds them.
extern const std::string_view kDefaultDefinition;
extern const std::string_view kDarkDefinition;
extern const std::string_view kFlatDefinition;
extern const std::string_view kMeridianDefinition;
extern const std::string_view kMeridianDarkDefinition;
}  // namespace skinpack

namespace {

constexpr std::string_view Usage = R"(usage:
  skinpack pack DIR|FILES... -o OUT.skin   pack files (or a folder's files) into a skin archive;
                                           the definition (.ini) is stored first, NAME.png as
                                           NAME.bmp (32-bit with alpha when the PNG has alpha)
  skinpack list ARCHIVE                    list the entries with their sizes
  skinpack extract ARCHIVE DIR             write every entry into DIR
  skinpack verify ARCHIVE                  check that ARCHIVE is a complete, loadable skin
  skinpack check DIR|ARCHIVE               report what the engine would read otherwise than meant,
                                           one "file:line: error|warning: text" line each;
                                           exit status 1 when there is an error
  skinpack new DIR [--from default|dark|flat|meridian|meridian_dark]
                                           start a skin named after DIR's last part in the new
                                           folder DIR: a definition and the pictures of one of
                                           the project's skins
  skinpack compress IN OUT                 compress IN into a raw stream (decoded size + LZH bits)
  skinpack decompress IN OUT               decompress a raw stream
  skinpack --help                          show this text
)";

// Bad input or a failed operation: the message is printed and the exit status is 1.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A malformed command line: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

Bytes ReadWholeFile(const fs::path& path) {
  std::error_code error;
  if (!fs::exists(path, error)) throw Failure(Quoted(path) + ": no such file");
  if (fs::is_directory(path, error)) throw Failure(Quoted(path) + ": is a folder, not a file");
  const std::uintmax_t size = fs::file_size(path, error);  // none for a pipe or a device
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(Quoted(path) + ": cannot be opened for reading");
  Bytes bytes;
  if (!error && size > 0) {
    // One read of the whole file, rather than a call per byte through an
    // iterator into a buffer that is copied each time it grows.
    if (size > bytes.max_size()) throw Failure(Quoted(path) + ": too large to read into memory");
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  // A stream of no known size, or what was added since: through the buffer.
  bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) throw Failure(Quoted(path) + ": read error");
  return bytes;
}

// The bytes of an input file, mapped where the system maps files: the
// file's cached pages are the buffer, without a copy and without a page
// fault for each page on the first touch. Otherwise, for what cannot be
// mapped (a pipe, an empty file), and for a file that is also the output
// (whose truncation would pull the pages away), read whole.
class InputFile {
 public:
  InputFile(const fs::path& path, [[maybe_unused]] const fs::path& output) {
#if SKINPACK_MAPS_FILES
    std::error_code error;
    if (!fs::equivalent(path, output, error) && Map(path)) return;
#endif
    read_ = ReadWholeFile(path);
    bytes_ = read_;
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() {
#if SKINPACK_MAPS_FILES
    if (mapped_ != nullptr) munmap(mapped_, bytes_.size());
#endif
  }

  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
#if SKINPACK_MAPS_FILES
  bool Map(const fs::path& path) {
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    struct stat status {};
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    flags |= MAP_POPULATE;  // the pages at once, not a fault for each
#endif
    void* mapped = MAP_FAILED;
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uintmax_t>(status.st_size) <= SIZE_MAX) {
      mapped = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, flags, file, 0);
    }
    close(file);
    if (mapped == MAP_FAILED) return false;
    mapped_ = mapped;
    bytes_ = std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(mapped),
                                           static_cast<std::size_t>(status.st_size));
    return true;
  }

  void* mapped_ = nullptr;
#endif
  std::vector<std::uint8_t> read_;
  std::span<const std::uint8_t> bytes_;
};

void WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Failure("Unable to write to " + path.string());
}

std::uint32_t DeclaredSize(std::span<const std::uint8_t> archive) {
  return static_cast<std::uint32_t>(archive[0]) | static_cast<std::uint32_t>(archive[1]) << 8 |
         static_cast<std::uint32_t>(archive[2]) << 16 | static_cast<std::uint32_t>(archive[3]) << 24;
}

// A raw stream (size field + bit stream) whose declared size its bit stream
// could hold at all.
struct RawStream {
  std::uint32_t declared;
  std::span<const std::uint8_t> bits;
};

RawStream CheckedStream(std::span<const std::uint8_t> archive, const fs::path& label) {
  if (archive.size() < 4) {
    throw Failure(Quoted(label) + ": not a compressed stream (" + std::to_string(archive.size()) +
                  " bytes, shorter than its 4-byte size field)");
  }
  const RawStream stream{DeclaredSize(archive), archive.subspan(4)};
  if (stream.declared > core::LzhMaxDecodedSize(stream.bits.size())) {
    throw Failure(Quoted(label) + ": not a compressed stream, or a damaged one: it declares " +
                  std::to_string(stream.declared) + " bytes, more than " + std::to_string(stream.bits.size()) +
                  " bytes of compressed data can hold");
  }
  return stream;
}

// A decoder that took more bits than the stream has read zeros in their place.
void RefuseTruncated(const core::TLZH& decoder, const RawStream& stream, const fs::path& label) {
  if (decoder.BitsUsed() > static_cast<std::uint64_t>(stream.bits.size()) * 8) {
    throw Failure(Quoted(label) + ": truncated: the compressed data ends " +
                  std::to_string((decoder.BitsUsed() - stream.bits.size() * 8 + 7) / 8) +
                  " byte(s) before the declared " + std::to_string(stream.declared) + " bytes are complete");
  }
}

// Decodes a raw stream to exactly its declared size, refusing streams that
// are too short for what they declare.
Bytes DecodeStream(std::span<const std::uint8_t> archive, const fs::path& label) {
  const RawStream stream = CheckedStream(archive, label);
  core::TLZH decoder;
  Bytes out = decoder.Decode(stream.declared, stream.bits);
  RefuseTruncated(decoder, stream, label);
  out.resize(stream.declared);
  return out;
}

class CollectingSink : public core::ISkinMessageSink {
 public:
  void ShowMessage(std::string_view text) override { message.assign(text); }
  std::string message;
};

// Loads a skin archive, checking on the way what the reader itself lets pass:
// a stream cut short and a wrong version word.
void LoadChecked(const fs::path& path, core::TSkinReader& reader) {
  const Bytes archive = ReadWholeFile(path);
  const Bytes container = DecodeStream(archive, path);
  if (container.size() < 4 || DeclaredSize(container) != core::TSkinReader::ArchiveVersion) {
    const std::string found = container.size() < 4 ? "none" : std::to_string(DeclaredSize(container));
    throw Failure(Quoted(path) + ": not a skin archive of version " +
                  std::to_string(core::TSkinReader::ArchiveVersion) + " (version word: " + found + ")");
  }
  core::ByteStream source(archive);
  try {
    if (!reader.LoadArchive(source)) throw Failure(Quoted(path) + ": the archive was not accepted");
  } catch (const core::ESkinArchiveError& error) {
    throw Failure(Quoted(path) + ": " + error.what());
  }
}

bool IsDefinitionName(const std::string& name) {
  const std::string lower = core::LowerCaseName(name);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0;
}

// Where an entry goes in an archive: the definition, then the pictures,
// then each density's variants.
int PackingRank(const std::string& name) {
  if (IsDefinitionName(name)) return 0;
  const std::string lower = core::LowerCaseName(name);
  int rank = 1;
  for (const core::DensityVariant& v : core::kDensityVariants) {
    ++rank;
    if (lower.ends_with(std::string(v.suffix) + ".bmp")) return rank;
  }
  return 1;
}

// The files of a folder, by name without regard to case, as the reader
// compares names.
std::vector<fs::path> FolderFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  if (files.empty()) throw Failure(Quoted(folder) + ": the folder holds no files");
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    const std::string lowerA = core::LowerCaseName(a.filename().string());
    const std::string lowerB = core::LowerCaseName(b.filename().string());
    return lowerA != lowerB ? lowerA < lowerB : a.filename() < b.filename();
  });
  return files;
}

// A file of an author's folder as the archive stores it: a PNG picture as
// the bitmap of the same name, everything else as it is.
std::pair<std::string, Bytes> StoredEntry(const fs::path& file) {
  const std::string name = file.filename().string();
  if (!skinpack::IsPngName(name)) return {name, ReadWholeFile(file)};
  try {
    return {skinpack::StoredPictureName(name), skinpack::PngToBitmap(ReadWholeFile(file))};
  } catch (const Failure&) {
    throw;
  } catch (const std::exception& error) {
    throw Failure(Quoted(file) + ": " + error.what());
  }
}

int Pack(const std::vector<std::string>& args) {
  std::vector<fs::path> inputs;
  fs::path output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 == args.size()) throw UsageError("pack: -o needs a file name");
      if (!output.empty()) throw UsageError("pack: -o given twice");
      output = args[++i];
    } else {
      inputs.emplace_back(args[i]);
    }
  }
  if (output.empty()) throw UsageError("pack: the output archive is missing (-o OUT.skin)");
  if (inputs.empty()) throw UsageError("pack: no folder or files to pack");

  std::vector<fs::path> files;
  for (const fs::path& input : inputs) {
    std::error_code error;
    if (fs::is_directory(input, error)) {
      const std::vector<fs::path> inFolder = FolderFiles(input);
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else if (fs::exists(input, error)) {
      files.push_back(input);
    } else {
      throw Failure(Quoted(input) + ": no such file or folder");
    }
  }

  // The reader takes the first entry whose name contains ".ini" as the
  // definition, so there must be exactly one, and it goes first. The
  // pictures' density variants go last, by density: a reader on a screen of
  // the design density stops decoding before them.
  std::stable_sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return PackingRank(a.filename().string()) < PackingRank(b.filename().string());
  });
  const auto definitions = std::count_if(files.begin(), files.end(), [](const fs::path& file) {
    return IsDefinitionName(file.filename().string());
  });
  if (definitions == 0) throw Failure("pack: no skin definition (a file ending in .ini) among the inputs");
  if (definitions > 1) {
    throw Failure("pack: more than one definition (.ini) file: " + files[0].filename().string() + ", " +
                  files[1].filename().string());
  }

  core::TSkinWriter writer;
  std::map<std::string, fs::path> seen;
  std::uint64_t total = 0;
  for (const fs::path& file : files) {
    const std::string name = skinpack::StoredPictureName(file.filename().string());
    const auto [previous, added] = seen.emplace(core::LowerCaseName(name), file);
    if (!added) {
      throw Failure("pack: " + Quoted(file) + " and " + Quoted(previous->second) +
                    " have the same entry name (names are compared without regard to case)");
    }
    if (core::LowerCaseName(name).find(".ini") != std::string::npos && !IsDefinitionName(name)) {
      std::cerr << "skinpack: warning: " << name << " contains \".ini\"; stored after the definition\n";
    }
    const Bytes contents = StoredEntry(file).second;
    try {
      writer.AddEntry(name, contents);
    } catch (const std::exception& error) {
      throw Failure("pack: " + std::string(error.what()));
    }
    total += contents.size();
  }
  const Bytes archive = writer.BuildArchive();
  WriteWholeFile(output, archive);
  std::cout << "packed " << writer.Count() << " entries, " << total << " bytes, into " << output.string() << " ("
            << archive.size() << " bytes)\n";
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError("list: expects one ARCHIVE");
  CollectingSink sink;
  core::TSkinReader reader(&sink);
  LoadChecked(args[0], reader);
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    std::cout << reader.Sizes()[i] << '\t' << reader.Names()[i] << '\n';
    total += reader.Sizes()[i];
  }
  std::cout << reader.Count() << " entries, " << total << " bytes\n";
  return 0;
}

// An entry name that is safe to use as a file name inside the target folder.
bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:") == std::string::npos;
}

int Extract(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("extract: expects ARCHIVE and DIR");
  CollectingSink sink;
  core::TSkinReader reader(&sink);
  LoadChecked(args[0], reader);
  const fs::path folder = args[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder)) throw Failure(Quoted(folder) + ": cannot create the folder");

  std::set<std::string> written;
  int failures = 0;
  core::ByteStream entry;
  for (const std::string& name : reader.Names()) {
    if (!IsPlainFileName(name)) {
      std::cerr << "skinpack: entry \"" << name << "\" is not a plain file name; not extracted\n";
      ++failures;
      continue;
    }
    if (!written.insert(name).second) {
      std::cerr << "skinpack: warning: a second entry named " << name << " is hidden by the first; skipped\n";
      continue;
    }
    reader.ExtractFile(name, entry);
    WriteWholeFile(folder / name, entry.Bytes());
  }
  std::cout << "extracted " << written.size() << " entries into " << folder.string() << '\n';
  return failures == 0 ? 0 : 1;
}

int Verify(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError("verify: expects one ARCHIVE");
  CollectingSink sink;
  core::TSkinReader reader(&sink);
  LoadChecked(args[0], reader);
  core::ByteStream definition;
  std::string definitionName;
  reader.ExtractFirstMatching(".ini", definition, definitionName);
  if (definitionName.empty()) throw Failure(Quoted(args[0]) + ": no definition entry (a name containing .ini)");
  std::set<std::string> names;
  for (const std::string& name : reader.Names()) {
    if (!names.insert(name).second) std::cerr << "skinpack: warning: entry name " << name << " occurs more than once\n";
  }
  std::cout << args[0] << ": ok, " << reader.Count() << " entries, definition " << definitionName << " ("
            << definition.Size() << " bytes)\n";
  return 0;
}

// A skin folder (one definition, .ini, and its pictures) or an archive as
// the checker reads it.
core::SkinSource ReadSkinSource(const fs::path& input) {
  std::vector<std::pair<std::string, Bytes>> files;
  std::error_code error;
  if (fs::is_directory(input, error)) {
    for (const fs::path& file : FolderFiles(input)) files.push_back(StoredEntry(file));
  } else {
    CollectingSink sink;
    core::TSkinReader reader(&sink);
    LoadChecked(input, reader);
    core::ByteStream entry;
    for (const std::string& name : reader.Names()) {
      reader.ExtractFile(name, entry);
      files.emplace_back(name, Bytes(entry.Bytes().begin(), entry.Bytes().end()));
    }
  }
  std::string problem;
  std::optional<core::SkinSource> skin = core::SkinSourceOf(std::move(files), problem);
  if (!skin) throw Failure(Quoted(input) + ": " + problem);
  return *std::move(skin);
}

int Check(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError("check: expects one DIR or ARCHIVE");
  const std::vector<core::SkinFinding> findings = core::CheckSkin(ReadSkinSource(args[0]));
  int errors = 0;
  for (const core::SkinFinding& finding : findings) {
    std::cout << core::FormatFinding(finding) << '\n';
    errors += finding.Severity == core::SkinFinding::Level::Error;
  }
  std::cout << args[0] << ": " << errors << (errors == 1 ? " error, " : " errors, ") << findings.size() - errors
            << (findings.size() - errors == 1 ? " warning\n" : " warnings\n");
  return errors == 0 ? 0 : 1;
}

constexpr const char* kStarterNames = "default, dark, flat, meridian or meridian_dark";

// The design-size pictures of the project's skin `from`, as bitmap files by
// entry name.
std::map<std::string, Bytes> StarterPictures(const std::string& from) {
  std::map<std::string, Bytes> files;
  if (from == "meridian" || from == "meridian_dark") {
    for (const auto& [entry, picture] :
         skingen::DrawModernArt(from == "meridian" ? skingen::MeridianLight() : skingen::MeridianDark()))
      files[entry] = picture.ToBmp();
    return files;
  }
  const skingen::Palette palette = from == "dark"   ? skingen::DarkPalette()
                                   : from == "flat" ? skingen::FlatPalette()
                                                    : skingen::LightPalette();
  for (const auto& [entry, raster] : skingen::DrawSkinArt(palette)) files[entry] = raster.ToBmp();
  return files;
}

// The definition with its name line (SkinName in [TitlebarSkin]) naming
// the new skin, and a first comment saying where it started.
std::string RenamedDefinition(std::string_view definition, const std::string& name, const std::string& from) {
  while (definition.starts_with(";") || definition.starts_with("\n") || definition.starts_with("\r")) {
    const std::size_t end = definition.find('\n');
    definition.remove_prefix(end == std::string_view::npos ? definition.size() : end + 1);
  }
  std::string text = "; " + name + ", started from the project's " + from + " skin by skinpack new.\n\n";
  text += definition;
  const std::string key = "\nSkinName=";
  const std::size_t at = text.find(key);
  if (at == std::string::npos) throw Failure("new: the starter definition has no SkinName line");
  const std::size_t end = text.find_first_of("\r\n", at + key.size());
  text.replace(at + key.size(), (end == std::string::npos ? text.size() : end) - at - key.size(), name);
  return text;
}

int New(const std::vector<std::string>& args) {
  fs::path folder;
  std::string from = "default";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--from") {
      if (i + 1 == args.size()) throw UsageError("new: --from needs " + std::string(kStarterNames));
      from = args[++i];
      if (from != "default" && from != "dark" && from != "flat" && from != "meridian" && from != "meridian_dark")
        throw UsageError("new: --from takes " + std::string(kStarterNames) + ", not " + from);
    } else if (folder.empty()) {
      folder = args[i];
    } else {
      throw UsageError("new: expects one DIR");
    }
  }
  if (folder.empty()) throw UsageError("new: the folder of the new skin is missing");
  const std::string name = (folder.has_filename() ? folder.filename() : folder.parent_path().filename()).string();
  if (name.empty() || name.find_first_of("[]=\r\n") != std::string::npos)
    throw UsageError("new: " + Quoted(folder) + " does not end in a name a skin can have");
  std::error_code error;
  if (fs::exists(folder, error) && !(fs::is_directory(folder, error) && fs::is_empty(folder, error)))
    throw Failure("new: " + Quoted(folder) + " exists and is not an empty folder");
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) throw Failure("new: cannot create " + Quoted(folder));

  const std::string_view starter = from == "dark"            ? skinpack::kDarkDefinition
                                   : from == "flat"          ? skinpack::kFlatDefinition
                                   : from == "meridian"      ? skinpack::kMeridianDefinition
                                   : from == "meridian_dark" ? skinpack::kMeridianDarkDefinition
                                                             : skinpack::kDefaultDefinition;
  const std::string definition = RenamedDefinition(starter, name, from);
  WriteWholeFile(folder / "skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()),
                                                 definition.size()));
  // The design-size pictures only: the engine scales them for denser
  // screens, and variants drawn now would go stale with the first edit.
  const auto pictures = StarterPictures(from);
  for (const auto& [entry, bytes] : pictures) WriteWholeFile(folder / entry, bytes);
  std::cout << "made skin " << name << " in " << folder.string() << " from the " << from << " skin: skin.ini and "
            << pictures.size() << " pictures\n";
  return 0;
}

int Compress(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("compress: expects IN and OUT");
  const Bytes input = ReadWholeFile(args[0]);
  if (!core::FitsSizeField(input.size())) throw Failure(Quoted(args[0]) + ": 4 GB or larger");
  const Bytes stream = core::LzhCompress(input);
  WriteWholeFile(args[1], stream);
  std::cout << input.size() << " -> " << stream.size() << " bytes\n";
  return 0;
}

// An output file being written: removed when it is left unfinished (only a
// file: OUT may be a device or a pipe).
// The file a command writes, made beside OUT under another name and put in
// OUT's place only once it is complete: a failure leaves OUT as it was (or
// absent), never half written or lost.
class PartialFile {
 public:
  explicit PartialFile(fs::path path) : path_(std::move(path)), part_(path_) { part_ += ".part"; }
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile() {
    std::error_code error;
    if (!complete_) fs::remove(part_, error);
  }
  const fs::path& Path() const { return part_; }
  void Complete() {
    fs::rename(part_, path_);
    complete_ = true;
  }

 private:
  fs::path path_, part_;
  bool complete_ = false;
};

// Decodes into OUT as it goes, without the whole output in memory. A stream
// found cut short, or any other failure, leaves OUT as it was.
int Decompress(const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError("decompress: expects IN and OUT");
  const InputFile input(args[0], args[1]);
  const RawStream stream = CheckedStream(input.Bytes(), args[0]);
  const fs::path output = args[1];
  PartialFile partial(output);
  std::ofstream out(partial.Path(), std::ios::binary | std::ios::trunc);
  if (!out) throw Failure("Unable to write to " + output.string());
  std::uint64_t left = stream.declared;
  core::TLZH decoder;
  decoder.Decode(stream.declared, stream.bits, [&](std::span<const std::uint8_t> piece) {
    // The last piece holds the rest of the last match too.
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), left));
    out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(count));
    left -= count;
  });
  out.close();
  RefuseTruncated(decoder, stream, args[0]);
  if (!out) throw Failure("Unable to write to " + output.string());
  partial.Complete();
  std::cout << stream.declared << " bytes\n";
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << Usage;
    return 0;
  }
  if (command == "pack") return Pack(rest);
  if (command == "list") return List(rest);
  if (command == "extract") return Extract(rest);
  if (command == "verify") return Verify(rest);
  if (command == "check") return Check(rest);
  if (command == "new") return New(rest);
  if (command == "compress") return Compress(rest);
  if (command == "decompress") return Decompress(rest);
  throw UsageError("unknown command \"" + command + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "skinpack: " << error.what() << "\n\n" << Usage;
    return 2;
  } catch (const Failure& error) {
    std::cerr << "skinpack: " << error.what() << '\n';
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "skinpack: " << error.what() << '\n';
    return 1;
  }
}
