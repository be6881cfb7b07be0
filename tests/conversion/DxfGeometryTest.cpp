// Drawings carried across a change of central meridian ("Gauß-Krüger
// (Customizado)" with CM 51° W to "UTM" with CM 45° W): the grid turns by
// about 2.3° and scales by about 1.0006 there, so every angle, direction,
// radius and OCS value that is not carried as the ground is carried shows.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CLocaleText.h"
#include "DxfReading.h"
#include "TestFiles.h"
#include "conversion/Driver.h"
#include "conversion/dxf/DxfGeometry.h"
#include "conversion/dxf/DxfRoles.h"
#include "support/Numbers.h"

namespace transref {
namespace {

using testing::ChainOf;
using testing::ReadAll;
using testing::RecordingSink;
using testing::ScratchDir;
using test::ByHandle;
using test::DrawingText;
using test::EntitiesOf;
using test::ObjectToWorld;
using test::ZoneChangeJob;
using test::ReadEntity;
using test::WorldToObject;
using test::Xyz;

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
constexpr double kMillimetre = 0.001;

// The ground: 150 km east of 51° W, about 25° S.
constexpr double kX = 350000, kY = 2200000;

Xyz Polar(Xyz c, double r, double degrees) { return {c.x + r * std::cos(degrees * kDegree), c.y + r * std::sin(degrees * kDegree), c.z}; }

// Geometry of the drawing, in world coordinates.
const Xyz kArcCentre{kX + 200, kY + 150, 0};
constexpr double kArcRadius = 120, kArcStart = 200, kArcEnd = 290;
const Xyz kMirrorCentre{kX + 600, kY + 100, 4};  // an ARC drawn with extrusion 0,0,-1
constexpr double kMirrorStart = 30, kMirrorEnd = 100;  // OCS angles about -Z
const Xyz kTilt{0.3, 0.2, 0.93};
const Xyz kTiltedCentre{kX + 1100, kY + 50, 10};
const Xyz kHatchCentre{kX + 1500, kY + 500, 0};
constexpr double kHatchElevation = 3.0, kLwElevation = 7.25, kPolylineElevation = 12.5;

// The mirrored arc's ends in world coordinates.
Xyz MirrorEnd(double ocsDegrees) {
  const Xyz c = WorldToObject(kMirrorCentre, {0, 0, -1});
  return ObjectToWorld(Polar(c, 50, ocsDegrees), {0, 0, -1});
}

std::string SyntheticDrawing() {
  DrawingText d;
  d.Tag(0, "SECTION").Tag(2, "HEADER").Tag(9, "$ACADVER").Tag(1, "AC1015");
  d.Tag(9, "$EXTMIN").Point(10, kX, kY, 0).Tag(0, "ENDSEC");
  d.Tag(0, "SECTION").Tag(2, "TABLES").Tag(0, "TABLE").Tag(2, "VPORT").Tag(70, "1");
  d.Tag(0, "VPORT").Tag(2, "*ACTIVE").Point(10, 0, 0).Point(11, 1, 1).Point(12, kX, kY).Tag(40, 500.0);
  d.Tag(0, "ENDTAB").Tag(0, "ENDSEC");
  d.Tag(0, "SECTION").Tag(2, "BLOCKS");
  d.Tag(0, "BLOCK").Tag(8, "0").Tag(2, "MARCO").Tag(70, "0").Point(10, 0, 0, 0).Tag(3, "MARCO");
  d.Tag(0, "LINE").Tag(5, "B1").Tag(8, "0").Point(10, 0, 0, 0).Point(11, 1, 1, 0).Tag(0, "ENDBLK");
  d.Tag(0, "BLOCK").Tag(8, "0").Tag(2, "*D1").Tag(70, "1").Point(10, 0, 0, 0).Tag(3, "*D1");
  d.Tag(0, "LINE").Tag(5, "B2").Tag(8, "0").Point(10, kX + 10, kY + 700, 0).Point(11, kX + 90, kY + 700, 0);
  d.Tag(0, "ENDBLK").Tag(0, "ENDSEC");

  d.Tag(0, "SECTION").Tag(2, "ENTITIES");
  // LINE - ARC - LINE, joined.
  const Xyz b = Polar(kArcCentre, kArcRadius, kArcStart), e = Polar(kArcCentre, kArcRadius, kArcEnd);
  d.Tag(0, "LINE").Tag(5, "L1").Tag(8, "0").Point(10, kX, kY, 0).Point(11, b.x, b.y, 0);
  d.Tag(0, "ARC").Tag(5, "A1").Tag(8, "0").Point(10, kArcCentre.x, kArcCentre.y, 0).Tag(40, kArcRadius);
  d.Tag(50, kArcStart).Tag(51, kArcEnd);
  d.Tag(0, "LINE").Tag(5, "L2").Tag(8, "0").Point(10, e.x, e.y, 0).Point(11, e.x + 80, e.y - 30, 0);
  // The same with a mirrored arc (extrusion 0,0,-1: OCS X is -X, OCS Z is -Z).
  const Xyz mc = WorldToObject(kMirrorCentre, {0, 0, -1});
  const Xyz ms = MirrorEnd(kMirrorStart), me = MirrorEnd(kMirrorEnd);
  d.Tag(0, "LINE").Tag(5, "L3").Tag(8, "0").Point(10, ms.x - 40, ms.y, 4).Point(11, ms.x, ms.y, 4);
  d.Tag(0, "ARC").Tag(5, "A2").Tag(8, "0").Point(10, mc.x, mc.y, mc.z).Tag(40, 50.0).Tag(50, kMirrorStart);
  d.Tag(51, kMirrorEnd).Point(210, 0, 0, -1);
  d.Tag(0, "LINE").Tag(5, "L4").Tag(8, "0").Point(10, me.x, me.y, 4).Point(11, me.x, me.y + 40, 4);
  // Circles: plain, mirrored, tilted.
  d.Tag(0, "CIRCLE").Tag(5, "C1").Tag(8, "0").Point(10, kX + 900, kY, 0).Tag(40, 30.0);
  const Xyz cm = WorldToObject({kX + 1000, kY, 5}, {0, 0, -1});
  d.Tag(0, "CIRCLE").Tag(5, "C2").Tag(8, "0").Point(10, cm.x, cm.y, cm.z).Tag(40, 30.0).Point(210, 0, 0, -1);
  const Xyz ct = WorldToObject(kTiltedCentre, kTilt);
  d.Tag(0, "CIRCLE").Tag(5, "C3").Tag(8, "0").Point(10, ct.x, ct.y, ct.z).Tag(40, 25.0).Point(210, kTilt.x, kTilt.y, kTilt.z);
  // Texts and symbols turned.
  d.Tag(0, "TEXT").Tag(5, "T1").Tag(8, "0").Point(10, kX + 50, kY + 300, 0).Tag(40, 2.5).Tag(1, "P1").Tag(50, 30.0);
  const Xyz tm = WorldToObject({kX + 80, kY + 300, 0}, {0, 0, -1});
  d.Tag(0, "TEXT").Tag(5, "T2").Tag(8, "0").Point(10, tm.x, tm.y, tm.z).Tag(40, 2.5).Tag(1, "P2").Tag(50, 30.0);
  d.Point(210, 0, 0, -1);
  d.Tag(0, "MTEXT").Tag(5, "M1").Tag(8, "0").Point(10, kX + 100, kY + 300, 0).Tag(40, 2.5).Tag(1, "M1");
  d.Point(11, std::cos(20 * kDegree), std::sin(20 * kDegree), 0);
  d.Tag(0, "MTEXT").Tag(5, "M2").Tag(8, "0").Point(10, kX + 110, kY + 300, 0).Tag(40, 2.5).Tag(1, "M2").Tag(50, 60.0);
  d.Tag(0, "INSERT").Tag(5, "I1").Tag(8, "0").Tag(2, "MARCO").Point(10, kX + 120, kY + 300, 0).Tag(41, 2.0).Tag(50, 45.0);
  // A hatch with every edge type, a polyline path with bulges and a seed.
  const Xyz h = kHatchCentre, h2{h.x, h.y + 60, 0};
  d.Tag(0, "HATCH").Tag(5, "H1").Tag(8, "0").Tag(100, "AcDbHatch").Point(10, 0, 0, kHatchElevation);
  d.Point(210, 0, 0, 1).Tag(2, "SOLID").Tag(70, "1").Tag(71, "0").Tag(91, "3");
  d.Tag(92, "1").Tag(93, "5");
  d.Tag(72, "1").Point(10, h.x - 60, h.y - 40).Point(11, h.x, h.y - 40);
  d.Tag(72, "2").Point(10, h.x, h.y).Tag(40, 40.0).Tag(50, 270.0).Tag(51, 360.0).Tag(73, "1");
  d.Tag(72, "1").Point(10, h.x + 40, h.y).Point(11, h.x + 40, h.y + 60);
  // clockwise, angles kept as 360 minus the real ones: from 0 to 180 through 270
  d.Tag(72, "2").Point(10, h2.x, h2.y).Tag(40, 40.0).Tag(50, 0.0).Tag(51, 180.0).Tag(73, "0");
  d.Tag(72, "1").Point(10, h.x - 40, h.y + 60).Point(11, h.x - 60, h.y - 40).Tag(97, "0");
  d.Tag(92, "2").Tag(72, "1").Tag(73, "1").Tag(93, "3");
  d.Point(10, h.x + 100, h.y).Tag(42, 0.5).Point(10, h.x + 150, h.y).Tag(42, 0.0).Point(10, h.x + 150, h.y + 50);
  d.Tag(42, -0.25).Tag(97, "0");
  d.Tag(92, "1").Tag(93, "2");
  d.Tag(72, "3").Point(10, h.x + 300, h.y).Point(11, 20, 10).Tag(40, 0.5).Tag(50, 0.0).Tag(51, 360.0).Tag(73, "1");
  d.Tag(72, "4").Tag(94, "3").Tag(73, "0").Tag(74, "0").Tag(95, "8").Tag(96, "4");
  for (double knot : {0, 0, 0, 0, 1, 1, 1, 1}) d.Tag(40, knot);
  for (int k = 0; k < 4; ++k) d.Point(10, h.x + 400 + 10 * k, h.y + 5 * k * k);
  d.Tag(97, "0").Tag(75, "0").Tag(76, "1").Tag(98, "1").Point(10, h.x, h.y + 10);
  // 2D and 3D polylines, and a light-weight polyline with elevation and bulges.
  d.Tag(0, "POLYLINE").Tag(5, "P1").Tag(8, "0").Tag(66, "1").Point(10, 0, 0, kPolylineElevation).Tag(70, "0");
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, kX + 10, kY + 800).Tag(42, 0.3);
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, kX + 60, kY + 820);
  d.Tag(0, "SEQEND").Tag(8, "0");
  d.Tag(0, "POLYLINE").Tag(5, "P2").Tag(8, "0").Tag(66, "1").Point(10, 0, 0, 0).Tag(70, "8");
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, kX + 10, kY + 900, 21.5).Tag(70, "32");
  d.Tag(0, "VERTEX").Tag(8, "0").Point(10, kX + 70, kY + 930, 22.5).Tag(70, "32");
  d.Tag(0, "SEQEND").Tag(8, "0");
  d.Tag(0, "LWPOLYLINE").Tag(5, "W1").Tag(8, "0").Tag(90, "3").Tag(70, "0").Tag(38, kLwElevation);
  d.Point(10, kX + 200, kY + 800).Tag(42, 0.4).Point(10, kX + 260, kY + 800).Point(10, kX + 260, kY + 850);
  // A dimension drawn by the block *D1.
  d.Tag(0, "DIMENSION").Tag(5, "D1").Tag(8, "0").Tag(2, "*D1").Point(10, kX + 90, kY + 700, 0);
  d.Point(11, kX + 50, kY + 705, 0).Tag(70, "33").Point(13, kX + 10, kY + 690, 0).Point(14, kX + 90, kY + 690, 0);
  d.Tag(0, "ELLIPSE").Tag(5, "E1").Tag(8, "0").Point(10, kX + 1800, kY, 0).Point(11, 30, 10, 0).Tag(40, 0.5);
  d.Tag(41, 0.0).Tag(42, 2 * kPi);
  d.Tag(0, "POINT").Tag(5, "Q1").Tag(8, "0").Point(10, kX + 5, kY + 5, 9.75);
  d.Tag(0, "TEXT").Tag(5, "T3").Tag(8, "0").Tag(67, "1").Point(10, 10, 10, 0).Tag(40, 2.5).Tag(1, "folha");
  d.Tag(0, "ENDSEC").Tag(0, "EOF");
  return d.text;
}

