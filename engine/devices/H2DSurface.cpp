#include "H2DSurface.h"

#include "HLog.h"

H2DSurface &H2DSurface::operator=(const H2DSurface &)
{
    errorPrintf("Illegal call to H2DSurface::operator =");
    return *this;
}
