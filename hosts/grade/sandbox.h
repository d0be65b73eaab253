// Runs of untrusted programs (students' programs and their builds), each
// bounded and kept apart from the machine:
//   - in a scratch directory of its own, the only place it may write: the rest
//     of the file system is mounted read-only for it;
//   - with no network (a network namespace of its own with nothing in it), in a
//     process namespace of its own, so that nothing it starts outlives it;
//   - under limits on processor time, memory (address space), the size of a
//     file it writes, processes and open files, and no core files;
//   - stopped (with everything it started) when its wall-clock time is up;
//   - as an unprivileged user: the teacher's own user in a user namespace,
//     or "nobody" when the grader runs as root.
// Where the kernel refuses namespaces, runs still get their scratch
// directory, their limits and a process group killed at the end, and the
// grader says once what it could not do.
//
// A Pool runs commands side by side, at most `jobs` at a time, on one thread:
// it starts them, waits for any to end or for the next deadline, and calls
// each command's continuation when it ends (which may submit more).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vk::grade {

struct Limits {
  double wall_seconds = 10;
  long cpu_seconds = 10;
  long memory_mb = 512;  // address space; 0: none
  long file_mb = 64;     // the largest file it may write
  long processes = 16;
  long open_files = 64;
};

struct Command {
  std::vector<std::string> argv;  // argv[0]: an absolute path
  std::string directory;          // where it runs, and the only place it may write
  std::string output;             // its standard output and error go to this file
  std::vector<std::string> environment;
  Limits limits;
};

struct Outcome {
  enum class Ending { exited, signalled, out_of_time, not_started };
  Ending ending = Ending::not_started;
  int code = 0;             // exit status, or the signal's number
  std::string failure;      // not_started: why
  double cpu_seconds = 0;   // user and system time of the program itself
  long max_resident_kb = 0;
  double wall_seconds = 0;
};

class Pool {
 public:
  // `jobs` commands at most at a time. While a pool exists, SIGCHLD, SIGINT,
  // SIGTERM and SIGHUP are blocked: the pool waits for them itself.
  explicit Pool(int jobs);
  ~Pool();
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  // Finds the strongest isolation this machine allows, by starting a program
  // that does nothing in `directory` (which must belong to run_user()).
  void probe(const std::string& directory);

  void submit(Command command, std::function<void(const Outcome&)> done);
  // Runs until every command submitted (also by continuations) has ended.
  // False when a stop was asked for (SIGINT, SIGTERM, SIGHUP): the running
  // commands were stopped and the rest not started.
  bool run();

  // What the runs are kept from, in one sentence for people.
  std::string isolation() const;
  bool fully_isolated() const;
  // The user a run's files belong to (so the owner its scratch directory needs):
  // the grader's own, or nobody's when the grader runs as root.
  unsigned run_user() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// "SIGSEGV (Segmentation fault)" for a signal number.
std::string signal_name(int signal);

}  // namespace vk::grade
