// Files of the program. Paths are UTF-8 with "\" between folders, as the
// user sees them; the run directory holds every file the user prepares.
#pragma once

#include <string>
#include <string_view>

namespace tovan::rt {

class Files {
 public:
  virtual ~Files() = default;
  // The folder of the running program, without a trailing "\".
  virtual std::string RunDirectory() const = 0;
  // The whole file as bytes; a missing or unreadable file gives "".
  virtual std::string Read(std::string_view path) const = 0;
  // Writes the whole file: into a temporary file beside it, then replaces
  // the old one, so that a crash never leaves a truncated file.
  virtual bool Write(std::string_view path, std::string_view bytes) = 0;
  virtual bool Exists(std::string_view path) const = 0;
  virtual bool MakeDirectory(std::string_view path) = 0;

  // RunDirectory() + "\" + name.
  std::string InRunDirectory(std::string_view name) const {
    return RunDirectory() + "\\" + std::string(name);
  }
};

}  // namespace tovan::rt
