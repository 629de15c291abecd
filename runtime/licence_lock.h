// 许可证类: a lock that the thread holding it may take again (as a Win32
// critical section), entered and left by hand.
#pragma once

#include <mutex>

namespace tovan::rt {

class 许可证类 {
 public:
  void Enter() { lock_.lock(); }
  void Leave() { lock_.unlock(); }

 private:
  std::recursive_mutex lock_;
};

}  // namespace tovan::rt
