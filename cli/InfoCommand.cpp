// tessaly-cli info [--json] PATH...: reads each file as the editor does and
// prints what it holds.
#include "CliEditor.h"
#include "CliSettings.h"
#include "FileWalk.h"
#include "OrderedPool.h"
#include "CliHost.h"
#include "Commands.h"
#include "RecordJson.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "engine/TagFields.h"

#include <CLI/CLI.hpp>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include <unistd.h>

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

// Appends printf-style text to `out`.
[[gnu::format(printf, 2, 3)]] void Appendf(std::string& out, const char* format, ...) {
    char buffer[512];
    std::va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof buffer) {
        out.append(buffer, static_cast<size_t>(n));
        return;
    }
    std::string longer(static_cast<size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(longer.data(), longer.size(), format, args);
    va_end(args);
    out.append(longer, 0, static_cast<size_t>(n));
}

void PrintFields(std::string& out,
                 const std::vector<std::pair<const char*, const std::string*>>& fields) {
    for (const auto& [name, value] : fields) {
        const std::string shown = TerminalText(*value);
        if (!shown.empty()) Appendf(out, "  %-16s %s\n", name, shown.c_str());
    }
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }

void PrintListing(std::string& out, const AudioFileData& d) {
    Appendf(out, "%s\n", d.FileName.c_str());
    Appendf(out, "  %-16s %lld bytes\n", "Size", static_cast<long long>(d.MPEG.FileSize));
    Appendf(out, "  %-16s %s\n", "Created", FormatTime(d.Created).c_str());
    Appendf(out, "  %-16s %s\n", "Modified", FormatTime(d.Modified).c_str());
    Appendf(out, "  %-16s %s\n", "Accessed", FormatTime(d.Accessed).c_str());

    const ID3v1Data& v1 = d.ID3v1;
    Appendf(out, "ID3v1: %s\n", v1.Present ? "present" : "none");
    std::vector<std::pair<const char*, const std::string*>> fields;
    for (const TagField& field : TagFields())
        if (field.V1 != nullptr) fields.emplace_back(field.Label.data(), &(v1.*field.V1));
    PrintFields(out, fields);

    const ID3v2Data& v2 = d.ID3v2;
    fields.clear();
    for (const TagField& field : TagFields()) {
        const char* label = field.Label.data();
        if (v2.IsASF) {
            // The content description's own names for the fields it fills.
            switch (field.Number) {
                case FieldArtist: label = "Author"; break;
                case FieldComment: label = "Description"; break;
                case FieldOriginalArtist: label = "Rating"; break;
                case FieldComposer: case FieldURL: case FieldEncoder: continue;
                default: break;
            }
        }
        fields.emplace_back(label, &(v2.*field.V2));
    }
    if (v2.IsASF) {
        Appendf(out, "Windows Media content description: %s\n", v2.Present ? "present" : "none");
        PrintFields(out, fields);
    } else if (v2.Present) {
        Appendf(out, "ID3v2: version 2.%d.%d, %d bytes, flags 0x%02X\n", v2.MajorVersion,
                    v2.Revision, v2.TagSize, v2.Flags & 0xFF);
        PrintFields(out, fields);
    } else {
        Appendf(out, "ID3v2: none\n");
    }

    const MPEGData& m = d.MPEG;
    if (m.HeaderFound) {
        Appendf(out, "MPEG: MPEG %s Layer %s, %d kbit/s%s, %d Hz, %s, %d seconds\n",
                    m.Version.c_str(), m.Layer.c_str(), m.Bitrate, m.VBR ? " (VBR)" : "",
                    m.SampleRate, m.Mode.c_str(), m.Duration);
        Appendf(out, "  %-16s %lld\n", "Header at", static_cast<long long>(m.HeaderPosition));
        Appendf(out, "  %-16s CRC %s, copyrighted %s, original %s, private %s\n", "Flags",
                    YesNo(m.CRC), YesNo(m.Copyrighted), YesNo(m.Original), YesNo(m.Private));
        Appendf(out, "  %-16s %s\n", "Emphasis", m.Emphasis.c_str());
    } else {
        Appendf(out, "MPEG: no frame header found\n");
    }
}

// Reads in flight at most: enough to keep a disk's queue busy when the page
// cache is cold (the pool grows to it only while reads wait for the disk).
constexpr unsigned ReaderThreads = 16;
constexpr size_t ReadWindow = 256;

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
                   "text as it is (UTF-8)");
    AddRecursiveFlag(*info, options->recursive);
    info->add_option("PATH", options->paths, "Files to read (folders with -r)")->required();
    info->footer(
        "Exit status: 0 when every file was read, 1 when one could not be opened, 2 on a "
        "usage error.");
    info->callback([options, &exitCode] {
        std::vector<std::string> files;
        if (!ExpandPaths(options->paths, options->recursive, LoadCliConfiguration().Extensions,
                         files)) {
            exitCode = ExitUsage;
            return;
        }
        // Records are made on the pool's threads and written here in order,
        // through one large buffer.
        struct Output {
            bool read = false;
            std::string text;
        };
        const bool json = options->json;
        static std::vector<char> buffer(1 << 20);  // lives until stdout is closed at exit
        if (::isatty(STDOUT_FILENO) != 1) std::setvbuf(stdout, buffer.data(), _IOFBF, buffer.size());
        RunTally tally(files.size(), options->recursive);
        bool first = true;
        ProduceInOrder<Output>(
            files, ReaderThreads, ReadWindow,
            [json](const std::string& path) {
                Output output;
                const AudioFileData data = ReadAudioFile(path);
                if (data.FileName.empty()) return output;  // the Host has said why
                output.read = true;
                if (json) {
                    AppendRecordJson(output.text, data);
                    output.text += '\n';
                } else {
                    PrintListing(output.text, data);
                }
                return output;
            },
            [&](size_t, Output& output) {
                if (output.read) {
                    if (!json && !first) std::fputc('\n', stdout);
                    std::fwrite(output.text.data(), 1, output.text.size(), stdout);
                    first = false;
                }
                tally.Count(output.read ? FileOutcome::Read : FileOutcome::Failed);
            });
        exitCode = tally.Finish();
        std::fflush(stdout);
    });
}

}  // namespace tessaly::cli
