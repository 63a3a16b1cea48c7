#include "skin/controls/skin_listview.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/handles.h"
#include "skin/controls/image_caption.h"
#include "skin/controls/skin_box.h"
#include "skin/data/element_draw.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"

namespace skin {

namespace {

// The header item's text buffer: 200 characters and the terminator.
constexpr int kHeaderTextLength = 201;
// A format bit some headers set for an item image besides HDF_IMAGE.
constexpr int kHeaderImageBit = 0x8000;
// The low byte of an item's format says where its caption goes.
enum THeaderAlign : int { haLeft = HDF_LEFT, haRight = HDF_RIGHT, haCenter = HDF_CENTER };

TDataSkinObject* HeaderBar(TSkinData* data) {
  if (!data) return nullptr;
  TDataSkinObject* bar = data->Skin().Headerbar.get();
  return bar && !bar->Image.Empty() ? bar : nullptr;
}

// The header bar's first frame nine-sliced onto `target` of `dc`.
void DrawHeaderPiece(HDC dc, const RECT& target, TDataSkinObject& bar) {
  if (target.right <= target.left || target.bottom <= target.top) return;
  DrawElement(dc, target, bar, {.Keying = TElementKeying::Opaque});
}

}  // namespace

// ---------------------------------------------------------------------------
// TSkinListView

TSkinListView::~TSkinListView() {
  if (Header) Header->RemoveFreeNotification(this);
}

bool TSkinListView::Attach(const TSkinnerAttach& how) {
  if (Attached()) return true;
  if (!TSkinScrollbar::Attach(how)) return false;
  AttachHeader();
  return true;
}

void TSkinListView::AttachHeader() {
  if (Header || !Handle) return;
  const HWND header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (!header) return;
  // The header lives as long as the list view: the control owns its skinner,
  // and a bare list view's owner (the form skinner) owns both.
  gui::TComponent* owner = Control ? static_cast<gui::TComponent*>(Control) : Owner();
  Header = new TSkinHeader(owner);
  Header->FreeNotification(this);
  Header->Attach(InnerAttach(header));
}

void TSkinListView::FollowNewWindow() {
  TSkinScrollbar::FollowNewWindow();
  // The old header's skinner went dead with its window.
  FreeInner(Header);
}

bool TSkinListView::BeforeMessage(gui::TMessage& m) {
  if (m.Msg != gui::CN_NOTIFY || !m.LParam || !SkinData || SkinData->SkinLoading())
    return TSkinScrollbar::BeforeMessage(m);
  auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam);
  if (draw.nmcd.hdr.code != NM_CUSTOMDRAW) return TSkinScrollbar::BeforeMessage(m);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      // Rows are asked for one by one only when a selection shows: each
      // notification is a message to the parent and back, and a view
      // without one would pay them for every row it paints.
      paintFocused_ = GetFocus() == Handle;
      m.Result = SelectionShows() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      return false;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      // Only a selected row's cells are recoloured.
      if (!(draw.nmcd.uItemState & CDIS_SELECTED)) {
        m.Result = CDRF_DODEFAULT;
        return false;
      }
      m.Result = CDRF_NOTIFYSUBITEMDRAW;
      // As the system shows a selection: in the selection colours while the
      // list has the focus, on the face when it shows it always.
      const TSkinPalette& palette = SkinData->Palette();
      if (paintFocused_) {
        draw.clrTextBk = palette.SysColor(COLOR_HIGHLIGHT);
        draw.clrText = palette.SysColor(COLOR_HIGHLIGHTTEXT);
      } else if (GetWindowLongPtrW(Handle, GWL_STYLE) & LVS_SHOWSELALWAYS) {
        draw.clrTextBk = palette.SysColor(COLOR_BTNFACE);
        draw.clrText = palette.SysColor(COLOR_BTNTEXT);
      } else {
        return false;
      }
      draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
      m.Result |= CDRF_NEWFONT;
      return false;
    }
    default:
      m.Result = CDRF_DODEFAULT;
      return false;
  }
}

