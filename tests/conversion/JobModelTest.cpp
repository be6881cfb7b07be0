// The job model's own rules: what a file kind offers, what locks and why,
// refusals that leave the state as it was, the output following the input,
// the customised meridian and the affine question.
#include <gtest/gtest.h>

#include "conversion/Messages.h"
#include "conversion/model/JobModel.h"

namespace transref {
namespace {

using K = CoordinateSystemKind;

TEST(JobModel, FileKindsOfferTheirSystems) {
  EXPECT_EQ(SystemsOffered(FileKind::Ascii3D).size(), 10u);
  EXPECT_EQ(SystemsOffered(FileKind::Ascii2D).size(), 9u);   // no cartesian
  EXPECT_EQ(SystemsOffered(FileKind::Dxf).size(), 8u);       // the grids
  EXPECT_EQ(FileKindsOffered(Side::Out, FileKind::Ascii2D).size(), 2u);  // a list stays a list
  EXPECT_EQ(FileKindsOffered(Side::Out, FileKind::Dxf).size(), 3u);
  EXPECT_EQ(FileKindsOffered(Side::Out, FileKind::Dxf, true).size(), 6u);  // a drawing's points go to any point file
  EXPECT_EQ(FileKindLabel(FileKind::Ascii3D, SystemFamily::Projected, true), "ASCII - Coordenadas 3D(ID; E, N, h)");
  EXPECT_EQ(FileKindLabel(FileKind::Ascii2D, SystemFamily::Geographic, true), "ASCII - Coordenadas 2D(ID; Long, Lat)");

  JobModel model;  // as the window starts: both DXF
  EXPECT_FALSE(model.ChooseFileKind(Side::Out, FileKind::Delimited).Refused());
  EXPECT_TRUE(model.ChooseSystem(Side::In, K::Geographic).Refused());
  EXPECT_EQ(model.Fields(Side::In).system, K::GaussKrugerOru);
  EXPECT_FALSE(model.ChooseFileKind(Side::In, FileKind::Ascii2D).Refused());
  EXPECT_EQ(model.Fields(Side::Out).fileKind, FileKind::Ascii2D);
  EXPECT_EQ(model.ChooseFileKind(Side::Out, FileKind::Dxf).refusal,
            "uma lista ASCII não pode ser convertida em desenho DXF");
}

// A change of format is a run of its own even between equal sides; a map
// starts at the longitude and latitude it holds; the layout chosen for a
// delimited input goes into the job.
TEST(JobModel, PointFileKindsAndTheirRuns) {
  JobModel model;
  model.OfferPointFileKinds(true);
  EXPECT_EQ(model.KindsOffered(Side::In).back(), FileKind::Delimited);
  ASSERT_FALSE(model.ChooseFileKind(Side::In, FileKind::Delimited).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::Out, *model.Fields(Side::In).system).Refused());
  EXPECT_FALSE(model.SidesDiffer());
  EXPECT_FALSE(model.IsRunnable(true, true));  // delimited to delimited, same sides
  ASSERT_FALSE(model.ChooseFileKind(Side::Out, FileKind::Kml).Refused());
  EXPECT_EQ(SystemsOffered(FileKind::Kml), std::vector<K>{K::Geographic});
  EXPECT_EQ(model.Fields(Side::Out).system, K::Geographic);
  EXPECT_TRUE(model.ChooseSystem(Side::Out, *model.Fields(Side::In).system).Refused());
  EXPECT_TRUE(model.IsRunnable(true, true));
  ASSERT_FALSE(model.ChooseFileKind(Side::Out, FileKind::Ascii3D).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::Out, *model.Fields(Side::In).system).Refused());
  EXPECT_TRUE(model.IsRunnable(true, true));
  DelimitedOptions options;
  options.columns = {ColumnRole::Id, ColumnRole::C2, ColumnRole::C1};
  model.ChooseDelimitedLayout(options);
  EXPECT_EQ(model.BuildJob().job->delimited.columns, options.columns);
  // Another input kind drops it: a strict list is never read in its columns.
  ASSERT_FALSE(model.ChooseFileKind(Side::In, FileKind::Ascii3D).Refused());
  EXPECT_TRUE(model.BuildJob().job->delimited.columns.empty());
}

