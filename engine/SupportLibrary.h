// The program's side of libtessaly: the library is bound by its file name and
// each function by its exported name on first use, so the program starts and
// reads files even where the library is missing. A missing library (or one
// without the functions) is reported once through the Host; from then on every
// file reads as having no Xing header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// The file name the library is looked up by.
#ifdef _WIN32
inline constexpr const char* SupportLibraryFileName = "tessaly.dll";
#else
inline constexpr const char* SupportLibraryFileName = "libtessaly.so";
#endif

// Overrides where the library is looked for: when this environment variable
// names a path, only that path is tried.
inline constexpr const char* SupportLibraryVariable = "TESSALY_SUPPORT_LIBRARY";

// What a Xing VBR header states. Frames and Bytes are 0 when the header
// leaves them out (their flag is clear).
struct XingHeaderFields {
    bool Found = false;
    uint32_t Frames = 0;
    uint32_t Bytes = 0;
};

// The Xing VBR header of the frame starting at frameBytes[0] (its sync byte).
// Up to 2048 bytes are used; fewer are padded with zeros. Found is false when
// the library cannot be bound.
XingHeaderFields ReadXingHeader(std::string_view frameBytes);

// ReadXingHeader(frameBytes).Found.
bool HasXingHeader(std::string_view frameBytes);

// value & 0xFFFF.
int32_t LoWord(int32_t value);
// ((high & 0xFFFF) << 16) + low, with `low` added whole.
int32_t MakeDWORD(int32_t high, int32_t low);

// True when the library and its functions are bound (binding it if needed).
bool SupportLibraryAvailable();

// Forgets the binding (and whether its absence was reported), so that the
// next call binds again; for tests that point the variable elsewhere.
void ResetSupportLibraryForTesting();

}  // namespace tessaly
