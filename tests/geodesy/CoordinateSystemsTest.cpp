#include "geodesy/CoordinateSystems.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace transref {
namespace {

using K = CoordinateSystemKind;

TEST(CoordinateSystemsTest, LabelsAndFamiliesInListOrder) {
  const char* labels[] = {"LTM", "LTM (Oru)", "LTM (Customizado)", "RTM", "Gauß-Krüger",
                          "Gauß-Krüger (Oru)", "Gauß-Krüger (Customizado)", "UTM",
                          "Geográficas", "Cartesianas"};
  for (int k = 0; k < kCoordinateSystemCount; ++k) {
    const auto kind = static_cast<K>(k);
    EXPECT_EQ(SystemInfo(kind).kind, kind);
    EXPECT_EQ(SystemInfo(kind).label, labels[k]);
    EXPECT_EQ(SystemKindFromLabel(labels[k]), kind);
    EXPECT_EQ(IsProjected(kind), k < 8);
  }
  EXPECT_EQ(FamilyOf(K::Geographic), SystemFamily::Geographic);
  EXPECT_EQ(FamilyOf(K::Cartesian), SystemFamily::Cartesian);
  EXPECT_FALSE(SystemKindFromLabel("LTM ").has_value());
  EXPECT_FALSE(SystemKindFromLabel("").has_value());
}

TEST(CoordinateSystemsTest, ProjectionDefaultsPerSystem) {
  struct Row {
    K kind;
    double k0;
    const char* fe;
    const char* fnSouth;
    const char* fnNorth;
    bool editable, grey, hemispheres;
    const char* zone;
    const char* defaultEntry;
    bool panel;
  };
  const Row rows[] = {
      {K::Ltm, 0.999995, "200000", "5000000", "5000000", false, true, true, "1°", "51.5°", false},
      {K::LtmOru, 0.999995, "300000", "5000000", "5000000", false, true, false, "3°", "51°", false},
      {K::LtmCustom, 0.999995, "200000", "5000000", "5000000", true, false, true, "", "51°", true},
      {K::Rtm, 0.999995, "400000", "5000000", "5000000", false, true, true, "2°", "51°", false},
      {K::GaussKruger, 1.0, "200000", "5000000", "5000000", false, true, true, "3°", "49.5°", false},
      {K::GaussKrugerOru, 1.0, "200000", "5000000", "5000000", false, true, false, "3°", "51°",
       false},
      {K::GaussKrugerCustom, 1.0, "200000", "5000000", "5000000", true, false, true, "", "51°",
       true},
      {K::Utm, 0.9996, "500000", "10000000", "0", false, false, true, "6°", "51°", false},
  };
  for (const Row& row : rows) {
    const CoordinateSystemInfo& info = SystemInfo(row.kind);
    SCOPED_TRACE(std::string(info.label));
    EXPECT_EQ(info.scaleFactor, row.k0);
    EXPECT_EQ(info.falseEasting, row.fe);
    EXPECT_EQ(DefaultFalseNorthing(row.kind, false), row.fnSouth);
    EXPECT_EQ(DefaultFalseNorthing(row.kind, true), row.fnNorth);
    EXPECT_EQ(info.falseOriginEditable, row.editable);
    EXPECT_EQ(info.falseOriginGrey, row.grey);
    EXPECT_EQ(info.hemispheresEnabled, row.hemispheres);
    EXPECT_EQ(info.zoneWidth, row.zone);
    EXPECT_EQ(info.defaultMeridianEntry, row.defaultEntry);
    EXPECT_EQ(info.usesCustomPanel, row.panel);
    // The default entry is one of the list's entries.
    const auto entries = CentralMeridianEntries(row.kind);
    EXPECT_NE(std::find(entries.begin(), entries.end(), std::string(row.defaultEntry)),
              entries.end());
  }
  EXPECT_EQ(SystemInfo(K::LtmOru).lockedFrame, ReferenceFrame::Grs80);
  EXPECT_EQ(SystemInfo(K::GaussKrugerOru).lockedFrame, ReferenceFrame::Hayford);
  for (K free : {K::Ltm, K::LtmCustom, K::Rtm, K::GaussKruger, K::GaussKrugerCustom, K::Utm,
                 K::Geographic, K::Cartesian}) {
    EXPECT_FALSE(SystemInfo(free).lockedFrame.has_value());
  }
  EXPECT_FALSE(SystemInfo(K::LtmOru).meridianListEnabled);
  EXPECT_FALSE(SystemInfo(K::GaussKrugerOru).meridianListEnabled);
  EXPECT_TRUE(SystemInfo(K::Rtm).meridianListEnabled);
}

TEST(CoordinateSystemsTest, CentralMeridianLists) {
  auto ltm = CentralMeridianEntries(K::Ltm);
  ASSERT_EQ(ltm.size(), 180u);
  EXPECT_EQ(ltm.front(), "0.5°");
  EXPECT_EQ(ltm[51], "51.5°");
  EXPECT_EQ(ltm.back(), "179.5°");
  auto rtm = CentralMeridianEntries(K::Rtm);
  ASSERT_EQ(rtm.size(), 90u);
  EXPECT_EQ(rtm.front(), "1°");
  EXPECT_EQ(rtm[25], "51°");
  EXPECT_EQ(rtm.back(), "179°");
  auto gk = CentralMeridianEntries(K::GaussKruger);
  ASSERT_EQ(gk.size(), 60u);
  EXPECT_EQ(gk.front(), "1.5°");
  EXPECT_EQ(gk[16], "49.5°");
  EXPECT_EQ(gk.back(), "178.5°");
  auto utm = CentralMeridianEntries(K::Utm);
  ASSERT_EQ(utm.size(), 30u);
  EXPECT_EQ(utm.front(), "3°");
  EXPECT_EQ(utm.back(), "177°");
  for (K single : {K::LtmOru, K::LtmCustom, K::GaussKrugerOru, K::GaussKrugerCustom}) {
    EXPECT_EQ(CentralMeridianEntries(single), std::vector<std::string>{"51°"});
  }
  EXPECT_TRUE(CentralMeridianEntries(K::Geographic).empty());
  EXPECT_TRUE(CentralMeridianEntries(K::Cartesian).empty());
}

TEST(CoordinateSystemsTest, ParsesCentralMeridianEntries) {
  EXPECT_EQ(ParseCentralMeridianEntry("51°"), 51.0);
  EXPECT_EQ(ParseCentralMeridianEntry("49.5°"), 49.5);
  EXPECT_EQ(ParseCentralMeridianEntry("51.2583333333°"), 51.2583333333);
  for (K kind : {K::Ltm, K::Rtm, K::GaussKruger, K::Utm}) {
    for (const std::string& entry : CentralMeridianEntries(kind)) {
      const double v = ParseCentralMeridianEntry(entry);
      EXPECT_GT(v, 0.0);
      EXPECT_LT(v, 180.0);
    }
  }
  EXPECT_THROW(ParseCentralMeridianEntry("x°"), std::runtime_error);
}

TEST(CoordinateSystemsTest, FramesAndModels) {
  EXPECT_EQ(FrameInfo(ReferenceFrame::Grs80).label, "GRS80 (WGS84; SIRGAS)");
  EXPECT_EQ(FrameInfo(ReferenceFrame::Grs80).semiMajorAxis, 6378137.0);
  EXPECT_EQ(FrameInfo(ReferenceFrame::Grs80).inverseFlattening, 298.257222101);
  EXPECT_EQ(FrameInfo(ReferenceFrame::Hayford).label, "Hayford 1924 (Comissão da Carta Geral)");
  EXPECT_EQ(FrameInfo(ReferenceFrame::Hayford).semiMajorAxis, 6378388.0);
  EXPECT_EQ(FrameInfo(ReferenceFrame::Hayford).inverseFlattening, 297.0);
  EXPECT_EQ(FrameInfo(ReferenceFrame::Custom).label, "Customizado");
  EXPECT_EQ(TransformationModelLabel(TransformationModel::Isogonal),
            "7 Parâmetros - Transformação Isogonal ");
  EXPECT_EQ(TransformationModelLabel(TransformationModel::Translation),
            "3 Parâmetros - Translação");
  EXPECT_EQ(TransformationModelLabel(TransformationModel::Affine),
            "12 Parâmetros - Transformação Afim");
  EXPECT_EQ(static_cast<int>(HeightKind::Geometric), 0);
  EXPECT_EQ(static_cast<int>(HeightKind::Orthometric), 1);
}

}  // namespace
}  // namespace transref
