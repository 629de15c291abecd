// Fixture for tests against tovan_target.exe: fields 101-104 (single line)
// and 105 (multi-line memo), labelled 字段1-字段4 and 备注.
#pragma once

#include "driver/program_window_test.h"

namespace tovan::e2e {

class TargetTest : public ProgramWindowTest {
 protected:
  void SetUp() override { Launch(L"tovan_target.exe", "Tovan Target"); }
};

}  // namespace tovan::e2e
