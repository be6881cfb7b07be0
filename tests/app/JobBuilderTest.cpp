// The job transref-convert builds: the window's defaults and constraints,
// read from the shared system table and parameter lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/JobBuilder.h"
#include "conversion/lists/InputKind.h"
#include "conversion/model/JobModel.h"
#include "geodesy/ParameterSets.h"

namespace transref::convert {
namespace {

using Args = std::vector<std::string>;

// The systems of the window's start where a case does not name them.
Args WithSystems(Args arguments) {
  const auto names = [&](const char* option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  if (!names("--from")) arguments.insert(arguments.begin(), {"--from", "gk-oru"});
  if (!names("--to")) arguments.insert(arguments.begin(), {"--to", "ltm-oru"});
  return arguments;
}

ConversionJob Build(Args arguments) {
  arguments = WithSystems(arguments);
  arguments.push_back("in.txt");
  arguments.push_back("out.txt");
  return BuildConversionJob(ParseCommandLine(arguments).options, std::nullopt);
}

// The refusal text for a set of options; the test fails if they are accepted.
std::string Refusal(Args arguments, std::string input = "in.txt") {
  arguments = WithSystems(arguments);
  arguments.push_back(input);
  arguments.push_back("out.txt");
  try {
    BuildConversionJob(ParseCommandLine(arguments).options, std::nullopt);
  } catch (const UsageError& error) {
    return error.what();
  }
  ADD_FAILURE() << "accepted options the window would not allow";
  return {};
}

// The refusal names `option` at its start ("--to-kind: ...").
#define EXPECT_REFUSED_NAMING(arguments, option)                      \
  do {                                                                \
    const std::string text = Refusal arguments;                       \
    EXPECT_EQ(text.rfind(option, 0), 0u) << "refusal: " << text;      \
  } while (false)

void ExpectParameters(const IsogonalParameters& actual, const IsogonalParameters& expected) {
  EXPECT_DOUBLE_EQ(actual.tx, expected.tx);
  EXPECT_DOUBLE_EQ(actual.ty, expected.ty);
  EXPECT_DOUBLE_EQ(actual.tz, expected.tz);
  EXPECT_DOUBLE_EQ(actual.rx, expected.rx);
  EXPECT_DOUBLE_EQ(actual.ry, expected.ry);
  EXPECT_DOUBLE_EQ(actual.rz, expected.rz);
  EXPECT_DOUBLE_EQ(actual.scale, expected.scale);
}

// No system is assumed: a UTM list taken for Gauß-Krüger (Oru) moves every
// point by some 100 km.
TEST(JobBuilder, SystemsMustBeNamed) {
  for (const Args& arguments : {Args{}, Args{"--from", "utm"}, Args{"--to", "utm"}}) {
    Args line = arguments;
    line.insert(line.end(), {"in.txt", "out.txt"});
    try {
      BuildConversionJob(ParseCommandLine(line).options, std::nullopt);
      ADD_FAILURE() << "converted without both systems";
    } catch (const UsageError& error) {
      const std::string text = error.what();
      EXPECT_EQ(text.rfind(arguments.empty() ? "--from e --to: " : arguments[0] == "--from" ? "--to: " : "--from: ", 0), 0u) << text;
      for (const char* name : {"\"Gauß-Krüger (Oru)\"", "ltm, ltm-oru, ltm-custom, rtm, gk, gk-oru, gk-custom, utm, geographic, cartesian"})
        EXPECT_NE(text.find(name), std::string::npos) << text;
    }
  }
}

TEST(JobBuilder, DefaultsAreTheWindowsStartingChoices) {
  const ConversionJob job = Build({});
  EXPECT_EQ(job.inputPath, "in.txt");
  EXPECT_EQ(job.outputPath, "out.txt");
  EXPECT_EQ(job.inputKind, FileKind::Ascii3D);
  EXPECT_EQ(job.outputKind, FileKind::Ascii3D);

  EXPECT_EQ(job.input.system, CoordinateSystemKind::GaussKrugerOru);
  EXPECT_EQ(job.input.systemLabel, "Gauß-Krüger (Oru)");
  EXPECT_EQ(job.input.semiMajorAxis, 6378388.0);  // Hayford 1924, locked
  EXPECT_EQ(job.input.inverseFlattening, 297.0);
  EXPECT_EQ(job.input.centralMeridian, -51.0);
  EXPECT_FALSE(job.input.northern);
  EXPECT_EQ(job.input.falseEasting, 200000.0);
  EXPECT_EQ(job.input.falseNorthing, 5000000.0);
  EXPECT_EQ(job.input.scaleFactor, 1.0);
  EXPECT_EQ(job.input.heightKind, HeightKind::Orthometric);

  EXPECT_EQ(job.output.system, CoordinateSystemKind::LtmOru);
  EXPECT_EQ(job.output.systemLabel, "LTM (Oru)");
  EXPECT_EQ(job.output.semiMajorAxis, 6378137.0);  // GRS80, locked
  EXPECT_EQ(job.output.inverseFlattening, 298.257222101);
  EXPECT_EQ(job.output.centralMeridian, -51.0);
  EXPECT_FALSE(job.output.northern);
  EXPECT_EQ(job.output.falseEasting, 300000.0);
  EXPECT_EQ(job.output.falseNorthing, 5000000.0);
  EXPECT_EQ(job.output.scaleFactor, 0.999995);

  // Hayford -> GRS80: the built-in seven parameters, set B.
  EXPECT_EQ(job.model, TransformationModel::Isogonal);
  ExpectParameters(job.isogonal, kIsogonalHayfordToGrs80);
  EXPECT_FALSE(job.isIdentity);

  EXPECT_TRUE(job.altimetry.importHeights);
  EXPECT_FALSE(job.altimetry.inputGeometric);
  EXPECT_FALSE(job.altimetry.outputGeometric);
}

TEST(JobBuilder, SystemsByListTextOrShortName) {
  EXPECT_EQ(SystemFromName("Gauß-Krüger (Customizado)"), CoordinateSystemKind::GaussKrugerCustom);
  EXPECT_EQ(SystemFromName("Geográficas"), CoordinateSystemKind::Geographic);
  EXPECT_EQ(SystemFromName("ltm-custom"), CoordinateSystemKind::LtmCustom);
  EXPECT_EQ(SystemFromName("UTM"), CoordinateSystemKind::Utm);
  EXPECT_EQ(SystemFromName("Cartesian"), CoordinateSystemKind::Cartesian);
  EXPECT_FALSE(SystemFromName("gauss"));
  EXPECT_FALSE(SystemFromName("gauß-krüger (oru)"));  // list texts as they stand
  EXPECT_REFUSED_NAMING(({"--from", "sirgas"}), "--from: sistema desconhecido \"sirgas\"");
  EXPECT_REFUSED_NAMING(({"--to-kind", "xls"}), "--to-kind: tipo desconhecido \"xls\"");
}

// Without --from-kind / --to-kind: the input's content (or a .dxf name),
// the output's name.
TEST(JobBuilder, FileKindsFromNamesAndContent) {
  EXPECT_EQ(FileKindFromExtension("/x/planta.DXF"), FileKind::Dxf);
  EXPECT_EQ(FileKindFromExtension("pontos.dat"), FileKind::Ascii3D);
  EXPECT_EQ(FileKindFromExtension("dxf"), FileKind::Ascii3D);
  const auto kinds = [](Args files, std::optional<FileKind> detected, Args options = {}) {
    options = WithSystems(options);
    options.insert(options.end(), files.begin(), files.end());
    const ConversionJob job = BuildConversionJob(ParseCommandLine(options).options, detected);
    return std::pair{job.inputKind, job.outputKind};
  };
  using P = std::pair<FileKind, FileKind>;
  // A drawing written to a list name becomes a list, not a DXF named .txt.
  EXPECT_EQ(kinds({"lote.dxf", "pts.txt"}, FileKind::Dxf), P(FileKind::Dxf, FileKind::Ascii3D));
  EXPECT_EQ(kinds({"lote.dxf", "pts.txt"}, std::nullopt), P(FileKind::Dxf, FileKind::Ascii3D));
  EXPECT_EQ(kinds({"planta.DXF", "saida.dxf"}, FileKind::Dxf), P(FileKind::Dxf, FileKind::Dxf));
  // The content decides whatever the name: a drawing saved as .txt, or read
  // from standard input.
  EXPECT_EQ(kinds({"desenho.txt", "saida.dxf"}, FileKind::Dxf), P(FileKind::Dxf, FileKind::Dxf));
  EXPECT_EQ(kinds({"-", "-"}, FileKind::Dxf), P(FileKind::Dxf, FileKind::Ascii3D));
  // A 2D list stays 2D, except in cartesian coordinates.
  EXPECT_EQ(kinds({"pontos.txt", "saida.dat"}, FileKind::Ascii2D), P(FileKind::Ascii2D, FileKind::Ascii2D));
  EXPECT_EQ(kinds({"pontos.txt", "saida.dat"}, FileKind::Ascii2D, {"--to", "cartesian"}),
            P(FileKind::Ascii2D, FileKind::Ascii3D));
  EXPECT_EQ(kinds({"pontos.txt", "-"}, FileKind::Ascii3D), P(FileKind::Ascii3D, FileKind::Ascii3D));
  // Options win.
  EXPECT_EQ(kinds({"pontos.txt", "saida.dat"}, FileKind::Ascii3D, {"--from-kind", "ascii2d"}),
            P(FileKind::Ascii2D, FileKind::Ascii2D));
  EXPECT_EQ(kinds({"lote.dxf", "saida.dxf"}, FileKind::Dxf, {"--to-kind", "ascii2d"}),
            P(FileKind::Dxf, FileKind::Ascii2D));
  // A list cannot become a drawing, whatever the output's name.
  try {
    BuildConversionJob(ParseCommandLine(WithSystems({"pontos.txt", "saida.dxf"})).options, FileKind::Ascii3D);
    ADD_FAILURE() << "a list written as a drawing";
  } catch (const UsageError& error) {
    EXPECT_EQ(std::string(error.what()),
              "a saída \"saida.dxf\" tem a extensão de um desenho DXF, e uma lista ASCII não pode ser "
              "convertida em desenho (use outro nome ou --to-kind ascii3d)");
  }
}

TEST(JobBuilder, KindsOfferOnlyTheWindowsSystems) {
  EXPECT_EQ(Refusal({"--to-kind", "dxf"}),
            "--to-kind: uma lista ASCII não pode ser convertida em desenho DXF");
  EXPECT_EQ(Refusal({"--from-kind", "ascii2d", "--from", "cartesian"}),
            "--from: o sistema \"Cartesianas\" não é oferecido para arquivos do tipo ascii2d "
            "(--from-kind)");
  EXPECT_REFUSED_NAMING(({"--to", "cartesian", "--to-kind", "ascii2d"}), "--to: ");
  EXPECT_REFUSED_NAMING(({"--from", "geographic"}, "planta.dxf"), "--from: ");
  EXPECT_REFUSED_NAMING(({"--to", "cartesian", "--to-kind", "dxf"}, "planta.dxf"), "--to: ");
  // A drawing may become a list in any system its kind offers.
  EXPECT_EQ(Build({"--from-kind", "dxf", "--to-kind", "ascii3d", "--to", "cartesian"}).output.system,
            CoordinateSystemKind::Cartesian);
  EXPECT_EQ(Build({"--from-kind", "ascii2d", "--to-kind", "ascii3d", "--to", "cartesian"})
                .output.system,
            CoordinateSystemKind::Cartesian);
}

TEST(JobBuilder, LockedEllipsoidsCannotBeContradicted) {
  EXPECT_EQ(Refusal({"--from-ellipsoid", "grs80"}),
            "--from-ellipsoid: o sistema \"Gauß-Krüger (Oru)\" usa sempre o elipsóide "
            "\"Hayford 1924 (Comissão da Carta Geral)\"");
  EXPECT_REFUSED_NAMING(({"--to-ellipsoid", "6378137,298.257222101"}), "--to-ellipsoid: ");
  EXPECT_EQ(Build({"--from-ellipsoid", "hayford", "--to-ellipsoid", "GRS80"}).input.semiMajorAxis,
            6378388.0);

  // Free systems default to GRS80 and take Hayford or a custom one.
  const ConversionJob free = Build({"--from", "utm", "--to", "ltm", "--to-ellipsoid", "hayford"});
  EXPECT_EQ(free.input.semiMajorAxis, 6378137.0);
  EXPECT_EQ(free.output.inverseFlattening, 297.0);
  ExpectParameters(free.isogonal, kIsogonalGrs80ToHayford);  // set A

  const ConversionJob custom = Build({"--from", "utm", "--from-ellipsoid", "6378160,298.25"});
  EXPECT_EQ(custom.input.semiMajorAxis, 6378160.0);
  EXPECT_EQ(custom.input.inverseFlattening, 298.25);
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-ellipsoid", "6378160"}), "--from-ellipsoid: ");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-ellipsoid", "6378160,x"}), "--from-ellipsoid: ");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-ellipsoid", "clarke"}), "--from-ellipsoid: ");
}

