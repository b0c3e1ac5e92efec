// Super-I/O probes: a Winbond chip and its enabled functions, and the IT8712 / IT8705 serial
// mode. Both try the index/data pair 0x2E/0x2F first, then 0x4E/0x4F.
#include "hw/superio.h"

namespace {

struct CSuperIoPair {
    uint16_t indexPort;
    uint16_t dataPort;
};

const CSuperIoPair SUPERIO_PAIRS[2] = {{0x2E, 0x2F}, {0x4E, 0x4F}};

const uint8_t SUPERIO_REG_LDN = 0x07;
const uint8_t SUPERIO_REG_CHIP_HIGH = 0x20;
const uint8_t SUPERIO_REG_CHIP_LOW = 0x21;
const uint8_t SUPERIO_REG_ACTIVATE = 0x30;

const uint8_t WINBOND_ENTER_KEY = 0x83;
const uint8_t WINBOND_EXIT_KEY = 0xAA;
const uint8_t ITE_ENTER_KEY[4] = {0x87, 0x01, 0x55, 0x55};
const uint8_t ITE_EXIT_VALUE = 0x02;
const uint8_t ITE_CHIP_ID_HIGH = 0x87;
const uint8_t ITE_CHIP_IT8712 = 0x12;
const uint8_t ITE_CHIP_IT8705 = 0x05;
const uint8_t ITE_LDN_SERIAL2 = 2;
const uint8_t ITE_REG_IT8712_MODE = 0xF0;
const uint8_t ITE_REG_IT8705_MODE = 0xF1;

const uint8_t SUPERIO_CODE_PROVISIONAL = 10;
const uint8_t ITE87_HIT = 10;

uint8_t ReadRegister(CPortAccess& ports, const CSuperIoPair& pair, uint8_t reg)
{
    ports.PortWrite8(pair.indexPort, reg);
    return ports.PortRead8(pair.dataPort);
}

void SelectLogicalDevice(CPortAccess& ports, const CSuperIoPair& pair, uint8_t ldn)
{
    ports.PortWrite8(pair.indexPort, SUPERIO_REG_LDN);
    ports.PortWrite8(pair.dataPort, ldn);
}

uint8_t ReadActivation(CPortAccess& ports, const CSuperIoPair& pair, uint8_t ldn)
{
    SelectLogicalDevice(ports, pair, ldn);
    return ReadRegister(ports, pair, SUPERIO_REG_ACTIVATE);
}

bool WinbondIdentityMatches(CPortAccess& ports, const CSuperIoPair& pair, uint16_t* chipId)
{
    ports.PortWrite8(pair.indexPort, WINBOND_ENTER_KEY);
    ports.PortWrite8(pair.indexPort, WINBOND_ENTER_KEY);
    uint16_t high = ReadRegister(ports, pair, SUPERIO_REG_CHIP_HIGH);
    uint16_t low = ReadRegister(ports, pair, SUPERIO_REG_CHIP_LOW);
    *chipId = static_cast<uint16_t>(high << 8 | low);
    uint16_t family = *chipId & 0xFFF0;
    return family == 0x5180 || family == 0x7110;
}

enum EWinbondOutcome { WINBOND_X, WINBOND_Y, WINBOND_Z };

EWinbondOutcome WinbondOutcome(CPortAccess& ports, const CSuperIoPair& pair, uint16_t chipId)
{
    if (chipId == 0x5181) {
        uint8_t v = ReadActivation(ports, pair, 1);
        if (v == 3) return WINBOND_X;
        if (v == 1) return WINBOND_Y;
        return WINBOND_Z;
    }
    if (chipId == 0x5182) {
        return (ReadActivation(ports, pair, 1) & 0x12) != 0 ? WINBOND_X : WINBOND_Z;
    }
    if (chipId == 0x7112) {
        bool ldn1Active = (ReadActivation(ports, pair, 1) & 0x01) != 0;
        if ((ReadActivation(ports, pair, 3) & 0x01) != 0) return WINBOND_Y;
        return ldn1Active ? WINBOND_X : WINBOND_Z;
    }
    // A chip of the family without a rule of its own.
    return WINBOND_Z;
}

bool IteEnterAndIdentify(CPortAccess& ports, const CSuperIoPair& pair)
{
    for (uint8_t key : ITE_ENTER_KEY) ports.PortWrite8(pair.indexPort, key);
    return ReadRegister(ports, pair, SUPERIO_REG_CHIP_HIGH) == ITE_CHIP_ID_HIGH;
}

bool IteSerialModeHit(CPortAccess& ports, const CSuperIoPair& pair)
{
    uint8_t chip = ReadRegister(ports, pair, SUPERIO_REG_CHIP_LOW);
    if (chip == ITE_CHIP_IT8712) {
        SelectLogicalDevice(ports, pair, ITE_LDN_SERIAL2);
        return (ReadRegister(ports, pair, ITE_REG_IT8712_MODE) & 0x70) == 0x40;
    }
    if (chip == ITE_CHIP_IT8705) {
        SelectLogicalDevice(ports, pair, ITE_LDN_SERIAL2);
        uint8_t mode = ReadRegister(ports, pair, ITE_REG_IT8705_MODE) & 0x07;
        return mode == 3 || mode == 4;
    }
    return false;
}

}  // namespace

void WinbondChipProbe(CPortAccess& ports, uint8_t* code, CDetectionResults& results)
{
    *code = 0;
    uint16_t chipId = 0;
    const CSuperIoPair* pair = &SUPERIO_PAIRS[0];
    if (!WinbondIdentityMatches(ports, *pair, &chipId)) {
        pair = &SUPERIO_PAIRS[1];
        // Neither pair answers: nothing is found and neither pair is told to leave.
        if (!WinbondIdentityMatches(ports, *pair, &chipId)) return;
    }

    *code = SUPERIO_CODE_PROVISIONAL;
    bool ldn0Active = (ReadActivation(ports, *pair, 0) & 0x01) != 0;
    EWinbondOutcome outcome = WinbondOutcome(ports, *pair, chipId);

    if (ldn0Active) {
        *code = 2;
        results.foundId = SUPERIO_ID_WINBOND_LDN0;
    } else if (outcome == WINBOND_X) {
        *code = 1;
        results.foundId = SUPERIO_ID_WINBOND_OTHER;
    } else if (outcome == WINBOND_Y) {
        *code = 3;
        results.foundId = SUPERIO_ID_WINBOND_OTHER;
    } else {
        *code = 0;
        results.foundId = 0;
    }
    results.foundSubsystem = 0;
    ports.PortWrite8(pair->indexPort, WINBOND_EXIT_KEY);
}

int Ite87Probe(CPortAccess& ports, uint8_t* result, CDetectionResults& results)
{
    *result = 0;
    const CSuperIoPair* pair = &SUPERIO_PAIRS[0];
    bool identified = IteEnterAndIdentify(ports, *pair);
    if (!identified) {
        // The first pair is left as it is; only the pair in use is told to leave.
        pair = &SUPERIO_PAIRS[1];
        identified = IteEnterAndIdentify(ports, *pair);
    }

    if (identified && IteSerialModeHit(ports, *pair)) {
        *result = ITE87_HIT;
        results.foundId = SUPERIO_ID_ITE87;
        results.foundSubsystem = 0;
    }

    ports.PortWrite8(pair->indexPort, ITE_EXIT_VALUE);
    ports.PortWrite8(pair->dataPort, ITE_EXIT_VALUE);
    return 0;
}
