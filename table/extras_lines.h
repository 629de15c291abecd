// The lines of a slot's extras file read a piece at a time, so that a
// million rows' skip, pause and hotkey cells are never held whole while
// the rows are built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/files.h"

namespace tovan::table {

// Where line `line` (0-based, lines ended by "\r\n") of the file begins;
// the file's end when it has no such line.
std::uint64_t OffsetOfLine(const rt::Files& files, const std::string& path, std::size_t line,
                           std::size_t piece_bytes);

// The lines of a file from a byte offset on (where a line begins), handed
// out one at a time as UTF-8, about `piece_bytes` of the file read and
// converted at a time.
class ExtrasLines {
 public:
  ExtrasLines(const rt::Files& files, std::string_view path, std::uint64_t from, std::size_t piece_bytes)
      : pieces_(files.OpenPieces(path)), at_(from), piece_bytes_(piece_bytes) {}
  // The next line, valid until the next call; "" once the file has no more.
  std::string_view Next();

 private:
  // Reads on until whole lines (or the file's last) are converted into
  // text_; false at the end of the file.
  bool Fill();

  std::unique_ptr<rt::Files::Pieces> pieces_;
  std::uint64_t at_;
  std::size_t piece_bytes_;
  std::string carry_;  // bytes read after the last "\r\n" so far
  std::string text_;   // whole lines, converted
  std::size_t next_ = 0;
  bool ended_ = false;
};

}  // namespace tovan::table
