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
  // bytes (PNG, JPEG, BMP, GIF) as a bitmap every program can paste, handed
  // over only when a program asks for it, as text is. False when the bytes
  // are no picture or the clipboard stayed out of reach.
  virtual bool SetPicture(std::string_view image_bytes) = 0;
  // The content last written is about to be pasted into a program (its
  // process; 0 when not known): until AfterPaste, the read that counts is
  // that program's, or one made without a window of its own (as a paste
  // through the system's object clipboard reads) unless such a reader had
  // the content before. Reads before (a clipboard manager reads every
  // change) do not count.
  virtual void BeforePaste(std::uint32_t target_process) = 0;
  // The paste's read is no longer awaited: any program is given the content.
  virtual void AfterPaste() = 0;
  // Waits, keeping the window's events running, until the content last
  // written has been read since BeforePaste, or max_ms have passed; returns
  // at once when nothing written is still unread. True when it has been read.
  virtual bool WaitUntilTaken(int max_ms) = 0;
  // The program whose read counted has let go of the clipboard again (it
  // pastes what it read before it does): a field read now shows the paste.
  // WaitUntilTaken waits up to a second for this once the read came.
  virtual bool ReaderLetGo() const = 0;
  // The paste's read did not come: takes the content last written off the
  // clipboard while it is still this program's, so that a paste handled
  // late finds nothing. False when the read came meanwhile after all.
  virtual bool Withdraw() = 0;
  // Since BeforePaste the content went to a program whose read did not
  // count, or it could not be taken back: it may yet be pasted somewhere.
  virtual bool HandedOut() const = 0;
  // Another program has the clipboard open just now (as far as can be seen):
  // a paste pressed meanwhile finds it shut and pastes nothing.
  virtual bool HeldByOther() const = 0;
  // A number that changes whenever any program changes the clipboard.
  virtual std::uint64_t Sequence() const = 0;
};

}  // namespace tovan::rt
