/* Runs two programs alternately, many times each, with stdin from a file
 * and no shell in between; prints the median wall time of each and the
 * median of the pairwise ratios (second / first).
 * Usage: runner N STDIN_FILE FLOOR_PROGRAM OTHER_PROGRAM */
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

static double run_once(const char* program, const char* input) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  char* argv[] = {(char*)program, NULL};
  struct timespec a, b;
  clock_gettime(CLOCK_MONOTONIC, &a);
  pid_t pid;
  if (posix_spawn(&pid, program, &actions, NULL, argv, environ) != 0) {
    perror("posix_spawn");
    exit(1);
  }
  int status;
  waitpid(pid, &status, 0);
  clock_gettime(CLOCK_MONOTONIC, &b);
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "%s failed (status %d)\n", program, status);
    exit(1);
  }
  return (double)(b.tv_sec - a.tv_sec) * 1e6 + (double)(b.tv_nsec - a.tv_nsec) / 1e3;
}

static int by_value(const void* x, const void* y) {
  double a = *(const double*)x, b = *(const double*)y;
  return (a > b) - (a < b);
}

static double median(double* v, int n) {
  qsort(v, (size_t)n, sizeof *v, by_value);
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: %s N STDIN_FILE FLOOR OTHER\n", argv[0]);
    return 2;
  }
  int n = atoi(argv[1]);
  double* floor_us = malloc(sizeof(double) * (size_t)n);
  double* other_us = malloc(sizeof(double) * (size_t)n);
  double* ratio = malloc(sizeof(double) * (size_t)n);
  for (int i = 0; i < 20; ++i) { /* warm-up */
    run_once(argv[3], argv[2]);
    run_once(argv[4], argv[2]);
  }
  for (int i = 0; i < n; ++i) {
    floor_us[i] = run_once(argv[3], argv[2]);
    other_us[i] = run_once(argv[4], argv[2]);
    ratio[i] = other_us[i] / floor_us[i];
  }
  printf("runs: %d each\n", n);
  printf("median floor:      %.1f us\n", median(floor_us, n));
  printf("median zorvandrel: %.1f us\n", median(other_us, n));
  printf("median ratio:      %.3f\n", median(ratio, n));
  return 0;
}
