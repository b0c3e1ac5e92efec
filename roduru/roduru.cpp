// roduru.dll on the board simulator: the twelve exports answer from a board description found
// through RODURU_BOARD or beside the DLL. Where the system lets a program's own port
// instructions fault (Wine running the 9x family's direct path), a trap answers them from the
// same board, and the board's ROM image is placed at physical 0xF0000, as a 9x program sees
// the first megabyte.
#include "roduru/roduru.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "board/board.h"
#include "board/port_instruction.h"

namespace {

const int RODURU_SELECTOR_MAPMEM = 102;
const int RODURU_SELECTOR_PORTS = 103;
const char RODURU_BOARD_VARIABLE[] = "RODURU_BOARD";
const char RODURU_BOARD_FILE[] = "roduru.board";

// The first megabyte as the 9x family maps it: the ROM image lies at its physical address.
const uintptr_t RODURU_ROM_ADDRESS = BOARD_ROM_BASE;
const SIZE_T RODURU_ROM_SPAN = 0x10000;  // the 64 KB the image lies in, to 0x100000
// Stack the thread that loads the library must have left above the image, when the image has
// to lie in that thread's stack (the main thread's under wine64).
const uintptr_t RODURU_STACK_HEADROOM = 0x80000;

typedef PVOID(WINAPI* CAddVectoredHandler)(ULONG, PVECTORED_EXCEPTION_HANDLER);
typedef ULONG(WINAPI* CRemoveVectoredHandler)(PVOID);

// Everything the library keeps for its process: the DLL's own module, the board, and the trap
// for the port instructions.
struct CRoduruState {
    HMODULE module = nullptr;
    bool loaded = false;
    bool described = false;  // a description was read: the board is not the empty one
    CBoard board;
    PVOID trap = nullptr;
    bool romPlaced = false;
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
        } else {
            roduruState.described = true;
        }
    }
    return roduruState.board;
}

// The accumulator, DX and the instruction pointer of a faulting thread, in either build.
#if defined(_WIN64)
const bool RODURU_LONG_MODE = true;
uint64_t Accumulator(const CONTEXT* context) { return context->Rax; }
void SetAccumulator(CONTEXT* context, uint64_t value) { context->Rax = value; }
uint16_t Dx(const CONTEXT* context) { return (uint16_t)context->Rdx; }
uintptr_t InstructionPointer(const CONTEXT* context) { return context->Rip; }
void SetInstructionPointer(CONTEXT* context, uintptr_t value) { context->Rip = value; }
#else
const bool RODURU_LONG_MODE = false;
uint64_t Accumulator(const CONTEXT* context) { return context->Eax; }
void SetAccumulator(CONTEXT* context, uint64_t value) { context->Eax = (DWORD)value; }
uint16_t Dx(const CONTEXT* context) { return (uint16_t)context->Edx; }
uintptr_t InstructionPointer(const CONTEXT* context) { return context->Eip; }
void SetInstructionPointer(CONTEXT* context, uintptr_t value) { context->Eip = (DWORD)value; }
#endif

