#include "geodesy/ParameterSets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GeodesyTestSupport.h"
#include "geodesy/Geocentric.h"
#include "geodesy/PointChain.h"

namespace transref {
namespace {

using M = TransformationModel;
using R = ReferenceFrame;

void ExpectSameValues(const IsogonalParameters& got, const IsogonalParameters& want) {
  EXPECT_EQ(got.tx, want.tx);
  EXPECT_EQ(got.ty, want.ty);
  EXPECT_EQ(got.tz, want.tz);
  EXPECT_EQ(got.rx, want.rx);
  EXPECT_EQ(got.ry, want.ry);
  EXPECT_EQ(got.rz, want.rz);
  EXPECT_EQ(got.scale, want.scale);
}

void ExpectIdentityMatrix(const AffineParameters& p) {
  EXPECT_EQ(p.a, 1.0);
  EXPECT_EQ(p.e, 1.0);
  EXPECT_EQ(p.i, 1.0);
  for (double off : {p.b, p.c, p.d, p.f, p.g, p.h}) EXPECT_EQ(off, 0.0);
}

TEST(ParameterSetsTest, TableValues) {
  EXPECT_EQ(kIsogonalGrs80ToHayford.scale, 0.9999960439);
  EXPECT_EQ(kIsogonalGrs80ToHayford.tx, 250.1308088244);
  EXPECT_EQ(kIsogonalGrs80ToHayford.ty, -196.3368431836);
  EXPECT_EQ(kIsogonalGrs80ToHayford.tz, 40.5161882379);
  EXPECT_EQ(kIsogonalGrs80ToHayford.rx, -0.0008346768);
  EXPECT_EQ(kIsogonalGrs80ToHayford.ry, 0.0013935515);
  EXPECT_EQ(kIsogonalGrs80ToHayford.rz, 0.0002403906);
  EXPECT_EQ(kIsogonalHayfordToGrs80.scale, 1.0000039561);
  EXPECT_EQ(kIsogonalHayfordToGrs80.tx, -250.129989099);
  EXPECT_EQ(kIsogonalHayfordToGrs80.ty, 196.339259686);
  EXPECT_EQ(kIsogonalHayfordToGrs80.tz, -40.5195719703);
  EXPECT_EQ(kIsogonalHayfordToGrs80.rx, 0.0008346827);
  EXPECT_EQ(kIsogonalHayfordToGrs80.ry, -0.001393548);
  EXPECT_EQ(kIsogonalHayfordToGrs80.rz, -0.0002404109);
  for (const IsogonalParameters* t : {&kTranslationGrs80ToHayford, &kTranslationHayfordToGrs80}) {
    EXPECT_EQ(t->scale, 1.0);
    EXPECT_EQ(t->rx, 0.0);
    EXPECT_EQ(t->ry, 0.0);
    EXPECT_EQ(t->rz, 0.0);
  }
  EXPECT_EQ(kTranslationGrs80ToHayford.tx, 177.1851478228);
  EXPECT_EQ(kTranslationGrs80ToHayford.ty, -211.0832946773);
  EXPECT_EQ(kTranslationGrs80ToHayford.tz, 31.5581677418);
  EXPECT_EQ(kTranslationHayfordToGrs80.tx, -177.1851478228);
  EXPECT_EQ(kTranslationHayfordToGrs80.ty, 211.0832946773);
  EXPECT_EQ(kTranslationHayfordToGrs80.tz, -31.5581677418);
}

TEST(ParameterLookupTest, IsogonalAndTranslationModels) {
  struct Case {
    M model;
    R in, out;
    const IsogonalParameters* values;  // null: neutral
    bool enabled;
  };
  const Case cases[] = {
      {M::Isogonal, R::Grs80, R::Hayford, &kIsogonalGrs80ToHayford, false},
      {M::Isogonal, R::Hayford, R::Grs80, &kIsogonalHayfordToGrs80, false},
      {M::Translation, R::Grs80, R::Hayford, &kTranslationGrs80ToHayford, false},
      {M::Translation, R::Hayford, R::Grs80, &kTranslationHayfordToGrs80, false},
      {M::Isogonal, R::Grs80, R::Grs80, nullptr, false},
      {M::Isogonal, R::Custom, R::Custom, nullptr, false},
      {M::Translation, R::Hayford, R::Hayford, nullptr, false},
      {M::Isogonal, R::Grs80, R::Custom, nullptr, true},
      {M::Isogonal, R::Custom, R::Hayford, nullptr, true},
      {M::Translation, R::Custom, R::Grs80, nullptr, true},
  };
  const IsogonalParameters neutral;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.model) << ": "
                                      << static_cast<int>(c.in) << "->"
                                      << static_cast<int>(c.out));
    const ParameterDecision d = LookupTransformationParameters(c.model, c.in, c.out);
    EXPECT_EQ(d.panel, ParameterPanel::Isogonal);
    EXPECT_FALSE(d.askForCustom);
    ExpectSameValues(d.isogonal, c.values ? *c.values : neutral);
    EXPECT_EQ(d.isogonalEnabled, c.enabled);
  }
}

