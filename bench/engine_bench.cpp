// Benchmarks of the number engine and of the whole calculation, beside the floor for the
// calculation: the same bytes written to the same folder with the same create, write, fsync,
// rename and folder-fsync steps and nothing else.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculate.h"
#include "engine/model.h"
#include "engine/table_text.h"
#include "numtext/numtext.h"
#include "table_file/table_file.h"
#include "test_support.h"

namespace project1 {
namespace {

void BM_TextToNumber(benchmark::State& state) {
  const std::string texts[] = {"320", "0.87", "-273.16", "412,753.932", "2.5E-4"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToNumber(texts[i++ % 5]));
}
BENCHMARK(BM_TextToNumber);

void BM_FormatNumber(benchmark::State& state, std::string_view pattern, double value) {
  for (auto _ : state) benchmark::DoNotOptimize(FormatNumber(value, pattern));
}
BENCHMARK_CAPTURE(BM_FormatNumber, kinematic, kKinematicPattern, 85.64225);
BENCHMARK_CAPTURE(BM_FormatNumber, dynamic, kDynamicPattern, 1.0796544e-05);
BENCHMARK_CAPTURE(BM_FormatNumber, temperature, kTemperaturePattern, -40.0);
BENCHMARK_CAPTURE(BM_FormatNumber, table_viscosity, kTableViscosityPattern, 412753.932);

CalcState DefaultOil() { return FittedLine(320, 35); }

void BM_FitViscosityLine(benchmark::State& state) {
  CalcState s = DefaultOil();
  for (auto _ : state) {
    FitViscosityLine(s);
    benchmark::DoNotOptimize(s.line.a);
  }
}
BENCHMARK(BM_FitViscosityLine);

void BM_ViscosityAt(benchmark::State& state) {
  CalcState s = DefaultOil();
  double t = 71;
  for (auto _ : state) benchmark::DoNotOptimize(ViscosityAt(s, t));
}
BENCHMARK(BM_ViscosityAt);

void BM_TableTextInMemory(benchmark::State& state) {
  CalcState s = DefaultOil();
  for (auto _ : state) benchmark::DoNotOptimize(ViscosityTableText(s));
}
BENCHMARK(BM_TableTextInMemory)->Unit(benchmark::kMicrosecond);

// The window's starting inputs.
const CalculationInputs kStartingInputs = {"320", "35", "71", "150", "0.87"};

// The whole calculation, the table file included.
void BM_Calculate(benchmark::State& state) {
  TempHome home;
  for (auto _ : state) benchmark::DoNotOptimize(Calculate(kStartingInputs));
}
BENCHMARK(BM_Calculate)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor: the same bytes, the same file-system steps, nothing else.
class ReplaceFloor {
 public:
  ReplaceFloor(const std::filesystem::path& folder, std::string bytes)
      : bytes_(std::move(bytes)),
        target_((folder / kTableFileName).string()),
        temporary_((folder / ".floor.tmp").string()),
        folder_(folder.string()) {}

  // One replace; false when a step failed.
  bool Run() const {
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written =
        ::write(fd, bytes_.data(), bytes_.size()) == static_cast<ssize_t>(bytes_.size()) &&
        ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
      ::unlink(temporary_.c_str());
      return false;
    }
    const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    ::fsync(dir);
    ::close(dir);
    return true;
  }

 private:
  std::string bytes_;
  std::string target_;
  std::string temporary_;
  std::string folder_;
};

void BM_ReplaceFloor(benchmark::State& state) {
  TempHome home;
  CalcState s = DefaultOil();
  const ReplaceFloor floor(home.Path(), ViscosityTableText(s));
  for (auto _ : state) {
    if (!floor.Run()) {
      state.SkipWithError("file-system step failed");
      break;
    }
  }
}
BENCHMARK(BM_ReplaceFloor)->Unit(benchmark::kMicrosecond)->UseRealTime();

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (values.size() % 2 != 0) return *middle;
  return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

// The whole calculation and its floor in turn, alternating which goes first, in the same folder,
// so that both meet the same disk: fsync time drifts far more between runs than within a pair.
// Reports the median of each in microseconds and their ratio.
void BM_CalculationVsFloor(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  TempHome home;
  CalcState s = DefaultOil();
  const ReplaceFloor floor(home.Path(), ViscosityTableText(s));
  std::vector<double> calculation_us;
  std::vector<double> floor_us;
  bool calculation_first = true;
  const auto micros = [](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
  };
  for (auto _ : state) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool calculation = (turn == 0) == calculation_first;
      const auto start = Clock::now();
      if (calculation) {
        benchmark::DoNotOptimize(Calculate(kStartingInputs));
      } else if (!floor.Run()) {
        state.SkipWithError("file-system step failed");
        return;
      }
      const double elapsed = micros(Clock::now() - start);
      (calculation ? calculation_us : floor_us).push_back(elapsed);
    }
    calculation_first = !calculation_first;
  }
  const double calculation_median = Median(calculation_us);
  const double floor_median = Median(floor_us);
  state.counters["calculation_us"] = calculation_median;
  state.counters["floor_us"] = floor_median;
  state.counters["ratio"] = floor_median > 0 ? calculation_median / floor_median : 0;
}
BENCHMARK(BM_CalculationVsFloor)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(1000);

}  // namespace
}  // namespace project1

BENCHMARK_MAIN();
