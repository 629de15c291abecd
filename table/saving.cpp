#include "table/saving.h"

namespace tovan::table {
namespace {

constexpr int kRetryStepMs = 100;

bool WorthRetrying(rt::WriteFailure why) {
  return why == rt::WriteFailure::kInUse || why == rt::WriteFailure::kReadOnly;
}

}  // namespace

rt::WriteResult WriteRetrying(rt::Platform& p, const std::function<rt::WriteResult()>& write,
                              const std::function<bool()>& superseded) {
  const std::int64_t give_up = p.clock.NowMicros() + std::int64_t{kSaveRetryMs} * 1000;
  for (;;) {
    rt::WriteResult result;
    p.worker.Run([&] { result = write(); });
    if (result || !WorthRetrying(result.failure) || p.clock.NowMicros() >= give_up) return result;
    p.clock.Wait(kRetryStepMs);
    if (superseded()) return result;
  }
}

std::string NotSavedText(std::string_view name, rt::WriteFailure why) {
  std::string text = "●";
  text.append(name);
  switch (why) {
    case rt::WriteFailure::kInUse: return text + "没能写入：文件被其他程序占用，请稍后再保存！";
    case rt::WriteFailure::kReadOnly: return text + "没能写入：文件夹不能写入，请把程序放到可以写入的文件夹！";
    case rt::WriteFailure::kDiskFull: return text + "没能写入：磁盘已满，请腾出空间后再保存！";
    default: return text + "没能写入，请稍后再保存！";
  }
}

}  // namespace tovan::table
