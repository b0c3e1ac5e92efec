// Profile (INI) reads with the semantics of GetPrivateProfileStringA, over a file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Looks up section/key in the profile text data[0..size) and copies the value, or defaultValue
// when the section or key is missing, cut to bufferSize - 1 characters. Returns the number of
// characters copied, as GetPrivateProfileStringA does. quoted, when given, tells whether the
// value found was enclosed in quotes (the part where the systems' readers differ most).
uint32_t ReadProfileString(const char* data, size_t size, const char* section, const char* key,
                           const char* defaultValue, char* buffer, uint32_t bufferSize,
                           bool* quoted = nullptr);
