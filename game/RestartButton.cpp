#include "RestartButton.h"

#include "GameApp.h"

bool RestartButton::m_isShown(const GameApp &game) const
{
    return game.isNotOnTitle() && !game.isTutorialActive();
}

void RestartButton::m_onClick(GameApp &game)
{
    // Even a click that does not act is never the start of a drag.
    game.m_buttonHeld = false;
}

void RestartButton::m_act(GameApp &game)
{
    playClickSound(&game);
    game.confirmRestart();
}
