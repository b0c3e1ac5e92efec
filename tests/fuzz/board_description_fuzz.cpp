// Fuzz target: a board description of any text, then a few port reads of what it loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "board/board.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A BIOS image is read relative to a folder that does not exist; input that could name a
    // file elsewhere on the host is left alone (reading /dev/zero or a terminal as an image
    // says nothing about the parser).
    std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find("image") != std::string::npos && text.find('/') != std::string::npos) return 0;

    CBoard board;
    FixedText<256> error;
    if (board.LoadDescription(text.c_str(), "/nonexistent", &error)) {
        CBoardPciInfo info;
        for (int i = 0; i < board.PciFunctionCount(); ++i) board.PciFunctionAt(i, &info);
        board.Out32(0xCF8, 0x80000000u);
        board.In32(0xCFC);
        board.Out8(BOARD_SUPERIO_PORT_A, 0x87);
        board.Out8(BOARD_SUPERIO_PORT_A, 0x87);
        board.Out8(BOARD_SUPERIO_PORT_A, 0x20);
        board.In8(BOARD_SUPERIO_PORT_A + 1);
        uint8_t byte = 0;
        board.ReadPhysical(BOARD_ROM_BASE, &byte, 1);
        board.CpuVendor();
    } else if (error.Empty()) {
        __builtin_trap();  // a refused description always says why
    }
    return 0;
}
