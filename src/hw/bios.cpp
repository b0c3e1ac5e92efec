// The BIOS identification text from the ROM image and the processor vendor string.
#include "hw/bios.h"

#include <cstring>
#include <vector>

#include "hw/hw_state.h"

namespace {

// "AMIBIOS" with its terminating zero: eight bytes.
const char BIOS_AMI_MARKER[] = "AMIBIOS";
const uint32_t BIOS_AMI_MARKER_LENGTH = sizeof(BIOS_AMI_MARKER);
const uint32_t BIOS_SOURCE_AMI = 0xFF531;
const uint32_t BIOS_SOURCE_OTHER = 0xFE0C0;
// Bytes copied from the source; the first of them is not part of the text.
const uint32_t BIOS_SOURCE_LENGTH = 255;

bool IsAmiBios(const uint8_t* image)
{
    for (uint32_t offset = 0; offset + BIOS_AMI_MARKER_LENGTH <= ROM_IMAGE_SIZE; ++offset) {
        if (memcmp(image + offset, BIOS_AMI_MARKER, BIOS_AMI_MARKER_LENGTH) == 0) return true;
    }
    return false;
}

// The image byte at a physical address; outside the image it reads as zero.
uint8_t ImageByte(const uint8_t* image, uint32_t physical)
{
    if (physical < ROM_IMAGE_BASE || physical - ROM_IMAGE_BASE >= ROM_IMAGE_SIZE) return 0;
    return image[physical - ROM_IMAGE_BASE];
}

}  // namespace

void ReadBiosText(CPortAccess& ports, uint8_t osCode, char* buffer)
{
    buffer[0] = '\0';
    if (osCode < OS_WIN95 || osCode > OS_WINXP) return;

    std::vector<uint8_t> image(ROM_IMAGE_SIZE, 0);
    if (!ports.ReadRomImage(image.data())) return;

    uint32_t source = IsAmiBios(image.data()) ? BIOS_SOURCE_AMI : BIOS_SOURCE_OTHER;
    uint32_t length = 0;
    for (uint32_t i = 1; i < BIOS_SOURCE_LENGTH; ++i) {
        uint8_t byte = ImageByte(image.data(), source + i);
        if (byte == 0) break;
        buffer[length++] = static_cast<char>(byte);
    }
    buffer[length] = '\0';
}

int ReadCpuVendor(Hardware& hardware, char* cpuVendor)
{
    memset(cpuVendor, 0, CPU_VENDOR_SIZE);
    if (!hardware.CpuIdSupported()) return 1;

    uint32_t regs[4] = {0, 0, 0, 0};
    hardware.CpuId(0, regs);
    // The vendor string lies in EBX, EDX, ECX, four characters each, low byte first.
    const uint32_t order[3] = {regs[1], regs[3], regs[2]};
    for (int word = 0; word < 3; ++word) {
        for (int byte = 0; byte < 4; ++byte) {
            cpuVendor[word * 4 + byte] = static_cast<char>((order[word] >> (8 * byte)) & 0xFF);
        }
    }
    return 1;
}
