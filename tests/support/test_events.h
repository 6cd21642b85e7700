#ifndef TEST_EVENTS_H
#define TEST_EVENTS_H

#include <cstdint>
#include <cstring>

#include "HEvent.h"

// An event as the input device makes one: zeroed, then the given fields.
inline HEvent testEvent(int type, int x = 0, int y = 0, int key = 0, int ch = 0)
{
    HEvent event;
    memset(&event, 0, sizeof(event));
    event.m_iType = type;
    event.m_iX = x;
    event.m_iY = y;
    event.m_iKey = key;
    event.m_cChar = (uint8_t)ch;
    return event;
}

// A clock the tests move by hand, for HEventQueue::setTimeFunctions: every
// event stamp reads it and idle sleeps move it on.
struct ManualClock {
    static uint64_t &now()
    {
        static uint64_t s_now = 0;
        return s_now;
    }
    static uint64_t read() { return now(); }
    static void sleep(uint32_t ms) { now() += ms; }
};

#endif
