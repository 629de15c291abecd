#include "runtime/files.h"

#include <vector>

namespace tovan::rt {
namespace {

constexpr char kTemporary[] = ".tmp~";
constexpr char kMovedAside[] = ".old~";

// Pieces read through ReadPiece, for backends that open nothing to read.
class PiecesByPath : public Files::Pieces {
 public:
  PiecesByPath(const Files& files, std::string_view path) : files_(files), path_(path) {}
  std::string Read(std::uint64_t offset, std::size_t size) override { return files_.ReadPiece(path_, offset, size); }

 private:
  const Files& files_;
  std::string path_;
};

// A file that cannot be replaced in a folder where its new version was
// just written is held by another program (or marked read-only, which the
// program's own files are not).
WriteResult Replacing(WriteResult renamed) {
  if (renamed.failure == WriteFailure::kReadOnly) renamed.failure = WriteFailure::kInUse;
  return renamed;
}

}  // namespace

std::unique_ptr<Files::Pieces> Files::OpenPieces(std::string_view path) const {
  return std::make_unique<PiecesByPath>(*this, path);
}

WriteResult Files::WriteTogether(std::initializer_list<FileContent> files) {
  struct Step {
    std::string target;
    std::string temporary;
    std::string backup;  // "" while the original has not been moved aside
    bool replaced = false;
  };
  std::vector<Step> steps;
  for (const FileContent& file : files) {
    const std::string target(file.path);
    steps.push_back(Step{target, target + kTemporary, {}, false});
    if (const WriteResult written = WriteNew(steps.back().temporary, file.bytes); !written) {
      for (const Step& step : steps) Remove(step.temporary);
      return written;
    }
    if (Exists(target)) KeepAttributes(target, steps.back().temporary);
  }
  if (steps.size() == 1) {
    const WriteResult renamed = Rename(steps[0].temporary, steps[0].target);
    if (!renamed) Remove(steps[0].temporary);
    return Replacing(renamed);
  }
  // Each original is moved aside before its new file takes its place, so
  // that a later failure can put every original back.
  WriteResult result;
  for (Step& step : steps) {
    if (Exists(step.target)) {
      const std::string backup = step.target + kMovedAside;
      if (result = Replacing(Rename(step.target, backup)); !result) break;
      step.backup = backup;
    }
    if (result = Replacing(Rename(step.temporary, step.target)); !result) break;
    step.replaced = true;
  }
  for (Step& step : steps) {
    if (!result) {
      if (step.replaced && step.backup.empty()) Remove(step.target);
      if (!step.backup.empty()) Rename(step.backup, step.target);
      if (!step.replaced) Remove(step.temporary);
    } else if (!step.backup.empty()) {
      Remove(step.backup);
    }
  }
  return result;
}

bool Files::RecoverTogether(std::initializer_list<std::string_view> paths) {
  bool cut_short = false;
  for (std::string_view path : paths)
    cut_short = cut_short || (!Exists(path) && Exists(std::string(path) + kMovedAside));
  if (!cut_short) return false;
  for (std::string_view path : paths) {
    const std::string target(path);
    if (Exists(target + kMovedAside)) Rename(target + kMovedAside, target);
    Remove(target + kTemporary);
  }
  return true;
}

}  // namespace tovan::rt
