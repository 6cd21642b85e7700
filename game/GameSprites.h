#ifndef GAMESPRITES_H
#define GAMESPRITES_H

// Slots of GameApp::m_sprites. The tile part is one frame list per kind (the
// picture, then its explosion frames) so the drawing can pick a frame by
// offset; the bites and the glyph digits are consecutive for the same reason.
// The loading order is a separate table kept with the loader.
enum GameSpriteIndex {
    TILE_EXPLODE_FRAMES         = 11,
    TILE_FRAME_LIST             = 1 + TILE_EXPLODE_FRAMES,

    // red, blue, green, yellow, orange, purple, blocker: picture + 11 frames
    SPR_TILE_RED                = 0,
    SPR_TILE_BLUE               = SPR_TILE_RED + TILE_FRAME_LIST,
    SPR_TILE_GREEN              = SPR_TILE_BLUE + TILE_FRAME_LIST,
    SPR_TILE_YELLOW             = SPR_TILE_GREEN + TILE_FRAME_LIST,
    SPR_TILE_ORANGE             = SPR_TILE_YELLOW + TILE_FRAME_LIST,
    SPR_TILE_PURPLE             = SPR_TILE_ORANGE + TILE_FRAME_LIST,
    SPR_TILE_BLOCKER            = SPR_TILE_PURPLE + TILE_FRAME_LIST,
    SPR_TILE_WILD               = SPR_TILE_BLOCKER + TILE_FRAME_LIST,
    SPR_TILE_WILD_EX00,
    // bonus sweets, in tile-type order (bear .. worm)
    SPR_TILE_BEAR,
    SPR_TILE_CHERRIES,
    SPR_TILE_CHOCOLATE,
    SPR_TILE_GRAPEFRUIT,
    SPR_TILE_LIFESAVER,
    SPR_TILE_PEPPERMINT,
    SPR_TILE_WORM,
    SPR_ANIM_GENERIC,           // 11 shared explosion frames
    SPR_HUD_FIRST               = SPR_ANIM_GENERIC + TILE_EXPLODE_FRAMES,

    // HUD
    SPR_TIMER                   = SPR_HUD_FIRST,
    SPR_TIME_BONUS,
    SPR_STARTLEVEL_BONUS,
    SPR_LEVEL,
    SPR_CURSOR,
    SPR_BITES,                  // 3 frames
    SPR_ICON_RESUME             = SPR_BITES + 3,

    // buttons
    SPR_ICON_RESUME_LIT,
    SPR_ICON_PAUSE,
    SPR_ICON_PAUSE_LIT,
    SPR_ICON_RESTART,
    SPR_ICON_RESTART_LIT,
    SPR_ICON_OPTIONS,
    SPR_ICON_OPTIONS_LIT,
    SPR_ICON_EXIT,
    SPR_ICON_EXIT_LIT,
    SPR_LOGO,
    SPR_LOGO_LIT,
    SPR_PARTNERLOGO,
    SPR_PARTNERLOGO_LIT,
    SPR_ICON_HIGHSCORES,
    SPR_ICON_HIGHSCORES_LIT,

    // pictures
    SPR_BACKGROUND,
    SPR_ARENA,
    SPR_PAUSE_SCREEN,
    SPR_CLICK_TO_START_LIT,

    // glyphs: ',' then '0' .. '9'
    SPR_FONT_COMMA,
    SPR_FONT_DIGIT,             // 10 digits
    SPR_FONT                    = SPR_FONT_DIGIT + 10,     // "font.tga", made into m_textFont

    // loading screen
    SPR_LOADING,
    SPR_PROGRESS,

    // info screens, in state order from GS_INFO_START; loaded on first display
    SPR_INFO_FIRST,
    SPR_TUTORIAL_PAGE           = SPR_INFO_FIRST + 7,      // 6 pages
    SPR_TUTORIAL_HAND           = SPR_TUTORIAL_PAGE + 6,

    GAME_SPRITE_COUNT
};

#endif // GAMESPRITES_H
