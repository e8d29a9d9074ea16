// The whole read of a file, as the file list and the editor do it.
#include "FuzzFile.h"

#include "engine/ReadAudioFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteInput(data, size);
    tessaly::AudioFileData record = tessaly::ReadAudioFile(fuzz::WorkFile());
    if (record.MPEG.FileSize != static_cast<int32_t>(size)) __builtin_trap();
    return 0;
}
