#ifndef GAMEDIALOGSREGISTRY_H
#define GAMEDIALOGSREGISTRY_H

// A home folder of its own for each high-score and settings test, and raw
// access to the values the game stores there.
#include <gtest/gtest.h>

#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "HRegistry.h"

class ScratchHome {
public:
    ScratchHome()
    {
        const char *old = getenv("HOME");
        m_oldHome = old ? old : "";
        char path[] = "/tmp/gobstrel-gamedialogs-XXXXXX";
        if (mkdtemp(path)) {
            m_home = path;
            setenv("HOME", m_home.c_str(), 1);
        }
    }
    ~ScratchHome()
    {
        setenv("HOME", m_oldHome.c_str(), 1);
        if (!m_home.empty() && system(("rm -rf '" + m_home + "'").c_str()) != 0) {
            ADD_FAILURE() << "could not remove " << m_home;
        }
    }
    bool ok() const { return !m_home.empty(); }
    const std::string &path() const { return m_home; }
    std::string registryFile() const { return m_home + "/.quorvex/registry_Quorvex_Gobstrel"; }

private:
    std::string m_oldHome;
    std::string m_home;
};

// Stores a raw value under a key, as a hand-edited or damaged file would.
inline bool storeValue(const char *key, const std::vector<uint8_t> &bytes)
{
    HRegistry *registry = getRegistry();
    if (!registry->open(nullptr, "Quorvex", "Gobstrel")) {
        return false;
    }
    const bool stored = registry->setBinary(key, bytes.data(), (int32_t)bytes.size());
    return registry->close() && stored;
}

// The stored value, or false when the key is missing.
inline bool readValue(const char *key, std::vector<uint8_t> *bytes)
{
    HRegistry *registry = getRegistry();
    if (!registry->open(nullptr, "Quorvex", "Gobstrel")) {
        return false;
    }
    uint8_t buffer[256];
    int32_t length = 0;
    const bool found = registry->getBinary(key, buffer, (int32_t)sizeof(buffer), &length);
    registry->close();
    if (found) {
        bytes->assign(buffer, buffer + length);
    }
    return found;
}

inline void putWord(std::vector<uint8_t> &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++) {
        bytes[at + i] = (uint8_t)(value >> (8 * i));
    }
}

inline uint32_t getWord(const std::vector<uint8_t> &bytes, size_t at)
{
    return (uint32_t)bytes[at] | ((uint32_t)bytes[at + 1] << 8) | ((uint32_t)bytes[at + 2] << 16) |
           ((uint32_t)bytes[at + 3] << 24);
}

// A 44-byte record as the game writes it.
inline std::vector<uint8_t> scoreRecord(const char *name, uint32_t score, int32_t level, uint32_t tag = 257)
{
    std::vector<uint8_t> bytes(44, 0);
    putWord(bytes, 0, tag);
    for (size_t i = 0; name[i] && i < 32; i++) {
        bytes[4 + i] = (uint8_t)name[i];
    }
    putWord(bytes, 36, score);
    putWord(bytes, 40, (uint32_t)level);
    return bytes;
}

#endif // GAMEDIALOGSREGISTRY_H
