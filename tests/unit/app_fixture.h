// The whole application started on the simulated platform.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/sim/sim_platform.h"
#include "shell/app.h"

namespace tovan {

class AppTest : public ::testing::Test {
 protected:
  void Start() { app.Start(); }

  // Appends rows with these contents, numbered, as an import would.
  void AddRows(const std::vector<std::string>& contents) {
    for (const std::string& text : contents) {
      const std::size_t row = app.Rows().Append("", text);
      app.Rows().SetCell(row, table::kNumber, std::to_string(row + 1));
    }
    app.Table().Refresh();
  }

  std::vector<std::string> ColumnOf(std::size_t column) {
    std::vector<std::string> out;
    for (std::size_t r = 0; r < app.Rows().RowCount(); ++r) out.emplace_back(app.Rows().Cell(r, column));
    return out;
  }

  std::vector<int> CheckedRows() {
    std::vector<int> out;
    for (std::size_t r = 0; r < app.Rows().RowCount(); ++r)
      if (app.Rows().Checked(r)) out.push_back(static_cast<int>(r));
    return out;
  }

  rt::Unit& U(const std::string& name) { return sim.ui[name]; }

  // A balloon as the log shows it: "x,y text", at window left + the anchor
  // unit's left + dx and window top + its top + dy.
  std::string BalloonAt(const std::string& anchor, int dx, int dy, const std::string& text) {
    const rt::Rect window = U("窗口").Bounds(), unit = U(anchor).Bounds();
    return std::to_string(window.x + unit.x + dx) + "," + std::to_string(window.y + unit.y + dy) + " " + text;
  }
  std::vector<std::string> Balloons() {
    std::vector<std::string> out;
    for (const auto& entry : sim.log.Of(rt::sim::Action::kBalloon)) out.push_back(entry.detail);
    return out;
  }

  rt::sim::SimPlatform sim;
  shell::App app{sim.Services()};
};

}  // namespace tovan
