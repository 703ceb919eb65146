// The build child process: fork, exec of the shell in its own process group, a pipe read with
// poll until end of output and exit, or until the time limit, after which the group is killed.
#include "platform/build_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace tavik::platform {

namespace {

using Clock = std::chrono::steady_clock;

// In the child: never returns.
[[noreturn]] void ExecShell(const std::string& command, const std::string& folder, int out_fd) {
  setpgid(0, 0);
  // The editor ignores SIGPIPE; the build's pipelines must not.
  signal(SIGPIPE, SIG_DFL);
  const int null_fd = open("/dev/null", O_RDONLY);
  if (null_fd >= 0) dup2(null_fd, STDIN_FILENO);
  dup2(out_fd, STDOUT_FILENO);
  dup2(out_fd, STDERR_FILENO);
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    const std::string message = "cannot enter " + folder + ": " + std::strerror(errno) + "\n";
    (void)!write(STDERR_FILENO, message.data(), message.size());
    _exit(127);
  }
  execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

int StatusCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

BuildResult RunBuildCommand(const std::string& command, const std::string& folder,
                            uint32_t timeout_ms, const std::function<bool()>& cancel,
                            const std::function<void(std::string_view)>& on_output) {
  BuildResult result;
  int fds[2];
  if (pipe(fds) != 0) {
    result.error = std::string("cannot create a pipe: ") + std::strerror(errno);
    return result;
  }
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  const pid_t pid = fork();
  if (pid < 0) {
    result.error = std::string("cannot start the build: ") + std::strerror(errno);
    close(fds[0]);
    close(fds[1]);
    return result;
  }
  if (pid == 0) {
    close(fds[0]);
    ExecShell(command, folder, fds[1]);
  }
  // The child's group is set from both sides so that a kill right away reaches it.
  setpgid(pid, pid);
  close(fds[1]);
  result.started = true;

  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  char chunk[16384];
  bool open_pipe = true;
  while (open_pipe) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      result.timed_out = true;
      break;
    }
    if (cancel && cancel()) {
      result.cancelled = true;
      break;
    }
    pollfd pfd{fds[0], POLLIN, 0};
    const int ready = poll(&pfd, 1, static_cast<int>(std::min<int64_t>(left, 100)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = read(fds[0], chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      open_pipe = false;  // every writer closed its end: the build is over or detached
      break;
    }
    const size_t room = kMaxBuildOutput - std::min(kMaxBuildOutput, result.output.size());
    const size_t take = std::min(room, static_cast<size_t>(n));
    result.output.append(chunk, take);
    if (on_output && take > 0) on_output(std::string_view(chunk, take));
    if (take < static_cast<size_t>(n)) result.output_cut = true;
  }
  close(fds[0]);

  int status = 0;
  if (result.timed_out || result.cancelled) {
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    result.exit_code = StatusCode(status);
    return result;
  }
  // The output ended; the shell exits right after (a child it left behind may still run).
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) break;
    const bool cancelled = cancel && cancel();
    if (cancelled || Clock::now() >= deadline) {
      result.timed_out = !cancelled;
      result.cancelled = cancelled;
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(2000);
  }
  result.exit_code = StatusCode(status);
  return result;
}

}  // namespace tavik::platform