// Each locked field says why; a refused choice changes nothing.
TEST(JobModel, LocksCarryTheirReasons) {
  JobModel model;
  const SideLocks oru = model.Locks(Side::In);  // "Gauß-Krüger (Oru)"
  EXPECT_FALSE(oru.hemispheresEnabled);
  EXPECT_EQ(oru.hemispheresReason, "o sistema \"Gauß-Krüger (Oru)\" fixa os hemisférios em Oeste (W) e Sul (S)");
  EXPECT_EQ(model.ChooseEllipsoid(Side::In, ReferenceFrame::Grs80).refusal,
            "o sistema \"Gauß-Krüger (Oru)\" usa sempre o elipsóide \"Hayford 1924 (Comissão da Carta Geral)\"");
  EXPECT_EQ(model.Fields(Side::In).frame, ReferenceFrame::Hayford);
  EXPECT_EQ(model.Fields(Side::In).semiMajorAxisText, "6378388");
  EXPECT_TRUE(model.ChooseLatitudeHemisphere(Side::In, true).Refused());
  EXPECT_FALSE(model.Fields(Side::In).northern);
  EXPECT_EQ(model.TypeFalseEasting(Side::In, "1").refusal,
            "a falsa origem de \"Gauß-Krüger (Oru)\" é fixa; só os sistemas customizados aceitam outra");
  EXPECT_EQ(model.Fields(Side::In).falseEastingText, "200000");
  EXPECT_EQ(model.ChooseCentralMeridian(Side::In, 53).refusal,
            "não é um meridiano central da lista de \"Gauß-Krüger (Oru)\" (51°, negativo a oeste)");
}

TEST(JobModel, GridOutputFollowsAGridInput) {
  JobModel model;
  ASSERT_FALSE(model.ChooseFileKind(Side::In, FileKind::Ascii3D).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::In, K::Utm).Refused());
  ASSERT_FALSE(model.ChooseEllipsoid(Side::In, ReferenceFrame::Grs80).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::Out, K::Utm).Refused());
  ASSERT_FALSE(model.ChooseLatitudeHemisphere(Side::In, true).Refused());
  EXPECT_EQ(model.Fields(Side::In).falseNorthingText, "0");  // UTM north
  EXPECT_TRUE(model.Fields(Side::Out).northern);
  EXPECT_EQ(model.Fields(Side::Out).falseNorthingText, "0");
  EXPECT_FALSE(model.SidesDiffer());
  const SideLocks out = model.Locks(Side::Out);
  EXPECT_FALSE(out.hemispheresEnabled);
  EXPECT_EQ(out.hemispheresReason,
            "com a entrada em \"UTM\", os hemisférios da saída seguem os da entrada (Oeste (W), Norte (N))");
  // A zone change is a conversion.
  ASSERT_FALSE(model.ChooseCentralMeridian(Side::Out, 45).Refused());
  EXPECT_TRUE(model.SidesDiffer());
  // After a geographic input the output hemispheres are free again.
  ASSERT_FALSE(model.ChooseSystem(Side::In, K::Geographic).Refused());
  EXPECT_TRUE(model.Locks(Side::Out).hemispheresEnabled);
  EXPECT_FALSE(model.Fields(Side::Out).northern);
}

// 51.3015 typed is 51° 30' 15"; a negative value chooses the western hemisphere.
TEST(JobModel, TypedCustomisedMeridian) {
  JobModel model;
  ASSERT_FALSE(model.ChooseSystem(Side::In, K::LtmCustom).Refused());
  ASSERT_FALSE(model.ChooseLongitudeHemisphere(Side::In, false).Refused());
  ASSERT_FALSE(model.TypeCentralMeridian(Side::In, "51,3015", ',').Refused());
  EXPECT_EQ(model.Fields(Side::In).meridianPanelText, "51° 30' 15.000\"");
  EXPECT_EQ(model.Fields(Side::In).MeridianEntry(), "51.5041666667°");
  EXPECT_FALSE(model.Fields(Side::In).west);
  ASSERT_FALSE(model.TypeCentralMeridian(Side::In, "-48.3", '.').Refused());
  EXPECT_TRUE(model.Fields(Side::In).west);
  EXPECT_EQ(model.TypeCentralMeridian(Side::In, "abc", '.').refusal, "abc não é um valor numerico!");
  EXPECT_EQ(model.Fields(Side::In).MeridianEntry(), "48.5000000000°");
  const JobModel::Built built = model.BuildJob();
  ASSERT_TRUE(built.job);
  EXPECT_EQ(built.job->input.centralMeridian, -48.5);
}

// No built-in affine parameters between two frames: "No" goes back to the
// model applied before, whose parameters are looked up again.
TEST(JobModel, RefusedAffineParametersGoBack) {
  struct Answer : Dialogue {
    int asked = 0;
    bool yes = false;
    bool AskCustomParameters() override { return ++asked, yes; }
  } answer;
  JobModel model;  // Hayford -> GRS80
  model.SetDialogue(&answer);
  ASSERT_FALSE(model.ChooseModel(TransformationModel::Translation).Refused());
  EXPECT_EQ(model.ChooseModel(TransformationModel::Affine).refusal, kNoParametersMessage);
  EXPECT_EQ(answer.asked, 1);
  EXPECT_EQ(model.Model(), TransformationModel::Translation);
  EXPECT_EQ(model.Parameters().panel, ParameterPanel::Isogonal);
  EXPECT_FALSE(model.Parameters().affineEnabled);
  answer.yes = true;
  ASSERT_FALSE(model.ChooseModel(TransformationModel::Affine).Refused());
  EXPECT_TRUE(model.Parameters().affineEnabled);
  EXPECT_FALSE(model.TypeAffineParameters({1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 0, 1}).Refused());
  EXPECT_TRUE(model.TypeIsogonalParameters({}).Refused());
}

