// The record of one file as one line of JSON: keys are the record's own field
// names, in the record's order; tag text is written as it is (UTF-8). Written
// directly rather than through a JSON document: `info --json` writes one of
// these per file, and building a document cost as much as reading the file.
// The text is exactly what a JSON library's compact form gives.
#pragma once

#include "engine/AudioFileData.h"

#include <string>

namespace tessaly::cli {

// Appends the record's JSON object (no line end) to `out`.
void AppendRecordJson(std::string& out, const AudioFileData& data);

}  // namespace tessaly::cli
