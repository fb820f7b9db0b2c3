// Decides whether one triangle (face) of an RWX object qualifies for a
// material: up to six bounds (west, east, north, south, high, low) tested on
// chosen vertices of the face, and a high and low gradient of the face, each
// with its own use switch. A filter with no switch set qualifies every face.
// Stored as an ".FTR" INI file, section "Filter".
#pragma once

#include <cstdint>
#include <string>

#include "base/znVectors.h"

// Which vertices of a face the six bound tests look at.
enum TznApplyToVerts : uint8_t {
  avLowest = 0,
  av2Lowest = 1,
  avHighest = 2,
  av2Highest = 3,
  avAll3 = 4,
  avAny = 5,
  avFaceCentre = 6,
};

class TznRWXFaceFilter {
 public:
  // A cleared filter that tests High (at 0).
  TznRWXFaceFilter();

  // Every switch off, avLowest, gradient limits 90 and 0; the six bounds
  // keep their values.
  void Clear();
  // Copies every field of the source; nothing when it is null.
  void Assign(const TznRWXFaceFilter* source);

  bool UseWest() const { return FUseWest; }
  bool UseHigh() const { return FUseHigh; }
  bool UseEast() const { return FUseEast; }
  bool UseLow() const { return FUseLow; }
  bool UseSouth() const { return FUseSouth; }
  bool UseNorth() const { return FUseNorth; }
  bool UseHighGradient() const { return FUseHighGradient; }
  bool UseLowGradient() const { return FUseLowGradient; }
  void SetUseWest(bool value) { FUseWest = value; }
  void SetUseHigh(bool value) { FUseHigh = value; }
  void SetUseEast(bool value) { FUseEast = value; }
  void SetUseLow(bool value) { FUseLow = value; }
  void SetUseSouth(bool value) { FUseSouth = value; }
  void SetUseNorth(bool value) { FUseNorth = value; }
  void SetUseHighGradient(bool value) { FUseHighGradient = value; }
  void SetUseLowGradient(bool value) { FUseLowGradient = value; }

  TznApplyToVerts ApplyToVerts() const { return FApplyToVerts; }
  void SetApplyToVerts(TznApplyToVerts value) { FApplyToVerts = value; }

  // Bounds in metres: West, East, North and South from each object's centre,
  // High and Low absolute heights. Gradients in degrees.
  float East() const { return FEast; }
  float South() const { return FSouth; }
  float High() const { return FHigh; }
  float North() const { return FNorth; }
  float West() const { return FWest; }
  float Low() const { return FLow; }
  float HighGradient() const { return FHighGradient; }
  float LowGradient() const { return FLowGradient; }
  void SetEast(float value) { FEast = value; }
  void SetSouth(float value) { FSouth = value; }
  void SetHigh(float value) { FHigh = value; }
  void SetNorth(float value) { FNorth = value; }
  void SetWest(float value) { FWest = value; }
  void SetLow(float value) { FLow = value; }
  void SetHighGradient(float value) { FHighGradient = value; }
  void SetLowGradient(float value) { FLowGradient = value; }

  // Reads a .FTR file; a missing file reads as switches off, values 0 and
  // avLowest. Throws EznFileError when it cannot be read.
  void LoadFromFile(const std::string& file_name);
  // Updates the file's keys in place; throws EznFileError.
  void SaveToFile(const std::string& file_name) const;

  // No switch set: every face qualifies.
  bool IsPassThrough() const;

  // The face test. The vertices are in the mesh frame (metres east, height,
  // minus metres north), in the face's own order; the normal is the face's;
  // the object's centre is in centimetres east and north.
  bool Applies(const TVec3& v0, const TVec3& v1, const TVec3& v2, const TVec3& normal, double centre_x,
               double centre_z) const;
  // Its two halves, for a filter that is not a pass-through one: the six
  // bounds (true when none is used) and the two gradient limits.
  bool AppliesToBounds(const TVec3& v0, const TVec3& v1, const TVec3& v2, double centre_x, double centre_z) const;
  bool AppliesToGradient(const TVec3& normal) const;
  bool UsesBounds() const { return FUseWest || FUseHigh || FUseEast || FUseLow || FUseSouth || FUseNorth; }

  // A mesh vertex as the filter sees it: X metres west and Z metres north
  // of the object's centre, Y the height in metres.
  static TVec3 FilterPoint(const TVec3& vertex, double centre_x, double centre_z);
  // Slope of a face in degrees from its normal: 0 level, 90 vertical,
  // negative for a normal pointing downwards.
  static double FaceGradient(const TVec3& normal);

 private:
  template <typename Condition>
  bool PassesBound(const TVec3 (&points)[3], Condition meets) const;

  // The .FTR keys of one condition: its use switch and its value.
  struct TznConditionKeys;
  // The eight conditions in the order the file holds them.
  static const TznConditionKeys kConditionKeys[8];

  bool FUseWest = false;
  bool FUseHigh = false;
  bool FUseEast = false;
  bool FUseLow = false;
  bool FUseSouth = false;
  bool FUseNorth = false;
  TznApplyToVerts FApplyToVerts = avLowest;
  float FEast = 0;
  float FSouth = 0;
  float FHigh = 0;
  float FNorth = 0;
  float FWest = 0;
  float FLow = 0;
  bool FUseHighGradient = false;
  bool FUseLowGradient = false;
  float FHighGradient = 90;
  float FLowGradient = 0;
};
