// The date-time picker read from a form description: its mode, its value
// in the window, and the change a key makes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "gui/datetime.h"
#include "gui/tests/form_fixture.h"

using namespace gui;
using gui_test::StyleOf;

namespace {

class DateTimes : public gui_test::FormTest {};

SYSTEMTIME WindowTime(HWND wnd) {
  SYSTEMTIME t{};
  SendMessageW(wnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}

TEST_F(DateTimes, DateAndTimeModesHoldTheDescriptionsValue) {
  TForm* form = ShowForm(R"(  object Day: TDateTimePicker
    Left = 8
    Top = 8
    Date = '2024-02-29'
    DateFormat = dfLong
  end
  object Hour: TDateTimePicker
    Left = 8
    Top = 40
    Kind = dtkTime
    Time = '13:45:30'
  end
)");
  auto* day = Find<TDateTimePicker>(form, "Day");
  auto* hour = Find<TDateTimePicker>(form, "Hour");
  EXPECT_EQ(gui_test::ClassOf(day->Handle()), "TDateTimePicker");
  EXPECT_TRUE(StyleOf(day->Handle()) & DTS_LONGDATEFORMAT);
  EXPECT_FALSE(StyleOf(day->Handle()) & DTS_UPDOWN);
  // Time mode steps its fields with up-down buttons, not a calendar.
  EXPECT_EQ(StyleOf(hour->Handle()) & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
  EXPECT_EQ(GetPropValue(*hour, "Kind"), "dtkTime");
  const SYSTEMTIME d = WindowTime(day->Handle());
  EXPECT_EQ(d.wYear, 2024);
  EXPECT_EQ(d.wMonth, 2);
  EXPECT_EQ(d.wDay, 29);
  const SYSTEMTIME t = WindowTime(hour->Handle());
  EXPECT_EQ(t.wHour, 13);
  EXPECT_EQ(t.wMinute, 45);
  EXPECT_EQ(t.wSecond, 30);
  EXPECT_EQ(GetPropValue(*day, "Date"), "2024-02-29");

  // The kind can change after the window exists; the value stays.
  day->SetKind(TDateTimeKind::dtkTime);
  EXPECT_EQ(StyleOf(day->Handle()) & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
  EXPECT_EQ(WindowTime(day->Handle()).wDay, 29);
  delete form;
}

TEST_F(DateTimes, AKeyThatChangesTheTimeIsReported) {
  TForm* form = ShowForm(R"(  object Hour: TDateTimePicker
    Left = 8
    Top = 8
    Kind = dtkTime
    Time = '10:00:00'
  end
)");
  auto* hour = Find<TDateTimePicker>(form, "Hour");
  HWND wnd = hour->Handle();
  int changes = 0;
  hour->OnChange = [&](TObject*) { ++changes; };
  hour->SetFocus();
  gui_test::Click(wnd, POINT{6, 10});  // the hour field
  gui_test::PressKey(*app_, wnd, VK_UP);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(hour->TimeText(), L"11:00:00");
  delete form;
}

TEST_F(DateTimes, ImpossibleDatesAndTimesAreRefusedByName) {
  const auto error = [this](const char* property) {
    try {
      delete ShowForm(std::string("  object P: TDateTimePicker\n    ") + property + "\n  end\n");
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::wstring();
  };
  EXPECT_EQ(error("Date = '2023-02-29'"), L"Invalid date 2023-02-29");
  EXPECT_EQ(error("Date = '2024-13-01'"), L"Invalid date 2024-13-01");
  EXPECT_EQ(error("Date = '24-01-01'"), L"Invalid date 24-01-01");
  EXPECT_EQ(error("Time = '24:00:00'"), L"Invalid time 24:00:00");
  EXPECT_EQ(error("Time = '9:00:00'"), L"Invalid time 9:00:00");
  EXPECT_EQ(error("Date = '2000-02-29'"), L"");
}

}  // namespace
