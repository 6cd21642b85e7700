#ifndef HEVENTQUEUE_H
#define HEVENTQUEUE_H

#include <cstdint>

#include "HEvent.h"
#include "HObjectList.h"

class HEventSource;
class HFile;

// The one channel through which input reaches the application: a ring of
// 128 events (at most 127 held), the polled sources, an optional journal
// writer that records every post, an optional journal reader replayed instead
// of live input, and the idle ET_TIMESTAMP tick when nothing is waiting.
class HEventQueue {
public:
    static const int kiRingSize = 128;

                    HEventQueue();
                    ~HEventQueue();

    void            addEventSource(HEventSource *source);
    // The queue never opens, closes or deletes the journal files.
    void            setJournalWriter(HFile *file) { m_pJournalWriter = file; }
    void            clearJournalWriter() { m_pJournalWriter = nullptr; }
    void            setJournalReader(HFile *file);
    void            clearJournalReader();

    // Stamps and stores a copy; true when stored or dropped as a repeated
    // mouse move, false when the ring was full (the event is lost).
    bool            postEvent(const HEvent &event);
    // Next event; false when nothing was available (an idle tick is then
    // waiting for the next call). allowSleep lets an idle call sleep 1 ms
    // while the clock has not moved.
    bool            getEvent(HEvent &out, bool allowSleep);

    bool            dequeueEvent(HEvent &out);
    bool            readJournalEvent(HEvent &out);

    // True once the replayed journal has run out, or a live window close or
    // signal asked to end the replay: the application then ends the run as
    // if the window had been closed.
    bool            isReplayFinished() const { return m_bReplayFinished; }
    bool            isReplaying() const { return m_pJournalReader != nullptr; }

    int32_t         getLastPointerX() const { return m_iLastPointerX; }
    int32_t         getLastPointerY() const { return m_iLastPointerY; }
    int             getPendingCount() const;

    // Clock and sleep behind the stamps and the idle tick; null restores
    // the platform's. Tests drive time with these.
    typedef uint64_t (*ClockFunc)();
    typedef void    (*SleepFunc)(uint32_t milliseconds);
    static void     setTimeFunctions(ClockFunc clock, SleepFunc sleep);
    // Forgets the process-wide last mouse move and last event time.
    static void     resetSharedState();

private:
                    HEventQueue(const HEventQueue &) = delete;
    HEventQueue &   operator=(const HEventQueue &) = delete;

    // Asks the sources whether a live quit came during a replay; true ends it.
    bool            m_pollLiveQuit();

    HEvent          m_events[kiRingSize];
    int32_t         m_iHead;
    int32_t         m_iTail;
    HObjectList     m_sources;
    HFile *         m_pJournalWriter;
    HFile *         m_pJournalReader;
    int32_t         m_iLastPointerX;
    int32_t         m_iLastPointerY;
    // Replay: a record read ahead and held back for one call, so that an
    // idle tick is preceded by one "nothing pending" as in a live run.
    HEvent          m_replayNext;
    bool            m_bReplayHeld;
    bool            m_bReplayFinished;
    // Replay: when the sources were last asked for a live quit.
    uint64_t        m_uLastQuitPoll;
    bool            m_bQuitPolled;
};

#endif
