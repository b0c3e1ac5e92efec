// The hardware service: the two port paths (direct instructions on the 9x family, the port
// library roduru.dll on the NT family), physical memory and processor identification.
#pragma once

#include <cstdint>

// The calling contract of roduru.dll, one member per export, named as exported. Results are
// the library's own and are never examined by the program.
class PortLibrary {
public:
    virtual ~PortLibrary() {}

    virtual int32_t Pre_Open_Device(int32_t selector, const char* tempFile, const char* name) = 0;
    virtual int32_t Post_Close_Device(const char* tempFile, const char* name) = 0;
    virtual int32_t ZezAdo_Open() = 0;
    virtual int32_t ZezAdo_Close() = 0;
    virtual void ZezAdo_outp(uint16_t port, uint32_t value) = 0;
    virtual void ZezAdo_outpd(uint16_t port, uint32_t value) = 0;
    // Port reads return the port's value in the low bits.
    virtual uint32_t ZezAdo_inp(uint16_t port) = 0;
    virtual uint32_t ZezAdo_inpw(uint16_t port) = 0;
    virtual uint32_t ZezAdo_inpd(uint16_t port) = 0;
    virtual int32_t MapMem_Open() = 0;
    // Maps the physical range (physLow, physHigh) of length bytes; *linear receives an address
    // at which it can be read.
    virtual int32_t MapMem_Phys_To_Linear(uint32_t physLow, uint32_t physHigh, uint32_t length,
                                          const uint8_t** linear) = 0;
    virtual int32_t MapMem_Close() = 0;
};

class Hardware {
public:
    virtual ~Hardware() {}

    // The direct path: CPU in/out instructions.
    virtual void DirectOut8(uint16_t port, uint8_t value) = 0;
    virtual void DirectOut32(uint16_t port, uint32_t value) = 0;
    virtual uint8_t DirectIn8(uint16_t port) = 0;
    virtual uint16_t DirectIn16(uint16_t port) = 0;
    virtual uint32_t DirectIn32(uint16_t port) = 0;
    // Reads physical memory directly (the first megabyte is mapped on the 9x family).
    virtual bool DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length) = 0;

    // Whether bit 21 (ID) of the flags register can be flipped.
    virtual bool CpuIdSupported() = 0;
    // The identification instruction: regs receives EAX, EBX, ECX, EDX.
    virtual void CpuId(uint32_t leaf, uint32_t regs[4]) = 0;

    virtual PortLibrary& Library() = 0;
};
