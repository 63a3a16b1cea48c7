#include "gui/graphics.h"

#include <cctype>
#include <cstring>

#include "core/text/number_text.h"
#include "gui/color_scheme.h"
#include "gui/screen.h"
#include "gui/text.h"

namespace gui {

namespace {

struct NamedColor {
  const char* name;
  TColor color;
};

constexpr NamedColor kColorNames[] = {
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clNone", clNone},
    {"clScrollBar", clSystemColor | COLOR_SCROLLBAR},
    {"clBackground", clSystemColor | COLOR_BACKGROUND},
    {"clActiveCaption", clSystemColor | COLOR_ACTIVECAPTION},
    {"clInactiveCaption", clSystemColor | COLOR_INACTIVECAPTION},
    {"clMenu", clMenu},         {"clWindow", clWindow},
    {"clWindowFrame", clSystemColor | COLOR_WINDOWFRAME},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
    {"clCaptionText", clSystemColor | COLOR_CAPTIONTEXT},
    {"clActiveBorder", clSystemColor | COLOR_ACTIVEBORDER},
    {"clInactiveBorder", clSystemColor | COLOR_INACTIVEBORDER},
    {"clAppWorkSpace", clSystemColor | COLOR_APPWORKSPACE},
    {"clHighlight", clHighlight},  {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},      {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clSystemColor | COLOR_INACTIVECAPTIONTEXT},
    {"clBtnHighlight", clSystemColor | COLOR_BTNHIGHLIGHT},
    {"cl3DDkShadow", clSystemColor | COLOR_3DDKSHADOW},
    {"cl3DLight", clSystemColor | COLOR_3DLIGHT},
    {"clInfoText", clSystemColor | COLOR_INFOTEXT},
    {"clInfoBk", clSystemColor | COLOR_INFOBK},
};

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000) == clSystemColor) return SchemeColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  for (const NamedColor& c : kColorNames) {
    if (SameText(c.name, ident)) {
      color = c.color;
      return true;
    }
  }
  if (auto n = core::ParseInteger(ident)) {
    color = static_cast<TColor>(*n);
    return true;
  }
  return false;
}

std::string ColorToString(TColor color) {
  for (const NamedColor& c : kColorNames)
    if (c.color == color) return c.name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
  return buf;
}

namespace prop {

std::uint32_t ToColor(const TPropValue& v) {
  if (v.kind == TPropValue::Kind::Integer) return static_cast<std::uint32_t>(v.integer);
  TColor c = 0;
  if (!IdentToColor(v.text, c)) throw Exception(L"Invalid colour " + Utf8ToWide(v.text));
  return c;
}

TPropValue ColorValue(std::uint32_t color) { return IdentValue(ColorToString(color)); }

}  // namespace prop

// ---------------------------------------------------------------------------
// TFont

TFont::TFont() = default;

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

void TFont::SetName(const std::wstring& v) {
  if (v == name_) return;
  name_ = v;
  Changed();
}
void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}
void TFont::SetCharset(int v) {
  if (v == charset_) return;
  charset_ = v;
  Changed();
}
void TFont::SetStyle(std::uint32_t v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (SameAs(other)) return;
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  charset_ = other.charset_;
  style_ = other.style_;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && charset_ == o.charset_ && style_ == o.style_;
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    // The old bitmap dialog face has a few sizes only; on a denser screen the
    // scalable shell dialog face takes its place.
    const bool bitmapDialogFace = _wcsicmp(name_.c_str(), L"MS Sans Serif") == 0;
    const std::wstring face =
        bitmapDialogFace && ScreenPixelsPerInch() > kDesignPixelsPerInch ? L"MS Shell Dlg 2" : name_;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    handle_.reset(CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

void TFont::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TFont> b(list);
  static const std::vector<std::string> charsets = [] {
    std::vector<std::string> v(256);
    for (int i = 0; i < 256; ++i) v[static_cast<std::size_t>(i)] = std::to_string(i);
    v[ANSI_CHARSET] = "ANSI_CHARSET";
    v[DEFAULT_CHARSET] = "DEFAULT_CHARSET";
    v[SYMBOL_CHARSET] = "SYMBOL_CHARSET";
    v[GB2312_CHARSET] = "GB2312_CHARSET";
    v[OEM_CHARSET] = "OEM_CHARSET";
    return v;
  }();
  b.Enumeration("Charset", charsets, [](TFont& f) { return f.Charset(); }, [](TFont& f, int v) { f.SetCharset(v); });
  b.Color("Color", [](TFont& f) { return f.Color(); }, [](TFont& f, TColor v) { f.SetColor(v); });
  b.Integer("Height", [](TFont& f) { return f.Height(); }, [](TFont& f, int v) { f.SetHeight(v); });
  b.String("Name", [](TFont& f) { return f.Name(); }, [](TFont& f, const std::wstring& v) { f.SetName(v); });
  b.Integer("Size", [](TFont& f) { return f.Size(); }, [](TFont& f, int v) { f.SetSize(v); });
  b.Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, [](TFont& f) { return f.Style(); },
        [](TFont& f, std::uint32_t v) { f.SetStyle(v); });
}

