// The Scale dialog's side of the rescaling rules (terrain/znTerraRescale.h):
// the four edits' texts a terrain starts with, the check that reads them
// as the edits keep them, and which controls are open for input.
#pragma once

#include <string>

#include "terrain/znTerraRescale.h"

class TznTerra;

// Texts of the four edits: east-west and north-south edge, highest and
// lowest point, all in metres.
struct TznScaleTexts {
  std::string EdgeX, EdgeY, High, Low;
  bool operator==(const TznScaleTexts&) const = default;
};

// The terrain's edges and extreme heights in metres, "%.2f".
TznScaleTexts ScaleTextsOf(const TznTerra& terra);

// Reads the texts the options use (each trimmed, written back with two
// decimals and read again), checks them with CheckScaleMetres and writes
// all four as the edits should show them. Throws EznError with the message
// for the user when a text is not a number or the values cannot make a
// terrain; texts is then left part-way, so the caller puts back the ones
// it saved.
TznScaleValues CheckScaleTexts(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts);

// Which controls take input.
struct TznScaleEnabling {
  bool ScaleXButton = false, ScaleYButton = false;
  bool ScaleXEdit = false, ScaleYEdit = false;
  bool HighEdit = false, HighButton = false;
  bool LowEdit = false, LowButton = false;
  bool operator==(const TznScaleEnabling&) const = default;
};

// has_relief: the terrain's lowest point lies below its highest.
TznScaleEnabling ScaleEnabling(const TznScaleOptions& options, bool has_relief);
