#include "HFile.h"

HClassInfo HFile::sm_classInfo("HFile", "HObject");

HFile::HFile()
    : m_bWriteMode(0), m_iSize(0), m_pFileSystem(nullptr)
{
    m_szName[0] = '\0';
}

HFile::~HFile()
{
}

const HClassInfo *HFile::getClassInfo() const
{
    return &sm_classInfo;
}

void HFile::flush()
{
}

void HFile::close()
{
    // A slot that was never lent out has no file system to go back to.
    if (m_pFileSystem) {
        m_pFileSystem->m_closeFile(this);
    }
}

int32_t HFile::getSize() const
{
    return m_iSize;
}

const char *HFile::getName() const
{
    return m_szName;
}
