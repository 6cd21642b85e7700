// The game's fixed sprite set: loading it during start-up behind the loading
// bar, and giving it back when the devices go down.
#include "GameApp.h"

#include "H2DDisplayDevice.h"
#include "HLog.h"

namespace {

struct SpriteFile {
    int             m_iSlot;
    const char *    m_szName;
};

// Explosion frames of one colour word, ex00 to ex10, after its tile picture.
#define EXPLOSION_FRAMES(slot, word) \
    { (slot) + 1, "anim_tile_" word "_ex00.tga" }, { (slot) + 2, "anim_tile_" word "_ex01.tga" }, \
    { (slot) + 3, "anim_tile_" word "_ex02.tga" }, { (slot) + 4, "anim_tile_" word "_ex03.tga" }, \
    { (slot) + 5, "anim_tile_" word "_ex04.tga" }, { (slot) + 6, "anim_tile_" word "_ex05.tga" }, \
    { (slot) + 7, "anim_tile_" word "_ex06.tga" }, { (slot) + 8, "anim_tile_" word "_ex07.tga" }, \
    { (slot) + 9, "anim_tile_" word "_ex08.tga" }, { (slot) + 10, "anim_tile_" word "_ex09.tga" }, \
    { (slot) + 11, "anim_tile_" word "_ex10.tga" }

// Loading order. The bar's steps count files, so the order is what the
// player sees fill up; the slots are where the drawing looks for them.
const SpriteFile s_spriteFiles[] = {
    // HUD
    { SPR_TIMER, "timer.tga" },
    { SPR_TIME_BONUS, "time_bonus.tga" },
    { SPR_STARTLEVEL_BONUS, "startlevel_bonus.tga" },
    { SPR_LEVEL, "level.tga" },
    { SPR_CURSOR, "cursor.tga" },
    { SPR_BITES + 0, "bites00.tga" },
    { SPR_BITES + 1, "bites01.tga" },
    { SPR_BITES + 2, "bites02.tga" },
    // buttons
    { SPR_ICON_RESUME, "icon_resume.tga" },
    { SPR_ICON_RESUME_LIT, "icon_resume_lit.tga" },
    { SPR_ICON_PAUSE, "icon_pause.tga" },
    { SPR_ICON_PAUSE_LIT, "icon_pause_lit.tga" },
    { SPR_ICON_RESTART, "icon_restart.tga" },
    { SPR_ICON_RESTART_LIT, "icon_restart_lit.tga" },
    { SPR_ICON_OPTIONS, "icon_options.tga" },
    { SPR_ICON_OPTIONS_LIT, "icon_options_lit.tga" },
    { SPR_ICON_EXIT, "icon_exit.tga" },
    { SPR_ICON_EXIT_LIT, "icon_exit_lit.tga" },
    { SPR_LOGO, "logo.tga" },
    { SPR_LOGO_LIT, "logo_lit.tga" },
    { SPR_PARTNERLOGO, "partnerlogo.tga" },
    { SPR_PARTNERLOGO_LIT, "partnerlogo_lit.tga" },
    // pictures
    { SPR_BACKGROUND, "background.jpg" },
    { SPR_ARENA, "arena.jpg" },
    { SPR_PAUSE_SCREEN, "pause.jpg" },
    { SPR_CLICK_TO_START_LIT, "icon_click_to_start_lit.tga" },
    // tiles
    { SPR_TILE_BLUE, "tile_blue.tga" },
    { SPR_TILE_RED, "tile_red.tga" },
    { SPR_TILE_GREEN, "tile_green.tga" },
    { SPR_TILE_YELLOW, "tile_yellow.tga" },
    { SPR_TILE_PURPLE, "tile_purple.tga" },
    { SPR_TILE_ORANGE, "tile_orange.tga" },
    { SPR_TILE_WILD, "tile_wild.tga" },
    { SPR_TILE_BLOCKER, "tile_blocker.tga" },
    { SPR_TILE_BEAR, "tile_bear.tga" },
    { SPR_TILE_CHERRIES, "tile_cherries.tga" },
    { SPR_TILE_CHOCOLATE, "tile_chocolate.tga" },
    { SPR_TILE_GRAPEFRUIT, "tile_grapefruit.tga" },
    { SPR_TILE_LIFESAVER, "tile_lifesaver.tga" },
    { SPR_TILE_PEPPERMINT, "tile_peppermint.tga" },
    { SPR_TILE_WORM, "tile_worm.tga" },
    // buttons
    { SPR_ICON_HIGHSCORES, "icon_highscores.tga" },
    { SPR_ICON_HIGHSCORES_LIT, "icon_highscores_lit.tga" },
    // glyphs
    { SPR_FONT_COMMA, "font_comma.tga" },
    { SPR_FONT_DIGIT + 0, "font_zero.tga" },
    { SPR_FONT_DIGIT + 1, "font_one.tga" },
    { SPR_FONT_DIGIT + 2, "font_two.tga" },
    { SPR_FONT_DIGIT + 3, "font_three.tga" },
    { SPR_FONT_DIGIT + 4, "font_four.tga" },
    { SPR_FONT_DIGIT + 5, "font_five.tga" },
    { SPR_FONT_DIGIT + 6, "font_six.tga" },
    { SPR_FONT_DIGIT + 7, "font_seven.tga" },
    { SPR_FONT_DIGIT + 8, "font_eight.tga" },
    { SPR_FONT_DIGIT + 9, "font_nine.tga" },
    // explosions
    { SPR_TILE_WILD_EX00, "anim_tile_wild_ex00.tga" },
    EXPLOSION_FRAMES(SPR_TILE_BLOCKER, "blocker"),
    EXPLOSION_FRAMES(SPR_TILE_ORANGE, "orange"),
    EXPLOSION_FRAMES(SPR_TILE_PURPLE, "purple"),
    EXPLOSION_FRAMES(SPR_TILE_YELLOW, "yellow"),
    EXPLOSION_FRAMES(SPR_TILE_BLUE, "blue"),
    EXPLOSION_FRAMES(SPR_TILE_GREEN, "green"),
    EXPLOSION_FRAMES(SPR_TILE_RED, "red"),
    { SPR_ANIM_GENERIC + 0, "anim_tile_generic00.tga" },
    { SPR_ANIM_GENERIC + 1, "anim_tile_generic01.tga" },
    { SPR_ANIM_GENERIC + 2, "anim_tile_generic02.tga" },
    { SPR_ANIM_GENERIC + 3, "anim_tile_generic03.tga" },
    { SPR_ANIM_GENERIC + 4, "anim_tile_generic04.tga" },
    { SPR_ANIM_GENERIC + 5, "anim_tile_generic05.tga" },
    { SPR_ANIM_GENERIC + 6, "anim_tile_generic06.tga" },
    { SPR_ANIM_GENERIC + 7, "anim_tile_generic07.tga" },
    { SPR_ANIM_GENERIC + 8, "anim_tile_generic08.tga" },
    { SPR_ANIM_GENERIC + 9, "anim_tile_generic09.tga" },
    { SPR_ANIM_GENERIC + 10, "anim_tile_generic10.tga" },
};

#undef EXPLOSION_FRAMES

const int s_spriteFileCount = (int)(sizeof(s_spriteFiles) / sizeof(s_spriteFiles[0]));
static_assert(sizeof(s_spriteFiles) / sizeof(s_spriteFiles[0]) == 143, "the game loads 143 pictures");

// The bar is paced for 130 files and so fills up before the last few.
const float s_loadingBarFiles = 130.0f;
const float s_loadingBarShare = 0.95f;

} // namespace

