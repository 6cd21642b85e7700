#ifndef HMUTEX_H
#define HMUTEX_H

// A plain mutex. Owners create it, lock and unlock around the shared data,
// and call destroy before deleting it: the destructor never releases the
// system object.
class HMutex {
public:
    virtual             ~HMutex() {}
    virtual bool        create() = 0;
    virtual void        destroy() = 0;
    virtual void        lock() = 0;
    virtual void        unlock() = 0;
};

// Makes and creates the platform's mutex; null when the system gave none.
HMutex *                createMutex();

#endif // HMUTEX_H
