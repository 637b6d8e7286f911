// Placeholder for the engine's date record and today's date, which the maths and
// animation module keeps in EngMisc.h; that module replaces this header and
// EngMiscDate_Placeholder.cpp when it lands. The record's layout is its own.
#pragma once
#include <cstdint>

struct _EngMiscDate
{
    uint32_t year;
    uint8_t month; // 1-12
    uint8_t day;   // 1-31
};

// Today's date in local time.
void EngMiscGetCurrentDate(_EngMiscDate *date);
