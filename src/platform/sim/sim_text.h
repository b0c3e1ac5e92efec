// Texts as the simulator prints them: one line each, control and high bytes written as \xNN.
#pragma once

#include <string>

inline std::string SimPrintable(const char* text)
{
    static const char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p;
         ++p) {
        if (*p < 0x20 || *p >= 0x7F) {
            out += "\\x";
            out += HEX[*p >> 4];
            out += HEX[*p & 0xF];
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out;
}