TEST(JobBuilder, HemispheresAndUtmFalseNorthing) {
  EXPECT_EQ(Refusal({"--from-hemisphere", "N"}),
            "--from-hemisphere: o sistema \"Gauß-Krüger (Oru)\" fixa os hemisférios em Oeste (W) e "
            "Sul (S)");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-hemisphere", "X"}), "--from-hemisphere: ");

  const ConversionJob south = Build({"--from", "utm", "--from-hemisphere", "S"});
  EXPECT_FALSE(south.input.northern);
  EXPECT_EQ(south.input.falseNorthing, 10000000.0);
  EXPECT_EQ(south.input.falseEasting, 500000.0);
  EXPECT_EQ(south.input.scaleFactor, 0.9996);

  // A grid output follows a grid input's hemispheres, UTM's false northing with it.
  const ConversionJob north =
      Build({"--from", "ltm", "--from-hemisphere", "n", "--to", "utm", "--to-ellipsoid", "hayford"});
  EXPECT_TRUE(north.input.northern);
  EXPECT_TRUE(north.output.northern);
  EXPECT_EQ(north.output.falseNorthing, 0.0);
  EXPECT_REFUSED_NAMING(({"--from", "ltm", "--from-hemisphere", "N", "--to", "utm",
                          "--to-hemisphere", "S"}),
                        "--to-hemisphere: com a entrada em \"LTM\"");

  // After a geographic input the output hemispheres are free again.
  const ConversionJob free =
      Build({"--from", "geographic", "--to", "utm", "--to-hemisphere", "N", "--to-cm", "45"});
  EXPECT_TRUE(free.output.northern);
  EXPECT_EQ(free.output.centralMeridian, 45.0);
  EXPECT_EQ(free.output.falseNorthing, 0.0);
  // The Oru systems keep W, S whatever the input.
  EXPECT_REFUSED_NAMING(({"--from", "geographic", "--to-hemisphere", "N"}), "--to-hemisphere: ");
}

