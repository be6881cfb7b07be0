// Points for checking on a map: KML (Google Earth) and GeoJSON, longitude
// and latitude in degrees on GRS80 (SIRGAS 2000), written as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/ConversionJob.h"
#include "conversion/FileKind.h"

namespace transref {

// Why a job cannot be written as a map (its output must be geographic on
// the GRS80 ellipsoid), or nothing when it can.
std::optional<std::string> CheckMapOutput(const ConversionJob& job);

// One point: its name, longitude, latitude, height, and extra columns as
// (name, value) pairs, all texts in UTF-8.
struct MapPoint {
  std::string_view name;
  double longitude = 0.0, latitude = 0.0, height = 0.0;
  bool hasHeight = true;
  const std::vector<std::pair<std::string, std::string>>* properties = nullptr;
};

// The texts before the first point, of every point, and after the last.
class MapWriter {
 public:
  explicit MapWriter(FileKind kind) : kml_(kind == FileKind::Kml) {}
  void AppendStart(std::string& out) const;
  void AppendPoint(std::string& out, const MapPoint& point);
  // AppendPoint in two steps, so that points can be written out on several
  // threads at once: what goes before a point (once for each point, in file
  // order), then the point itself.
  void AppendSeparator(std::string& out);
  void AppendFeature(std::string& out, const MapPoint& point) const;
  void AppendEnd(std::string& out) const;

 private:
  bool kml_;
  bool first_ = true;
};

}  // namespace transref
