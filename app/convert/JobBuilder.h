// Reads the converter's options into the job model, one choice at a time in
// the order a user makes them in the window; the model owns every rule and
// builds the job. A choice the model refuses is reported naming the option.
#pragma once

#include <optional>
#include <string_view>

#include "CommandLine.h"
#include "conversion/ConversionJob.h"

namespace transref::convert {

// Without --from-kind the input is a drawing when `detectedInputKind` (see
// DetectInputKind) or its name says so, else the list kind detected (3D when
// nothing was). Without --to-kind the output is a drawing for the extension
// ".dxf" (".csv", ".kml", ".geojson" likewise), else a delimited file for a
// delimited input, else a list: 2D when the input is a 2D list offering the output
// system, else 3D. Throws UsageError (naming the option, the value and what
// is accepted) without --from or --to and for every choice the model refuses.
ConversionJob BuildConversionJob(const ConvertOptions& options, std::optional<FileKind> detectedInputKind);

// True when an ellipsoid, the model, or the central meridian (or UTM's
// latitude hemisphere) of a grid whose zone is chosen was left to its default.
bool UsesDefaults(const ConvertOptions& options, const ConversionJob& job);

}  // namespace transref::convert
