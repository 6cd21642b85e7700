#ifndef HEVENTSOURCE_H
#define HEVENTSOURCE_H

#include "HObject.h"

class HEventQueue;

// Something the event queue polls when its ring is empty; it posts what it
// has with HEventQueue::postEvent.
class HEventSource : public HObject {
public:
    virtual bool        poll(HEventQueue *queue) = 0;
    // During a replay: drops whatever live input is waiting, posting
    // nothing; true when it asked to end the program.
    virtual bool        pollQuit() { return false; }
};

#endif
