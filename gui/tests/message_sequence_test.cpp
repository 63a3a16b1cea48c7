// The message-sequence check the Windows tests use: what it records as sent,
// posted, default handling and parent, and that it fails on a message the
// expected sequence does not have, or lacks one it does.
#include "tests/support/message_sequence.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using namespace msgseq;

constexpr UINT kPing = WM_USER + 11, kPong = WM_USER + 12, kToDefault = WM_USER + 13;

LRESULT CALLBACK LoggedProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TMessageLog* log = TMessageLog::Active()) log->Record(wnd, msg, wParam, lParam);
  if (msg == kToDefault) return TMessageLog::RecordedDefWindowProc(wnd, msg, wParam, lParam);
  if (msg == kPing && GetParent(wnd)) SendMessageW(GetParent(wnd), kPong, 1, 2);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A parent whose messages the log sees through its subclass only.
LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND Make(const wchar_t* cls, DWORD style, HWND parentWnd, WNDPROC proc = &LoggedProc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(0, cls, L"", style, 0, 0, 60, 40, parentWnd, nullptr, wc.hInstance, nullptr);
}

TEST(MessageSequence, SentPostedDefaultAndParentMessagesInTheirOrder) {
  HWND top = Make(L"SeqTop", WS_OVERLAPPED, nullptr, &PlainProc);
  HWND child = Make(L"SeqChild", WS_CHILD, top);
  TMessageLog log;
  ASSERT_TRUE(log.Watch(top, true));
  log.Record(child, 0, 0, 0);  // makes the child a window of the log
  log.Flush();
  SendMessageW(child, kPing, 5, 0);
  PostMessageW(child, kToDefault, 0, 7);
  log.Pump();
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{kPing, sent | wparam, 5},
                                      {kPong, sent | parent | wparam | lparam, 1, 2},
                                      {WM_USER + 99, sent | optional},
                                      {kToDefault, posted | lparam, 0, 7},
                                      {kToDefault, defwinproc}}),
              "ping, posted default");
  DestroyWindow(top);
}

TEST(MessageSequence, AnUnexpectedOrMissingMessageFailsWithBothSequences) {
  HWND wnd = Make(L"SeqOne", WS_OVERLAPPED, nullptr);
  TMessageLog log;
  log.Record(wnd, 0, 0, 0);
  log.Flush();
  SendMessageW(wnd, kPing, 0, 0);
  SendMessageW(wnd, kPong, 0, 0);
  // The second message is not in the table.
  EXPECT_NONFATAL_FAILURE(OK_SEQUENCE(log, (std::vector<TMsgEntry>{{kPing, sent}}), "one message"),
                          "unexpected 0x");
  // A wrong wParam, a message kind that differs, a message that never came.
  EXPECT_NONFATAL_FAILURE(
      OK_SEQUENCE(log, (std::vector<TMsgEntry>{{kPing, sent | wparam, 3}, {kPong, sent}}), "wparam"), "expected");
  EXPECT_NONFATAL_FAILURE(OK_SEQUENCE(log, (std::vector<TMsgEntry>{{kPing, posted}, {kPong, sent}}), "posted"),
                          "expected");
  EXPECT_NONFATAL_FAILURE(
      OK_SEQUENCE(log, (std::vector<TMsgEntry>{{kPing, sent}, {kPong, sent}, {kToDefault, sent}}), "missing"),
      "did not receive");
  EXPECT_TRUE(OK_SEQUENCE(log, (std::vector<TMsgEntry>{{kPing, sent}, {kPong, sent}, {kToDefault, sent | optional}}),
                          "optional at the end"));
  DestroyWindow(wnd);
}

}  // namespace
