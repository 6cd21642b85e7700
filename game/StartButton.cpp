#include "StartButton.h"

#include "GameApp.h"

StartButton::StartButton()
{
}

StartButton::~StartButton()
{
}

void StartButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    const GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (game && isInfoScreenState(game->m_state) && !game->isUserPaused()) {
        QVControl::draw(display, clipRect);
    }
}

bool StartButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event) || !isInfoScreenState(game->m_state)) {
        return false;
    }
    // The info picture is loaded when first shown; one never shown holds
    // no load to give back.
    QVSprite &picture = game->m_sprites[SPR_INFO_FIRST + (game->m_state - GS_INFO_START)];
    if (picture.isLoaded()) {
        picture.release();
    }
    playClickSound(game);
    if (game->m_state == GS_INFO_START) {
        game->newGame(game->m_settings.m_iStartLevel);
    }
    game->m_countdown = GET_READY_INFO_MS;
    game->m_countdownTotal = GET_READY_INFO_MS;
    game->m_state = GS_GET_READY;
    game->invalidateAll();
    return true;
}
