// Batch conversion speed of ruruzir-convert, in rows per second.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "convert/converter.h"

using namespace ruruzir;

namespace {

constexpr int kRows = 10000;

// A temporary file of dew points from -100 to +40 degC, one per row.
FILE* MakeRows() {
  FILE* rows = std::tmpfile();
  for (int i = 0; i < kRows; ++i) std::fprintf(rows, "%.1f\n", -100.0 + 140.0 * i / kRows);
  return rows;
}

size_t ReadFile(void* context, char* data, size_t size) {
  return std::fread(data, 1, size, static_cast<FILE*>(context));
}

bool WriteFile(void* context, const char* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<FILE*>(context)) == size;
}

void BatchConversion(benchmark::State& state, int sourceUnit, int targetUnit) {
  FILE* rows = MakeRows();
  FILE* sink = std::fopen("/dev/null", "w");
  ConverterRequest request = DefaultConverterRequest();
  request.sourceUnit = sourceUnit;
  request.targetUnit = targetUnit;
  for (auto _ : state) {
    std::rewind(rows);
    ruruzir::BatchSummary summary;
    benchmark::DoNotOptimize(
        ConvertBatch(request, ruruzir::BatchStreams{ReadFile, WriteFile, rows, sink}, &summary));
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  std::fclose(sink);
  std::fclose(rows);
}

// Dew point to ppmV: one saturation pressure per row.
void BM_BatchFrostPointToPpmV(benchmark::State& state) {
  BatchConversion(state, 0, 4);
}
// Dew point to dew point: saturation pressure and the dew/frost point solver per row.
void BM_BatchFrostPointToFrostPoint(benchmark::State& state) {
  BatchConversion(state, 0, 0);
}

BENCHMARK(BM_BatchFrostPointToPpmV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchFrostPointToFrostPoint)->Unit(benchmark::kMillisecond);

}  // namespace
