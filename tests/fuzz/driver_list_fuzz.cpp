// Fuzz target: the CD's driver list read as bytes, every system's block cut out of it and
// every category's lines turned into install-list entries.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hw/driver_list.h"
#include "tests/unit/platform/null_files.h"

namespace {

// A file service that holds one file: the fuzzer's bytes.
class CFuzzListFiles : public CNullFiles {
public:
    CFuzzListFiles(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool CanOpenForReading(const char*) override { return true; }
    bool ReadWholeFile(const char*, size_t maxBytes, std::vector<char>* bytes) override
    {
        size_t n = size < maxBytes ? size : maxBytes;
        bytes->assign(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + n);
        return true;
    }

private:
    const uint8_t* data;
    size_t size;
};

// The systems and the category tags detection asks for.
const uint8_t FUZZ_OS_CODES[] = {0, 9, 10, 11, 12, 13, 14, 15, 16};
const char* const FUZZ_TAGS[] = {";Chipset;", ";audio;", ";AMR;", ";LAN;", ";IntelUSB;",
                                 ";SCSI;", ";SeriesATA;", ";Promise;", ";Winbond;"};
const size_t FUZZ_OS_COUNT = sizeof FUZZ_OS_CODES / sizeof FUZZ_OS_CODES[0];
const size_t FUZZ_TAG_COUNT = sizeof FUZZ_TAGS / sizeof FUZZ_TAGS[0];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzListFiles files(data, size);
    static CInstallList list; // large; kept out of the stack
    list = CInstallList();
    if (!ReadListFile(files, "E:\\TOVA.TXT", list) || size == 0) return 0;
    // The input's last bytes, which follow the list's last line, pick the running system and
    // the device code detection found for each category (one system a run keeps the run fast;
    // the fuzzer reaches every system through that byte).
    uint8_t osCode = FUZZ_OS_CODES[data[size - 1] % FUZZ_OS_COUNT];
    ExtractOsSection(list, osCode);
    for (size_t t = 0; t < FUZZ_TAG_COUNT && list.itemCount < DRIVER_ITEM_CAPACITY; ++t) {
        list.items[list.itemCount].deviceCode = t + 1 < size ? data[size - 2 - t] : 0;
        AddItemsForCategory(list, CLeadBytes(), FUZZ_TAGS[t]);
    }
    FreeListText(list);

    // One line parsed straight from the bytes, without a terminating zero after them.
    std::vector<char> line(reinterpret_cast<const char*>(data),
                           reinterpret_cast<const char*>(data) + size);
    list = CInstallList();
    ParseListLine(list, CLeadBytes(), line.data(), line.size(), 0);
    ParseListLine(list, CLeadBytes(), line.data(), line.size(), DRIVER_ITEM_CAPACITY - 1);
    return 0;
}
