#include "end_request.h"

#include <unistd.h>

#include <csignal>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>

namespace vk {
namespace {

volatile std::sig_atomic_t caught_signal = 0;
volatile std::sig_atomic_t pending_requests = 0;

void note_signal(int signal_number) {
  caught_signal = signal_number;
  pending_requests = pending_requests + 1;
}

}  // namespace

void end_on_signals() {
  struct sigaction action = {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
}

bool take_end_request() {
  if (pending_requests == 0) return false;
  pending_requests = 0;
  return true;
}

int end_signal() { return caught_signal; }

void end_process_as_asked(int status) {
  std::fflush(nullptr);
  const int signal_number = caught_signal;
  if (signal_number != 0) {
    std::signal(signal_number, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal_number);
  }
  _exit(status);
}

}  // namespace vk
