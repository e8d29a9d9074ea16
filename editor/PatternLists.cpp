#include "editor/PatternLists.h"

namespace tessaly {

PatternOptions PatternOptionsOf(const Configuration& config) {
    PatternOptions options;
    options.RenameSpace = config.RenameSpace;
    options.RenameSpaceChar = config.RenameSpaceChar;
    options.RenameTwoDigitTracks = config.RenameTwoDigitTracks;
    options.ReplaceWithSpaces = config.ReplaceWithSpaces;
    options.ReplaceWithSpacesChars = config.ReplaceWithSpacesChars;
    return options;
}

PatternLists BuildPatternLists(const Configuration& config, const TagBoxTexts& boxes,
                               const std::string& extension) {
    const PatternOptions options = PatternOptionsOf(config);
    PatternLists lists;
    const auto& renames = config.FileByTagsPatterns;
    for (size_t i = 0; i < renames.size(); ++i) {
        const std::string preview = BuildNameFromTags(renames[i], boxes, options, false);
        // Equal to the literals alone: no field had text, so show the pattern.
        const bool nothingFilled = preview == BuildNameFromTags(renames[i], boxes, options, true);
        std::string text = nothingFilled ? renames[i] : preview + extension;
        if (text.empty()) continue;
        // Items remember their pattern, so choosing one still picks the right
        // pattern when an empty one before it has no item.
        lists.FileByTags.push_back(
            {std::move(text), static_cast<int>(i), static_cast<int>(i) == config.FileByTagsIndex});
    }
    const auto& parsers = config.TagsByFilePatterns;
    for (size_t i = 0; i < parsers.size(); ++i)
        lists.TagsByFile.push_back(
            {parsers[i], static_cast<int>(i), static_cast<int>(i) == config.TagsByFileIndex});
    return lists;
}

}  // namespace tessaly
