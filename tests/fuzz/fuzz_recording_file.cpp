// A recording file of any bytes read into the event list and written back.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/gbk.h"
#include "table/recording_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = tovan::rt::FromGbk(std::string_view(reinterpret_cast<const char*>(data), size));
  tovan::table::EventList events;
  for (auto& row : tovan::table::RecordingRows(text)) events.Append(std::move(row));
  const std::string written = tovan::table::RecordingText(events);
  // Reading what was written gives the same rows again.
  const auto again = tovan::table::RecordingRows(written);
  if (again.size() != events.RowCount()) __builtin_trap();
  for (std::size_t row = 0; row < again.size(); ++row)
    for (std::size_t column = 0; column < again[row].size(); ++column)
      if (again[row][column] != events.At(row)[column]) __builtin_trap();
  return 0;
}