bool TSkinListView::SelectionShows() const {
  if (!paintFocused_ && !(GetWindowLongPtrW(Handle, GWL_STYLE) & LVS_SHOWSELALWAYS)) return false;
  return SendMessageW(Handle, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
}

void TSkinListView::AfterMessage(gui::TMessage& m) {
  TSkinScrollbar::AfterMessage(m);
  // A new window of the list view (the skinner follows it from its first
  // message) has its header once it is created.
  if (m.Msg == WM_CREATE) AttachHeader();
}

void TSkinListView::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinScrollbar::Notification(component, operation);
  // The form skinner frees every skinner it lists, the header among them.
  if (operation == gui::TOperation::opRemove && component == Header) Header = nullptr;
}

// ---------------------------------------------------------------------------
// TSkinHeader

bool TSkinHeader::BeforeMessage(gui::TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && HeaderBar(SkinData)) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& r) {
  if (!HasSkin()) return;
  TDataSkinObject* bar = HeaderBar(SkinData);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (!bar || width <= 0 || height <= 0) return;
  gui::TBitmap work(width, height);  // made for the paint, not kept
  HDC wdc = work.DC();
  const TMirrorLike mirror(wdc, dc);
  gui::SavedDcState saved(wdc);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  SelectObject(wdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SetBkMode(wdc, TRANSPARENT);
  SetTextColor(wdc, SkinColourToRGB(SkinData->Skin().Colours.ButtonText));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  // A header inside a disabled list view is as disabled as the list view.
  const HWND parent = GetParent(Handle);
  const bool enabled = IsWindowEnabled(Handle) && (!parent || IsWindowEnabled(parent));

  int rightmost = 0;
  const int count = static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(Handle, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item))) continue;
    DrawItem(wdc, i, item, images, enabled);
    rightmost = std::max<int>(rightmost, item.right);
  }
  // The strip after the last item.
  if (rightmost < width) DrawHeaderPiece(wdc, RECT{rightmost, 0, width, height}, *bar);
  BitBlt(dc, r.left, r.top, width, height, wdc, 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images, bool enabled) {
  wchar_t text[kHeaderTextLength] = {};
  HDITEMW info{};
  info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM;
  info.pszText = text;
  info.cchTextMax = kHeaderTextLength;
  if (!SendMessageW(Handle, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&info))) return;
  DrawHeaderPiece(dc, item, *HeaderBar(SkinData));
  if (info.fmt & HDF_OWNERDRAW) {
    // The program draws the item on the skin's piece, as the header would
    // ask it.
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_HEADER;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(Handle));
    draw.itemID = static_cast<UINT>(index);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = enabled ? 0 : ODS_DISABLED;
    draw.hwndItem = Handle;
    draw.hDC = dc;
    draw.rcItem = item;
    draw.itemData = static_cast<ULONG_PTR>(info.lParam);
    gui::SavedDcState saved(dc);
    SendMessageW(GetParent(Handle), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    return;
  }
  if (text[0] == L'\0') return;
  const int image = (info.fmt & (HDF_IMAGE | kHeaderImageBit)) ? info.iImage : -1;
  TCaptionPlacement placement = TCaptionPlacement::Left;
  switch (info.fmt & 0xFF) {
    case haRight: placement = TCaptionPlacement::Right; break;
    case haCenter: placement = TCaptionPlacement::Centre; break;
    default: break;
  }
  DrawImageCaption(dc, item, placement, text, image, images, enabled);
}

// ---------------------------------------------------------------------------
// TSkinSizer

bool TSkinSizer::BeforeMessage(gui::TMessage& m) {
  // The skin's grip instead of the system's; a skin without a grip picture
  // leaves the system's.
  if (HasSkin() && HasSizeGripSkin(SkinData->Skin()) && AnswerWholeControlPaint(m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin() || !HasSizeGripSkin(SkinData->Skin())) return;
  FillFace(dc, rect);
  DrawSizeGrip(dc, POINT{rect.right, rect.bottom}, SkinData->Skin());
}

}  // namespace skin
