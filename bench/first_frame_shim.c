/* Preloaded into vorkan by windowed_measure.py: reports on stderr the monotonic
 * time at which the first frame reached the screen and the CPU time the
 * process had used by then (both in nanoseconds). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

typedef struct SDL_Window SDL_Window;

int SDL_UpdateWindowSurface(SDL_Window* window) {
  static int (*real)(SDL_Window*) = 0;
  static int reported = 0;
  if (!real) real = (int (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
  int result = real(window);
  if (!reported) {
    struct timespec now, cpu;
    reported = 1;
    clock_gettime(CLOCK_MONOTONIC, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    fprintf(stderr, "FIRST_FRAME %lld %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec,
            (long long)cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
    fflush(stderr);
  }
  return result;
}
