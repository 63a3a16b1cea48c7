#include "core/archive/skin_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using core::ByteStream;
using core::ESkinArchiveError;
using core::TSkinReader;
using core::TSkinWriter;

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string ToText(const ByteStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

class RecordingSink : public core::ISkinMessageSink {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

// A decoded archive written field by field, for layouts the writer refuses.
Bytes Container(std::uint32_t version, std::string_view names, const std::vector<std::uint32_t>& sizes,
                std::string_view contents, std::uint32_t nameListLength) {
  Bytes out;
  core::AppendLittleEndian32(out, version);
  core::AppendLittleEndian32(out, nameListLength);
  core::AppendLittleEndian32(out, 0xDEADBEEF);  // the two unused words may hold anything
  core::AppendLittleEndian32(out, 0x12345678);
  out.insert(out.end(), names.begin(), names.end());
  for (std::uint32_t size : sizes) core::AppendLittleEndian32(out, size);
  out.insert(out.end(), contents.begin(), contents.end());
  return out;
}

Bytes Container(std::string_view names, const std::vector<std::uint32_t>& sizes, std::string_view contents) {
  return Container(TSkinReader::ArchiveVersion, names, sizes, contents, static_cast<std::uint32_t>(names.size()));
}

class SkinReaderTest : public ::testing::Test {
 protected:
  bool Load(const Bytes& archive) {
    ByteStream source(archive);
    return reader.LoadArchive(source);
  }
  bool LoadContainer(const Bytes& container) { return Load(core::LzhCompress(container)); }
  bool LoadWritten(std::initializer_list<std::pair<std::string_view, std::string_view>> entries) {
    TSkinWriter writer;
    for (const auto& [name, contents] : entries) writer.AddEntry(name, ToBytes(contents));
    return Load(writer.BuildArchive());
  }

  std::string Extract(std::string_view name) {
    ByteStream target(ToBytes("left over"));
    reader.ExtractFile(name, target);
    EXPECT_EQ(target.Position(), 0u);
    return ToText(target);
  }

  RecordingSink sink;
  TSkinReader reader{&sink};
};

TEST_F(SkinReaderTest, WrittenArchiveLoadsAndExtracts) {
  ASSERT_TRUE(LoadWritten(
      {{"Skin.INI", "[Form]\r\n"}, {"Title.bmp", "BMtitle"}, {"empty.bmp", ""}, {"Button.BMP", "BMbutton"}}));

  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "title.bmp", "empty.bmp", "button.bmp"}));
  EXPECT_EQ(reader.Sizes(), (std::vector<std::uint32_t>{8, 7, 0, 8}));
  EXPECT_EQ(Extract("button.bmp"), "BMbutton");
  EXPECT_EQ(Extract("BUTTON.bmp"), "BMbutton");
  EXPECT_EQ(Extract("tItLe.BmP"), "BMtitle");
  EXPECT_EQ(Extract("empty.bmp"), "");
  EXPECT_EQ(Extract("missing.bmp"), "");
  EXPECT_EQ(Extract("button"), "");  // whole names only
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SkinReaderTest, FirstMatchingComparesTheFragmentAsGiven) {
  ASSERT_TRUE(LoadWritten({{"Back.bmp", "back"}, {"MySkin.Ini", "definition"}, {"second.ini", "other"}}));

  ByteStream target;
  std::string name = "unchanged";
  reader.ExtractFirstMatching(".INI", target, name);
  EXPECT_EQ(target.Size(), 0u);
  EXPECT_EQ(name, "unchanged");

  reader.ExtractFirstMatching(".ini", target, name);
  EXPECT_EQ(ToText(target), "definition");
  EXPECT_EQ(target.Position(), 0u);
  EXPECT_EQ(name, "myskin.ini");

  reader.ExtractFirstMatching("ack", target, name);
  EXPECT_EQ(ToText(target), "back");
  EXPECT_EQ(name, "back.bmp");
}

TEST_F(SkinReaderTest, NameListLineBreaksAndDuplicates) {
  // No break after the last name; lone CR and lone LF end lines too, and an
  // empty line is an entry of its own with a size slot.
  ASSERT_TRUE(LoadContainer(Container("one.bmp\rtwo.bmp\n\r\nlast.ini", {1, 2, 0, 3}, "122333")));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"one.bmp", "two.bmp", "", "last.ini"}));
  EXPECT_EQ(Extract("last.ini"), "333");
  EXPECT_EQ(Extract("two.bmp"), "22");

  ASSERT_TRUE(LoadContainer(Container("a.bmp\r\nA.BMP\r\nb.bmp\r\n", {3, 4, 2}, "onetwo!hi")));
  EXPECT_EQ(Extract("A.bmp"), "one");
  EXPECT_EQ(Extract("b.bmp"), "hi");  // offsets still count the hidden duplicate

  ASSERT_TRUE(LoadContainer(Container("", {}, "")));
  EXPECT_EQ(reader.Count(), 0u);
  EXPECT_EQ(Extract(""), "");
}