TEST(JobBuilder, CentralMeridiansComeFromTheList) {
  EXPECT_EQ(Build({"--from", "ltm"}).input.centralMeridian, -51.5);  // default entry 51.5°
  EXPECT_EQ(Build({"--from", "gk"}).input.centralMeridian, -49.5);
  EXPECT_EQ(Build({"--from", "rtm", "--from-cm", "-53"}).input.centralMeridian, -53.0);
  EXPECT_EQ(Build({"--from", "utm", "--from-cm", "-45"}).input.centralMeridian, -45.0);
  EXPECT_EQ(Build({"--from", "gk", "--from-cm", "+10.5"}).input.centralMeridian, 10.5);

  EXPECT_EQ(Refusal({"--from", "utm", "--from-cm", "-46"}),
            "--from-cm: \"-46\" não é um meridiano central da lista de \"UTM\" (3° a 177°, "
            "negativo a oeste)");
  EXPECT_REFUSED_NAMING(({"--from", "ltm", "--from-cm", "-51"}), "--from-cm: ");
  EXPECT_REFUSED_NAMING(({"--from", "ltm", "--from-cm", "abc"}), "--from-cm: ");
  EXPECT_REFUSED_NAMING(({"--from-cm", "-53"}), "--from-cm: ");  // Oru: one entry only
  EXPECT_REFUSED_NAMING(({"--from-cm", "51"}), "--from-cm: ");   // Oru: west only
  EXPECT_EQ(Build({"--from-cm", "-51"}).input.centralMeridian, -51.0);

  // An eastern input carries the output hemisphere with it.
  const ConversionJob east =
      Build({"--from", "utm", "--from-cm", "45", "--to", "ltm", "--to-ellipsoid", "hayford"});
  EXPECT_EQ(east.output.centralMeridian, 51.5);
  EXPECT_EQ(Refusal({"--from", "utm", "--from-cm", "45", "--to", "ltm", "--to-cm", "-51.5"})
                .rfind("--to-cm: com a entrada em \"UTM\", os hemisférios da saída seguem os da "
                       "entrada (Leste (E), Sul (S))",
                       0),
            0u);
  EXPECT_REFUSED_NAMING(({"--from", "geographic", "--from-cm", "-51"}), "--from-cm: ");
}

