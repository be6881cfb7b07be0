#include "support/ZRTGenericArray.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <numeric>
#include <string>

// Heap allocations are counted so that the inline storage promise is checked.
#include "HeapCounter.h"

namespace {

using ZRTMatrixSys::ZRTArray;
using ZRTMatrixSys::ZRTArrayOfChar;
using ZRTMatrixSys::ZRTArrayOfUint;
using ZRTPrimitiveSys::ScopedReportCapture;

constexpr std::int32_t kInline = ZRTArray::kInlineCapacity;
constexpr std::int32_t kHeap = kInline + 5;

ZRTArray Sequence(std::int32_t count, double first) {
  ZRTArray array(count);
  for (std::int32_t i = 0; i < count; ++i) array[i] = first + i;
  return array;
}

void ExpectSequence(const ZRTArray& array, std::int32_t count, double first) {
  ASSERT_EQ(array.Count(), count);
  for (std::int32_t i = 0; i < count; ++i) EXPECT_EQ(array[i], first + i) << "at " << i;
}

TEST(ZRTGenericArrayTest, ResizeReportsChangeAndZeroFills) {
  for (const std::int32_t size : {3, kHeap}) {
    SCOPED_TRACE(size);
    ZRTArray array = Sequence(size, 7.0);
    EXPECT_FALSE(array.Resize(size));
    ExpectSequence(array, size, 7.0);  // same count keeps the values
    EXPECT_TRUE(array.Resize(size + 1));
    ASSERT_EQ(array.Count(), size + 1);
    for (double value : array) EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(array.Resize(0));
    EXPECT_EQ(array.Count(), 0);
    EXPECT_FALSE(array.HasStorage());
    EXPECT_FALSE(array.Resize(0));
  }
  ZRTArrayOfUint table(4);
  table[3] = 9;
  table.Resize(5);
  EXPECT_EQ(table[3], 0u);
  ZRTArrayOfChar chars(2);
  EXPECT_EQ(chars[0], '\0');
  ZRTArray negative(3);
  EXPECT_TRUE(negative.Resize(-2));
  EXPECT_FALSE(negative.HasStorage());
}

TEST(ZRTGenericArrayTest, AssignCopyToAndCopyConstructionCopyValues) {
  for (const std::int32_t size : {2, kHeap}) {
    SCOPED_TRACE(size);
    const ZRTArray source = Sequence(size, 1.5);
    ZRTArray assigned(9);
    assigned.Assign(source);
    ExpectSequence(assigned, size, 1.5);
    ZRTArray target;
    source.CopyTo(target);
    ExpectSequence(target, size, 1.5);
    ZRTArray copy(source);
    copy[0] = -1.0;  // the copy owns its storage
    EXPECT_EQ(source[0], 1.5);
    assigned.Assign(assigned);
    ExpectSequence(assigned, size, 1.5);
    assigned.Assign(ZRTArray());  // an empty source empties the target
    EXPECT_EQ(assigned.Count(), 0);
    EXPECT_FALSE(assigned.HasStorage());
  }
}

// Every combination of storage states: none, inline, heap.
TEST(ZRTGenericArrayTest, SwapTakeAndMoveAcrossStorageStates) {
  const std::int32_t sizes[] = {0, 3, kHeap};
  for (std::int32_t a : sizes) {
    for (std::int32_t b : sizes) {
      SCOPED_TRACE(std::to_string(a) + " <-> " + std::to_string(b));
      ZRTArray left = Sequence(a, 10.0);
      ZRTArray right = Sequence(b, 100.0);
      left.Swap(right);
      ExpectSequence(left, b, 100.0);
      ExpectSequence(right, a, 10.0);
      left.Take(right);
      ExpectSequence(left, a, 10.0);
      EXPECT_EQ(right.Count(), 0);
      EXPECT_FALSE(right.HasStorage());
      ZRTArray moved(std::move(left));
      ExpectSequence(moved, a, 10.0);
      ZRTArray assigned = Sequence(b, 1.0);
      assigned = std::move(moved);
      ExpectSequence(assigned, a, 10.0);
      // Writing through one object never shows in the other.
      if (a > 0) {
        ZRTArray other = Sequence(b, 100.0);
        other.Swap(assigned);
        other[0] = -5.0;
        ExpectSequence(assigned, b, 100.0);
      }
    }
  }
  ZRTArray self = Sequence(3, 1.0);
  self.Swap(self);
  self.Take(self);
  ExpectSequence(self, 3, 1.0);
}

TEST(ZRTGenericArrayTest, AppendJoinsAcrossInlineAndHeap) {
  ZRTArray left = Sequence(kInline - 1, 0.0);
  left.Append(Sequence(6, kInline - 1.0));
  ExpectSequence(left, kInline + 5, 0.0);
  left.Append(ZRTArray());
  ExpectSequence(left, kInline + 5, 0.0);
  ZRTArray twice = Sequence(2, 1.0);
  twice.Append(twice);
  ASSERT_EQ(twice.Count(), 4);
  EXPECT_EQ(twice[2], 1.0);
  EXPECT_EQ(twice[3], 2.0);
  ZRTArray empty;
  empty.Append(ZRTArray());
  EXPECT_FALSE(empty.HasStorage());
}

TEST(ZRTGenericArrayTest, PositionOutsideIsReportedAndYieldsFirstElement) {
  ZRTArray array = Sequence(3, 4.0);
  ScopedReportCapture capture;
  EXPECT_EQ(array[2], 6.0);
  EXPECT_EQ(capture.Count(), 0u);
  EXPECT_EQ(array[3], 4.0);  // one past the end
  EXPECT_EQ(array[-1], 4.0);
  ASSERT_EQ(capture.Count(), 2u);
  EXPECT_EQ(capture.Written()[0],
            "Erro: \nZRTPrimitiveSys::ZRTObjects: Objeto ZRTPrimitiveSys::ZRTObjects:\n"
            "Fora da Dimensão: Não foi possível acessar a posição\n");
  const ZRTArray& constant = array;
  EXPECT_EQ(constant[100], 4.0);
  EXPECT_EQ(capture.Count(), 3u);
}

TEST(ZRTGenericArrayTest, PositionInEmptyArrayYieldsZeroedSpare) {
  ZRTArray empty;
  ScopedReportCapture capture;
  empty[0] = 42.0;  // the write lands in the spare element
  EXPECT_EQ(empty[0], 0.0);
  EXPECT_EQ(capture.Count(), 2u);
  EXPECT_EQ(empty.Count(), 0);
}

TEST(ZRTGenericArrayTest, InjectedOutOfMemoryLeavesArrayEmptyWithFatalReport) {
  ScopedReportCapture capture;
  ZRTArray doubles = Sequence(3, 1.0);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  EXPECT_TRUE(doubles.Resize(kHeap));
  EXPECT_EQ(doubles.Count(), 0);
  EXPECT_FALSE(doubles.HasStorage());
  ASSERT_EQ(capture.Written().size(), 1u);
  EXPECT_EQ(capture.Written()[0], "Erro Fatal: \nMemory allocation:\nObject: double\n");
  EXPECT_EQ(capture.Count(), 1u);
  EXPECT_EQ(ZRTMatrixSys::testing::PendingAllocationFailures(), 0);

  ZRTMatrixSys::testing::FailNextAllocations(2);
  ZRTArrayOfUint table(3);
  ZRTArrayOfChar text(5);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(text.Count(), 0);
  EXPECT_EQ(capture.Texts()[1], "Memory allocation:\nObject: unsigned int");
  EXPECT_EQ(capture.Texts()[2], "Memory allocation:\nObject: char");

  // A failed copy leaves the target empty; the source is untouched.
  ZRTArray target = Sequence(7, 0.0);
  const ZRTArray source = Sequence(4, 2.0);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  target.Assign(source);
  EXPECT_EQ(target.Count(), 0);
  ExpectSequence(source, 4, 2.0);
  ZRTMatrixSys::testing::FailNextAllocations(1);
  ZRTArray copy(source);
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_EQ(capture.Count(), 5u);
  ZRTMatrixSys::testing::FailNextAllocations(0);
}

TEST(ZRTGenericArrayTest, SmallArraysStayOffTheHeap) {
  const std::size_t before = transref::testing::HeapAllocations();
  {
    ZRTArray matrix(9);
    ZRTArray vector(3);
    ZRTArray copy(matrix);
    copy.Swap(vector);
    copy.Append(matrix);  // 12 values: still inline
    ZRTArrayOfChar line(128);
    ZRTArrayOfUint table(3);
  }
  EXPECT_EQ(transref::testing::HeapAllocations(), before);
  ZRTArray large(kInline + 1);
  EXPECT_EQ(transref::testing::HeapAllocations(), before + 1);
}

}  // namespace
