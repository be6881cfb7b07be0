// What each numeric group code of a drawing's entity means for a change of
// map grid, entity by entity and subclass by subclass, as the DXF reference
// describes the group codes: a ground point, a point of the entity's object
// coordinate system, a vector, an angle, a length, ... Codes a row does not
// name are copied as read.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace transref::dxf {

enum class Role : std::uint8_t {
  Copy,            // flags, names, sizes, ratios, parameters, bulges, thickness
  WorldPoint,      // a point in world coordinates (X code; Y = X+10, Z = X+20 optional)
  ObjectPoint,     // a point in the entity's object coordinate system (Z optional)
  Vertex,          // an OCS vertex of X and Y only; its Z is the entity's elevation
  Centre,          // the OCS centre of a circle or arc (with Radius and the angles)
  Elevation,       // the OCS Z all vertices share (LWPOLYLINE 38)
  ElevationPoint,  // a dummy X/Y, copied, whose Z is the elevation (POLYLINE header, HATCH)
  Dummy,           // a point that holds no position (written as 0,0,0): copied
  WorldVector,     // a relative vector in world coordinates: carried by the local linear map
  ObjectVector,    // a relative vector in the OCS
  WorldDirection,  // a direction in world coordinates: turned, its length kept
  PatternVector,   // a hatch pattern line's base point or offset (codes 43/44, 45/46): turned
  Degrees,         // an angle in degrees, counter-clockwise about the extrusion
  Radians,         // the same in radians
  Length,          // a ground length: times the local scale
  Radius,          // the radius of the circle or arc of Centre
  StartAngle,      // the start angle (degrees) of the arc of Centre
  EndAngle,        // its end angle
  Extrusion,       // the extrusion direction: turned about the vertical when tilted
  Seed,            // a hatch seed point: an OCS vertex, but no point of the drawing's list
  Bulge,           // the bulge of the arc from the vertex before it to the next one
};

struct CodeRole {
  std::int16_t code;
  Role role;
};

// One row of the table: the roles of an entity type, or of one of its
// subclasses (from the subclass marker, code 100, on), or of one part of a
// nested structure (a HATCH boundary edge, a MULTILEADER context block).
struct RoleRow {
  std::string_view entity;
  std::string_view part;  // "" for the entity's own codes
  std::span<const CodeRole> codes;

  Role RoleOf(int code) const {
    for (const CodeRole& c : codes) {
      if (c.code == code) return c.role;
    }
    return Role::Copy;
  }
};

// An entity whose direction the file may leave out (then it runs along the
// X axis of its object coordinate system, or of the world for MTEXT), and
// where the DXF reference puts that direction when it is written: its code
// (50 an angle in degrees; 11 for MTEXT, the world X-axis vector
// 11/21/31), the subclass it belongs to in drawings that mark subclasses
// (code 100), and the codes the reference lists before it.
struct ImplicitDirection {
  std::string_view entity;
  int code;
  std::string_view subclass, otherSubclass;  // otherSubclass: "" or a second name
  std::span<const std::int16_t> after;
  int dimensionType;  // DIMENSION: only this type (code 70 & 15); -1 for the others
};

// The row of an entity type; null when it has no implicit direction.
const ImplicitDirection* FindImplicitDirection(std::string_view entity);

// The row of an entity type (part "") or of one of its parts; null when the
// table has none.
const RoleRow* FindRoleRow(std::string_view entity, std::string_view part = {});
// The roles of extended data (after code 1001), whatever the entity.
const RoleRow& ExtendedDataRow();
// Every row, for reading and for checking coverage.
std::span<const RoleRow> RoleTable();

}  // namespace transref::dxf
