// Fuzz target: profile (INI) reads over any bytes, with the section, key, default and buffer
// size taken from the input too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/profile_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    std::string section = provider.ConsumeRandomLengthString(64);
    std::string key = provider.ConsumeRandomLengthString(64);
    std::string defaultValue = provider.ConsumeRandomLengthString(64);
    uint32_t bufferSize = provider.ConsumeIntegralInRange<uint32_t>(0, 300);
    bool nullSection = provider.ConsumeBool();
    bool nullKey = provider.ConsumeBool();
    std::vector<char> text = provider.ConsumeRemainingBytes<char>();

    // Exactly the buffer's size, so a write past it shows under AddressSanitizer.
    std::vector<char> buffer(bufferSize ? bufferSize : 1, 'x');
    uint32_t copied = ReadProfileString(text.data(), text.size(),
                                        nullSection ? nullptr : section.c_str(),
                                        nullKey ? nullptr : key.c_str(), defaultValue.c_str(),
                                        bufferSize ? buffer.data() : nullptr, bufferSize);
    if (bufferSize > 0 && copied >= bufferSize) __builtin_trap();
    return 0;
}