TEST_F(SkinReaderTest, WrongVersionEmptyOrTooShortArchivesAreReportedOnce) {
  // A version of 19999, decoded size 0, no archive at all, a partial size
  // field, a container too short for its version word.
  for (const Bytes& archive : {core::LzhCompress(Container(19999, "a.bmp", {1}, "x", 5)), Bytes{0, 0, 0, 0},
                               Bytes{}, Bytes{0, 0}, core::LzhCompress(Bytes{0x20, 0x4E})}) {
    sink.messages.clear();
    EXPECT_FALSE(Load(archive));
    EXPECT_EQ(sink.messages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
    EXPECT_EQ(reader.Count(), 0u);
  }
}

TEST_F(SkinReaderTest, LoadingAgainReplacesTheArchive) {
  ASSERT_TRUE(LoadContainer(Container("a.bmp\r\n", {1}, "A")));
  ASSERT_TRUE(LoadContainer(Container("b.bmp\r\n", {1}, "B")));
  EXPECT_EQ(Extract("a.bmp"), "");
  EXPECT_EQ(Extract("b.bmp"), "B");
  EXPECT_FALSE(LoadContainer(Container(1, "", {}, "", 0)));
  EXPECT_EQ(Extract("b.bmp"), "");
}

TEST_F(SkinReaderTest, DamagedContainersAreRefusedAndLeaveTheReaderEmpty) {
  const auto numberedNames = [](int count) {
    std::string names;
    for (int i = 0; i < count; ++i) names += std::to_string(i) + ".bmp\r\n";
    return names;
  };
  Bytes headerCutShort = Container(TSkinReader::ArchiveVersion, "", {}, "", 0);
  headerCutShort.resize(10);
  const std::pair<const char*, Bytes> damaged[] = {
      {"header cut short", headerCutShort},
      {"name list longer than the archive", Container(TSkinReader::ArchiveVersion, "a.bmp\r\n", {1}, "x", 100)},
      {"name list length near 4 GB", Container(TSkinReader::ArchiveVersion, "a.bmp", {1}, "x", 0xFFFFFFF0u)},
      {"size table cut short", Container("a.bmp\r\nb.bmp\r\n", {1}, "")},
      {"entry past the end", Container("a.bmp\r\nb.bmp\r\n", {1, 5}, "abcd")},
      {"sizes that wrap 32 bits", Container("a.bmp\r\nb.bmp\r\n", {2, 0xFFFFFFFFu}, "ab")},
      {"1,002 entries", Container(numberedNames(1002), std::vector<std::uint32_t>(1002, 0), "")},
  };
  for (const auto& [what, container] : damaged) {
    ASSERT_TRUE(LoadContainer(Container("keep.bmp", {1}, "k")));
    EXPECT_THROW(LoadContainer(container), ESkinArchiveError) << what;
    EXPECT_EQ(reader.Count(), 0u) << what;
    EXPECT_EQ(Extract("keep.bmp"), "") << what;
  }
  EXPECT_TRUE(sink.messages.empty());

  std::vector<std::uint32_t> sizes1001(1001, 0);
  sizes1001[1000] = 4;
  ASSERT_TRUE(LoadContainer(Container(numberedNames(1001), sizes1001, "last")));
  EXPECT_EQ(Extract("1000.bmp"), "last");
}

TEST_F(SkinReaderTest, ImpossibleDecodedSizeIsRefusedBeforeDecoding) {
  // Four bytes of bit stream cannot produce 4 GB, nor 256 bytes.
  EXPECT_THROW(Load({0xFF, 0xFF, 0xFF, 0xFF, 0xE6, 0xC6, 0x00, 0x00}), ESkinArchiveError);
  EXPECT_THROW(Load({0x00, 0x01, 0x00, 0x00, 0xE6, 0xC6, 0x00, 0x00}), ESkinArchiveError);
  EXPECT_THROW(Load({0xFF, 0xFF, 0xFF, 0xFF}), ESkinArchiveError);

  // The densest real stream stays inside the limit: 60-byte matches only.
  TSkinWriter writer;
  writer.AddEntry("zeros.bmp", Bytes(200000, 0));
  const Bytes dense = writer.BuildArchive();
  EXPECT_GT(200000u / (dense.size() - 4), 30u);
  EXPECT_TRUE(Load(dense));
}

TEST_F(SkinReaderTest, TruncatedArchiveStillDecodesToFullLength) {
  TSkinWriter writer;
  Bytes text;
  std::mt19937 random(99);
  for (int i = 0; i < 20000; ++i) text.push_back(static_cast<std::uint8_t>('a' + random() % 26));
  writer.AddEntry("skin.ini", text);
  Bytes archive = writer.BuildArchive();
  const std::size_t containerSize = writer.BuildContainer().size();
  archive.resize(archive.size() - 100);

  ByteStream source(archive);
  ByteStream target;
  reader.Decompress(source, target);
  EXPECT_GE(target.Size(), containerSize);
  EXPECT_LT(target.Size(), containerSize + 60);
  EXPECT_EQ(source.Position(), source.Size());
}

TEST_F(SkinReaderTest, EntriesAreDecodedAsFarAsTheOnesAskedFor) {
  std::mt19937 random(7);
  const auto noise = [&](std::size_t size) {
    std::string text(size, ' ');
    for (char& c : text) c = static_cast<char>(random());
    return text;
  };
  const std::string definition = "[Form]\r\n", picture = noise(2000), variant = noise(100000);
  ASSERT_TRUE(LoadWritten({{"skin.ini", definition}, {"a.bmp", picture}, {"a@2x.bmp", variant}}));
  EXPECT_LT(reader.DecodedBytes(), 100u);  // the header, names and sizes

  const std::span<const std::uint8_t> inPlace = reader.Entry("A.BMP");
  EXPECT_EQ(Extract("a.bmp"), picture);
  EXPECT_LT(reader.DecodedBytes(), 2200u);
  EXPECT_EQ(Extract("a@2x.bmp"), variant);
  EXPECT_GT(reader.DecodedBytes(), 102000u);
  EXPECT_EQ(Extract("skin.ini"), definition);  // one decoded before stays
  // An entry read in place stays where it was while the rest is decoded.
  EXPECT_EQ(std::string(inPlace.begin(), inPlace.end()), picture);
  EXPECT_TRUE(reader.Entry("b.bmp").empty());
}

TEST_F(SkinReaderTest, EntriesInTheRestOfALastMatchAreJudgedAsAfterAWholeDecode) {
  // The archive ends in a run, so its last symbols are whole 60-byte
  // matches; a decoded size cut short by a few bytes leaves the decoder
  // making a little more than it, which is where the last entry ends.
  const Bytes container = Container("a.bmp\r\nrun.bmp\r\n", {3, 300}, "abc" + std::string(300, 'r'));
  int accepted = 0, refused = 0;
  for (std::uint32_t cut = 1; cut < 60; ++cut) {
    Bytes archive = core::LzhCompress(container);
    const auto declared = static_cast<std::uint32_t>(container.size() - cut);
    for (int i = 0; i < 4; ++i) archive[i] = static_cast<std::uint8_t>(declared >> (8 * i));
    ByteStream whole(archive), decoded;
    reader.Decompress(whole, decoded);
    if (decoded.Size() >= container.size()) {
      ++accepted;
      ASSERT_TRUE(Load(archive)) << cut;
      EXPECT_EQ(Extract("run.bmp"), std::string(300, 'r')) << cut;
    } else {
      ++refused;
      EXPECT_THROW(Load(archive), ESkinArchiveError) << cut;
    }
  }
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

TEST(SkinWriter, RefusesWhatTheNameListCannotCarry) {
  TSkinWriter writer;
  EXPECT_THROW(writer.AddEntry("", {}), std::invalid_argument);
  EXPECT_THROW(writer.AddEntry("a\r\nb.bmp", {}), std::invalid_argument);
  EXPECT_THROW(writer.AddEntry("a\n", {}), std::invalid_argument);
  EXPECT_THROW(writer.AddEntry(std::string_view("a\0b", 3), {}), std::invalid_argument);
  for (int i = 0; i < 1001; ++i) writer.AddEntry(std::to_string(i), {});
  EXPECT_THROW(writer.AddEntry("1001", {}), std::length_error);
  EXPECT_EQ(writer.Count(), 1001u);
}

}  // namespace
