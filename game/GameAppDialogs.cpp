// The game's dialogs, its pause switch, the full-screen switch and the
// button bar.
#include "GameApp.h"

#include "EnterNameDialog.h"
#include "ExitButton.h"
#include "GameOverDialog.h"
#include "HighScoreDialog.h"
#include "HighScoresButton.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HString.h"
#include "LogoLinkButton.h"
#include "OptionsButton.h"
#include "OptionsDialog.h"
#include "PartnerLinkButton.h"
#include "PauseButton.h"
#include "RestartButton.h"
#include "StartButton.h"

// The table's game: its owner, else the program's one application.
static GameApp *s_scoreGame(GameApp *pOwner)
{
    return pOwner ? pOwner : static_cast<GameApp *>(QVApplication::currentApplication());
}

// The parts of the high-score table that read the running game; kept here so
// the table itself links without the application.
int HighScoreTable::rank() const
{
    const GameApp *pGame = s_scoreGame(m_pGame);
    return pGame ? rankScore(pGame->m_score) : -1;
}

void HighScoreTable::insert(const char *pszName)
{
    GameApp *pGame = s_scoreGame(m_pGame);
    if (!pGame) {
        return;
    }
    // A score that does not rank changes nothing and shows nothing.
    if (insertScore(pszName, pGame->m_score, pGame->m_levelIndex + 1) < 0) {
        return;
    }
    save();
    pGame->showHighScores();
}

// Buffer for the login name offered as the player's name.
enum { LOGIN_NAME_SIZE = 25 };

void GameApp::showGameOver()
{
    GameOverDialog *dialog = new GameOverDialog;
    dialog->build(m_pDisplayDevice, m_pResourceFileSystem);
    dialog->doModal(this, m_pDisplayDevice, &m_eventQueue, GameOverDialog::kiHoldMs, this);
    dialog->releaseSprites();
    delete dialog;
}

void GameApp::enterHighScoreName()
{
    char login[LOGIN_NAME_SIZE];
    if (!getLoginName(login, sizeof(login))) {
        login[0] = '\0';
    }

    EnterNameDialog *dialog = new EnterNameDialog;
    dialog->build(m_pDisplayDevice, m_pResourceFileSystem, m_textFont, m_score, login);
    dialog->doModal(this, m_pDisplayDevice, &m_eventQueue, 0, this);
    // A quit enters the score too, under whatever the line holds.
    char name[HighScoreEntry::kiNameSize];
    stringCopyBounded(name, dialog->getName(), sizeof(name));
    m_highScores.insert(name);
    dialog->releaseSprites();
    delete dialog;
}

void GameApp::showHighScores()
{
    m_beginPause();
    // The low-time klaxon must not go on looping over the table.
    stopAlarm();

    HighScoreDialog *dialog = new HighScoreDialog;
    dialog->build(m_pDisplayDevice, m_pResourceFileSystem, m_textFont, m_highScores);
    // CLEAR ALL is answered inside the loop (confirmClearHighScores), so
    // only OK or a quit ends it.
    dialog->doModal(this, m_pDisplayDevice, &m_eventQueue, 0, this);

    dialog->releaseSprites();
    m_endPause();
    delete dialog;
}

void GameApp::confirmClearHighScores(HighScoreDialog *dialog)
{
    m_beginPause();
    stopAlarm();
    const int answer = confirmDialog(-1, -1, 0, "highscores_areyousure.jpg",
                                     "highscores_areyousure_yes.tga", "highscores_areyousure_yes_lit.tga",
                                     "highscores_areyousure_no.tga", "highscores_areyousure_no_lit.tga");
    // Only YES wipes the table; a close of the window (2) keeps it, as NO
    // does.
    if (answer == 1) {
        m_highScores.load(true);
        if (dialog) {
            dialog->fillList(m_highScores);
        }
        m_highScores.save();
    }
    playClickSound(this);
    m_endPause();
}

