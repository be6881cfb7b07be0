#include "support/ZRTGenericArray.h"

#include <gtest/gtest.h>

namespace {

using ZRTMatrixSys::ZRTArray;
using ZRTPrimitiveSys::ScopedReportCapture;

TEST(ZRTGenericArrayTest, Smoke) {
  ZRTArray a(3);
  EXPECT_EQ(a.Count(), 3);
  a[2] = 4.0;
  ZRTArray b(a);
  EXPECT_EQ(b[2], 4.0);
}

}  // namespace
