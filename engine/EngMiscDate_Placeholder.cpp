// Placeholder for today's date (see EngMiscDate_Placeholder.h).
#include "EngMiscDate_Placeholder.h"

#include <ctime>

void EngMiscGetCurrentDate(_EngMiscDate *date)
{
    if (!date)
        return;
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    date->year = (uint32_t)(local.tm_year + 1900);
    date->month = (uint8_t)(local.tm_mon + 1);
    date->day = (uint8_t)local.tm_mday;
}
