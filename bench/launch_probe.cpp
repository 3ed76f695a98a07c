// Runs a program once and measures it from spawn to exit: wall time, CPU time (user + system)
// and peak resident memory, all of that one child.
//
//   launch_probe OUTPUT PROGRAM [ARGS...]
//
// The program's standard input is /dev/null and its standard output goes to OUTPUT (/dev/null
// to throw it away); its standard error is passed through. Prints one JSON object:
// {"status": ..., "wall_ms": ..., "cpu_ms": ..., "maxrss_kib": ...}.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

double Milliseconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: launch_probe OUTPUT PROGRAM [ARGS...]\n");
    return 2;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[2], &actions, nullptr, argv + 2, environ) != 0) {
    std::perror("launch_probe: spawn");
    return 1;
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) {
    std::perror("launch_probe: wait");
    return 1;
  }
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);

  const double wall_ms = std::chrono::duration<double, std::milli>(end - start).count();
  const double cpu_ms = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
  std::printf("{\"status\": %d, \"wall_ms\": %.4f, \"cpu_ms\": %.4f, \"maxrss_kib\": %ld}\n",
              WIFEXITED(status) ? WEXITSTATUS(status) : -1, wall_ms, cpu_ms, usage.ru_maxrss);
  return 0;
}
