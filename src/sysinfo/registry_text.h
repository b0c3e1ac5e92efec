// Reading a registry value as text into a fixed-size field, for the report's lines.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "platform/registry.h"

// Reads value name of key into out, offering the registry a buffer of N - 1 bytes: a value that
// does not fit is a failed read and leaves out empty, as on Windows. The one spare byte always
// terminates the text, also for a value stored without its terminating zero; the text ends at
// its first zero byte. False when the value is missing or too long.
template <size_t N>
bool ReadRegistryText(Registry& registry, RegKey key, const char* name, FixedText<N>* out)
{
    static_assert(N >= 2, "a value needs at least one byte");
    char* buffer = out->Buffer();
    uint32_t size = static_cast<uint32_t>(N - 1);
    uint32_t type = REG_TYPE_NONE;
    if (!registry.QueryValue(key, name, &type, reinterpret_cast<uint8_t*>(buffer), &size) ||
        size > N - 1) {
        out->Clear();
        return false;
    }
    buffer[size] = '\0';
    return true;
}