TEST(JobBuilder, SameSystemCopiesTheInputAndNeedsAChange) {
  EXPECT_EQ(Refusal({"--from", "utm", "--to", "utm"}),
            "--to: nada a converter: entrada e saída têm o mesmo sistema, meridiano central, "
            "hemisférios, falsa origem e elipsóide (mude --to, --to-ellipsoid, --to-cm ou "
            "--to-hemisphere)");
  EXPECT_REFUSED_NAMING(({"--from", "geographic", "--to", "geographic"}), "--to: nada a converter");
  // A change of zone, or of false origin, is a conversion.
  EXPECT_EQ(Build({"--from", "utm", "--from-cm", "-51", "--to", "utm", "--to-cm", "-45"}).output.centralMeridian,
            -45.0);
  EXPECT_EQ(Build({"--from", "ltm", "--to", "ltm", "--to-cm", "-48.5"}).output.centralMeridian, -48.5);
  EXPECT_EQ(Build({"--from", "gk-custom", "--to", "gk-custom", "--to-false-easting", "150000"})
                .output.falseEasting,
            150000.0);
  const ConversionJob copy = Build({"--from", "gk-custom", "--from-cm-dms", "-48.3",
                                    "--from-false-easting", "150000", "--to", "gk-custom",
                                    "--to-ellipsoid", "hayford"});
  EXPECT_EQ(copy.output.centralMeridian, copy.input.centralMeridian);
  EXPECT_EQ(copy.output.centralMeridian, -48.5);
  EXPECT_EQ(copy.output.falseEasting, 150000.0);
  // The output edit stays open for another value.
  EXPECT_EQ(Build({"--from", "utm", "--to", "utm", "--to-ellipsoid", "6378137.0,298.257222101",
                   "--to-cm", "-45"})
                .output.centralMeridian,
            -45.0);
}

