// The lines of a .prp object list as a run that writes only part of the
// object grid keeps them: the lines of an earlier list under the same base
// name stay, save those of the objects the run lists again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The object file name of a line of an object list: field 10, as long as
// field 7 says; empty for a line that is no object line.
std::string ListedName(std::string_view line);

// The lines of the object list at path, without their line ends; none when
// there is no file. Throws EznFileError when the file is there but cannot
// be read: a run that went on would drop its lines.
std::vector<std::string> ReadObjectList(const std::string& path);

// The earlier lines whose objects the run's lines do not name, and the
// run's lines, in grid order: rows from south to north, objects from west
// to east in a row, as the lines' own positions say (field 5 north, field
// 3 west of the origin). Lines that place nothing keep their order at the
// end.
std::vector<std::string> MergeObjectLists(const std::vector<std::string>& earlier,
                                          const std::vector<std::string>& lines);

// The text of an object list: each line followed by "\r\n".
std::string ObjectListText(const std::vector<std::string>& lines);
