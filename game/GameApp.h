#ifndef GAMEAPP_H
#define GAMEAPP_H

#include <cstdint>

#include "QVApplication.h"
#include "GameBoard.h"
#include "GameBoardView.h"
#include "GameSettings.h"
#include "GameSprites.h"
#include "GameState.h"
#include "HighScoreTable.h"
#include "LevelInfo.h"

struct H2DFont;
class GameApp;
class HighScoreDialog;

// A score text rising from the last click; time 0 means the slot is free.
struct FloatingScore {
    int         m_value;
    float       m_x, m_y;
    float       m_prevX, m_prevY;
    float       m_velX, m_velY;         // pixels per second
    float       m_accX, m_accY;         // pixels per second squared
    int         m_timeMs;
};

enum {
    FLOATING_SCORE_COUNT    = 8,
    TYPED_LEVEL_SIZE        = 16,       // 15 digits and the NUL
    HIGHEST_START_LEVEL     = 99,       // the HUD's level box shows two digits
    // Idle steps of the game are as far apart as the framework's.
    IDLE_TICK_MS            = QV_IDLE_STEP_MS,

    // Board geometry on the screen.
    BOARD_LEFT              = 107,
    BOARD_TOP               = 101,
    CELL_PITCH              = 42,
    PLAY_AREA_LEFT          = 23,
    PLAY_AREA_TOP           = 17,
    // The bar lies in the arena's trough, which starts right of the
    // tutorial page's left edge so that none of it shows beside the page.
    TIME_BAR_LEFT           = 66,
    TIME_BAR_TOP            = 402,

    // ET_COMMAND codes (in the event's flag word)
    GAME_COMMAND_HIGHSCORES = 0,
    GAME_COMMAND_OPTIONS    = 1,
    GAME_COMMAND_RESTART    = 2
};

// The maker's web address: the partner link's default and the logo's page.
extern const char gameMakerAddress[];
// Window caption, also used when the devices restart.
extern const char gameWindowCaption[];

// HUD rectangles, fixed for the whole run.
extern const HRect scoreRect;
extern const HRect levelRect;
extern const HRect crunchesRect;
extern const HRect messageRect;

// The game: the one application object. Its work is spread over several
// files by subject:
//   GameApp.cpp          construction, start-up, loading screen, shutdown
//   GameAppInput.cpp     event dispatch, clicks, keys, developer keys
//   GameAppState.cpp     game clock, tick, states, scoring, time bar
//   GameAppLevels.cpp    level table, new game, level start
//   GameAppSound.cpp     effects, alarm, music
//   GameAppSprites.cpp   sprite loading and release, device tear-down
//   GameAppDraw.cpp      board and tile drawing
//   GameAppHud.cpp       HUD, numbers, time bar drawing
//   GameAppTutorial.cpp  tutorial pages and hand
//   GameAppDialogs.cpp   game over, names, high scores, options, buttons
//
// Game state is public: the buttons, the dialogs and the drawing all read it,
// and every one of them is part of the game.
class GameApp : public QVApplication, public GameBoardView {
public:
                        GameApp();
                        ~GameApp() override;

    // --- QVApplication overrides, in the base's slot order ---
    const char *        getApplicationName() override;
    bool                initialize(const char *commandString, const char *resourceDirectory) override;
    void                destroyDevices() override;
    void                shutdown() override;
    bool                handleEvent(const HEvent &event) override;
    void                drawBackground(const HRect &rect, bool underDialog) override;
    QVSprite *          getCursorSprite() override;
    bool                canDraw() override;
    void                setActive(bool active) override;
    void                setMusicPlaying(bool on) override;

    // --- GameBoardView ---
    QVSprite *          selectTileSprite(TileCell *cell) override;
    void                getTileSpriteSize(const QVSprite *sprite, int *width, int *height) override;
    void                getPlayAreaRect(int rect[4]) override;
    void                invalidateBoardRect(int left, int top, int right, int bottom) override;

    // --- start-up and loading screen ---
    bool                loadAssets();
    void                showLoadingScreen();
    void                advanceLoadingBar(float fraction);
    void                releaseLoadingScreen();

    // --- input ---
    void                onMouseDown(int x, int y);
    void                onMouseDrag(int x, int y);
    void                onKeyDown(const HEvent &event);
    void                onKeyUp(const HEvent &event);
    // 0 down, 1 left, 2 right, 3 up
    void                handleArrowKey(int direction);
    void                confirmRestart();
    // Always true: the following tick ends the main loop.
    bool                exitGame();
    void                openPartnerLink();

    // --- accessors ---
    bool                isTutorialActive() const { return m_settings.m_iDidTutorial == 0; }
    H2DFont *           getTextFont() const { return m_textFont; }
    void                setButtonHeld(bool held) { m_buttonHeld = held; }
    bool                areLinksDisabled() const { return m_linksDisabled; }
    void                showSystemCursor(bool show) { setSystemCursorVisible(show); }
    void                pause(bool paused) { setPaused(paused); }
    bool                isUserPaused() const { return m_paused; }

