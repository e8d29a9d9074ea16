// The two pattern lists of the main window: the rename patterns with a
// preview of the name each would give the file now shown, and the parsing
// patterns; the current pattern of each is checked and selected.
#pragma once

#include "patterns/Rename.h"
#include "settings/Configuration.h"

#include <string>
#include <vector>

namespace tessaly {

enum class PatternListKind {
    FileByTags,  // FileByTagsList: rename patterns
    TagsByFile,  // TagsByFileList: parsing patterns
};

struct PatternListItem {
    std::string Text;
    int PatternIndex = 0;  // the entry of the pattern list this item shows
    bool Checked = false;  // the current pattern: checked and selected

    bool operator==(const PatternListItem&) const = default;
};

struct PatternLists {
    std::vector<PatternListItem> FileByTags;
    std::vector<PatternListItem> TagsByFile;

    bool operator==(const PatternLists&) const = default;
};

// The name rules' settings from the configuration.
PatternOptions PatternOptionsOf(const Configuration& config);

// The items of both lists. A rename pattern shows the name it builds from
// `boxes` followed by `extension` (the file's own), or the pattern itself
// while no field contributes any text; an empty text gets no item. A parsing
// pattern shows itself.
PatternLists BuildPatternLists(const Configuration& config, const TagBoxTexts& boxes,
                               const std::string& extension);

}  // namespace tessaly
