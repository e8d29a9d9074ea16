// Reads the same folder of tagged MP3 files with ReadAudioFile and with
// TagLib (tags and audio properties, as a tag editor's file list needs them),
// alternating, and prints microseconds per file and the ratio.
#include "BenchFiles.h"

#include "engine/ReadAudioFile.h"

#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <cstdio>
#include <cstdlib>

int main() {
    const int count = 2000;
    const int rounds = 7;
    const std::string folder = bench::MakeScratchFolder("tessaly-bench-read");
    const auto paths = bench::MakeTaggedMP3Folder(folder, count, 120);

    long checksum = 0;  // keeps the work from being optimised away
    auto ours = [&] {
        for (const auto& path : paths) {
            tessaly::AudioFileData data = tessaly::ReadAudioFile(path);
            checksum += static_cast<long>(data.ID3v2.Title.size()) + data.MPEG.Bitrate;
        }
    };
    auto taglib = [&] {
        for (const auto& path : paths) {
            TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
            checksum += static_cast<long>(file.tag()->title().size()) +
                        (file.audioProperties() ? file.audioProperties()->bitrate() : 0);
        }
    };

    ours();  // warm the page cache for both
    taglib();
    std::vector<double> oursTimes, taglibTimes;
    for (int r = 0; r < rounds; ++r) {
        oursTimes.push_back(bench::MicrosPerItem(count, ours));
        taglibTimes.push_back(bench::MicrosPerItem(count, taglib));
    }
    const double a = bench::Median(oursTimes), b = bench::Median(taglibTimes);
    std::printf("read %d tagged MP3 files, median of %d alternating rounds\n", count, rounds);
    std::printf("  ReadAudioFile: %8.1f us/file\n", a);
    std::printf("  TagLib:        %8.1f us/file\n", b);
    std::printf("  ratio ours/TagLib: %.2f   (checksum %ld)\n", a / b, checksum);
    bench::RemoveFolder(folder);
    return 0;
}
