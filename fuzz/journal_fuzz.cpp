// Replays arbitrary bytes as an input journal through the event queue, and
// posts the same records live: every record must come out traced safely,
// replay must end cleanly at the first short read.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "HEvent.h"
#include "HEventQueue.h"
#include "HFile.h"

namespace {

// A read-only file over the fuzzer's bytes.
class MemoryFile : public HFile {
public:
    MemoryFile(const uint8_t *data, size_t size) : m_pData(data), m_size(size), m_pos(0) {}
    int32_t read(void *buffer, int32_t length) override
    {
        if (length <= 0) return 0;
        size_t n = m_size - m_pos;
        if ((size_t)length < n) n = (size_t)length;
        memcpy(buffer, m_pData + m_pos, n);
        m_pos += n;
        return (int32_t)n;
    }
    int32_t write(const void *, int32_t) override { return 0; }
    bool rewind() override { m_pos = 0; return true; }

private:
    const uint8_t *m_pData;
    size_t m_size;
    size_t m_pos;
};

uint64_t s_now = 0;
uint64_t fakeClock() { return s_now; }
void fakeSleep(uint32_t ms) { s_now += ms; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HEventQueue::setTimeFunctions(fakeClock, fakeSleep);
    HEventQueue::resetSharedState();
    char text[1024];
    const size_t records = size / sizeof(HEvent);

    // Replay.
    MemoryFile file(data, size);
    HEventQueue queue;
    queue.setJournalReader(&file);
    size_t taken = 0;
    for (size_t calls = 0; calls < records * 2 + 4 && !queue.isReplayFinished(); calls++) {
        HEvent out;
        memset(&out, 0, sizeof(out));
        if (queue.getEvent(out, true)) {
            taken++;
            eventToString(out, text, sizeof(text));
            keyCodeName(out);
        }
    }
    if (!queue.isReplayFinished() || taken != records) {
        abort();
    }
    queue.clearJournalReader();

    // The same records posted live, through the ring and the trace.
    HEventQueue live;
    for (size_t i = 0; i < records; i++) {
        HEvent e;
        memcpy(&e, data + i * sizeof(HEvent), sizeof(e));
        s_now++;
        live.postEvent(e);
        if (i % 3 == 0) {
            HEvent out;
            live.getEvent(out, false);
        }
    }
    HEvent out;
    for (int i = 0; i < HEventQueue::kiRingSize + 2; i++) {
        live.getEvent(out, false);
    }
    HEventQueue::setTimeFunctions(nullptr, nullptr);
    return 0;
}
