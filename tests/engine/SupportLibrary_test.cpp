#include "engine/SupportLibrary.h"

#include "engine/FileIO.h"
#include "engine/MPEGInfo.h"

#include "support/MPEGBuilders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tessaly;
using testsupport::Bytes;
using testsupport::RecordingHost;
using testsupport::XingFrame;

namespace {

// Points the binding at `path` (nothing: the normal search) for one test.
class LibraryAt {
public:
    explicit LibraryAt(const char* path) {
        if (path)
            setenv(SupportLibraryVariable, path, 1);
        else
            unsetenv(SupportLibraryVariable);
        ResetSupportLibraryForTesting();
    }
    ~LibraryAt() {
        unsetenv(SupportLibraryVariable);
        ResetSupportLibraryForTesting();
    }
};

const std::string XingHeader = Bytes({0xFF, 0xFB, 0x90, 0x44});

}  // namespace

TEST(SupportLibrary, FoundBesideTheProgram) {
    LibraryAt normal(nullptr);
    RecordingHost host;
    EXPECT_TRUE(SupportLibraryAvailable());
    EXPECT_TRUE(HasXingHeader(XingFrame(XingHeader)));
    EXPECT_FALSE(HasXingHeader(testsupport::PlainFrame(XingHeader)));
    // Short input is padded: a header cut right after its tag is still seen,
    // and nothing is read past what was given.
    EXPECT_TRUE(HasXingHeader(XingFrame(XingHeader).substr(0, 40)));
    EXPECT_FALSE(HasXingHeader(XingFrame(XingHeader).substr(0, 39)));
    EXPECT_FALSE(HasXingHeader(""));
    EXPECT_EQ(LoWord(static_cast<int32_t>(0xABCD1234u)), 0x1234);
    EXPECT_EQ(MakeDWORD(2, 0x10003), 0x30003);
    EXPECT_TRUE(host.messages.empty());
}

TEST(SupportLibrary, MissingLibraryIsReportedOnceAndVBRIsFalse) {
    testsupport::TempDir dir;
    const std::string missing = dir.File("nowhere/libtessaly.so");
    LibraryAt nowhere(missing.c_str());
    RecordingHost host;

    const std::string path = dir.File("vbr.mp3");
    testsupport::WriteBytes(path, XingFrame(XingHeader) + testsupport::PlainFrame(XingHeader));
    for (int i = 0; i < 3; ++i) {
        FileHandle file(path, "r");
        const MPEGData m = ReadMPEGInfo(file.Get(), ID3v2Data{});
        EXPECT_TRUE(m.HeaderFound);
        EXPECT_FALSE(m.VBR);
        // Nor is its frame count read: the time comes from the bytes.
        EXPECT_EQ(m.Duration, 0);
        EXPECT_EQ(m.Bitrate, 128);
    }
    EXPECT_FALSE(HasXingHeader(XingFrame(XingHeader)));
    // The word helpers keep working without it.
    EXPECT_EQ(LoWord(0x12345), 0x2345);
    EXPECT_EQ(MakeDWORD(1, 0x10000), 0x20000);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("libtessaly.so"), std::string::npos)
        << host.messages[0].text;
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::OK);
}

TEST(SupportLibrary, LibraryWithoutTheFunctionsCountsAsMissing) {
    // Any other shared library: it loads, but has none of the functions.
    LibraryAt other("libm.so.6");
    RecordingHost host;
    EXPECT_FALSE(HasXingHeader(XingFrame(XingHeader)));
    EXPECT_FALSE(SupportLibraryAvailable());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("getxingheader"), std::string::npos);
}

TEST(SupportLibrary, ExplicitPathIsUsed) {
    const std::string path = testsupport::BinaryDir() + "/libtessaly.so";
    LibraryAt exact(path.c_str());
    RecordingHost host;
    EXPECT_TRUE(HasXingHeader(XingFrame(XingHeader)));
    EXPECT_TRUE(host.messages.empty());
}
