#include "QVSprite.h"

#include "H2DDisplayDevice.h"
#include "HImageLoaderProxy.h"
#include "HLog.h"
#include "HMessageBox.h"
#include "HString.h"

HClassInfo QVSprite::sm_classInfo("QVSprite", "HObject");

const HClassInfo *QVSprite::getClassInfo() const
{
    return &sm_classInfo;
}

QVSprite::QVSprite()
    : m_pDisplay(nullptr), m_pSpriteSurface(nullptr)
{
    stringCopyBounded(m_szName, "(unnamed)", sizeof(m_szName));
}

QVSprite::~QVSprite()
{
}

QVSprite *QVSprite::clone(const HObject *other) const
{
    if (!other || !other->isClass(&sm_classInfo)) {
        return nullptr;
    }
    QVSprite *copy = new QVSprite;
    copy->m_pDisplay = m_pDisplay;
    if (m_pDisplay && m_pSpriteSurface) {
        copy->m_pSpriteSurface = m_pDisplay->cloneSurface(m_pSpriteSurface);
    }
    return copy;
}

bool QVSprite::load(H2DDisplayDevice *display, HFileSystem *fileSystem, const char *name)
{
    if (!m_pSpriteSurface) {
        m_pDisplay = display;
        if (!fileSystem) {
            messageBox(MB_TYPE_ERROR, "Error", "%s",
                       "Gobstrel's read file system was not initialized.\n"
                       "Please report this error to the Gobstrel developers.");
            return false;
        }
        HImageLoaderProxy loader;
        if (!name || !loader.load(fileSystem, name)) {
            errorPrintf("Could not open '%s'", name ? name : "(null)");
            loader.release();
            return false;
        }
        HImage *image = loader.getImage();
        if (image && display) {
            m_pSpriteSurface = display->createSurface(image);
        }
        loader.release();
        // A load that made no surface is a failed load: it is not counted,
        // so the caller can tell the player the pictures are missing.
        if (!m_pSpriteSurface) {
            errorPrintf("Could not open '%s'", name);
            return false;
        }
        stringCopyBounded(m_szName, name, sizeof(m_szName));
    }
    addRef();
    return true;
}

void QVSprite::release()
{
    HObject::release();
    if (getRefCount() > 0) {
        return;
    }
    if (m_pSpriteSurface) {
        if (m_pDisplay) {
            m_pDisplay->destroySurface(m_pSpriteSurface);
        }
        m_pSpriteSurface = nullptr;
    }
}

int QVSprite::getWidth() const
{
    if (!m_pSpriteSurface) {
        errorPrintf("getWidth: m_pSpriteSurface == 0 for sprite '%s'", m_szName);
        return 0;
    }
    return m_pSpriteSurface->getWidth();
}

int QVSprite::getHeight() const
{
    if (!m_pSpriteSurface) {
        errorPrintf("getHeight: m_pSpriteSurface == 0 for sprite '%s'", m_szName);
        return 0;
    }
    return m_pSpriteSurface->getHeight();
}

void QVSprite::getRect(HRect &outRect) const
{
    outRect.left = 0;
    outRect.top = 0;
    outRect.right = getWidth();
    outRect.bottom = getHeight();
}

void QVSprite::drawAt(const HPoint &point)
{
    if (!m_pSpriteSurface || !m_pDisplay) {
        return;
    }
    const int width = m_pSpriteSurface->getWidth();
    const int height = m_pSpriteSurface->getHeight();
    const HRect dst = { point.x, point.y, point.x + width, point.y + height };
    const HRect src = { 0, 0, width, height };
    m_pDisplay->blitClipped(dst, src, m_pSpriteSurface);
}

void QVSprite::drawPart(const HRect &dstRect, const HRect &srcRect)
{
    if (!m_pSpriteSurface || !m_pDisplay) {
        return;
    }
    m_pDisplay->blitClipped(dstRect, srcRect, m_pSpriteSurface);
}

bool QVSprite::drawBlended(const HRect &dstRect, const HRect &srcRect,
                           int w1, int w2, int w3, int w4, int w5,
                           int w6, int w7, int w8, int w9)
{
    if (!m_pSpriteSurface || !m_pDisplay) {
        return false;
    }
    const H2DBlendState state = { w1, w2, w3, (uint8_t)w4, w5, w6, w7, (uint8_t)w8, w9 };
    return m_pDisplay->blendBlitClipped(dstRect, srcRect, m_pSpriteSurface, state);
}
