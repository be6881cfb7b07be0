// The driver carries millions of points through one chain: once built, a
// chain must not touch the heap per point. Global operator new is replaced
// in this test program to count allocations.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "GeodesyTestSupport.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/PointChain.h"

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// The replacement new takes its storage from malloc, so free is the match;
// GCC cannot see that through the replacement.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace transref {
namespace {

TEST(ChainAllocationTest, TransformAllocatesNothingPerPoint) {
  ChainSide in;
  in.system = CoordinateSystemKind::GaussKrugerOru;
  in.ellipsoid = testing::FrameEllipsoid(ReferenceFrame::Hayford);
  in.centralMeridian = -51.0;
  in.falseEasting = 200000.0;
  in.falseNorthing = 5000000.0;
  ChainSide out = in;
  out.system = CoordinateSystemKind::LtmOru;
  out.ellipsoid = testing::FrameEllipsoid(ReferenceFrame::Grs80);
  out.falseEasting = 300000.0;
  out.scaleFactor = 0.999995;
  for (const DatumStep& step :
       {BuildDatumStep(kIsogonalHayfordToGrs80), BuildAffineDatumStep(AffineParameters{})}) {
    PointChain chain(in, out, step, AltimetrySettings{});
    double result[3];
    const long before = gAllocations.load();
    for (int i = 0; i < 1000; ++i) {
      ASSERT_TRUE(chain.Transform(180000.0 + i, 1650000.0 - i, 35.0, result));
    }
    EXPECT_EQ(gAllocations.load() - before, 0);
  }
}

}  // namespace
}  // namespace transref
