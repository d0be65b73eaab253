#include "grade_options.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vk::grade {

const char* const kUsage =
    "usage: kv318-grade --reference REF --tests DIR [options] SUBMISSION...\n"
    "       kv318-grade --merge [--report DIR] [--gradescope FILE] REPORT...\n"
    "Grades KV318 programs: plays every test script (DIR/*.scr) into the reference and into\n"
    "each submission, headless and with the same seed, and compares the message logs and\n"
    "the last pictures shown. REF and each SUBMISSION are a C or C++ source file, a folder\n"
    "of sources, or a program built with kv318-headless; sources are built against the\n"
    "installed toolkit. Lines of a test script starting with '#' are comments.\n"
    "  --reference REF      the program whose runs are right\n"
    "  --tests DIR          the test scripts: every DIR/*.scr is one test\n"
    "  --report DIR         where index.html, results.json and junit.xml go (default grade-report)\n"
    "  --jobs N             runs side by side (default: the machine's cores)\n"
    "  --shard I/N          grade only part I of N of the submissions (for CI machines)\n"
    "  --time-limit S       wall-clock and processor seconds per run (default 10)\n"
    "  --memory-limit MB    address space per run (default 512; 0 for none)\n"
    "  --seed N             the programs' calendar clock at start-up (default 1)\n"
    "  --tolerance PIXELS   pixels that may differ in a picture (default 0)\n"
    "  --mask X1,Y1,X2,Y2   leave out the rectangle between these corners, in the toolkit's\n"
    "                       coordinates (may be given again)\n"
    "  --every-frame        compare every frame shown, not only the last\n"
    "  --gradescope FILE    also write Gradescope's results.json for the one submission\n"
    "  --merge REPORT...    join the reports of --shard runs into --report\n"
    "  --help, --version\n"
    "Exit status: 0 when every submission passed every test, 1 when not, 2 for a usage error.\n";

namespace {

[[noreturn]] void refuse(const std::string& message) { throw UsageError(message); }

// An option's value: after '=' in the same word (--seed=3), else the next word.
struct Words {
  Words(int count, char** words) : argc(count), argv(words) {}
  int argc;
  char** argv;
  int i = 1;
  std::string name;    // the option, without any "=value"
  std::string inline_value;
  bool has_inline = false;

  const char* value() {
    if (has_inline) {
      if (inline_value.empty()) refuse("option " + name + " needs a value, not an empty one");
      has_inline = false;
      return inline_value.c_str();
    }
    if (i + 1 >= argc) refuse("option " + name + " needs a value");
    if (argv[i + 1][0] == '\0') refuse("option " + name + " needs a value, not an empty one");
    return argv[++i];
  }
};

long long whole_number(const char* option, const char* text, long long low, long long high) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) {
    refuse(std::string("invalid number for ") + option + ": '" + text + "'");
  }
  return value;
}

double seconds(const char* option, const char* text) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || value <= 0 || value > 86400) {
    refuse(std::string("invalid number of seconds for ") + option + ": '" + text + "'");
  }
  return value;
}

// "I/N" with 1 <= I <= N.
void read_shard(const char* text, Options& options) {
  const char* slash = std::strchr(text, '/');
  if (slash == nullptr) refuse(std::string("--shard needs I/N, not '") + text + "'");
  const std::string index(text, slash);
  options.shards = static_cast<int>(whole_number("--shard", slash + 1, 1, 100000));
  options.shard = static_cast<int>(whole_number("--shard", index.c_str(), 1, options.shards));
}

Mask read_mask(const char* text) {
  long long corners[4];
  std::string rest = text;
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = rest.find(',');
    if ((comma == std::string::npos) != (i == 3)) refuse(std::string("--mask needs X1,Y1,X2,Y2, not '") + text + "'");
    const std::string part = rest.substr(0, comma);
    corners[i] = whole_number("--mask", part.c_str(), -100000, 100000);
    rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
  }
  return {static_cast<int>(corners[0]), static_cast<int>(corners[1]), static_cast<int>(corners[2]),
          static_cast<int>(corners[3])};
}

void check_complete(const Options& options) {
  if (options.merge) {
    if (!options.reference.empty() || !options.tests.empty()) refuse("--merge joins reports: it takes no --reference or --tests");
    if (options.inputs.empty()) refuse("--merge needs the reports to join");
    return;
  }
  if (options.reference.empty()) refuse("--reference REF is needed (see --help)");
  if (options.tests.empty()) refuse("--tests DIR is needed (see --help)");
  if (options.inputs.empty()) refuse("no submission to grade (see --help)");
  if (!options.gradescope.empty() && options.inputs.size() != 1) {
    refuse("--gradescope writes the results of one submission, not of " + std::to_string(options.inputs.size()));
  }
}

}  // namespace

Request read_options(int argc, char** argv) {
  Request request;
  Options& options = request.options;
  bool only_inputs = false;
  for (Words words(argc, argv); words.i < argc; ++words.i) {
    const std::string arg = argv[words.i];
    if (only_inputs || arg.size() < 2 || arg[0] != '-') {
      options.inputs.push_back(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    words.has_inline = arg.rfind("--", 0) == 0 && equals != std::string::npos;
    words.name = words.has_inline ? arg.substr(0, equals) : arg;
    words.inline_value = words.has_inline ? arg.substr(equals + 1) : "";
    const std::string& name = words.name;
    if (name == "--") {
      only_inputs = true;
    } else if (name == "--help") {
      request.answer = kUsage;
      return request;
    } else if (name == "--version") {
      request.answer = std::string("kv318-grade ") + VORKAN_VERSION + "\n";
      return request;
    } else if (name == "--reference") {
      options.reference = words.value();
    } else if (name == "--tests") {
      options.tests = words.value();
    } else if (name == "--report") {
      options.report = words.value();
    } else if (name == "--jobs") {
      options.jobs = static_cast<int>(whole_number("--jobs", words.value(), 1, 1024));
    } else if (name == "--shard") {
      read_shard(words.value(), options);
    } else if (name == "--time-limit") {
      options.time_limit = seconds("--time-limit", words.value());
    } else if (name == "--memory-limit") {
      options.memory_limit_mb = static_cast<long>(whole_number("--memory-limit", words.value(), 0, 1 << 24));
    } else if (name == "--seed") {
      options.seed = static_cast<unsigned long long>(whole_number("--seed", words.value(), 0, UINT32_MAX));
    } else if (name == "--tolerance") {
      options.tolerance = static_cast<long>(whole_number("--tolerance", words.value(), 0, LONG_MAX));
    } else if (name == "--mask") {
      options.masks.push_back(read_mask(words.value()));
    } else if (name == "--every-frame") {
      options.every_frame = true;
    } else if (name == "--gradescope") {
      options.gradescope = words.value();
    } else if (name == "--merge") {
      options.merge = true;
    } else {
      refuse("unknown option '" + arg + "' (see --help)");
    }
    if (words.has_inline) refuse("option " + name + " takes no value");
  }
  check_complete(options);
  return request;
}

}  // namespace vk::grade