TEST(JobBuilder, CustomCentralMeridianGoesThroughItsListEntry) {
  // 51° 15' 30" W reaches the projection as the entry "51.2583333333°".
  const ConversionJob job = Build({"--from", "gk-custom", "--from-cm-dms", "-51.1530"});
  EXPECT_EQ(job.input.centralMeridian, -51.2583333333);
  EXPECT_NE(job.input.centralMeridian, -(51.0 + 15.0 / 60.0 + 30.0 / 3600.0));

  EXPECT_EQ(Build({"--from", "ltm-custom", "--from-cm-dms", "49.30"}).input.centralMeridian, 49.5);
  EXPECT_EQ(Build({"--from", "ltm-custom", "--from-cm-dms", "-0.30"}).input.centralMeridian, -0.5);
  EXPECT_EQ(Build({"--from", "ltm-custom", "--from-cm", "-51.123456789012"}).input.centralMeridian,
            -51.123456789);
  EXPECT_EQ(Build({"--from", "ltm-custom"}).input.centralMeridian, -51.0);
  EXPECT_EQ(Build({"--from", "ltm-custom"}).input.scaleFactor, 0.999995);

  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-cm-dms", "-45"}), "--from-cm-dms: ");
  EXPECT_REFUSED_NAMING(({"--from", "gk-custom", "--from-cm-dms", "x"}), "--from-cm-dms: ");
  EXPECT_REFUSED_NAMING(({"--from", "gk-custom", "--from-cm-dms", "400"}), "--from-cm-dms: ");
  EXPECT_REFUSED_NAMING(({"--from", "gk-custom", "--from-cm", "-51", "--from-cm-dms", "-51"}),
                        "--from-cm e --from-cm-dms");
}

TEST(JobBuilder, FalseOriginsOnlyForTheCustomSystems) {
  const ConversionJob job = Build({"--from", "ltm-custom", "--from-false-easting", "150000,5",
                                   "--from-false-northing", "1e7"});
  EXPECT_EQ(job.input.falseEasting, 150000.5);
  EXPECT_EQ(job.input.falseNorthing, 10000000.0);
  EXPECT_EQ(Build({"--from", "gk-custom"}).input.falseEasting, 200000.0);
  EXPECT_EQ(Refusal({"--from", "utm", "--from-false-easting", "0"}),
            "--from-false-easting: a falsa origem de \"UTM\" é fixa; só os sistemas customizados "
            "aceitam outra");
  EXPECT_REFUSED_NAMING(({"--to-false-northing", "0"}), "--to-false-northing: ");
  EXPECT_REFUSED_NAMING(({"--from", "ltm-custom", "--from-false-easting", "1.2.3"}),
                        "--from-false-easting: ");
  EXPECT_REFUSED_NAMING(({"--to", "geographic", "--to-false-easting", "0"}),
                        "--to-false-easting: não se aplica");
}

TEST(JobBuilder, ParametersOnlyWhereTheWindowLetsThemBeTyped) {
  EXPECT_REFUSED_NAMING(({"--params", "1,2,3,0,0,0,1"}),
                        "--params: para este par de referenciais valem os parâmetros internos");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--to", "ltm", "--params", "1,2,3,0,0,0,1"}),
                        "--params: os dois lados usam o mesmo referencial");

  // One custom side: neutral values unless typed.
  const Args customPair = {"--from", "utm", "--from-ellipsoid", "6378160,298.25", "--to", "ltm"};
  const ConversionJob neutral = Build(customPair);
  EXPECT_TRUE(neutral.isIdentity);
  ExpectParameters(neutral.isogonal, IsogonalParameters{});

  Args typed = customPair;
  typed.insert(typed.end(), {"--params", "-57,1,-41,0.0001,-0.0002,0.0003,1.0000012"});
  const ConversionJob job = Build(typed);
  ExpectParameters(job.isogonal, {-57, 1, -41, 0.0001, -0.0002, 0.0003, 1.0000012});
  EXPECT_FALSE(job.isIdentity);

  Args shortList = customPair;
  shortList.insert(shortList.end(), {"--params", "1,2,3"});
  EXPECT_EQ(Refusal(shortList),
            "--params: são esperados 7 valores separados por vírgula (TX,TY,TZ,RX,RY,RZ,ESCALA)");
  Args commaDecimal = customPair;
  commaDecimal.insert(commaDecimal.end(), {"--params", "1,2,3,0,0,0,1;5"});
  EXPECT_REFUSED_NAMING((commaDecimal), "--params: \"1;5\" não é um número");
}