class ZoneChange : public ::testing::Test {
 protected:
  // Converts the drawing once, in the first test (a scratch folder is named
  // after a running test).
  static void Prepare() {
    dir_ = new ScratchDir;
    const std::string in = dir_->Write("in.dxf", SyntheticDrawing());
    RecordingSink sink;
    const RunResult result = RunConversion(ZoneChangeJob(in, dir_->Path("out.dxf")), sink);
    ok_ = result.Succeeded();
    if (!ok_) return;
    const auto tags = test::ReadTags(ReadAll(dir_->Path("out.dxf")));
    entities_ = EntitiesOf(tags, "ENTITIES");
    blocks_ = {EntitiesOf(tags, "BLOCKS", "MARCO"), EntitiesOf(tags, "BLOCKS", "*D1")};
    tables_ = EntitiesOf(tags, "TABLES");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (!dir_) Prepare();
    ASSERT_TRUE(ok_);
  }

  static Xyz Carried(Xyz p) {
    PointChain chain = ChainOf(ZoneChangeJob("", ""));
    double out[3];
    EXPECT_TRUE(chain.Transform(p.x, p.y, p.z, out));
    return {out[0], out[1], out[2]};
  }
  static const ReadEntity& Out(const std::string& handle) {
    const ReadEntity* e = ByHandle(entities_, handle);
    EXPECT_NE(e, nullptr) << handle;
    static const ReadEntity none;
    return e ? *e : none;
  }
  static Xyz Normal(const ReadEntity& e) { return {e.Get(210, 0, 0), e.Get(220, 0, 0), e.Get(230, 0, 1)}; }
  // The world point at OCS angle `degrees` on an output arc or circle.
  static Xyz OnCircle(const ReadEntity& e, double degrees) {
    return ObjectToWorld(Polar({e.Get(10), e.Get(20), e.Get(30)}, e.Get(40), degrees), Normal(e));
  }
  static double Distance(Xyz a, Xyz b) { return std::hypot(a.x - b.x, a.y - b.y); }
  // The direction, in world coordinates, that the chain gives to a short
  // step from p along the world angle `degrees`.
  static double CarriedDirection(Xyz p, double degrees) {
    const Xyz a = Carried(p), b = Carried(Polar(p, 1.0, degrees));
    return std::atan2(b.y - a.y, b.x - a.x);
  }
  static double AngleGap(double a, double b) { return std::fabs(std::remainder(a - b, 2 * kPi)); }

