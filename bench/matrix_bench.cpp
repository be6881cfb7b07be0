// Cost of the per-point work of the transformation chain: one 3x3 x 3x1
// product plus one 3x1 sum, through the matrix operators and written as plain
// doubles for comparison.
#include <benchmark/benchmark.h>

#include "numerics/ZRTMatrix.h"

namespace {

using ZRTMatrixSys::ZRTMatrix;

constexpr double kRotation[9] = {1.0000012,  -4.8e-6, 1.9e-6,  4.8e-6, 1.0000012,
                                 -2.7e-6,    -1.9e-6, 2.7e-6,  1.0000012};
constexpr double kTranslation[3] = {-67.35, 3.88, -38.22};
constexpr double kPoint[3] = {3873429.871, -4299887.402, -2431022.655};

// Fills a rotation, a translation and a point (matrices or plain arrays).
template <typename Rotation, typename Vector>
void Load(Rotation& rotation, Vector& translation, Vector& point) {
  for (int k = 0; k < 9; ++k) rotation[k] = kRotation[k];
  for (int k = 0; k < 3; ++k) {
    translation[k] = kTranslation[k];
    point[k] = kPoint[k];
  }
}

void BM_MatrixProductPlusSum(benchmark::State& state) {
  ZRTMatrix rotation(3, 3);
  ZRTMatrix translation(3, 1);
  ZRTMatrix point(3, 1);
  Load(rotation, translation, point);
  for (auto _ : state) {
    benchmark::DoNotOptimize(point);
    ZRTMatrix moved = rotation * point;
    ZRTMatrix result = moved + translation;
    benchmark::DoNotOptimize(result[0]);
  }
}
BENCHMARK(BM_MatrixProductPlusSum);

void BM_PlainDoublesProductPlusSum(benchmark::State& state) {
  double rotation[9];
  double translation[3];
  double point[3];
  Load(rotation, translation, point);
  for (auto _ : state) {
    benchmark::DoNotOptimize(point);
    double result[3];
    for (int i = 0; i < 3; ++i) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) sum += rotation[i * 3 + k] * point[k];
      result[i] = sum + translation[i];
    }
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_PlainDoublesProductPlusSum);

}  // namespace

BENCHMARK_MAIN();
