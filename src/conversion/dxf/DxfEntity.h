// The conversion of one record of a drawing: an entity (a POLYLINE with its
// VERTEX entities and SEQEND, an INSERT with its ATTRIB entities), a VPORT
// entry's view, or a header extents variable. The role table says what each
// value is; positions are carried through the point chain, everything else
// by the chain's local linear map at the entity.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversion/dxf/DxfGeometry.h"
#include "conversion/dxf/DxfRoles.h"
#include "conversion/dxf/DxfTags.h"
#include "geodesy/PointChain.h"

namespace transref::dxf {

// A position of the drawing that becomes a line of a point list: its
// identifier is the zero-based index of its X code line.
struct ListPoint {
  std::int64_t xCodeLine = 0;  // 1-based
  double values[3] = {0, 0, 0};
  double input[3] = {0, 0, 0};  // the position as the drawing holds it (world coordinates)
};

struct ConvertFailure {
  enum class Kind { NotANumber, OutOfDomain, Inconsistent };
  Kind kind = Kind::Inconsistent;
  std::int64_t line = 0;  // the line the message names
  std::string text;       // NotANumber: the value as read
};

class EntityConverter {
 public:
  // `input`: the input side of the chain, whose grid says which positions
  // it can carry.
  EntityConverter(PointChain& chain, const ChainSide& input) : chain_(chain), roundTrip_(input) {}

  // Converts the entity record in place (new value texts recorded in it).
  // `listed`: its positions are list points (model space of the ENTITIES
  // section), appended to `points`. False, with `failure` filled, when a
  // value is not a number, a position cannot be carried or a point lacks
  // its Y value.
  bool Convert(Record& record, bool listed, std::vector<ListPoint>& points, ConvertFailure& failure);

  // What the last Convert found: whether the record was a model-space
  // entity, the X code line of its first position the input grid's series
  // cannot hold (a round trip that misses by more than GridRoundTrip's
  // tolerance), and how many directions the drawing left implicit it wrote.
  bool Converted() const { return converted_; }
  bool Outside() const { return outsideLine_ != 0; }
  std::int64_t OutsideLine() const { return outsideLine_; }
  int DirectionsAdded() const { return directionsAdded_; }

  // A VPORT table entry (the active viewport) or a paper-space VIEWPORT
  // entity: the model-space point at the centre of its view moves with the
  // ground, so the drawing opens on its content. A centre that cannot be
  // carried is left as it is.
  bool ConvertView(Record& record, ConvertFailure& failure);

  // A header extents variable ($EXTMIN, $EXTMAX): its point is carried;
  // a placeholder that cannot be carried (1e+20) is left as it is and not
  // listed.
  bool ConvertExtents(Record& record, bool listed, std::vector<ListPoint>& points, ConvertFailure& failure);

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // One entity of the record, with what its values are read against.
  struct Part {
    std::size_t begin = 0, end = 0;  // tags [begin, end); begin is its code 0
    std::string_view type;
    Ocs ocs;                 // its object coordinate system as read
    Ocs turned;              // ... and as written (a tilted extrusion turns with the grid)
    bool turnedReady = false;
    double elevation = 0.0;  // OCS Z of its vertices
    std::size_t elevationAt = kNone;  // the tag the elevation was read from
    bool paper = false;      // paper space: copied
  };
  // A circle or arc: its centre, radius and angle tags.
  struct Arc {
    std::size_t part = 0;
    std::size_t centre = kNone, radius = kNone, start = kNone, end = kNone;
    bool clockwise = false;  // a hatch arc edge with flag 73 = 0
  };

  // A carried vertex of a polyline or hatch boundary (an outline), and a
  // bulge: the arcs between vertices are fitted once all are carried.
  struct OutlineVertex {
    std::size_t tag = 0;
    int outline = 0;
    const Part* part = nullptr;
    Vec3 in;                 // OCS, at the elevation
    double x = 0, y = 0;     // as written, in the turned OCS
  };
  struct OutlineBulge {
    std::size_t tag = 0;
    int outline = 0;
    const Part* part = nullptr;
  };
  void StartOutline(bool closed);
  bool FitBulges(ConvertFailure& failure);
  bool FitBulge(const OutlineVertex& from, const OutlineVertex& to, std::size_t bulgeTag, ConvertFailure& failure);

  bool AssignRoles(std::size_t begin, std::size_t end, Part& part);
  bool FindAnchor(ConvertFailure& failure);
  bool EnsureFrame(ConvertFailure& failure);
  bool ElevationOut(const Part& part, double& value, ConvertFailure& failure);
  bool AddImplicitDirection(const Part& part, ConvertFailure& failure);
  bool ConvertPart(const Part& part, bool listed, std::vector<ListPoint>& points, ConvertFailure& failure);
  bool ConvertArc(const Part& part, const Arc& arc, bool listed, std::vector<ListPoint>& points,
                  ConvertFailure& failure);
  bool ConvertCircle(const Part& part, const Arc& arc, bool listed, std::vector<ListPoint>& points,
                     ConvertFailure& failure);

  // Reads the value of tag i; false (failure filled) when it is no number.
  bool Number(std::size_t i, double& value, ConvertFailure& failure);
  // Reads the point or vector whose X is tag i: Y must follow (code + 10,
  // or + 1 for hatch pattern pairs), Z may. Returns the index of its last tag.
  bool Triple(std::size_t i, int yStep, Vec3& value, bool& hasZ, ConvertFailure& failure);
  void MarkPair(std::size_t i, bool hasZ);  // the Y and Z of tag i are handled with it
  bool Carry(Vec3 world, double out[3], std::int64_t line, ConvertFailure& failure);
  // False, noting tag i, for a value that is not finite (it is not written).
  bool Writable(std::size_t i, double value);
  // False, with the out-of-domain failure at the first unwritable tag, when
  // a value could not be written.
  bool CheckWritten(ConvertFailure& failure) const;
  void WriteCoordinate(std::size_t i, double value);
  void WriteExact(std::size_t i, double value);  // every digit, shortest form
  void WriteElevation(const Part& part, std::size_t i, double value);
  void WriteNumber(std::size_t i, double old, double value);
  double TurnAngle(const Part& part, double old, bool degrees);
  Vec3 ObjectToTurned(const Part& part, Vec3 ocsVector) const;

  PointChain& chain_;
  GridRoundTrip roundTrip_;
  bool converted_ = false;
  std::int64_t outsideLine_ = 0;
  int directionsAdded_ = 0;
  Record* record_ = nullptr;
  std::vector<Role> roles_;
  std::vector<std::uint8_t> done_;
  LocalFrame frame_;
  bool frameBuilt_ = false;
  bool anchorSought_ = false;  // the anchor is looked for when first needed
  bool hasAnchor_ = false;
  Vec3 anchor_;                 // world position of the first point of the record
  std::int64_t anchorLine_ = 0;
  std::size_t unwritable_ = kNone;  // the first tag whose new value was not finite
  std::vector<Part> parts_;
  std::vector<Arc> arcs_;
  std::vector<OutlineVertex> outlineVertices_;
  std::vector<OutlineBulge> bulges_;
  std::vector<std::uint8_t> closedOutlines_;
};

}  // namespace transref::dxf
