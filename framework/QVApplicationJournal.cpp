#include "QVApplication.h"

#include "HFile.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HStandardFileSystem.h"

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

// A plain-directory file system on the working folder; null when it can't start.
static HFileSystem *s_openWorkingFolder()
{
    HStandardFileSystem *fileSystem = new HStandardFileSystem;
    if (!fileSystem->init(".")) {
        fileSystem->shutdown();
        delete fileSystem;
        return nullptr;
    }
    return fileSystem;
}

void QVApplication::m_openDiagnosticFiles()
{
    if (m_cvarManager.getVariableInt("qv_trace") != 0 && !m_pTraceFile) {
        if (!m_pLocalFileSystem) {
            m_pLocalFileSystem = s_openWorkingFolder();
        }
        if (m_pLocalFileSystem) {
            m_pTraceFile = m_pLocalFileSystem->openFileForWrite("trace.txt");
            if (m_pTraceFile) {
                setLogStream(m_pTraceFile);
            }
        }
    }

    if (m_cvarManager.getVariableInt("qv_journal") != 0 && !m_pJournalFile) {
        if (!m_pLocalFileSystem) {
            m_pLocalFileSystem = s_openWorkingFolder();
        }
        if (m_pLocalFileSystem) {
            m_pJournalFile = m_pLocalFileSystem->openFileForWrite("journal.bin");
            if (m_pJournalFile) {
                m_eventQueue.setJournalWriter(m_pJournalFile);
            }
        }
    }

    const char *demoName = m_cvarManager.getVariableString("qv_demoFile");
    if (demoName && demoName[0] != '\0' && !m_pDemoFile) {
        if (!m_pDemoFileSystem) {
            m_pDemoFileSystem = s_openWorkingFolder();
        }
        if (m_pDemoFileSystem) {
            m_pDemoFile = m_pDemoFileSystem->openFileForRead(demoName);
            if (m_pDemoFile) {
                m_eventQueue.setJournalReader(m_pDemoFile);
            }
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
