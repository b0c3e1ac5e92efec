// The C calling contract of roduru.dll: port I/O and physical-memory mapping for the NT family.
// Plain C types only, so the Win32 adapter can bind it without any header of the library's.
#pragma once

#if defined(_WIN32) && !defined(RODURU_BUILD)
#define RODURU_API __declspec(dllimport)
#else
#define RODURU_API
#endif

#if defined(_WIN32)
#define RODURU_CALL __cdecl
#else
#define RODURU_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Prepares a service: 102 the memory mapper, 103 the port driver. The temporary file and the
// name are accepted and not used. Non-zero on success.
RODURU_API int RODURU_CALL Pre_Open_Device(int selector, const char* tempFile, const char* name);
RODURU_API int RODURU_CALL Post_Close_Device(const char* tempFile, const char* name);

RODURU_API int RODURU_CALL ZezAdo_Open(void);
RODURU_API int RODURU_CALL ZezAdo_Close(void);
// Port writes: a byte (low 8 bits of value) and a dword.
RODURU_API void RODURU_CALL ZezAdo_outp(unsigned short port, unsigned int value);
RODURU_API void RODURU_CALL ZezAdo_outpd(unsigned short port, unsigned int value);
// Port reads: the port's value in the low 8, 16 or 32 bits.
RODURU_API unsigned int RODURU_CALL ZezAdo_inp(unsigned short port);
RODURU_API unsigned int RODURU_CALL ZezAdo_inpw(unsigned short port);
RODURU_API unsigned int RODURU_CALL ZezAdo_inpd(unsigned short port);

RODURU_API int RODURU_CALL MapMem_Open(void);
// Maps length bytes of physical memory at (physLow, physHigh); *linear receives an address at
// which they can be read, valid until the process ends. Non-zero on success; on failure
// *linear is null.
RODURU_API int RODURU_CALL MapMem_Phys_To_Linear(unsigned int physLow, unsigned int physHigh,
                                                 unsigned int length,
                                                 const unsigned char** linear);
RODURU_API int RODURU_CALL MapMem_Close(void);

#ifdef __cplusplus
}
#endif