  static ScratchDir* dir_;
  static bool ok_;
  static std::vector<ReadEntity> entities_, tables_;
  static std::vector<std::vector<ReadEntity>> blocks_;
};
ScratchDir* ZoneChange::dir_ = nullptr;
bool ZoneChange::ok_ = false;
std::vector<ReadEntity> ZoneChange::entities_, ZoneChange::tables_;
std::vector<std::vector<ReadEntity>> ZoneChange::blocks_;

TEST_F(ZoneChange, ArcsKeepMeetingTheLinesTheyJoin) {
  const ReadEntity &l1 = Out("L1"), &a1 = Out("A1"), &l2 = Out("L2");
  EXPECT_LT(Distance({l1.Get(11), l1.Get(21)}, OnCircle(a1, a1.Get(50))), kMillimetre);
  EXPECT_LT(Distance({l2.Get(10), l2.Get(20)}, OnCircle(a1, a1.Get(51))), kMillimetre);
  // Mirrored: the arc's OCS ends, taken to the world, meet the lines.
  const ReadEntity &l3 = Out("L3"), &a2 = Out("A2"), &l4 = Out("L4");
  EXPECT_EQ(a2.Text(230), "-1");  // the extrusion stays as read
  EXPECT_LT(Distance({l3.Get(11), l3.Get(21)}, OnCircle(a2, a2.Get(50))), kMillimetre);
  EXPECT_LT(Distance({l4.Get(10), l4.Get(20)}, OnCircle(a2, a2.Get(51))), kMillimetre);
  EXPECT_NEAR(OnCircle(a2, a2.Get(50)).z, 4.0, kMillimetre);  // its elevation -4 is a height of 4
  // The arc's middle lies on the carried ground too.
  const Xyz middle = Carried(Polar(kArcCentre, kArcRadius, (kArcStart + kArcEnd) / 2));
  EXPECT_LT(std::fabs(Distance(middle, {a1.Get(10), a1.Get(20)}) - a1.Get(40)), kMillimetre);
}

