// One-shot timers driven by an in-process clock: the front end advances the clock (or fires a
// timer at once), which is how deferred work such as a mapping time-out runs without threads.
#pragma once

#include <cstdint>
#include <functional>

namespace tavik::platform {

class ManualClock {
 public:
  uint64_t NowMs() const { return now_ms_; }
  void Advance(uint64_t ms) { now_ms_ += ms; }

 private:
  uint64_t now_ms_ = 0;
};

class OneShotTimer {
 public:
  explicit OneShotTimer(const ManualClock& clock) : clock_(clock) {}

  // Restarts the timer; `on_fire` runs once when it comes due.
  void Start(uint64_t delay_ms, std::function<void()> on_fire) {
    due_ms_ = clock_.NowMs() + delay_ms;
    on_fire_ = std::move(on_fire);
    running_ = true;
  }
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  uint64_t DueMs() const { return due_ms_; }

  // Fires when running and due (or at once with `force`); true when it fired.
  bool FireIfDue(bool force = false) {
    if (!running_ || (!force && clock_.NowMs() < due_ms_)) return false;
    running_ = false;
    std::function<void()> fn = std::move(on_fire_);
    if (fn) fn();
    return true;
  }

 private:
  const ManualClock& clock_;
  std::function<void()> on_fire_;
  uint64_t due_ms_ = 0;
  bool running_ = false;
};

}  // namespace tavik::platform