bool GameApp::loadImages()
{
    setSystemCursorVisible(false);
    advanceLoadingBar(0.0f);

    for (int k = 0; k < s_spriteFileCount; k++) {
        const SpriteFile &file = s_spriteFiles[k];
        if (k > 0) {
            advanceLoadingBar(s_loadingBarShare * (float)k / s_loadingBarFiles);
        }
        QVSprite &sprite = m_sprites[file.m_iSlot];
        if (!sprite.load(m_pDisplayDevice, m_pResourceFileSystem, file.m_szName)) {
            errorPrintf("Missing file '%s'", file.m_szName);
            return false;
        }
        if (file.m_iSlot == SPR_TIMER) {
            m_timeBarRect.bottom = m_timeBarRect.top + sprite.getHeight();
        }
    }

    setSystemCursorVisible(!useSpriteCursor());
    return true;
}

void GameApp::releaseImages()
{
    // Every load is given back, however many there were: the surfaces belong
    // to the display device that is about to go.
    for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
        while (m_sprites[i].isLoaded()) {
            m_sprites[i].release();
        }
    }
}

void GameApp::destroyDevices()
{
    m_alarmVoice = -1;
    destroyAudio();
    if (m_pDisplayDevice && m_textFont) {
        m_pDisplayDevice->destroyFont(m_textFont);
    }
    m_textFont = nullptr;
    tracePrintf("...unloading graphics\n");
    releaseImages();
    QVApplication::destroyDevices();
}
