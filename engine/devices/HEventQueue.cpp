#include "HEventQueue.h"

#include <cstring>

#include "HEventSource.h"
#include "HFile.h"
#include "HLog.h"
#include "HPlatform.h"

// Shared by every queue of the process (there is one).
static int32_t s_lastMouseMoveX = 0;
static int32_t s_lastMouseMoveY = 0;
static uint64_t s_lastEventTime = 0;

// A replay asks for a live quit at most this often (real milliseconds).
static const uint32_t s_uQuitPollMs = 4;

static HEventQueue::ClockFunc s_clock = getMilliseconds;
static HEventQueue::SleepFunc s_sleep = sleepMilliseconds;

void HEventQueue::setTimeFunctions(ClockFunc clock, SleepFunc sleep)
{
    s_clock = clock ? clock : getMilliseconds;
    s_sleep = sleep ? sleep : sleepMilliseconds;
}

void HEventQueue::resetSharedState()
{
    s_lastMouseMoveX = 0;
    s_lastMouseMoveY = 0;
    s_lastEventTime = 0;
}

HEventQueue::HEventQueue()
    : m_iHead(0),
      m_iTail(0),
      m_sources(nullptr),
      m_pJournalWriter(nullptr),
      m_pJournalReader(nullptr),
      m_iLastPointerX(0),
      m_iLastPointerY(0),
      m_bReplayHeld(false),
      m_bReplayFinished(false),
      m_uLastQuitPoll(0),
      m_bQuitPolled(false)
{
    memset(m_events, 0, sizeof(m_events));
    memset(&m_replayNext, 0, sizeof(m_replayNext));
}

HEventQueue::~HEventQueue()
{
    // The sources belong to their devices.
    m_sources.removeAll();
}

void HEventQueue::addEventSource(HEventSource *source)
{
    m_sources.append(source);
}

void HEventQueue::setJournalReader(HFile *file)
{
    m_pJournalReader = file;
    m_bReplayHeld = false;
    m_bReplayFinished = false;
    m_bQuitPolled = false;
}

void HEventQueue::clearJournalReader()
{
    m_pJournalReader = nullptr;
    m_bReplayHeld = false;
}

int HEventQueue::getPendingCount() const
{
    return (m_iHead - m_iTail + kiRingSize) % kiRingSize;
}

bool HEventQueue::postEvent(const HEvent &event)
{
    const bool mouseMove = event.m_iType == ET_MOUSEMOVE;
    if (mouseMove && event.m_iX == s_lastMouseMoveX && event.m_iY == s_lastMouseMoveY) {
        return true;
    }
    const int next = (m_iHead + 1) % kiRingSize;
    if (next == m_iTail) {
        // Lost: the duplicate filter must not remember a move that never
        // arrived, or the same move posted again would be dropped too.
        return false;
    }
    if (mouseMove) {
        s_lastMouseMoveX = event.m_iX;
        s_lastMouseMoveY = event.m_iY;
    }
    HEvent &slot = m_events[m_iHead];
    slot = event;
    slot.setTime((uint32_t)s_clock());
    if (m_pJournalWriter) {
        m_pJournalWriter->write(&slot, (int32_t)sizeof(HEvent));
    }
    m_iHead = next;
    return true;
}

static bool s_carriesPointer(const HEvent &event)
{
    return event.m_iType == ET_MOUSEMOVE ||
           ((event.m_iType == ET_KEYDOWN || event.m_iType == ET_KEYUP) && event.m_iKey == KC_LBUTTON);
}

bool HEventQueue::dequeueEvent(HEvent &out)
{
    if (m_iHead == m_iTail) {
        out.m_iType = ET_NONE;
        return false;
    }
    out = m_events[m_iTail];
    if (s_carriesPointer(out)) {
        m_iLastPointerX = out.m_iX;
        m_iLastPointerY = out.m_iY;
    }
    if (out.m_iType != ET_TIMESTAMP && out.m_iType != ET_MOUSEMOVE) {
        char text[1024];
        tracePrintf("%s\n", eventToString(out, text, sizeof(text)));
    }
    return true;
}

bool HEventQueue::readJournalEvent(HEvent &out)
{
    HEvent record;
    memset(&record, 0, sizeof(record));
    if (!m_pJournalReader || m_pJournalReader->read(&record, (int32_t)sizeof(HEvent)) != (int32_t)sizeof(HEvent)) {
        return false;
    }
    out = record;
    return true;
}

bool HEventQueue::m_pollLiveQuit()
{
    // Live input is ignored during a replay, but a window close or a signal
    // still ends it. Asked every few milliseconds of real time only, so a
    // replay runs as fast as before.
    const uint64_t now = s_clock();
    if (m_bQuitPolled && elapsedMilliseconds(now, m_uLastQuitPoll) < s_uQuitPollMs) {
        return false;
    }
    m_uLastQuitPoll = now;
    m_bQuitPolled = true;
    bool quit = false;
    for (HListNode *node = m_sources.getHead(); node; node = m_sources.getNext(node)) {
        HEventSource *source = static_cast<HEventSource *>(node->getObject());
        if (source && source->pollQuit()) {
            quit = true;
        }
    }
    if (quit) {
        logPrintf("...a live quit ends the replay\n");
    }
    return quit;
}

bool HEventQueue::getEvent(HEvent &out, bool allowSleep)
{
    if (m_pJournalReader) {
        if (m_bReplayFinished || m_pollLiveQuit()) {
            m_bReplayFinished = true;
            out.m_iType = ET_NONE;
            return false;
        }
        // A live run reports "nothing pending" once before every idle tick
        // (frames are drawn then, dialogs time out): replay does the same.
        HEvent record;
        if (m_bReplayHeld) {
            record = m_replayNext;
            m_bReplayHeld = false;
        } else if (!readJournalEvent(record)) {
            m_bReplayFinished = true;
            out.m_iType = ET_NONE;
            return false;
        } else if (record.m_iType == ET_TIMESTAMP) {
            m_replayNext = record;
            m_bReplayHeld = true;
            out.m_iType = ET_NONE;
            return false;
        }
        if (s_carriesPointer(record)) {
            m_iLastPointerX = record.m_iX;
            m_iLastPointerY = record.m_iY;
        }
        out = record;
        return true;
    }

    if (!dequeueEvent(out)) {
        for (HListNode *node = m_sources.getHead(); node; node = m_sources.getNext(node)) {
            HEventSource *source = static_cast<HEventSource *>(node->getObject());
            if (source) {
                source->poll(this);
            }
        }
        if (!dequeueEvent(out)) {
            const uint64_t now = s_clock();
            if (elapsedMilliseconds(now, s_lastEventTime) == 0 && allowSleep) {
                s_sleep(1);
            }
            HEvent tick;
            memset(&tick, 0, sizeof(tick));
            tick.m_iType = ET_TIMESTAMP;
            postEvent(tick);
            return false;
        }
    }
    m_iTail = (m_iTail + 1) % kiRingSize;
    s_lastEventTime = out.getTime();
    return true;
}
