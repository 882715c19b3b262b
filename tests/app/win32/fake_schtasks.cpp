// Stands in for schtasks.exe in the start-at-logon tests: records how it was
// called and answers as the test's control folder says.
//
// QUILLMOR_FAKE_SCHTASKS names the control folder. In it:
//   pid.txt        this process's id, written first
//   calls.txt      a line per call: each argument as CommandLineToArgvW
//                  splits the command line, in <>, UTF-8
//   VERB.exit      exit with the number it holds
//   VERB.sleep     sleep a minute (to outrun the caller's timeout)
// VERB is the first argument lower-cased without its "/" (create, query,
// delete). Without either file it keeps a task as the real one would: create
// writes the file "task" and exits 0; query exits 0 when "task" exists, else
// 1; delete removes "task" and exits 0, or exits 1 when there is none.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <cwctype>
#include <string>

#include "tests/wide_utf8.h"

namespace {

using quillmor::Utf8;

void Append(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The number in a file, or -1 when it cannot be read.
long ReadNumber(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  char text[32] = {};
  DWORD read = 0;
  ReadFile(file, text, sizeof text - 1, &read, nullptr);
  CloseHandle(file);
  return std::strtol(text, nullptr, 10);
}

}  // namespace

int wmain() {
  wchar_t folderBuffer[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"QUILLMOR_FAKE_SCHTASKS", folderBuffer, MAX_PATH) == 0) return 99;
  const std::wstring folder = std::wstring(folderBuffer) + L"\\";
  Append(folder + L"pid.txt", std::to_string(GetCurrentProcessId()) + "\n");

  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return 98;
  std::string line;
  for (int i = 1; i < count; ++i) line += "<" + Utf8(argv[i]) + ">";
  Append(folder + L"calls.txt", line + "\n");
  std::wstring verb = count > 1 ? argv[1] : L"";
  LocalFree(argv);
  if (!verb.empty() && verb[0] == L'/') verb.erase(0, 1);
  for (wchar_t& c : verb) c = static_cast<wchar_t>(std::towlower(c));

  if (Exists(folder + verb + L".sleep")) Sleep(60000);
  const long code = ReadNumber(folder + verb + L".exit");
  if (code >= 0) return static_cast<int>(code);
  const std::wstring task = folder + L"task";
  if (verb == L"create") {
    Append(task, "");
    return 0;
  }
  if (verb == L"query") return Exists(task) ? 0 : 1;
  if (verb == L"delete") return DeleteFileW(task.c_str()) ? 0 : 1;
  return 2;
}
