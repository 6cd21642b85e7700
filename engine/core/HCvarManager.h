#ifndef HCVARMANAGER_H
#define HCVARMANAGER_H

class HLuaScriptEngine;
class HFileSystem;

// Console variables: named string values with integer flags, each kept as a
// Lua global table { value = "...", flags = "N" }.
//
// A store whose script engine could not be started answers every query as
// "variable missing" and sets nothing.
class HCvarManager {
public:
    // Flag bit 0: registration keeps an existing variable as it is.
    enum { CVAR_KEEP_EXISTING = 1 };

                        HCvarManager();
    // Releases nothing further: the owner calls shutdown() first.
                        ~HCvarManager();

    bool                initCvarManager();
    void                shutdown();

    void                registerVariable(const char *pszName, const char *pszValue, int iFlags);
    void                setVariableString(const char *pszName, const char *pszValue);
    // Owned by the Lua state: valid until the variable changes or shutdown.
    const char *        getVariableString(const char *pszName);
    int                 getVariableInt(const char *pszName);
    float               getVariableFloat(const char *pszName);

    // Applies every "+set name value" command of a console command string.
    void                parseCommandLine(const char *pszText);
    // True when the word stands in the command string as a switch of its
    // own: a whole token, read as parseCommandLine reads them, that is not
    // the name or value of a "+set" (a file name set there may hold any word).
    static bool         hasSwitch(const char *pszText, const char *pszSwitch);

    // Writes every variable as a Lua block with its value and flags quoted,
    // so the file loads back to the same values; false when it can't be written.
    bool                saveCvars(const char *pszFileName, HFileSystem *pFileSystem);
    // False when the file can't be opened or doesn't run.
    bool                loadCvars(const char *pszFileName, HFileSystem *pFileSystem);

private:
                        HCvarManager(const HCvarManager &) = delete;
    HCvarManager &      operator=(const HCvarManager &) = delete;

    HLuaScriptEngine *  m_pScriptEngine;        // owned; null until started
};

#endif // HCVARMANAGER_H
