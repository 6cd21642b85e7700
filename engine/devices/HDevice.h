#ifndef HDEVICE_H
#define HDEVICE_H

// Root of every device family (input, display, audio). It only remembers who
// made it: the application hands in its console-variable store.
class HDevice {
public:
    explicit HDevice(void *pOwner = nullptr) : m_pOwner(pOwner) {}
    virtual ~HDevice() {}

    void *getOwner() const { return m_pOwner; }

protected:
    void *m_pOwner;

private:
    HDevice(const HDevice &) = delete;
    HDevice &operator=(const HDevice &) = delete;
};

#endif
