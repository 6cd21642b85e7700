#include "StartButton.h"

#include "GameApp.h"

bool StartButton::m_isShown(const GameApp &game) const
{
    return isInfoScreenState(game.m_state) && !game.isUserPaused();
}

bool StartButton::m_acts(const GameApp &game) const
{
    return isInfoScreenState(game.m_state);
}

void StartButton::m_act(GameApp &game)
{
    // The info picture is loaded when first shown; one never shown holds
    // no load to give back.
    QVSprite &picture = game.m_sprites[SPR_INFO_FIRST + (game.m_state - GS_INFO_START)];
    if (picture.isLoaded()) {
        picture.release();
    }
    playClickSound(&game);
    if (game.m_state == GS_INFO_START) {
        game.newGame(game.m_settings.m_iStartLevel);
    }
    game.m_countdown = GET_READY_INFO_MS;
    game.m_countdownTotal = GET_READY_INFO_MS;
    game.m_state = GS_GET_READY;
    game.invalidateAll();
}
