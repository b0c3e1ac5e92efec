// The hardware service on a real PC: CPU port instructions and the first megabyte for the 9x
// family, roduru.dll for the NT family, and the processor identification instruction.
#pragma once

#include "platform/hardware.h"

// roduru.dll's exports, bound at load time.
class CWin32PortLibrary : public PortLibrary {
public:
    int32_t Pre_Open_Device(int32_t selector, const char* tempFile, const char* name) override;
    int32_t Post_Close_Device(const char* tempFile, const char* name) override;
    int32_t ZezAdo_Open() override;
    int32_t ZezAdo_Close() override;
    void ZezAdo_outp(uint16_t port, uint32_t value) override;
    void ZezAdo_outpd(uint16_t port, uint32_t value) override;
    uint32_t ZezAdo_inp(uint16_t port) override;
    uint32_t ZezAdo_inpw(uint16_t port) override;
    uint32_t ZezAdo_inpd(uint16_t port) override;
    int32_t MapMem_Open() override;
    int32_t MapMem_Phys_To_Linear(uint32_t physLow, uint32_t physHigh, uint32_t length,
                                  const uint8_t** linear) override;
    int32_t MapMem_Close() override;
};

// The direct path is only valid on the 9x family, where a user program may execute port
// instructions and read the first megabyte; the core never takes it on the NT family.
class CWin32Hardware : public Hardware {
public:
    void DirectOut8(uint16_t port, uint8_t value) override;
    void DirectOut32(uint16_t port, uint32_t value) override;
    uint8_t DirectIn8(uint16_t port) override;
    uint16_t DirectIn16(uint16_t port) override;
    uint32_t DirectIn32(uint16_t port) override;
    bool DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length) override;
    bool CpuIdSupported() override;
    void CpuId(uint32_t leaf, uint32_t regs[4]) override;
    PortLibrary& Library() override { return library; }

private:
    CWin32PortLibrary library;
};
