// tessaly-cli set: types tag fields into the editor's boxes and updates each
// file as the Update button does: the same trimming, the same gates, and the
// same read-back check that the stream properties did not change.
#include "CliEditor.h"
#include "Commands.h"
#include "FileWalk.h"

#include "engine/TagFields.h"

#include <CLI/CLI.hpp>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

struct SetOptions {
    bool onlyV1 = false;
    bool onlyV2 = false;
    std::array<std::optional<std::string>, 13> fields;  // by field number
    bool enableV1 = false, disableV1 = false, enableV2 = false, disableV2 = false;
    std::optional<std::string> language;
    std::optional<int> copyBuffer;
    bool keepTimes = false;
    bool recursive = false;
    std::vector<std::string> paths;
};

// The boxes the options fill, in the order of the panes.
std::vector<std::pair<FieldNumber, const std::optional<std::string>*>> Fields(const SetOptions& o) {
    std::vector<std::pair<FieldNumber, const std::optional<std::string>*>> fields;
    for (const TagField& field : TagFields()) fields.emplace_back(field.Number, &o.fields[field.Number]);
    return fields;
}

// Whether the options type a field into the pane of `version`.
bool TypesInto(const SetOptions& o, int version) {
    if (version == 1 ? o.onlyV2 : o.onlyV1) return false;
    for (const auto& [field, value] : Fields(o))
        if (*value && (version == 2 || TagFieldOf(field)->V1 != nullptr)) return true;
    return false;
}

// Types the values into the boxes and clicks the check boxes, as a user
// would before pressing Update. A file without any tag gets the versions the
// fields go into; a file with one keeps the other off unless asked.
void FillBoxes(const SetOptions& o, TagEditor& editor) {
    const bool untagged = !editor.IsTagEnabled(1) && !editor.IsTagEnabled(2);
    for (const auto& [field, value] : Fields(o)) {
        if (!*value) continue;
        const std::string text = ArgumentText(**value);
        if (!o.onlyV2 && TagFieldOf(field)->V1 != nullptr) editor.SetBoxText(1, field, text);
        if (!o.onlyV1) editor.SetBoxText(2, field, text);
    }
    for (int version : {1, 2})
        if (untagged && TypesInto(o, version)) editor.SetTagEnabled(version, true);
    if (o.enableV1 || o.disableV1) editor.SetTagEnabled(1, o.enableV1);
    if (o.enableV2 || o.disableV2) editor.SetTagEnabled(2, o.enableV2);
}

// Why the options would write nothing to the file, "" when they write.
std::string NothingToWrite(const SetOptions& o, const TagEditor& editor) {
    if (o.enableV1 || o.disableV1 || o.enableV2 || o.disableV2) return {};
    if (!TypesInto(o, 1) && !TypesInto(o, 2)) return "no field to set was given";
    for (int version : {1, 2})
        if (TypesInto(o, version) && editor.IsTagEnabled(version)) return {};
    return std::string("the fields go into the ") + (TypesInto(o, 1) ? "ID3v1" : "ID3v2") +
           " tag, which the file does not have (add it with --enable-v" +
           (TypesInto(o, 1) ? "1" : "2") + ")";
}

bool SetOne(EditorSession& session, const std::string& path, const SetOptions& o) {
    if (!session.Open(path) || !session.Allows(MacroGate::Update, path)) return false;
    TagEditor& editor = session.Editor();
    FillBoxes(o, editor);
    if (const std::string why = NothingToWrite(o, editor); !why.empty()) {
        PrintError(path + ": nothing was written: " + why + ".");
        return false;
    }
    // The update trims the boxes as the panes collect them, writes, and reads
    // the file back to check that its stream did not change.
    return session.RunsCleanly([&] { editor.UpdateFromPanes(); });
}

}  // namespace

void AddSetCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<SetOptions>();
    CLI::App* set = app.add_subcommand(
        "set", "Set tag fields and write them back (an ID3v2.3 tag and an ID3v1.1 trailer)");
    set->fallthrough();
    auto* v1 = set->add_flag("--v1", o->onlyV1, "Set the fields of the ID3v1 tag only");
    set->add_flag("--v2", o->onlyV2, "Set the fields of the ID3v2 tag only")->excludes(v1);
    auto* v2only = set->add_option_group("ID3v2 only");
    for (const TagField& field : TagFields()) {
        const std::string name = "--" + std::string(field.Option);
        std::optional<std::string>& value = o->fields[field.Number];
        if (field.V1 != nullptr)
            set->add_option(name, value, std::string(field.Label));
        else
            v2only->add_option(name, value, std::string(field.Label) + " (ID3v2 only)")
                ->excludes(v1);
    }
    auto* e1 = set->add_flag("--enable-v1", o->enableV1, "Write an ID3v1 trailer");
    set->add_flag("--disable-v1", o->disableV1, "Remove the ID3v1 trailer")->excludes(e1);
    auto* e2 = set->add_flag("--enable-v2", o->enableV2, "Write an ID3v2 tag");
    set->add_flag("--disable-v2", o->disableV2, "Remove the ID3v2 tag")->excludes(e2);
    set->add_option("--language", o->language, "Comment language, three letters (default eng)");
    set->add_option("--copy-buffer", o->copyBuffer, "Block size of a rewrite, 2048 to 65536")
        ->check(CLI::Range(2048, 65536));
    set->add_flag("--keep-times", o->keepTimes, "Give each file back the times it had");
    AddRecursiveFlag(*set, o->recursive);
    set->add_option("PATH", o->paths, "Files to update (folders with -r)")->required();
    set->footer(
        "Fields are set in both tag versions unless --v1 or --v2 is given. Exit status: 0 when "
        "every file was updated, 1 otherwise, 2 on a usage error.");
    set->callback([o, &exitCode] {
        EditorSession session;
        Configuration& config = session.Config();
        if (o->language) config.Language = ArgumentText(*o->language);
        if (o->copyBuffer) config.CopyBuffer = *o->copyBuffer;
        if (o->keepTimes) config.OriginalDateTime = true;
        exitCode = RunOnPaths(o->paths, o->recursive, config.Extensions, [&](const std::string& path) {
            return SetOne(session, path, *o) ? FileOutcome::Updated : FileOutcome::Failed;
        });
    });
}

}  // namespace tessaly::cli
