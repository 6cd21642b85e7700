#ifndef HTHREAD_H
#define HTHREAD_H

typedef int (*HThreadFunction)(void *pData);

// A thread that runs one function with one data pointer. Nothing waits for
// or stops a started thread: the function must end by itself.
class HThread {
public:
                        HThread() : m_pfnFunction(nullptr) {}
    virtual             ~HThread() {}
    virtual void        setFunction(HThreadFunction pfnFunction) { m_pfnFunction = pfnFunction; }
    virtual bool        start(void *pData) = 0;

protected:
    HThreadFunction     m_pfnFunction;

private:
                        HThread(const HThread &) = delete;
    HThread &           operator=(const HThread &) = delete;
};

// Makes the platform's thread object; set its function, then start it.
HThread *               createThread();

#endif // HTHREAD_H