TEST(ParameterLookupTest, AffineModel) {
  ParameterDecision same = LookupTransformationParameters(M::Affine, R::Grs80, R::Grs80);
  EXPECT_EQ(same.panel, ParameterPanel::Affine);
  EXPECT_FALSE(same.askForCustom);
  EXPECT_FALSE(same.affineEnabled);
  ExpectIdentityMatrix(same.affine);
  EXPECT_EQ(same.affine.tx, 0.0);

  struct Case {
    R in, out;
    double tx, ty, tz;
  };
  const Case asked[] = {
      {R::Grs80, R::Hayford, 177.1851478228, -211.0832946773, 31.5581677418},
      {R::Hayford, R::Grs80, -177.1851478228, 211.0832946773, -31.5581677418},
      {R::Grs80, R::Custom, 0, 0, 0},
      {R::Custom, R::Hayford, 0, 0, 0},
  };
  for (const Case& c : asked) {
    const ParameterDecision d = LookupTransformationParameters(M::Affine, c.in, c.out);
    EXPECT_EQ(d.panel, ParameterPanel::Affine);
    EXPECT_TRUE(d.askForCustom);
    EXPECT_EQ(d.affineOnYes.tx, c.tx);
    EXPECT_EQ(d.affineOnYes.ty, c.ty);
    EXPECT_EQ(d.affineOnYes.tz, c.tz);
    ExpectIdentityMatrix(d.affineOnYes);
  }
  EXPECT_EQ(kNoParametersMessage, "Não existem parâmetros definidos para esta transformação!");
  EXPECT_EQ(kAskCustomParametersQuestion, "Deseja introduzir parâmetros customizados?");
}

TEST(FormatParameterValueTest, FifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(FormatParameterValue(1.0, '.'), "1");
  EXPECT_EQ(FormatParameterValue(0.0, '.'), "0");
  EXPECT_EQ(FormatParameterValue(-0.0, ','), "0");
  EXPECT_EQ(FormatParameterValue(250.1308088244, '.'), "250.1308088244");
  EXPECT_EQ(FormatParameterValue(250.1308088244, ','), "250,1308088244");
  EXPECT_EQ(FormatParameterValue(-196.3368431836, '.'), "-196.3368431836");
  EXPECT_EQ(FormatParameterValue(0.9999960439, ','), "0,9999960439");
  EXPECT_EQ(FormatParameterValue(-0.0002404109, '.'), "-0.0002404109");
  EXPECT_EQ(FormatParameterValue(-250.129989099, '.'), "-250.129989099");
  EXPECT_EQ(FormatParameterValue(0.1 + 0.2, '.'), "0.3");
  EXPECT_EQ(FormatParameterValue(1.0 / 3.0, '.'), "0.333333333333333");
  EXPECT_EQ(FormatParameterValue(6378137.0, '.'), "6378137");
  EXPECT_EQ(FormatParameterValue(298.257222101, ','), "298,257222101");
}

// GRS80 -> Hayford with set A, then back with set B. The two sets were
// published separately and are not exact inverses. Composed, their
// translations and rotations cancel to nanometres, but the scales do not:
// 0.9999960439 * 1.0000039561 = 1 - 1.565e-11, which shrinks a geocentric
// radius of about 6.38e6 m by 1.0e-4 m. The measured worst residual over the
// points below is 1.0005e-4 m; the bound sits just above it.
TEST(ParameterSetsTest, SetAThenSetBReturnsNearlyToTheStart) {
  const Ellipsoid grs80 = testing::FrameEllipsoid(R::Grs80);
  const Ellipsoid hayford = testing::FrameEllipsoid(R::Hayford);
  const DatumStep a = BuildDatumStep(kIsogonalGrs80ToHayford);
  const DatumStep b = BuildDatumStep(kIsogonalHayfordToGrs80);
  ChainSide gIn{CoordinateSystemKind::Cartesian, grs80, 0, false, 0, 0, 1};
  ChainSide hOut{CoordinateSystemKind::Cartesian, hayford, 0, false, 0, 0, 1};
  PointChain there(gIn, hOut, a, AltimetrySettings{});
  PointChain back(hOut, gIn, b, AltimetrySettings{});

  testing::PseudoRandom random(4242);
  double worst = 0.0;
  for (int i = 0; i < 5000; ++i) {
    GeographicPoint g;
    g.longitude = random.Uniform(-75, -30);
    g.latitude = random.Uniform(-35, 6);
    g.height = random.Uniform(-100, 3000);
    CartesianPoint c;
    GeographicToCartesian(g, grs80, c);
    double mid[3], end[3];
    ASSERT_TRUE(there.Transform(c.x, c.y, c.z, mid));
    ASSERT_TRUE(back.Transform(mid[0], mid[1], mid[2], end));
    const double d = std::hypot(end[0] - c.x, end[1] - c.y, end[2] - c.z);
    worst = std::max(worst, d);
    // The move itself is some 300 m: the sets really do something.
    ASSERT_GT(std::hypot(mid[0] - c.x, mid[1] - c.y, mid[2] - c.z), 100.0);
  }
  EXPECT_LT(worst, 1.05e-4);
  EXPECT_GT(worst, 0.9e-4);  // the scale mismatch is really there
}


