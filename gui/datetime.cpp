#include "gui/datetime.h"

#include <commctrl.h>

#include <cstdio>

#include "gui/color_scheme.h"
#include "gui/comctrls.h"

namespace gui {

namespace {

// Reads "a<sep>b<sep>c" with exactly the given digits per field.
bool ReadFields(const std::wstring& text, wchar_t sep, const int (&digits)[3], int (&out)[3]) {
  std::size_t pos = 0;
  for (int f = 0; f < 3; ++f) {
    if (f > 0 && (pos >= text.size() || text[pos++] != sep)) return false;
    int value = 0;
    for (int d = 0; d < digits[f]; ++d, ++pos) {
      if (pos >= text.size() || text[pos] < L'0' || text[pos] > L'9') return false;
      value = value * 10 + (text[pos] - L'0');
    }
    out[f] = value;
  }
  return pos == text.size();
}

bool ValidDate(int y, int m, int d) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1601 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m != 2 || d <= 28 || leap;
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 186;
  height_ = 21;
  GetLocalTime(&value_);
  value_.wMilliseconds = 0;
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_DATE_CLASSES);
  TWinControl::CreateParams(params);
  CreateSubClass(params, DATETIMEPICK_CLASSW);
  // The time format comes with up-down buttons instead of the calendar.
  if (kind_ == TDateTimeKind::dtkTime) params.Style |= DTS_TIMEFORMAT;
  else params.Style |= dateFormat_ == TDTDateFormat::dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateWindowHandleDone() {
  SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  ApplyCalendarColors();
}

void TDateTimePicker::ColorChanged() {
  ApplyCalendarColors();
  TWinControl::ColorChanged();
}

void TDateTimePicker::ApplyCalendarColors() {
  if (!handle_) return;
  struct Part {
    int part;
    int index;
  };
  // The title band in the selection's colours: the caption's colours are
  // not the scheme's.
  static constexpr Part kParts[kCalendarParts] = {
      {MCSC_BACKGROUND, COLOR_WINDOW}, {MCSC_MONTHBK, COLOR_WINDOW},   {MCSC_TEXT, COLOR_WINDOWTEXT},
      {MCSC_TITLEBK, COLOR_HIGHLIGHT}, {MCSC_TITLETEXT, COLOR_HIGHLIGHTTEXT}, {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};
  if (CurrentColorScheme()) {
    if (!calendarColorsSaved_) {
      for (int i = 0; i < kCalendarParts; ++i)
        calendarColors_[i] = static_cast<COLORREF>(SendMessageW(handle_, DTM_GETMCCOLOR, kParts[i].part, 0));
      calendarColorsSaved_ = true;
    }
    for (const Part& p : kParts)
      SendMessageW(handle_, DTM_SETMCCOLOR, p.part, static_cast<LPARAM>(SchemeColor(p.index)));
  } else if (calendarColorsSaved_) {
    for (int i = 0; i < kCalendarParts; ++i)
      SendMessageW(handle_, DTM_SETMCCOLOR, kParts[i].part, static_cast<LPARAM>(calendarColors_[i]));
    calendarColorsSaved_ = false;
  }
}

void TDateTimePicker::WindowHandleDestroying() { DateTime(); }

SYSTEMTIME TDateTimePicker::DateTime() {
  if (handle_) {
    SYSTEMTIME now{};
    if (SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&now)) == GDT_VALID) value_ = now;
  }
  return value_;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
  value_ = value;
  if (handle_) SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
}

std::wstring TDateTimePicker::DateText() {
  const SYSTEMTIME t = DateTime();
  wchar_t text[16];
  std::swprintf(text, 16, L"%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
  return text;
}

void TDateTimePicker::SetDateText(const std::wstring& text) {
  int f[3];
  if (!ReadFields(text, L'-', {4, 2, 2}, f) || !ValidDate(f[0], f[1], f[2]))
    throw Exception(L"Invalid date " + text);
  SYSTEMTIME t = DateTime();
  t.wYear = static_cast<WORD>(f[0]);
  t.wMonth = static_cast<WORD>(f[1]);
  t.wDay = static_cast<WORD>(f[2]);
  t.wDayOfWeek = 0;  // the system works it out
  SetDateTime(t);
}

std::wstring TDateTimePicker::TimeText() {
  const SYSTEMTIME t = DateTime();
  wchar_t text[16];
  std::swprintf(text, 16, L"%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
  return text;
}

void TDateTimePicker::SetTimeText(const std::wstring& text) {
  int f[3];
  if (!ReadFields(text, L':', {2, 2, 2}, f) || f[0] > 23 || f[1] > 59 || f[2] > 59)
    throw Exception(L"Invalid time " + text);
  SYSTEMTIME t = DateTime();
  t.wHour = static_cast<WORD>(f[0]);
  t.wMinute = static_cast<WORD>(f[1]);
  t.wSecond = static_cast<WORD>(f[2]);
  SetDateTime(t);
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    m.Result = 0;
    if (reinterpret_cast<const NMHDR*>(m.LParam)->code == DTN_DATETIMECHANGE) {
      DateTime();
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

void TDateTimePicker::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TDateTimePicker> b(list);
  b.Enumeration("Kind", {"dtkDate", "dtkTime"}, [](TDateTimePicker& c) { return static_cast<int>(c.Kind()); },
                [](TDateTimePicker& c, int v) { c.SetKind(static_cast<TDateTimeKind>(v)); });
  b.Enumeration("DateFormat", {"dfShort", "dfLong"},
                [](TDateTimePicker& c) { return static_cast<int>(c.DateFormat()); },
                [](TDateTimePicker& c, int v) { c.SetDateFormat(static_cast<TDTDateFormat>(v)); });
  b.String("Date", [](TDateTimePicker& c) { return c.DateText(); },
           [](TDateTimePicker& c, const std::wstring& v) { c.SetDateText(v); });
  b.String("Time", [](TDateTimePicker& c) { return c.TimeText(); },
           [](TDateTimePicker& c, const std::wstring& v) { c.SetTimeText(v); });
  b.Event("OnChange", &TDateTimePicker::OnChange);
}

}  // namespace gui
