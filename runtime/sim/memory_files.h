// Files held in memory by path, read whole or a piece at a time (nothing
// can be written), and jobs run one after another where they are asked
// for: for fuzzing and benchmarking the readers of large files without a
// disk or threads.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/files.h"
#include "runtime/worker.h"

namespace tovan::rt {

class MemoryFiles : public Files {
 public:
  explicit MemoryFiles(std::map<std::string, std::string, std::less<>> files) : files_(std::move(files)) {}
  std::string RunDirectory() const override { return "C:\\"; }
  std::string Read(std::string_view path) const override { return Of(path); }
  std::uint64_t SizeOf(std::string_view path) const override { return Of(path).size(); }
  std::string ReadPiece(std::string_view path, std::uint64_t offset, std::size_t size) const override {
    const std::string& bytes = Of(path);
    return offset < bytes.size() ? bytes.substr(static_cast<std::size_t>(offset), size) : std::string();
  }
  bool Exists(std::string_view path) const override { return files_.find(path) != files_.end(); }
  bool MakeDirectory(std::string_view) override { return false; }

 protected:
  WriteResult WriteNew(std::string_view, std::string_view) override { return {WriteFailure::kReadOnly}; }
  void KeepAttributes(std::string_view, std::string_view) override {}
  WriteResult Rename(std::string_view, std::string_view) override { return {WriteFailure::kReadOnly}; }
  bool Remove(std::string_view) override { return false; }

 private:
  const std::string& Of(std::string_view path) const {
    static const std::string kNone;
    const auto it = files_.find(path);
    return it == files_.end() ? kNone : it->second;
  }
  std::map<std::string, std::string, std::less<>> files_;
};

class InlineWorker : public Worker {
 public:
  void RunTogether(std::initializer_list<std::function<void()>> jobs) override {
    for (const auto& job : jobs) job();
  }
};

}  // namespace tovan::rt
