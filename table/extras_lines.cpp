#include "table/extras_lines.h"

#include <cstring>

#include "runtime/gbk.h"

namespace tovan::table {

std::uint64_t OffsetOfLine(const rt::Files& files, const std::string& path, std::size_t line,
                           std::size_t piece_bytes) {
  if (line == 0) return 0;
  const std::unique_ptr<rt::Files::Pieces> pieces = files.OpenPieces(path);
  std::size_t ends = 0;
  char before = 0;  // the last byte of the previous piece
  for (std::uint64_t at = 0;;) {
    const std::string piece = pieces->Read(at, piece_bytes);
    if (piece.empty()) return at;
    for (const char* lf = static_cast<const char*>(std::memchr(piece.data(), '\n', piece.size())); lf;
         lf = static_cast<const char*>(std::memchr(lf + 1, '\n', piece.size() - (lf + 1 - piece.data())))) {
      const std::size_t i = static_cast<std::size_t>(lf - piece.data());
      if ((i > 0 ? piece[i - 1] : before) == '\r' && ++ends == line) return at + i + 1;
    }
    before = piece.back();
    at += piece.size();
  }
}

std::string_view ExtrasLines::Next() {
  if (next_ >= text_.size() && !Fill()) return {};
  const std::string_view text(text_);
  const std::size_t end = text.find("\r\n", next_);
  const std::string_view line = text.substr(next_, end == std::string_view::npos ? end : end - next_);
  next_ = end == std::string_view::npos ? text.size() : end + 2;
  return line;
}

bool ExtrasLines::Fill() {
  text_.clear();
  next_ = 0;
  // "\r\n" is never part of a GBK pair: the text converts the same cut there.
  while (!ended_) {
    const std::string piece = pieces_->Read(at_, piece_bytes_);
    if (piece.empty()) {
      ended_ = true;  // the end, or a file that changed or failed: what was read is kept
      break;
    }
    at_ += piece.size();
    carry_ += piece;
    const std::size_t cut = carry_.rfind("\r\n");
    if (cut != std::string::npos) {
      text_ = rt::FromGbk(std::string_view(carry_).substr(0, cut + 2));
      carry_.erase(0, cut + 2);
      return true;
    }
  }
  if (carry_.empty()) return false;
  text_ = rt::FromGbk(carry_);
  carry_.clear();
  return true;
}

}  // namespace tovan::table
