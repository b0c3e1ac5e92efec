// roduru.dll on the board simulator: the twelve exports answer from a board description found
// through RODURU_BOARD or beside the DLL, loaded on first use.
#include "roduru/roduru.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "board/board.h"

namespace {

const int RODURU_SELECTOR_MAPMEM = 102;
const int RODURU_SELECTOR_PORTS = 103;
const char RODURU_BOARD_VARIABLE[] = "RODURU_BOARD";
const char RODURU_BOARD_FILE[] = "roduru.board";

// Everything the library keeps for its process: the DLL's own module and the board.
struct CRoduruState {
    HMODULE module = nullptr;
    bool loaded = false;
    CBoard board;
};

CRoduruState roduruState;

void Report(const char* what, const char* detail)
{
    char line[600];
    snprintf(line, sizeof line, "roduru: %s%s\n", what, detail ? detail : "");
    line[sizeof line - 1] = '\0';
    OutputDebugStringA(line);
}

// The board file: the variable's value when it is set, else roduru.board in the DLL's folder.
// False when neither can be named (a path longer than the buffer is not guessed at).
bool BoardPath(char* path, DWORD size)
{
    DWORD n = GetEnvironmentVariableA(RODURU_BOARD_VARIABLE, path, size);
    if (n > 0 && n < size) return true;
    if (n >= size) return false;
    n = GetModuleFileNameA(roduruState.module, path, size);
    if (n == 0 || n >= size) return false;
    char* slash = path;
    for (char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') slash = p + 1;
    }
    if ((size_t)(slash - path) + sizeof RODURU_BOARD_FILE > size) return false;
    memcpy(slash, RODURU_BOARD_FILE, sizeof RODURU_BOARD_FILE);
    return true;
}

// Without a readable, well-formed description the board stays empty: every read all ones.
CBoard& Board()
{
    if (!roduruState.loaded) {
        roduruState.loaded = true;
        char path[MAX_PATH * 2];
        FixedText<256> error;
        if (!BoardPath(path, sizeof path)) {
            Report("no board description path", nullptr);
        } else if (!roduruState.board.LoadFile(path, &error)) {
            Report("board description not loaded: ", error.c_str());
        }
    }
    return roduruState.board;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        roduruState.module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" {

int RODURU_CALL Pre_Open_Device(int selector, const char*, const char*)
{
    Board();
    return selector == RODURU_SELECTOR_MAPMEM || selector == RODURU_SELECTOR_PORTS ? 1 : 0;
}

int RODURU_CALL Post_Close_Device(const char*, const char*)
{
    return 1;
}

// The ports answer whether or not the driver was opened: the program still delays through
// the library after it has closed port access.
int RODURU_CALL ZezAdo_Open(void)
{
    Board();
    return 1;
}

int RODURU_CALL ZezAdo_Close(void)
{
    return 1;
}

void RODURU_CALL ZezAdo_outp(unsigned short port, unsigned int value)
{
    Board().Out8(port, (uint8_t)value);
}

void RODURU_CALL ZezAdo_outpd(unsigned short port, unsigned int value)
{
    Board().Out32(port, value);
}

unsigned int RODURU_CALL ZezAdo_inp(unsigned short port)
{
    return Board().In8(port);
}

unsigned int RODURU_CALL ZezAdo_inpw(unsigned short port)
{
    return Board().In16(port);
}

unsigned int RODURU_CALL ZezAdo_inpd(unsigned short port)
{
    return Board().In32(port);
}

int RODURU_CALL MapMem_Open(void)
{
    Board();
    return 1;
}

// The ROM image is the only memory the board hands out; it lives as long as the process.
int RODURU_CALL MapMem_Phys_To_Linear(unsigned int physLow, unsigned int physHigh,
                                      unsigned int length, const unsigned char** linear)
{
    const uint8_t* mapped = Board().MapPhysical(physLow, physHigh, length);
    if (linear) *linear = mapped;
    return mapped && linear ? 1 : 0;
}

int RODURU_CALL MapMem_Close(void)
{
    return 1;
}

}  // extern "C"
