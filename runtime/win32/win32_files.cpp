#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include <string>

#include "runtime/win32/handles.h"
#include "runtime/win32/wide.h"
#include "runtime/win32/win32_services.h"

namespace tovan::rt::win32 {
namespace {

// The path as the file functions take it: a full path past the classic
// 260-character limit in its long form ("\\?\C:\…", "\\?\UNC\server\…"),
// which every Windows since XP reads whatever its settings.
std::wstring FilePath(std::string_view path) {
  std::wstring wide = Wide(path);
  if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\")) return wide;
  if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
  if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

// Opens a file for reading, leaving it free to others.
FileHandle OpenToRead(std::string_view path, DWORD flags) {
  return FileHandle(CreateFileW(FilePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags,
                                nullptr));
}

// Reads into `bytes` from where the file stands; it keeps what was read.
void ReadInto(HANDLE file, std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) || got == 0)
      break;
    done += got;
  }
  bytes.resize(done);
}

// Why the file call just made failed.
WriteResult LastWriteFailure() {
  switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return {WriteFailure::kInUse};
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return {WriteFailure::kReadOnly};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return {WriteFailure::kDiskFull};
    default: return {WriteFailure::kOther};
  }
}

}  // namespace

Win32Files::Win32Files() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  run_directory_ = Utf8(slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash));
}

std::string Win32Files::Read(std::string_view path) const {
  FileHandle file = OpenToRead(path, FILE_ATTRIBUTE_NORMAL);
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxReadBytes) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  ReadInto(file.get(), bytes);
  return bytes;
}

std::uint64_t Win32Files::SizeOf(std::string_view path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(FilePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  const std::uint64_t size = std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  return size > kMaxReadBytes ? 0 : size;
}

namespace {

// The file stays open from piece to piece.
class Win32Pieces : public Files::Pieces {
 public:
  explicit Win32Pieces(std::string_view path) : file_(OpenToRead(path, FILE_FLAG_SEQUENTIAL_SCAN)) {}
  std::string Read(std::uint64_t offset, std::size_t size) override {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!file_ || !SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN)) return {};
    std::string piece(std::min<std::size_t>(size, Files::kMaxReadBytes), '\0');
    ReadInto(file_.get(), piece);
    return piece;
  }

 private:
  FileHandle file_;
};

}  // namespace

std::string Win32Files::ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const {
  return Win32Pieces(path).Read(offset, size);
}

std::unique_ptr<Files::Pieces> Win32Files::OpenPieces(std::string_view path) const {
  return std::make_unique<Win32Pieces>(path);
}

WriteResult Win32Files::WriteNew(std::string_view path, std::string_view bytes) {
  const std::wstring target = FilePath(path);
  FileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastWriteFailure();
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
    const bool wrote_any = WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr);
    if (!wrote_any || wrote == 0) {
      const WriteResult failed = wrote_any ? WriteResult{WriteFailure::kOther} : LastWriteFailure();
      file.reset();
      DeleteFileW(target.c_str());
      return failed;
    }
    done += wrote;
  }
  if (!FlushFileBuffers(file.get())) return LastWriteFailure();
  return {};
}

void Win32Files::KeepAttributes(std::string_view original, std::string_view replacement) {
  // Read-only is not carried over: the next save replaces the file again.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD attributes = GetFileAttributesW(FilePath(original).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kKept) == 0) return;
  SetFileAttributesW(FilePath(replacement).c_str(), attributes & kKept);
}

WriteResult Win32Files::Rename(std::string_view from, std::string_view to) {
  if (MoveFileExW(FilePath(from).c_str(), FilePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  return LastWriteFailure();
}

bool Win32Files::Remove(std::string_view path) { return DeleteFileW(FilePath(path).c_str()) != FALSE; }

bool Win32Files::Exists(std::string_view path) const {
  return GetFileAttributesW(FilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// A folder's long form without a trailing "\": the temporary folder is
// often given in its short form ("C:\Users\ZHANGS~1\…").
std::wstring LongFolder(std::wstring folder) {
  if (const DWORD size = GetLongPathNameW(folder.c_str(), nullptr, 0); size > 0) {
    std::wstring long_form(size, L'\0');
    const DWORD length = GetLongPathNameW(folder.c_str(), long_form.data(), size);
    if (length > 0 && length < size) folder = long_form.substr(0, length);
  }
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

}  // namespace

bool Win32Files::InTemporaryFolder(std::string_view folder) const {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return false;
  const std::wstring temporary = LongFolder(std::wstring(temp, length));
  const std::wstring inside = LongFolder(Wide(folder));
  if (temporary.empty() || inside.size() < temporary.size()) return false;
  return CompareStringOrdinal(inside.c_str(), static_cast<int>(temporary.size()), temporary.c_str(),
                              static_cast<int>(temporary.size()), TRUE) == CSTR_EQUAL &&
         (inside.size() == temporary.size() || inside[temporary.size()] == L'\\' || temporary.back() == L'\\');
}

bool Win32Files::CanWriteIn(std::string_view folder) {
  const std::string probe = std::string(folder) + "\\tovan-" + std::to_string(GetCurrentProcessId()) + ".probe~";
  FileHandle file(CreateFileW(FilePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(file) || GetLastError() == ERROR_FILE_EXISTS;
}

bool Win32Files::MakeDirectory(std::string_view path) {
  const int result = SHCreateDirectoryExW(nullptr, Wide(path).c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

}  // namespace tovan::rt::win32
