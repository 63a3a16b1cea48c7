// The list view read from a form description: report columns, items with
// sub-items and images, the column click, and what survives changes and a
// new window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "gui/listview.h"
#include "gui/tests/form_fixture.h"
#include "gui/tests/test_bitmaps.h"

using namespace gui;
using gui_test::ClassOf;
using gui_test::StyleOf;

namespace {

class ListViews : public gui_test::FormTest {
 protected:
  TListView* ShowFiles() {
    const std::string strip = gui_test::Hex(gui_test::StripBmp(16, 16, {RGB(200, 0, 0), RGB(0, 0, 200)}));
    // The image list is named before it is read.
    form_ = ShowForm(R"(  object Files: TListView
    Left = 8
    Top = 8
    Width = 320
    Height = 150
    ViewStyle = vsReport
    SmallImages = Icons
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Caption = 'Size'
        Width = 60
        Alignment = taRightJustify
      end
      item
        Caption = 'Kind'
        Width = 80
        ImageIndex = 1
      end>
    Items = <
      item
        Caption = 'readme.txt'
        ImageIndex = 0
        SubItems.Strings = (
          '12'
          'Text')
      end
      item
        Caption = 'setup.exe'
        SubItems.Strings = (
          '2048')
      end>
  end
  object Icons: TImageList
    Bitmap = {)" + strip + R"(}
  end
)");
    return Find<TListView>(form_, "Files");
  }
  void TearDown() override {
    delete form_;
    FormTest::TearDown();
  }
  TForm* form_ = nullptr;
};

std::wstring CellText(HWND wnd, int item, int column) {
  wchar_t text[64] = {};
  LVITEMW cell{};
  cell.iSubItem = column;
  cell.pszText = text;
  cell.cchTextMax = 64;
  SendMessageW(wnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
  return text;
}

LVCOLUMNW ColumnInfo(HWND wnd, int index, wchar_t (&text)[64]) {
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE;
  c.pszText = text;
  c.cchTextMax = 64;
  SendMessageW(wnd, LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
  return c;
}

TEST_F(ListViews, ColumnsItemsSubItemsAndImagesComeFromTheDescription) {
  TListView* view = ShowFiles();
  HWND wnd = view->Handle();
  EXPECT_EQ(ClassOf(wnd), "TListView");
  EXPECT_EQ(StyleOf(wnd) & LVS_TYPEMASK, LVS_REPORT);
  HWND header = reinterpret_cast<HWND>(SendMessageW(wnd, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(ClassOf(header), "SysHeader32");
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);

  wchar_t text[64];
  LVCOLUMNW size = ColumnInfo(wnd, 1, text);
  EXPECT_STREQ(text, L"Size");
  EXPECT_EQ(size.cx, 60);
  EXPECT_EQ(size.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  LVCOLUMNW kind = ColumnInfo(wnd, 2, text);
  EXPECT_STREQ(text, L"Kind");
  EXPECT_TRUE(kind.fmt & LVCFMT_IMAGE);
  EXPECT_EQ(kind.iImage, 1);

  ASSERT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(CellText(wnd, 0, 0), L"readme.txt");
  EXPECT_EQ(CellText(wnd, 0, 1), L"12");
  EXPECT_EQ(CellText(wnd, 0, 2), L"Text");
  EXPECT_EQ(CellText(wnd, 1, 1), L"2048");
  EXPECT_EQ(CellText(wnd, 1, 2), L"");
  LVITEMW first{};
  first.mask = LVIF_IMAGE;
  SendMessageW(wnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.iImage, 0);

  auto* icons = Find<TImageList>(form_, "Icons");
  EXPECT_EQ(view->SmallImages(), icons);
  EXPECT_EQ(icons->Count(), 2);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), icons->Handle());
  // The header draws the column images from the same list.
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(header, HDM_GETIMAGELIST, 0, 0)), icons->Handle());
  EXPECT_EQ(GetPropValue(*view, "SmallImages"), "Icons");

  // The list view does not keep an image list that is gone.
  delete icons;
  EXPECT_EQ(view->SmallImages(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST_F(ListViews, AClickOnAColumnHeaderNamesTheColumn) {
  TListView* view = ShowFiles();
  HWND header = reinterpret_cast<HWND>(SendMessageW(view->Handle(), LVM_GETHEADER, 0, 0));
  std::vector<TListColumn*> clicked;
  view->OnColumnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, view);
    clicked.push_back(view->ClickedColumn());
  };
  RECT r;
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  gui_test::Click(header, gui_test::Centre(r));
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  gui_test::Click(header, gui_test::Centre(r));
  EXPECT_EQ(clicked, (std::vector<TListColumn*>{&view->Columns()[1], &view->Columns()[0]}));
  EXPECT_EQ(view->ClickedColumn(), nullptr);
}

TEST_F(ListViews, ChangesByTheProgramReachTheWindow) {
  TListView* view = ShowFiles();
  HWND wnd = view->Handle();
  TListItem& added = view->Items().Add();
  added.SetCaption(L"notes.doc");
  added.SubItems().Assign({L"7", L"Document", L"yesterday"});
  view->Items().Delete(0);
  ASSERT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(CellText(wnd, 0, 0), L"setup.exe");
  EXPECT_EQ(CellText(wnd, 1, 0), L"notes.doc");
  EXPECT_EQ(CellText(wnd, 1, 2), L"Document");

  // A column added later shows the sub-items already there.
  TListColumn& when = view->Columns().Add();
  when.SetCaption(L"When");
  EXPECT_EQ(CellText(wnd, 1, 3), L"yesterday");
  view->Columns()[0].SetCaption(L"File");
  wchar_t text[64];
  ColumnInfo(wnd, 0, text);
  EXPECT_STREQ(text, L"File");
  view->Items()[0].SubItems().Insert(0, L"1");
  EXPECT_EQ(CellText(wnd, 0, 1), L"1");
  EXPECT_EQ(CellText(wnd, 0, 2), L"2048");
  // Sub-items go by position: without the second column, the third shows the second text.
  view->Columns().Delete(1);
  EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(SendMessageW(wnd, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(CellText(wnd, 1, 1), L"7");
  EXPECT_EQ(CellText(wnd, 1, 2), L"Document");
}

TEST_F(ListViews, ANewWindowKeepsColumnsWidthsItemsAndSelection) {
  TListView* view = ShowFiles();
  HWND old = view->Handle();
  SendMessageW(old, LVM_SETCOLUMNWIDTH, 0, 150);  // as the user drags it
  view->SetItemIndex(1);
  int selections = 0;
  view->OnSelectItem = [&](TObject*) { ++selections; };
  view->Items()[0].SetSelected(true);
  EXPECT_GE(selections, 1);
  EXPECT_EQ(view->ItemIndex(), 0);

  view->SetViewStyle(TViewStyle::vsSmallIcon);
  view->SetViewStyle(TViewStyle::vsReport);
  HWND wnd = view->Handle();
  ASSERT_NE(wnd, old);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), 150);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(CellText(wnd, 0, 2), L"Text");
  EXPECT_EQ(view->ItemIndex(), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
            view->SmallImages()->Handle());
}

}  // namespace
