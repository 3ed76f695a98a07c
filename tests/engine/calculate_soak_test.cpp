// Many calculations in one process: open file descriptors and resident memory stay flat.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "engine/calculate.h"
#include "engine/model.h"
#include "table_file/replace_file.h"
#include "table_file/table_file.h"
#include "test_support.h"

#ifdef PROJECT1_ASAN
// The sanitizer runtime's count of the heap bytes in use (its allocator interface).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace project1 {
namespace {

#ifdef PROJECT1_ASAN
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count - 1;  // the listing's own descriptor
}

// VmRSS from /proc/self/status, in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return -1;
}

// Bytes the program holds on the heap now; -1 where the allocator does not tell.
long long HeapBytes() {
#ifdef PROJECT1_ASAN
  return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
  return -1;
#endif
}

// The system calls, but with an fsync that only counts: flushing to the disk neither takes nor
// gives descriptors or memory, and ten thousand of them would make the run a disk benchmark.
int fsyncs = 0;
const FileOps kCountedFsyncs = [] {
  FileOps calls = SystemFileOps();
  calls.flush = [](platform::FileHandle) {
    ++fsyncs;
    return std::error_code();
  };
  return calls;
}();

TEST(CalculateSoakTest, TenThousandCalculationsKeepDescriptorsAndMemoryFlat) {
  constexpr int kWarmUp = 200;
  constexpr int kCalculations = 10000;
  // Every calculation allocates and frees some kilobytes (texts, the 869-byte table). A leak of
  // 105 bytes or more per calculation adds up to 1 MiB over the run; glibc keeps freed memory
  // for reuse, so a flat run moves the resident size by a few pages only.
  constexpr long kResidentGrowthBoundKiB = 1024;
  // Under the address sanitizer the heap in use is counted exactly: a leak of 7 bytes or more
  // per calculation crosses 64 KiB.
  constexpr long long kHeapGrowthBoundBytes = 64 * 1024;

  TempHome home;
  const CalculationInputs oils[2] = {{"320", "35", "71", "150", "0.87"},
                                     {"68", "8.8", "71", "150", "0.87"}};
  int calculation = 0;
  CalculationOutcome last;
  auto calculate = [&] { last = Calculate(oils[calculation++ % 2], kCountedFsyncs); };
  // The results of the first calculation of each oil.
  std::vector<ShownResult> first_shown[2];
  for (int i = 0; i < kWarmUp; ++i) {
    calculate();
    if (i < 2) first_shown[i] = last.shown;
  }

  fsyncs = 0;
  const int descriptors_before = OpenDescriptors();
  const long resident_before = ResidentKiB();
  const long long heap_before = HeapBytes();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCalculations; ++i) calculate();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const int descriptors_after = OpenDescriptors();
  const long resident_after = ResidentKiB();
  const long long heap_after = HeapBytes();
  const int fsyncs_in_run = fsyncs;

  std::cout << kCalculations << " calculations in " << took.count() << " s ("
            << 1e6 * took.count() / kCalculations << " us each)\n"
            << "open descriptors before " << descriptors_before << ", after " << descriptors_after
            << "\n"
            << "resident memory before " << resident_before << " KiB, after " << resident_after
            << " KiB, growth " << resident_after - resident_before << " KiB\n";
  if (kAddressSanitizer) {
    std::cout << "heap in use before " << heap_before << " B, after " << heap_after << " B, growth "
              << heap_after - heap_before << " B\n";
  }
  RecordProperty("descriptors_before", descriptors_before);
  RecordProperty("descriptors_after", descriptors_after);
  RecordProperty("resident_before_kib", std::to_string(resident_before));
  RecordProperty("resident_after_kib", std::to_string(resident_after));

  // The last calculation went through to its end and shows what the first of its oil showed.
  ASSERT_TRUE(last.Succeeded()) << last.failure->what();
  const std::vector<ShownResult>& expected = first_shown[(calculation - 1) % 2];
  ASSERT_EQ(last.shown.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(last.shown[i].text, expected[i].text);
  EXPECT_EQ(last.table, home.File("Viscosity.txt"));
  EXPECT_EQ(fsyncs_in_run, 2 * kCalculations) << "each table, then its folder";
  EXPECT_EQ(descriptors_after, descriptors_before);
  ASSERT_GT(resident_before, 0);
  if (kAddressSanitizer) {
    // The address sanitizer holds freed blocks back (its quarantine) to catch use after free,
    // so the resident size grows with everything allocated, leaked or not; the heap in use
    // shows leaks.
    EXPECT_LT(heap_after - heap_before, kHeapGrowthBoundBytes);
  } else {
    EXPECT_LT(resident_after - resident_before, kResidentGrowthBoundKiB);
  }
}

}  // namespace
}  // namespace project1
