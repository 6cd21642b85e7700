#include "QVApplication.h"

#include <cstdio>
#include <cstring>

#include "HFile.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HStandardFileSystem.h"
#include "HString.h"

// --- pause accounting ---

void QVApplication::m_beginPause()
{
    if (m_iPauseCount == 0) {
        m_uPauseStart = m_uCurrentTime;
    }
    m_iPauseCount++;
    tracePrintf("m_beginPause - pause = %d, beginPause = %d, pauseTime = %d\n", m_iPauseCount,
                (int)(uint32_t)m_uPauseStart, (int)(uint32_t)m_uPausedTotal);
}

void QVApplication::m_endPause()
{
    // An unmatched end would drive the count negative and make every later
    // pause look already open; it is ignored instead.
    if (m_iPauseCount <= 0) {
        m_iPauseCount = 0;
        return;
    }
    m_iPauseCount--;
    if (m_iPauseCount == 0) {
        m_uLastResume = m_uCurrentTime;
        m_uPausedTotal += elapsedMilliseconds(m_uCurrentTime, m_uPauseStart);
        m_uPauseStart = 0;
    }
    tracePrintf("m_endPause - pauseCount = %d, endPause = %d, pauseTime = %d\n", m_iPauseCount,
                (int)(uint32_t)m_uLastResume, (int)(uint32_t)m_uPausedTotal);
}

uint64_t QVApplication::getPausedTime()
{
    // The open pause counts as closing it now would.
    if (m_iPauseCount != 0) {
        return m_uPausedTotal + elapsedMilliseconds(m_uCurrentTime, m_uPauseStart);
    }
    return m_uPausedTotal;
}

void QVApplication::resetPausedTime()
{
    m_uPausedTotal = 0;
}

bool QVApplication::isPaused()
{
    return m_iPauseCount > 0;
}

// --- trace, journal and demo files ---

// A plain-directory file system on a folder; null when it can't start.
static HFileSystem *s_openFolder(const char *root)
{
    HStandardFileSystem *fileSystem = new HStandardFileSystem;
    if (!fileSystem->init(root)) {
        fileSystem->shutdown();
        delete fileSystem;
        return nullptr;
    }
    return fileSystem;
}

// The folder a demo is read from and its name there. The file system joins
// every name to its root, so an absolute name is read from its own folder;
// a relative one from the working folder. The root is as large as the name.
static void s_splitDemoName(const char (&name)[HFS_MAX_PATH], char (&root)[HFS_MAX_PATH], const char **file)
{
    const char *slash = strrchr(name, '/');
    if (name[0] != '/' || !slash) {
        stringCopyBounded(root, ".", sizeof(root));
        *file = name;
        return;
    }
    const size_t length = (size_t)(slash - name);
    memcpy(root, name, length);
    root[length] = '\0';
    *file = slash + 1;
}

// Opens a file of the working folder for writing, unless it is the demo
// file or might be: then the run does less than its command line asked,
// and says so on standard error as well as in the trace. The demo is never
// emptied, whether it could be opened or not.
static HFile *s_openForWrite(HFileSystem **localFileSystem, const char *name, const char *demoName,
                             bool replayed, const char *demoUnknown, const char *consequence)
{
    char refusal[256];
    refusal[0] = '\0';
    if (demoUnknown) {
        stringPrintf(refusal, sizeof(refusal), "might be the demo file, which can't be told apart (%s)",
                     demoUnknown);
    } else if (demoName && isSameFile(demoName, name)) {
        stringCopyBounded(refusal, replayed ? "is the demo file being replayed" :
                                              "is the demo file, which could not be opened",
                          sizeof(refusal));
    }
    if (refusal[0]) {
        const char *replaying = replayed ? "replaying it and " : "";
        fprintf(stderr, "%s %s: %s%s\n", name, refusal, replaying, consequence);
        logPrintf("...%s %s: %s%s\n", name, refusal, replaying, consequence);
        return nullptr;
    }
    if (!*localFileSystem) {
        *localFileSystem = s_openFolder(".");
    }
    return *localFileSystem ? (*localFileSystem)->openFileForWrite(name) : nullptr;
}

