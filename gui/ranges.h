// Controls that show or choose a value in a range: the stand-alone scroll
// bar ("SCROLLBAR"), the track bar, the up-down (spin) buttons and the
// progress bar (common controls). Each extends the system class under its own
// class name; the system's notifications come back to the control through the
// parent's reflection (CN_HSCROLL, CN_VSCROLL, CN_NOTIFY).
#pragma once
#include "gui/controls.h"

namespace gui {

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// Keeps its own minimum, maximum, page size and position (published, read by
// name) and moves itself on the notifications the system bar sends: a line
// by SmallChange, a page by LargeChange, the thumb where it is dragged.
class TScrollBar : public TWinControl {
  GUI_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  // Recreates the window; outside loading, width and height swap.
  void SetKind(TScrollBarKind kind);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int PageSize() const { return pageSize_; }
  int Position() const { return position_; }
  void SetMin(int v) { SetParams(position_, v, max_, pageSize_); }
  void SetMax(int v) { SetParams(position_, min_, v, pageSize_); }
  void SetPageSize(int v) { SetParams(position_, min_, max_, v); }
  // Kept within Min .. Max - PageSize + 1, as the system keeps its bars.
  void SetPosition(int v) { SetParams(v, min_, max_, pageSize_); }
  void SetParams(int position, int min, int max, int pageSize);
  int SmallChange = 1;
  int LargeChange = 1;

  // What the last notification asked for, while OnScroll runs.
  TScrollCode ScrollCode() const { return scrollCode_; }
  // Every scroll notification, after the position has moved.
  TNotifyEvent OnScroll;
  // The position changed (by the user or by code).
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  void Loaded() override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  void Scroll(WORD code);
  void Normalize();
  void UpdateWindow();

  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, pageSize_ = 0, position_ = 0;
  TScrollCode scrollCode_ = TScrollCode::scEndScroll;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum class TTickStyle { tsNone, tsAuto, tsManual };

// The system keeps the position; OnChange follows every change of it.
class TTrackBar : public TWinControl {
  GUI_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* owner);

  TTrackBarOrientation Orientation() const { return orientation_; }
  // Recreates the window; outside loading, width and height swap.
  void SetOrientation(TTrackBarOrientation orientation);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  int LineSize() const { return lineSize_; }
  void SetLineSize(int v);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int v);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark v);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v);

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  void Loaded() override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  void PositionChanged(int position);

  TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
  int min_ = 0, max_ = 10, position_ = 0;
  int frequency_ = 1, lineSize_ = 1, pageSize_ = 2;
  TTickMark tickMarks_ = TTickMark::tmBottomRight;
  TTickStyle tickStyle_ = TTickStyle::tsAuto;
};

enum class TUDOrientation { udHorizontal, udVertical };
enum class TUDAlignButton { udLeft, udRight };
enum class TUDBtnType { btNext, btPrev };

// Up-down buttons, optionally attached to an associate (buddy) control whose
// text shows the position; with one, the system places the buttons beside it.
// OnClick runs when a press of the arrows (or of the arrow keys) moved the position.
class TUpDown : public TWinControl {
  GUI_CLASS(TUpDown, TWinControl)
 public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position();
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v);
  TUDOrientation Orientation() const { return orientation_; }
  // Recreates the window; outside loading, width and height swap.
  void SetOrientation(TUDOrientation orientation);
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);
  TUDAlignButton AlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool v);
  bool Thousands() const { return thousands_; }
  void SetThousands(bool v);

  // The arrow behind the last change, while OnClick runs.
  TUDBtnType LastButton() const { return lastButton_; }

  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  void AttachBuddy();

  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
  TUDAlignButton alignButton_ = TUDAlignButton::udRight;
  TWinControl* associate_ = nullptr;
  bool wrap_ = false, arrowKeys_ = true, thousands_ = true;
  TUDBtnType lastButton_ = TUDBtnType::btNext;
};

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
  GUI_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position();
  void SetMin(int v);
  void SetMax(int v);
  // Kept within Min .. Max.
  void SetPosition(int v);
  int Step = 10;
  // Moves the position by Step, or by `delta`, stopping at the ends.
  void StepIt() { StepBy(Step); }
  void StepBy(int delta);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

  void Loaded() override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
  bool smooth_ = false;
};

}  // namespace gui
