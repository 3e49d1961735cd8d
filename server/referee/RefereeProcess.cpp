#include "server/referee/RefereeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <vector>

#include "tools/harness/TempFolder.h"

extern char** environ;

namespace {
bool WriteAll(int fd, const char* p, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= std::size_t(n);
  }
  return true;
}
}  // namespace

std::string OutcomeJson(const TReplayOutcome& o) {
  nlohmann::json j = {{"finished", o.Finished},    {"failure", o.Failure},
                      {"diverged", o.DivergedAt},  {"frames", o.Result.Frames},
                      {"level", o.Result.Level},   {"score", o.Result.Score},
                      {"damage", o.Result.Damage}, {"checksum", std::to_string(o.Result.Checksum)},
                      {"seconds", o.Seconds}};
  return j.dump();
}

bool OutcomeFromJson(const std::string& line, TReplayOutcome& o) {
  const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  if (!j.is_object()) return false;
  try {
    o.Finished = j.at("finished").get<bool>();
    o.Failure = j.at("failure").get<std::string>();
    o.DivergedAt = j.at("diverged").get<std::uint32_t>();
    o.Result.Frames = j.at("frames").get<std::uint32_t>();
    o.Result.Level = j.at("level").get<int>();
    o.Result.Score = j.at("score").get<int>();
    o.Result.Damage = j.at("damage").get<int>();
    o.Result.Checksum = std::stoull(j.at("checksum").get<std::string>());
    o.Seconds = j.at("seconds").get<double>();
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

int RunRefereeChild(int cpuSeconds) {
  if (cpuSeconds > 0) {
    // Past the soft limit the kernel sends SIGXCPU, which ends the process.
    const rlimit cap{rlim_t(cpuSeconds), rlim_t(cpuSeconds) + 1};
    setrlimit(RLIMIT_CPU, &cap);
  }
  const std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  const TReplayOutcome outcome = ReplayToTheEnd(bytes);
  std::cout << OutcomeJson(outcome) << "\n";
  std::cout.flush();
  return 0;
}

TReplayOutcome RefereeInChild(const std::string& bytes, const TRefereeLimits& limits) {
  TReplayOutcome out;
  int in[2], result[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    out.Failure = "the referee could not start";
    return out;
  }
  if (pipe2(result, O_CLOEXEC) != 0) {
    close(in[0]), close(in[1]);
    out.Failure = "the referee could not start";
    return out;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, result[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // Nothing else of the service's (its sockets, its database) goes with it.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  const std::string cpu = std::to_string(limits.CpuSeconds);
  char name[] = "quadrovolt-scores";
  char mode[] = "referee";
  char flag[] = "--cpu-seconds";
  char* argv[] = {name, mode, flag, const_cast<char*>(cpu.c_str()), nullptr};
  // The child's game keeps its files in a folder of its own under this one,
  // which goes when the child has ended, even when it was killed mid-game.
  TTempFolder folder;
  std::vector<std::string> settings = {"TMPDIR=" + folder.Path().string()};
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "TMPDIR=", 7) != 0) settings.push_back(*e);
  std::vector<char*> env;
  for (std::string& s : settings) env.push_back(s.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, limits.Program.c_str(), &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(result[1]);
  if (spawned != 0) {
    close(in[1]), close(result[0]);
    out.Failure = "the referee could not start";
    return out;
  }
  // The child reads all of its input before it writes a byte: no deadlock.
  WriteAll(in[1], bytes.data(), bytes.size());
  close(in[1]);
  // Beyond its CPU cap a child can only be waiting: give it as long again
  // in wall time, then end it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2 * limits.CpuSeconds + 10);
  std::string line;
  char buffer[4096];
  bool timedOut = false;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd p{result[0], POLLIN, 0};
    const int ready = poll(&p, 1, int(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    const ssize_t n = ::read(result[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    line.append(buffer, std::size_t(n));
  }
  close(result[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    out.Failure = sig == SIGXCPU || sig == SIGKILL || timedOut
                      ? "re-playing it took more than the " + std::to_string(limits.CpuSeconds) + " s of CPU allowed"
                      : "the referee stopped on signal " + std::to_string(sig);
    return out;
  }
  if (!OutcomeFromJson(line, out)) out = TReplayOutcome{false, "the referee gave no outcome", 0, {}, 0};
  return out;
}
