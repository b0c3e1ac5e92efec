// The simulated hardware: both port paths, physical memory and the processor, on a CBoard.
#pragma once

#include "board/board.h"
#include "platform/hardware.h"

// roduru.dll's calling contract on the board simulator.
class CSimPortLibrary : public PortLibrary {
public:
    explicit CSimPortLibrary(CBoard& board);
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

private:
    CBoard& board;
};

class CSimHardware : public Hardware {
public:
    explicit CSimHardware(CBoard& board);
    void DirectOut8(uint16_t port, uint8_t value) override;
    void DirectOut32(uint16_t port, uint32_t value) override;
    uint8_t DirectIn8(uint16_t port) override;
    uint16_t DirectIn16(uint16_t port) override;
    uint32_t DirectIn32(uint16_t port) override;
    bool DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length) override;
    // Supported exactly when the board names a processor vendor.
    bool CpuIdSupported() override;
    void CpuId(uint32_t leaf, uint32_t regs[4]) override;
    PortLibrary& Library() override { return library; }

private:
    CBoard& board;
    CSimPortLibrary library;
};
