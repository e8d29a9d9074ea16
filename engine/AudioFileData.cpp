#include "AudioFileData.h"

namespace tessaly {

AudioFileData CurrentFile;

void ClearCurrentFile() { CurrentFile = AudioFileData{}; }

bool SameMPEGData(const MPEGData& a, const MPEGData& b) {
    return a.Version == b.Version && a.Layer == b.Layer && a.Bitrate == b.Bitrate &&
           a.SampleRate == b.SampleRate && a.Mode == b.Mode && a.CRC == b.CRC &&
           a.Copyrighted == b.Copyrighted && a.Original == b.Original &&
           a.Private == b.Private && a.Emphasis == b.Emphasis && a.VBR == b.VBR;
}

}  // namespace tessaly