TEST_F(ZoneChange, CircleSamplesLieOnTheOutputCircleAndOcsCentresLandOnTheGround) {
  struct Case {
    const char* handle;
    Xyz centre, normal;
    double radius;
  };
  for (const Case& c : {Case{"C1", {kX + 900, kY, 0}, {0, 0, 1}, 30}, Case{"C2", {kX + 1000, kY, 5}, {0, 0, -1}, 30},
                        Case{"C3", kTiltedCentre, kTilt, 25}}) {
    SCOPED_TRACE(c.handle);
    const ReadEntity& e = Out(c.handle);
    const Xyz centre = ObjectToWorld({e.Get(10), e.Get(20), e.Get(30)}, Normal(e));
    const Xyz ground = Carried(c.centre);
    EXPECT_LT(Distance(centre, ground), kMillimetre);
    EXPECT_NEAR(centre.z, ground.z, kMillimetre);
    double worst = 0;
    const Xyz ocsCentre = WorldToObject(c.centre, c.normal);
    for (int k = 0; k < 16; ++k) {
      const Xyz sample = Carried(ObjectToWorld(Polar(ocsCentre, c.radius, 22.5 * k), c.normal));
      const Xyz local = WorldToObject(sample, Normal(e));
      worst = std::max(worst, std::fabs(std::hypot(local.x - e.Get(10), local.y - e.Get(20)) - e.Get(40)));
    }
    // A tilted circle cannot stay a circle: the grid scales the ground by k
    // and heights by 1, so its vertical extent keeps its length while its
    // horizontal one grows (here k is 1.0013: 3.5 mm on 25 m tilted by 22
    // degrees). Circles in the ground plane lie within the millimetre.
    EXPECT_LT(worst, Normal(e).z == 1 || Normal(e).z == -1 ? kMillimetre : 0.01);
    RecordProperty(std::string(c.handle) + "_worst_sample_m", FormatC("%.3g", worst));
  }
  // The tilted extrusion turned with the grid about the vertical.
  const Xyz n = Normal(Out("C3"));
  EXPECT_NEAR(n.z, kTilt.z / std::sqrt(kTilt.x * kTilt.x + kTilt.y * kTilt.y + kTilt.z * kTilt.z), 1e-3);
  EXPECT_GT(AngleGap(std::atan2(n.y, n.x), std::atan2(kTilt.y, kTilt.x)), 0.01);
}

