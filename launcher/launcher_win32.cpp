// The executable's entry: finds the runtime archive at the end of its own
// file, unpacks it into a folder of the temporary directory, loads the
// kernel library from there and hands its entry the program image. Any
// failure shows one message box and ends with exit code 0.
#include <windows.h>

#include <string>

#include "launcher/archive.h"
#include "launcher/program_image.h"

// The program image, at the first byte of a section of its own that is
// readable, writable and executable.
asm(".section .tvimg,\"dwx\"\n"
    ".globl tovan_program_image\n"
    "tovan_program_image:\n"
    ".ascii \"TOVANIMG\"\n"
    ".long 1\n"
    ".text\n");
extern "C" const char tovan_program_image[];

namespace {

using namespace tovan::launcher;

class ExecutableFile : public ArchiveSource {
 public:
  explicit ExecutableFile(HANDLE file) : file_(file) {}
  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const override {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return false;
    DWORD read = 0;
    return ReadFile(file_, out, static_cast<DWORD>(size), &read, nullptr) && read == size;
  }

 private:
  HANDLE file_;
};

// Names in the archive are in the system's ANSI code page.
std::wstring FromAnsi(const std::string& text) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (!wide.empty()) wide.pop_back();
  return wide;
}

// The name as the characters it becomes, for the checks; nothing when its
// bytes are no text in the ANSI code page.
std::optional<std::string> NameAsText(std::string_view stored) {
  if (stored.empty()) return std::string();
  const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, stored.data(), static_cast<int>(stored.size()),
                                        nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, stored.data(), static_cast<int>(stored.size()), wide.data(), units);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, text.data(), bytes, nullptr, nullptr);
  return text;
}

int Fail(ArchiveFailure failure) {
  MessageBoxA(nullptr, FailureMessage(failure), "Error", MB_ICONERROR);
  return 0;
}

int Launch() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  HANDLE file = length ? CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return Fail(ArchiveFailure::kCannotOpen);
  Archive archive;
  const ArchiveFailure read = ReadArchive(ExecutableFile(file), NameAsText, archive);
  CloseHandle(file);
  if (read != ArchiveFailure::kNone && read != ArchiveFailure::kNoKernel) return Fail(read);

  wchar_t temp[MAX_PATH];
  if (GetTempPathW(MAX_PATH, temp) == 0) return Fail(ArchiveFailure::kNoTempDirectory);
  std::wstring directory = std::wstring(temp) + FromAnsi(archive.directory);
  CreateDirectoryW(directory.c_str(), nullptr);
  directory += L"\\";
  // Every start writes every file again.
  for (const ArchiveEntry& entry : archive.entries) {
    HANDLE out = CreateFileW((directory + FromAnsi(entry.name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    WriteFile(out, entry.contents.data(), static_cast<DWORD>(entry.contents.size()), &written, nullptr);
    CloseHandle(out);
  }
  if (read == ArchiveFailure::kNoKernel) return Fail(ArchiveFailure::kNoKernel);

  HMODULE kernel = LoadLibraryW((directory + FromAnsi(archive.kernel)).c_str());
  if (!kernel) return Fail(ArchiveFailure::kKernelLoad);
  const auto get_new_sock =
      reinterpret_cast<GetNewSockFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetNewSock")));
  if (!get_new_sock) return Fail(ArchiveFailure::kKernelInvalid);
  const auto entry = reinterpret_cast<RuntimeEntryFunction>(get_new_sock(kInterfaceVersion));
  if (!entry) return Fail(ArchiveFailure::kKernelInterface);
  archive = Archive{};  // the unpacked data is released before the hand-over
  entry(tovan_program_image);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Launch(); }
