#include "patterns/Rename.h"

#include "engine/Utf8Text.h"
#include "engine/FileIO.h"
#include "engine/Host.h"
#include "patterns/NumericValue.h"
#include "patterns/PatternToken.h"
#include "patterns/Utils.h"

#include <charconv>
#include <cmath>
#include <filesystem>

namespace tessaly {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A field's ID3v2 box wins whenever it holds anything, even only spaces.
const std::string& ChosenBox(const TagBoxTexts& boxes, FieldNumber field) {
    if (field > FieldComment || !boxes.V2[field].empty()) return boxes.V2[field];
    return boxes.V1[field];
}

std::string TrackForName(const std::string& box, bool twoDigits) {
    if (box.empty()) return {};
    // "7/12" reads 7, text without a leading number reads 0.
    std::string number = PlainDecimal(NumericValue(box));
    if (twoDigits && number.size() == 1) number.insert(0, "0");
    return number;
}

std::string FieldForName(const TagBoxTexts& boxes, FieldNumber field,
                         const PatternOptions& options) {
    if (field <= FieldNone || field > FieldEncoder) return {};
    const std::string& box = ChosenBox(boxes, field);
    if (field == FieldTrack) return TrackForName(box, options.RenameTwoDigitTracks);
    return std::string(TrimSpaces(box));
}

void ReplaceAll(std::string& text, char from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == from)
            out += to;
        else
            out += c;
    }
    text = std::move(out);
}

// Neither the empty name nor "." and ".." (nor any other run of spaces and
// dots, which some systems strip to nothing) names a file of its own.
bool UnusableBaseName(std::string_view name) {
    return name.find_first_not_of(" .") == std::string_view::npos;
}

RenameResult Refusal(std::string message) {
    return {RenameStatus::Refused, {}, std::move(message), "Rename"};
}

}  // namespace

std::string PlainDecimal(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";  // also for -0
    // Shortest text that reads back to the same value, in fixed notation; a
    // double's fixed form never needs more than a few hundred characters.
    char buffer[400];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}

std::string FileExtensionOf(const std::string& path) {
    std::string name = NameOf(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string BuildNameFromTags(std::string_view pattern, const TagBoxTexts& boxes,
                              const PatternOptions& options, bool literalsOnly) {
    std::string name;
    for (const PatternToken& token : TokenizePattern(pattern)) {
        if (!token.IsField)
            name += token.Literal;
        else if (!literalsOnly)
            name += FieldForName(boxes, token.Field, options);
    }
    if (options.RenameSpace) ReplaceAll(name, ' ', options.RenameSpaceChar);
    return name;
}

RenameResult RenameFileNoReplace(const std::string& oldPath, const std::string& newPath) {
    namespace fs = std::filesystem;
    if (fs::path(oldPath).lexically_normal() == fs::path(newPath).lexically_normal())
        return {RenameStatus::Unchanged, oldPath, {}, {}};
    int error = RenameNoReplace(oldPath, newPath);
    if (error != 0) return {RenameStatus::Failed, {}, ErrorDescription(error), "Error"};
    return {RenameStatus::Renamed, newPath, {}, {}};
}

RenameResult RenameFromTags(const std::string& oldPath, const std::string& folder,
                            std::string_view tagName, const PatternOptions& options) {
    std::string base = LegalFileName(tagName, options.RenameSpace, options.RenameSpaceChar);
    if (UnusableBaseName(base))
        return Refusal(
            "The tags give an empty file name (or one of only spaces and dots); "
            "the file was not renamed.");
    // The replacement for forbidden characters is a setting and may itself be
    // one; a separator here would move the file into another folder.
    if (base.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos)
        return Refusal(
            "The file name built from the tags contains a path separator; "
            "the file was not renamed.");

    std::string newPath = folder;
    if (!newPath.empty() && newPath.back() != PathSeparator) newPath += PathSeparator;
    // Tag text is UTF-8, as names on this system are.
    newPath += base + FileExtensionOf(oldPath);
    return RenameFileNoReplace(oldPath, newPath);
}

void ShowRenameFailure(const RenameResult& result) {
    if (result.Succeeded()) return;
    CurrentHost().ShowMessage(result.Message, result.Caption, MessageIcon::Critical,
                              MessageButtons::OK);
}

}  // namespace tessaly