TEST(JobBuilder, ModelsChooseTheirBuiltInSets) {
  const ConversionJob translation = Build({"--model", "3"});
  EXPECT_EQ(translation.model, TransformationModel::Translation);
  ExpectParameters(translation.isogonal, kTranslationHayfordToGrs80);  // set D
  EXPECT_REFUSED_NAMING(({"--model", "7p"}), "--model: ");
  EXPECT_REFUSED_NAMING(({"--affine", "0,0,0,1,0,0,0,1,0,0,0,1"}), "--affine: ");

  // Twelve parameters between two frames: only typed ones.
  EXPECT_REFUSED_NAMING(({"--model", "12"}),
                        "--model 12: Não existem parâmetros definidos para esta transformação!");
  const ConversionJob affine =
      Build({"--model", "12", "--affine", "-177.2,211.1,-31.6,1,0.00001,0,0,1,0,0,0,0.99999"});
  EXPECT_EQ(affine.model, TransformationModel::Affine);
  EXPECT_EQ(affine.affine.tx, -177.2);
  EXPECT_EQ(affine.affine.b, 0.00001);
  EXPECT_EQ(affine.affine.i, 0.99999);
  EXPECT_FALSE(affine.isIdentity);
  EXPECT_REFUSED_NAMING(({"--model", "12", "--affine", "1,2,3"}), "--affine: ");
  EXPECT_REFUSED_NAMING(({"--model", "12", "--params", "0,0,0,0,0,0,1"}), "--params: ");

  // Equal frames: zero translations and the identity matrix, nothing to type.
  const ConversionJob same = Build({"--model", "12", "--from", "utm", "--to", "ltm"});
  EXPECT_TRUE(same.isIdentity);
  EXPECT_EQ(same.affine.a, 1.0);
  EXPECT_EQ(same.affine.tx, 0.0);
  EXPECT_REFUSED_NAMING(({"--model", "12", "--from", "utm", "--to", "ltm", "--affine",
                          "0,0,0,1,0,0,0,1,0,0,0,1"}),
                        "--affine: ");
}

TEST(JobBuilder, ImportedHeightsCopyTheInputChoices) {
  const ConversionJob job = Build({"--from-heights", "geometric", "--from-mean-height", "40",
                                   "--from-undulation", "4,95"});
  const AltimetrySettings& a = job.altimetry;
  EXPECT_TRUE(a.importHeights);
  EXPECT_TRUE(a.inputGeometric);
  EXPECT_TRUE(a.inputUseMeanHeight);
  EXPECT_EQ(a.inputMeanHeight, 40.0);
  EXPECT_TRUE(a.inputMeanUndulation);
  EXPECT_EQ(a.inputUndulation, 4.95);
  // The dialog's OK copies every input value to the output.
  EXPECT_TRUE(a.outputGeometric);
  EXPECT_TRUE(a.outputUseMeanHeight);
  EXPECT_EQ(a.outputMeanHeight, 40.0);
  EXPECT_TRUE(a.outputMeanUndulation);
  EXPECT_EQ(a.outputUndulation, 4.95);
  EXPECT_EQ(job.input.heightKind, HeightKind::Geometric);
  EXPECT_EQ(job.output.heightKind, HeightKind::Geometric);

  EXPECT_EQ(Refusal({"--to-heights", "geometric"}),
            "--to-heights: exige --no-import-heights (importando as altitudes, a saída segue as "
            "escolhas da entrada)");
  EXPECT_REFUSED_NAMING(({"--from-undulation", "4.95"}), "--from-undulation: exige --from-heights");
  EXPECT_REFUSED_NAMING(({"--from-heights", "ellipsoidal"}), "--from-heights: ");
  EXPECT_REFUSED_NAMING(({"--from-mean-height", "forty"}), "--from-mean-height: ");
}

