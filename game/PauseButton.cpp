#include "PauseButton.h"

#include "GameApp.h"

PauseButton::PauseButton()
    : m_pPauseSprite(nullptr), m_pPauseLitSprite(nullptr), m_pResumeSprite(nullptr), m_pResumeLitSprite(nullptr)
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
    const GameApp *game = m_game();
    if (!game || !(game->isGameInPlay() || game->isUserPaused())) {
        return;
    }
    if (game->isUserPaused()) {
        setSprites(m_pResumeSprite, m_pResumeLitSprite, nullptr);
    } else {
        setSprites(m_pPauseSprite, m_pPauseLitSprite, nullptr);
    }
}

bool PauseButton::m_isShown(const GameApp &game) const
{
    return !game.isTutorialActive();
}

bool PauseButton::m_acts(const GameApp &game) const
{
    return !game.isTutorialActive() && (game.isUserPaused() || game.isGameInPlay());
}

void PauseButton::m_act(GameApp &game)
{
    playClickSound(&game);
    game.setPaused(!game.isUserPaused());
    drawState();
    game.invalidateAll();
}

bool PauseButton::handleEvent(const HEvent &event)
{
    const bool acted = GameButton::handleEvent(event);
    // Any event may find the pause changed elsewhere (a key, a dialog).
    drawState();
    return acted;
}
