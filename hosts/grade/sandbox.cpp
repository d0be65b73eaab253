// How a run is started (see sandbox.h): the grader clones a first process
// into new user, process, network, IPC, UTS and mount namespaces; once the
// grader has mapped the run's user into them, the first process makes the
// file system read-only but for the scratch directory and forks the program,
// which takes its user, limits and files and executes. The first process,
// the new process namespace's init, waits for the program and reports how it
// ended (with its processor time and memory) through a pipe; when it ends,
// the kernel ends everything left in its namespace. Between clone() and exec
// the processes make system calls only, on data prepared before.
#include "sandbox.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>

namespace vk::grade {

namespace {

constexpr unsigned kNobody = 65534;
// The run's user and group inside its user namespace: not 0, so that the
// program holds no capability there either.
constexpr unsigned kUserInside = 1000;
constexpr std::size_t kStackSize = 256 * 1024;

enum class Isolation { namespaces_and_mounts, namespaces, process_group };

// Where a start failed; `started` when the program ran.
enum Stage : int { started = 0, stage_mounts, stage_user, stage_directory, stage_output, stage_exec, stage_fork };

// What the first process reports through its pipe. The program itself reports
// a failed exec the same way, first.
struct Report {
  int stage = started;
  int error = 0;
  int wait_status = 0;
  long max_resident_kb = 0;
  long cpu_microseconds = 0;
};

// Everything the run's processes use, prepared before they exist.
struct Plan {
  std::vector<std::string> strings;  // owns argv and envp
  std::vector<char*> argv;
  std::vector<char*> envp;
  const char* program = nullptr;
  const char* directory = nullptr;
  const char* output = nullptr;
  Limits limits;
  Isolation isolation = Isolation::process_group;
  bool as_nobody = false;  // the grader is root: the program runs as nobody
  int sync_read = -1;      // namespaces: the grader's go, once the users are mapped
  int sync_write = -1;
  int report_read = -1;
  int report_write = -1;
};

// ---- In the run's processes (system calls only) ----

// The run's processes live on a stack of the grader's making, which an
// AddressSanitizer build does not know: it would refuse their calls that never
// return (_exit, a failed exec's report), so their code is left uninstrumented.
#define RUN_SIDE __attribute__((no_sanitize("address")))

RUN_SIDE void send_report(const Plan& plan, const Report& report) {
  ssize_t written = write(plan.report_write, &report, sizeof report);
  (void)written;
}

[[noreturn]] RUN_SIDE void fail_start(const Plan& plan, Stage stage) {
  Report report;
  report.stage = stage;
  report.error = errno;
  send_report(plan, report);
  _exit(127);
}

// Closes every descriptor from 3 up but the two given.
RUN_SIDE void close_all_but(int keep_a, int keep_b) {
  const unsigned low = static_cast<unsigned>(std::min(keep_a, keep_b));
  const unsigned high = static_cast<unsigned>(std::max(keep_a, keep_b));
  if (low > 3) close_range(3, low - 1, 0);
  if (high > low + 1) close_range(low + 1, high - 1, 0);
  close_range(high + 1, ~0U, 0);
}

// Everything read-only but the scratch directory, for this mount namespace only.
RUN_SIDE bool make_file_system_read_only(const Plan& plan) {
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  if (mount(plan.directory, plan.directory, nullptr, MS_BIND | MS_REC, nullptr) != 0) return false;
  mount_attr read_only{};
  read_only.attr_set = MOUNT_ATTR_RDONLY;
  if (mount_setattr(AT_FDCWD, "/", AT_RECURSIVE, &read_only, sizeof read_only) != 0) return false;
  mount_attr writable{};
  writable.attr_clr = MOUNT_ATTR_RDONLY;
  return mount_setattr(AT_FDCWD, plan.directory, 0, &writable, sizeof writable) == 0;
}

RUN_SIDE bool become_run_user(const Plan& plan) {
  if (plan.isolation != Isolation::process_group) {
    setgroups(0, nullptr);  // refused where the namespace denies it: the groups are the user's own
    return setresgid(kUserInside, kUserInside, kUserInside) == 0 &&
           setresuid(kUserInside, kUserInside, kUserInside) == 0;
  }
  if (!plan.as_nobody) return true;
  return setgroups(0, nullptr) == 0 && setresgid(kNobody, kNobody, kNobody) == 0 &&
         setresuid(kNobody, kNobody, kNobody) == 0;
}

// Lowers a limit (never raises one the grader itself does not have).
RUN_SIDE void lower_limit(int resource, rlim_t soft, rlim_t hard) {
  rlimit current{};
  getrlimit(resource, &current);
  rlimit wanted{std::min(soft, current.rlim_max), std::min(hard, current.rlim_max)};
  setrlimit(resource, &wanted);
}

RUN_SIDE void set_limits(const Limits& limits) {
  constexpr rlim_t megabyte = 1024 * 1024;
  lower_limit(RLIMIT_CORE, 0, 0);
  const auto cpu = static_cast<rlim_t>(limits.cpu_seconds);
  lower_limit(RLIMIT_CPU, cpu, cpu + 1);  // SIGXCPU first, SIGKILL a second later
  if (limits.memory_mb > 0) {
    const rlim_t bytes = static_cast<rlim_t>(limits.memory_mb) * megabyte;
    lower_limit(RLIMIT_AS, bytes, bytes);
  }
  const rlim_t file = static_cast<rlim_t>(limits.file_mb) * megabyte;
  lower_limit(RLIMIT_FSIZE, file, file);
  lower_limit(RLIMIT_NPROC, static_cast<rlim_t>(limits.processes), static_cast<rlim_t>(limits.processes));
  lower_limit(RLIMIT_NOFILE, static_cast<rlim_t>(limits.open_files), static_cast<rlim_t>(limits.open_files));
}

[[noreturn]] RUN_SIDE void start_program(const Plan& plan) {
  if (!become_run_user(plan)) fail_start(plan, stage_user);
  if (chdir(plan.directory) != 0) fail_start(plan, stage_directory);
  const int output = open(plan.output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int nothing = open("/dev/null", O_RDONLY);
  if (output < 0 || nothing < 0) fail_start(plan, stage_output);
  if (dup2(nothing, 0) < 0 || dup2(output, 1) < 0 || dup2(output, 2) < 0) fail_start(plan, stage_output);
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);  // the report pipe stays open until the exec
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);  // the grader's blocked signals are not the program's
  set_limits(plan.limits);
  prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
  execve(plan.program, plan.argv.data(), plan.envp.data());
  fail_start(plan, stage_exec);
}

// The run's first process: the process namespace's init where there is one.
RUN_SIDE int first_process(void* argument) {
  const Plan& plan = *static_cast<const Plan*>(argument);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  setpgid(0, 0);  // a group of its own: a terminal's Ctrl+C reaches the grader only
  close_all_but(plan.sync_read, plan.report_write);
  if (plan.isolation != Isolation::process_group) {
    char go = 0;
    if (read(plan.sync_read, &go, 1) != 1) _exit(127);  // the grader gave up on this run
    if (plan.isolation == Isolation::namespaces_and_mounts && !make_file_system_read_only(plan)) {
      fail_start(plan, stage_mounts);
    }
  }
  const pid_t program = fork();
  if (program < 0) fail_start(plan, stage_fork);
  if (program == 0) start_program(plan);
  Report report;
  for (;;) {
    int status = 0;
    rusage usage{};
    const pid_t ended = wait4(-1, &status, 0, &usage);
    if (ended == program) {
      report.wait_status = status;
      report.max_resident_kb = usage.ru_maxrss;
      report.cpu_microseconds = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000L +
                                usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
      break;
    }
    if (ended < 0 && errno != EINTR) break;
  }
  send_report(plan, report);
  _exit(0);
}

// ---- In the grader ----

double now_seconds() {
  timespec time{};
  clock_gettime(CLOCK_MONOTONIC, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

const char* stage_text(int stage) {
  switch (stage) {
    case stage_mounts: return "cannot make the file system read-only for the run";
    case stage_user: return "cannot take the run's user";
    case stage_directory: return "cannot enter the run's directory";
    case stage_output: return "cannot open the run's output";
    case stage_exec: return "cannot start the program";
    case stage_fork: return "cannot start the program's process";
    default: return "the run failed";
  }
}

bool write_text(const std::string& path, const std::string& text) {
  const int file = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (file < 0) return false;
  const bool whole = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(file);
  return whole;
}

std::unique_ptr<Plan> make_plan(const Command& command, Isolation isolation) {
  auto plan = std::make_unique<Plan>();
  plan->strings = command.argv;
  plan->strings.insert(plan->strings.end(), command.environment.begin(), command.environment.end());
  plan->strings.push_back(command.directory);
  plan->strings.push_back(command.output);
  std::size_t i = 0;
  for (; i < command.argv.size(); ++i) plan->argv.push_back(plan->strings[i].data());
  plan->argv.push_back(nullptr);
  for (; i < command.argv.size() + command.environment.size(); ++i) plan->envp.push_back(plan->strings[i].data());
  plan->envp.push_back(nullptr);
  plan->program = plan->strings.front().c_str();
  plan->directory = plan->strings[i].c_str();
  plan->output = plan->strings[i + 1].c_str();
  plan->limits = command.limits;
  plan->isolation = isolation;
  plan->as_nobody = geteuid() == 0;
  return plan;
}

}  // namespace

struct Pool::State {
  struct Running {
    pid_t pid = -1;
    int report_read = -1;
    double started = 0;
    double deadline = 0;
    bool out_of_time = false;
    std::function<void(const Outcome&)> done;
  };

  int jobs = 1;
  Isolation isolation = Isolation::namespaces_and_mounts;
  std::string refused;  // why a stronger isolation was not had
  std::deque<std::pair<Command, std::function<void(const Outcome&)>>> waiting;
  std::vector<Running> running;
  sigset_t watched{};
  sigset_t previous{};
  bool stopped = false;

  // Maps the run's user and group into its namespace, then lets it go on.
  bool map_user(pid_t pid, int sync_write, std::string& failure) const {
    const std::string proc = "/proc/" + std::to_string(pid) + "/";
    const bool root = geteuid() == 0;
    const unsigned user = root ? kNobody : geteuid();
    const unsigned group = root ? kNobody : getegid();
    const std::string inside = std::to_string(kUserInside) + " ";
    const bool mapped = (root || write_text(proc + "setgroups", "deny")) &&
                        write_text(proc + "uid_map", inside + std::to_string(user) + " 1\n") &&
                        write_text(proc + "gid_map", inside + std::to_string(group) + " 1\n");
    if (!mapped) failure = std::string("cannot map the run's user: ") + std::strerror(errno);
    return mapped && write(sync_write, "g", 1) == 1;
  }

  // Starts a command; false (with `failure`) when it could not be.
  bool start(const Command& command, Running& run, std::string& failure) {
    std::unique_ptr<Plan> plan = make_plan(command, isolation);
    int sync[2] = {-1, -1};
    int report[2] = {-1, -1};
    if (pipe2(report, O_CLOEXEC) != 0 || pipe2(sync, O_CLOEXEC) != 0) {
      failure = std::string("cannot make a pipe: ") + std::strerror(errno);
      for (int fd : {report[0], report[1], sync[0], sync[1]})
        if (fd >= 0) close(fd);
      return false;
    }
    plan->report_read = report[0];
    plan->report_write = report[1];
    plan->sync_read = sync[0];
    plan->sync_write = sync[1];
    int flags = SIGCHLD;
    if (isolation != Isolation::process_group) {
      flags |= CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNET | CLONE_NEWIPC | CLONE_NEWUTS | CLONE_NEWNS;
    }
    std::vector<char> stack(kStackSize);
    const pid_t pid = clone(first_process, stack.data() + stack.size(), flags, plan.get());
    const int clone_error = errno;
    close(report[1]);
    close(sync[0]);
    bool ok = pid > 0;
    if (!ok) failure = std::string("cannot start a run: clone: ") + std::strerror(clone_error);
    if (ok && isolation != Isolation::process_group) ok = map_user(pid, sync[1], failure);
    close(sync[1]);
    if (pid > 0) setpgid(pid, pid);
    if (!ok) {
      if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
      close(report[0]);
      return false;
    }
    run.pid = pid;
    run.report_read = report[0];
    run.started = now_seconds();
    run.deadline = run.started + command.limits.wall_seconds;
    return true;
  }

  void start_waiting() {
    while (static_cast<int>(running.size()) < jobs && !waiting.empty()) {
      auto [command, done] = std::move(waiting.front());
      waiting.pop_front();
      Running run;
      run.done = std::move(done);
      std::string failure;
      if (start(command, run, failure)) {
        running.push_back(std::move(run));
      } else {
        Outcome outcome;
        outcome.failure = failure;
        run.done(outcome);
      }
    }
  }

  static void stop_run(const Running& run) {
    kill(-run.pid, SIGKILL);  // the group, where there is no process namespace to end
    kill(run.pid, SIGKILL);
  }

  // Waits for a run to end, the next deadline or a stop signal.
  void wait_for_change() {
    double next = running.front().deadline;
    for (const Running& run : running)
      if (!run.out_of_time) next = std::min(next, run.deadline);
    const double wait = std::clamp(next - now_seconds(), 0.001, 1.0);
    timespec timeout{static_cast<time_t>(wait), static_cast<long>((wait - std::floor(wait)) * 1e9)};
    const int signal = sigtimedwait(&watched, nullptr, &timeout);
    if (signal == SIGINT || signal == SIGTERM || signal == SIGHUP) stopped = true;
  }

  void enforce_deadlines() {
    const double now = now_seconds();
    for (Running& run : running) {
      if (run.out_of_time || now < run.deadline) continue;
      run.out_of_time = true;
      stop_run(run);
    }
  }

  Outcome outcome_of(const Running& run, int first_status) const {
    Outcome outcome;
    outcome.wall_seconds = now_seconds() - run.started;
    Report report;
    const bool reported = read(run.report_read, &report, sizeof report) == static_cast<ssize_t>(sizeof report);
    if (run.out_of_time) {
      outcome.ending = Outcome::Ending::out_of_time;
    } else if (!reported) {
      outcome.failure = "the run ended before it reported (status " + std::to_string(first_status) + ")";
    } else if (report.stage != started) {
      outcome.failure = std::string(stage_text(report.stage)) + ": " + std::strerror(report.error);
    } else if (WIFSIGNALED(report.wait_status)) {
      outcome.ending = Outcome::Ending::signalled;
      outcome.code = WTERMSIG(report.wait_status);
    } else {
      outcome.ending = Outcome::Ending::exited;
      outcome.code = WEXITSTATUS(report.wait_status);
    }
    if (reported) {
      outcome.cpu_seconds = static_cast<double>(report.cpu_microseconds) / 1e6;
      outcome.max_resident_kb = report.max_resident_kb;
    }
    return outcome;
  }

  // Finishes every run whose first process has ended; their continuations run last.
  void reap_ended() {
    std::vector<std::pair<std::function<void(const Outcome&)>, Outcome>> finished;
    for (std::size_t i = 0; i < running.size();) {
      siginfo_t info{};
      if (waitid(P_PID, static_cast<id_t>(running[i].pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
          info.si_pid != running[i].pid) {
        ++i;
        continue;
      }
      // Anything it left in its group, while its group id cannot yet be another's.
      kill(-running[i].pid, SIGKILL);
      int status = 0;
      waitpid(running[i].pid, &status, 0);
      Outcome outcome = outcome_of(running[i], status);
      close(running[i].report_read);
      finished.emplace_back(std::move(running[i].done), std::move(outcome));
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    }
    for (auto& [done, outcome] : finished) done(outcome);
  }

  void stop_everything() {
    for (Running& run : running) {
      stop_run(run);
      waitpid(run.pid, nullptr, 0);
      close(run.report_read);
    }
    running.clear();
    waiting.clear();
  }
};

Pool::Pool(int jobs) : state_(std::make_unique<State>()) {
  state_->jobs = std::max(jobs, 1);
  sigemptyset(&state_->watched);
  for (int signal : {SIGCHLD, SIGINT, SIGTERM, SIGHUP}) sigaddset(&state_->watched, signal);
  sigprocmask(SIG_BLOCK, &state_->watched, &state_->previous);
}

Pool::~Pool() {
  state_->stop_everything();
  sigprocmask(SIG_SETMASK, &state_->previous, nullptr);
}

void Pool::submit(Command command, std::function<void(const Outcome&)> done) {
  state_->waiting.emplace_back(std::move(command), std::move(done));
}

bool Pool::run() {
  State& s = *state_;
  while (!s.stopped && (!s.waiting.empty() || !s.running.empty())) {
    s.start_waiting();
    if (s.running.empty()) continue;
    s.wait_for_change();
    if (s.stopped) break;
    s.enforce_deadlines();
    s.reap_ended();
  }
  if (s.stopped) s.stop_everything();
  return !s.stopped;
}

void Pool::probe(const std::string& directory) {
  State& s = *state_;
  const std::string program = access("/bin/true", X_OK) == 0 ? "/bin/true" : "/usr/bin/true";
  for (Isolation mode : {Isolation::namespaces_and_mounts, Isolation::namespaces, Isolation::process_group}) {
    s.isolation = mode;
    Command command;
    command.argv = {program};
    command.directory = directory;
    command.output = directory + "/probe-output";
    command.limits.wall_seconds = 10;
    Outcome result;
    submit(command, [&result](const Outcome& outcome) { result = outcome; });
    if (!run()) return;
    if (result.ending == Outcome::Ending::exited && result.code == 0) return;
    if (s.refused.empty()) s.refused = result.failure;
  }
}

std::string Pool::isolation() const {
  switch (state_->isolation) {
    case Isolation::namespaces_and_mounts:
      return "Every run had namespaces of its own (no network) and could write only in its own folder";
    case Isolation::namespaces:
      return "Every run had namespaces of its own (no network), but could write outside its folder (" +
             state_->refused + ")";
    case Isolation::process_group:
      return "Runs had no namespaces of their own, so a program could reach the network and write outside "
             "its folder (" + state_->refused + ")";
  }
  return "";
}

bool Pool::fully_isolated() const { return state_->isolation == Isolation::namespaces_and_mounts; }

unsigned Pool::run_user() const { return geteuid() == 0 ? kNobody : geteuid(); }

std::string signal_name(int signal) {
  const char* abbreviation = sigabbrev_np(signal);
  const char* description = sigdescr_np(signal);
  std::string name = abbreviation ? std::string("SIG") + abbreviation : "signal " + std::to_string(signal);
  if (description) name += std::string(" (") + description + ")";
  return name;
}

}  // namespace vk::grade