TEST_F(ZoneChange, TextsSymbolsAndDirectionsTurnWithTheGround) {
  const double tolerance = 1e-4;
  const ReadEntity& t1 = Out("T1");
  EXPECT_LT(AngleGap(t1.Get(50) * kDegree, CarriedDirection({kX + 50, kY + 300, 0}, 30)), tolerance);
  EXPECT_EQ(t1.Text(40), "2.5");  // annotation sizes stay
  // Mirrored text: OCS angle 30 is world 150.
  const ReadEntity& t2 = Out("T2");
  const Xyz d = ObjectToWorld({std::cos(t2.Get(50) * kDegree), std::sin(t2.Get(50) * kDegree), 0}, Normal(t2));
  EXPECT_LT(AngleGap(std::atan2(d.y, d.x), CarriedDirection({kX + 80, kY + 300, 0}, 150)), tolerance);
  const Xyz t2At = ObjectToWorld({t2.Get(10), t2.Get(20), t2.Get(30)}, Normal(t2));
  EXPECT_LT(Distance(t2At, Carried({kX + 80, kY + 300, 0})), kMillimetre);
  const ReadEntity& m1 = Out("M1");
  EXPECT_LT(AngleGap(std::atan2(m1.Get(21), m1.Get(11)), CarriedDirection({kX + 100, kY + 300, 0}, 20)), tolerance);
  EXPECT_NEAR(std::hypot(m1.Get(11), m1.Get(21)), 1.0, 1e-12);
  EXPECT_LT(AngleGap(Out("M2").Get(50) * kDegree, CarriedDirection({kX + 110, kY + 300, 0}, 60)), tolerance);
  const ReadEntity& i1 = Out("I1");
  EXPECT_LT(AngleGap(i1.Get(50) * kDegree, CarriedDirection({kX + 120, kY + 300, 0}, 45)), tolerance);
  EXPECT_EQ(i1.Text(41), "2");
  // The ellipse's axis is the carried axis: its end lands where the ground does.
  const ReadEntity& e1 = Out("E1");
  const Xyz axisEnd = Carried({kX + 1830, kY + 10, 0});
  EXPECT_LT(Distance({e1.Get(10) + e1.Get(11), e1.Get(20) + e1.Get(21)}, axisEnd), kMillimetre);
  EXPECT_EQ(e1.Text(40), "0.5");
  // The drawing opens on its content: the active view's centre moved.
  ASSERT_GE(tables_.size(), 2u);
  const ReadEntity& vport = tables_[1];
  ASSERT_EQ(vport.type, "VPORT");
  EXPECT_LT(Distance({vport.Get(12), vport.Get(22)}, Carried({kX, kY, 0})), kMillimetre);
  EXPECT_EQ(vport.Text(11), "1");
}

