// Files tagged by other programs (python3-mutagen, eyeD3), made at test time,
// read back with the engine's readers.
#include "engine/FileIO.h"
#include "engine/id3tag/ID3v1.h"
#include "engine/id3tag/ID3v2Reader.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace tessaly;
using testsupport::Python;

using testsupport::ShellQuote;
using testsupport::TempDir;

namespace {

// Half a second of mono MPEG audio, or a few fake frames when lame is absent
// (mutagen tags any file; eyeD3 tests need the real thing).
const char* const AudioScript = R"(
import math, struct, sys, wave
w = wave.open(sys.argv[1], "wb")
w.setnchannels(1); w.setsampwidth(2); w.setframerate(44100)
w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(i * 0.05))) for i in range(22050)))
)";

const char* const MutagenScript = R"(
import sys
from mutagen.id3 import (ID3, APIC, COMM, TALB, TCOM, TCON, TCOP, TDRC, TENC, TIT2, TOPE,
                         TPE1, TRCK, TXXX, WXXX)
path, kind = sys.argv[1], sys.argv[2]
tags = ID3()
def fields(enc, title, artist, comment):
    tags.add(TIT2(encoding=enc, text=title))
    tags.add(TPE1(encoding=enc, text=artist))
    tags.add(TALB(encoding=enc, text="Album"))
    tags.add(TRCK(encoding=enc, text="3/12"))
    tags.add(TDRC(encoding=enc, text="1999"))
    tags.add(TCON(encoding=enc, text="Rock"))
    tags.add(COMM(encoding=enc, lang="eng", desc="d\u00e9sc", text="described"))
    tags.add(COMM(encoding=enc, lang="eng", desc="", text=comment))
    tags.add(TCOM(encoding=enc, text="Composer"))
    tags.add(TOPE(encoding=enc, text="Original"))
    tags.add(TCOP(encoding=enc, text="2001 Label"))
    tags.add(TENC(encoding=enc, text="Encoder"))
    tags.add(WXXX(encoding=enc, desc="home page", url="http://example.org/"))
    tags.add(WXXX(encoding=enc, desc="", url="http://example.com/"))
    tags.add(APIC(encoding=enc, mime="image/png", type=3, desc="cover",
                  data=bytes(range(256)) * 12))
if kind == "v23latin1":
    fields(0, "Caf\u00e9 Title", "Artist", "Comment \u00e9")
    tags.save(path, v2_version=3, v1=2)
elif kind == "v23utf16":
    fields(1, "\u0141\u00f3d\u017a", "Artist \U0001F641", "Comment \u00e9")
    tags.save(path, v2_version=3, v1=0)
elif kind == "v24utf8":
    fields(3, "T" * 150 + "\u00e9", "Artist", "c" * 300)
    tags.add(TXXX(encoding=3, desc="note", text="x" * 200))
    tags.save(path, v2_version=4, v1=0)
)";

std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

class ID3Interop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        audio_ = dir_->File("audio.mp3");
        const std::string wav = dir_->File("audio.wav");
        const std::string script = dir_->File("audio.py");
        testsupport::WriteBytes(script, AudioScript);
        realAudio_ =
            testsupport::HaveTool("lame") &&
            testsupport::Run(Python() + " " + ShellQuote(script) + " " + ShellQuote(wav)) == 0 &&
            testsupport::Run("lame --quiet " + ShellQuote(wav) + " " + ShellQuote(audio_)) == 0;
        if (!realAudio_) {
            std::string frames;
            for (int i = 0; i < 20; ++i)
                frames += testsupport::Hex("FF FB 90 44") + std::string(413, '\0');
            testsupport::WriteBytes(audio_, frames);
        }
        testsupport::WriteBytes(dir_->File("tag.py"), MutagenScript);
        haveMutagen_ = testsupport::Run(Python() + " -c 'import mutagen'") == 0;
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // A copy of the audio named `name`.
    static std::string Copy(const std::string& name) {
        const std::string path = dir_->File(name);
        std::filesystem::copy_file(audio_, path, std::filesystem::copy_options::overwrite_existing);
        return path;
    }

    static std::string Mutagen(const std::string& kind) {
        const std::string path = Copy(kind + ".mp3");
        std::string output;
        const int status = testsupport::Run(
            Python() + " " + ShellQuote(dir_->File("tag.py")) + " " + ShellQuote(path) + " " + kind,
            &output);
        EXPECT_EQ(status, 0) << output;
        return path;
    }

    static std::string EyeD3(const std::string& name, const std::string& arguments) {
        const std::string path = Copy(name);
        std::string output;
        const int status =
            testsupport::Run("eyeD3 --no-config -Q " + arguments + " " + ShellQuote(path), &output);
        EXPECT_EQ(status, 0) << output;
        return path;
    }

    static ID3v2Data V2(const std::string& path) {
        FileHandle file(path, "r");
        EXPECT_TRUE(file.IsOpen());
        return ReadID3v2(file.Get());
    }
    static ID3v1Data V1(const std::string& path) {
        FileHandle file(path, "r");
        EXPECT_TRUE(file.IsOpen());
        return ReadID3v1(file.Get());
    }

    static inline std::unique_ptr<TempDir> dir_;
    static inline std::string audio_;
    static inline bool realAudio_ = false;
    static inline bool haveMutagen_ = false;
};

#define REQUIRE_MUTAGEN() \
    if (!haveMutagen_) GTEST_SKIP() << "python3-mutagen is not installed for " << Python()
