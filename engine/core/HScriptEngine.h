#ifndef HSCRIPTENGINE_H
#define HSCRIPTENGINE_H

#include <stddef.h>

// The engine's window onto a scripting language. Scripts here are data
// (console-variable files), never game logic.
class HScriptEngine {
public:
                        HScriptEngine() {}
    // Releases nothing: owners call shutdown() first.
    virtual             ~HScriptEngine() {}

    virtual bool        init() = 0;
    virtual void        shutdown() = 0;
    // Compiles and runs a text chunk; true when it ran without error.
    virtual bool        runBuffer(const char *pszText, size_t uLength) = 0;

private:
                        HScriptEngine(const HScriptEngine &) = delete;
    HScriptEngine &     operator=(const HScriptEngine &) = delete;
};

#endif // HSCRIPTENGINE_H