    // --- state machine and tick ---
    // Takes the game clock from an ET_TIMESTAMP or ET_QUIT event.
    void                stampGameClock(const HEvent &event);
    // One step; false only when exiting.
    bool                update();
    void                processCrunches(bool *wildArrived);
    void                updateTimeBar();
    void                addFloatingScore(int value);
    void                updateFloatingScores(int elapsedMs);
    void                drawFloatingScores(const HRect &rect);
    bool                isNotOnTitle() const { return m_state != GS_INFO_START; }
    bool                isGameInPlay() const { return !(m_state >= GS_LEVEL_DONE && m_state <= GS_START_BONUS); }
    void                resetToTitle();
    // Enters a state: both countdowns to its length (0 for untimed states).
    void                enterState(int state, int lengthMs);

    // --- levels ---
    void                initLevelTable();
    void                newGame(int levelNumber);
    void                startLevel();
    // Row of the current level (levels past the last use the last row).
    const LevelInfo &   currentLevelRow() const;

    // --- sound and music ---
    bool                loadSounds(bool withProgress);
    void                playSound(const char *name, int volume, int pan, bool overlap);
    void                setAlarmVolume(uint8_t volume);
    void                stopAlarm();
    void                toggleSound();
    void                toggleMusic();

    // --- sprites and device tear-down ---
    bool                loadImages();
    void                releaseImages();

    // --- board and tile drawing ---
    void                m_drawTiles(const HRect &rect);
    void                m_drawTilesRefilling(const HRect &rect);
    void                drawSlidingTiles(const HRect &rect);
    void                drawTileSprite(const TileCell &cell, int x, int y, uint8_t glow, const HRect &clip);
    void                invalidatePlayArea();
    void                animateSlide();
    // Tells the player, once per picture, of an info screen that could not be
    // loaded. Called between frames: a message box covers the screen.
    void                reportFailedInfoScreens();

    // --- HUD ---
    QVSprite *          digitSprite(char c);
    void                drawNumber(const char *text, int x, int y, const HRect &clip);
    void                drawTimeBar(const HRect &rect);
    void                drawHud(const HRect &rect);

    // --- tutorial ---
    void                loadTutorialPages();
    void                releaseTutorialPages();
    bool                tutorialHandRect(HRect *outRect);
    void                drawTutorial(const HRect &rect);

    // --- dialogs, settings and buttons ---
    void                showGameOver();
    void                enterHighScoreName();
    void                showHighScores();
    void                confirmClearHighScores(HighScoreDialog *dialog);
    void                showOptions();
    void                setPaused(bool paused);
    void                createPlayButtons();
    void                createButtonBar();

    // --- data, in construction order ---
    int                 m_levelIndex;           // level number - 1, never capped
    int                 m_crunchesNeeded;       // lines still to clear
    float               m_timeLeft;             // seconds on the level clock
    float               m_levelTime;
    float               m_secondsPerCrunch;
    int                 m_startBonus;           // start bonus still to pay
    int                 m_slideFrom[2];         // blank before the last move (column, row)
    int                 m_lastClick[2];         // pointer at the last move
    char                m_typedLevel[TYPED_LEVEL_SIZE];
    int                 m_typedCount;
    bool                m_buttonHeld;           // left button went down on the play area
    int                 m_levelBonus;
    int                 m_startBonusShown;
    HRect               m_timeBarRect;
    int                 m_bitesFrame;
    bool                m_devMode;
    bool                m_linksDisabled;
    int                 m_tutorialStep;         // next scripted click; 5 = over
    uint32_t            m_score;
    GameBoard           m_board;
    int                 m_state;                // GameState
    int                 m_countdown;            // ms left of the timed state
    int                 m_countdownTotal;
    int64_t             m_gameTime;
    int64_t             m_lastTickTime;         // 0 = not yet set
    // Event clock less pauses at the last stamp, on the stamps' 32 bits.
    uint32_t            m_lastClockReading;
    bool                m_clockRead;
    GameSettings        m_settings;
    FloatingScore       m_floatingScores[FLOATING_SCORE_COUNT];
    LevelInfo           m_levels[LEVEL_COUNT];
    HRect               m_playAreaRect;
    QVSprite            m_sprites[GAME_SPRITE_COUNT];
    int                 m_alarmVoice;           // -1 when none
    bool                m_alarmPlaying;
    HighScoreTable      m_highScores;
    H2DFont *           m_textFont;

    // Game time of the last bonus-count click.
    int64_t             m_lastBonusClickTime;
    // Info screens, one bit each in state order: failed to load at the last
    // try / already reported to the player.
    uint32_t            m_infoScreensFailed;
    uint32_t            m_infoScreensReported;

private:
    // The developer access sequence and keys; true when the key press was
    // used up.
    bool                m_handleDeveloperKeys(const HEvent &event);
    // A legal, blocked or invalid move toward a cell; sound and state follow.
    void                m_makeMove(int column, int row);
    // The level clock, game over and the alarm, while playing.
    void                m_levelClock(int elapsedMs);
    // Draws a figure clipped to clip, or with no clip only measures it;
    // either way returns the area its glyphs cover.
    HRect               m_layOutNumber(const char *text, int x, int y, const HRect *clip);
    // The same for a floating score's figure at its present place.
    HRect               m_layOutFloatingScore(const FloatingScore &score, const HRect *clip);
};

// Plays "guiclick.wav" centred at 128 through the application's sample cache.
void                    playClickSound(QVApplication *app);
// Switches between window and full screen, restarting the devices when the
// display cannot switch in place; a restart that fails ends the game after
// its alert. Inside GameApp members call it as
// ::toggleFullscreen(this): the base's member of the same name hides it.
void                    toggleFullscreen(GameApp *app);

#endif // GAMEAPP_H
