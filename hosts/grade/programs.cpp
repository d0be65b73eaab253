#include "programs.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "grade_options.h"

namespace vk::grade {

namespace {

namespace fs = std::filesystem;

enum class Language { none, c, cxx };

Language language_of(const fs::path& path) {
  const std::string extension = path.extension().string();
  if (extension == ".c") return Language::c;
  for (const char* cxx : {".cc", ".cpp", ".cxx", ".c++", ".C"})
    if (extension == cxx) return Language::cxx;
  return Language::none;
}

std::string display_name(std::string argument) {
  while (argument.size() > 1 && argument.back() == '/') argument.pop_back();
  while (argument.rfind("./", 0) == 0 && argument.size() > 2) argument.erase(0, 2);
  return argument;
}

}  // namespace

std::string folder_id(const std::string& name) {
  std::string id;
  for (char c : name) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_';
    if (id.size() < 40) id += safe ? c : '_';
  }
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return id + "-" + hex;
}

namespace {

// The directory this program lies in.
fs::path own_directory() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path(".") : self.parent_path();
}

// A program named alone is looked for along PATH.
std::string find_program(const std::string& name) {
  if (name.find('/') != std::string::npos) return fs::absolute(name).string();
  const char* path = std::getenv("PATH");
  std::istringstream places(path ? path : "/usr/bin:/bin");
  std::string place;
  while (std::getline(places, place, ':')) {
    const fs::path candidate = fs::path(place.empty() ? "." : place) / name;
    if (access(candidate.c_str(), X_OK) == 0) return fs::absolute(candidate).string();
  }
  return "";
}

// pkg-config's words: separated by blanks, a backslash keeping the next character.
std::vector<std::string> split_words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      word += text[++i];
      in_word = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

bool run_pkg_config(const std::string& what, std::vector<std::string>& words, std::string& error) {
  const std::string command = "pkg-config " + what + " kv318-headless 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    error = "cannot run pkg-config";
    return false;
  }
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  if (pclose(pipe) != 0) {
    error = "cannot find the toolkit's pkg-config module kv318-headless (is pkg-config installed?): " + text;
    return false;
  }
  words = split_words(text);
  return true;
}

// A compiler as $CC or $CXX names it (maybe with options), else its usual name.
bool find_compiler(const char* variable, const char* usual, std::vector<std::string>& compiler, std::string& error) {
  const char* named = std::getenv(variable);
  compiler = split_words(named && *named ? named : usual);
  if (compiler.empty()) compiler = {usual};
  const std::string path = find_program(compiler.front());
  if (path.empty()) {
    error = "cannot find the compiler '" + compiler.front() + "' (set " + variable + ")";
    return false;
  }
  compiler.front() = path;
  return true;
}

// Every file readable, and folders enterable, by the user the build runs as.
void open_for_reading(const fs::path& directory) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory)) {
    if (entry.is_symlink()) continue;
    const bool executable = entry.is_directory() ||
                            (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
    fs::permissions(entry.path(), executable ? fs::perms(0755) : fs::perms(0644));
  }
}

}  // namespace

Program describe_program(const std::string& argument) {
  Program program;
  program.name = display_name(argument);
  program.path = argument;
  program.id = folder_id(program.name);
  std::error_code error;
  const fs::file_status status = fs::status(argument, error);
  if (error || !fs::exists(status)) throw UsageError("cannot read '" + argument + "': no such file or folder");
  if (fs::is_directory(status)) return program;
  if (fs::is_regular_file(status) && language_of(argument) != Language::none) return program;
  if (fs::is_regular_file(status) && access(argument.c_str(), X_OK) == 0) {
    program.built = true;
    return program;
  }
  throw UsageError("'" + argument + "' is not a C or C++ source, a folder of sources or a program");
}

std::optional<Toolchain> find_toolchain(std::string& error) {
  Toolchain toolchain;
  if (!find_compiler("CC", "cc", toolchain.c_compiler, error) ||
      !find_compiler("CXX", "c++", toolchain.cxx_compiler, error))
    return std::nullopt;
  // This installation's module first, then wherever PKG_CONFIG_PATH says.
  std::string modules = (own_directory() / KV318_GRADE_PKGCONFIG_FROM_BIN).lexically_normal().string();
  if (const char* more = std::getenv("PKG_CONFIG_PATH"); more && *more) modules += std::string(":") + more;
  setenv("PKG_CONFIG_PATH", modules.c_str(), 1);
  if (!run_pkg_config("--cflags", toolchain.cflags, error) || !run_pkg_config("--libs", toolchain.libs, error))
    return std::nullopt;
  for (const std::string& word : toolchain.libs)
    if (word.rfind("-fsanitize=", 0) == 0 && word.find("address") != std::string::npos) toolchain.sanitized = true;
  return toolchain;
}

bool copy_sources(const Program& program, const std::string& directory, std::vector<std::string>& sources,
                  std::string& error) {
  std::error_code failure;
  const fs::path from(program.path);
  if (fs::is_directory(from)) {
    fs::copy(from, directory, fs::copy_options::recursive | fs::copy_options::copy_symlinks, failure);
  } else {
    fs::copy_file(from, fs::path(directory) / from.filename(), failure);
  }
  if (failure) {
    error = "cannot copy " + program.path + ": " + failure.message();
    return false;
  }
  open_for_reading(directory);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory)) {
    if (entry.is_regular_file() && !entry.is_symlink() && language_of(entry.path()) != Language::none)
      sources.push_back(fs::relative(entry.path(), directory).string());
  }
  std::sort(sources.begin(), sources.end());
  if (sources.empty()) error = "no C or C++ source in " + program.path;
  return !sources.empty();
}

std::vector<std::vector<std::string>> build_commands(const Toolchain& toolchain, const std::vector<std::string>& sources,
                                                     const std::string& output) {
  std::vector<std::vector<std::string>> commands;
  std::vector<std::string> objects;
  bool any_cxx = false;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const bool cxx = language_of(sources[i]) == Language::cxx;
    any_cxx = any_cxx || cxx;
    std::vector<std::string> command = cxx ? toolchain.cxx_compiler : toolchain.c_compiler;
    if (cxx) command.push_back("-std=c++20");
    command.insert(command.end(), {"-O2", "-I."});
    command.insert(command.end(), toolchain.cflags.begin(), toolchain.cflags.end());
    objects.push_back("kv318-grade-object-" + std::to_string(i) + ".o");
    command.insert(command.end(), {"-c", sources[i], "-o", objects.back()});
    commands.push_back(command);
  }
  std::vector<std::string> link = any_cxx ? toolchain.cxx_compiler : toolchain.c_compiler;
  link.insert(link.end(), objects.begin(), objects.end());
  link.insert(link.end(), {"-o", output});
  link.insert(link.end(), toolchain.libs.begin(), toolchain.libs.end());
  commands.push_back(link);
  return commands;
}

}  // namespace vk::grade
