#include "HighScoresButton.h"

#include "GameApp.h"

bool HighScoresButton::m_isShown(const GameApp &game) const
{
    return !game.isTutorialActive();
}

void HighScoresButton::m_act(GameApp &game)
{
    sm_releaseHoldAndClick(game);
    game.showHighScores();
}