TEST_F(ZoneChange, HatchEdgesStayJoinedAndPathDataIsReadByItsEdgeType) {
  const ReadEntity& h = Out("H1");
  // Header: the elevation point's 0,0 is a dummy, its elevation a height.
  EXPECT_EQ(h.Text(10, 0), "0");
  EXPECT_EQ(h.Text(20, 0), "0");
  EXPECT_EQ(h.Text(30, 0), "3.000");
  const Xyz normal{0, 0, 1};
  auto world = [&](int n10) { return Xyz{h.Get(10, n10), h.Get(20, n10), kHatchElevation}; };
  auto arcEnd = [&](int n10, int arc, bool end) {
    const double stored = h.Get(end ? 51 : 50, arc);
    const bool clockwise = h.Get(73, arc) == 0;
    return ObjectToWorld(Polar(world(n10), h.Get(40, arc), clockwise ? -stored : stored), normal);
  };
  // Codes 10 in order: 0 header, 1 line start, 2 arc centre, 3 line start,
  // 4 clockwise arc centre, 5 line start, 6-8 polyline vertices, 9 ellipse
  // centre, 10-13 spline control points, 14 seed. Codes 11: the three line
  // ends, then the ellipse axis.
  EXPECT_LT(Distance({h.Get(11, 0), h.Get(21, 0)}, arcEnd(2, 0, false)), kMillimetre);
  EXPECT_LT(Distance(world(3), arcEnd(2, 0, true)), kMillimetre);
  EXPECT_LT(Distance({h.Get(11, 1), h.Get(21, 1)}, arcEnd(4, 1, false)), kMillimetre);
  EXPECT_LT(Distance(world(5), arcEnd(4, 1, true)), kMillimetre);
  // Polyline path: vertices carried, bulges copied as read.
  EXPECT_LT(Distance(world(6), Carried({kHatchCentre.x + 100, kHatchCentre.y, kHatchElevation})), kMillimetre);
  EXPECT_EQ(h.Text(42, 0), "0.5");
  EXPECT_EQ(h.Text(42, 2), "-0.25");
  // Ellipse edge: centre carried, 11 is its axis (not a point 100 km away).
  const Xyz centre = world(9);
  EXPECT_LT(Distance(centre, Carried({kHatchCentre.x + 300, kHatchCentre.y, kHatchElevation})), kMillimetre);
  EXPECT_LT(Distance({centre.x + h.Get(11, 3), centre.y + h.Get(21, 3)},
                     Carried({kHatchCentre.x + 320, kHatchCentre.y + 10, kHatchElevation})),
            kMillimetre);
  // Spline edge control points and the seed point carried; knots copied.
  EXPECT_LT(Distance(world(13), Carried({kHatchCentre.x + 430, kHatchCentre.y + 45, kHatchElevation})), kMillimetre);
  EXPECT_EQ(h.Text(40, 7), "1");  // the two arcs' radii, the ellipse's ratio, then the knots
  EXPECT_LT(Distance(world(14), Carried({kHatchCentre.x, kHatchCentre.y + 10, kHatchElevation})), kMillimetre);
}

