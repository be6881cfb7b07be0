// IBGE's translations of the old Brazilian frames, directly and through
// SIRGAS 2000, against PROJ running the EPSG operations from its database.
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <vector>

#include "GeodesyTestSupport.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/PointChain.h"
#include "support/Numbers.h"

namespace transref {
namespace {

using R = ReferenceFrame;
using K = CoordinateSystemKind;

struct Step {
  int epsg;
  bool inverse;
};

struct Case {
  R from, to;
  K fromSystem, toSystem;
  std::vector<Step> operations;
};

ChainSide Side(R frame, K system) {
  ChainSide side;
  side.system = system;
  side.ellipsoid = testing::FrameEllipsoid(frame);
  side.centralMeridian = -45.0;  // UTM zone 23 S
  side.northern = false;
  side.falseEasting = 500000.0;
  side.falseNorthing = 10000000.0;
  side.scaleFactor = 0.9996;
  return side;
}

class Proj {
 public:
  Proj() : context_(proj_context_create()) { proj_context_set_enable_network(context_, 0); }
  ~Proj() {
    for (PJ* p : owned_) proj_destroy(p);
    proj_context_destroy(context_);
  }
  // An EPSG operation in longitude, latitude order (degrees), or a PROJ
  // string as written (radians).
  PJ* Create(const std::string& definition, bool epsg) {
    PJ* raw = proj_create(context_, definition.c_str());
    if (!raw || !epsg) return owned_.emplace_back(raw);
    PJ* normalised = proj_normalize_for_visualization(context_, raw);
    proj_destroy(raw);
    return owned_.emplace_back(normalised);
  }
  static std::string Utm(R frame) {
    const ReferenceFrameInfo& info = FrameInfo(frame);
    return FormatC("+proj=utm +zone=23 +south +a=%.17g +rf=%.17g", info.semiMajorAxis, info.inverseFlattening);
  }

 private:
  PJ_CONTEXT* context_;
  std::vector<PJ*> owned_;
};

TEST(IbgeParameters, OldFramesEqualProjWithTheEpsgOperations) {
  const Case cases[] = {
      {R::Sad69, R::Grs80, K::Geographic, K::Geographic, {{15485, false}}},
      {R::Grs80, R::Sad69, K::Utm, K::Utm, {{15485, true}}},
      {R::Sad69_96, R::Grs80, K::Utm, K::Geographic, {{5881, false}}},
      {R::CorregoAlegre7072, R::Grs80, K::Geographic, K::Utm, {{6193, false}}},
      {R::Grs80, R::CorregoAlegre7072, K::Utm, K::Utm, {{6193, true}}},
      // Two old frames: through SIRGAS 2000, each leg its own translation.
      {R::Sad69, R::CorregoAlegre7072, K::Utm, K::Utm, {{15485, false}, {6193, true}}},
      {R::CorregoAlegre7072, R::Sad69_96, K::Geographic, K::Geographic, {{6193, false}, {5881, true}}},
  };
  const double points[][2] = {{-46.63, -23.55}, {-43.2, -22.9}, {-47.9, -19.5}, {-44.05, -20.1}};
  Proj proj;
  for (const Case& c : cases) {
    std::vector<std::pair<PJ*, bool>> operations;
    for (const Step& s : c.operations) {
      PJ* op = proj.Create("urn:ogc:def:coordinateOperation:EPSG::" + std::to_string(s.epsg), true);
      ASSERT_NE(op, nullptr) << "EPSG:" << s.epsg << " not in PROJ's database";
      operations.emplace_back(op, s.inverse);
    }
    PJ* fromUtm = proj.Create(Proj::Utm(c.from), false);
    PJ* toUtm = proj.Create(Proj::Utm(c.to), false);
    for (TransformationModel model : {TransformationModel::Isogonal, TransformationModel::Translation}) {
      SCOPED_TRACE(::testing::Message() << FrameInfo(c.from).label << " -> " << FrameInfo(c.to).label
                                      << ", model " << static_cast<int>(model));
      const ParameterDecision decision = LookupTransformationParameters(model, c.from, c.to);
      ASSERT_FALSE(decision.askForCustom);
      ASSERT_EQ(decision.legs.size(), c.operations.size());
      PointChain chain(Side(c.from, c.fromSystem), Side(c.to, c.toSystem), BuildDatumStep(decision.isogonal),
                       AltimetrySettings{});
      for (const auto& [lon, lat] : points) {
        // PROJ: the input in the input system, the operations in turn, the output system.
        PJ_COORD geographic = proj_coord(lon, lat, 0, 0);
        double in[2] = {lon, lat};
        if (c.fromSystem == K::Utm) {
          const PJ_COORD g = proj_coord(lon * kDegreesToRadians, lat * kDegreesToRadians, 0, 0);
          const PJ_COORD projected = proj_trans(fromUtm, PJ_FWD, g);
          in[0] = projected.xy.x;
          in[1] = projected.xy.y;
        }
        for (const auto& [op, inverse] : operations) geographic = proj_trans(op, inverse ? PJ_INV : PJ_FWD, geographic);
        double expected[2] = {geographic.lp.lam, geographic.lp.phi};
        if (c.toSystem == K::Utm) {
          const PJ_COORD g = proj_coord(expected[0] * kDegreesToRadians, expected[1] * kDegreesToRadians, 0, 0);
          const PJ_COORD projected = proj_trans(toUtm, PJ_FWD, g);
          expected[0] = projected.xy.x;
          expected[1] = projected.xy.y;
        }
        double out[3];
        ASSERT_TRUE(chain.Transform(in[0], in[1], 0.0, out));
        const double tolerance = c.toSystem == K::Utm ? 1e-3 : 1e-8;  // 1 mm
        EXPECT_NEAR(out[0], expected[0], tolerance);
        EXPECT_NEAR(out[1], expected[1], tolerance);
      }
    }
  }
}

}  // namespace
}  // namespace transref