// ---------------------------------------------------------------------------
// TIcon

namespace {

#pragma pack(push, 1)
struct IconDirEntry {
  BYTE width, height, colorCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes, imageOffset;
};
#pragma pack(pop)

struct IconImage {
  int width, height, bitCount;
  std::span<const std::uint8_t> bits;
};

std::vector<IconImage> IconImages(std::span<const std::uint8_t> data) {
  std::vector<IconImage> images;
  if (data.size() < 6) return images;
  WORD reserved, type, count;
  std::memcpy(&reserved, data.data(), 2);
  std::memcpy(&type, data.data() + 2, 2);
  std::memcpy(&count, data.data() + 4, 2);
  if (reserved != 0 || type != 1) return images;
  for (WORD i = 0; i < count; ++i) {
    const std::size_t at = 6 + std::size_t{i} * sizeof(IconDirEntry);
    if (at + sizeof(IconDirEntry) > data.size()) break;
    IconDirEntry e;
    std::memcpy(&e, data.data() + at, sizeof e);
    if (e.imageOffset > data.size() || e.bytesInRes > data.size() - e.imageOffset) continue;
    images.push_back({e.width ? e.width : 256, e.height ? e.height : 256, e.bitCount,
                      data.subspan(e.imageOffset, e.bytesInRes)});
  }
  return images;
}

HICON CreateIconFor(const std::vector<IconImage>& images, int size) {
  const IconImage* best = nullptr;
  for (const IconImage& img : images)
    if (!best || std::abs(img.width - size) < std::abs(best->width - size)) best = &img;
  if (!best) return nullptr;
  return CreateIconFromResourceEx(const_cast<PBYTE>(best->bits.data()), static_cast<DWORD>(best->bits.size()), TRUE,
                                  0x00030000, size, size, LR_DEFAULTCOLOR);
}

}  // namespace

void TIcon::LoadFromBytes(std::span<const std::uint8_t> data) {
  data_.assign(data.begin(), data.end());
  const std::vector<IconImage> images = IconImages(data_);
  large_.reset(CreateIconFor(images, GetSystemMetrics(SM_CXICON)));
  small_.reset(CreateIconFor(images, GetSystemMetrics(SM_CXSMICON)));
}

bool TIcon::FirstImageInfo(int& width, int& height, int& bitCount) const {
  const std::vector<IconImage> images = IconImages(data_);
  if (images.empty()) return false;
  width = images[0].width;
  height = images[0].height;
  bitCount = images[0].bitCount;
  return true;
}

bool TIcon::ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) {
  if (name != "Data") return false;
  LoadFromBytes(data);
  return true;
}

void TIcon::WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& out) {
  out.emplace_back("Data", data_);
}


FontHandle CreatePlainFont(HFONT font) {
  LOGFONTW lf{};
  if (!font || GetObjectW(font, sizeof(lf), &lf) != sizeof(lf)) return FontHandle();
  if (lf.lfWeight <= FW_NORMAL && !lf.lfItalic && !lf.lfUnderline && !lf.lfStrikeOut) return FontHandle();
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = FALSE;
  return FontHandle(CreateFontIndirectW(&lf));
}
}  // namespace gui
