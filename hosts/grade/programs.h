// The programs graded: what each argument names (sources or a built
// program), and the commands that build sources against the installed
// toolkit (its pkg-config module kv318-headless).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox.h"

namespace vk::grade {

struct Program {
  std::string name;  // as the report shows it: the argument as given
  std::string path;  // the file or folder
  std::string id;    // a name for its folders: safe characters, unique per name
  bool built = false;  // a program already built, not sources
};

// A name for a folder or file made from `name`: its safe characters, and a
// hash of all of it, so that distinct names never share one.
std::string folder_id(const std::string& name);

// What `argument` names; throws UsageError when it is none of a C or C++
// source file, a folder or a program.
Program describe_program(const std::string& argument);

// How programs are built: the compilers and the toolkit's flags.
struct Toolchain {
  std::vector<std::string> c_compiler;    // an absolute path, maybe with options
  std::vector<std::string> cxx_compiler;
  std::vector<std::string> cflags;
  std::vector<std::string> libs;
  bool sanitized = false;  // the toolkit was built with AddressSanitizer: so are its programs
};

// Finds the compilers ($CC, $CXX, else cc and c++) and the toolkit's flags,
// through pkg-config with this installation's modules first; nullopt with `error`.
std::optional<Toolchain> find_toolchain(std::string& error);

// The sources of a program copied into `directory`, relative to it; false
// with `error` when it has none.
bool copy_sources(const Program& program, const std::string& directory, std::vector<std::string>& sources,
                  std::string& error);

// The compiler commands, one per source, then the link, all run in `directory`;
// the program is `directory`/`output`.
std::vector<std::vector<std::string>> build_commands(const Toolchain& toolchain, const std::vector<std::string>& sources,
                                                     const std::string& output);

}  // namespace vk::grade
