// The floor for the batch's throughput: reading its input and nothing more. The file is read in
// blocks of the batch's size, each line is split at its commas and every field that is a number
// is read as one (names are skipped). Prints the count of lines and the sum of the numbers, so
// that nothing read can be left out by the compiler. CPU-bound as the batch is, so that a loaded
// machine slows both alike, where `cat` is mostly system time.
//
//   read_floor FILE

#include <fast_float/fast_float.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 18;

struct Totals {
  long lines = 0;
  double sum = 0;
};

void ReadLine(const char* begin, const char* end, Totals& totals) {
  ++totals.lines;
  while (true) {
    const auto* comma = static_cast<const char*>(std::memchr(begin, ',', end - begin));
    const char* field_end = comma == nullptr ? end : comma;
    double value = 0;
    if (fast_float::from_chars(begin, field_end, value).ec == std::errc()) totals.sum += value;
    if (comma == nullptr) return;
    begin = comma + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: read_floor FILE\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  if (fd < 0) {
    std::perror("read_floor");
    return 1;
  }
  std::vector<char> block(kBlock);
  std::string pending;
  Totals totals;
  while (true) {
    const ssize_t got = read(fd, block.data(), block.size());
    if (got < 0) {
      std::perror("read_floor");
      return 1;
    }
    if (got == 0) break;
    const char* at = block.data();
    const char* const end = at + got;
    while (at < end) {
      const auto* line_end = static_cast<const char*>(std::memchr(at, '\n', end - at));
      if (line_end == nullptr) {
        pending.append(at, end);
        break;
      }
      if (pending.empty()) {
        ReadLine(at, line_end, totals);
      } else {
        pending.append(at, line_end);
        ReadLine(pending.data(), pending.data() + pending.size(), totals);
        pending.clear();
      }
      at = line_end + 1;
    }
  }
  if (!pending.empty()) ReadLine(pending.data(), pending.data() + pending.size(), totals);
  close(fd);
  std::printf("%ld lines, numbers summing to %.17g\n", totals.lines, totals.sum);
  return 0;
}