TEST(JobBuilder, OwnOutputHeightsWithoutImport) {
  const ConversionJob job = Build({"--from-heights", "geometric", "--no-import-heights",
                                   "--to-mean-height", "40", "--to-heights", "geometric",
                                   "--to-undulation", "-2.5"});
  const AltimetrySettings& a = job.altimetry;
  EXPECT_FALSE(a.importHeights);
  EXPECT_TRUE(a.inputGeometric);
  EXPECT_FALSE(a.inputUseMeanHeight);
  EXPECT_TRUE(a.outputGeometric);
  EXPECT_TRUE(a.outputUseMeanHeight);
  EXPECT_EQ(a.outputMeanHeight, 40.0);
  EXPECT_TRUE(a.outputMeanUndulation);
  EXPECT_EQ(a.outputUndulation, -2.5);
  EXPECT_EQ(Build({"--no-import-heights"}).altimetry.outputGeometric, false);
  EXPECT_REFUSED_NAMING(({"--no-import-heights", "--to-undulation", "3"}), "--to-undulation: ");
}

TEST(JobBuilder, CartesianSidesHaveNoAltimetry) {
  const ConversionJob in = Build({"--from", "cartesian", "--to", "geographic"});
  EXPECT_FALSE(in.altimetry.importHeights);
  EXPECT_EQ(in.input.heightKind, HeightKind::Orthometric);
  EXPECT_FALSE(Build({"--to", "cartesian", "--to-ellipsoid", "grs80"}).altimetry.importHeights);
  EXPECT_REFUSED_NAMING(({"--from", "cartesian", "--from-heights", "geometric"}),
                        "--from-heights: a altimetria não se aplica ao sistema \"Cartesianas\"");
  EXPECT_REFUSED_NAMING(({"--to", "cartesian", "--to-mean-height", "3"}), "--to-mean-height: ");
  // With a cartesian input the output settings are the user's own.
  EXPECT_TRUE(Build({"--from", "cartesian", "--to", "utm", "--to-mean-height", "12"})
                  .altimetry.outputUseMeanHeight);
}

TEST(JobBuilder, DelimitedAndMapKindsByNameAndTheirOptions) {
  const auto build = [](Args arguments, const std::string& in, const std::string& out,
                        std::optional<FileKind> detected = std::nullopt) {
    arguments.push_back(in);
    arguments.push_back(out);
    return BuildConversionJob(ParseCommandLine(arguments).options, detected);
  };
  const Args geographic = {"--from", "utm", "--from-cm", "-51", "--to", "geographic", "--to-ellipsoid", "grs80"};
  const struct {
    const char* in;
    const char* out;
    std::optional<FileKind> detected;
    FileKind inKind, outKind;
  } cases[] = {
      {"pontos.CSV", "saida.txt", std::nullopt, FileKind::Delimited, FileKind::Delimited},
      {"pontos.txt", "saida.txt", FileKind::Delimited, FileKind::Delimited, FileKind::Delimited},
      {"pontos.txt", "saida.kml", FileKind::Ascii3D, FileKind::Ascii3D, FileKind::Kml},
      {"pontos.csv", "saida.geojson", std::nullopt, FileKind::Delimited, FileKind::GeoJson},
      {"pontos.txt", "saida.csv", FileKind::Ascii3D, FileKind::Ascii3D, FileKind::Delimited},
  };
  for (const auto& c : cases) {
    const ConversionJob job = build(geographic, c.in, c.out, c.detected);
    EXPECT_EQ(job.inputKind, c.inKind) << c.in << " " << c.out;
    EXPECT_EQ(job.outputKind, c.outKind) << c.in << " " << c.out;
  }
  Args options = geographic;
  options.insert(options.end(), {"--columns", "id,n,e,h,-", "--separator", "tab", "--no-header", "--dms"});
  const ConversionJob job = build(options, "a.csv", "b.csv");
  EXPECT_EQ(job.delimited.columns, (std::vector<ColumnRole>{ColumnRole::Id, ColumnRole::C2, ColumnRole::C1,
                                                            ColumnRole::C3, ColumnRole::Carried}));
  EXPECT_EQ(job.delimited.separator, '\t');
  EXPECT_EQ(job.delimited.header, false);
  EXPECT_TRUE(job.delimited.sexagesimalOutput);
  for (const auto& [arguments, option] : {std::pair{Args{"--columns", "id,e,x"}, "--columns:"},
                                          std::pair{Args{"--separator", "|"}, "--separator:"},
                                          std::pair{Args{"--header", "--no-header"}, "--header e --no-header"}}) {
    Args all = geographic;
    all.insert(all.end(), arguments.begin(), arguments.end());
    EXPECT_REFUSED_NAMING((all, "a.csv"), option);
  }
}

}  // namespace
}  // namespace transref::convert

