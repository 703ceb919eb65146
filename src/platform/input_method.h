// The input method editor of a view's window, as the host offers it: get the window's input
// context, open or close it, release the context. The terminal has no input method, so the
// calls change nothing; they are counted so that a client can see they were made.
#pragma once

#include <cstdint>

namespace tavik::platform {

class View;

class InputMethod {
 public:
  // A context handle for the view's window (never 0).
  uint64_t GetContext(const View& view);
  void SetOpenStatus(uint64_t context, bool open) {
    if (context == 0) return;
    ++open_status_calls_;
    last_open_status_ = open;
  }
  void ReleaseContext(uint64_t context) {
    if (context != 0) ++releases_;
  }

  uint64_t OpenStatusCalls() const { return open_status_calls_; }
  bool LastOpenStatus() const { return last_open_status_; }
  uint64_t Releases() const { return releases_; }

 private:
  uint64_t open_status_calls_ = 0;
  uint64_t releases_ = 0;
  bool last_open_status_ = false;
};

}  // namespace tavik::platform
