#include "conversion/maps/MapOutput.h"

#include "conversion/lists/AsciiList.h"
#include "geodesy/CoordinateSystems.h"

namespace transref {
namespace {

// Longitude and latitude with the ten decimals of the lists, heights with
// the five of metres.
constexpr int kDegreeDecimals = 10;
constexpr int kMetreDecimals = 5;

void AppendNumber(std::string& out, double value, int decimals) {
  char buffer[400];
  out.append(buffer, static_cast<std::size_t>(FormatFixed(buffer, value, 0, decimals) - buffer));
}

void AppendXml(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

std::optional<std::string> CheckMapOutput(const ConversionJob& job) {
  const ReferenceFrameInfo& grs80 = FrameInfo(ReferenceFrame::Grs80);
  if (job.output.system != CoordinateSystemKind::Geographic || job.output.semiMajorAxis != grs80.semiMajorAxis ||
      job.output.inverseFlattening != grs80.inverseFlattening) {
    return std::string(
        "Os mapas KML e GeoJSON guardam longitude e latitude no SIRGAS 2000 (elipsóide GRS80): escolha como "
        "saída o sistema \"Geográficas\" com o elipsóide GRS80.");
  }
  return std::nullopt;
}

void MapWriter::AppendStart(std::string& out) const {
  if (kml_) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  } else {
    out += "{\"type\": \"FeatureCollection\", \"features\": [\n";
  }
}

void MapWriter::AppendPoint(std::string& out, const MapPoint& point) {
  AppendSeparator(out);
  AppendFeature(out, point);
}

void MapWriter::AppendSeparator(std::string& out) {
  if (!kml_ && !first_) out += ",\n";
  first_ = false;
}

void MapWriter::AppendFeature(std::string& out, const MapPoint& point) const {
  if (kml_) {
    out += "<Placemark><name>";
    AppendXml(out, point.name);
    out += "</name>";
    if (point.properties && !point.properties->empty()) {
      out += "<ExtendedData>";
      for (const auto& [name, value] : *point.properties) {
        out += "<Data name=\"";
        AppendXml(out, name);
        out += "\"><value>";
        AppendXml(out, value);
        out += "</value></Data>";
      }
      out += "</ExtendedData>";
    }
    out += "<Point><coordinates>";
  } else {
    out += "{\"type\": \"Feature\", \"properties\": {\"id\": ";
    AppendJsonString(out, point.name);
    if (point.properties) {
      for (const auto& [name, value] : *point.properties) {
        out += ", ";
        AppendJsonString(out, name);
        out += ": ";
        AppendJsonString(out, value);
      }
    }
    out += "}, \"geometry\": {\"type\": \"Point\", \"coordinates\": [";
  }
  const char* comma = kml_ ? "," : ", ";
  AppendNumber(out, point.longitude, kDegreeDecimals);
  out += comma;
  AppendNumber(out, point.latitude, kDegreeDecimals);
  if (point.hasHeight) {
    out += comma;
    AppendNumber(out, point.height, kMetreDecimals);
  }
  out += kml_ ? "</coordinates></Point></Placemark>\n" : "]}}";
}

void MapWriter::AppendEnd(std::string& out) const { out += kml_ ? "</Document>\n</kml>\n" : "\n]}\n"; }

}  // namespace transref
