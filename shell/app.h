// The application: builds the main window on the platform's services and
// binds its events.
#pragma once

#include "runtime/platform.h"

namespace tovan::shell {

class App {
 public:
  explicit App(rt::Platform platform) : platform_(platform) {}
  // Builds and shows the main window; its created event runs the set-up.
  void Start();

 private:
  rt::Platform platform_;
};

}  // namespace tovan::shell
