// Base names are plain prefixes, so two of them can name the same object
// file: base "h" writes "h20n0w.rwx" for object 20n0w, and base "h2" for
// object 0n0w. Such base names form a family (h, h2, h20, ...); a run
// must never replace an object file that another member of its family
// wrote or is writing.
//
// Why the check cannot race with the writing: every run takes the lock of
// its own base name (znRWXRunGuard.h) before it checks and holds it until
// its object list is written. The check then looks, first, for a held lock
// of another member (a run in progress, whose list is written only at its
// end) under whose base name one of this run's files reads as an object
// name, and, second, reads the lists of the members that finished. Of two
// members that share a file and start at once, the one that checks later
// sees the other's lock, since each took its own before checking: at least
// one of them refuses, never neither. A member that finished before the check let go of
// its lock only after its list was in place, so the list is read. No lock
// on the whole folder is needed, and runs under unrelated base names, or
// the parts of one base name (lists named BASE.partK-of-N.prp), still run
// at the same time.
#pragma once

#include <string>
#include <vector>

#include "rwx/znOutputNames.h"

// The base name a list or lock file belongs to, without its folder: the
// name before ".prp" or ".prp.lock", and before a part's ".partK-of-N"
// ("h.part2-of-4.prp" belongs to "h").
std::string FamilyBaseOf(const std::string& file_name);

// Whether object files under the two base names (without folders) can
// share names: one is the other followed by a digit, the first character
// of every object name. Equal names are one base, not two.
bool CanShareObjectNames(const std::string& base, const std::string& other);

// Throws EznFileError when a run under another base name of the family is
// writing in the base name's folder (its lock is held) and one of
// base + object name reads as its base name and an object name, and
// EznOutputRefused when the object list of another base name of the
// family lists one of base + object name; the message names the list and
// the file and says to remove or rename the list. The run's own lock must
// be held already.
void CheckBaseFamily(const std::string& base_file_name, const TznOutputNames& object_names);
