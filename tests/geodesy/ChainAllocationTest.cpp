// The driver carries millions of points through one chain: once built, a
// chain must not touch the heap per point. The program counts allocations
// through the shared replacement of global operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "GeodesyTestSupport.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/PointChain.h"
#include "HeapCounter.h"

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
    const std::size_t before = transref::testing::HeapAllocations();
    for (int i = 0; i < 1000; ++i) {
      ASSERT_TRUE(chain.Transform(180000.0 + i, 1650000.0 - i, 35.0, result));
    }
    EXPECT_EQ(transref::testing::HeapAllocations() - before, 0u);
  }
}

}  // namespace
}  // namespace transref
