#include "driver/process.h"

#include <stdexcept>
#include <utility>

#include "driver/text.h"

namespace tovan::e2e {

namespace {

std::string LastErrorText(const char* what) {
  return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

}  // namespace

std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless they precede a quote.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

ChildProcess ChildProcess::Start(const std::wstring& exe, const std::vector<std::wstring>& args,
                                 const std::wstring& work_dir) {
  std::wstring command_line = QuoteArgument(exe);
  for (const auto& arg : args) command_line += L" " + QuoteArgument(arg);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      work_dir.empty() ? nullptr : work_dir.c_str(), &startup, &info)) {
    throw std::runtime_error(LastErrorText("CreateProcessW") + " for " + WideToUtf8(exe));
  }
  CloseHandle(info.hThread);
  ChildProcess child;
  child.process_ = info.hProcess;
  child.id_ = info.dwProcessId;
  return child;
}

ChildProcess::~ChildProcess() { Release(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Release();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

bool ChildProcess::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitExit(int timeout_ms) const {
  if (process_ == nullptr) return std::nullopt;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

bool ChildProcess::WaitForInputIdle(int timeout_ms) const {
  return process_ != nullptr &&
         ::WaitForInputIdle(process_, static_cast<DWORD>(timeout_ms)) == 0;
}

void ChildProcess::Terminate() {
  if (!Running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

void ChildProcess::Release() {
  if (process_ == nullptr) return;
  Terminate();
  CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}

std::wstring ThisExeDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error(LastErrorText("GetModuleFileNameW"));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/"));
}

}  // namespace tovan::e2e
