#include "table/slot_loader.h"

#include <limits>

#include "runtime/gbk.h"
#include "table/slot_format.h"

namespace tovan::table {
namespace {

// Where GBK slot bytes can be cut in two so that both halves are whole
// rows: just after a "★" (A1 EF) near the middle, found by walking the
// characters as the decoder reads them, from a place where one surely
// starts. 0 where there is none.
std::size_t AfterRowEndNearMiddle(std::string_view bytes) {
  for (std::size_t at = rt::GbkMiddle(bytes); at != 0 && at + 1 < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) == 0xA1 && static_cast<unsigned char>(bytes[at + 1]) == 0xEF)
      return at + 2;
    at += rt::GbkCharLength(bytes, at);
  }
  return 0;
}

}  // namespace

RowStore::Batch LoadSlotRows(rt::Worker& worker, const rt::Files& files, const std::string& row_path,
                             const std::vector<std::string>& extras_paths, const std::string& check_text) {
  std::string bytes;
  std::vector<std::string> extras_bytes(extras_paths.size());
  worker.Run([&] {
    bytes = files.Read(row_path);
    for (std::size_t i = 0; i < extras_paths.size(); ++i) extras_bytes[i] = files.Read(extras_paths[i]);
  });

  // Two halves of whole rows, each converted and split on a core of its
  // own; the extras and the checks beside the second.
  const std::size_t middle = AfterRowEndNearMiddle(bytes);
  std::string first_text;
  std::string second_text;
  std::vector<std::string_view> first_rows;
  std::vector<std::string_view> second_rows;
  std::vector<std::string> extras_texts(extras_paths.size());
  ExtrasOverlay overlay;
  std::vector<std::size_t> checked;
  worker.RunTogether({[&] {
                        first_text = rt::FromGbk(std::string_view(bytes).substr(0, middle));
                        first_rows = SlotContents(first_text);
                      },
                      [&] {
                        second_text = rt::FromGbk(std::string_view(bytes).substr(middle));
                        second_rows = SlotContents(second_text);
                        for (std::size_t i = 0; i < extras_bytes.size(); ++i) {
                          extras_texts[i] = rt::FromGbk(extras_bytes[i]);
                          overlay.Add(extras_texts[i]);
                        }
                        checked = CheckedRows(check_text, std::numeric_limits<std::size_t>::max());
                      }});

  RowStore::Batch batch;
  worker.Run([&] {
    std::string().swap(bytes);
    batch.Reserve(first_rows.size() + second_rows.size());
    AddSlotRows(batch, first_rows, 0, overlay);
    AddSlotRows(batch, second_rows, first_rows.size(), overlay);
    for (std::size_t row : checked) batch.SetChecked(row);
  });
  return batch;
}

}  // namespace tovan::table
