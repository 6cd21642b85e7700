#include "HStandardFile.h"

HClassInfo HStandardFile::sm_classInfo("HStandardFile", "HFile");

HStandardFile::HStandardFile()
    : m_pFile(nullptr)
{
}

HStandardFile::~HStandardFile()
{
}

const HClassInfo *HStandardFile::getClassInfo() const
{
    return &sm_classInfo;
}

int32_t HStandardFile::read(void *pBuffer, int32_t iLength)
{
    if (!m_pFile || m_bWriteMode != 0 || !pBuffer || iLength <= 0) {
        return 0;
    }
    return (int32_t)fread(pBuffer, 1, (size_t)iLength, m_pFile);
}

int32_t HStandardFile::write(const void *pBuffer, int32_t iLength)
{
    if (!m_pFile || m_bWriteMode != 1 || !pBuffer || iLength <= 0) {
        return 0;
    }
    return (int32_t)fwrite(pBuffer, 1, (size_t)iLength, m_pFile);
}

bool HStandardFile::rewind()
{
    if (!m_pFile) {
        return false;
    }
    fseek(m_pFile, 0, SEEK_SET);
    return true;
}

void HStandardFile::flush()
{
    if (m_pFile) {
        fflush(m_pFile);
    }
}
