// Grading a class: the test scripts are checked, the reference is built and
// played every test, then each submission of this shard is built and played
// every test, side by side in the pool; each run is compared with the
// reference's as it ends.
//
// Index:
//   Work folder          the grader's scratch space, removed at the end
//   Tests                reading and checking the test scripts
//   Builds               sources (or a built program) into a program
//   Runs                 one test played into one program, and what it did
//   Comparing            a run against the reference's: record of the result
//   Grader               the whole grading
#include "grading.h"

#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "log_diff.h"
#include "pictures.h"
#include "programs.h"
#include "records.h"
#include "report_files.h"
#include "sandbox.h"
#include "script_check.h"

namespace vk::grade {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLogKept = 64 * 1024;     // of a log, in a record
constexpr std::size_t kOutputKept = 8 * 1024;   // of a program's or compiler's output, its end
constexpr const char* kProgramFile = "kv318-grade-program";

// ---- Work folder ----

// True when every folder above `path` lets others pass through.
bool open_to_others(const fs::path& path) {
  for (fs::path folder = fs::absolute(path); ; folder = folder.parent_path()) {
    struct stat info{};
    if (stat(folder.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) return false;
    if (folder == folder.parent_path()) return true;
  }
}

// Where the work folder goes: TMPDIR, unless the runs' user could not reach
// it there (a grader running as root runs programs as nobody).
std::string work_place() {
  const char* tmp = std::getenv("TMPDIR");
  const std::string place = tmp && *tmp ? tmp : "/tmp";
  if (geteuid() != 0 || open_to_others(place)) return place;
  if (open_to_others("/tmp")) return "/tmp";
  throw UsageError("the runs' user (nobody) cannot reach a work folder in " + place +
                   ": set TMPDIR to a folder others may pass through");
}

class WorkFolder {
 public:
  WorkFolder() {
    std::string pattern = work_place() + "/kv318-grade-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw UsageError("cannot make a work folder in " + pattern);
    path_ = pattern;
    chmod(path_.c_str(), 0755);  // the runs' user passes through it to their own folders
  }
  ~WorkFolder() { remove(); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& path() const { return path_; }

  // A new folder in it that the runs' user owns.
  std::string folder_for_runs(const std::string& relative, unsigned user) const {
    const fs::path place = fs::path(path_) / relative;
    fs::create_directories(place);
    fs::permissions(place, fs::perms(0755));
    if (geteuid() == 0 && chown(place.c_str(), user, user) != 0) {
      throw UsageError("cannot give " + place.string() + " to the runs' user");
    }
    return place.string();
  }

  // Everything in it goes, whatever a program left (folders it made unreadable too).
  void remove() {
    std::error_code error;
    if (path_.empty() || !fs::exists(path_, error)) return;
    for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_directory(error) && !it->is_symlink(error)) fs::permissions(it->path(), fs::perms::owner_all, error);
    }
    fs::remove_all(path_, error);
  }

 private:
  std::string path_;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The end of a file, at most `kept` bytes of it.
std::string file_end(const std::string& path, std::size_t kept) {
  const std::string text = read_file(path);
  if (text.size() <= kept) return text;
  return "[... " + std::to_string(text.size() - kept) + " bytes before]\n" + text.substr(text.size() - kept);
}

std::string cut(const std::string& text, std::size_t kept) {
  if (text.size() <= kept) return text;
  return text.substr(0, kept) + "\n[... " + std::to_string(text.size() - kept) + " more bytes]\n";
}

// The cores this process may run on.
int available_cores() {
  cpu_set_t cores;
  CPU_ZERO(&cores);
  if (sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
  return std::max(CPU_COUNT(&cores), 1);
}

// ---- Tests ----

struct Test {
  std::string name;    // the file's name without .scr
  std::string id;      // for file names in the report
  std::string file;    // the teacher's file
  std::string script;  // what is played: the file without its comment lines
  std::string bad;     // why nothing is graded on it; empty for a good test
};

// Checks a test file and writes its lines without comments to `script`.
std::string check_test(const std::string& file, const std::string& script) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (!in) return "cannot read " + file;
  const std::optional<vk::host::UnreadableLine> bad = vk::host::first_unreadable_line(in, true);
  std::rewind(in);
  std::ofstream out(script, std::ios::binary);
  vk::host::ScriptLines lines(in);
  for (std::string line; lines.next(line);)
    if (!vk::host::is_comment(line)) out << line << '\n';
  std::fclose(in);
  if (bad) {
    return fs::path(file).filename().string() + ":" + std::to_string(bad->number) +
           ": playback cannot read this line: '" + vk::host::printable_line(bad->text) + "'";
  }
  return "";
}

std::vector<Test> read_tests(const std::string& folder, const std::string& scripts) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) throw UsageError("--tests '" + folder + "' is not a folder");
  std::vector<Test> tests;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() != ".scr" || !entry.is_regular_file(error)) continue;
    Test test;
    test.name = entry.path().stem().string();
    test.id = folder_id(test.name);
    test.file = entry.path().string();
    test.script = (fs::path(scripts) / (test.id + ".scr")).string();
    tests.push_back(test);
  }
  if (tests.empty()) throw UsageError("no test scripts (*.scr) in '" + folder + "'");
  std::sort(tests.begin(), tests.end(), [](const Test& a, const Test& b) { return a.name < b.name; });
  for (Test& test : tests) test.bad = check_test(test.file, test.script);
  return tests;
}

