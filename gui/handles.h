// Owning, move-only wrappers for GDI and USER handles, and scoped guards for
// device-context state. Every handle the framework and the skin engine create
// lives in one of these, so that every path releases it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace gui {

// Owns one handle; Deleter is a function object that frees it.
template <class Handle, class Deleter>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle h) : handle_(h) {
    if (h) ++live_;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~OwnedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() {
    if (handle_) --live_;
    return std::exchange(handle_, nullptr);
  }
  void reset(Handle h = nullptr) {
    if (handle_ == h) return;
    if (handle_) {
      Deleter{}(handle_);
      --live_;
    }
    if (h) ++live_;
    handle_ = h;
  }
  // How many handles of this kind are owned right now (GUI thread only);
  // leak tests compare it before and after, since Wine's GetGuiResources
  // answers 0.
  static long LiveCount() { return live_; }

 private:
  Handle handle_ = nullptr;
  inline static long live_ = 0;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct IconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
// A menu whose submenus belong to other owners: its entries are taken out
// first, so that destroying it leaves the submenus alone.
struct MenuLevelDeleter {
  void operator()(HMENU h) const {
    for (int i = GetMenuItemCount(h) - 1; i >= 0; --i) RemoveMenu(h, static_cast<UINT>(i), MF_BYPOSITION);
    DestroyMenu(h);
  }
};
struct HookDeleter {
  void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct WindowDeleter {
  void operator()(HWND h) const { DestroyWindow(h); }
};

using BitmapHandle = OwnedHandle<HBITMAP, GdiObjectDeleter>;
using BrushHandle = OwnedHandle<HBRUSH, GdiObjectDeleter>;
using PenHandle = OwnedHandle<HPEN, GdiObjectDeleter>;
using FontHandle = OwnedHandle<HFONT, GdiObjectDeleter>;
using RegionHandle = OwnedHandle<HRGN, GdiObjectDeleter>;
using MemoryDcHandle = OwnedHandle<HDC, DcDeleter>;
// A bitmap's own memory DC, made on first use and kept as long as the
// bitmap: counted apart from the passing ones above.
struct BitmapDcDeleter : DcDeleter {};
using BitmapDcHandle = OwnedHandle<HDC, BitmapDcDeleter>;
using IconHandle = OwnedHandle<HICON, IconDeleter>;
using MenuHandle = OwnedHandle<HMENU, MenuDeleter>;
using MenuLevelHandle = OwnedHandle<HMENU, MenuLevelDeleter>;
using HookHandle = OwnedHandle<HHOOK, HookDeleter>;
using ImageListHandle = OwnedHandle<HIMAGELIST, ImageListDeleter>;
// A window of our own that no control object stands for (a hidden listener).
using WindowHandle = OwnedHandle<HWND, WindowDeleter>;

// GetDC/GetWindowDC/GetDCEx ... ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {
    if (dc_) ++live_;
  }
  static WindowDc Client(HWND wnd) { return WindowDc(wnd, GetDC(wnd)); }
  static WindowDc Whole(HWND wnd) { return WindowDc(wnd, GetWindowDC(wnd)); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& o) noexcept : wnd_(o.wnd_), dc_(std::exchange(o.dc_, nullptr)) {}
  ~WindowDc() {
    if (dc_) {
      ReleaseDC(wnd_, dc_);
      --live_;
    }
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // Window and client DCs held right now (GUI thread only).
  static long LiveCount() { return live_; }

 private:
  HWND wnd_;
  HDC dc_;
  inline static long live_ = 0;
};

// BeginPaint ... EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(wnd_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

 private:
  HWND wnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// SelectObject for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC ... RestoreDC: clip regions, modes, colours and selections come back.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// A memory DC compatible with a reference DC, with a bitmap selected into it.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC reference, int width, int height)
      : dc_(CreateCompatibleDC(reference)),
        bitmap_(CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1)),
        select_(dc_.get(), bitmap_.get()) {}
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }

 private:
  MemoryDcHandle dc_;
  BitmapHandle bitmap_;
  SelectGuard select_;
};

}  // namespace gui
