// kv318-grade: grades students' KV318 programs against a reference program
// by playing test scripts into both on the headless runner, into a report
// for people (index.html) and for autograders (results.json, junit.xml).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "grade_options.h"
#include "grading.h"

namespace {

int print_answer(const std::string& answer) {
  if (std::fputs(answer.c_str(), stdout) != EOF && std::fflush(stdout) == 0) return 0;
  std::fprintf(stderr, "kv318-grade: cannot write standard output: %s\n", std::strerror(errno));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vk::grade;
  try {
    const Request request = read_options(argc, argv);
    if (!request.answer.empty()) return print_answer(request.answer);
    return request.options.merge ? merge(request.options) : grade(request.options);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "kv318-grade: %s\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kv318-grade: %s\n", error.what());
  }
  return kUsageError;
}
