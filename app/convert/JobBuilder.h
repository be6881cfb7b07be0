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

// "ascii3d", "ascii2d" or "dxf".
std::optional<FileKind> FileKindFromName(std::string_view name);

// The input kind a file name implies: DXF for the extension ".dxf" (any
// case), else the 3D list.
FileKind FileKindFromExtension(std::string_view path);

// Reads every option into a job. `localeDecimalSeparator` is the user's
// decimal separator for lists when neither --decimal-comma nor
// --decimal-point is given. Throws UsageError (message naming the option)
// for every choice the window would not let the user make.
ConversionJob BuildConversionJob(const ConvertOptions& options, char localeDecimalSeparator);

}  // namespace transref::convert
