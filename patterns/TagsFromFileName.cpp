#include "patterns/TagsFromFileName.h"

#include "engine/Utf8Text.h"
#include "engine/FileIO.h"

namespace tessaly {

namespace {

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

// Cuts `name` at the first occurrence of `literal`, which must be present. The
// first piece is returned; `name` keeps the rest, except that occurrences of
// the literal directly after the cut are dropped too: with "-", "A--B" leaves
// "B".
std::string CutAt(std::string& name, std::string_view literal) {
    size_t first = name.find(literal);
    std::string piece = name.substr(0, first);
    std::string rest;
    size_t start = first + literal.size();
    while (true) {
        size_t next = name.find(literal, start);
        std::string_view part = std::string_view(name).substr(start, next - start);
        // The literal goes back between pieces only once text has been joined.
        if (!rest.empty()) rest += literal;
        rest += part;
        if (next == std::string::npos) break;
        start = next + literal.size();
    }
    name = std::move(rest);
    return piece;
}

void ReplaceWithSpaces(std::string& slot, std::string_view characters) {
    for (char& c : slot) {
        if (characters.find(c) != std::string_view::npos) c = ' ';
    }
}

std::string BaseNameOf(const std::string& path) {
    // File names are UTF-8 here; tag text is one byte per character.
    std::string name = FileNameToTagText(NameOf(path));
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

std::vector<std::string> CutNameIntoSlots(std::string_view nameText,
                                          const std::vector<PatternToken>& tokens,
                                          const PatternOptions& options) {
    std::vector<std::string> slots;
    std::string name(nameText);
    std::string previousSeparator;
    bool ended = false;
    for (size_t i = 0; i < tokens.size() && !ended; ++i) {
        if (tokens[i].IsField) continue;
        const std::string& literal = tokens[i].Literal;
        if (name.find(literal) != std::string::npos) {
            slots.push_back(Trimmed(CutAt(name, literal)));
            previousSeparator = literal;
        } else if (i > 0 && literal == previousSeparator) {
            // The same separator again but no more of it in the name: what is
            // left belongs to the field before it, and later fields get nothing.
            slots.push_back(Trimmed(name));
            ended = true;
        } else {
            slots.emplace_back();
            previousSeparator = literal;
        }
    }
    if (!ended) slots.push_back(Trimmed(name));
    // Text before a leading literal has no field to go to; keeping its slot
    // would hand every field the value meant for the one before it.
    if (!tokens.empty() && !tokens.front().IsField) slots.erase(slots.begin());

    if (options.ReplaceWithSpaces) {
        for (std::string& slot : slots) ReplaceWithSpaces(slot, options.ReplaceWithSpacesChars);
    }
    return slots;
}

std::vector<FieldAssignment> TagsFromFileName(const std::string& path, std::string_view pattern,
                                              const PatternOptions& options) {
    std::vector<PatternToken> tokens = TokenizePattern(pattern);
    std::vector<std::string> slots = CutNameIntoSlots(BaseNameOf(path), tokens, options);
    std::vector<FieldAssignment> assignments;
    size_t slot = 0;
    for (const PatternToken& token : tokens) {
        if (slot == slots.size()) break;
        if (!token.IsField) continue;
        FieldNumber field = token.Field;
        std::string& value = slots[slot++];
        if (field == FieldNone) continue;
        // Fields beyond the comment have no ID3v1 box.
        int version = field > FieldComment ? 2 : 0;
        assignments.push_back({field, version, std::move(value)});
    }
    return assignments;
}

}  // namespace tessaly
