// A settings file of any bytes: reading a key, then writing one, keeps the
// file readable and the written value readable back.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "runtime/settings_file.h"

namespace {

class MemoryFiles : public tovan::rt::Files {
 public:
  std::string RunDirectory() const override { return "C:\\Tovan"; }
  std::string Read(std::string_view path) const override {
    const auto it = files_.find(std::string(path));
    return it == files_.end() ? std::string() : it->second;
  }
  bool Exists(std::string_view path) const override { return files_.count(std::string(path)) != 0; }
  bool MakeDirectory(std::string_view) override { return true; }

 protected:
  void KeepAttributes(std::string_view, std::string_view) override {}
  tovan::rt::WriteResult WriteNew(std::string_view path, std::string_view bytes) override {
    files_[std::string(path)] = std::string(bytes);
    return {};
  }
  tovan::rt::WriteResult Rename(std::string_view from, std::string_view to) override {
    files_[std::string(to)] = files_[std::string(from)];
    files_.erase(std::string(from));
    return {};
  }
  bool Remove(std::string_view path) override { return files_.erase(std::string(path)) != 0; }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryFiles files;
  const char path[] = "C:\\Tovan\\settings.ini";
  files.Write(path, std::string_view(reinterpret_cast<const char*>(data), size));
  tovan::rt::ReadSetting(files, path, "编辑框内容", "记录");
  if (tovan::rt::WriteSetting(files, path, "编辑框内容", "模拟", "Ctrl+F9") &&
      tovan::rt::ReadSetting(files, path, "编辑框内容", "模拟") != "Ctrl+F9")
    __builtin_trap();
  return 0;
}
