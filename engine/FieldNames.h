// Display names of the tag fields, indexed by field number (FieldNumber in
// AudioFileData.h): the editor's labels, the pattern keywords' captions and the
// macro field commands all use them.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

// 13 entries; 0 (no field) is "".
extern const std::vector<std::string> FieldNames;

}  // namespace tessaly