TEST_F(ZoneChange, PolylineElevationsDimensionsAndBlocks) {
  // 2D polyline: the header's 0,0 stays a dummy; its elevation is a height.
  const auto& p1 = Out("P1");
  EXPECT_EQ(p1.Text(10), "0");
  EXPECT_EQ(p1.Text(30), "12.500");
  const auto& w1 = Out("W1");
  EXPECT_EQ(w1.Text(38), "7.250");
  EXPECT_EQ(w1.Text(42), "0.4");
  EXPECT_LT(Distance({w1.Get(10), w1.Get(20)}, Carried({kX + 200, kY + 800, kLwElevation})), kMillimetre);
  // The dimension, and its block drawn at the dimension's place, move; the
  // symbol block MARCO keeps its block coordinates.
  const auto& d1 = Out("D1");
  EXPECT_LT(Distance({d1.Get(13), d1.Get(23)}, Carried({kX + 10, kY + 690, 0})), kMillimetre);
  EXPECT_LT(Distance({d1.Get(11), d1.Get(21)}, Carried({kX + 50, kY + 705, 0})), kMillimetre);
  ASSERT_EQ(blocks_[1].size(), 1u);
  EXPECT_LT(Distance({blocks_[1][0].Get(10), blocks_[1][0].Get(20)}, Carried({kX + 10, kY + 700, 0})), kMillimetre);
  ASSERT_EQ(blocks_[0].size(), 1u);
  EXPECT_EQ(blocks_[0][0].Text(11), "1");
  // Paper space keeps its sheet coordinates.
  EXPECT_EQ(Out("T3").Text(10), "10");
}

TEST_F(ZoneChange, PositionsKeepThreeDecimalsOtherChangedValuesReadBackExactly) {
  // Coordinates "%0.3lf"; values the walk newly changes, the shortest text
  // that reads back to the same double, with a point whatever the locale.
  const auto& l1 = Out("L1");
  const std::string x = l1.Text(10);
  ASSERT_NE(x.find('.'), std::string::npos);
  EXPECT_EQ(x.size() - x.find('.'), 4u);
  for (const auto& [handle, code] : std::vector<std::pair<std::string, int>>{
           {"A1", 40}, {"A1", 50}, {"A1", 51}, {"T1", 50}, {"M1", 11}, {"M1", 21}, {"E1", 11}, {"C1", 40}}) {
    const std::string text = Out(handle).Text(code);
    SCOPED_TRACE(handle + " " + text);
    EXPECT_NE(text.find('.'), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
    const double value = test::Number(text);
    char shortest[64];
    const auto end = std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::fixed).ptr;
    std::string expected(shortest, end);
    if (expected.find('.') == std::string::npos) expected += ".0";
    EXPECT_EQ(text, expected);
  }
}

