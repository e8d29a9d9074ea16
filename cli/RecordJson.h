// The record of one file as JSON: keys are the record's own field names, in
// the record's order; tag text is written as it is (UTF-8).
#pragma once

#include "engine/AudioFileData.h"

#include <nlohmann/json.hpp>

namespace tessaly::cli {

nlohmann::ordered_json RecordToJson(const AudioFileData& data);
nlohmann::ordered_json ID3v1ToJson(const ID3v1Data& tag);
nlohmann::ordered_json ID3v2ToJson(const ID3v2Data& tag);
nlohmann::ordered_json MPEGToJson(const MPEGData& mpeg);

}  // namespace tessaly::cli
