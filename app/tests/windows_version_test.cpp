#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/Unit1.h"

namespace {

OSVERSIONINFOA g_fake;
DWORD g_sizeSeen = 0;

BOOL WINAPI FakeGetVersionExA(LPOSVERSIONINFOA info) {
  g_sizeSeen = info->dwOSVersionInfoSize;
  const DWORD size = info->dwOSVersionInfoSize;
  *info = g_fake;
  info->dwOSVersionInfoSize = size;
  return TRUE;
}

BOOL WINAPI FailingGetVersionExA(LPOSVERSIONINFOA) { return FALSE; }

std::string NameFor(DWORD major, DWORD minor, DWORD platform) {
  g_fake = OSVERSIONINFOA{};
  g_fake.dwMajorVersion = major;
  g_fake.dwMinorVersion = minor;
  g_fake.dwPlatformId = platform;
  return WindowsVersionName(&FakeGetVersionExA);
}

}  // namespace

TEST(WindowsVersionName, EveryRowOfTheTable) {
  constexpr DWORD nt = VER_PLATFORM_WIN32_NT, win9x = VER_PLATFORM_WIN32_WINDOWS;
  EXPECT_EQ(NameFor(4, 0, nt), "NT");
  EXPECT_EQ(NameFor(4, 10, nt), "NT");
  EXPECT_EQ(NameFor(4, 0, win9x), "95");
  EXPECT_EQ(NameFor(4, 10, win9x), "98");
  EXPECT_EQ(NameFor(4, 90, win9x), "ME");
  EXPECT_EQ(NameFor(4, 3, win9x), "Unknown");
  EXPECT_EQ(NameFor(5, 0, nt), "2000");
  EXPECT_EQ(NameFor(5, 1, nt), "XP");
  EXPECT_EQ(NameFor(5, 2, nt), "2003");
  EXPECT_EQ(NameFor(5, 3, nt), "Unknown");
  EXPECT_EQ(NameFor(6, 0, nt), "Vista");
  EXPECT_EQ(NameFor(6, 1, nt), "Vista");
  EXPECT_EQ(NameFor(6, 3, nt), "Vista");
  EXPECT_EQ(NameFor(3, 51, nt), "Unknown");
  EXPECT_EQ(NameFor(7, 0, nt), "Unknown");
  EXPECT_EQ(NameFor(10, 0, nt), "Unknown");
  EXPECT_EQ(g_sizeSeen, 148u);
}

TEST(WindowsVersionName, AFailedCallGivesUnknown) { EXPECT_EQ(WindowsVersionName(&FailingGetVersionExA), "Unknown"); }

// The test runner sets the prefix's Windows version and says which in WINE_WINVER.
TEST(WindowsVersionName, TheRealSystem) {
  const char* configured = std::getenv("WINE_WINVER");
  if (!configured) GTEST_SKIP() << "not started by the Wine test runner";
  const std::string version = configured;
  const std::string name = WindowsVersionName();
  if (version == "winxp") {
    EXPECT_EQ(name, "XP");
  } else if (version == "win7") {
    EXPECT_EQ(name, "Vista");
  } else if (version == "win10") {
    // Programs whose manifest does not declare support for Windows 8.1 or 10
    // are told 6.2, so the dialog keeps the system's look there too.
    EXPECT_EQ(name, "Vista");
  } else {
    FAIL() << "unexpected version " << version;
  }
}