CartesianPoint Through(const IsogonalParameters& p, const CartesianPoint& in) {
  CartesianPoint out;
  ApplyDatumStep(BuildDatumStep(p), in, out);
  return out;
}

// Pairs of the old frames: legs through SIRGAS 2000 whose one composed set
// does what the legs do in turn; a pair without published parameters asks.
TEST(ParameterSetsTest, OldFramesGoThroughSirgas2000) {
  struct Case {
    TransformationModel model;
    ReferenceFrame from, to;
    std::vector<ReferenceFrame> via;  // the frames the legs pass, ends included; empty: no legs
    bool asks;
  };
  const Case cases[] = {
      {M::Isogonal, R::Sad69, R::Hayford, {R::Sad69, R::Grs80, R::Hayford}, false},
      {M::Isogonal, R::Hayford, R::CorregoAlegre7072, {R::Hayford, R::Grs80, R::CorregoAlegre7072}, false},
      {M::Translation, R::CorregoAlegre7072, R::Sad69_96, {R::CorregoAlegre7072, R::Grs80, R::Sad69_96}, false},
      {M::Translation, R::Grs80, R::Sad69, {R::Grs80, R::Sad69}, false},
      {M::Isogonal, R::Sad69, R::Sad69_96, {R::Sad69, R::Grs80, R::Sad69_96}, false},
      {M::Isogonal, R::CorregoAlegre61, R::Grs80, {}, true},
      {M::Translation, R::Sad69, R::CorregoAlegre61, {}, true},
      {M::Isogonal, R::Sad69, R::Custom, {}, false},
  };
  const CartesianPoint start{4010000.0, -4250000.0, -2530000.0};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FrameInfo(c.from).label) + " -> " + std::string(FrameInfo(c.to).label));
    const ParameterDecision d = LookupTransformationParameters(c.model, c.from, c.to);
    EXPECT_EQ(d.askForCustom, c.asks);
    EXPECT_EQ(d.isogonalEnabled, !c.asks && c.via.empty());  // only the custom side types
    ASSERT_EQ(d.legs.size() + (c.via.empty() ? 0 : 1), c.via.size());
    CartesianPoint stepwise = start;
    for (std::size_t k = 0; k < d.legs.size(); ++k) {
      EXPECT_EQ(d.legs[k].from, c.via[k]);
      EXPECT_EQ(d.legs[k].to, c.via[k + 1]);
      stepwise = Through(d.legs[k].parameters, stepwise);
    }
    if (d.legs.empty()) {
      EXPECT_TRUE(IsIdentity(d.isogonal));  // neutral values, never applied unasked
      continue;
    }
    const CartesianPoint composed = Through(d.isogonal, start);
    EXPECT_NEAR(composed.x, stepwise.x, 1e-6);
    EXPECT_NEAR(composed.y, stepwise.y, 1e-6);
    EXPECT_NEAR(composed.z, stepwise.z, 1e-6);
  }
  // The Carta Geral's leg keeps its own set: A under seven parameters, C under three.
  ExpectSameValues(LookupTransformationParameters(M::Isogonal, R::Sad69, R::Hayford).legs[1].parameters,
                   kIsogonalGrs80ToHayford);
  ExpectSameValues(LookupTransformationParameters(M::Translation, R::Sad69, R::Hayford).legs[1].parameters,
                   kTranslationGrs80ToHayford);
  // The affine question starts from the three-parameter translation.
  EXPECT_EQ(LookupTransformationParameters(M::Affine, R::Grs80, R::Sad69).affineOnYes.tx, 67.35);
}

TEST(ParameterSetsTest, ShippedGridsAreTheDefaultOfTheirPairsEitherWay) {
  const std::pair<ReferenceFrame, std::string_view> grids[] = {
      {R::Sad69, "SAD69_003.gsb"}, {R::Sad69_96, "SAD96_003.gsb"},
      {R::CorregoAlegre61, "CA61_003.gsb"}, {R::CorregoAlegre7072, "CA7072_003.gsb"}};
  for (const auto& [frame, file] : grids) {
    for (const auto& [in, out] : {std::pair{frame, R::Grs80}, std::pair{R::Grs80, frame}}) {
      EXPECT_EQ(DefaultModel(in, out), M::Grid);
      const ParameterDecision d = LookupTransformationParameters(M::Grid, in, out);
      EXPECT_EQ(d.panel, ParameterPanel::Grid);
      EXPECT_EQ(d.shippedGridFile, file);
    }
  }
  for (const auto& [in, out] : {std::pair{R::Grs80, R::Hayford}, std::pair{R::Sad69, R::Sad69_96},
                                std::pair{R::CorregoAlegre7072, R::Hayford}, std::pair{R::Custom, R::Grs80}}) {
    EXPECT_EQ(DefaultModel(in, out), M::Isogonal);
    EXPECT_TRUE(LookupTransformationParameters(M::Grid, in, out).shippedGridFile.empty());
  }
}

}  // namespace
}  // namespace transref
