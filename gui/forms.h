// Forms. A form shows its main menu as its menu bar; an MDI frame (fsMDIForm) holds the system's
// "MDIClient" window, in which MDI child forms (fsMDIChild) live, and shows
// the active child's main menu merged into its own bar.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/controls.h"
#include "gui/screen.h"
#include "gui/menus.h"

namespace gui {

enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TTileMode { tbHorizontal, tbVertical };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// The id of an MDI frame's first child in the window menu's list.
constexpr UINT kFirstMDIChildId = 0xFF00;

class TCustomForm : public TWinControl {
  GUI_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form description stored under the form's class name, then runs OnCreate.
  void InitFromResource();
  // Reads a given form description text instead of the resource.
  void InitFromText(std::string_view text);

  std::uint32_t BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(std::uint32_t icons);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  int ClientWidth();
  int ClientHeight();
  void SetClientWidth(int w);
  void SetClientHeight(int h);
  TIcon& Icon() { return icon_; }

  // The menu bar. An MDI child's menu is not shown on the child: it merges
  // into the frame's bar while the child is active.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  // Set before the window exists; switching to or from an MDI style later
  // recreates the window.
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);

  // Laid out right to left as a whole (WS_EX_LAYOUTRTL): the frame, the
  // controls (which inherit the layout) and the drawing in them mirrored,
  // text left reading as it does. Beside BiDiMode, which only changes the
  // reading order and alignment. A form of a process whose default layout
  // is right to left is mirrored whatever this says. Changing it once the
  // window exists makes the window again.
  bool Mirrored() const { return mirrored_; }
  void SetMirrored(bool value);

  // MDI frames: the "MDIClient" window, the children, their arrangement.
  HWND ClientHandle() const { return clientHandle_; }
  // The item of the menu bar whose submenu lists the children.
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  // In z-order: the active child first.
  TCustomForm* MDIChildren(int index) const;
  // How Tile lays the children out.
  TTileMode TileMode() const { return tileMode_; }
  void SetTileMode(TTileMode mode) { tileMode_ = mode; }
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  void Previous();
  // MDI children: the frame they live in (the owner when it is an MDI
  // frame, else the application's main form), or nullptr.
  TCustomForm* MDIFrame() const;

  // The density the form description was made for, and whether the form
  // is scaled from it to the screen's when it is read (on by default).
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int dpi) { pixelsPerInch_ = dpi > 0 ? dpi : kDesignPixelsPerInch; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  // Scales the form's contents and client size by m/d; the form keeps its
  // place on the screen.
  void ChangeScale(int m, int d) override;

  // Runs the menu item or action with that shortcut; false when none did.
  virtual bool IsShortCut(TShortCut shortCut);

  void Show();
  // OnClose decides: hide (caHide, the default), minimise, nothing, or free
  // the form (caFree, the default for MDI children). Closing the main form
  // ends the application.
  void Close();
  // Frees the form once the messages being handled are done.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  HWND CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  void CreateWindowHandleDone() override;
  void SetBounds(int left, int top, int width, int height) override;
  void BiDiModeChanged() override;
  virtual void DoCreate();
  void UpdateBoundsFromWindow() override;

 private:
  void ApplyStyles();
  void ResizeToClient();
  void AfterCreate();
  void CreateClient();
  // CM_MENUCHANGED's default: the bar goes (back) on the window.
  void ShowMenuBar();
  // An MDI child's menu joins or leaves its frame's bar.
  void MergeMenu(bool active);
  std::vector<TCustomForm*> MDIChildList() const;

  // WM_DPICHANGED: scaled to the new density, at the place the system suggests.
  void DpiChanged(int dpi, const RECT& suggested);

  TMainMenu* menu_ = nullptr;
  int pixelsPerInch_ = kDesignPixelsPerInch;
  int currentPixelsPerInch_ = kDesignPixelsPerInch;  // the density the form is laid out for now
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  bool mirrored_ = false;
  HWND clientHandle_ = nullptr;
  TMenuItem* windowMenu_ = nullptr;
  bool windowGoing_ = false;  // between WM_DESTROY and WM_NCDESTROY

  std::uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  TTileMode tileMode_ = TTileMode::tbHorizontal;
  bool scaled_ = true;
  bool clientSizeSet_ = false;
  TIcon icon_;
};

class TForm : public TCustomForm {
  GUI_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};


}  // namespace gui
