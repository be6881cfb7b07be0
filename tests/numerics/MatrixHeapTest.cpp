// The per-point work of the transformation chain (3x3 times 3x1, plus 3x1)
// must not touch the heap: small matrices live in the arrays' inline storage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "numerics/ZRTMatrix.h"
#include "HeapCounter.h"

namespace {

using ZRTMatrixSys::ZRTMatrix;

TEST(MatrixHeap, PointStepUsesNoHeap) {
  ZRTMatrix rotation(3, 3);
  ZRTMatrix translation(3, 1);
  ZRTMatrix point(3, 1);
  for (int k = 0; k < 9; ++k) rotation[k] = k % 4 == 0 ? 1.0 : 1e-6 * k;
  for (int k = 0; k < 3; ++k) {
    translation[k] = 10.0 * k;
    point[k] = 1000.0 + k;
  }
  const std::size_t before = transref::testing::HeapAllocations();
  ZRTMatrix result = rotation * point + translation;
  const ZRTMatrix scaled = 1.000001 * rotation;
  const ZRTMatrix copy = result;
  EXPECT_EQ(transref::testing::HeapAllocations(), before);
  EXPECT_EQ(result.Count(), 3);
  EXPECT_EQ(copy[2], result[2]);
  EXPECT_EQ(scaled.Count(), 9);

  // A large matrix does use the heap (the counter works).
  const ZRTMatrix large(20, 20);
  EXPECT_GT(transref::testing::HeapAllocations(), before);
}

}  // namespace