// Bytes readable from address on, within the region it lies in, at most an instruction's worth.
size_t ReadableAt(uintptr_t address)
{
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &region, sizeof region) == 0) return 0;
    if (region.State != MEM_COMMIT || (region.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return 0;
    uintptr_t end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    size_t left = end - address;
    return left < PORT_INSTRUCTION_MAX_LENGTH ? left : PORT_INSTRUCTION_MAX_LENGTH;
}

// The trap: a port instruction that faulted is carried out on the board and stepped over, as
// the 9x family's virtual machine manager lets it through to the hardware. Every other fault
// goes on to the handlers after this one.
LONG WINAPI PortTrap(EXCEPTION_POINTERS* info)
{
    DWORD code = info->ExceptionRecord->ExceptionCode;
    CONTEXT* context = info->ContextRecord;
    uintptr_t ip = InstructionPointer(context);
    if (code == EXCEPTION_ACCESS_VIOLATION && roduruState.romPlaced &&
        info->ExceptionRecord->NumberParameters >= 2 &&
        info->ExceptionRecord->ExceptionInformation[0] == 1) {
        uintptr_t target = info->ExceptionRecord->ExceptionInformation[1];
        if (target >= RODURU_ROM_ADDRESS && target < RODURU_ROM_ADDRESS + RODURU_ROM_SPAN) {
            Report("a write reached the ROM image at 0xF0000 (the stack grew into it?)", nullptr);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (code != EXCEPTION_PRIV_INSTRUCTION && code != EXCEPTION_ACCESS_VIOLATION) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress) != ip) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    CPortInstruction instruction;
    if (!DecodePortInstruction(reinterpret_cast<const uint8_t*>(ip), ReadableAt(ip),
                               RODURU_LONG_MODE, &instruction)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    SetAccumulator(context, PerformPortInstruction(roduruState.board, instruction, Dx(context),
                                                   Accumulator(context)));
    SetInstructionPointer(context, ip + instruction.length);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Whether the 64 KB at 0xF0000 may take the ROM image: free or reserved address space is
// committed for it; committed memory only when it is the loading thread's own stack (wine64
// puts the main thread's stack there) with enough of that stack left above it.
bool RomSpanUsable()
{
    MEMORY_BASIC_INFORMATION span;
    LPVOID base = reinterpret_cast<LPVOID>(RODURU_ROM_ADDRESS);
    if (VirtualQuery(base, &span, sizeof span) == 0) return false;
    if (span.State == MEM_FREE) {
        return VirtualAlloc(base, RODURU_ROM_SPAN, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) ==
               base;
    }
    if (span.State == MEM_RESERVE) {
        return VirtualAlloc(base, RODURU_ROM_SPAN, MEM_COMMIT, PAGE_READWRITE) == base;
    }
    MEMORY_BASIC_INFORMATION stack;
    uintptr_t here = reinterpret_cast<uintptr_t>(&stack);
    if (VirtualQuery(&stack, &stack, sizeof stack) == 0) return false;
    if (stack.AllocationBase != span.AllocationBase) {
        Report("0xF0000 holds memory of its own; the ROM image is not placed", nullptr);
        return false;
    }
    if (here < RODURU_ROM_ADDRESS + RODURU_ROM_SPAN + RODURU_STACK_HEADROOM) {
        Report("the stack is too close to 0xF0000; the ROM image is not placed", nullptr);
        return false;
    }
    return true;
}

// The image at its physical address, made read-only: a stack that grows into it faults
// instead of mixing stack bytes into what the program reads as the ROM.
void PlaceRomImage()
{
    if (!RomSpanUsable()) return;
    uint8_t* rom = reinterpret_cast<uint8_t*>(RODURU_ROM_ADDRESS);
    memcpy(rom, roduruState.board.RomImage(), BOARD_ROM_SIZE);
    memset(rom + BOARD_ROM_SIZE, 0, RODURU_ROM_SPAN - BOARD_ROM_SIZE);
    DWORD old = 0;
    roduruState.romPlaced = VirtualProtect(rom, RODURU_ROM_SPAN, PAGE_READONLY, &old) != 0;
}

// With a board described, the program's own port instructions and ROM reads find it. The
// handler call is looked up, not imported: Windows 9x has none (and needs none, its ports
// reach the hardware).
void InstallPortTrap()
{
    Board();
    if (!roduruState.described || roduruState.trap) return;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    CAddVectoredHandler add = kernel ? reinterpret_cast<CAddVectoredHandler>(reinterpret_cast<void*>(
                                           GetProcAddress(kernel, "AddVectoredExceptionHandler")))
                                     : nullptr;
    if (!add) return;
    roduruState.trap = add(1, &PortTrap);
    if (!roduruState.trap) {
        Report("the port trap could not be installed", nullptr);
        return;
    }
    PlaceRomImage();
}

void RemovePortTrap()
{
    if (!roduruState.trap) return;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    CRemoveVectoredHandler remove =
        kernel ? reinterpret_cast<CRemoveVectoredHandler>(reinterpret_cast<void*>(
                     GetProcAddress(kernel, "RemoveVectoredExceptionHandler")))
               : nullptr;
    if (remove) remove(roduruState.trap);
    roduruState.trap = nullptr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        roduruState.module = instance;
        DisableThreadLibraryCalls(instance);
        InstallPortTrap();
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded while the process goes on: no handler may point into the freed image.
        RemovePortTrap();
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
