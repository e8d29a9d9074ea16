#include "engine/FileIO.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessaly;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

}  // namespace

TEST(FileIO, ModesAreCaseInsensitiveAndUnknownModesTouchNothing) {
    TempDir dir;
    const std::string path = dir.File("a.bin");
    WriteBytes(path, "hello");

    FileHandle upper(path, "R+");
    ASSERT_TRUE(upper.IsOpen());
    EXPECT_EQ(FileWrite(upper.Get(), "J", 1), 1);
    upper.Close();
    EXPECT_EQ(ReadBytes(path), "Jello");

    EXPECT_EQ(FileOpen(path, "rb"), InvalidHandle);
    EXPECT_EQ(FileOpen(dir.File("new.bin"), "x"), InvalidHandle);
    EXPECT_FALSE(PathExists(dir.File("new.bin")));
}

TEST(FileIO, OpenModesCreateTruncateOrRequireTheFile) {
    TempDir dir;
    const std::string path = dir.File("m.bin");
    EXPECT_EQ(FileOpen(path, "r"), InvalidHandle);
    EXPECT_EQ(FileOpen(path, "r+"), InvalidHandle);

    {
        FileHandle a(path, "a");  // creates, starts at 0
        ASSERT_TRUE(a.IsOpen());
        EXPECT_EQ(FileTell(a.Get()), 0);
        FileWrite(a.Get(), "abcdef");
    }
    {
        FileHandle a(path, "a+");  // opens without truncating, position 0
        ASSERT_TRUE(a.IsOpen());
        EXPECT_EQ(FileTell(a.Get()), 0);
        EXPECT_EQ(FileRead(a.Get(), 3), "abc");
    }
    {
        FileHandle w(path, "w+");
        ASSERT_TRUE(w.IsOpen());
        EXPECT_EQ(FileLength(w.Get()), 0);
    }
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(FileIO, EveryByteValueRoundTrips) {
    TempDir dir;
    const std::string path = dir.File("bytes.bin");
    FileHandle w(path, "w+");
    ASSERT_EQ(FileWrite(w.Get(), AllBytes()), 256);
    ASSERT_TRUE(FileRewind(w.Get()));
    EXPECT_EQ(FileRead(w.Get(), 256), AllBytes());
    w.Close();
    EXPECT_EQ(ReadBytes(path), AllBytes());
}

TEST(FileIO, ReadsStopAtTheEndWithoutAllocatingWhatAHeaderClaims) {
    TempDir dir;
    const std::string path = dir.File("short.bin");
    WriteBytes(path, "0123456789");
    FileHandle h(path, "r");
    ASSERT_EQ(FileSeek(h.Get(), 7, 0), 7);
    EXPECT_EQ(FileRead(h.Get(), 100), "789");
    EXPECT_TRUE(FileAtEnd(h.Get()));
    EXPECT_EQ(FileRead(h.Get(), 1), "");
    EXPECT_EQ(FileRead(h.Get(), 0), "");
    EXPECT_EQ(FileRead(h.Get(), -5), "");
    ASSERT_EQ(FileSeek(h.Get(), 2, 0), 2);
    EXPECT_EQ(FileRead(h.Get(), INT32_MAX), "23456789");
}

TEST(FileIO, SeekOriginsAndRefusals) {
    TempDir dir;
    const std::string path = dir.File("seek.bin");
    WriteBytes(path, std::string(100, 'x'));
    FileHandle h(path, "r");
    EXPECT_EQ(FileSeek(h.Get(), -28, 2), 72);
    EXPECT_EQ(FileSeek(h.Get(), 3, 1), 75);
    EXPECT_EQ(FileSeek(h.Get(), -1, 0), -1);
    EXPECT_EQ(FileTell(h.Get()), 75);
    EXPECT_EQ(FileSeek(h.Get(), 0, 7), -1);
}

TEST(FileIO, BufferedReadsSeeWritesThroughTheSameHandle) {
    TempDir dir;
    const std::string path = dir.File("rw.bin");
    WriteBytes(path, std::string(1000, 'a'));
    FileHandle h(path, "r+");
    EXPECT_EQ(FileRead(h.Get(), 10), std::string(10, 'a'));  // fills the read-ahead
    FileSeek(h.Get(), 5, 0);
    FileWrite(h.Get(), "ZZ");
    FileSeek(h.Get(), 4, 0);
    EXPECT_EQ(FileRead(h.Get(), 4), "aZZa");
    ASSERT_TRUE(FileSetLength(h.Get(), 6));
    EXPECT_EQ(FileTell(h.Get()), 6);
    FileSeek(h.Get(), 0, 0);
    EXPECT_EQ(FileRead(h.Get(), 100), "aaaaaZ");
}

TEST(FileIO, ByteAtATimeReadsMatchOneLargeRead) {
    TempDir dir;
    const std::string path = dir.File("scan.bin");
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>((i * 7919) & 0xFF);
    WriteBytes(path, bytes);
    FileHandle h(path, "r");
    std::string again;
    while (!FileAtEnd(h.Get())) again += FileRead(h.Get(), 1);
    EXPECT_EQ(again, bytes);
}

TEST(FileIO, CopyBytesMovesTheSourceBackWhenTheTargetFails) {
    TempDir dir;
    WriteBytes(dir.File("src.bin"), "0123456789");
    WriteBytes(dir.File("ro.bin"), "");
    FileHandle source(dir.File("src.bin"), "r");
    FileHandle target(dir.File("ro.bin"), "r");  // read-only: every write fails
    FileSeek(source.Get(), 3, 0);
    EXPECT_EQ(FileCopyBytes(source.Get(), target.Get(), 4), 0);
    EXPECT_EQ(FileTell(source.Get()), 3);
    EXPECT_EQ(FileCopyBytes(source.Get(), target.Get(), 0), 0);

    FileHandle good(dir.File("dst.bin"), "w+");
    EXPECT_EQ(FileCopyBytes(source.Get(), good.Get(), 4), 4);
    EXPECT_EQ(FileCopyBytes(source.Get(), good.Get(), 100), 3);
    EXPECT_EQ(FileCopyBytes(source.Get(), good.Get(), 100), 0);  // at the end
    good.Close();
    EXPECT_EQ(ReadBytes(dir.File("dst.bin")), "3456789");
}

TEST(FileIO, FolderAndNameSplitAtTheLastSeparator) {
    EXPECT_EQ(FolderOf("/a/b.mp3"), "/a/");
    EXPECT_EQ(NameOf("/a/b.mp3"), "b.mp3");
    EXPECT_EQ(FolderOf("b.mp3"), "");
    EXPECT_EQ(NameOf("b.mp3"), "b.mp3");
    EXPECT_EQ(NameOf("/a/"), "");
}

TEST(FileIO, TempFilesAreNewOwnerOnlyAndNamedByThePrefix) {
    TempDir dir;
    std::string first = MakeTempFileName(dir.Path().string(), "");
    std::string second = MakeTempFileName(dir.Path().string() + "/", "abcdef");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(NameOf(first).substr(0, 3), "TMP");
    EXPECT_EQ(NameOf(second).substr(0, 3), "abc");
    EXPECT_EQ(first.substr(first.size() - 4), ".tmp");
    EXPECT_EQ(FolderOf(first), dir.Path().string() + "/");
    struct stat st {};
    ASSERT_EQ(::stat(first.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(MakeTempFileName(dir.File("missing-folder"), ""), "");
}

TEST(FileIO, OnlyRegularFilesOpenAndAFifoNeverBlocks) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FileOpen(fifo, "r"), InvalidHandle);
    EXPECT_EQ(FileOpen(dir.Path().string(), "r"), InvalidHandle);
    EXPECT_EQ(FileOpen("/dev/null", "w"), InvalidHandle);
}

TEST(FileIO, RenameNeverReplacesAnExistingFile) {
    TempDir dir;
    WriteBytes(dir.File("a"), "A");
    WriteBytes(dir.File("b"), "B");
    EXPECT_EQ(RenameNoReplace(dir.File("a"), dir.File("b")), EEXIST);
    EXPECT_EQ(ReadBytes(dir.File("a")), "A");
    EXPECT_EQ(ReadBytes(dir.File("b")), "B");
    EXPECT_EQ(RenameNoReplace(dir.File("a"), dir.File("c")), 0);
    EXPECT_FALSE(PathExists(dir.File("a")));
    EXPECT_EQ(ReadBytes(dir.File("c")), "A");
    EXPECT_FALSE(ErrorDescription(EEXIST).empty());
}

TEST(FileIO, FileTimesRoundTripThroughTheFileTimeUnit) {
    TempDir dir;
    const std::string path = dir.File("t.bin");
    WriteBytes(path, "x");
    const int64_t accessed = FileTimeFromUnix(1000000000, 123456700);
    const int64_t modified = FileTimeFromUnix(1200000000, 500);
    ASSERT_TRUE(SetFileTimes(path, 0, accessed, modified));
    FileTimes times;
    FileHandle h(path, "r");
    ASSERT_TRUE(GetFileTimes(h.Get(), times));
    EXPECT_EQ(times.Accessed, accessed);
    EXPECT_EQ(times.Modified, modified);
    EXPECT_NE(times.Created, 0);
    int64_t nanos = 0;
    EXPECT_EQ(UnixFromFileTime(FileTimeFromUnix(-5, 0), &nanos), -5);
    EXPECT_EQ(FileTimeFromUnix(0, 0), 116444736000000000LL);
}

TEST(FileIO, RecycleMovesTheFileToTheTrashWithItsInfo) {
    TempDir dir;
    const std::string trashHome = dir.File("data");
    const char* old = std::getenv("XDG_DATA_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", trashHome.c_str(), 1);

    const std::string path = dir.File("song one.mp3");
    WriteBytes(path, "audio");
    EXPECT_EQ(RecycleFile(path), 0);
    EXPECT_FALSE(PathExists(path));
    EXPECT_EQ(ReadBytes(trashHome + "/Trash/files/song one.mp3"), "audio");
    std::string info = ReadBytes(trashHome + "/Trash/info/song one.mp3.trashinfo");
    EXPECT_NE(info.find("[Trash Info]"), std::string::npos);
    EXPECT_NE(info.find("song%20one.mp3"), std::string::npos);
    EXPECT_NE(info.find("DeletionDate="), std::string::npos);

    WriteBytes(path, "again");  // same name twice: both kept
    EXPECT_EQ(RecycleFile(path), 0);
    EXPECT_EQ(ReadBytes(trashHome + "/Trash/files/song one.mp3.2"), "again");

    EXPECT_NE(RecycleFile(dir.File("missing.mp3")), 0);
    if (old) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}
