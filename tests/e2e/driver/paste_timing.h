// Timing rows as they arrive in another program's field, and the plainest
// paster to measure the tool against: what a row costs beyond the waits
// asked for is the target's alone when this paster takes it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovan::e2e {

// The field's text without carriage returns (edit fields end lines with
// CR LF, rich edit fields with CR alone).
std::string FieldTextWithoutCr(HWND field);

// Watches the field until `rows` more rows than it held at the call have
// arrived (a row ends where its text does: `row_length(i)` characters of
// row i plus `after` characters of the key after it), and returns each
// row's arrival in milliseconds from the call; fewer when a row did not
// arrive within stall_ms of the one before.
std::vector<double> RowArrivals(HWND field, int rows, std::size_t (*row_length)(int), std::size_t after,
                                int stall_ms);

// Rows "r1" … "rN" pasted into the focused field the plainest way: on the
// clipboard, exactly `clipboard_wait_ms` later Ctrl+V, then (unless key is
// 0) `key_wait_ms` later the key, then a wait until the row is in the field.
// Returns each row's milliseconds beyond those waits; empty when a row did
// not arrive.
std::vector<double> MinimalPaste(HWND field, int rows, int clipboard_wait_ms, UINT key, int key_wait_ms);

// "rN" has 1 + digits characters.
std::size_t NumberedRowLength(int i);

double Median(std::vector<double> values);

}  // namespace tovan::e2e
