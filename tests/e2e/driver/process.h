// Starting and ending the programs a test drives. A test ends only the
// processes it started: a ChildProcess still running when destroyed is
// terminated.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tovan::e2e {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts exe with the given arguments (quoted as the C runtime parses
  // them) in work_dir (empty: the current folder). Throws std::runtime_error
  // if the process cannot be created.
  static ChildProcess Start(const std::wstring& exe, const std::vector<std::wstring>& args = {},
                            const std::wstring& work_dir = {});

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  bool Running() const;

  // The exit code once the process has ended, or nullopt if it is still
  // running after timeout_ms.
  std::optional<DWORD> WaitExit(int timeout_ms) const;

  // Waits until the program has started up and waits for input (its first
  // message loop); false on time-out or for a program without windows.
  bool WaitForInputIdle(int timeout_ms) const;

  // Ends the process (exit code 1) and waits for it to be gone.
  void Terminate();

 private:
  void Release();

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// One command-line argument quoted so that CommandLineToArgvW and the C
// runtime give it back unchanged.
std::wstring QuoteArgument(const std::wstring& arg);

// The folder holding the running test program, without a trailing backslash.
std::wstring ThisExeDirectory();

}  // namespace tovan::e2e
