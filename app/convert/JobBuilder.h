// Builds, from the converter's options, exactly the ConversionJob that the
// main window would build for the same choices: the same system table, the
// same list entries, the same parameter lookup and the same altimetry rules,
// so that both programs write the same bytes.
#pragma once

#include <optional>
#include <string_view>

#include "CommandLine.h"
#include "conversion/ConversionJob.h"
#include "geodesy/CoordinateSystems.h"

namespace transref::convert {

// A system by its list text ("Gauß-Krüger (Oru)") or its short name
// ("gk-oru"); nothing for an unknown name.
std::optional<CoordinateSystemKind> SystemFromName(std::string_view name);

// "ascii3d", "ascii2d", "dxf", "delimited" (or "csv"), "kml" or "geojson".
std::optional<FileKind> FileKindFromName(std::string_view name);

// The delimited-file options (--columns, --separator, --header,
// --no-header, --dms); throws UsageError for a value it cannot read.
DelimitedOptions ChooseDelimitedOptions(const ConvertOptions& options);

// The kind a file name implies (any case): DXF for ".dxf", the delimited
// kind for ".csv", the maps for ".kml" and ".geojson", else the 3D list.
FileKind FileKindFromExtension(std::string_view path);

// Reads every option into a job. Without --from-kind the input is a drawing
// when `detectedInputKind` (what its first lines say, see DetectInputKind)
// or its name says so, else the list kind detected (3D when nothing was
// detected; a ".csv" name is a delimited file). Without --to-kind the
// output is the kind its name implies (".dxf", ".csv", ".kml",
// ".geojson"), else a delimited file for a delimited input, else a list: 2D
// when the input is a 2D list (and the output not cartesian), else 3D. Throws UsageError (message naming the option) for
// every choice the window would not let the user make, including two sides
// that would change nothing (SidesDiffer).
ConversionJob BuildConversionJob(const ConvertOptions& options, std::optional<FileKind> detectedInputKind);

// The two sides and the model of a job in one line, e.g.
// "De: Gauß-Krüger (Oru), Hayford 1924 — Para: LTM (Oru), GRS80 — 7 Parâmetros - Transformação Isogonal";
// a grid whose zone is chosen also names its central meridian (and, for UTM,
// its latitude hemisphere): "De: UTM, MC 51° W, hemisfério S, GRS80 — ...".
std::string SidesSummary(const ConversionJob& job);

// True when a system, an ellipsoid, the model, or the central meridian (or
// UTM's latitude hemisphere) of a grid whose zone is chosen was left to its
// default: a forgotten --from-cm converts a whole file in the wrong zone.
bool UsesDefaults(const ConvertOptions& options, const ConversionJob& job);

}  // namespace transref::convert
