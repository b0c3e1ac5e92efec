// Fuzz target: REGEDIT4 text into the simulated registry, as text and as a file (which takes
// the UTF-16LE path when the bytes start with its mark), and the loaded registry saved again.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/sim/sim_registry.h"

namespace {

// The file the registry reads: a memory file, so the fuzzer never touches the disk.
const char* FuzzFilePath(int* fd)
{
    static char path[64];
    static int memoryFd = -1;
    if (memoryFd < 0) {
        memoryFd = memfd_create("tova-fuzz-reg", 0);
        if (memoryFd < 0) return nullptr;
        snprintf(path, sizeof path, "/proc/self/fd/%d", memoryFd);
    }
    *fd = memoryFd;
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    CSimRegistry registry;
    FixedText<256> error;
    if (registry.LoadRegText(text.c_str(), &error)) {
        // What was loaded saves as text that loads again.
        std::string saved = registry.SaveRegText();
        CSimRegistry again;
        if (!again.LoadRegText(saved.c_str(), &error)) __builtin_trap();
        if (again.SaveRegText() != saved) __builtin_trap();
    }

    int fd = -1;
    const char* path = FuzzFilePath(&fd);
    if (!path) return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
    CSimRegistry fromFile;
    fromFile.LoadRegFile(path, &error);
    return 0;
}
