// Recording mocks of the port library and the direct hardware path for the hardware-access
// tests: every call in order, with its arguments.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/hardware.h"

inline std::string HwaccessFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
inline std::string HwaccessFormat(const char* fmt, ...)
{
    char line[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(line, sizeof(line), fmt, args);
    va_end(args);
    return line;
}

// Every call of either port path, in order, with its arguments ("lib.outp 2e 83").
struct CHwaccessCallLog {
    std::vector<std::string> calls;
    void Add(const std::string& call) { calls.push_back(call); }
};

// The port library's contract, recorded. Reads answer readBase | port, so a caller that does
// not keep only the low bits of a result is seen.
class CHwaccessMockLibrary : public PortLibrary {
public:
    explicit CHwaccessMockLibrary(CHwaccessCallLog& log) : log(log) {}

    CHwaccessCallLog& log;
    uint32_t readBase = 0xA5A50000;
    const uint8_t* mappedMemory = nullptr;  // delivered by MapMem_Phys_To_Linear (may be null)

    int32_t Pre_Open_Device(int32_t selector, const char* tempFile, const char* name) override
    {
        log.Add(HwaccessFormat("lib.Pre_Open_Device %d %s %s", selector, tempFile, name));
        return 1;
    }
    int32_t Post_Close_Device(const char* tempFile, const char* name) override
    {
        log.Add(HwaccessFormat("lib.Post_Close_Device %s %s", tempFile, name));
        return 1;
    }
    int32_t ZezAdo_Open() override { log.Add("lib.ZezAdo_Open"); return 1; }
    int32_t ZezAdo_Close() override { log.Add("lib.ZezAdo_Close"); return 1; }
    void ZezAdo_outp(uint16_t port, uint32_t value) override
    {
        log.Add(HwaccessFormat("lib.outp %x %x", port, value));
    }
    void ZezAdo_outpd(uint16_t port, uint32_t value) override
    {
        log.Add(HwaccessFormat("lib.outpd %x %x", port, value));
    }
    uint32_t ZezAdo_inp(uint16_t port) override
    {
        log.Add(HwaccessFormat("lib.inp %x", port));
        return readBase | port;
    }
    uint32_t ZezAdo_inpw(uint16_t port) override
    {
        log.Add(HwaccessFormat("lib.inpw %x", port));
        return readBase | port;
    }
    uint32_t ZezAdo_inpd(uint16_t port) override
    {
        log.Add(HwaccessFormat("lib.inpd %x", port));
        return readBase | port;
    }
    int32_t MapMem_Open() override { log.Add("lib.MapMem_Open"); return 1; }
    int32_t MapMem_Phys_To_Linear(uint32_t physLow, uint32_t physHigh, uint32_t length,
                                  const uint8_t** linear) override
    {
        log.Add(HwaccessFormat("lib.MapMem_Phys_To_Linear %x %x %x", physLow, physHigh, length));
        *linear = mappedMemory;
        return mappedMemory != nullptr;
    }
    int32_t MapMem_Close() override { log.Add("lib.MapMem_Close"); return 1; }
};

// The direct path, recorded into the same log as the library, and a physical-memory image.
class CHwaccessMockHardware : public Hardware {
public:
    CHwaccessMockHardware() : library(log) {}

    CHwaccessCallLog log;
    CHwaccessMockLibrary library;
    uint32_t directReadBase = 0x5A5A0000;
    std::vector<uint8_t> physical;  // answers DirectReadPhysical from physicalBase
    uint32_t physicalBase = 0;
    bool cpuIdSupported = true;
    uint32_t cpuIdRegs[4] = {0, 0, 0, 0};

    void DirectOut8(uint16_t port, uint8_t value) override
    {
        log.Add(HwaccessFormat("direct.out8 %x %x", port, value));
    }
    void DirectOut32(uint16_t port, uint32_t value) override
    {
        log.Add(HwaccessFormat("direct.out32 %x %x", port, value));
    }
    uint8_t DirectIn8(uint16_t port) override
    {
        log.Add(HwaccessFormat("direct.in8 %x", port));
        return static_cast<uint8_t>(directReadBase | port);
    }
    uint16_t DirectIn16(uint16_t port) override
    {
        log.Add(HwaccessFormat("direct.in16 %x", port));
        return static_cast<uint16_t>(directReadBase | port);
    }
    uint32_t DirectIn32(uint16_t port) override
    {
        log.Add(HwaccessFormat("direct.in32 %x", port));
        return directReadBase | port;
    }
    bool DirectReadPhysical(uint32_t address, uint8_t* out, uint32_t length) override
    {
        log.Add(HwaccessFormat("direct.readPhysical %x %x", address, length));
        if (address < physicalBase || address - physicalBase + length > physical.size()) {
            return false;
        }
        memcpy(out, physical.data() + (address - physicalBase), length);
        return true;
    }
    bool CpuIdSupported() override { return cpuIdSupported; }
    void CpuId(uint32_t leaf, uint32_t regs[4]) override
    {
        log.Add(HwaccessFormat("cpuid %x", leaf));
        for (int i = 0; i < 4; ++i) regs[i] = cpuIdRegs[i];
    }
    PortLibrary& Library() override { return library; }
};
