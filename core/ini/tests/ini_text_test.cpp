#include "core/ini/ini_text.h"

#include <gtest/gtest.h>

using core::IniText;
using Names = std::vector<std::string>;
using namespace std::string_view_literals;

TEST(IniText, NamesCompareWithoutCaseOrSurroundingBlanks) {
  const IniText ini("[Colours]\n  ButtonFace  =  1 2 3  \n");
  EXPECT_EQ(ini.ReadString("COLOURS", "buttonface", "x"), "1 2 3");
  EXPECT_EQ(ini.ReadString(" colours ", "\tButtonFace ", "x"), "1 2 3");
  EXPECT_TRUE(ini.HasSection("cOlOuRs"));
  EXPECT_FALSE(ini.HasSection("Colour"));
}

TEST(IniText, LinesEndAtAnyRunOfCarriageReturnsAndLineFeeds) {
  const IniText ini("[A]\r\na=1\r\rb=2\n\r\nc=3\rd=4");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"a", "b", "c", "d"}));
  EXPECT_EQ(ini.ReadString("A", "d", ""), "4");
}

TEST(IniText, HeadersTakeTheTextUpToTheLastClosingBracket) {
  const IniText ini("[ Spaced ]\nk=1\n[C] comment\n[D]]\n[E\nw=3\n[F]x]\n[]\nhidden=1\n");
  EXPECT_EQ(ini.SectionNames(), (Names{"Spaced", "C", "D]", "F]x"}));
  // "[E" has no closing bracket: it is a line without "=" in [D]].
  EXPECT_EQ(ini.KeyNames("D]"), (Names{"w"}));
}

TEST(IniText, FirstOfDuplicateSectionsAndKeysWins) {
  const IniText ini("[A]\nk=1\nk=2\n[B]\n[a]\nk=3\nnew=4\n");
  EXPECT_EQ(ini.SectionNames(), (Names{"A", "B", "a"}));
  EXPECT_EQ(ini.ReadString("a", "k", ""), "1");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"k", "k"}));
  EXPECT_EQ(ini.ReadString("A", "new", "none"), "none");
}

TEST(IniText, CommentsAndLinesWithoutEqualsAreNotKeys) {
  const IniText ini("[A]\n;c=1\n  ;d=2\n#h=3\nbare\nbare=4\nk=v ; kept\n");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"#h", "bare", "k"}));
  // The line without "=" is found first and has no value.
  EXPECT_EQ(ini.ReadString("A", "bare", "def"), "def");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "v ; kept");
}

TEST(IniText, KeysBeforeTheFirstHeaderBelongToTheNamelessSection) {
  const IniText ini("pre=1\n[]\nlater=2\n[A]\n");
  EXPECT_EQ(ini.SectionNames(), (Names{"A"}));
  EXPECT_EQ(ini.ReadString("", "pre", ""), "1");
  EXPECT_EQ(ini.ReadString("", "later", "none"), "none");
}

TEST(IniText, OnePairOfMatchingQuotesIsDropped) {
  const IniText ini("[Q]\na=\"x y\"\nb='z'\nc=\"open\nd=\"\"\ne=\"\nf='mixed\"\ng= \" pad \" \n");
  EXPECT_EQ(ini.ReadString("Q", "a", ""), "x y");
  EXPECT_EQ(ini.ReadString("Q", "b", ""), "z");
  EXPECT_EQ(ini.ReadString("Q", "c", ""), "\"open");
  EXPECT_EQ(ini.ReadString("Q", "d", "def"), "");
  EXPECT_EQ(ini.ReadString("Q", "e", ""), "\"");
  EXPECT_EQ(ini.ReadString("Q", "f", ""), "'mixed\"");
  EXPECT_EQ(ini.ReadString("Q", "g", ""), " pad ");
}

TEST(IniText, FallbackLosesTrailingBlanksAndQuotes) {
  const IniText ini("");
  EXPECT_EQ(ini.ReadString("A", "k", "def  "), "def");
  EXPECT_EQ(ini.ReadString("A", "k", "  lead"), "  lead");
  EXPECT_EQ(ini.ReadString("A", "k", "\"q\""), "q");
}

TEST(IniText, ControlBlanksAndNulBytes) {
  const IniText ini("\xEF\xBB\xBF[V]\nk\x0b=\x0cv\x1a\n[X]\nk=a\0b\nm=2\n"sv);
  EXPECT_EQ(ini.SectionNames(), (Names{"V", "X"}));
  EXPECT_EQ(ini.ReadString("V", "k", ""), "v");
  EXPECT_EQ(ini.ReadString("X", "k", ""), "a");
  EXPECT_EQ(ini.ReadString("X", "m", ""), "2");
}

TEST(IniText, IntegersAndBooleans) {
  const IniText ini("[N]\nd=42\nneg=-7\nhex=0x1F\ndollar=$ff\nbad=12a\nbig=99999999999\nq=\"5\"\non=1\noff=0\n");
  EXPECT_EQ(ini.ReadInteger("N", "d", 0), 42);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -7);
  EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "bad", 9), 9);
  EXPECT_EQ(ini.ReadInteger("N", "big", 9), 9);
  EXPECT_EQ(ini.ReadInteger("N", "q", 0), 5);
  EXPECT_EQ(ini.ReadInteger("N", "missing", -3), -3);
  EXPECT_TRUE(ini.ReadBool("N", "on", false));
  EXPECT_FALSE(ini.ReadBool("N", "off", true));
  EXPECT_TRUE(ini.ReadBool("N", "missing", true));
}

TEST(IniText, KeyListMatchesTheSectionNameWithItsBlanks) {
  const IniText ini("[ A ]\nk=1\n");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"k"}));
  EXPECT_TRUE(ini.KeyNames(" A ").empty());
  EXPECT_EQ(ini.ReadString(" A ", "k", ""), "1");
}
