// The real window: the main window and its controls built from the unit
// table, its window procedure, the event pump, timers, hotkey delivery, the
// tray icon, balloon tips and file drops. Window procedures are thin
// trampolines that turn messages into unit events.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/job_queue.h"
#include "runtime/ui.h"
#include "runtime/win32/handles.h"

namespace tovan::rt::win32 {

class ControlPeer;
class LabelPeer;

class Win32Ui : public Ui {
 public:
  explicit Win32Ui(HINSTANCE instance);
  ~Win32Ui() override;

  void Show() override;
  void Destroy() override;
  bool Destroyed() const override { return destroyed_; }
  void Run() override;
  void PumpEvents() override;
  bool Minimised() const override;
  void Restore() override;
  void HideToTray(std::string_view tip) override;
  void RemoveTrayIcon() override;
  void LockRedraw(bool locked) override;
  Point ScreenSize() const override;
  Rect WorkArea() const override;
  Point CursorPos() const override;
  std::uintptr_t WindowUnderCursor() const override;
  std::string FocusedUnit() const override;
  bool Active() const override { return window_ && GetForegroundWindow() == window_; }
  std::uintptr_t ForegroundWindow() const override { return reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }
  std::uint32_t ForegroundProcess() const override;
  void SetTopmost(std::uintptr_t window, bool topmost) override;
  void RunSoon(std::function<void()> job) override;
  void RunLater(int ms, std::function<void()> job) override;
  void ShowBalloon(std::string_view text, Point screen) override;
  int ToScreenPixels(int window_pixels) const override { return Scale(window_pixels); }
  Answer AskYesNo(std::string_view text, std::string_view title) override;
  void Warn(std::string_view text, std::string_view title) override;
  void RegisterDropTarget(std::string_view drop_unit, std::string_view on_unit) override;

  HWND MainWindow() const { return window_; }
  // The control id of the unit at this index of Units(): how another
  // program (a test driver) finds a control by its unit's name.
  static int ControlIdOf(std::size_t unit_index) { return kFirstControlId + 1 + static_cast<int>(unit_index); }
  static constexpr int kFirstControlId = 1000;
  // Window pixels at 96 DPI → device pixels of the window's monitor, and back.
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  int Unscale(int pixels) const { return MulDiv(pixels, 96, dpi_); }
  HFONT FontFor(const UnitLayout& layout);
  HBRUSH BrushFor(Colour colour);
  // A hotkey registered for `receiver` under `id` raises kHotkey there.
  void AddHotkeyReceiver(int id, std::string receiver) { hotkey_receivers_[id] = std::move(receiver); }
  void RemoveHotkeyReceiver(int id) { hotkey_receivers_.erase(id); }
  void StartTimer(UINT_PTR id, int period_ms);
  void StopTimer(UINT_PTR id);
  // Repaints the part of the window's background under a control.
  void RepaintBackground(const Rect& rect);
  // Receives the messages the system sends the clipboard's owner.
  void SetClipboardOwner(std::function<void(UINT message, WPARAM format)> receiver) {
    clipboard_owner_ = std::move(receiver);
  }

 protected:
  void CreatePeers() override;

 private:
  friend class ControlPeer;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  LRESULT HandleControlMessage(ControlPeer& peer, HWND control, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleNotify(NMHDR& header);
  void PaintBackground(HDC dc);
  void ApplyDpi(int dpi);
  ControlPeer* PeerOf(HWND control) const;
  bool TrayIcon(DWORD action, std::string_view tip);
  // The RunLater job of this id, once: true when there was one. A job
  // timed by the window's own timer (`timer`) stops that timer first.
  bool RunLaterJob(UINT_PTR id, bool timer);

  // Messages of the window's own jobs.
  static constexpr UINT kRunSoonMessage = WM_APP + 2;
  static constexpr UINT kRunLaterMessage = WM_APP + 3;
  static constexpr UINT_PTR kFirstLaterId = 0xC000;
  static constexpr UINT_PTR kLastLaterId = 0xCFFF;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  bool destroyed_ = false;
  bool tray_icon_ = false;
  std::string tray_tip_;
  UINT taskbar_created_ = 0;
  HWND balloon_ = nullptr;
  std::vector<ControlPeer*> controls_;
  std::vector<LabelPeer*> labels_;
  std::unordered_map<HWND, ControlPeer*> by_window_;
  std::map<UINT_PTR, std::string> timers_;
  std::map<int, std::string> hotkey_receivers_;
  std::map<HWND, std::string> drop_targets_;  // control → drop unit
  std::map<std::pair<std::string, int>, Font> fonts_;
  std::map<COLORREF, Brush> brushes_;
  std::function<void(UINT, WPARAM)> clipboard_owner_;
  JobQueue jobs_;  // RunSoon
  std::map<UINT_PTR, std::function<void()>> later_;  // RunLater jobs by id
  UINT_PTR next_later_ = kFirstLaterId;
};

}  // namespace tovan::rt::win32
