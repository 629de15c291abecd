// The window of the program: its units, the events bound to them, and the
// window-level operations. The portable part (units by name, event binding
// and raising) lives here; a backend builds the real window and raises the
// events the user causes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/events.h"
#include "runtime/list_unit.h"
#include "runtime/unit.h"

namespace tovan::rt {

enum class Answer { kYes, kNo };

class Ui {
 public:
  Ui();
  virtual ~Ui();
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;

  // Creates the window and every unit of the table (not yet shown). The
  // window itself is the unit named kWindowUnit; its bounds are in screen
  // pixels, while every control's are window pixels at 96 DPI.
  void Build(const WindowLayout& window, const std::vector<UnitLayout>& units);
  static constexpr std::string_view kWindowUnit = "窗口";

  const WindowLayout& Window() const { return window_; }
  Unit& operator[](std::string_view name) const;  // the name must exist
  Unit* Find(std::string_view name) const;
  ListUnit& List(std::string_view name) const;    // the name must be a super list
  const std::vector<std::unique_ptr<Unit>>& Units() const { return units_; }

  void Bind(std::string_view unit, EventKind kind, Handler handler);
  // Forgets every handler: what the window does while it is torn down no
  // longer reaches an application that may already be gone.
  void UnbindAll() { handlers_.clear(); }
  // Runs the handlers bound to (unit, event.kind), in binding order.
  void Raise(std::string_view unit, const Event& event);

  // Shows the window and raises its created event.
  virtual void Show() = 0;
  // Destroys the window at once (no about-to-close event); Run then returns.
  virtual void Destroy() = 0;
  virtual bool Destroyed() const = 0;
  // Runs the window's events until it is destroyed.
  virtual void Run() = 0;
  // Runs the events that are waiting, then returns.
  virtual void PumpEvents() = 0;

  virtual bool Minimised() const = 0;
  virtual void Restore() = 0;
  virtual void HideToTray(std::string_view tip) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void LockRedraw(bool locked) = 0;

  virtual Point ScreenSize() const = 0;
  // The part of the window's monitor that windows may use (the screen less
  // the taskbar), in screen pixels.
  virtual Rect WorkArea() const = 0;
  virtual Point CursorPos() const = 0;
  // System handle of the top-level window under the mouse cursor (0 for none).
  virtual std::uintptr_t WindowUnderCursor() const = 0;
  // The unit that has the input focus, or "".
  virtual std::string FocusedUnit() const = 0;
  // Whether the window is the one the user works in (the foreground window).
  virtual bool Active() const = 0;
  // System handle of the window the user works in, whichever program owns
  // it (0 for none).
  virtual std::uintptr_t ForegroundWindow() const = 0;
  // The process that owns the window the user works in (0 for none).
  virtual std::uint32_t ForegroundProcess() const = 0;
  // Keeps a window above all others, or lets it go back among them.
  virtual void SetTopmost(std::uintptr_t window, bool topmost) = 0;
  // Runs the job on the window's thread once the current event is done
  // (any thread may call it).
  virtual void RunSoon(std::function<void()> job) = 0;
  // Runs the job on the window's thread once `ms` milliseconds have passed
  // (from the window's thread).
  virtual void RunLater(int ms, std::function<void()> job) = 0;

  virtual void ShowBalloon(std::string_view text, Point screen) = 0;
  // Window pixels at 96 DPI → screen pixels of the window's monitor.
  virtual int ToScreenPixels(int window_pixels) const { return window_pixels; }
  // A hint next to a unit: a balloon at (window left + unit left + dx,
  // window top + unit top + dy), the offsets scaled to the screen.
  void Hint(std::string_view text, std::string_view anchor, int dx, int dy);
  virtual Answer AskYesNo(std::string_view text, std::string_view title) = 0;
  // A warning the user confirms with OK, for when no balloon could be seen.
  virtual void Warn(std::string_view text, std::string_view title) = 0;
  // Files dropped on `on_unit` raise kDropped on `drop_unit`.
  virtual void RegisterDropTarget(std::string_view drop_unit, std::string_view on_unit) = 0;

 protected:
  // Called once by Build, after every unit exists: attach peers.
  virtual void CreatePeers() = 0;

 private:
  struct Key {
    std::string unit;
    EventKind kind;
    auto operator<=>(const Key&) const = default;
  };

  WindowLayout window_;
  std::vector<std::unique_ptr<Unit>> units_;
  std::unordered_map<std::string, Unit*> by_name_;
  std::map<Key, std::vector<Handler>, std::less<>> handlers_;
};

}  // namespace tovan::rt
