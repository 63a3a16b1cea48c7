#include "sdk/launcher/launch_command.h"

namespace skinrun {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// One argument from `at`, by the C runtime's rules: blanks end it outside
// quotes; 2n backslashes before a quote give n and the quote toggles
// quoting, 2n+1 give n and a literal quote; "" inside quotes is a quote.
// Answers the argument and moves `at` past it.
std::wstring NextArgument(std::wstring_view line, std::size_t& at) {
  std::wstring argument;
  bool quoted = false;
  while (at < line.size() && (quoted || !IsBlank(line[at]))) {
    std::size_t backslashes = 0;
    while (at < line.size() && line[at] == L'\\') {
      ++backslashes;
      ++at;
    }
    if (at < line.size() && line[at] == L'"') {
      argument.append(backslashes / 2, L'\\');
      if (backslashes % 2) {
        argument += L'"';
        ++at;
      } else if (quoted && at + 1 < line.size() && line[at + 1] == L'"') {
        argument += L'"';
        at += 2;
      } else {
        quoted = !quoted;
        ++at;
      }
    } else {
      argument.append(backslashes, L'\\');
      if (at < line.size() && (quoted || !IsBlank(line[at]))) argument += line[at++];
    }
  }
  return argument;
}

void SkipBlanks(std::wstring_view line, std::size_t& at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
}

// The launcher's own name: up to the closing quote, or the first blank.
void SkipProgramName(std::wstring_view line, std::size_t& at) {
  if (at < line.size() && line[at] == L'"') {
    const std::size_t close = line.find(L'"', at + 1);
    at = close == std::wstring_view::npos ? line.size() : close + 1;
  }
  while (at < line.size() && !IsBlank(line[at])) ++at;
}

}  // namespace

TLaunchRequest ReadLaunchCommand(std::wstring_view line) {
  TLaunchRequest request;
  std::size_t at = 0;
  SkipProgramName(line, at);
  bool options = true;
  for (;;) {
    SkipBlanks(line, at);
    if (at >= line.size()) {
      if (!request.Help) request.Error = std::wstring(L"no program named; ") + kUsage;
      return request;
    }
    const std::size_t start = at;
    std::wstring argument = NextArgument(line, at);
    if (options && (argument == L"--help" || argument == L"-h" || argument == L"/?")) {
      request.Help = true;
      return request;
    }
    if (options && argument == L"--") {
      options = false;
      continue;
    }
    if (options && argument == L"--skin") {
      SkipBlanks(line, at);
      if (at >= line.size()) {
        request.Error = L"--skin needs a skin file; " + std::wstring(kUsage);
        return request;
      }
      request.SkinFile = NextArgument(line, at);
      continue;
    }
    if (options && argument.starts_with(L"--skin=")) {
      request.SkinFile = argument.substr(7);
      continue;
    }
    if (options && argument.size() > 1 && argument.starts_with(L"--")) {
      request.Error = L"unknown option " + argument + L"; " + kUsage;
      return request;
    }
    request.Program = std::move(argument);
    request.ProgramAsTyped = std::wstring(line.substr(start, at - start));
    request.Arguments = std::wstring(line.substr(at));
    if (request.Program.empty()) request.Error = std::wstring(L"no program named; ") + kUsage;
    return request;
  }
}

}  // namespace skinrun
