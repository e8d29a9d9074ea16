// The update's two paths against peers measured in the same run:
// (a) an in-place title edit of 500 tagged files, ours (read + update, flushed)
//     against TagLib saving an ID3v2.3 tag, plain and followed by an fsync,
//     alternating rounds on the same files;
// (b) the rewrite of one 200 MB MP3 by `tessaly-cli set` against `cp` of the
//     same file (plain, and flushed to the disk as the update does), with the
//     update's peak memory.
#include "BenchFiles.h"

#include "engine/ReadAudioFile.h"
#include "engine/UpdateAudioFile.h"

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct ChildRun {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// Runs a program and measures its wall time and peak resident memory.
ChildRun RunChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ChildRun run;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return run;
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void InPlaceBenchmark(const std::string& folder, int count, int rounds) {
    const auto paths = bench::MakeTaggedMP3Folder(folder + "/inplace", count, 40);
    std::vector<double> ours, taglib, taglibSynced;
    for (int r = 0; r < rounds; ++r) {
        const std::string title = "Edited title " + std::to_string(r);
        ours.push_back(bench::MicrosPerItem(count, [&] {
            for (const auto& path : paths) {
                tessaly::AudioFileData record = tessaly::ReadAudioFile(path);
                record.ID3v2.Title = title + "a";
                tessaly::UpdateAudioFile(path, record);
            }
        }));
        taglib.push_back(bench::MicrosPerItem(count, [&] {
            for (const auto& path : paths) {
                TagLib::MPEG::File file(path.c_str(), false);
                file.ID3v2Tag(true)->setTitle(title + "b");
                file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone,
                          TagLib::ID3v2::v3);
            }
        }));
        // The update flushes the file before it reports success; TagLib's
        // save followed by the same flush is the peer of equal safety.
        taglibSynced.push_back(bench::MicrosPerItem(count, [&] {
            for (const auto& path : paths) {
                {
                    TagLib::MPEG::File file(path.c_str(), false);
                    file.ID3v2Tag(true)->setTitle(title + "c");
                    file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone,
                              TagLib::ID3v2::v3);
                }
                int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
                ::fsync(fd);
                ::close(fd);
            }
        }));
    }
    const double a = bench::Median(ours), b = bench::Median(taglib),
                 c = bench::Median(taglibSynced);
    std::printf("(a) in-place title edit of %d files, median of %d alternating rounds\n", count,
                rounds);
    std::printf("  ReadAudioFile + UpdateAudioFile: %8.1f us/file\n", a);
    std::printf("  TagLib save as ID3v2.3:          %8.1f us/file\n", b);
    std::printf("  TagLib save, then fsync:         %8.1f us/file\n", c);
    std::printf("  ratio ours/TagLib: %.2f   ratio ours/(TagLib + fsync): %.2f\n", a / b, a / c);
}

void RewriteBenchmark(const std::string& folder, const std::string& cli, int megabytes,
                      int rounds) {
    const std::string big = folder + "/big.mp3";
    bench::MakeTaggedMP3Folder(folder + "/seed", 1, 1);
    {
        // A small tag, then megabytes of frames written in pieces.
        std::ofstream out(big, std::ios::binary);
        std::ifstream seed(folder + "/seed/1.mp3", std::ios::binary);
        std::string head((std::istreambuf_iterator<char>(seed)), {});
        head.resize(head.size() - 128);  // no trailer: the frames follow directly
        out << head;
        std::string frame("\xFF\xFB\x90\x44", 4);
        frame.resize(417, '\x55');
        std::string block;
        while (block.size() < (1u << 20)) block += frame;
        for (int i = 0; i < megabytes; ++i) out.write(block.data(), static_cast<long>(block.size()));
    }
    const auto size = std::filesystem::file_size(big);
    std::vector<double> ours, copy, copySynced;
    long peak = 0;
    for (int r = 0; r < rounds; ++r) {
        // A title longer than the room left by the previous round: always a rewrite.
        ChildRun run = RunChild({cli, "set", "--v2", "--title",
                                 std::string(static_cast<size_t>(2000 * (r + 1)), 't'), big});
        if (run.status != 0) std::printf("  (tessaly-cli set exited with %d)\n", run.status);
        ours.push_back(run.seconds);
        peak = std::max(peak, run.peakKiB);
        ChildRun cp = RunChild({"cp", big, folder + "/copy.mp3"});
        copy.push_back(cp.seconds);
        std::filesystem::remove(folder + "/copy.mp3");
        // The update flushes its new file to the disk before the swap; a copy
        // that does the same is the peer of equal safety.
        ChildRun durable = RunChild({"sh", "-c", "cp \"$0\" \"$1\" && sync \"$1\"", big,
                                     folder + "/copy.mp3"});
        copySynced.push_back(durable.seconds);
        std::filesystem::remove(folder + "/copy.mp3");
    }
    const double a = bench::Median(ours), b = bench::Median(copy),
                 c = bench::Median(copySynced);
    std::printf("(b) rewrite of a %.0f MB MP3, median of %d alternating rounds\n",
                static_cast<double>(size) / 1e6, rounds);
    std::printf("  tessaly-cli set (rewrite): %6.3f s, peak memory %.1f MiB\n", a,
                static_cast<double>(peak) / 1024);
    std::printf("  cp:                        %6.3f s\n", b);
    std::printf("  cp, then sync of the copy: %6.3f s\n", c);
    std::printf("  ratio ours/cp: %.2f   ratio ours/(cp + sync): %.2f\n", a / b, a / c);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : "tessaly-cli";
    const std::string folder = bench::MakeScratchFolder("tessaly-bench-update");
    std::filesystem::current_path(folder);  // the update's DEBUG.LOG lands here
    InPlaceBenchmark(folder, 500, 7);
    RewriteBenchmark(folder, cli, 200, 5);
    std::filesystem::current_path("/");
    bench::RemoveFolder(folder);
    return 0;
}
