/* The cost floor of one Zorvandrel run: a minimal C program that performs
 * exactly the input and output of the run "ap", 1 3 1 1 1 (template 14): one
 * read of the answers, the dialogue written to stdout in 256-byte loads, the
 * program file created and written, the log line appended. The bytes come
 * from bench_data.h, which run.sh makes from a real run. */
#include <fcntl.h>
#include <unistd.h>

#include "bench_data.h"

static void write_loads(int fd, const unsigned char* p, unsigned long n) {
  while (n > 0) {
    unsigned long k = n < 256 ? n : 256;
    if (write(fd, p, k) != (long)k) _exit(101);
    p += k;
    n -= k;
  }
}

int main(void) {
  char answers[256];
  if (read(0, answers, sizeof answers) < 0) return 106;
  /* The dialogue up to the generation step, the program file, the log line,
   * then the rest of the dialogue, in the order the run does them. */
  write_loads(1, dialogue, dialogue_before_file);
  int fd = open("ap.txt", O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return 5;
  write_loads(fd, program, sizeof program);
  close(fd);
  fd = open("logfile.txt", O_WRONLY | O_APPEND);
  if (fd < 0) return 2;
  write_loads(fd, log_line, sizeof log_line);
  close(fd);
  write_loads(1, dialogue + dialogue_before_file, sizeof dialogue - dialogue_before_file);
  return 0;
}
