// Listing a folder as the file list does: `tessaly-cli list --json` on a
// folder of 2,000 tagged MP3 files, process start included, against the
// TagLib reader of the read benchmark over the same folder (enumerated, each
// file's tags and audio properties read), in alternating rounds.
#include "BenchFiles.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>


namespace {

// The read benchmark's TagLib reader over every file of the folder.
long TagLibListing(const std::string& folder) {
    long checksum = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".mp3") continue;
        TagLib::MPEG::File file(entry.path().c_str(), true, TagLib::AudioProperties::Average);
        checksum += static_cast<long>(file.tag()->title().size()) +
                    (file.audioProperties() ? file.audioProperties()->bitrate() : 0);
    }
    return checksum;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = 2000;
    const int rounds = 7;
    const std::string cli =
        argc > 1 ? argv[1]
                 : (std::filesystem::path(argv[0]).parent_path() / "tessaly-cli").string();
    const std::string scratch = bench::MakeScratchFolder("tessaly-bench-list");
    const std::string folder = scratch + "/music";
    bench::MakeTaggedMP3Folder(folder, count, 120);
    // A settings file that does not exist: the defaults, whatever the user has.
    const std::vector<std::string> command{cli, "--settings", scratch + "/none.reg", "list",
                                           "--json", folder};

    long checksum = 0;
    if (bench::TimedRun(command) < 0) {  // also warms the page cache for both
        std::printf("list: could not run %s\n", cli.c_str());
        bench::RemoveFolder(scratch);
        return 0;
    }
    checksum += TagLibListing(folder);
    std::vector<double> ours, taglib;
    for (int r = 0; r < rounds; ++r) {
        ours.push_back(bench::TimedRun(command) * 1000);
        taglib.push_back(bench::MicrosPerItem(1, [&] { checksum += TagLibListing(folder); }) /
                         1000);
    }
    const double a = bench::Median(ours), b = bench::Median(taglib);
    std::printf("list a folder of %d tagged MP3 files, median of %d alternating rounds\n", count,
                rounds);
    std::printf("  tessaly-cli list --json (process included): %8.1f ms\n", a);
    std::printf("  TagLib reader, in process:                  %8.1f ms\n", b);
    std::printf("  ratio ours/TagLib: %.2f   (target <= 1.0; checksum %ld)\n", a / b, checksum);
    bench::RemoveFolder(scratch);
    return 0;
}
