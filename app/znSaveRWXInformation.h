// The line under the name in the "Save to RWX" dialog, which follows what
// the user types: how many objects the run may write and the name of the
// first file under the typed base name.
#pragma once

#include <string>

#include "base/znModelFormat.h"
#include "terrain/znTerra.h"

// "Up to 9 objects, the first flat1n0w.rwx, listed in flat.prp" for the
// base name typed (a path: its file name counts); "BASE" stands in while
// nothing is typed.
std::string SaveRWXInformation(const TznTerra::TObjectPlan& plan, const std::string& typed, TznModelFormat format);
