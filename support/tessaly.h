/* libtessaly: the Xing VBR header parser, its seek-point interpolation and
 * small byte, word, file and time helpers. The program binds these by name at
 * run time; every buffer that crosses the boundary belongs to the caller.
 *
 * Plain C, so that any language that can load a shared library can call it. */
#ifndef TESSALY_SUPPORT_TESSALY_H
#define TESSALY_SUPPORT_TESSALY_H

#include <stdint.h>
#include <time.h>

/* The 32-bit Windows build uses the standard calling convention (the callee
 * removes its arguments), which callers of the DLL are declared against.
 * Everywhere else the platform's one C convention applies. */
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define TESSALY_CALL __stdcall
#else
#define TESSALY_CALL
#endif

#if defined(_WIN32)
#if defined(TESSALY_BUILDING_LIBRARY)
#define TESSALY_EXPORT __declspec(dllexport)
#else
#define TESSALY_EXPORT __declspec(dllimport)
#endif
#else
#define TESSALY_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What getxingheader fills. */
typedef struct XingHeaderData {
    int32_t h_id;      /* 1 for MPEG version 1, 0 for the lower sampling rates */
    int32_t samprate;  /* Hz; 99999 (halved for h_id 0) for the reserved index */
    int32_t flags;     /* the Xing flags word; 0 when no header was found */
    int32_t frames;    /* total frames (flag 1) */
    int32_t bytes;     /* total bytes (flag 2) */
    int32_t vbr_scale; /* quality (flag 8), -1 when absent */
    /* Caller's 100-byte buffer for the table of contents (flag 4), or null.
     * A 32-bit field on the 32-bit platforms; pointer-sized elsewhere. */
    unsigned char* toc;
} XingHeaderData;

/* Xing header flags. */
#define TESSALY_XING_FRAMES 0x0001
#define TESSALY_XING_BYTES 0x0002
#define TESSALY_XING_TOC 0x0004
#define TESSALY_XING_VBR_SCALE 0x0008

/* `buffer` starts at a frame's sync byte and holds at least 156 bytes (the
 * deepest field a header can reach). Returns 1 and fills `record` when the frame
 * carries a Xing header, else 0 with only `flags` cleared. */
TESSALY_EXPORT int32_t TESSALY_CALL getxingheader(XingHeaderData* record,
                                                  const unsigned char* buffer);

/* Byte offset for `percent` (0-100) of the playing time, interpolated in a
 * 100-entry Xing table of contents. */
TESSALY_EXPORT int32_t TESSALY_CALL seekpoint(const unsigned char* toc, int32_t file_bytes,
                                              float percent);

/* The big-endian 32-bit value of the 4 bytes at `bytes`. */
TESSALY_EXPORT int32_t TESSALY_CALL extracti4(const unsigned char* bytes);

/* count < 0: logical right shift by -count; count > 0: left shift. Modulo 32. */
TESSALY_EXPORT int32_t TESSALY_CALL bitshift(int32_t value, int32_t count);

/* Writes `value` as unsigned decimal followed by the letter l ("5l"), with a
 * terminator; `buffer` needs 12 bytes. Returns the characters written. */
TESSALY_EXPORT int32_t TESSALY_CALL ul2str(uint32_t value, char* buffer);

TESSALY_EXPORT int32_t TESSALY_CALL LoWord(int32_t value); /* value & 0xFFFF */
TESSALY_EXPORT int32_t TESSALY_CALL HiWord(int32_t value); /* value >> 16, logical */
TESSALY_EXPORT int32_t TESSALY_CALL LoByte(int32_t value); /* bits 0-7 */
TESSALY_EXPORT int32_t TESSALY_CALL HiByte(int32_t value); /* bits 8-15 */
/* ((high & 0xFF) << 8) + (low & 0xFF) */
TESSALY_EXPORT int32_t TESSALY_CALL MakeWORD(int32_t high, int32_t low);
/* ((high & 0xFFFF) << 16) + low, with `low` added whole (not masked). */
TESSALY_EXPORT int32_t TESSALY_CALL MakeDWORD(int32_t high, int32_t low);

/* 1 when `path` exists (file, folder or anything else), else 0. */
TESSALY_EXPORT int32_t TESSALY_CALL FileExists(const char* path);

/* strftime into the caller's buffer of `size` bytes. Returns the characters
 * written, 0 when they do not fit. */
TESSALY_EXPORT int32_t TESSALY_CALL MakeTime(char* buffer, int32_t size, const char* format,
                                             const struct tm* time);

/* Compares the low 32 bits of the file versions in two Windows executables'
 * version resources: -1 when the first is greater, 0 when equal, 1 when the
 * first is smaller. A file without a readable version resource counts as 0. */
TESSALY_EXPORT int32_t TESSALY_CALL CompareDLLVersions(const char* path1, const char* path2);

#ifdef __cplusplus
}
#endif

#endif
