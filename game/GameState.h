#ifndef GAMESTATE_H
#define GAMESTATE_H

// The states of one game, held in GameApp::m_state. The values are stored
// nowhere, but the info screens must stay one run (GS_INFO_START ..
// GS_INFO_BLUE) because their pictures are picked by offset.
enum GameState {
    GS_PLAYING              = 0,    // waiting for a move; the level clock runs
    GS_SLIDING              = 1,    // a move is animated
    GS_CRUNCHING            = 2,    // complete lines explode
    GS_REFILLING            = 3,    // the refill is shown
    GS_LEVEL_DONE           = 4,    // the whole board explodes
    GS_BONUS_COUNT          = 5,    // the level bonus counts up
    GS_NEXT_LEVEL           = 6,    // pause before the next level
    GS_GET_READY            = 7,    // pause before play starts
    GS_INFO_START           = 8,    // title screen, no game in progress
    GS_INFO_HINT            = 9,
    GS_INFO_BLACKJELLYBEAN  = 10,
    GS_INFO_WILDCARD        = 11,
    GS_INFO_RED             = 12,
    GS_INFO_GREEN           = 13,
    GS_INFO_BLUE            = 14,
    GS_START_BONUS          = 15,   // the start-level bonus is shown
    GS_EXITING              = 16    // the next tick ends the main loop
};

inline bool isInfoScreenState(int state) { return state >= GS_INFO_START && state <= GS_INFO_BLUE; }

// Lengths of the timed states, game milliseconds.
enum {
    SLIDE_MS                = 64,
    TUTORIAL_SLIDE_MS       = 512,
    CRUNCH_MS               = 256,
    REFILL_MS               = 128,
    LEVEL_DONE_MS           = 512,
    BONUS_COUNT_MS          = 2000,
    START_BONUS_MS          = 2000,
    NEXT_LEVEL_MS           = 2000,
    GET_READY_LEVEL_MS      = 3000,
    GET_READY_INFO_MS       = 1000
};

#endif // GAMESTATE_H
