#include "core/ini/tests/ini_corpus.h"

#include <string>

namespace core::testing {

using namespace std::string_view_literals;

namespace {

std::string LongLines() {
  std::string text = "[Long]\nvalue=" + std::string(70000, 'x') + "\nshort=1\n";
  text += std::string(300, 'k') + "=long name\n[" + std::string(500, 'S') + "]\nk=in long section\n";
  return text;
}

std::string ManySections() {
  std::string text;
  for (int i = 0; i < 200; ++i) {
    text += "[Section" + std::to_string(i) + "]\nkey=" + std::to_string(i * 7) + "\n";
  }
  return text;
}

}  // namespace

const std::vector<IniCase>& IniCorpus() {
  static const std::string long_lines = LongLines();
  static const std::string many_sections = ManySections();
  static const std::vector<IniCase> corpus = {
      {"plain", "[A]\nk=v\nn=2\n[B]\nx=y\n"sv},
      {"empty text", ""sv},
      {"only blanks", " \t\r\n \n\n\t"sv},
      {"no trailing line break", "[A]\nk=v"sv},
      {"crlf", "[A]\r\nk=v\r\nn=2\r\n"sv},
      {"lone cr", "[A]\rk=v\rn=2\r[B]\rz=1"sv},
      {"mixed and repeated breaks", "[A]\r\n\r\r\n\nk=v\n\r\n\rn=2\n\n\n"sv},
      {"case of names", "[Colours]\nButtonFace=1\n[colours]\nbuttonface=2\n[COLOURS]\nBUTTONFACE=3\n"sv},
      {"blanks around names and values", "  [A]  \n  k  =  v  \n\tt\t=\tw\t\n"sv},
      {"blanks inside header", "[ A ]\nk=1\n[\tB C\t]\nk=2\n"sv},
      {"vertical tab form feed and ^Z", "[V]\nk\x0b=\x0cv\x1a\n\x1a[W]\x1a\nk=w\n"sv},
      {"quoted values", "[Q]\na=\"double\"\nb='single'\nc=\"unbalanced\nd=\"\"\ne=\"\nf=\" in \" mid\ng='mixed\"\nh= \"  padded  \" \ni=''\n"sv},
      {"quotes in names", "[Q]\n\"k\"=1\n'j'=2\n"sv},
      {"comments", ";top\n[A]\n;c=comment\n  ;indented=1\n#hash=1\nk=v ; not a comment\nrem=1\n;[B]\n"sv},
      {"comment after header", "[A] ; note\nk=1\n[B];x\nk=2\n"sv},
      {"duplicate keys", "[A]\nk=first\nk=second\nK=third\n"sv},
      {"duplicate sections", "[A]\nk=1\n[B]\nk=2\n[A]\nk=3\nextra=4\n"sv},
      {"duplicate sections differing in case", "[Button1]\nAction=1\n[BUTTON1]\nAction=2\nFrame=3\n"sv},
      {"keys without equals", "[A]\nnoeq\nk=1\nalone\n[B]\nonly\n"sv},
      {"key without equals shadows later key", "[A]\nk\nk=1\n"sv},
      {"keys before first section", "pre=1\nbare\n[A]\nk=v\n"sv},
      {"empty section name", "pre=1\n[]\nempty=2\n[A]\nk=v\n"sv},
      {"empty key name", "[A]\n=noname\nk=1\n[B]\nk=1\n= second\n"sv},
      {"empty values", "[A]\nk=\nl=  \nm\n"sv},
      {"several equals", "[A]\nk = = 2\nk2==3\nk3=a=b\n"sv},
      {"brackets in odd places", "[D]]\ny=2\n[E\nw=3\n[F]x]\nz=4\nv=[x]\n]\n[\n"sv},
      {"header with text after bracket", "[C] trailing\nx=1\n"sv},
      {"empty section", "[A]\n[B]\nk=1\n[C]\n"sv},
      {"section with only comments", "[A]\n;a=1\n;b=2\n[B]\nk=1\n"sv},
      {"section of keys without equals", "[A]\nx\ny\n"sv},
      {"equals in section name", "[a=b]\nk=1\n"sv},
      {"backslash and path values", "[A]\nImage=c:\\skins\\Frame.BMP\npath=..\\x\\y.bmp\nk\\=1\n"sv},
      {"numbers", "[N]\nd=42\nneg=-7\nhex=0x1F\ndollar=$ff\nbad=12a\nspace=1 2\nbig=99999999999\n"sv},
      {"colour texts", "[Colours]\nButtonFace=203 216 239\nButtonText=0,0,0\nMenu= 1 , 2 , 3 \n"sv},
      {"utf8 byte order mark", "\xEF\xBB\xBF[U]\nk=v\n"sv},
      {"high bytes pass through", "[H]\nk=\xC3\xA9\xE9 caf\xE9\nn\xE9=1\n"sv},
      {"embedded nul in value", "[X]\nk=a\0b\nm=2\n"sv},
      {"embedded nul in name", "[X\0Y]\nk\0z=1\nm=2\n"sv},
      {"nul only", "\0\0\0\0"sv},
      {"tabs as separators", "[A]\nk\t=\tv\n\tq=1\n"sv},
      {"long lines", long_lines},
      {"many sections", many_sections},
      {"key names with spaces", "[Sec]\nA B=2\n a  b =3\n"sv},
      {"skin like", "[TitlebarSkin]\nSkinName=Test\n[Personality]\nLeft=left.bmp\nLeftTopHeight=30\n[Button0]\nAction=0\nButtonImage=close.bmp\n[Colour0]\ncolor=1 2 3\n"sv},
  };
  return corpus;
}

}  // namespace core::testing
