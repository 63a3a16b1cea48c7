// skinrun's reading of its command line, and of the programs it is given.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sdk/launcher/launch_command.h"
#include "sdk/launcher/program_image.h"

namespace {

using skinrun::ReadLaunchCommand;

// The program's part of the line goes on exactly as typed, whatever the
// C runtime would make of it; options before it are read by its rules.
TEST(LaunchCommand, PassesTheProgramsArgumentsOnUntouched) {
  struct Case {
    const wchar_t* line;
    const wchar_t* skin;
    const wchar_t* program;
    const wchar_t* commandLine;
  };
  const Case cases[] = {
      {L"skinrun notepad", L"", L"notepad", L"notepad"},
      {L"\"C:\\a b\\skinrun.exe\" --skin dark.skin notepad x", L"dark.skin", L"notepad", L"notepad x"},
      {L"skinrun --skin \"C:\\my skins\\dark.skin\" \"C:\\Program Files\\p.exe\"  \"a  b\" c\\\"d \xE4\xF6\x4E2D",
       L"C:\\my skins\\dark.skin", L"C:\\Program Files\\p.exe",
       L"\"C:\\Program Files\\p.exe\"  \"a  b\" c\\\"d \xE4\xF6\x4E2D"},
      {L"skinrun --skin=a\\\\\"b c\" prog --skin other", L"a\\b c", L"prog", L"prog --skin other"},
      {L"skinrun -- --odd-name\t\t-x ", L"", L"--odd-name", L"--odd-name\t\t-x "},
  };
  for (const Case& c : cases) {
    const skinrun::TLaunchRequest request = ReadLaunchCommand(c.line);
    EXPECT_TRUE(request.Error.empty()) << std::string(request.Error.begin(), request.Error.end());
    EXPECT_EQ(request.SkinFile, c.skin);
    EXPECT_EQ(request.Program, c.program);
    EXPECT_EQ(skinrun::ProgramCommandLine(request), c.commandLine);
  }
  for (const wchar_t* wrong : {L"skinrun", L"skinrun --skin", L"skinrun --skin x.skin", L"skinrun --frobnicate x",
                               L"skinrun \"\" x"})
    EXPECT_FALSE(ReadLaunchCommand(wrong).Error.empty()) << std::wstring(wrong).size();
  EXPECT_TRUE(ReadLaunchCommand(L"skinrun --help").Help);
  EXPECT_FALSE(ReadLaunchCommand(L"skinrun prog --help").Help);
}

// Programs of both bitnesses, and what is no program at all, told apart
// from their files alone.
TEST(ProgramImage, TellsTheBitnessFromTheFile) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  folder.resize(folder.find_last_of(L'\\') + 1);
  // The tests are built for either bitness; both launchers lie beside them.
  constexpr auto own = sizeof(void*) == 8 ? skinrun::TProgramKind::Bits64 : skinrun::TProgramKind::Bits32;
  EXPECT_EQ(skinrun::ReadProgramKind(self), own);
  EXPECT_EQ(skinrun::ReadProgramKind(folder + L"skinrun.exe"), skinrun::TProgramKind::Bits32);
  EXPECT_EQ(skinrun::ReadProgramKind(folder + L"skinrun64.exe"), skinrun::TProgramKind::Bits64);
  EXPECT_EQ(skinrun::ReadProgramKind(folder + L"skinengine.dll"), skinrun::TProgramKind::NotAProgram);
  EXPECT_EQ(skinrun::ReadProgramKind(folder + L"no-such-program.exe"), skinrun::TProgramKind::NotFound);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring text = std::wstring(temp) + L"skinrun-not-a-program.exe";
  HANDLE file = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "MZ but nothing after", 20, &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(skinrun::ReadProgramKind(text), skinrun::TProgramKind::NotAProgram);
  DeleteFileW(text.c_str());
}

}  // namespace
