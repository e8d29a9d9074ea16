// Reading tag values out of a file name by a parsing pattern such as
// "{TRACK}. {ARTIST} - {TITLE}". The result is a list of box assignments; the
// editor applies them (and ticks both tag versions), nothing here touches a
// box or a file.
#pragma once

#include "engine/AudioFileData.h"
#include "patterns/PatternToken.h"
#include "patterns/Rename.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Which pane a value goes to: 0 both, 1 the ID3v1 pane, 2 the ID3v2 pane.
// Fields 8-12 exist in the ID3v2 pane only. For the ID3v1 genre the value is a
// name to select: the entry equal to it ignoring case, else the empty entry.
struct FieldAssignment {
    FieldNumber Field = FieldNone;
    int Version = 0;
    std::string Value;

    bool operator==(const FieldAssignment&) const = default;
};

// The values cut from `name` (a file name without folder and extension, as
// tag text) by the literal tokens of a pattern: each literal ends one slot, the rest
// of the name is the last. A literal missing from the name leaves its slot
// empty, unless it repeats the previous separator, which ends the cutting with
// the rest of the name in that slot. A pattern that begins with a literal has
// no field before it, so that first slot is dropped.
std::vector<std::string> CutNameIntoSlots(std::string_view name,
                                          const std::vector<PatternToken>& tokens,
                                          const PatternOptions& options);

// The assignments that `pattern` reads from the file at `path`: its name
// without folder and after its last "." cut off, decoded from UTF-8 when it is
// valid UTF-8. Field tokens take the slots in order; an unknown keyword takes
// its slot and assigns nothing; fields left without a slot are not assigned.
std::vector<FieldAssignment> TagsFromFileName(const std::string& path, std::string_view pattern,
                                              const PatternOptions& options);

}  // namespace tessaly
