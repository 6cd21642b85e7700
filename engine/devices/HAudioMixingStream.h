#ifndef HAUDIOMIXINGSTREAM_H
#define HAUDIOMIXINGSTREAM_H

// Playback handle that an audio device gives back when a source is attached.
// The device owns it: it is freed when the device closes or another source is
// attached, never by whoever holds the handle.
class HAudioMixingStream {
public:
    virtual bool        start() = 0;
    // Once stop returns, the device no longer reads the source.
    virtual bool        stop() = 0;
    virtual void        close() = 0;
    virtual bool        isOpen() = 0;
    virtual bool        isReady() = 0;
    virtual             ~HAudioMixingStream() {}
};

#endif // HAUDIOMIXINGSTREAM_H
