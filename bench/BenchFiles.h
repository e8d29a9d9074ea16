// Generated test folders for the benchmarks: tagged MP3 files whose tags and
// stream look like what encoders and taggers write, the same files for every
// reader measured.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace bench {

// Writes `count` MP3 files into `folder` (created if needed): an ID3v2.3 tag
// with the common text frames, a comment and padding; `frames` MPEG-1 Layer III
// frames at 128 kbit/s; an ID3v1 trailer. Returns their paths.
std::vector<std::string> MakeTaggedMP3Folder(const std::string& folder, int count, int frames);

// A fresh folder below the system's temporary folder.
std::string MakeScratchFolder(const std::string& name);
void RemoveFolder(const std::string& folder);

// Microseconds spent in `work` per item, for `items` items.
template <typename Work>
double MicrosPerItem(int items, Work&& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::micro>(elapsed).count() / items;
}

double Median(std::vector<double> values);

// Runs `args` with its output thrown away; the wall time in seconds, or a
// negative value when it did not run or failed.
double TimedRun(const std::vector<std::string>& args);

// Empties the page cache (as root); false when that is not permitted here.
bool DropPageCache();

}  // namespace bench
