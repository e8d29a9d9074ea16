// The command line at library scale, process start included:
// - `set` on one file in a folder of 1 file and in a folder of 20,000;
// - `info --json -r` over 20,000 files against the TagLib reader of the read
//   benchmark and against the engine's own read in process (warm cache);
// - the same over a generated tree of 1,000 folders of 100 files with the page
//   cache dropped before each run (as root only; say so and skip otherwise).
// TESSALY_BENCH_TREE_FILES sets the tree's size (0 skips it).
#include "BenchFiles.h"

#include "engine/ReadAudioFile.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int Rounds = 7;

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".mp3")
            files.push_back(entry.path().string());
    return files;
}

long TagLibRead(const std::string& folder) {
    long checksum = 0;
    for (const std::string& path : FilesBelow(folder)) {
        TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
        checksum += static_cast<long>(file.tag()->title().size()) +
                    (file.audioProperties() ? file.audioProperties()->bitrate() : 0);
    }
    return checksum;
}

long EngineRead(const std::string& folder) {
    long checksum = 0;
    for (const std::string& path : FilesBelow(folder)) {
        const tessaly::AudioFileData data = tessaly::ReadAudioFile(path);
        checksum += static_cast<long>(data.ID3v2.Title.size()) + data.MPEG.Bitrate;
    }
    return checksum;
}

double Seconds(auto&& work) { return bench::MicrosPerItem(1, work) / 1e6; }

// CPU seconds (user + system) of this process, or of its ended children.
double CpuSeconds(int who) {
    rusage usage {};
    ::getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void SetInFolders(const std::string& cli, const std::string& scratch) {
    const std::string one = scratch + "/one", many = scratch + "/many";
    bench::MakeTaggedMP3Folder(one, 1, 120);
    bench::MakeTaggedMP3Folder(many, 20000, 8);
    ::sync();  // the new files' writeback must not land in an update's flush
    const std::string settings = scratch + "/none.reg";
    std::vector<double> alone, crowded;
    for (int r = 0; r < Rounds; ++r) {
        const std::string comment = "round " + std::to_string(r);
        alone.push_back(bench::TimedRun({cli, "--settings", settings, "set", "--comment", comment,
                                         one + "/1.mp3"}) * 1000);
        crowded.push_back(bench::TimedRun({cli, "--settings", settings, "set", "--comment",
                                           comment, many + "/1.mp3"}) * 1000);
    }
    const double a = bench::Median(alone), b = bench::Median(crowded);
    std::printf("set on one file, median of %d rounds\n", Rounds);
    std::printf("  in a folder of 1 file:       %8.1f ms\n", a);
    std::printf("  in a folder of 20,000 files: %8.1f ms\n", b);
    std::printf("  ratio 20,000/1: %.2f   (target <= 1.2)\n", b / a);
}

void InfoWarm(const std::string& cli, const std::string& scratch) {
    const std::string folder = scratch + "/many";
    const std::vector<std::string> command{cli, "--settings", scratch + "/none.reg", "info",
                                           "--json", "-r", folder};
    long checksum = TagLibRead(folder) + EngineRead(folder);  // warms the cache
    std::vector<double> ours, taglib, engine, oursCpu, engineCpu;
    for (int r = 0; r < Rounds; ++r) {
        const double children = CpuSeconds(RUSAGE_CHILDREN);
        ours.push_back(bench::TimedRun(command));
        oursCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - children);
        taglib.push_back(Seconds([&] { checksum += TagLibRead(folder); }));
        const double self = CpuSeconds(RUSAGE_SELF);
        engine.push_back(Seconds([&] { checksum += EngineRead(folder); }));
        engineCpu.push_back(CpuSeconds(RUSAGE_SELF) - self);
    }
    const double a = bench::Median(ours), b = bench::Median(taglib), c = bench::Median(engine);
    const double ac = bench::Median(oursCpu), cc = bench::Median(engineCpu);
    std::printf("info --json -r over 20,000 files, warm cache, median of %d rounds\n", Rounds);
    std::printf("  tessaly-cli (process included): %8.3f s  %6.1f us/file\n", a, a / 20000 * 1e6);
    std::printf("  TagLib reader, in process:      %8.3f s\n", b);
    std::printf("  ReadAudioFile, in process:      %8.3f s  %6.1f us/file\n", c, c / 20000 * 1e6);
    std::printf("  ratio ours/TagLib: %.2f (target <= 0.35)   ours/in-process read: %.2f "
                "(target <= 1.3)   (checksum %ld)\n",
                a / b, a / c, checksum);
    std::printf("  CPU time (user + system): tessaly-cli %.3f s, in-process read %.3f s, ratio "
                "%.2f\n",
                ac, cc, ac / cc);
}

void InfoCold(const std::string& cli, const std::string& scratch) {
    const char* sized = std::getenv("TESSALY_BENCH_TREE_FILES");
    const int files = sized ? std::atoi(sized) : 100000;
    if (files <= 0) {
        std::printf("cold tree: skipped (TESSALY_BENCH_TREE_FILES=0)\n");
        return;
    }
    if (!bench::DropPageCache()) {
        std::printf("cold tree: skipped, the page cache can only be dropped as root\n");
        return;
    }
    const std::string tree = scratch + "/tree";
    const int folders = (files + 99) / 100;
    for (int f = 0; f < folders; ++f)
        bench::MakeTaggedMP3Folder(tree + "/" + std::to_string(f), std::min(100, files - f * 100),
                                   8);
    const std::vector<std::string> command{cli, "--settings", scratch + "/none.reg", "info",
                                           "--json", "-r", tree};
    long checksum = 0;
    std::vector<double> ours, taglib;
    for (int r = 0; r < 3; ++r) {
        bench::DropPageCache();
        ours.push_back(bench::TimedRun(command));
        bench::DropPageCache();
        taglib.push_back(Seconds([&] { checksum += TagLibRead(tree); }));
    }
    const double a = bench::Median(ours), b = bench::Median(taglib);
    std::printf("info --json -r over %d files in %d folders, page cache dropped before each "
                "run, median of 3\n", files, folders);
    std::printf("  tessaly-cli (process included): %8.2f s\n", a);
    std::printf("  TagLib reader, in process:      %8.2f s\n", b);
    std::printf("  ratio ours/TagLib: %.2f   (target <= 0.35; checksum %ld)\n", a / b, checksum);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli =
        argc > 1 ? argv[1] : (fs::path(argv[0]).parent_path() / "tessaly-cli").string();
    const std::string scratch = bench::MakeScratchFolder("tessaly-bench-cli");
    SetInFolders(cli, scratch);
    InfoWarm(cli, scratch);
    InfoCold(cli, scratch);
    bench::RemoveFolder(scratch);
    return 0;
}