TEST(DxfHeights, ElevationsAreTheVerticesHeightsAndFollowTheHeightRules) {
  ScratchDir dir;
  const std::string in = dir.Write("in.dxf", SyntheticDrawing());
  RecordingSink sink;
  // List output: the LWPOLYLINE's vertices at its elevation; no dummy point.
  ASSERT_TRUE(RunConversion(ZoneChangeJob(in, dir.Path("out.txt"), FileKind::Ascii3D), sink).Succeeded());
  const auto inLines = testing::SplitLines(ReadAll(in));
  int lw = 0, dummies = 0;
  for (const std::string& line : testing::SplitLines(ReadAll(dir.Path("out.txt")))) {
    int id = 0;
    double e = 0, n = 0, height = 0;
    ASSERT_EQ(test::ScanPointLine(line, id, e, n, height), 4);
    const std::string& value = inLines[static_cast<std::size_t>(id) + 1];
    if (value == "0") ++dummies;  // the X value of a dummy 0,0
    // The three vertices of W1 are the only list points with this height.
    if (std::fabs(height - kLwElevation) < 1e-9) ++lw;
  }
  EXPECT_EQ(dummies, 0);
  EXPECT_EQ(lw, 3);

  // A mean output height: the elevations change exactly as a POINT's Z.
  ConversionJob job = ZoneChangeJob(in, dir.Path("mean.dxf"));
  job.altimetry.importHeights = false;
  job.altimetry.outputUseMeanHeight = true;
  job.altimetry.outputMeanHeight = 40;
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  const auto entities = EntitiesOf(test::ReadTags(ReadAll(dir.Path("mean.dxf"))), "ENTITIES");
  EXPECT_EQ(ByHandle(entities, "Q1")->Text(30), "40.000");
  EXPECT_EQ(ByHandle(entities, "W1")->Text(38), "40.000");
  EXPECT_EQ(ByHandle(entities, "P1")->Text(30), "40.000");
  EXPECT_EQ(ByHandle(entities, "H1")->Text(30), "40.000");
  EXPECT_EQ(ByHandle(entities, "A2")->Text(30), "-40.000");  // mirrored: OCS Z is minus the height
}

TEST(DxfByteOrderMark, IsSkippedForRecognitionAndKept) {
  ScratchDir dir;
  const std::string body = "  0\nSECTION\n  2\nHEADER\n  9\n$EXTMIN\n 10\n350000\n 20\n2200000\n  0\nENDSEC\n"
                           "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n 10\n350000\n 20\n2200000\n  0\nENDSEC\n  0\nEOF\n";
  const std::string in = dir.Write("bom.dxf", "\xEF\xBB\xBF" + body);
  RecordingSink sink;
  const ConversionJob job = ZoneChangeJob(in, dir.Path("bom.out"));
  ASSERT_TRUE(RunConversion(job, sink).Succeeded());
  const auto lines = testing::SplitLines(ReadAll(dir.Path("bom.out")));
  EXPECT_EQ(lines[0], "\xEF\xBB\xBF  0");
  EXPECT_EQ(lines[7], lines[19]);  // the extents moved as the point did
  EXPECT_NE(lines[7], "350000");
}

TEST(DxfRoleTable, EveryRowNamesAKnownEntityAndNoCodeTwice) {
  for (const dxf::RoleRow& row : dxf::RoleTable()) {
    SCOPED_TRACE(std::string(row.entity) + " " + std::string(row.part));
    // Every part of an entity belongs to an entity with a row of its own.
    EXPECT_NE(dxf::FindRoleRow(row.entity), nullptr);
    for (std::size_t a = 0; a < row.codes.size(); ++a) {
      for (std::size_t b = a + 1; b < row.codes.size(); ++b) EXPECT_NE(row.codes[a].code, row.codes[b].code);
    }
  }
}

TEST(GridRoundTrip, HoldsThePositionsOfItsZoneAndNotThoseItsSeriesCannotCarry) {
  // UTM at 45 degrees W: the zone, 320 km west of its meridian (beyond the
  // box that needs no check), the view centre 0,0 at 85.5 degrees S, and
  // 3,000 km east.
  ConversionJob job = ZoneChangeJob("", "");
  const dxf::GridRoundTrip utm(ToChainSide(job.output));
  struct Case {
    double e, n;
    bool holds;
  };
  for (const Case& c : {Case{500000, 7000000, true}, Case{180000, 5000000, true}, Case{0, 0, false},
                        Case{3500000, 7000000, false}}) {
    EXPECT_EQ(utm.Holds(c.e, c.n), c.holds) << c.e << " " << c.n;
  }
}

}  // namespace
}  // namespace transref
