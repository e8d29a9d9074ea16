// tessaly-cli set: sets tag fields of files and writes them back, then reads
// each file again and checks that its stream properties did not change.
#include "CliHost.h"
#include "CliSettings.h"
#include "Commands.h"

#include "engine/ByteText.h"
#include "engine/Host.h"
#include "engine/ReadAudioFile.h"
#include "engine/UpdateAudioFile.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::cli {

namespace {

struct SetOptions {
    bool onlyV1 = false;
    bool onlyV2 = false;
    std::optional<std::string> title, artist, album, year, track, genre, comment;
    std::optional<std::string> composer, origArtist, copyright, url, encoder;
    bool enableV1 = false, disableV1 = false, enableV2 = false, disableV2 = false;
    std::optional<std::string> language;
    std::optional<int> copyBuffer;
    bool keepTimes = false;
    std::vector<std::string> paths;
};

void Assign(std::string& field, const std::optional<std::string>& value) {
    if (value) field = FileNameToTagText(*value);
}

void ApplyFields(const SetOptions& o, AudioFileData& record) {
    if (!o.onlyV2) {
        ID3v1Data& v1 = record.ID3v1;
        Assign(v1.Title, o.title);
        Assign(v1.Artist, o.artist);
        Assign(v1.Album, o.album);
        Assign(v1.Year, o.year);
        Assign(v1.Track, o.track);
        Assign(v1.Genre, o.genre);
        Assign(v1.Comment, o.comment);
        if (o.enableV1) v1.Present = true;
        if (o.disableV1) v1.Present = false;
    }
    if (!o.onlyV1) {
        ID3v2Data& v2 = record.ID3v2;
        Assign(v2.Title, o.title);
        Assign(v2.Artist, o.artist);
        Assign(v2.Album, o.album);
        Assign(v2.Year, o.year);
        Assign(v2.Track, o.track);
        Assign(v2.Genre, o.genre);
        Assign(v2.Comment, o.comment);
        Assign(v2.Composer, o.composer);
        Assign(v2.OriginalArtist, o.origArtist);
        Assign(v2.Copyright, o.copyright);
        Assign(v2.URL, o.url);
        Assign(v2.EncodedBy, o.encoder);
        if (o.enableV2) v2.Present = true;
        if (o.disableV2) v2.Present = false;
    }
}

bool SetOne(const std::string& path, const SetOptions& o, const UpdateOptions& update) {
    AudioFileData record = ReadAudioFile(path);
    if (record.FileName.empty()) return false;  // could not be opened; already reported
    if (record.ID3v2.IsASF) {
        ShowError("'" + path + "' is a Windows Media file; its tags are read-only.");
        return false;
    }
    const MPEGData before = record.MPEG;
    ApplyFields(o, record);
    if (!UpdateAudioFile(path, record, update)) return false;
    const AudioFileData check = ReadAudioFile(path);
    if (!SameMPEGData(before, check.MPEG)) {
        CurrentHost().ShowMessage("Error Occurred.  MP3 is invalid", AppTitle, MessageIcon::None,
                                  MessageButtons::OK);
        return false;
    }
    return true;
}

}  // namespace

void AddSetCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<SetOptions>();
    CLI::App* set = app.add_subcommand(
        "set", "Set tag fields and write them back (an ID3v2.3 tag and an ID3v1.1 trailer)");
    auto* v1 = set->add_flag("--v1", o->onlyV1, "Set the fields of the ID3v1 tag only");
    set->add_flag("--v2", o->onlyV2, "Set the fields of the ID3v2 tag only")->excludes(v1);
    set->add_option("--title", o->title, "Title");
    set->add_option("--artist", o->artist, "Artist");
    set->add_option("--album", o->album, "Album");
    set->add_option("--year", o->year, "Year");
    set->add_option("--track", o->track, "Track number, e.g. 7 or 7/12");
    set->add_option("--genre", o->genre, "Genre name");
    set->add_option("--comment", o->comment, "Comment");
    auto* v2only = set->add_option_group("ID3v2 only");
    for (auto* opt : {v2only->add_option("--composer", o->composer, "Composer (ID3v2 only)"),
                      v2only->add_option("--origartist", o->origArtist,
                                         "Original artist (ID3v2 only)"),
                      v2only->add_option("--copyright", o->copyright, "Copyright (ID3v2 only)"),
                      v2only->add_option("--url", o->url, "URL (ID3v2 only)"),
                      v2only->add_option("--encoder", o->encoder, "Encoded by (ID3v2 only)")})
        opt->excludes(v1);
    auto* e1 = set->add_flag("--enable-v1", o->enableV1, "Write an ID3v1 trailer");
    set->add_flag("--disable-v1", o->disableV1, "Remove the ID3v1 trailer")->excludes(e1);
    auto* e2 = set->add_flag("--enable-v2", o->enableV2, "Write an ID3v2 tag");
    set->add_flag("--disable-v2", o->disableV2, "Remove the ID3v2 tag")->excludes(e2);
    set->add_option("--language", o->language, "Comment language, three letters (default eng)");
    set->add_option("--copy-buffer", o->copyBuffer, "Block size of a rewrite, 2048 to 65536")
        ->check(CLI::Range(2048, 65536));
    set->add_flag("--keep-times", o->keepTimes, "Give each file back the times it had");
    set->add_option("PATH", o->paths, "Files to update")->required();
    set->footer(
        "Fields are set in both tag versions unless --v1 or --v2 is given. Exit status: 0 when "
        "every file was updated, 1 otherwise, 2 on a usage error.");
    set->callback([o, &exitCode] {
        UpdateOptions update = CliUpdateOptions();
        if (o->language) update.Language = FileNameToTagText(*o->language);
        if (o->copyBuffer) update.CopyBuffer = *o->copyBuffer;
        if (o->keepTimes) update.OriginalDateTime = true;
        for (const std::string& path : o->paths)
            if (!SetOne(path, *o, update)) exitCode = ExitFailed;
    });
}

}  // namespace tessaly::cli
