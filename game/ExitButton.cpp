#include "ExitButton.h"

#include "GameApp.h"

void ExitButton::m_act(GameApp &game)
{
    game.setPaused(false);
    sm_releaseHoldAndClick(game);
    game.exitGame();
}
