// The ANSI code page's lead bytes, read from the system once, and the character-boundary cut.
#include "common/lead_bytes.h"

#include "platform/system.h"

CLeadBytes::CLeadBytes()
{
    memset(lead, 0, sizeof lead);
}

CLeadBytes::CLeadBytes(System& system) : CLeadBytes()
{
    uint32_t codePage = system.GetACP();
    // No code page leads a character with a byte below 0x80.
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        lead[b] = system.IsDBCSLeadByteEx(codePage, static_cast<uint8_t>(b));
    }
}

size_t CLeadBytes::Boundary(const char* text, size_t length) const
{
    if (!text) return 0;
    size_t i = 0;
    while (i < length) {
        if (!lead[static_cast<uint8_t>(text[i])]) {
            ++i;
        } else if (i + 1 < length) {
            i += 2;
        } else {
            return i;
        }
    }
    return length;
}
