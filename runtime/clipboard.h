// The system clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovan::rt {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard content with the text; the empty text clears it.
  // False when the clipboard stayed out of reach (another program held it).
  virtual bool SetText(std::string_view text) = 0;
  // The current clipboard text, "" when there is none.
  virtual std::string Text() = 0;
  // Replaces the clipboard content with the picture in these image file
  // bytes (PNG, JPEG, BMP, GIF) as a bitmap every program can paste. False
  // when the bytes are no picture or the clipboard stayed out of reach.
  virtual bool SetPicture(std::string_view image_bytes) = 0;
  // The text last written is about to be pasted into a program (its
  // process; 0 when not known): until AfterPaste, only that program is
  // given it, and its read is the one that counts. Reads before (a
  // clipboard manager reads every change) do not count.
  virtual void BeforePaste(std::uint32_t target_process) = 0;
  // The paste's read is no longer awaited: any program is given the text.
  virtual void AfterPaste() = 0;
  // Waits, keeping the window's events running, until the text last written
  // has been read since BeforePaste, or max_ms have passed; returns at once
  // when nothing written is still unread. True when it has been read.
  virtual bool WaitUntilTaken(int max_ms) = 0;
  // The text last written was pasted (BeforePaste) and no program has been
  // handed it since: the paste read nothing. False once any program has
  // it, or when that cannot be known.
  virtual bool Unasked() const = 0;
  // Another program has the clipboard open just now (as far as can be seen):
  // a paste pressed meanwhile finds it shut and pastes nothing.
  virtual bool HeldByOther() const = 0;
  // A number that changes whenever any program changes the clipboard.
  virtual std::uint64_t Sequence() const = 0;
};

}  // namespace tovan::rt
