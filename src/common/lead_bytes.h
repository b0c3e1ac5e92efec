// The lead bytes of the system's ANSI code page, and the cuts that keep a double-byte character
// whole when a CD text is cut to its field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/fixed_text.h"

class System;

class CLeadBytes {
public:
    // A single-byte code page: no byte leads a character, every cut is a byte cut.
    CLeadBytes();
    // The lead bytes of the code page GetACP reports.
    explicit CLeadBytes(System& system);

    void SetLeadByte(uint8_t byte) { lead[byte] = true; }
    bool IsLeadByte(uint8_t byte) const { return lead[byte]; }

    // The longest start of text[0, length) that ends on a character boundary: a lead byte with
    // no trail byte after it (cut off, or the text's own last byte) is dropped. The scan starts
    // at the text's first byte, since a trail byte may itself lie in the lead-byte range.
    size_t Boundary(const char* text, size_t length) const;

    // FixedText assignment cut on a character boundary instead of at N - 1 bytes.
    template <size_t N> void Assign(FixedText<N>* field, const char* s) const
    {
        size_t n = s ? strnlen(s, N - 1) : 0;
        field->Assign(s, Boundary(s, n));
    }
    template <size_t N> void Assign(FixedText<N>* field, const char* s, size_t len) const
    {
        size_t n = s ? strnlen(s, len < N - 1 ? len : N - 1) : 0;
        field->Assign(s, Boundary(s, n));
    }
    // Appends what fits, cut on a character boundary (the field itself is taken as whole).
    template <size_t N> void Append(FixedText<N>* field, const char* s) const
    {
        if (!s) return;
        size_t used = field->Length();
        size_t n = Boundary(s, strnlen(s, N - 1 - used));
        memcpy(field->Buffer() + used, s, n);
        field->Buffer()[used + n] = '\0';
    }

private:
    bool lead[256];
};
