// The date-time picker ("SysDateTimePick32"): a date with a drop-down
// calendar, or a time stepped by up-down buttons.
#pragma once
#include <string>

#include "gui/controls.h"

namespace gui {

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
  GUI_CLASS(TDateTimePicker, TWinControl)
 public:
  explicit TDateTimePicker(TComponent* owner);

  // Recreates the window.
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind v) { SetStyleField(kind_, v); }
  TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat v) { SetStyleField(dateFormat_, v); }

  // Date and time as the window holds them (the user may have changed them).
  SYSTEMTIME DateTime();
  void SetDateTime(const SYSTEMTIME& value);
  // The published forms: "YYYY-MM-DD" and "HH:MM:SS"; other text raises an error.
  std::wstring DateText();
  void SetDateText(const std::wstring& text);
  std::wstring TimeText();
  void SetTimeText(const std::wstring& text);

  // The user changed the date or time (DTN_DATETIMECHANGE).
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;
  void ColorChanged() override;

 private:
  // The drop-down calendar in the colour scheme's colours while a scheme of
  // another's is in force, and in exactly the colours it had before then.
  void ApplyCalendarColors();
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
  SYSTEMTIME value_{};
  static constexpr int kCalendarParts = 6;
  COLORREF calendarColors_[kCalendarParts]{};
  bool calendarColorsSaved_ = false;
};

}  // namespace gui
