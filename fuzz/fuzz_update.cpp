// An edit written back into arbitrary bytes: the old tag's frames are carried
// over, the file is rewritten or changed in place. Whatever the input, the
// update must finish, and the audio it found must come through unchanged.
#include "FuzzFile.h"

#include "engine/FileIO.h"
#include "engine/ReadAudioFile.h"
#include "engine/UpdateAudioFile.h"

#include <string>

namespace {

std::string Slurp(const std::string& path) {
    std::string bytes;
    tessaly::FileHandle file(path, "r");
    if (file.IsOpen()) bytes = tessaly::FileRead(file.Get(), tessaly::FileLength(file.Get()));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteInput(data, size);
    const std::string& path = fuzz::WorkFile();
    tessaly::AudioFileData record = tessaly::ReadAudioFile(path);
    if (record.ID3v2.IsASF) return 0;
    const std::string before(reinterpret_cast<const char*>(data), size);
    const bool hadFrame = record.MPEG.HeaderFound;
    const int32_t audioStart = record.MPEG.HeaderPosition;
    const int32_t audioEnd = static_cast<int32_t>(size) - (record.ID3v1.Present ? 128 : 0);

    record.ID3v2.Present = true;
    record.ID3v2.Title += "edited";
    record.ID3v1.Present = !record.ID3v1.Present;
    if (!tessaly::UpdateAudioFile(path, record)) return 0;

    tessaly::AudioFileData after = tessaly::ReadAudioFile(path);
    if (after.ID3v2.Title != record.ID3v2.Title || !after.ID3v2.Present) __builtin_trap();
    if (hadFrame && audioEnd > audioStart) {
        const std::string audio = before.substr(audioStart, audioEnd - audioStart);
        if (Slurp(path).find(audio) == std::string::npos) __builtin_trap();
    }
    return 0;
}