// ---- Runs ----

// What a run of a program did.
struct Observed {
  Result result = Result::pass;  // pass: it ended by itself; else crash or timeout
  std::string reason;
  std::optional<int> status;
  std::string log;     // the log's bytes
  std::string output;  // the end of its standard output and error
  std::string folder;
  double seconds = 0;
};

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

bool mentions(const std::string& text, std::initializer_list<const char*> words) {
  return std::any_of(words.begin(), words.end(), [&](const char* word) { return text.find(word) != std::string::npos; });
}

// A sanitizer's report is a crash, though the program then ends by itself.
std::string sanitizer_report(const std::string& output) {
  for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
    const std::size_t at = output.find(mark);
    if (at != std::string::npos) return output.substr(at, output.find('\n', at) - at);
  }
  return "";
}

Observed observe(const Outcome& outcome, const Limits& limits, const std::string& folder) {
  Observed seen;
  seen.folder = folder;
  seen.seconds = outcome.wall_seconds;
  seen.log = read_file(folder + "/log.txt");
  seen.output = file_end(folder + "/output.txt", kOutputKept);
  using Ending = Outcome::Ending;
  const int signal = outcome.code;
  if (outcome.ending == Ending::not_started) {
    seen.result = Result::crash;
    seen.reason = "it could not be run: " + outcome.failure;
  } else if (outcome.ending == Ending::out_of_time) {
    seen.result = Result::timeout;
    seen.reason = "it did not end within " + seconds_text(limits.wall_seconds) + " s, and was stopped";
  } else if (outcome.ending == Ending::signalled &&
             (signal == SIGXCPU || (signal == SIGKILL && outcome.cpu_seconds >= limits.cpu_seconds))) {
    seen.result = Result::timeout;
    seen.reason = "it used its " + std::to_string(limits.cpu_seconds) + " s of processor time, and was stopped";
  } else if (outcome.ending == Ending::signalled && signal == SIGXFSZ) {
    seen.result = Result::crash;
    seen.reason = "it wrote a file larger than " + std::to_string(limits.file_mb) + " MB, and was stopped";
  } else if (outcome.ending == Ending::signalled) {
    seen.result = Result::crash;
    seen.reason = "it was killed by " + signal_name(signal);
    const bool near_limit = limits.memory_mb > 0 && outcome.max_resident_kb >= limits.memory_mb * 1024 * 8 / 10;
    if (near_limit || mentions(seen.output, {"bad_alloc", "Cannot allocate memory", "out of memory"}))
      seen.reason += " after running out of its " + std::to_string(limits.memory_mb) + " MB of memory";
  } else if (const std::string report = sanitizer_report(seen.output); !report.empty()) {
    seen.result = Result::crash;
    seen.reason = "it crashed: " + report;
  } else {
    seen.status = outcome.code;
  }
  return seen;
}

// ---- Comparing ----

struct Expected {
  std::optional<int> status;
  std::string log;
  std::string folder;      // the reference's run: picture.png, frames/
  std::string picture;     // its last picture in the report, when it showed one
};

