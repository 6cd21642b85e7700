#ifndef HLOCK_H
#define HLOCK_H

// A lock that reports its failures. Like HMutex, the owner calls destroy
// before deleting it.
class HLock {
public:
    virtual             ~HLock() {}
    virtual bool        create() = 0;
    virtual void        destroy() = 0;
    virtual bool        lock() = 0;
    virtual bool        tryLock() = 0;
    virtual bool        unlock() = 0;
};

#endif // HLOCK_H
