#include "SupportLibrary.h"

#include "engine/Host.h"
#include "support/tessaly.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace {

using GetXingHeaderFunction = decltype(&::getxingheader);
using LoWordFunction = decltype(&::LoWord);
using MakeDWORDFunction = decltype(&::MakeDWORD);

constexpr size_t XingCheckBytes = 2048;

#ifdef _WIN32
using LibraryHandle = HMODULE;
LibraryHandle OpenLibrary(const std::string& path) {
    return LoadLibraryA(path.c_str());
}
void* FindSymbol(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(library, name));
}
void CloseLibrary(LibraryHandle library) {
    FreeLibrary(library);
}
std::string LastLoadError() {
    return "error " + std::to_string(GetLastError());
}
std::string ExecutableFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return "";
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}
#else
using LibraryHandle = void*;
LibraryHandle OpenLibrary(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
void* FindSymbol(LibraryHandle library, const char* name) {
    return dlsym(library, name);
}
void CloseLibrary(LibraryHandle library) {
    dlclose(library);
}
std::string LastLoadError() {
    const char* error = dlerror();
    return error ? error : "unknown error";
}
std::string ExecutableFolder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return "";
    std::string folder(path, static_cast<size_t>(length));
    return folder.substr(0, folder.rfind('/') + 1);
}
#endif

enum class State { NotTried, Bound, Missing };

struct Binding {
    std::mutex mutex;
    State state = State::NotTried;
    LibraryHandle library = nullptr;
    GetXingHeaderFunction getXingHeader = nullptr;
    LoWordFunction loWord = nullptr;
    MakeDWORDFunction makeDWORD = nullptr;
};

Binding& TheBinding() {
    static Binding binding;
    return binding;
}

// Returns "" when bound, else why not.
std::string Bind(Binding& b) {
    const char* overridePath = std::getenv(SupportLibraryVariable);
    if (overridePath && *overridePath) {
        b.library = OpenLibrary(overridePath);
    } else {
        // Beside the program first, as it is installed; then the system's
        // library path.
        const std::string folder = ExecutableFolder();
        if (!folder.empty()) b.library = OpenLibrary(folder + SupportLibraryFileName);
        if (!b.library) b.library = OpenLibrary(SupportLibraryFileName);
    }
    if (!b.library) return LastLoadError();

    auto find = [&](const char* name, auto& target) {
        if (void* address = FindSymbol(b.library, name))
            target = reinterpret_cast<std::remove_reference_t<decltype(target)>>(address);
        return target != nullptr;
    };
    const char* missing = !find("getxingheader", b.getXingHeader) ? "getxingheader"
                          : !find("LoWord", b.loWord)             ? "LoWord"
                          : !find("MakeDWORD", b.makeDWORD)       ? "MakeDWORD"
                                                                  : nullptr;
    if (missing) {
        CloseLibrary(b.library);
        b.library = nullptr;
        b.getXingHeader = nullptr;
        b.loWord = nullptr;
        b.makeDWORD = nullptr;
        return std::string("it has no function ") + missing;
    }
    return "";
}

// Binds on first use. The report is made outside the lock, since the Host may
// process window messages that call back in here.
Binding* BoundLibrary() {
    Binding& b = TheBinding();
    std::string failure;
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        if (b.state == State::Bound) return &b;
        if (b.state == State::Missing) return nullptr;
        failure = Bind(b);
        b.state = failure.empty() ? State::Bound : State::Missing;
        if (failure.empty()) return &b;
    }
    ShowError(std::string("The support library ") + SupportLibraryFileName +
              " could not be loaded (" + failure +
              "). Variable bit rate (Xing) headers will not be detected.");
    return nullptr;
}

}  // namespace

XingHeaderFields ReadXingHeader(std::string_view frameBytes) {
    Binding* b = BoundLibrary();
    if (!b) return {};
    // The parser reads at fixed offsets without a length, so it always gets a
    // full, zero-padded buffer.
    unsigned char buffer[XingCheckBytes] = {};
    std::memcpy(buffer, frameBytes.data(), std::min(frameBytes.size(), XingCheckBytes));
    XingHeaderData record{};
    record.toc = nullptr;
    if (b->getXingHeader(&record, buffer) != 1) return {};
    XingHeaderFields header;
    header.Found = true;
    if (record.flags & TESSALY_XING_FRAMES) header.Frames = static_cast<uint32_t>(record.frames);
    if (record.flags & TESSALY_XING_BYTES) header.Bytes = static_cast<uint32_t>(record.bytes);
    return header;
}

bool HasXingHeader(std::string_view frameBytes) {
    return ReadXingHeader(frameBytes).Found;
}

int32_t LoWord(int32_t value) {
    if (Binding* b = BoundLibrary()) return b->loWord(value);
    return static_cast<int32_t>(static_cast<uint32_t>(value) & 0xFFFFu);
}

int32_t MakeDWORD(int32_t high, int32_t low) {
    if (Binding* b = BoundLibrary()) return b->makeDWORD(high, low);
    return static_cast<int32_t>(((static_cast<uint32_t>(high) & 0xFFFFu) << 16) +
                                static_cast<uint32_t>(low));
}

bool SupportLibraryAvailable() {
    return BoundLibrary() != nullptr;
}

void ResetSupportLibraryForTesting() {
    Binding& b = TheBinding();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (b.library) CloseLibrary(b.library);
    b.library = nullptr;
    b.getXingHeader = nullptr;
    b.loWord = nullptr;
    b.makeDWORD = nullptr;
    b.state = State::NotTried;
}

}  // namespace tessaly
