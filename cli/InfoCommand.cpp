// tessaly-cli info [--json] PATH...: reads each file as the editor does and
// prints what it holds.
#include "CliEditor.h"
#include "CliSettings.h"
#include "FileWalk.h"
#include "CliHost.h"
#include "Commands.h"
#include "RecordJson.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

namespace tessaly::cli {

namespace {

std::string FormatTime(int64_t fileTime) {
    if (fileTime == 0) return "-";
    std::time_t seconds = static_cast<std::time_t>(UnixFromFileTime(fileTime));
    std::tm utc {};
    ::gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

void PrintFields(const std::vector<std::pair<const char*, const std::string*>>& fields) {
    for (const auto& [name, value] : fields) {
        const std::string shown = TerminalText(*value);
        if (!shown.empty()) std::printf("  %-16s %s\n", name, shown.c_str());
    }
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }

void PrintListing(const AudioFileData& d) {
    std::printf("%s\n", d.FileName.c_str());
    std::printf("  %-16s %d bytes\n", "Size", d.MPEG.FileSize);
    std::printf("  %-16s %s\n", "Created", FormatTime(d.Created).c_str());
    std::printf("  %-16s %s\n", "Modified", FormatTime(d.Modified).c_str());
    std::printf("  %-16s %s\n", "Accessed", FormatTime(d.Accessed).c_str());

    const ID3v1Data& v1 = d.ID3v1;
    std::printf("ID3v1: %s\n", v1.Present ? "present" : "none");
    PrintFields({{"Track", &v1.Track}, {"Artist", &v1.Artist}, {"Title", &v1.Title},
                 {"Album", &v1.Album}, {"Year", &v1.Year}, {"Genre", &v1.Genre},
                 {"Comment", &v1.Comment}});

    const ID3v2Data& v2 = d.ID3v2;
    if (v2.IsASF) {
        std::printf("Windows Media content description: %s\n", v2.Present ? "present" : "none");
        PrintFields({{"Title", &v2.Title}, {"Author", &v2.Artist}, {"Copyright", &v2.Copyright},
                     {"Description", &v2.Comment}, {"Rating", &v2.OriginalArtist}});
    } else if (v2.Present) {
        std::printf("ID3v2: version 2.%d.%d, %d bytes, flags 0x%02X\n", v2.MajorVersion,
                    v2.Revision, v2.TagSize, v2.Flags & 0xFF);
        PrintFields({{"Track", &v2.Track}, {"Artist", &v2.Artist}, {"Title", &v2.Title},
                     {"Album", &v2.Album}, {"Year", &v2.Year}, {"Genre", &v2.Genre},
                     {"Comment", &v2.Comment}, {"Composer", &v2.Composer},
                     {"Original artist", &v2.OriginalArtist}, {"Copyright", &v2.Copyright},
                     {"URL", &v2.URL}, {"Encoded by", &v2.EncodedBy}});
    } else {
        std::printf("ID3v2: none\n");
    }

    const MPEGData& m = d.MPEG;
    if (m.HeaderFound) {
        std::printf("MPEG: MPEG %s Layer %s, %d kbit/s%s, %d Hz, %s, %d seconds\n",
                    m.Version.c_str(), m.Layer.c_str(), m.Bitrate, m.VBR ? " (VBR)" : "",
                    m.SampleRate, m.Mode.c_str(), m.Duration);
        std::printf("  %-16s %d\n", "Header at", m.HeaderPosition);
        std::printf("  %-16s CRC %s, copyrighted %s, original %s, private %s\n", "Flags",
                    YesNo(m.CRC), YesNo(m.Copyrighted), YesNo(m.Original), YesNo(m.Private));
        std::printf("  %-16s %s\n", "Emphasis", m.Emphasis.c_str());
    } else {
        std::printf("MPEG: no frame header found\n");
    }
}

struct InfoOptions {
    bool json = false;
    bool recursive = false;
    std::vector<std::string> paths;
};

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<InfoOptions>();
    CLI::App* info = app.add_subcommand(
        "info", "Read each file as the editor does and print its tags and stream properties");
    info->add_flag("--json", options->json,
                   "One JSON object per file and line; keys are the record's field names, tag "
                   "text has byte b as code point U+00bb");
    AddRecursiveFlag(*info, options->recursive);
    info->add_option("PATH", options->paths, "Files to read (folders with -r)")->required();
    info->footer(
        "Exit status: 0 when every file was read, 1 when one could not be opened, 2 on a "
        "usage error.");
    info->callback([options, &exitCode] {
        bool first = true;
        exitCode = RunOnPaths(
            options->paths, options->recursive, LoadCliConfiguration().Extensions,
            [&](const std::string& path) {
                AudioFileData data = ReadAudioFile(path);
                if (data.FileName.empty())  // the open failed; the Host has said so
                    return FileOutcome::Failed;
                if (options->json) {
                    std::cout << RecordToJson(data).dump() << '\n';
                } else {
                    if (!first) std::printf("\n");
                    PrintListing(data);
                    std::fflush(stdout);
                }
                first = false;
                return FileOutcome::Read;
            });
        std::cout.flush();
    });
}

}  // namespace tessaly::cli
