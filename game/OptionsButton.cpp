#include "OptionsButton.h"

#include "GameApp.h"

bool OptionsButton::m_isShown(const GameApp &game) const
{
    return !game.isTutorialActive();
}

void OptionsButton::m_act(GameApp &game)
{
    sm_releaseHoldAndClick(game);
    game.showOptions();
}