namespace transref::convert {
namespace {

// The frames by name, the pair's default model, and the choices the old
// frames bring: no parameters for Córrego Alegre 1961, a grid as a change.
TEST(JobBuilder, FramesByNameAndTheirModels) {
  const Args utm = {"--from", "utm", "--to", "utm", "--from-cm", "-45", "--to-cm", "-51"};
  const std::pair<std::string, ReferenceFrame> names[] = {
      {"sirgas2000", ReferenceFrame::Grs80}, {"GRS80", ReferenceFrame::Grs80},
      {"carta-geral", ReferenceFrame::Hayford}, {"hayford", ReferenceFrame::Hayford},
      {"sad69", ReferenceFrame::Sad69}, {"sad69-96", ReferenceFrame::Sad69_96},
      {"corrego-alegre", ReferenceFrame::CorregoAlegre7072}, {"corrego-alegre-61", ReferenceFrame::CorregoAlegre61},
      {"SAD 69 (UGGI 1967)", ReferenceFrame::Sad69}};
  for (const auto& [name, frame] : names) {
    Args args = utm;
    args.insert(args.end(), {"--from-frame", name, "--to-frame", "sad69-96", "--model", "12", "--affine",
                             "0,0,0,1,0,0,0,1,0,0,0,1"});
    if (frame == ReferenceFrame::Sad69_96) args.resize(args.size() - 4);  // one frame: nothing to type
    const ConversionJob job = Build(args);
    EXPECT_EQ(job.input.frame, frame) << name;
    EXPECT_EQ(job.input.semiMajorAxis, FrameInfo(frame).semiMajorAxis) << name;
  }

  // An IBGE pair starts with its shipped grid; other pairs with seven parameters.
  const ConversionJob grid = Build({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--to-frame", "grs80"});
  EXPECT_EQ(grid.model, TransformationModel::Grid);
  EXPECT_EQ(std::filesystem::path(grid.grid.path).filename(), "SAD69_003.gsb");
  EXPECT_TRUE(std::filesystem::exists(grid.grid.path));
  const ConversionJob sad96 = Build({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--to-frame", "sad69-96"});
  EXPECT_EQ(sad96.model, TransformationModel::Isogonal);  // one ellipsoid, two frames: a conversion
  ExpectParameters(sad96.isogonal,
                   ComposeLegs(*PublishedLegs(TransformationModel::Isogonal, ReferenceFrame::Sad69,
                                              ReferenceFrame::Sad69_96)));
  const ConversionJob ownGrid =
      Build({"--from", "geographic", "--to", "geographic", "--to-frame", "grs80", "--grid", "any.gsb"});
  EXPECT_EQ(ownGrid.model, TransformationModel::Grid);  // a grid is a change on its own
  EXPECT_EQ(ownGrid.grid.path, "any.gsb");
  const ConversionJob typed = Build({"--from", "utm", "--to", "utm", "--from-frame", "corrego-alegre-61",
                                     "--to-frame", "sirgas2000", "--model", "3", "--params", "1,2,3,0,0,0,1"});
  EXPECT_EQ(typed.isogonal.tz, 3.0);

  // The summary names each leg with its own parameters (IBGE's, then set C).
  EXPECT_NE(JobSummary(Build({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--to-frame", "carta-geral",
                                "--model", "3"}))
                .find("3 Parâmetros - Translação: SAD 69 → GRS80 (-67.35, 3.88, -38.22); GRS80 → Hayford 1924 "
                      "(177.1851478228, -211.0832946773, 31.5581677418)"),
            std::string::npos);
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--to", "utm", "--from-frame", "corrego-alegre-61", "--to-frame",
                          "sirgas2000", "--model", "7"}),
                        "--model 7: Não existem parâmetros definidos para esta transformação!");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--to-frame", "sad69-96",
                          "--model", "grid"}),
                        "--model grid: ");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--grid", "a.gsb", "--model", "7"}),
                        "--grid: ");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--to", "utm", "--from-frame", "sad69", "--grid", "a.gsb", "--params",
                          "1,2,3,0,0,0,1"}),
                        "--params: ");
  EXPECT_REFUSED_NAMING(({"--from", "utm", "--from-frame", "sad70"}), "--from-frame: \"sad70\" não é um referencial");
  EXPECT_REFUSED_NAMING(({"--from-frame", "sad69", "--from-ellipsoid", "sad69"}), "--from-frame e --from-ellipsoid");
}

}  // namespace
}  // namespace transref::convert
