// Files for the editor's tests: small MP3 files built from bytes, a Windows
// Media header, and an MP3 encoded by lame (made once per test program).
#pragma once

#include "support/ID3Builders.h"
#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <memory>
#include <string>

namespace editortest {

namespace id3 = testsupport::id3;

// Twenty MPEG-1 Layer III frames at 128 kbit/s, 44.1 kHz.
inline std::string Audio() {
    std::string audio;
    for (int i = 0; i < 20; ++i)
        audio += testsupport::PlainFrame(testsupport::Bytes({0xFF, 0xFB, 0x90, 0x44}));
    return audio;
}

// An ID3v2.3 tag with `frames` (and room to spare), the audio, and `trailer`.
inline std::string MP3(const std::string& frames, const std::string& trailer = "") {
    return id3::Tag(3, frames, {.padding = 200}) + Audio() + trailer;
}

inline std::string Text(const char* id, const std::string& text) {
    return id3::TextFrame(3, id, text);
}

// A Windows Media header whose content description holds title, author,
// copyright, description and rating.
inline std::string WMA(const std::string& title, const std::string& author,
                       const std::string& rating) {
    using namespace testsupport;
    return AsfHeader({ContentDescription(
               {Utf16(title), Utf16(author), Utf16("(c)"), Utf16("desc"), Utf16(rating)})}) +
           std::string(64, '\0');
}

// The bytes of a short MP3 that lame encoded from a generated tone, with
// lame's own ID3v1 and ID3v2 tags (title "Lame Title", artist "Lame
// Artist"). Empty when lame is not installed.
inline const std::string& LameMP3() {
    static const std::string bytes = [] {
        if (!testsupport::HaveTool("lame")) return std::string();
        testsupport::TempDir dir;
        // A 16-bit mono WAV of a quarter second of a square wave.
        std::string samples;
        for (int i = 0; i < 11025; ++i) samples += testsupport::LE16(i / 50 % 2 ? 8000 : 0xE0C0);
        const std::string wav = "RIFF" + testsupport::LE32(36 + samples.size()) + "WAVEfmt " +
                                testsupport::LE32(16) + testsupport::LE16(1) +
                                testsupport::LE16(1) + testsupport::LE32(44100) +
                                testsupport::LE32(88200) + testsupport::LE16(2) +
                                testsupport::LE16(16) + "data" +
                                testsupport::LE32(samples.size()) + samples;
        testsupport::WriteBytes(dir.File("in.wav"), wav);
        const std::string command =
            "lame --silent -b 64 --add-id3v2 --tt 'Lame Title' --ta 'Lame Artist' --tl Album "
            "--ty 2001 --tn 4 " +
            testsupport::ShellQuote(dir.File("in.wav")) + " " +
            testsupport::ShellQuote(dir.File("out.mp3"));
        if (testsupport::Run(command) != 0) return std::string();
        return testsupport::ReadBytes(dir.File("out.mp3"));
    }();
    return bytes;
}

}  // namespace editortest