#define REQUIRE_EYED3()                                                            \
    if (!testsupport::HaveTool("eyeD3")) GTEST_SKIP() << "eyeD3 is not installed"; \
    if (!realAudio_) GTEST_SKIP() << "lame is not installed (eyeD3 needs real audio)"

void ExpectMutagenFields(const ID3v2Data& data) {
    EXPECT_TRUE(data.Present);
    EXPECT_EQ(data.Album, "Album");
    EXPECT_EQ(data.Track, "3/12");
    EXPECT_EQ(data.Year, "1999");
    EXPECT_EQ(data.Genre, "Rock");
    EXPECT_EQ(data.Composer, "Composer");
    EXPECT_EQ(data.OriginalArtist, "Original");
    EXPECT_EQ(data.Copyright, "2001 Label");
    EXPECT_EQ(data.EncodedBy, "Encoder");
    EXPECT_EQ(data.URL, "http://example.com/");
}

}  // namespace

TEST_F(ID3Interop, MutagenV23Latin1WithID3v1) {
    REQUIRE_MUTAGEN();
    const std::string path = Mutagen("v23latin1");
    const ID3v2Data data = V2(path);
    EXPECT_EQ(data.MajorVersion, 3);
    EXPECT_EQ(data.Title, "Café Title");
    EXPECT_EQ(data.Artist, "Artist");
    EXPECT_EQ(data.Comment, "Comment é");
    ExpectMutagenFields(data);

    const ID3v1Data v1 = V1(path);
    EXPECT_TRUE(v1.Present);
    EXPECT_EQ(UpToNul(v1.Title), "Café Title");
    EXPECT_EQ(UpToNul(v1.Artist), "Artist");
    EXPECT_EQ(UpToNul(v1.Album), "Album");
    EXPECT_EQ(v1.Year, "1999");
    EXPECT_EQ(v1.Track, "3");
    EXPECT_EQ(v1.Genre, "Rock");
}

TEST_F(ID3Interop, MutagenV23UTF16) {
    REQUIRE_MUTAGEN();
    const ID3v2Data data = V2(Mutagen("v23utf16"));
    EXPECT_EQ(data.MajorVersion, 3);
    EXPECT_EQ(data.Title, "Łódź");
    EXPECT_EQ(data.Artist, "Artist \xF0\x9F\x99\x81");
    EXPECT_EQ(data.Comment, "Comment é");
    ExpectMutagenFields(data);
    EXPECT_FALSE(V1(dir_->File("v23utf16.mp3")).Present);
}

// Synchsafe sizes above 127 (a long title, comment and picture) and the year
// in TDRC.
TEST_F(ID3Interop, MutagenV24UTF8WithLongFramesAndPicture) {
    REQUIRE_MUTAGEN();
    const ID3v2Data data = V2(Mutagen("v24utf8"));
    EXPECT_EQ(data.MajorVersion, 4);
    EXPECT_EQ(data.Title, std::string(150, 'T') + "é");
    EXPECT_EQ(data.Artist, "Artist");
    EXPECT_EQ(data.Comment, std::string(300, 'c'));
    ExpectMutagenFields(data);
}

TEST_F(ID3Interop, EyeD3V24UTF16BigEndian) {
    REQUIRE_EYED3();
    const ID3v2Data data = V2(
        EyeD3("eyed3-24.mp3",
              "--encoding utf16-be -a '\xC3\x85rtist \xC5\x81' -t Title -A Album -n 5 -N 9 -G Rock "
              "--recording-date 2001-02-03 -c 'A comment' --composer Comp --orig-artist Orig "
              "--text-frame 'TCOP:2001 Cop' --text-frame TENC:Enc "
              "--user-url-frame ':http\\://example.com/'"));
    EXPECT_EQ(data.MajorVersion, 4);
    EXPECT_EQ(data.Artist, "Årtist Ł");
    EXPECT_EQ(data.Title, "Title");
    EXPECT_EQ(data.Album, "Album");
    EXPECT_EQ(data.Track, "05/09");
    EXPECT_EQ(data.Year, "2001");
    EXPECT_EQ(data.Genre, "Rock");
    EXPECT_EQ(data.Comment, "A comment");
    EXPECT_EQ(data.Composer, "Comp");
    EXPECT_EQ(data.OriginalArtist, "Orig");
    EXPECT_EQ(data.Copyright, "2001 Cop");
    EXPECT_EQ(data.EncodedBy, "Enc");
    EXPECT_EQ(data.URL, "http://example.com/");
}

TEST_F(ID3Interop, EyeD3V11Trailer) {
    REQUIRE_EYED3();
    const std::string path = EyeD3("eyed3-v1.mp3",
                                   "-1 -a Artist -t Title -A Album -n 5 -G Rock -Y 2001 "
                                   "-c 'A comment'");
    const ID3v1Data v1 = V1(path);
    EXPECT_TRUE(v1.Present);
    EXPECT_EQ(v1.Title, "Title" + std::string(25, '\0'));  // zero padding is kept
    EXPECT_EQ(UpToNul(v1.Artist), "Artist");
    EXPECT_EQ(UpToNul(v1.Album), "Album");
    EXPECT_EQ(v1.Year, "2001");
    EXPECT_EQ(v1.Track, "5");
    EXPECT_EQ(v1.Genre, "Rock");
    EXPECT_EQ(UpToNul(v1.Comment), "A comment");
    EXPECT_FALSE(V2(path).Present);
}
