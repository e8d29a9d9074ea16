// The settings a file update uses. The configuration fills them; these are
// the defaults of a first run.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

struct UpdateOptions {
    int32_t CopyBuffer = 65536;     // block size of the rewrite's copy loop, bytes
    bool OriginalDateTime = false;  // give the file back the times it had when loaded
    std::string Language = "eng";   // ISO 639-2 code of the comment frame
};

}  // namespace tessaly
