// Runs of untrusted programs: each limit and each wall ends a run the way
// the grader reports it, and nothing a run starts outlives it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sandbox.h"

namespace vk::grade {
namespace {

namespace fs = std::filesystem;

class Sandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::TempDir() + "sandbox-test-" + std::to_string(getpid()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    pool_ = std::make_unique<Pool>(2);
    own_folder(folder_);
    pool_->probe(folder_);
  }
  void TearDown() override {
    pool_.reset();
    fs::remove_all(folder_);
  }

  void own_folder(const std::string& folder) {
    fs::permissions(folder, fs::perms(0777));
    if (geteuid() == 0) {
      ASSERT_EQ(chown(folder.c_str(), pool_->run_user(), pool_->run_user()), 0);
    }
  }

  Command shell(const std::string& script, double seconds = 5) {
    Command command;
    command.argv = {"/bin/sh", "-c", script};
    command.directory = folder_;
    command.output = folder_ + "/output";
    command.environment = {"PATH=/usr/bin:/bin"};
    command.limits.wall_seconds = seconds;
    command.limits.cpu_seconds = static_cast<long>(std::ceil(seconds));
    return command;
  }

  Outcome run(Command command) {
    Outcome result;
    pool_->submit(std::move(command), [&result](const Outcome& outcome) { result = outcome; });
    EXPECT_TRUE(pool_->run());
    return result;
  }

  std::string output() {
    std::ifstream in(folder_ + "/output");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string folder_;
  std::unique_ptr<Pool> pool_;
};

using Ending = Outcome::Ending;

TEST_F(Sandbox, EachWayARunEndsIsToldApart) {
  struct Case {
    const char* name;
    std::string script;
    double seconds;
    Ending ending;
    int code;
  };
  const Case cases[] = {
      {"exits with its status", "echo out; echo err >&2; exit 3", 5, Ending::exited, 3},
      {"dies of a signal", "kill -SEGV $$", 5, Ending::signalled, SIGSEGV},
      {"sleeps past the wall clock", "sleep 30", 0.5, Ending::out_of_time, 0},
      {"spins past its processor time", "while :; do :; done", 1, Ending::signalled, SIGXCPU},
      {"writes too large a file", "exec head -c 70000000 /dev/zero > big", 5, Ending::signalled, SIGXFSZ},
      {"runs out of address space", "exec dd if=/dev/zero of=/dev/null bs=900M count=1", 5, Ending::exited, 1},
  };
  for (const Case& c : cases) {
    Command command = shell(c.script, c.seconds);
    // The processor limit is the one hit first: a spinning run has a second more of wall clock.
    if (c.code == SIGXCPU) command.limits.wall_seconds = 5;
    const Outcome outcome = run(command);
    EXPECT_EQ(outcome.ending, c.ending) << c.name << ": " << outcome.failure;
    EXPECT_EQ(outcome.code, c.code) << c.name;
    if (c.ending == Ending::out_of_time) {
      EXPECT_LT(outcome.wall_seconds, c.seconds + 2) << c.name;
    }
  }
  EXPECT_EQ(run(shell("echo out; echo err >&2")).ending, Ending::exited);
  EXPECT_EQ(output(), "out\nerr\n") << "standard output and error both kept";
}

TEST_F(Sandbox, AProgramThatCannotStartIsNotStarted) {
  Command command = shell("");
  command.argv = {folder_ + "/no-such-program"};
  const Outcome outcome = run(command);
  EXPECT_EQ(outcome.ending, Ending::not_started);
  EXPECT_NE(outcome.failure.find("No such file"), std::string::npos) << outcome.failure;
}

TEST_F(Sandbox, NothingARunStartsOutlivesIt) {
  const std::string marker = folder_ + "/still-running";
  // A detached child in its own session would, without the run's process namespace or group, live on.
  const Outcome outcome = run(shell("(setsid sh -c 'sleep 2; touch " + marker + "' &); echo started"));
  EXPECT_EQ(outcome.ending, Ending::exited);
  sleep(3);
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(Sandbox, ProcessesAreLimited) {
  Command command = shell("for i in 1 2 3 4 5 6 7 8 9 10; do sleep 1 & done; wait");
  command.limits.processes = 4;
  const Outcome outcome = run(command);
  EXPECT_FALSE(outcome.ending == Ending::exited && outcome.code == 0) << "ten processes under a limit of four";
}

TEST_F(Sandbox, WhereTheKernelAllowsARunHasNoNetworkAndWritesOnlyInItsFolder) {
  if (!pool_->fully_isolated()) GTEST_SKIP() << pool_->isolation();
  const std::string outside = testing::TempDir() + "sandbox-escape-" + std::to_string(getpid());
  const Outcome written = run(shell("echo x > inside; echo x > " + outside));
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_TRUE(fs::exists(folder_ + "/inside"));
  EXPECT_NE(written.code, 0) << "the write outside fails";
  // No interface but a loopback that is down: a connection fails at once.
  Command connect = shell("exec 3<>/dev/tcp/192.0.2.1/80", 3);
  connect.argv = {"/bin/bash", "-c", connect.argv.back()};
  const Outcome connected = run(connect);
  EXPECT_EQ(connected.ending, Ending::exited);
  EXPECT_NE(connected.code, 0);
  fs::remove(outside);
}

}  // namespace
}  // namespace vk::grade
