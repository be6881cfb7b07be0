#include "conversion/dxf/DxfEntity.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "conversion/lists/AsciiList.h"
#include "conversion/dxf/DxfTransform.h"

namespace transref::dxf {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadiansToDegrees = 180.0 / kPi;
constexpr int kCoordinateDecimals = 3;  // positions are written "%0.3lf"
// A rewritten value that differs from the one read by less than this
// (relative to its size, at least 1) is the same value: it stays as read.
// 1e-9 is a micrometre on a kilometre, below anything a drawing holds.
constexpr double kSameValue = 1e-9;
// A direction the drawing leaves implicit is written when the conversion
// turns it by this much or more (radians): 1 mm over 100 m.
constexpr double kImplicitTurn = 1e-5;
// An arc whose sweep is within this of a whole turn is a full circle.
constexpr double kFullTurnSlack = 1e-9;  // degrees

constexpr int kExtendedDataStart = 1001;
constexpr int kSubclassMarker = 100;
constexpr int kEmbeddedMarker = 101;
constexpr int kSpaceCode = 67;
constexpr int kFlagsCode = 70;

// POLYLINE header flags (code 70) that make its vertices world points.
constexpr int k3dPolyline = 8, kPolygonMesh = 16, kPolyfaceMesh = 64;
// VERTEX flags: a polyface vertex (64 set) or face record (128 without 64).
constexpr int kVertexFaceRecord = 128, kVertexPolyface = 64;
// LWPOLYLINE and POLYLINE flag (code 70): closed.
constexpr int kClosedPolyline = 1;
// HATCH boundary path flag (code 92): a polyline path.
constexpr int kPolylinePath = 2;

int IntegerOf(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The longest group-code line taken as the layout of an added one.
constexpr std::size_t kLongestCodeLine = 16;

// A code line that holds a code of exactly two digits (" 10", "10", "  10 ").
bool TwoDigitCode(std::string_view line) {
  if (line.size() > kLongestCodeLine) return false;
  const std::size_t first = line.find_first_of("0123456789");
  if (first == std::string_view::npos || first + 2 > line.size()) return false;
  const std::size_t after = line.find_first_not_of("0123456789", first);
  return (after == std::string_view::npos ? line.size() : after) == first + 2;
}

bool Same(double old, double value) { return std::fabs(value - old) <= kSameValue * std::max(1.0, std::fabs(old)); }

bool IsPosition(Role role) {
  return role == Role::WorldPoint || role == Role::ObjectPoint || role == Role::Vertex || role == Role::Centre;
}

// The row of a VERTEX from its POLYLINE's kind and its own flags.
std::string_view VertexPart(int polylineFlags, int vertexFlags) {
  if (polylineFlags & kPolyfaceMesh) {
    return (vertexFlags & kVertexFaceRecord) && !(vertexFlags & kVertexPolyface) ? "face record" : "mesh";
  }
  if (polylineFlags & kPolygonMesh) return "mesh";
  if (polylineFlags & k3dPolyline) return "3D polyline";
  return "";
}

// Codes 10-18 of an entity type the table does not know are taken as
// world points, as every code 10-18 was before the table.
constexpr CodeRole kUnknownCodes[] = {{10, Role::WorldPoint}, {11, Role::WorldPoint}, {12, Role::WorldPoint},
                                      {13, Role::WorldPoint}, {14, Role::WorldPoint}, {15, Role::WorldPoint},
                                      {16, Role::WorldPoint}, {17, Role::WorldPoint}, {18, Role::WorldPoint}};
constexpr RoleRow kUnknownRow{"", "", kUnknownCodes};
constexpr RoleRow kCopyRow{"", "", {}};

}  // namespace

// ---- Reading values --------------------------------------------------------

bool EntityConverter::Number(std::size_t i, double& value, ConvertFailure& failure) {
  const Tag& tag = (*record_)[i];
  if (!tag.hasValue) {
    failure = {ConvertFailure::Kind::Inconsistent, tag.line, {}};
    return false;
  }
  try {
    value = ReadDxfValue(record_->Value(i));
    return true;
  } catch (const std::runtime_error& error) {
    failure = {ConvertFailure::Kind::NotANumber, tag.line + 1, error.what()};
    return false;
  }
}

bool EntityConverter::Triple(std::size_t i, int yStep, Vec3& value, bool& hasZ, ConvertFailure& failure) {
  const Record& r = *record_;
  const int code = r[i].code;
  hasZ = false;
  // A point without its Y value cannot be carried: the drawing is broken.
  if (i + 1 >= r.Size() || r[i + 1].code != code + yStep) {
    failure = {ConvertFailure::Kind::Inconsistent, r[i].line, {}};
    return false;
  }
  if (!Number(i, value.x, failure) || !Number(i + 1, value.y, failure)) return false;
  value.z = 0.0;
  if (yStep == 10 && i + 2 < r.Size() && r[i + 2].code == code + 20) {
    if (!Number(i + 2, value.z, failure)) return false;
    hasZ = true;
  }
  return true;
}

void EntityConverter::MarkPair(std::size_t i, bool hasZ) {
  done_[i + 1] = 1;
  if (hasZ) done_[i + 2] = 1;
}

bool EntityConverter::Carry(Vec3 world, double out[3], std::int64_t line, ConvertFailure& failure) {
  // Carried as the chain gives it, but noted: the run says such entities
  // are not plausible.
  if (outsideLine_ == 0 && !roundTrip_.Holds(world.x, world.y)) outsideLine_ = line;
  if (chain_.Transform(world.x, world.y, world.z, out)) return true;
  failure = {ConvertFailure::Kind::OutOfDomain, line, {}};
  return false;
}

void EntityConverter::WriteCoordinate(std::size_t i, double value) {
  if (!Writable(i, value)) return;
  char text[400];
  record_->Replace(i, {text, static_cast<std::size_t>(FormatFixed(text, value, 0, kCoordinateDecimals) - text)});
}

void EntityConverter::WriteExact(std::size_t i, double value) {
  if (!Writable(i, value)) return;
  char text[kShortestRoom];
  record_->Replace(i, {text, static_cast<std::size_t>(FormatShortest(text, value) - text)});
}

void EntityConverter::WriteElevation(const Part& part, std::size_t i, double value) {
  // The elevation of a tilted plane is its distance from the origin along
  // the extrusion: three decimals would move every point of it off the
  // plane its vertices were carried to.
  if (part.turned.Vertical()) {
    WriteCoordinate(i, value);
  } else {
    WriteExact(i, value);
  }
}

void EntityConverter::WriteNumber(std::size_t i, double old, double value) {
  if (!Same(old, value)) WriteExact(i, value);
}

bool EntityConverter::Writable(std::size_t i, double value) {
  if (std::isfinite(value)) return true;
  // A value the arithmetic could not hold (a length or vector near the
  // largest double, say) is never written as "inf" or "nan": the record
  // fails at its first such tag.
  if (unwritable_ == kNone) unwritable_ = i;
  return false;
}

bool EntityConverter::CheckWritten(ConvertFailure& failure) const {
  if (unwritable_ == kNone) return true;
  failure = {ConvertFailure::Kind::OutOfDomain, (*record_)[unwritable_].line, {}};
  return false;
}

// ---- Roles -----------------------------------------------------------------

bool EntityConverter::AssignRoles(std::size_t begin, std::size_t end, Part& part) {
  const Record& r = *record_;
  const std::string_view type = part.type;
  const bool hatch = type == "HATCH" || type == "MPOLYGON";
  const bool mleader = type == "MULTILEADER" || type == "MLEADER";
  const bool text = type == "TEXT" || type == "ATTRIB" || type == "ATTDEF";

  const RoleRow* row = FindRoleRow(hatch ? "HATCH" : type);
  if (type == "MPOLYGON") row = FindRoleRow(type);
  if (!row) row = &kUnknownRow;

  // A text whose alignment is the default (72 = 0 and vertical 0: code 73
  // for TEXT, 74 for ATTRIB and ATTDEF) has no second alignment point: its
  // 11, when written, is a dummy.
  bool justified = false;
  if (text) {
    const int verticalCode = type == "TEXT" ? 73 : 74;
    for (std::size_t i = begin + 1; i < end; ++i) {
      if (r[i].code == kEmbeddedMarker || r[i].code == kExtendedDataStart) break;
      if ((r[i].code == 72 || r[i].code == verticalCode) && IntegerOf(r.Value(i)) != 0) justified = true;
    }
  }

  // HATCH states: header, boundary paths (after 91), pattern (after 75),
  // seed points (after 98).
  enum class HatchState { Header, Paths, Pattern, Seeds } state = HatchState::Header;
  const RoleRow* edge = nullptr;  // the row of the current boundary path or edge
  bool polylinePath = false;
  int edgeType = 0;

  const RoleRow* stack[4] = {row, nullptr, nullptr, nullptr};  // MULTILEADER nesting
  int depth = 0;
  bool extendedData = false, embedded = false;
  const std::size_t partIndex = parts_.size() - 1;  // the part is already in parts_

  for (std::size_t i = begin + 1; i < end; ++i) {
    const int code = r[i].code;
    Role role = Role::Copy;
    if (code == kExtendedDataStart) extendedData = true;
    if (code == kSpaceCode && !extendedData) part.paper = r.TrimmedValue(i) == "1";
    if (extendedData) {
      role = ExtendedDataRow().RoleOf(code);
    } else if (hatch) {
      switch (state) {
        case HatchState::Header:
          if (code == 91) {
            state = HatchState::Paths;
          } else {
            role = row->RoleOf(code);
          }
          break;
        case HatchState::Paths:
          if (code == 92) {
            polylinePath = IntegerOf(r.Value(i)) & kPolylinePath;
            edge = polylinePath ? FindRoleRow("HATCH", "polyline path") : nullptr;
            edgeType = 0;
          } else if (code == 72 && !polylinePath) {
            edgeType = IntegerOf(r.Value(i));
            static constexpr std::string_view kEdges[] = {"", "line edge", "arc edge", "ellipse edge", "spline edge"};
            edge = edgeType >= 1 && edgeType <= 4 ? FindRoleRow("HATCH", kEdges[edgeType]) : nullptr;
          } else if (code == 73 && edgeType == 2) {
            if (!arcs_.empty() && arcs_.back().part == partIndex) arcs_.back().clockwise = IntegerOf(r.Value(i)) == 0;
          } else if (code == 75) {
            state = HatchState::Pattern;
          } else if (code == 98) {
            state = HatchState::Seeds;
          } else if (edge) {
            role = edge->RoleOf(code);
          }
          break;
        case HatchState::Pattern:
          if (code == 98) {
            state = HatchState::Seeds;
          } else {
            role = FindRoleRow("HATCH", "pattern")->RoleOf(code);
          }
          break;
        case HatchState::Seeds:
          role = FindRoleRow("HATCH", "seeds")->RoleOf(code);
          break;
      }
    } else if (code == kSubclassMarker) {
      if (const RoleRow* sub = FindRoleRow(type, r.TrimmedValue(i))) stack[depth] = sub;
    } else if (code == kEmbeddedMarker) {
      embedded = true;
      if (const RoleRow* sub = FindRoleRow(type, "Embedded Object")) stack[depth] = sub;
    } else if (mleader && (code == 300 || code == 302 || code == 304)) {
      if (depth < 3) {
        const RoleRow* sub = FindRoleRow(type, r.TrimmedValue(i));
        stack[++depth] = sub ? sub : &kCopyRow;  // a block the table does not know: copied
      }
    } else if (mleader && (code == 301 || code == 303 || code == 305)) {
      if (depth > 0) --depth;
    } else {
      role = stack[depth]->RoleOf(code);
      if (text && !justified && !embedded && code == 11 && role == Role::ObjectPoint) role = Role::Dummy;
    }

    roles_[i] = role;
    if (role == Role::Centre) {
      Arc arc;
      arc.part = partIndex;
      arc.centre = i;
      arcs_.push_back(arc);
    } else if ((role == Role::Radius || role == Role::StartAngle || role == Role::EndAngle) && !arcs_.empty() &&
               arcs_.back().part == partIndex) {
      Arc& arc = arcs_.back();
      std::size_t& slot = role == Role::Radius ? arc.radius : role == Role::StartAngle ? arc.start : arc.end;
      if (slot == kNone) slot = i;
    }
  }
  return true;
}

// ---- The frame at the record ------------------------------------------------

bool EntityConverter::FindAnchor(ConvertFailure& failure) {
  if (anchorSought_) return true;
  anchorSought_ = true;
  for (const Part& part : parts_) {
    if (part.paper) continue;
    for (std::size_t i = part.begin + 1; i < part.end; ++i) {
      if (!IsPosition(roles_[i])) continue;
      Vec3 p;
      bool hasZ = false;
      if (!Triple(i, 10, p, hasZ, failure)) return false;
      if (roles_[i] == Role::Vertex || (roles_[i] == Role::Centre && !hasZ)) p.z = part.elevation;
      anchor_ = roles_[i] == Role::WorldPoint ? p : part.ocs.ToWorld(p);
      anchorLine_ = (*record_)[i].line;
      hasAnchor_ = true;
      return true;
    }
  }
  return true;
}

bool EntityConverter::EnsureFrame(ConvertFailure& failure) {
  if (frameBuilt_) return true;
  if (!FindAnchor(failure)) return false;
  if (!hasAnchor_) return true;  // nothing to measure at: values needing it stay
  if (!frame_.Build(chain_, anchor_.x, anchor_.y, anchor_.z)) {
    failure = {ConvertFailure::Kind::OutOfDomain, anchorLine_, {}};
    return false;
  }
  frameBuilt_ = true;
  return true;
}

bool EntityConverter::ElevationOut(const Part& part, double& value, ConvertFailure& failure) {
  value = part.elevation;
  if (!FindAnchor(failure)) return false;
  if (!hasAnchor_) return true;
  const Vec3 a = part.ocs.FromWorld(anchor_);
  double out[3];
  if (!Carry(part.ocs.ToWorld({a.x, a.y, part.elevation}), out, anchorLine_, failure)) return false;
  value = part.turned.FromWorld({out[0], out[1], out[2]}).z;
  return true;
}

Vec3 EntityConverter::ObjectToTurned(const Part& part, Vec3 v) const {
  return part.turned.FromWorld(frame_.Apply(part.ocs.ToWorld(v)));
}

double EntityConverter::TurnAngle(const Part& part, double old, bool degrees) {
  const double theta = degrees ? old / kRadiansToDegrees : old;
  const Vec3 d = ObjectToTurned(part, {std::cos(theta), std::sin(theta), 0.0});
  const double turned = std::atan2(d.y, d.x);
  if (degrees) return TurnedDegrees(old, turned * kRadiansToDegrees);
  double turn = std::remainder(turned - old, 2 * kPi);
  return old + turn;
}

// ---- Bulges ------------------------------------------------------------------------

void EntityConverter::StartOutline(bool closed) { closedOutlines_.push_back(closed ? 1 : 0); }

bool EntityConverter::FitBulges(ConvertFailure& failure) {
  // The vertices are in the order of their tags, each outline's together.
  const auto& vertices = outlineVertices_;
  const auto byTag = [](const OutlineVertex& v, std::size_t tag) { return v.tag < tag; };
  for (const OutlineBulge& bulge : bulges_) {
    // Its arc starts at the vertex of its own VERTEX entity, or at the
    // vertex written before it, and ends at the next vertex of the outline
    // (the first one when the outline closes).
    const bool ownVertex = bulge.part->type == "VERTEX";
    auto at = std::lower_bound(vertices.begin(), vertices.end(), ownVertex ? bulge.part->begin : bulge.tag, byTag);
    if (!ownVertex) {
      if (at == vertices.begin()) continue;
      --at;
    }
    if (at == vertices.end() || at->outline != bulge.outline || (ownVertex && at->part != bulge.part)) continue;
    const std::size_t from = static_cast<std::size_t>(at - vertices.begin());
    std::size_t to = from + 1;
    if (to == vertices.size() || vertices[to].outline != bulge.outline) {
      // A VERTEX met before any polyline opened an outline belongs to none.
      if (bulge.outline < 0 || !closedOutlines_[static_cast<std::size_t>(bulge.outline)]) continue;
      to = from;
      while (to > 0 && vertices[to - 1].outline == bulge.outline) --to;
      if (to == from) continue;
    }
    if (!FitBulge(vertices[from], vertices[to], bulge.tag, failure)) return false;
  }
  return true;
}

// Where the plane of the outline is tilted, the grid's horizontal scale
// stretches it unevenly (heights keep their size): a circle of the plane
// lands on an ellipse, and a bulge kept as read puts the arc's middle off
// its ground by that stretch times the radius (2 mm for a 3.6 m arc in a
// plane tilted by 19 degrees, 6.5 degrees of longitude from the central
// meridian). The arc is refitted through the carried chord ends to the
// carried points along it, with the least largest gap. Its chord ends keep
// every digit: three decimals of a chord end move the far side of a large
// arc by several times as much.
bool EntityConverter::FitBulge(const OutlineVertex& from, const OutlineVertex& to, std::size_t bulgeTag,
                               ConvertFailure& failure) {
  double bulge = 0.0;
  if (!Number(bulgeTag, bulge, failure)) return false;
  if (bulge == 0.0 || !std::isfinite(bulge)) return true;
  WriteExact(from.tag, from.x);
  WriteExact(from.tag + 1, from.y);
  WriteExact(to.tag, to.x);
  WriteExact(to.tag + 1, to.y);

  // The arc as read: chord half-length h, centre at t along the chord's
  // left normal, t = h (1 - b^2) / 2b.
  const double chordX = to.in.x - from.in.x, chordY = to.in.y - from.in.y;
  const double chord = std::hypot(chordX, chordY);
  if (!(chord > 0.0)) return true;
  const double h = chord / 2, t = h * (1 - bulge * bulge) / (2 * bulge);
  const double cx = from.in.x + chordX / 2 - t * chordY / chord, cy = from.in.y + chordY / 2 + t * chordX / chord;
  const double radius = std::hypot(h, t), start = std::atan2(from.in.y - cy, from.in.x - cx);
  const double sweep = 4 * std::atan(bulge);
  constexpr int kSamples = 16;
  double sx[kSamples], sy[kSamples];
  for (int k = 0; k < kSamples; ++k) {
    const double a = start + sweep * (k + 1) / (kSamples + 1);
    const Vec3 w = from.part->ocs.ToWorld({cx + radius * std::cos(a), cy + radius * std::sin(a), from.in.z});
    double out[3];
    if (!chain_.Transform(w.x, w.y, w.z, out)) return true;  // kept as read
    const Vec3 q = from.part->turned.FromWorld({out[0], out[1], out[2]});
    sx[k] = q.x;
    sy[k] = q.y;
  }
  // The arcs through the carried ends: centre at u along their chord's normal.
  const double ox = to.x - from.x, oy = to.y - from.y, outChord = std::hypot(ox, oy);
  if (!(outChord > 0.0)) return true;
  const double oh = outChord / 2, mx = from.x + ox / 2, my = from.y + oy / 2;
  const auto gap = [&](double u) {
    const double x = mx - u * oy / outChord, y = my + u * ox / outChord, r = std::hypot(oh, u);
    double worst = 0.0;
    for (int k = 0; k < kSamples; ++k) worst = std::max(worst, std::fabs(std::hypot(sx[k] - x, sy[k] - y) - r));
    return worst;
  };
  // The largest gap is least near the arc as read: golden-section search
  // within 5 % of its radius.
  const double u0 = oh * (1 - bulge * bulge) / (2 * bulge);
  const double reach = 0.05 * std::hypot(oh, u0);
  constexpr double kGolden = 0.6180339887498949;
  double lo = u0 - reach, hi = u0 + reach;
  double a = hi - kGolden * (hi - lo), b = lo + kGolden * (hi - lo);
  double ga = gap(a), gb = gap(b);
  for (int k = 0; k < 80; ++k) {
    if (ga < gb) {
      hi = b;
      b = a;
      gb = ga;
      a = hi - kGolden * (hi - lo);
      ga = gap(a);
    } else {
      lo = a;
      a = b;
      ga = gb;
      b = lo + kGolden * (hi - lo);
      gb = gap(b);
    }
  }
  const double u = (lo + hi) / 2;
  // A fit that gains less than this keeps the bulge as read (a grid that
  // keeps shapes, in a plane that is not tilted).
  constexpr double kWorthwhileGain = 1e-5;  // metres
  if (!(gap(u0) - gap(u) > kWorthwhileGain)) return true;
  const double ratio = u / oh;
  WriteNumber(bulgeTag, bulge, -ratio + std::copysign(std::sqrt(ratio * ratio + 1), bulge));
  return true;
}

// ---- Directions the drawing leaves implicit ----------------------------------

bool EntityConverter::AddImplicitDirection(const Part& part, ConvertFailure& failure) {
  const ImplicitDirection* slot = FindImplicitDirection(part.type);
  if (!slot) return true;
  const Record& r = *record_;
  // The entity's own tags, up to its extended data or embedded object.
  std::size_t end = part.begin + 1;
  bool subclasses = false;
  int flags = 0;
  std::size_t codeLine = kNone;  // a code line of two digits, for the layout
  for (; end < part.end && r[end].code != kExtendedDataStart && r[end].code != kEmbeddedMarker; ++end) {
    const int code = r[end].code;
    // A direction written (MTEXT: an angle or a vector) was turned with the rest.
    if (code == slot->code || (slot->code == 11 && code == 50)) return true;
    if (code == kSubclassMarker) subclasses = true;
    if (code == kFlagsCode) flags = IntegerOf(r.Value(end));
    if (code >= 10 && code <= 99 && (codeLine == kNone || code == 10) && TwoDigitCode(r.CodeLine(end))) {
      codeLine = end;
    }
  }
  if (slot->dimensionType >= 0 && (flags & 15) != slot->dimensionType) return true;
  if (codeLine == kNone) return true;
  if (!EnsureFrame(failure)) return false;
  if (!frameBuilt_) return true;

  // The direction after the conversion, and how far it turned.
  double value = 0.0, turn = 0.0;
  Vec3 axis;
  if (slot->code == 50) {
    value = TurnAngle(part, 0.0, true);
    turn = std::remainder(value, 360.0) / kRadiansToDegrees;
  } else {
    axis = frame_.Apply({1.0, 0.0, 0.0});
    turn = std::atan2(axis.y, axis.x);
    axis = {std::cos(turn), std::sin(turn), 0.0};
  }
  // Below this the turn is nothing a drawing shows (1 mm over 100 m): a
  // change of frame alone turns the grid by a few 1e-6 rad, and leaves the
  // drawing's lines as they were.
  if (!(std::fabs(turn) >= kImplicitTurn)) return true;

  // Its place: in its subclass, after the codes the reference lists before it.
  std::size_t from = part.begin + 1, to = end;
  if (subclasses) {
    for (std::size_t i = part.begin + 1; i < end; ++i) {
      const std::string_view name = r.TrimmedValue(i);
      if (r[i].code != kSubclassMarker || (name != slot->subclass && name != slot->otherSubclass) || name.empty()) {
        continue;
      }
      from = i + 1;
      to = from;
      while (to < end && r[to].code != kSubclassMarker) ++to;
      break;
    }
  }
  std::size_t at = from;
  for (std::size_t i = from; i < to; ++i) {
    if (std::find(slot->after.begin(), slot->after.end(), r[i].code) != slot->after.end()) at = i + 1;
  }

  // Its code lines laid out as the entity's own (" 10" -> " 50", "10" -> "50").
  const std::string_view layout = r.CodeLine(codeLine);
  const std::size_t digits = layout.find_first_of("0123456789");
  char code[kLongestCodeLine];
  layout.copy(code, layout.size());
  const auto insert = [&](int number, double v) {
    code[digits] = static_cast<char>('0' + number / 10);
    code[digits + 1] = static_cast<char>('0' + number % 10);
    char text[kShortestRoom];
    record_->Insert(at, {code, layout.size()}, {text, static_cast<std::size_t>(FormatShortest(text, v) - text)});
  };
  if (slot->code == 50) {
    insert(50, value);
  } else {
    insert(11, axis.x);
    insert(21, axis.y);
    insert(31, 0.0);
  }
  ++directionsAdded_;
  return true;
}

// ---- Arcs and circles -------------------------------------------------------

bool EntityConverter::ConvertCircle(const Part& part, const Arc& arc, bool listed, std::vector<ListPoint>& points,
                                    ConvertFailure& failure) {
  const Record& r = *record_;
  Vec3 c;
  bool hasZ = false;
  if (!Triple(arc.centre, 10, c, hasZ, failure)) return false;
  MarkPair(arc.centre, hasZ);
  if (!hasZ) c.z = part.elevation;
  double out[3];
  const Vec3 world = part.ocs.ToWorld(c);
  if (!Carry(world, out, r[arc.centre].line, failure)) return false;
  const Vec3 centre = part.turned.FromWorld({out[0], out[1], out[2]});
  WriteCoordinate(arc.centre, centre.x);
  WriteCoordinate(arc.centre + 1, centre.y);
  if (hasZ) WriteCoordinate(arc.centre + 2, centre.z);
  if (listed) points.push_back({r[arc.centre].line, {out[0], out[1], out[2]}, {world.x, world.y, world.z}});
  if (arc.radius == kNone) return true;
  double radius = 0.0;
  if (!Number(arc.radius, radius, failure)) return false;
  done_[arc.radius] = 1;
  if (!(radius > 0.0)) return true;
  // The radius that puts four carried points of the circle on it, on average.
  double sum = 0.0;
  constexpr double kSamples[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  for (const auto& s : kSamples) {
    double sample[3];
    const Vec3 p = part.ocs.ToWorld({c.x + radius * s[0], c.y + radius * s[1], c.z});
    if (!chain_.Transform(p.x, p.y, p.z, sample)) {
      // Beyond the chain's domain: the local scale instead.
      if (!EnsureFrame(failure)) return false;
      WriteNumber(arc.radius, radius, radius * frame_.scale);
      return true;
    }
    const Vec3 q = part.turned.FromWorld({sample[0], sample[1], sample[2]});
    sum += std::hypot(q.x - centre.x, q.y - centre.y);
  }
  WriteNumber(arc.radius, radius, sum / 4);
  return true;
}

bool EntityConverter::ConvertArc(const Part& part, const Arc& arc, bool listed, std::vector<ListPoint>& points,
                                 ConvertFailure& failure) {
  const Record& r = *record_;
  if (arc.start == kNone || arc.end == kNone || arc.radius == kNone) {
    return ConvertCircle(part, arc, listed, points, failure);
  }
  double radius = 0.0, start = 0.0, end = 0.0;
  if (!Number(arc.radius, radius, failure) || !Number(arc.start, start, failure) || !Number(arc.end, end, failure)) {
    return false;
  }
  // The direction of travel: a clockwise hatch edge keeps its angles
  // mirrored (360 minus the real angle).
  const double a0 = arc.clockwise ? -start : start;
  const double a1 = arc.clockwise ? -end : end;
  double sweep = NormalisedDegrees(arc.clockwise ? a0 - a1 : a1 - a0);
  if (sweep == 0.0 && end != start) sweep = 360.0;
  if (sweep == 0.0 || sweep >= 360.0 - kFullTurnSlack || std::fabs(end - start) >= 360.0 - kFullTurnSlack ||
      !(radius > 0.0)) {
    // A whole circle: its angles only say where it starts.
    done_[arc.start] = done_[arc.end] = 1;
    return ConvertCircle(part, arc, listed, points, failure);
  }
  done_[arc.radius] = done_[arc.start] = done_[arc.end] = 1;

  Vec3 c;
  bool hasZ = false;
  if (!Triple(arc.centre, 10, c, hasZ, failure)) return false;
  MarkPair(arc.centre, hasZ);
  if (!hasZ) c.z = part.elevation;
  const std::int64_t line = r[arc.centre].line;

  // The start, middle and end points are carried; the output arc is the
  // circle through them, so its ends land on the carried ends exactly and
  // whatever the arc joins stays joined.
  const double middle = a0 + (arc.clockwise ? -sweep : sweep) / 2;
  Vec3 ends[3];
  const double angles[3] = {a0, middle, a1};
  for (int k = 0; k < 3; ++k) {
    const double t = angles[k] / kRadiansToDegrees;
    double out[3];
    if (!Carry(part.ocs.ToWorld({c.x + radius * std::cos(t), c.y + radius * std::sin(t), c.z}), out, line, failure)) {
      return false;
    }
    ends[k] = part.turned.FromWorld({out[0], out[1], out[2]});
  }
  double centreOut[3];
  const Vec3 centreIn = part.ocs.ToWorld(c);
  if (!Carry(centreIn, centreOut, line, failure)) return false;
  const Vec3 carriedCentre = part.turned.FromWorld({centreOut[0], centreOut[1], centreOut[2]});
  double cx = 0.0, cy = 0.0, fitted = 0.0;
  if (!CircleThrough(ends[0].x, ends[0].y, ends[1].x, ends[1].y, ends[2].x, ends[2].y, cx, cy, fitted)) {
    // Too flat to fit: the carried centre and the local scale and rotation.
    if (!EnsureFrame(failure)) return false;
    cx = carriedCentre.x;
    cy = carriedCentre.y;
    fitted = radius * frame_.scale;
    WriteNumber(arc.start, start, TurnAngle(part, start, true));
    WriteNumber(arc.end, end, TurnAngle(part, end, true));
  } else {
    const double s = std::atan2(ends[0].y - cy, ends[0].x - cx) * kRadiansToDegrees;
    const double e = std::atan2(ends[2].y - cy, ends[2].x - cx) * kRadiansToDegrees;
    WriteNumber(arc.start, start, TurnedDegrees(start, arc.clockwise ? -s : s));
    WriteNumber(arc.end, end, TurnedDegrees(end, arc.clockwise ? -e : e));
  }
  // Arc data keep every digit: three decimals of a centre would move the
  // ends off the points they meet.
  WriteNumber(arc.centre, c.x, cx);
  WriteNumber(arc.centre + 1, c.y, cy);
  if (hasZ) WriteCoordinate(arc.centre + 2, carriedCentre.z);
  WriteNumber(arc.radius, radius, fitted);
  if (listed) points.push_back({line, {centreOut[0], centreOut[1], centreOut[2]}, {centreIn.x, centreIn.y, centreIn.z}});
  return true;
}

// ---- One entity ---------------------------------------------------------------

bool EntityConverter::ConvertPart(const Part& part, bool listed, std::vector<ListPoint>& points,
                                  ConvertFailure& failure) {
  const Record& r = *record_;
  bool extendedData = false;
  bool haveElevation = false;
  double elevationOut = 0.0;
  // Vertices of one outline: a polyline with its VERTEX entities, an
  // LWPOLYLINE, each boundary path of a hatch (closed by nature).
  const bool hatch = part.type == "HATCH" || part.type == "MPOLYGON";
  if (part.type != "VERTEX") {
    int flags = 0;
    if (part.type == "LWPOLYLINE" || part.type == "POLYLINE") {
      for (std::size_t i = part.begin + 1; i < part.end && r[i].code != kExtendedDataStart; ++i) {
        if (r[i].code == kFlagsCode) flags = IntegerOf(r.Value(i));
      }
    }
    StartOutline(flags & kClosedPolyline);
  }
  for (std::size_t i = part.begin + 1; i < part.end; ++i) {
    if (r[i].code == kExtendedDataStart) extendedData = true;
    if (hatch && !extendedData && r[i].code == 92) StartOutline(true);
    if (done_[i]) continue;
    const Role role = roles_[i];
    if (role == Role::Copy || role == Role::Dummy) {
      if (role == Role::Dummy) {
        // Its Y and Z are part of it.
        if (i + 1 < part.end && r[i + 1].code == r[i].code + 10) done_[i + 1] = 1;
        if (i + 2 < part.end && r[i + 2].code == r[i].code + 20) done_[i + 2] = 1;
      }
      continue;
    }
    const std::int64_t line = r[i].line;
    switch (role) {
      case Role::WorldPoint:
      case Role::ObjectPoint:
      case Role::Vertex:
      case Role::Seed:
      case Role::Centre: {
        Vec3 p;
        bool hasZ = false;
        if (!Triple(i, 10, p, hasZ, failure)) return false;
        MarkPair(i, hasZ);
        // A vertex lies at its entity's elevation, whatever Z it writes (R12
        // writers put 0.0 in a 2D polyline's vertices): that Z is written as
        // the converted elevation.
        if (role == Role::Vertex || (!hasZ && role != Role::WorldPoint && role != Role::ObjectPoint)) {
          p.z = part.elevation;
        }
        double out[3];
        const Vec3 world = role == Role::WorldPoint ? p : part.ocs.ToWorld(p);
        if (!Carry(world, out, line, failure)) return false;
        const Vec3 q = role == Role::WorldPoint ? Vec3{out[0], out[1], out[2]}
                                                : part.turned.FromWorld({out[0], out[1], out[2]});
        WriteCoordinate(i, q.x);
        WriteCoordinate(i + 1, q.y);
        if (role == Role::Vertex && !extendedData) {
          outlineVertices_.push_back({i, static_cast<int>(closedOutlines_.size()) - 1, &part, p, q.x, q.y});
        }
        if (hasZ && role == Role::Vertex) {
          if (!haveElevation && !ElevationOut(part, elevationOut, failure)) return false;
          haveElevation = true;
          WriteElevation(part, i + 2, elevationOut);
        } else if (hasZ) {
          WriteCoordinate(i + 2, q.z);
        }
        if (listed && !extendedData && role != Role::Seed) {
          points.push_back({line, {out[0], out[1], out[2]}, {world.x, world.y, world.z}});
        }
        break;
      }
      case Role::Elevation:
      case Role::ElevationPoint: {
        std::size_t at = i;
        if (role == Role::ElevationPoint) {
          // X and Y are a dummy 0,0: only the Z (the elevation) changes.
          if (i + 1 < part.end && r[i + 1].code == r[i].code + 10) done_[i + 1] = 1;
          if (!(i + 2 < part.end && r[i + 2].code == r[i].code + 20)) break;
          at = i + 2;
          done_[at] = 1;
        }
        // Only the value the elevation was read from is written: a second
        // elevation tag (a broken drawing repeats one) was never read as a
        // number and stays as it is.
        if (at != part.elevationAt) break;
        if (!haveElevation && !ElevationOut(part, elevationOut, failure)) return false;
        haveElevation = true;
        if (hasAnchor_) WriteElevation(part, at, elevationOut);
        break;
      }
      case Role::WorldVector:
      case Role::ObjectVector:
      case Role::WorldDirection:
      case Role::PatternVector:
      case Role::Extrusion: {
        Vec3 v;
        bool hasZ = false;
        if (!Triple(i, role == Role::PatternVector ? 1 : 10, v, hasZ, failure)) return false;
        MarkPair(i, hasZ);
        if (!EnsureFrame(failure)) return false;
        if (!frameBuilt_) break;
        Vec3 w;
        if (role == Role::Extrusion) {
          if (part.ocs.Vertical()) break;
          w = part.turned.Normal();
        } else if (role == Role::ObjectVector) {
          w = ObjectToTurned(part, v);
        } else if (role == Role::PatternVector) {
          // Turned with the pattern, its length kept.
          const Vec3 turned = ObjectToTurned(part, v);
          const double length = std::hypot(turned.x, turned.y);
          const double scale = length > 0.0 ? std::hypot(v.x, v.y) / length : 1.0;
          w = {turned.x * scale, turned.y * scale, v.z};
        } else {
          w = frame_.Apply(v);
          if (role == Role::WorldDirection) {
            const double length = Length(w);
            if (length > 0.0) w = (Length(v) / length) * w;
          }
        }
        WriteNumber(i, v.x, w.x);
        WriteNumber(i + 1, v.y, w.y);
        if (hasZ) WriteNumber(i + 2, v.z, w.z);
        break;
      }
      case Role::Degrees:
      case Role::Radians: {
        double angle = 0.0;
        if (!Number(i, angle, failure) || !EnsureFrame(failure)) return false;
        if (frameBuilt_) WriteNumber(i, angle, TurnAngle(part, angle, role == Role::Degrees));
        break;
      }
      case Role::Length:
      case Role::Radius: {
        double length = 0.0;
        if (!Number(i, length, failure) || !EnsureFrame(failure)) return false;
        if (frameBuilt_) WriteNumber(i, length, length * frame_.scale);
        break;
      }
      case Role::Bulge:
        if (!extendedData) bulges_.push_back({i, static_cast<int>(closedOutlines_.size()) - 1, &part});
        break;
      case Role::StartAngle:
      case Role::EndAngle: {
        // An angle without its arc's centre: turned like any angle.
        double angle = 0.0;
        if (!Number(i, angle, failure) || !EnsureFrame(failure)) return false;
        if (frameBuilt_) WriteNumber(i, angle, TurnAngle(part, angle, true));
        break;
      }
      default:
        break;
    }
  }
  return true;
}

bool EntityConverter::Convert(Record& record, bool listed, std::vector<ListPoint>& points,
                              ConvertFailure& failure) {
  record_ = &record;
  const Record& r = record;
  const std::size_t n = r.Size();
  converted_ = false;
  outsideLine_ = 0;
  directionsAdded_ = 0;
  if (n == 0) return true;
  if (r.TrimmedValue(0) == "VIEWPORT") return ConvertView(record, failure);

  roles_.assign(n, Role::Copy);
  done_.assign(n, 0);
  parts_.clear();
  arcs_.clear();
  outlineVertices_.clear();
  bulges_.clear();
  closedOutlines_.clear();
  frameBuilt_ = false;
  hasAnchor_ = false;
  anchorSought_ = false;
  unwritable_ = kNone;
  const std::size_t firstPoint = points.size();

  // The entities of the record: its head, and the VERTEX / ATTRIB / SEQEND
  // entities that follow a POLYLINE or INSERT.
  int polylineFlags = 0;
  for (std::size_t begin = 0; begin < n;) {
    std::size_t end = begin + 1;
    while (end < n && r[end].code != 0) ++end;
    Part part;
    part.begin = begin;
    part.end = end;
    part.type = r.TrimmedValue(begin);
    // Extrusion and flags of the entity itself (extended data aside).
    Vec3 normal{0, 0, 1};
    int flags = 0;
    for (std::size_t i = begin + 1; i < end && r[i].code != kExtendedDataStart; ++i) {
      if (r[i].code == 210) {
        bool hasZ = false;
        if (!Triple(i, 10, normal, hasZ, failure)) return false;
      } else if (r[i].code == kFlagsCode) {
        flags = IntegerOf(r.Value(i));
      }
    }
    const bool vertexOfPolyline = begin > 0 && parts_.front().type == "POLYLINE";
    if (begin == 0 && part.type == "POLYLINE") polylineFlags = flags;
    std::string_view rowPart;
    if (part.type == "VERTEX" && vertexOfPolyline) rowPart = VertexPart(polylineFlags, flags);
    if (vertexOfPolyline) {
      // Vertices lie in their polyline's system, at its elevation.
      part.ocs = parts_.front().ocs;
      part.elevation = parts_.front().elevation;
      part.paper = parts_.front().paper;
    } else {
      part.ocs = Ocs(normal);
      if (begin > 0) part.paper = parts_.front().paper;
    }
    parts_.push_back(part);
    Part& added = parts_.back();
    if (!AssignRoles(begin, end, added)) return false;
    if (!rowPart.empty()) {
      const RoleRow* row = FindRoleRow("VERTEX", rowPart);
      for (std::size_t i = begin + 1; i < end && r[i].code != kExtendedDataStart; ++i) roles_[i] = row->RoleOf(r[i].code);
    }
    // The elevation shared by the vertices: LWPOLYLINE 38, the Z of the
    // POLYLINE header's or HATCH's elevation point.
    if (!vertexOfPolyline) {
      for (std::size_t i = begin + 1; i < end; ++i) {
        if (roles_[i] == Role::Elevation) {
          if (!Number(i, added.elevation, failure)) return false;
          added.elevationAt = i;
          break;
        }
        if (roles_[i] == Role::ElevationPoint) {
          if (i + 2 < end && r[i + 2].code == r[i].code + 20) {
            if (!Number(i + 2, added.elevation, failure)) return false;
            added.elevationAt = i + 2;
          }
          break;
        }
      }
    }
    begin = end;
  }

  converted_ = !parts_.front().paper;
  for (Part& part : parts_) {
    part.turned = part.ocs;
    if (!part.ocs.Vertical() && !part.paper) {
      if (!EnsureFrame(failure)) return false;
      if (frameBuilt_) part.turned = Ocs(frame_.ApplyToNormal(part.ocs.Normal()));
    }
  }
  for (const Arc& arc : arcs_) {
    const Part& part = parts_[arc.part];
    if (part.paper) continue;
    if (!ConvertArc(part, arc, listed, points, failure)) return false;
    done_[arc.centre] = 1;
  }
  for (const Part& part : parts_) {
    if (part.paper) continue;
    if (!ConvertPart(part, listed, points, failure) || !AddImplicitDirection(part, failure)) return false;
  }
  if (!FitBulges(failure)) return false;
  if (!CheckWritten(failure)) return false;
  // List points in the order of their lines in the file.
  std::sort(points.begin() + static_cast<std::ptrdiff_t>(firstPoint), points.end(),
            [](const ListPoint& a, const ListPoint& b) { return a.xCodeLine < b.xCodeLine; });
  return true;
}

// ---- Views and extents ---------------------------------------------------------

bool EntityConverter::ConvertView(Record& record, ConvertFailure& failure) {
  record_ = &record;
  const Record& r = record;
  const std::size_t n = r.Size();
  done_.assign(n, 0);
  std::size_t centreAt = kNone, targetAt = kNone;
  Vec3 centre, direction{0, 0, 1}, target;
  double twist = 0.0;
  for (std::size_t i = 1; i < n && r[i].code != kExtendedDataStart; ++i) {
    bool hasZ = false;
    switch (r[i].code) {
      case 12:
        if (!Triple(i, 10, centre, hasZ, failure)) return false;
        centreAt = i;
        break;
      case 16:
        if (!Triple(i, 10, direction, hasZ, failure)) return false;
        break;
      case 17:
        if (!Triple(i, 10, target, hasZ, failure)) return false;
        targetAt = i;
        break;
      case 51:
        if (!Number(i, twist, failure)) return false;
        break;
      case 69:
        // The paper-space viewport of a layout (ID 1) shows the sheet itself.
        if (r.TrimmedValue(0) == "VIEWPORT" && IntegerOf(r.Value(i)) == 1) return true;
        break;
      default:
        break;
    }
  }
  if (centreAt == kNone) return true;
  // Display coordinates: the plane across the view direction, origin at the
  // target, axes from the arbitrary-axis algorithm turned by the view twist.
  const Ocs view(direction);
  const Vec3 ax = view.ToWorld({1, 0, 0}), ay = view.ToWorld({0, 1, 0});
  const double t = twist / kRadiansToDegrees;
  const Vec3 xAxis = std::cos(t) * ax - std::sin(t) * ay;
  const Vec3 yAxis = std::sin(t) * ax + std::cos(t) * ay;
  const Vec3 seen = target + centre.x * xAxis + centre.y * yAxis;
  double out[3];
  // A centre the input grid cannot hold (a UTM view left at 0,0) would be
  // carried to nowhere: the view stays as it is.
  if (!roundTrip_.Holds(seen.x, seen.y) || !chain_.Transform(seen.x, seen.y, seen.z, out)) return true;
  const Vec3 moved{out[0] - seen.x, out[1] - seen.y, 0.0};
  // A view from the side looks at its target: the target moves with the
  // ground, the centre stays where it is in the view.
  const bool side = !view.Vertical() && targetAt != kNone;
  const std::size_t at = side ? targetAt : centreAt;
  const double x = side ? target.x + moved.x : centre.x + Dot(moved, xAxis);
  const double y = side ? target.y + moved.y : centre.y + Dot(moved, yAxis);
  // A view whose numbers overflow is left as it is, like one that cannot be
  // carried.
  if (!std::isfinite(x) || !std::isfinite(y)) return true;
  WriteCoordinate(at, x);
  WriteCoordinate(at + 1, y);
  return true;
}

bool EntityConverter::ConvertExtents(Record& record, bool listed, std::vector<ListPoint>& points,
                                     ConvertFailure& failure) {
  record_ = &record;
  const Record& r = record;
  done_.assign(r.Size(), 0);
  for (std::size_t i = 1; i < r.Size(); ++i) {
    if (r[i].code != 10) continue;
    Vec3 p;
    bool hasZ = false;
    if (!Triple(i, 10, p, hasZ, failure)) return false;
    double out[3];
    // CAD programs write the extents of an empty drawing as +-1e+20
    // placeholders: they stay as they are and are left out of a list.
    if (!chain_.Transform(p.x, p.y, p.z, out)) return true;
    WriteCoordinate(i, out[0]);
    WriteCoordinate(i + 1, out[1]);
    if (hasZ) WriteCoordinate(i + 2, out[2]);
    if (listed) points.push_back({r[i].line, {out[0], out[1], out[2]}, {p.x, p.y, p.z}});
    return true;
  }
  return true;
}

}  // namespace transref::dxf
