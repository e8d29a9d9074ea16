#include "engine/id3tag/ID3v1.h"

#include "engine/FileIO.h"
#include "engine/Utf8Text.h"
#include "engine/id3tag/Genres.h"

namespace tessaly {

namespace {

constexpr size_t TitleAt = 3;
constexpr size_t ArtistAt = 33;
constexpr size_t AlbumAt = 63;
constexpr size_t YearAt = 93;
constexpr size_t CommentAt = 97;
constexpr size_t TrackMarkAt = 125;  // zero in ID3v1.1
constexpr size_t TrackAt = 126;
constexpr size_t GenreAt = 127;
constexpr unsigned char NoGenre = 255;

// Only spaces are padding; zero bytes written by other programs stay part of
// the text, so what was read is exactly what will be written back.
std::string WithoutTrailingSpaces(std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    return Latin1ToUtf8(end == std::string_view::npos ? std::string_view{}
                                                      : text.substr(0, end + 1));
}

std::string Fitted(const std::string& text, size_t width) {
    std::string out = Utf8ToLatin1(text).substr(0, width);
    out.resize(width, ' ');
    return out;
}

// The leading decimal digits as a number; 0 when there are none or when the
// number does not fit in a byte (wrapping would store a different track).
unsigned char TrackByte(const std::string& track) {
    unsigned value = 0;
    for (char c : track) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 255) return 0;
    }
    return static_cast<unsigned char>(value);
}

}  // namespace

ID3v1Data ParseID3v1(std::string_view trailer) {
    ID3v1Data data;
    if (trailer.size() != ID3v1Size || trailer.substr(0, 3) != "TAG") return data;
    data.Present = true;
    data.Title = WithoutTrailingSpaces(trailer.substr(TitleAt, 30));
    data.Artist = WithoutTrailingSpaces(trailer.substr(ArtistAt, 30));
    data.Album = WithoutTrailingSpaces(trailer.substr(AlbumAt, 30));
    data.Year = WithoutTrailingSpaces(trailer.substr(YearAt, 4));
    data.Genre = GenreName(static_cast<unsigned char>(trailer[GenreAt]));
    if (trailer[TrackMarkAt] == '\0') {
        unsigned char track = static_cast<unsigned char>(trailer[TrackAt]);
        if (track != 0) data.Track = std::to_string(track);
        data.Comment = WithoutTrailingSpaces(trailer.substr(CommentAt, 28));
    } else {
        data.Comment = WithoutTrailingSpaces(trailer.substr(CommentAt, 30));
    }
    return data;
}

ID3v1Data ReadID3v1(int32_t handle) {
    const int64_t length = FileLength(handle);
    if (length < ID3v1Size) return {};
    if (FileSeek(handle, length - ID3v1Size, 0) < 0) return {};
    return ParseID3v1(FileRead(handle, ID3v1Size));
}

std::string BuildID3v1(const ID3v1Data& data, std::string_view oldTrailer) {
    const ID3v1Data old = ParseID3v1(oldTrailer);
    if (old.Present && data.Present && old == data) return std::string(oldTrailer);
    std::string out = "TAG";
    out += Fitted(data.Title, 30);
    out += Fitted(data.Artist, 30);
    out += Fitted(data.Album, 30);
    out += Fitted(data.Year, 4);
    out += Fitted(data.Comment, 28);
    out += '\0';
    out += static_cast<char>(TrackByte(data.Track));
    if (old.Present && old.Genre == data.Genre) {
        out += oldTrailer[GenreAt];
    } else {
        int16_t genre = GenreIndex(data.Genre, false);
        out += static_cast<char>(genre < 0 ? NoGenre : static_cast<unsigned char>(genre));
    }
    return out;
}

}  // namespace tessaly
