#include "HFileSystem.h"

HFileSystem::HFileSystem()
{
    m_szRootPath[0] = '\0';
}

HFileSystem::~HFileSystem()
{
}

bool HFileSystem::init(const char *)
{
    return true;
}

void HFileSystem::shutdown()
{
}
