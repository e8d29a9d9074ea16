// Updates real files made by lame and tagged by mutagen and eyeD3, then checks
// with those tools (and ffmpeg) that nothing but the edited field changed.
#include "engine/UpdateAudioFile.h"

#include "engine/ReadAudioFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaly;
using testsupport::Python;
using testsupport::ReadBytes;

using testsupport::ShellQuote;

namespace {

// Tags the file with mutagen in `version` (3 or 4): a title, a cover picture (a real PNG, so decoders accept it),
// a user text frame with a character outside Latin-1, lyrics.
const char* TagScript = R"PY(
import struct, sys, zlib
from mutagen.id3 import ID3, TIT2, TPE1, APIC, TXXX, USLT
path, version = sys.argv[1], int(sys.argv[2])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes((x * 4 + y) % 256 for x in range(64 * 3)) for y in range(64))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 64, 64, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
tags = ID3()
enc = 3 if version == 4 else 1
tags.add(TIT2(encoding=enc, text="Old title"))
tags.add(TPE1(encoding=enc, text="Artist"))
tags.add(APIC(encoding=enc, mime="image/png", type=3, desc="Cover", data=png))
tags.add(TXXX(encoding=enc, desc="MOOD", text="calm \u263a"))
tags.add(USLT(encoding=enc, lang="eng", desc="", text="la la la"))
tags.save(path, v2_version=version)
)PY";

// Prints what the update must keep, one item per line.
const char* DumpScript = R"PY(
import sys, hashlib
from mutagen.id3 import ID3
t = ID3(sys.argv[1], translate=False)
print("version", t.version[1])
print("TIT2", t["TIT2"].text[0])
print("TPE1", t["TPE1"].text[0])
apic = t.getall("APIC")[0]
print("APIC", apic.mime, apic.type, apic.desc, hashlib.sha1(apic.data).hexdigest())
print("TXXX", t["TXXX:MOOD"].text[0])
print("USLT", t.getall("USLT")[0].text)
)PY";

std::string Mutagen(const char* script, const std::string& args, int* status = nullptr) {
    std::string out;
    int rc = testsupport::Run(Python() + " -c " + ShellQuote(script) + " " + args, &out);
    if (status) *status = rc;
    return out;
}

class UpdateInteropTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"lame", "ffmpeg", "eyeD3"})
            if (!testsupport::HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
        if (testsupport::Run(Python() + " -c 'import mutagen'") != 0) GTEST_SKIP() << "no python3-mutagen";
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.Path());
        ASSERT_EQ(testsupport::Run("ffmpeg -v error -f lavfi -i sine=frequency=440:duration=3 -ac 2 " +
                      ShellQuote(dir_.File("a.wav"))),
                  0);
        ASSERT_EQ(testsupport::Run("lame --quiet -b 128 " + ShellQuote(dir_.File("a.wav")) + " " +
                      ShellQuote(Path())),
                  0);
    }
    void TearDown() override {
        if (!previous_.empty()) std::filesystem::current_path(previous_);
    }

    std::string Path() const { return dir_.File("song.mp3"); }

    // The audio frames: from the first frame header to the trailer.
    std::string AudioOf(const std::string& path) {
        AudioFileData data = ReadAudioFile(path);
        EXPECT_TRUE(data.MPEG.HeaderFound);
        std::string bytes = ReadBytes(path);
        size_t end = bytes.size() - (data.ID3v1.Present ? 128 : 0);
        return bytes.substr(data.MPEG.HeaderPosition, end - data.MPEG.HeaderPosition);
    }

    void ExpectDecodesCleanly() {
        std::string out;
        EXPECT_EQ(testsupport::Run("ffmpeg -v error -i " + ShellQuote(Path()) + " -f null -", &out), 0);
        EXPECT_EQ(out, "");
    }

    testsupport::TempDir dir_;
    std::filesystem::path previous_;
};

}  // namespace

TEST_F(UpdateInteropTest, MutagenFramesSurviveATitleEditInBothVersions) {
    for (int version : {3, 4}) {
        SCOPED_TRACE("ID3v2." + std::to_string(version));
        ASSERT_EQ(testsupport::Run("lame --quiet -b 128 " + ShellQuote(dir_.File("a.wav")) + " " +
                      ShellQuote(Path())),
                  0);
        int status = 0;
        Mutagen(TagScript, ShellQuote(Path()) + " " + std::to_string(version), &status);
        ASSERT_EQ(status, 0);
        const std::string before = Mutagen(DumpScript, ShellQuote(Path()));
        const std::string audio = AudioOf(Path());

        AudioFileData record = ReadAudioFile(Path());
        ASSERT_EQ(record.ID3v2.Title, "Old title");
        record.ID3v2.Title = "New title";
        ASSERT_TRUE(UpdateAudioFile(Path(), record));

        std::string expected = before;
        expected.replace(expected.find("version " + std::to_string(version)), 9, "version 3");
        expected.replace(expected.find("Old title"), 9, "New title");
        EXPECT_EQ(Mutagen(DumpScript, ShellQuote(Path())), expected);
        EXPECT_TRUE(AudioOf(Path()) == audio) << "the audio frames changed";
        ExpectDecodesCleanly();
    }
}

TEST_F(UpdateInteropTest, EyeD3TagsAreReadAndRewrittenWithoutHarm) {
    ASSERT_EQ(testsupport::Run("eyeD3 --quiet --no-color -t 'Eye title' -a 'Eye artist' -A 'Eye album' -n 4 "
                  "--recording-date 1999 --add-comment 'Hello' " +
                      ShellQuote(Path())),
              0);
    const std::string audio = AudioOf(Path());
    AudioFileData record = ReadAudioFile(Path());
    EXPECT_EQ(record.ID3v2.Title, "Eye title");
    EXPECT_EQ(record.ID3v2.Artist, "Eye artist");
    EXPECT_EQ(record.ID3v2.Album, "Eye album");
    EXPECT_EQ(record.ID3v2.Track, "04");
    EXPECT_EQ(record.ID3v2.Year, "1999");
    EXPECT_EQ(record.ID3v2.Comment, "Hello");

    record.ID3v2.Album = std::string(600, 'L');  // outgrows the room: a rewrite
    record.ID3v1.Present = true;
    record.ID3v1.Title = "v1 title";
    ASSERT_TRUE(UpdateAudioFile(Path(), record));
    std::string out;
    ASSERT_EQ(testsupport::Run(Python() + " -c " +
                      ShellQuote("import sys\nfrom mutagen.id3 import ID3\nt=ID3(sys.argv[1], translate=False)\n"
                                 "print(t.version, t['TIT2'].text[0], len(t['TALB'].text[0]), "
                                 "t['TRCK'].text[0], t['TYER'].text[0])") +
                      " " + ShellQuote(Path()),
                  &out),
              0);
    EXPECT_EQ(out, "(2, 3, 0) Eye title 600 04 1999\n");
    EXPECT_TRUE(AudioOf(Path()) == audio) << "the audio frames changed";
    EXPECT_EQ(ReadAudioFile(Path()).ID3v1.Title, "v1 title");
    ExpectDecodesCleanly();
}
