// Name patterns on arbitrary input: the first line is the pattern, the rest the
// file name (and the box texts a name is built from).
#include "patterns/PatternToken.h"
#include "patterns/Rename.h"
#include "patterns/TagsFromFileName.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    std::string pattern = input.substr(0, newline);
    std::string name = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    PatternOptions options;
    options.RenameSpace = size % 2 == 0;
    options.RenameTwoDigitTracks = size % 3 == 0;
    options.ReplaceWithSpacesChars = pattern.substr(0, 2);

    TokenizePattern(pattern);
    TagsFromFileName(name, pattern, options);

    TagBoxTexts boxes;
    for (size_t field = 0; field < boxes.V1.size(); ++field) {
        boxes.V1[field] = name.substr(0, field);
        boxes.V2[field] = field % 2 ? name : std::string();
    }
    std::string built = BuildNameFromTags(pattern, boxes, options, false);
    std::string literals = BuildNameFromTags(pattern, boxes, options, true);
    if (literals.size() > built.size()) __builtin_trap();
    return 0;
}