void GameApp::showOptions()
{
    OptionsDialog *dialog = new OptionsDialog;
    m_beginPause();
    stopAlarm();
    dialog->build(m_pDisplayDevice, m_pResourceFileSystem, &m_settings);

    const int32_t fullscreen = m_settings.m_iFullscreen;
    dialog->doModal(this, m_pDisplayDevice, &m_eventQueue, 0, this);
    dialog->readBack();
    dialog->clearItems();

    // The display switches once, on the way out, and only for a real change.
    if ((m_settings.m_iFullscreen != 0) != (fullscreen != 0)) {
        m_settings.m_iFullscreen = fullscreen;
        ::toggleFullscreen(this);
    }

    m_settings.save();
    m_endPause();
    delete dialog;
}

void GameApp::setPaused(bool paused)
{
    if (m_paused == paused) {
        return;
    }
    if (paused) {
        m_beginPause();
        stopAlarm();
        m_paused = true;
    } else {
        m_endPause();
        m_paused = false;
    }
}

void GameApp::createPlayButtons()
{
    StartButton *start = new StartButton;
    start->setPosition(HPoint{ 114, 388 });
    start->setSprites(nullptr, &m_sprites[SPR_CLICK_TO_START_LIT], nullptr);
    addControl(start);

    PauseButton *pause = new PauseButton;
    pause->setPosition(HPoint{ 452, 315 });
    pause->setStateSprites(&m_sprites[SPR_ICON_PAUSE], &m_sprites[SPR_ICON_PAUSE_LIT],
                           &m_sprites[SPR_ICON_RESUME], &m_sprites[SPR_ICON_RESUME_LIT]);
    addControl(pause);
    pause->drawState();
}

// Places a bar button and hands it to the application, which deletes it at
// shutdown.
static void s_addButton(GameApp *game, QVControl *button, int32_t x, int32_t y, QVSprite *normal,
                        QVSprite *highlight)
{
    button->setSprites(normal, highlight, nullptr);
    button->setPosition(HPoint{ x, y });
    game->addControl(button);
}

void GameApp::createButtonBar()
{
    createPlayButtons();
    s_addButton(this, new RestartButton, 470, 419, &m_sprites[SPR_ICON_RESTART], &m_sprites[SPR_ICON_RESTART_LIT]);
    // Only an archive that carries a partner logo gets a partner button.
    if (m_sprites[SPR_PARTNERLOGO].isLoaded()) {
        s_addButton(this, new PartnerLinkButton, 252, 442, &m_sprites[SPR_PARTNERLOGO],
                    &m_sprites[SPR_PARTNERLOGO_LIT]);
    }
    s_addButton(this, new OptionsButton, 473, 347, &m_sprites[SPR_ICON_OPTIONS], &m_sprites[SPR_ICON_OPTIONS_LIT]);
    s_addButton(this, new HighScoresButton, 451, 375, &m_sprites[SPR_ICON_HIGHSCORES],
                &m_sprites[SPR_ICON_HIGHSCORES_LIT]);
    s_addButton(this, new ExitButton, 504, 445, &m_sprites[SPR_ICON_EXIT], &m_sprites[SPR_ICON_EXIT_LIT]);
    s_addButton(this, new LogoLinkButton, 1, 443, &m_sprites[SPR_LOGO], &m_sprites[SPR_LOGO_LIT]);
}

void toggleFullscreen(GameApp *app)
{
    if (!app) {
        return;
    }
    const char *driver = app->getCvarManager()->getVariableString("c_soundDriver");
    const bool sound = !(driver && stringCompareNoCase(driver, "null") == 0);

    app->m_settings.m_iFullscreen = !app->m_settings.m_iFullscreen;
    if (app->toggleFullscreen()) {
        return;
    }

    app->destroyDevices();
    if (!app->createDevices(gameWindowCaption, sound, app->m_settings.m_iFullscreen != 0, 1, 640, 480, 2, 16,
                            22050)) {
        alertBox("toggleFullscreen - could not restart subsystems!");
        app->m_settings.save();
        // No window to play in: the next step ends the game.
        app->exitGame();
        return;
    }
    app->m_settings.save();
    // Without a display there is nothing to load the pictures into.
    if (app->getDisplayDevice()) {
        app->loadAssets();
        // The restart gave back every picture, the tutorial pages included.
        if (app->isTutorialActive()) {
            app->loadTutorialPages();
        }
    }
    app->setMusicPlaying(true);
}
