// Benchmarks of the number engine and of the whole calculation, beside the floor for the
// calculation: the same bytes written to the same folder with the same create, write, fsync,
// rename and folder-fsync steps and nothing else.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/calculate.h"
#include "engine/model.h"
#include "engine/table_file.h"
#include "fake_form.h"
#include "numtext/numtext.h"

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

CalcState DefaultOil() {
  CalcState s;
  s.visc40 = 320;
  s.visc100 = 35;
  FitViscosityLine(s);
  return s;
}

void BM_FitViscosityLine(benchmark::State& state) {
  CalcState s = DefaultOil();
  for (auto _ : state) {
    FitViscosityLine(s);
    benchmark::DoNotOptimize(s.intercept);
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

// The whole calculation against the in-memory window, the table file included.
void BM_CalculateViscosity(benchmark::State& state) {
  TempHome home;
  FakeForm form;
  for (auto _ : state) {
    CalculateViscosity();
    form.ClearCalls();
  }
}
BENCHMARK(BM_CalculateViscosity)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor: the same bytes, the same file-system steps, nothing else.
void BM_ReplaceFloor(benchmark::State& state) {
  TempHome home;
  CalcState s = DefaultOil();
  const std::string bytes = ViscosityTableText(s);
  const std::string target = home.File(kTableFileName).string();
  const std::string temporary = home.File(".floor.tmp").string();
  const std::string folder = home.Path().string();
  for (auto _ : state) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 || std::rename(temporary.c_str(), target.c_str())) {
      state.SkipWithError("file-system step failed");
      break;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }
}
BENCHMARK(BM_ReplaceFloor)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace project1

BENCHMARK_MAIN();