void QVApplication::m_openDiagnosticFiles()
{
    // The demo opens first, and neither the trace nor the journal is opened
    // over it: opening for writing would empty the recording before a single
    // event of it was read.
    char demoName[HFS_MAX_PATH];
    const char *demoVariable = m_cvarManager.getVariableString("qv_demoFile");
    stringCopyBounded(demoName, demoVariable ? demoVariable : "", sizeof(demoName));
    const char *demoProblem = nullptr;
    if (demoName[0] != '\0' && !m_pDemoFile) {
        char root[HFS_MAX_PATH];
        const char *file = nullptr;
        s_splitDemoName(demoName, root, &file);
        if (!m_pDemoFileSystem) {
            m_pDemoFileSystem = s_openFolder(root);
        } else {
            m_pDemoFileSystem->init(root);
        }
        m_pDemoFile = m_pDemoFileSystem ? m_pDemoFileSystem->openFileForRead(file) : nullptr;
        if (m_pDemoFile) {
            m_eventQueue.setJournalReader(m_pDemoFile);
        } else {
            demoProblem = getFileReadProblem(demoName);
            if (!demoProblem[0]) {
                demoProblem = "it could not be opened";
            }
        }
    }
    // Compared by identity whether it opened or not. A token of the command
    // string holds at most 1023 characters, as this buffer does: a name that
    // fills it may have been cut, and the file meant is then unknown.
    const char *demoUnknown = nullptr;
    if (demoName[0] != '\0') {
        if (strlen(demoName) + 1 >= sizeof(demoName)) {
            demoUnknown = "its name may have been cut at 1023 characters";
        } else {
            const char *identityProblem = getFileIdentityProblem(demoName);
            demoUnknown = identityProblem[0] ? identityProblem : nullptr;
        }
    }
    const char *namedDemo = demoName[0] != '\0' ? demoName : nullptr;
    const bool replayed = m_pDemoFile != nullptr;

    if (m_cvarManager.getVariableInt("qv_trace") != 0 && !m_pTraceFile) {
        m_pTraceFile = s_openForWrite(&m_pLocalFileSystem, "trace.txt", namedDemo, replayed, demoUnknown,
                                      "writing no trace");
        if (m_pTraceFile) {
            setLogStream(m_pTraceFile);
        }
    }
    // No box for a demo that won't open: the run goes live, and the trace
    // says why.
    if (demoProblem) {
        logPrintf("...could not open demo file '%s': %s; playing live\n", demoName, demoProblem);
    }

    if (m_cvarManager.getVariableInt("qv_journal") != 0 && !m_pJournalFile) {
        m_pJournalFile = s_openForWrite(&m_pLocalFileSystem, "journal.bin", namedDemo, replayed, demoUnknown,
                                        "recording nothing");
        if (m_pJournalFile) {
            m_eventQueue.setJournalWriter(m_pJournalFile);
        }
    }
}

void QVApplication::m_closeJournalFiles()
{
    if (m_pJournalFile) {
        m_eventQueue.clearJournalWriter();
        m_pJournalFile->close();
        m_pJournalFile = nullptr;
    }
    if (m_pDemoFile) {
        m_eventQueue.clearJournalReader();
        m_pDemoFile->close();
        m_pDemoFile = nullptr;
    }
    if (m_pDemoFileSystem) {
        m_pDemoFileSystem->shutdown();
        delete m_pDemoFileSystem;
        m_pDemoFileSystem = nullptr;
    }
}

void QVApplication::m_closeTraceFile()
{
    if (m_pTraceFile) {
        // Cleared before closing: nothing may log into a file given back.
        setLogStream(nullptr);
        m_pTraceFile->close();
        m_pTraceFile = nullptr;
    }
    if (m_pLocalFileSystem) {
        m_pLocalFileSystem->shutdown();
        delete m_pLocalFileSystem;
        m_pLocalFileSystem = nullptr;
    }
}