TEST(JobModel, CartesianSidesHaveNoHeights) {
  JobModel model;
  ASSERT_FALSE(model.ChooseFileKind(Side::In, FileKind::Ascii3D).Refused());
  ASSERT_FALSE(model.ChooseHeightKind(Side::In, true).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::In, K::Cartesian).Refused());
  EXPECT_FALSE(model.Altimetry().inputGeometric);
  EXPECT_FALSE(model.Altimetry().importHeights);
  EXPECT_TRUE(model.ChooseMeanHeight(Side::In, 10.0).Refused());
  EXPECT_TRUE(model.ChooseImportHeights(true).Refused());
  EXPECT_EQ(model.ChooseMeanUndulation(Side::Out, 3.0).refusal,
            "a ondulação média só se aplica a altitudes geométricas");
}

}  // namespace
}  // namespace transref

namespace transref {
namespace {

// A pair of frames that a shipped grid joins loads the grid model with that
// grid; other pairs fall back to the seven parameters or the user's grid; a
// pair without published parameters asks, and a refusal never leaves
// neutral values behind.
TEST(JobModel, FramesLoadTheirGridOrAsk) {
  struct Answer : Dialogue {
    int asked = 0;
    bool yes = false;
    bool AskCustomParameters() override { return ++asked, yes; }
  } answer;
  using R = ReferenceFrame;
  using M = TransformationModel;
  JobModel model;
  model.SetDialogue(&answer);
  ASSERT_FALSE(model.ChooseSystem(Side::In, K::Utm).Refused());
  ASSERT_FALSE(model.ChooseSystem(Side::Out, K::Utm).Refused());
  const auto choose = [&](R in, R out) {
    EXPECT_FALSE(model.ChooseEllipsoid(Side::In, in).Refused());
    EXPECT_FALSE(model.ChooseEllipsoid(Side::Out, out).Refused());
  };
  choose(R::Sad69, R::Grs80);
  EXPECT_EQ(model.Model(), M::Grid);
  EXPECT_NE(model.GridPath().find("SAD69_003.gsb"), std::string::npos);
  EXPECT_EQ(model.GridText(), "SAD69_003.gsb (SAD69 → SIRGAS00)");
  EXPECT_TRUE(model.IsRunnable(true, true));
  choose(R::Sad69, R::Sad69_96);  // one ellipsoid, two frames: still a conversion
  EXPECT_EQ(model.Model(), M::Isogonal);
  EXPECT_TRUE(model.SidesDiffer());
  EXPECT_EQ(model.Parameters().legs.size(), 2u);

  // Grid chosen by the user for a pair without a shipped grid: no file, no run.
  EXPECT_FALSE(model.ChooseModel(M::Grid).Refused());
  EXPECT_EQ(model.GridText(), kNoGridChosen);
  EXPECT_FALSE(model.IsRunnable(true, true));
  model.ChooseGridFile("/nao/existe.gsb");
  EXPECT_EQ(model.GridPath(), "/nao/existe.gsb");
  choose(R::Sad69, R::Grs80);  // the shipped grid replaces it for its pair ...
  EXPECT_NE(model.GridPath().find("SAD69_003.gsb"), std::string::npos);
  choose(R::Sad69, R::Sad69_96);  // ... and the user's comes back elsewhere
  EXPECT_EQ(model.GridPath(), "/nao/existe.gsb");

  // Córrego Alegre 1961 has no published parameters: the question, then
  // typed values on "Sim", the grid model on "Não".
  EXPECT_FALSE(model.ChooseModel(M::Translation).Refused());
  answer.yes = true;
  EXPECT_FALSE(model.ChooseEllipsoid(Side::In, R::CorregoAlegre61).Refused());  // with SAD 69/96
  EXPECT_EQ(answer.asked, 1);
  EXPECT_EQ(model.Model(), M::Translation);
  EXPECT_FALSE(model.TypeIsogonalParameters({1, 2, 3, 0, 0, 0, 1}).Refused());
  answer.yes = false;
  EXPECT_FALSE(model.ChooseEllipsoid(Side::Out, R::Sad69).Refused());
  EXPECT_EQ(answer.asked, 2);
  EXPECT_EQ(model.Model(), M::Grid);
  EXPECT_TRUE(model.TypeIsogonalParameters({1, 2, 3, 0, 0, 0, 1}).Refused());
}

}  // namespace
}  // namespace transref
