#include "PauseButton.h"

#include "GameApp.h"

PauseButton::PauseButton()
    : m_pPauseSprite(nullptr), m_pPauseLitSprite(nullptr), m_pResumeSprite(nullptr), m_pResumeLitSprite(nullptr)
{
}

PauseButton::~PauseButton()
{
}

void PauseButton::setStateSprites(QVSprite *pause, QVSprite *pauseLit, QVSprite *resume, QVSprite *resumeLit)
{
    m_pPauseSprite = pause;
    m_pPauseLitSprite = pauseLit;
    m_pResumeSprite = resume;
    m_pResumeLitSprite = resumeLit;
}

void PauseButton::drawState()
{
    const GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !(game->isGameInPlay() || game->isUserPaused())) {
        return;
    }
    if (game->isUserPaused()) {
        setSprites(m_pResumeSprite, m_pResumeLitSprite, nullptr);
    } else {
        setSprites(m_pPauseSprite, m_pPauseLitSprite, nullptr);
    }
}

void PauseButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    const GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (game && !game->isTutorialActive()) {
        QVControl::draw(display, clipRect);
    }
}

bool PauseButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game) {
        return false;
    }
    bool bActed = false;
    if (isClicked(event) && !game->isTutorialActive() && (game->isUserPaused() || game->isGameInPlay())) {
        playClickSound(game);
        game->setPaused(!game->isUserPaused());
        drawState();
        game->invalidateAll();
        bActed = true;
    }
    // Any event may find the pause changed elsewhere (a key, a dialog).
    drawState();
    return bActed;
}
