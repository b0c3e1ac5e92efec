// The main dialog's timers: the install steps, the result-log poll, the resume wait and the
// Rapid Setup pointer, all served by its one WM_TIMER handler.
#pragma once

#include <cstdint>

const uint32_t TIMER_STEP = 1;
const uint32_t TIMER_LOG_POLL = 2;
const uint32_t TIMER_RESUME_WAIT = 5;
const uint32_t TIMER_POINTER = 99;
const uint32_t TIMER_POINTER_MS = 500;
