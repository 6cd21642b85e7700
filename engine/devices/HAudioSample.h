#ifndef HAUDIOSAMPLE_H
#define HAUDIOSAMPLE_H

#include <stdint.h>

// A decoded sound, samples interleaved by channel: 8-bit samples unsigned,
// 16-bit samples signed little-endian. Copied by value; the buffer stays
// owned by the sample-cache slot that holds it.
struct HAudioSample {
    uint8_t *           m_pBuffer;      // null when empty
    int32_t             m_iChannels;    // 1 or 2
    int32_t             m_iBits;        // 8 or 16
    int32_t             m_iFrequency;   // samples per second per channel
    int32_t             m_iLength;      // bytes in the buffer

    void                clear()
                        {
                            m_pBuffer = nullptr;
                            m_iChannels = 0;
                            m_iBits = 0;
                            m_iFrequency = 0;
                            m_iLength = 0;
                        }
};

#endif // HAUDIOSAMPLE_H
