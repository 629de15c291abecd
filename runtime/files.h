// Files of the program. Paths are UTF-8 with "\" between folders, as the
// user sees them; the run directory holds every file the user prepares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace tovan::rt {

// Why a write failed.
enum class WriteFailure {
  kNone,
  kInUse,     // another program holds the file (a virus scanner, a sync client)
  kReadOnly,  // the folder or the disk refuses writing
  kDiskFull,
  kOther,
};

// How a write ended: true when the file is written.
struct WriteResult {
  WriteFailure failure = WriteFailure::kNone;
  explicit operator bool() const { return failure == WriteFailure::kNone; }
};

struct FileContent {
  std::string_view path;
  std::string_view bytes;
};

class Files {
 public:
  virtual ~Files() = default;
  // A file larger than this reads as unreadable: no file the program keeps
  // comes near it, and reading it whole could exhaust the memory.
  static constexpr std::size_t kMaxReadBytes = std::size_t{1} << 30;

  // The folder of the running program, without a trailing "\".
  virtual std::string RunDirectory() const = 0;
  // The whole file as bytes; a missing, unreadable or too large file gives "".
  virtual std::string Read(std::string_view path) const = 0;
  // The same a piece at a time, for files too large to hold twice: the
  // file's size (0 for a file Read gives "" for), and up to `size` of its
  // bytes from `offset` on (fewer at its end, "" past it or on failure).
  virtual std::uint64_t SizeOf(std::string_view path) const { return Read(path).size(); }
  virtual std::string ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const {
    const std::string bytes = Read(path);
    return offset < bytes.size() ? bytes.substr(static_cast<std::size_t>(offset), size) : std::string();
  }
  // A file opened once and then read a piece at a time: a large file is
  // read in hundreds of pieces, and opening it for each can cost more than
  // the reading (on a busy machine most of all). Each piece is what
  // ReadPiece would give. One thread reads through one.
  class Pieces {
   public:
    virtual ~Pieces() = default;
    virtual std::string Read(std::uint64_t offset, std::size_t size) = 0;
  };
  virtual std::unique_ptr<Pieces> OpenPieces(std::string_view path) const;
  virtual bool Exists(std::string_view path) const = 0;
  virtual bool MakeDirectory(std::string_view path) = 0;
  // Whether the folder lies inside the user's temporary folder, where
  // Explorer runs a program opened inside a zip and later removes it.
  virtual bool InTemporaryFolder(std::string_view) const { return false; }
  // Whether a new file can be made in the folder (one is made and removed).
  virtual bool CanWriteIn(std::string_view) { return true; }

  // Writes the whole file: into a temporary file beside it, then replaces
  // the old one, so that a crash never leaves a truncated file.
  WriteResult Write(std::string_view path, std::string_view bytes) { return WriteTogether({{path, bytes}}); }
  // Writes files that belong together (a slot's rows and its extras): every
  // new file is written completely beside its original before any original
  // is replaced, and if anything fails, every original is as it was.
  WriteResult WriteTogether(std::initializer_list<FileContent> files);
  // After a WriteTogether that was cut short (the program ended between
  // moving an original aside and putting its new file in place), an
  // original is left only as its moved-aside copy: every moved-aside copy
  // is put back, so the files are again the ones from before that write.
  // True when there was anything to put back.
  bool RecoverTogether(std::initializer_list<std::string_view> paths);

  // RunDirectory() + "\" + name.
  std::string InRunDirectory(std::string_view name) const {
    return RunDirectory() + "\\" + std::string(name);
  }

 protected:
  // The backend's steps: create or overwrite a file with these bytes and
  // make them durable; give a new file the look the user gave its original
  // (hidden, system, archive, not indexed); rename a file over another
  // (replacing it); delete.
  virtual WriteResult WriteNew(std::string_view path, std::string_view bytes) = 0;
  virtual void KeepAttributes(std::string_view original, std::string_view replacement) = 0;
  virtual WriteResult Rename(std::string_view from, std::string_view to) = 0;
  virtual bool Remove(std::string_view path) = 0;
};

}  // namespace tovan::rt