std::vector<std::string> frame_files(const std::string& folder) {
  std::vector<std::string> frames;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder + "/frames", error))
    if (entry.path().extension() == ".png") frames.push_back(entry.path().filename().string());
  std::sort(frames.begin(), frames.end());
  return frames;
}

}  // namespace

// A picture of a run compared with the reference's: the last one, or a frame.
struct Shown {
  std::string expected;  // the two files
  std::string actual;
  std::string stem;      // its name in the report
  long frame = -1;
  std::optional<Comparison> comparison;
};

// ---- Grader ----

class Grader {
 public:
  explicit Grader(const Options& options) : options_(options) {}
  int grade();

 private:
  struct Build {
    std::string program;  // the built program; empty when the build failed
    std::string failure;  // why, with the compiler's messages
  };
  using BuildDone = std::function<void(const Build&)>;

  std::vector<Program> shard_part(std::vector<Program> submissions) const;
  bool needs_toolchain(const std::vector<Program>& programs) const;
  Limits run_limits() const;
  Limits build_limits() const;
  std::vector<std::string> environment(const std::string& folder, bool for_runs) const;
  void build(const Program& program, BuildDone done);
  void build_step(std::shared_ptr<std::vector<std::vector<std::string>>> steps, std::size_t step,
                  const std::string& folder, const std::string& program, BuildDone done);
  void run(const Program& program, const std::string& path, const Test& test,
           std::function<void(const Observed&)> done);
  void keep_reference(const Test& test, const Observed& seen);
  void grade_submission(const Program& submission);
  Record compare(const Program& submission, const Test& test, const Observed& seen);
  void compare_pictures(const Test& test, const Observed& seen, Shown& shown, std::vector<std::string>& reasons) const;
  void compare_frames(const Test& test, const Observed& seen, Shown& shown, std::vector<std::string>& reasons) const;
  std::optional<Comparison> compare_picture_files(const std::string& expected, const std::string& actual) const;
  void put_pictures(Record& record, const Program& submission, const Test& test, const Shown& shown);
  std::string report_picture(const std::string& relative) const;
  Record record_for(const Program& submission, const Test& test, Result result, const std::string& reason) const;

  const Options& options_;
  std::unique_ptr<WorkFolder> work_;
  std::unique_ptr<Pool> pool_;
  std::optional<Toolchain> toolchain_;
  std::vector<Test> tests_;
  std::map<std::string, Expected> expected_;  // by test name
  std::vector<Record> records_;
};

std::vector<Program> Grader::shard_part(std::vector<Program> submissions) const {
  std::sort(submissions.begin(), submissions.end(), [](const Program& a, const Program& b) { return a.name < b.name; });
  for (std::size_t i = 1; i < submissions.size(); ++i) {
    if (submissions[i].name == submissions[i - 1].name) throw UsageError("'" + submissions[i].name + "' is given twice");
  }
  std::vector<Program> part;
  for (std::size_t i = 0; i < submissions.size(); ++i)
    if (static_cast<int>(i % static_cast<std::size_t>(options_.shards)) == options_.shard - 1) part.push_back(submissions[i]);
  return part;
}

bool Grader::needs_toolchain(const std::vector<Program>& programs) const {
  return std::any_of(programs.begin(), programs.end(), [](const Program& p) { return !p.built; });
}

Limits Grader::run_limits() const {
  Limits limits;
  limits.wall_seconds = options_.time_limit;
  limits.cpu_seconds = static_cast<long>(std::ceil(options_.time_limit));
  // A sanitized program maps terabytes it never uses: its memory is bounded by its sanitizer instead.
  limits.memory_mb = toolchain_ && toolchain_->sanitized ? 0 : options_.memory_limit_mb;
  return limits;
}

Limits Grader::build_limits() const {
  Limits limits;
  limits.wall_seconds = std::max(120.0, options_.time_limit);
  limits.cpu_seconds = static_cast<long>(std::ceil(limits.wall_seconds));
  limits.memory_mb = 4096;
  limits.file_mb = 512;
  limits.processes = 64;
  limits.open_files = 256;
  return limits;
}

