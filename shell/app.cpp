#include "shell/app.h"

#include "shell/main_window_layout.h"

namespace tovan::shell {

void App::Start() {
  platform_.ui.Build(MainWindowLayout(), MainWindowUnits());
  platform_.ui.Show();
}

}  // namespace tovan::shell
