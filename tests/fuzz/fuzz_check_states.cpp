// A check-state file of any bytes checks only rows that exist.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/gbk.h"
#include "table/slot_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = tovan::rt::FromGbk(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::size_t rows = size % 97;
  for (std::size_t row : tovan::table::CheckedRows(text, rows))
    if (row >= rows) __builtin_trap();
  return 0;
}