std::vector<std::string> Grader::environment(const std::string& folder, bool for_runs) const {
  std::vector<std::string> variables{"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + folder, "TMPDIR=" + folder,
                                     "LC_ALL=C", "TZ=UTC"};
  std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
  if (for_runs && toolchain_ && toolchain_->sanitized && options_.memory_limit_mb > 0) {
    asan += (asan.empty() ? "" : ":") + std::string("hard_rss_limit_mb=") + std::to_string(options_.memory_limit_mb);
  }
  if (!asan.empty()) variables.push_back("ASAN_OPTIONS=" + asan);
  for (const char* name : {"UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = std::getenv(name)) variables.push_back(std::string(name) + "=" + value);
  return variables;
}

void Grader::build(const Program& program, BuildDone done) {
  const std::string folder = work_->folder_for_runs("builds/" + program.id, pool_->run_user());
  const std::string output = folder + "/" + kProgramFile;
  if (program.built) {
    std::error_code error;
    fs::copy_file(program.path, output, error);
    fs::permissions(output, fs::perms(0755), error);
    done(error ? Build{"", "cannot copy " + program.path + ": " + error.message()} : Build{output, ""});
    return;
  }
  std::vector<std::string> sources;
  std::string failure;
  if (!copy_sources(program, folder, sources, failure)) {
    done({"", failure});
    return;
  }
  auto steps = std::make_shared<std::vector<std::vector<std::string>>>(build_commands(*toolchain_, sources, kProgramFile));
  build_step(steps, 0, folder, output, std::move(done));
}

// One compiler command of a build; the next when it succeeded.
void Grader::build_step(std::shared_ptr<std::vector<std::vector<std::string>>> steps, std::size_t step,
                        const std::string& folder, const std::string& program, BuildDone done) {
  Command command;
  command.argv = (*steps)[step];
  command.directory = folder;
  command.output = folder + "/kv318-grade-build-" + std::to_string(step) + ".txt";
  command.environment = environment(folder, false);
  command.limits = build_limits();
  const std::string output = command.output;
  pool_->submit(std::move(command), [this, steps, step, folder, program, output, done](const Outcome& outcome) {
    const bool built = outcome.ending == Outcome::Ending::exited && outcome.code == 0;
    if (!built) {
      // The compiler's messages say why; a build that did not end as a compiler does says so first.
      std::string why;
      if (outcome.ending == Outcome::Ending::not_started) why = outcome.failure + "\n";
      if (outcome.ending == Outcome::Ending::out_of_time || outcome.ending == Outcome::Ending::signalled)
        why = "its build was stopped at a limit\n";
      done({"", why + file_end(output, kOutputKept)});
    } else if (step + 1 < steps->size()) {
      build_step(steps, step + 1, folder, program, done);
    } else {
      done({program, ""});
    }
  });
}

void Grader::run(const Program& program, const std::string& path, const Test& test,
                 std::function<void(const Observed&)> done) {
  const std::string folder = work_->folder_for_runs("runs/" + program.id + "/" + test.id, pool_->run_user());
  Command command;
  command.argv = {path, "--seed", std::to_string(options_.seed), "--play", test.script, "--log-unbuffered",
                  "--log", "log.txt", "--snapshot", "picture.png"};
  if (options_.every_frame) command.argv.insert(command.argv.end(), {"--frames", "frames"});
  command.directory = folder;
  command.output = folder + "/output.txt";
  command.environment = environment(folder, true);
  command.limits = run_limits();
  const Limits limits = command.limits;
  pool_->submit(std::move(command), [limits, folder, done](const Outcome& outcome) {
    done(observe(outcome, limits, folder));
  });
}

std::string Grader::report_picture(const std::string& relative) const {
  const fs::path place = fs::path(options_.report) / relative;
  std::error_code error;
  fs::create_directories(place.parent_path(), error);
  return place.string();
}

// The reference's run of a test: what every submission must do, or why the test cannot be graded.
void Grader::keep_reference(const Test& test, const Observed& seen) {
  Test& kept = *std::find_if(tests_.begin(), tests_.end(), [&](const Test& t) { return t.name == test.name; });
  if (seen.result != Result::pass) {
    kept.bad = "the reference program fails this test: " + seen.reason;
    return;
  }
  if (seen.status == 2) {
    kept.bad = "the reference program refused the run: " + seen.output.substr(0, seen.output.find('\n'));
    return;
  }
  Expected expected{seen.status, seen.log, seen.folder, ""};
  if (fs::exists(seen.folder + "/picture.png")) {
    expected.picture = "pictures/reference/" + test.id + ".png";
    std::error_code error;
    fs::copy_file(seen.folder + "/picture.png", report_picture(expected.picture), error);
  }
  expected_[test.name] = expected;
}

Record Grader::record_for(const Program& submission, const Test& test, Result result, const std::string& reason) const {
  Record record;
  record.submission = submission.name;
  record.test = test.name;
  record.result = result;
  record.reason = reason;
  return record;
}

// Two pictures compared; nullopt when a file cannot be read.
std::optional<Comparison> Grader::compare_picture_files(const std::string& expected, const std::string& actual) const {
  std::string error;
  const std::optional<Picture> want = read_png(expected, error);
  const std::optional<Picture> got = read_png(actual, error);
  if (!want || !got) return std::nullopt;
  return vk::grade::compare(*want, *got, options_.masks);
}

void Grader::compare_pictures(const Test& test, const Observed& seen, Shown& shown,
                              std::vector<std::string>& reasons) const {
  const Expected& expected = expected_.at(test.name);
  const std::string actual = seen.folder + "/picture.png";
  const bool showed = fs::exists(actual);
  if (expected.picture.empty() != !showed) {
    reasons.push_back(showed ? "it showed a picture where the reference showed none" : "it showed no picture");
    return;
  }
  if (!showed) return;
  shown = {expected.folder + "/picture.png", actual, test.id, -1, std::nullopt};
  shown.comparison = compare_picture_files(shown.expected, actual);
  if (!shown.comparison) {
    reasons.push_back("its picture cannot be read");
  } else if (shown.comparison->differing > options_.tolerance) {
    reasons.push_back(std::to_string(shown.comparison->differing) + " pixels of its last picture differ" +
                      (options_.tolerance > 0 ? " (at most " + std::to_string(options_.tolerance) + " may)" : ""));
  }
}

// The first frame that differs, when one does: it is the one the report shows.
void Grader::compare_frames(const Test& test, const Observed& seen, Shown& shown,
                            std::vector<std::string>& reasons) const {
  const Expected& expected = expected_.at(test.name);
  const std::vector<std::string> want = frame_files(expected.folder);
  const std::vector<std::string> got = frame_files(seen.folder);
  if (want.size() != got.size()) {
    reasons.push_back("it showed " + std::to_string(got.size()) + " frames, the reference " + std::to_string(want.size()));
  }
  for (std::size_t i = 0; i < std::min(want.size(), got.size()); ++i) {
    Shown frame{expected.folder + "/frames/" + want[i], seen.folder + "/frames/" + got[i],
                test.id + "-frame-" + std::to_string(i), static_cast<long>(i), std::nullopt};
    frame.comparison = compare_picture_files(frame.expected, frame.actual);
    if (frame.comparison && frame.comparison->differing <= options_.tolerance) continue;
    reasons.push_back("frame " + std::to_string(i) + " differs" +
                      (frame.comparison ? " in " + std::to_string(frame.comparison->differing) + " pixels" : ""));
    shown = std::move(frame);
    return;
  }
}

// The pictures of a run that did not pass, into the report when they differ at
// all: the expected one, this program's and their difference.
void Grader::put_pictures(Record& record, const Program& submission, const Test& test, const Shown& shown) {
  if (!shown.comparison) return;
  record.differing_pixels = shown.comparison->differing;
  if (shown.comparison->differing == 0) return;
  std::error_code error;
  if (shown.frame < 0) {
    record.expected_picture = expected_.at(test.name).picture;
  } else {
    record.expected_picture = "pictures/reference/" + shown.stem + ".png";
    fs::copy_file(shown.expected, report_picture(record.expected_picture), fs::copy_options::overwrite_existing, error);
  }
  record.actual_picture = "pictures/" + submission.id + "/" + shown.stem + ".png";
  record.difference_picture = "pictures/" + submission.id + "/" + shown.stem + "-difference.png";
  fs::copy_file(shown.actual, report_picture(record.actual_picture), fs::copy_options::overwrite_existing, error);
  write_png(report_picture(record.difference_picture), shown.comparison->difference);
  record.frame = shown.frame;
}

Record Grader::compare(const Program& submission, const Test& test, const Observed& seen) {
  Record record = record_for(submission, test, seen.result, seen.reason);
  record.status = seen.status;
  record.seconds = seen.seconds;
  record.log = cut(utf8_from_log(seen.log), kLogKept);
  if (seen.result != Result::pass) {
    record.output = valid_utf8(seen.output);
    return record;
  }
  const Expected& expected = expected_.at(test.name);
  std::vector<std::string> reasons;
  if (seen.status != expected.status) {
    reasons.push_back("it ended with status " + std::to_string(*seen.status) + ", the reference with " +
                      std::to_string(expected.status.value_or(-1)));
  }
  if (const auto difference = first_difference(utf8_from_log(expected.log), utf8_from_log(seen.log))) {
    reasons.push_back("its log differs from line " + std::to_string(difference->line));
    record.log_diff = difference->diff;
  }
  Shown shown;
  compare_pictures(test, seen, shown, reasons);
  if (options_.every_frame && (!shown.comparison || shown.comparison->differing <= options_.tolerance)) {
    compare_frames(test, seen, shown, reasons);
  }
  if (reasons.empty()) return record;
  put_pictures(record, submission, test, shown);
  record.result = Result::fail;
  record.output = valid_utf8(seen.output);
  for (std::size_t i = 0; i < reasons.size(); ++i) record.reason += (i ? "; " : "") + reasons[i];
  return record;
}

void Grader::grade_submission(const Program& submission) {
  build(submission, [this, submission](const Build& built) {
    for (const Test& test : tests_) {
      if (!test.bad.empty()) continue;
      if (built.program.empty()) {
        Record record = record_for(submission, test, Result::build_error, "it does not build");
        record.output = valid_utf8(built.failure);
        records_.push_back(record);
        continue;
      }
      run(submission, built.program, test, [this, submission, test](const Observed& seen) {
        records_.push_back(compare(submission, test, seen));
      });
    }
  });
}

int Grader::grade() {
  const Program reference = describe_program(options_.reference);
  std::vector<Program> submissions;
  for (const std::string& input : options_.inputs) submissions.push_back(describe_program(input));
  submissions = shard_part(submissions);
  work_ = std::make_unique<WorkFolder>();
  fs::create_directories(work_->path() + "/tests");
  tests_ = read_tests(options_.tests, work_->path() + "/tests");
  prepare_report_folder(options_.report);

  std::vector<Program> to_build = submissions;
  to_build.push_back(reference);
  // Looked for even when only built programs are graded: it says whether they are sanitized.
  std::string error;
  toolchain_ = find_toolchain(error);
  if (!toolchain_ && needs_toolchain(to_build)) throw UsageError(error);
  pool_ = std::make_unique<Pool>(options_.jobs > 0 ? options_.jobs : available_cores());
  pool_->probe(work_->folder_for_runs("probe", pool_->run_user()));
  if (!pool_->fully_isolated()) std::fprintf(stderr, "kv318-grade: note: %s\n", pool_->isolation().c_str());

  Build reference_build;
  build(reference, [&](const Build& built) { reference_build = built; });
  if (!pool_->run()) return kStopped;
  if (reference_build.program.empty()) {
    throw UsageError("the reference program " + reference.name + " cannot be built: " + reference_build.failure);
  }
  for (const Test& test : tests_) {
    if (test.bad.empty()) {
      run(reference, reference_build.program, test, [this, test](const Observed& seen) { keep_reference(test, seen); });
    }
  }
  if (!pool_->run()) return kStopped;

  for (const Program& submission : submissions) grade_submission(submission);
  if (!pool_->run()) return kStopped;
  for (const Test& test : tests_) {
    if (test.bad.empty()) continue;
    for (const Program& submission : submissions) records_.push_back(record_for(submission, test, Result::bad_test, test.bad));
  }

  if (!write_report(options_.report, records_, pool_->isolation() + ".", options_.gradescope, error)) {
    std::fprintf(stderr, "kv318-grade: %s\n", error.c_str());
    return kUsageError;
  }
  print_summary(options_.report, records_);
  return exit_status_of(records_);
}

int grade(const Options& options) {
  Grader grader(options);
  return grader.grade();
}

}  // namespace vk::grade
