#include "driver/drop.h"

#include <windows.h>

#include <string>
#include <utility>

#include "driver/text.h"
#include "driver/wait_until.h"

namespace tovan::e2e {

namespace {

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

std::wstring AgentFolder() {
  const DWORD size = GetEnvironmentVariableW(L"TOVAN_DROP_AGENT", nullptr, 0);
  if (size == 0) return {};
  std::wstring folder(size, L'\0');
  folder.resize(GetEnvironmentVariableW(L"TOVAN_DROP_AGENT", folder.data(), size));
  return folder;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return CloseHandle(file) && ok;
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char buffer[4096];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE) && read > 0) {
    bytes->append(buffer, read);
  }
  CloseHandle(file);
  return ok;
}

// Lets the calling thread's windows handle their messages, among them the
// ones that carry a drop on one of them.
void DispatchPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

bool DropFiles(POINT screen, const std::vector<std::wstring>& windows_paths, std::string* error) {
  const std::wstring folder = AgentFolder();
  if (folder.empty()) {
    return Fail(error, "TOVAN_DROP_AGENT is not set: file drops need tools/wine/run.sh");
  }
  if (windows_paths.empty()) return Fail(error, "no files to drop");

  std::string request = std::to_string(screen.x) + " " + std::to_string(screen.y) + "\n";
  for (const std::wstring& path : windows_paths) {
    if (path.empty() || path.find_first_of(L"\r\n") != std::wstring::npos) {
      return Fail(error, "a dropped path must be one non-empty line: \"" + WideToUtf8(path) + "\"");
    }
    request += WideToUtf8(path) + "\n";
  }

  const std::wstring request_path = folder + L"\\request.txt";
  const std::wstring temporary_path = folder + L"\\request.tmp";
  const std::wstring reply_path = folder + L"\\reply.txt";
  DeleteFileW(reply_path.c_str());  // left over from a drop that timed out
  // The agent sees the request only once it is whole.
  if (!WriteWholeFile(temporary_path, request) ||
      !MoveFileExW(temporary_path.c_str(), request_path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary_path.c_str());
    return Fail(error, "cannot write a drop request into " + WideToUtf8(folder));
  }

  const bool answered = WaitUntil(
      [&] {
        DispatchPendingMessages();
        return GetFileAttributesW(reply_path.c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      kDropTimeoutMs, 10);
  if (!answered) {
    // A request the agent has not taken yet must not fire later.
    DeleteFileW(request_path.c_str());
    return Fail(error, "the drop agent did not answer within " +
                           std::to_string(kDropTimeoutMs / 1000) + " s");
  }

  std::string reply;
  const bool read = ReadWholeFile(reply_path, &reply);
  DeleteFileW(reply_path.c_str());
  if (!read) return Fail(error, "cannot read the drop agent's reply");

  // First line: the exit code of the X side (0: the window took the files);
  // then what it said.
  const size_t end_of_line = reply.find('\n');
  const std::string code = reply.substr(0, end_of_line);
  std::string messages = end_of_line == std::string::npos ? "" : reply.substr(end_of_line + 1);
  while (!messages.empty() && (messages.back() == '\n' || messages.back() == '\r')) {
    messages.pop_back();
  }
  if (code == "0") {
    if (error != nullptr) error->clear();
    return true;
  }
  return Fail(error, "drop failed (exit code " + code + ")" +
                         (messages.empty() ? std::string() : ": " + messages));
}

}  // namespace tovan::e2e
