#include "conversion/dxf/DxfRoles.h"

namespace transref::dxf {
namespace {

using R = Role;

// Each list below is one entity's group-code page of the DXF reference,
// reduced to the codes whose value changes with the ground. Marks used in
// the comments: "(ref. silent)" where the reference names no coordinate
// system or unit and the reading of common CAD programs is followed.

// Codes of every entity: extrusion 210/220/230 (absent = 0,0,1).
#define TRANSREF_EXTRUSION {210, R::Extrusion}

// POINT: 10 location. 50 (angle of the UCS X axis when drawn; ref. silent on
// the unit) is only a display hint and is copied.
constexpr CodeRole kPoint[] = {{10, R::WorldPoint}, TRANSREF_EXTRUSION};
// LINE: 10 start, 11 end (39 thickness is copied).
constexpr CodeRole kLine[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, TRANSREF_EXTRUSION};
// RAY, XLINE: 10 start, 11 unit direction.
constexpr CodeRole kRay[] = {{10, R::WorldPoint}, {11, R::WorldDirection}};
// CIRCLE: 10 centre (OCS), 40 radius.
constexpr CodeRole kCircle[] = {{10, R::Centre}, {40, R::Radius}, TRANSREF_EXTRUSION};
// ARC: as CIRCLE, plus 50/51 start and end angle, degrees, counter-clockwise about N.
constexpr CodeRole kArc[] = {{10, R::Centre}, {40, R::Radius}, {50, R::StartAngle}, {51, R::EndAngle},
                             TRANSREF_EXTRUSION};
// ELLIPSE: 10 centre (WCS), 11 major-axis end relative to the centre; 40
// axis ratio and 41/42 parameters are invariant.
constexpr CodeRole kEllipse[] = {{10, R::WorldPoint}, {11, R::WorldVector}, TRANSREF_EXTRUSION};
// SPLINE: 10 control points, 11 fit points, 12/13 start/end tangents, 210
// plane normal; knots (40), weights (41) and tolerances are invariant.
constexpr CodeRole kSpline[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, {12, R::WorldVector},
                                {13, R::WorldVector}, TRANSREF_EXTRUSION};
// HELIX, subclass AcDbHelix (after its spline part): 10 axis base point, 11
// start point, 12 axis vector, 40 radius; 42 turn height is vertical.
constexpr CodeRole kHelix[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, {12, R::WorldVector}, {40, R::Length}};
// LWPOLYLINE: 10/20 vertices (OCS, no Z), 38 elevation, 40/41 start/end
// width, 43 constant width, 42 bulge of the arc that starts at the vertex.
constexpr CodeRole kLwPolyline[] = {{10, R::Vertex}, {38, R::Elevation}, {40, R::Length}, {41, R::Length},
                                    {42, R::Bulge},  {43, R::Length},    TRANSREF_EXTRUSION};
// POLYLINE header: 10/20 always 0 (dummy), 30 the elevation; 40/41 default widths.
constexpr CodeRole kPolyline[] = {{10, R::ElevationPoint}, {40, R::Length}, {41, R::Length}, TRANSREF_EXTRUSION};
// VERTEX of a 2D polyline: 10 location in the polyline's OCS (its Z is the
// polyline's elevation), 40/41 widths, 42 bulge, 50 curve-fit tangent (degrees).
constexpr CodeRole kVertex2d[] = {{10, R::Vertex}, {40, R::Length}, {41, R::Length}, {42, R::Bulge},
                                  {50, R::Degrees}};
// VERTEX of a 3D polyline, polygon mesh or polyface mesh: 10 in WCS.
constexpr CodeRole kVertex3d[] = {{10, R::WorldPoint}};
// VERTEX that is a polyface face record: 10 written as 0 (dummy), 71-74 indices.
constexpr CodeRole kFaceRecord[] = {{10, R::Dummy}};
// TEXT, ATTRIB, ATTDEF: 10 first and 11 second alignment point (OCS; 11 is
// a dummy when the text is not justified), 50 rotation. Height (40), width
// factor (41) and oblique angle (51) are annotation sizes and stay.
constexpr CodeRole kText[] = {{10, R::ObjectPoint}, {11, R::ObjectPoint}, {50, R::Degrees}, TRANSREF_EXTRUSION};
// ATTRIB/ATTDEF multi-line part ("101 Embedded Object", ref. silent): 10
// insertion, 11 direction.
constexpr CodeRole kTextEmbedded[] = {{10, R::WorldPoint}, {11, R::WorldDirection}};
// MTEXT: 10 insertion (ref. silent on the system; WCS as CAD programs read
// it), 11 X-axis direction, 50 rotation (degrees, as files write it). Column
// width (41) and heights are annotation sizes.
constexpr CodeRole kMText[] = {{10, R::WorldPoint}, {11, R::WorldDirection}, {50, R::Degrees}, TRANSREF_EXTRUSION};
// MTEXT column part ("101 Embedded Object", ref. silent): 10 direction, 11 insertion.
constexpr CodeRole kMTextEmbedded[] = {{10, R::WorldDirection}, {11, R::WorldPoint}};
// INSERT: 10 insertion point (OCS), 50 rotation, 44/45 column and row
// spacing. Scale factors 41-43 stay: the block keeps its size.
constexpr CodeRole kInsert[] = {{10, R::ObjectPoint}, {50, R::Degrees}, {44, R::Length}, {45, R::Length},
                                TRANSREF_EXTRUSION};
// DIMENSION (every subtype): 10 definition point, 13-15 definition points
// (WCS), 11 text middle and 16 arc point (OCS), 12 clone insertion point
// (0,0,0 in practice: copied), 40 leader length, 50 dimension-line angle.
// 51 (horizontal direction), 52 (oblique, relative to 50), 53 (text
// rotation relative to the dimension line) and 42 (measurement, read-only)
// stay.
constexpr CodeRole kDimension[] = {{10, R::WorldPoint}, {11, R::ObjectPoint}, {12, R::Dummy},
                                   {13, R::WorldPoint}, {14, R::WorldPoint},  {15, R::WorldPoint},
                                   {16, R::ObjectPoint}, {40, R::Length},     {50, R::Degrees},
                                   TRANSREF_EXTRUSION};
// ARC_DIMENSION: the dimension codes, 13-17 WCS points (arc ends, centre, leader).
constexpr CodeRole kArcDimension[] = {{10, R::WorldPoint}, {11, R::ObjectPoint}, {12, R::Dummy},
                                      {13, R::WorldPoint}, {14, R::WorldPoint},  {15, R::WorldPoint},
                                      {16, R::WorldPoint}, {17, R::WorldPoint},  TRANSREF_EXTRUSION};
// LEADER: 10 vertices (ref. silent; WCS), 211 horizontal direction, 212/213 offsets.
constexpr CodeRole kLeader[] = {{10, R::WorldPoint}, {211, R::WorldDirection}, {212, R::WorldVector},
                                {213, R::WorldVector}, TRANSREF_EXTRUSION};
// TOLERANCE: 10 insertion, 11 X-axis direction.
constexpr CodeRole kTolerance[] = {{10, R::WorldPoint}, {11, R::WorldDirection}, TRANSREF_EXTRUSION};
// MLINE: 10 start, 11 vertices (ref. silent; WCS), 12 segment and 13 miter
// directions, 41/42 element and fill parameters (distances). 40 (style
// scale) stays.
constexpr CodeRole kMLine[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, {12, R::WorldDirection},
                               {13, R::WorldDirection}, {41, R::Length}, {42, R::Length}, TRANSREF_EXTRUSION};
// SOLID, TRACE: 10-13 corners (OCS).
constexpr CodeRole kSolid[] = {{10, R::ObjectPoint}, {11, R::ObjectPoint}, {12, R::ObjectPoint},
                               {13, R::ObjectPoint}, TRANSREF_EXTRUSION};
// 3DFACE: 10-13 corners (WCS).
constexpr CodeRole kFace[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, {12, R::WorldPoint}, {13, R::WorldPoint}};
// SHAPE: 10 insertion (WCS, as its own page says), 50 rotation; 40 size stays.
constexpr CodeRole kShape[] = {{10, R::WorldPoint}, {50, R::Degrees}, TRANSREF_EXTRUSION};
// IMAGE, WIPEOUT: 10 insertion, 11/12 U and V vectors of one pixel. 13
// (size) and 14 (clip boundary) are pixel values.
constexpr CodeRole kImage[] = {{10, R::WorldPoint}, {11, R::WorldVector}, {12, R::WorldVector}};
// PDF/DWF/DGN UNDERLAY: 10 insertion, 50 rotation; 11 clip boundary is in
// underlay units, 41-43 scales stay.
constexpr CodeRole kUnderlay[] = {{10, R::WorldPoint}, {50, R::Degrees}, TRANSREF_EXTRUSION};
// ACAD_TABLE: 10 insertion, 11 horizontal direction.
constexpr CodeRole kTable[] = {{10, R::WorldPoint}, {11, R::WorldDirection}, TRANSREF_EXTRUSION};
// OLE2FRAME: 10 upper-left and 11 lower-right corner (ref. silent; WCS).
constexpr CodeRole kOleFrame[] = {{10, R::WorldPoint}, {11, R::WorldPoint}};
// LIGHT: 10 position, 11 target.
constexpr CodeRole kLight[] = {{10, R::WorldPoint}, {11, R::WorldPoint}};
// 3DSOLID, REGION, BODY, SURFACE: the modeler data holds no group-code
// coordinates; VIEWPORT: sheet coordinates (its model view is handled with
// the active view); SEQEND: nothing.
constexpr std::span<const CodeRole> kNone{};

// HATCH and MPOLYGON, read with a state machine (boundary paths after 91,
// edges by their type 72, pattern after 75, seed points after 98):
// header: 10/20 elevation point (0,0: dummy) with 30 the elevation; MPOLYGON 11 offset.
constexpr CodeRole kHatch[] = {{10, R::ElevationPoint}, {11, R::ObjectVector}, TRANSREF_EXTRUSION};
// polyline boundary path: 10/20 vertices, 42 bulges.
constexpr CodeRole kHatchPolyline[] = {{10, R::Vertex}, {42, R::Bulge}};
// line edge: 10/20 start, 11/21 end.
constexpr CodeRole kHatchLine[] = {{10, R::Vertex}, {11, R::Vertex}};
// arc edge: 10/20 centre, 40 radius, 50/51 angles (degrees; 73 = 0 clockwise).
constexpr CodeRole kHatchArc[] = {{10, R::Centre}, {40, R::Radius}, {50, R::StartAngle}, {51, R::EndAngle}};
// ellipse edge: 10/20 centre, 11/21 major-axis end relative to the centre;
// 40 ratio and 50/51 angles (relative to the axis) are invariant.
constexpr CodeRole kHatchEllipse[] = {{10, R::Vertex}, {11, R::ObjectVector}};
// spline edge: 10/20 control points, 11/21 fit points, 12/22 and 13/23 tangents.
constexpr CodeRole kHatchSpline[] = {{10, R::Vertex}, {11, R::Vertex}, {12, R::ObjectVector}, {13, R::ObjectVector}};
// pattern: 52 pattern angle, 53 line angle, 43/44 line base point, 45/46
// line offset (turned with the pattern, not scaled: the pattern scale 41
// stays), 460 gradient rotation (radians).
constexpr CodeRole kHatchPattern[] = {{52, R::Degrees}, {53, R::Degrees}, {43, R::PatternVector},
                                      {45, R::PatternVector}, {460, R::Radians}};
// seed points: 10/20.
constexpr CodeRole kHatchSeeds[] = {{10, R::Seed}, {460, R::Radians}};

// MULTILEADER (nested blocks 300 CONTEXT_DATA{ ... 301, 302 LEADER{ ... 303,
// 304 LEADER_LINE{ ... 305; ref. silent on systems, WCS as CAD programs
// read them). Entity part: 10 is the block content scale, 43 block rotation.
constexpr CodeRole kMLeader[] = {{43, R::Radians}, TRANSREF_EXTRUSION};
// context: 10 content base, 12 text location, 15 block position, 110 plane
// origin; 11/14 normals, 13 text direction, 111/112 plane axes; 42/46 rotations.
constexpr CodeRole kMLeaderContext[] = {{10, R::WorldPoint},     {11, R::WorldDirection}, {12, R::WorldPoint},
                                        {13, R::WorldDirection}, {14, R::WorldDirection}, {15, R::WorldPoint},
                                        {42, R::Radians},        {46, R::Radians},        {110, R::WorldPoint},
                                        {111, R::WorldDirection}, {112, R::WorldDirection}};
// leader: 10 last leader point, 11 dogleg vector, 12/13 break start and end.
constexpr CodeRole kMLeaderLeader[] = {{10, R::WorldPoint}, {11, R::WorldVector}, {12, R::WorldPoint},
                                       {13, R::WorldPoint}};
// leader line: 10 vertices, 11/12 break start and end.
constexpr CodeRole kMLeaderLine[] = {{10, R::WorldPoint}, {11, R::WorldPoint}, {12, R::WorldPoint}};

// Extended data: 1011 world position, 1012 world displacement, 1013 world
// direction, 1041 distance. 1010 (application point or vector) and 1042
// (scale) stay.
constexpr CodeRole kExtendedData[] = {{1011, R::WorldPoint}, {1012, R::WorldVector}, {1013, R::WorldDirection},
                                      {1041, R::Length}};

#undef TRANSREF_EXTRUSION

constexpr RoleRow kRows[] = {
    {"POINT", "", kPoint},
    {"LINE", "", kLine},
    {"RAY", "", kRay},
    {"XLINE", "", kRay},
    {"CIRCLE", "", kCircle},
    {"ARC", "", kArc},
    {"ELLIPSE", "", kEllipse},
    {"SPLINE", "", kSpline},
    {"HELIX", "", kSpline},
    {"HELIX", "AcDbHelix", kHelix},
    {"LWPOLYLINE", "", kLwPolyline},
    {"POLYLINE", "", kPolyline},
    // A VERTEX's row follows its POLYLINE's kind (header code 70), never
    // the vertex's own flags or markers, which writers do not always set.
    {"VERTEX", "", kVertex2d},
    {"VERTEX", "3D polyline", kVertex3d},
    {"VERTEX", "mesh", kVertex3d},
    {"VERTEX", "face record", kFaceRecord},
    {"SEQEND", "", kNone},
    {"TEXT", "", kText},
    {"ATTRIB", "", kText},
    {"ATTRIB", "Embedded Object", kTextEmbedded},
    {"ATTDEF", "", kText},
    {"ATTDEF", "Embedded Object", kTextEmbedded},
    {"MTEXT", "", kMText},
    {"MTEXT", "Embedded Object", kMTextEmbedded},
    {"INSERT", "", kInsert},
    {"DIMENSION", "", kDimension},
    {"ARC_DIMENSION", "", kArcDimension},
    {"LEADER", "", kLeader},
    {"TOLERANCE", "", kTolerance},
    {"MLINE", "", kMLine},
    {"SOLID", "", kSolid},
    {"TRACE", "", kSolid},
    {"3DFACE", "", kFace},
    {"SHAPE", "", kShape},
    {"IMAGE", "", kImage},
    {"WIPEOUT", "", kImage},
    {"PDFUNDERLAY", "", kUnderlay},
    {"DWFUNDERLAY", "", kUnderlay},
    {"DGNUNDERLAY", "", kUnderlay},
    {"ACAD_TABLE", "", kTable},
    {"OLE2FRAME", "", kOleFrame},
    {"LIGHT", "", kLight},
    {"3DSOLID", "", kNone},
    {"REGION", "", kNone},
    {"BODY", "", kNone},
    {"SURFACE", "", kNone},
    {"VIEWPORT", "", kNone},
    {"HATCH", "", kHatch},
    {"HATCH", "polyline path", kHatchPolyline},
    {"HATCH", "line edge", kHatchLine},
    {"HATCH", "arc edge", kHatchArc},
    {"HATCH", "ellipse edge", kHatchEllipse},
    {"HATCH", "spline edge", kHatchSpline},
    {"HATCH", "pattern", kHatchPattern},
    {"HATCH", "seeds", kHatchSeeds},
    {"MPOLYGON", "", kHatch},
    {"MULTILEADER", "", kMLeader},
    {"MULTILEADER", "CONTEXT_DATA{", kMLeaderContext},
    {"MULTILEADER", "LEADER{", kMLeaderLeader},
    {"MULTILEADER", "LEADER_LINE{", kMLeaderLine},
    {"MLEADER", "", kMLeader},
    {"MLEADER", "CONTEXT_DATA{", kMLeaderContext},
    {"MLEADER", "LEADER{", kMLeaderLeader},
    {"MLEADER", "LEADER_LINE{", kMLeaderLine},
};

constexpr RoleRow kExtendedDataRow{"", "extended data", kExtendedData};

// Where a direction left out goes, from the entity pages of the reference.
// TEXT (AcDbText): 39 thickness, 10 start, 40 height, 1 text, then 50.
constexpr std::int16_t kBeforeTextRotation[] = {39, 10, 20, 30, 40, 1};
// ATTRIB, ATTDEF: the same in AcDbText; drawings without subclasses (R12)
// write 3 prompt, 2 tag, 70 flags, 73 field length and 280 version first.
constexpr std::int16_t kBeforeAttributeRotation[] = {39, 10, 20, 30, 40, 1, 3, 2, 70, 73, 280};
// INSERT (AcDbBlockReference; MINSERT: AcDbMInsertBlock): 66 attributes
// follow, 2 block, 10 insertion, 41-43 scales, then 50.
constexpr std::int16_t kBeforeInsertRotation[] = {66, 2, 10, 20, 30, 41, 42, 43};
// DIMENSION of type 0 (rotated, horizontal or vertical): 50 in
// AcDbAlignedDimension after the points 12-14; without subclasses (R12)
// after 2 block, 10-16 points, 70 type, 1 text, 3 style and 40.
constexpr std::int16_t kBeforeDimensionRotation[] = {2,  3,  1,  10, 20, 30, 11, 21, 31, 12, 22, 32, 70,
                                                     13, 23, 33, 14, 24, 34, 15, 25, 35, 16, 26, 36, 40};
// MTEXT (AcDbMText): 10 insertion, 40 height, 41 width, 46 defined height,
// 71 attachment, 72 flow, 1 and 3 text, 7 style, 210 extrusion, then 11.
constexpr std::int16_t kBeforeMTextDirection[] = {10, 20, 30, 40, 41, 46, 71, 72, 1, 3, 7, 210, 220, 230};

constexpr ImplicitDirection kImplicitDirections[] = {
    {"TEXT", 50, "AcDbText", "", kBeforeTextRotation, -1},
    {"ATTRIB", 50, "AcDbText", "", kBeforeAttributeRotation, -1},
    {"ATTDEF", 50, "AcDbText", "", kBeforeAttributeRotation, -1},
    {"INSERT", 50, "AcDbBlockReference", "AcDbMInsertBlock", kBeforeInsertRotation, -1},
    {"DIMENSION", 50, "AcDbAlignedDimension", "", kBeforeDimensionRotation, 0},
    {"MTEXT", 11, "AcDbMText", "", kBeforeMTextDirection, -1},
};

}  // namespace

const RoleRow* FindRoleRow(std::string_view entity, std::string_view part) {
  for (const RoleRow& row : kRows) {
    if (row.entity == entity && row.part == part) return &row;
  }
  return nullptr;
}

const RoleRow& ExtendedDataRow() { return kExtendedDataRow; }

const ImplicitDirection* FindImplicitDirection(std::string_view entity) {
  for (const ImplicitDirection& row : kImplicitDirections) {
    if (row.entity == entity) return &row;
  }
  return nullptr;
}

std::span<const RoleRow> RoleTable() { return kRows; }

}  // namespace transref::dxf
