// The per-point work of the transformation chain (3x3 times 3x1, plus 3x1)
// must not touch the heap: small matrices live in the arrays' inline storage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "numerics/ZRTMatrix.h"

namespace {
std::size_t gHeapAllocations = 0;
}
void* operator new(std::size_t size) {
  ++gHeapAllocations;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

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
  const std::size_t before = gHeapAllocations;
  ZRTMatrix result = rotation * point + translation;
  const ZRTMatrix scaled = 1.000001 * rotation;
  const ZRTMatrix copy = result;
  EXPECT_EQ(gHeapAllocations, before);
  EXPECT_EQ(result.Count(), 3);
  EXPECT_EQ(copy[2], result[2]);
  EXPECT_EQ(scaled.Count(), 9);

  // A large matrix does use the heap (the counter works).
  const ZRTMatrix large(20, 20);
  EXPECT_GT(gHeapAllocations, before);
}

}  // namespace
