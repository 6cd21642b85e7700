// The in-game button bar: places, pictures, hover, when each button shows
// and when a click acts or passes on to the game.
#include "GameDialogsTestSupport.h"

#include <chrono>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PauseButton.h"
#include "QVControl.h"

namespace {

struct ButtonPicture {
    int sprite;
    const char *file;
    int w, h;
    uint8_t r, g, b;
};

const ButtonPicture kPictures[] = {
    { SPR_CLICK_TO_START_LIT, "icon_click_to_start_lit.tga", 100, 30, 250, 250, 0 },
    { SPR_ICON_PAUSE, "icon_pause.tga", 20, 20, 200, 0, 0 },
    { SPR_ICON_PAUSE_LIT, "icon_pause_lit.tga", 20, 20, 0, 200, 0 },
    { SPR_ICON_RESUME, "icon_resume.tga", 20, 20, 0, 0, 200 },
    { SPR_ICON_RESUME_LIT, "icon_resume_lit.tga", 20, 20, 0, 200, 200 },
    { SPR_ICON_RESTART, "icon_restart.tga", 24, 22, 200, 0, 200 },
    { SPR_ICON_RESTART_LIT, "icon_restart_lit.tga", 24, 22, 250, 100, 250 },
    { SPR_PARTNERLOGO, "partnerlogo.tga", 40, 30, 100, 100, 0 },
    { SPR_PARTNERLOGO_LIT, "partnerlogo_lit.tga", 40, 30, 200, 200, 0 },
    { SPR_ICON_OPTIONS, "icon_options.tga", 26, 20, 0, 100, 100 },
    { SPR_ICON_OPTIONS_LIT, "icon_options_lit.tga", 26, 20, 0, 250, 250 },
    { SPR_ICON_HIGHSCORES, "icon_highscores.tga", 28, 20, 100, 0, 100 },
    { SPR_ICON_HIGHSCORES_LIT, "icon_highscores_lit.tga", 28, 20, 250, 0, 100 },
    { SPR_ICON_EXIT, "icon_exit.tga", 30, 20, 100, 50, 0 },
    { SPR_ICON_EXIT_LIT, "icon_exit_lit.tga", 30, 20, 250, 120, 0 },
    { SPR_LOGO, "logo.tga", 50, 30, 50, 50, 50 },
    { SPR_LOGO_LIT, "logo_lit.tga", 50, 30, 150, 150, 150 },
};

// Where each button is and how big its picture is.
struct Place {
    int x, y, w, h;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};
const Place kStart = { 114, 388, 100, 30 };
const Place kPause = { 452, 315, 20, 20 };
const Place kRestart = { 470, 419, 24, 22 };
const Place kPartner = { 252, 442, 40, 30 };
const Place kOptions = { 473, 347, 26, 20 };
const Place kHighScores = { 451, 375, 28, 20 };
const Place kExit = { 504, 445, 30, 20 };
const Place kLogo = { 1, 443, 50, 30 };

class ButtonsTest : public GameDialogsTest {
protected:
    void SetUp() override
    {
        GameDialogsTest::SetUp();
        alarm(120);
        for (const ButtonPicture &p : kPictures) {
            picture(p.file, p.w, p.h, p.r, p.g, p.b);
        }
    }
    void TearDown() override
    {
        alarm(0);
        GameDialogsTest::TearDown();
    }
    void loadPictures(bool withPartner)
    {
        for (const ButtonPicture &p : kPictures) {
            const bool partner = p.sprite == SPR_PARTNERLOGO || p.sprite == SPR_PARTNERLOGO_LIT;
            if (!partner || withPartner) {
                ASSERT_TRUE(load(app.m_sprites[p.sprite], p.file)) << p.file;
            }
        }
    }
    void build(bool withPartner = true)
    {
        loadPictures(withPartner);
        app.createButtonBar();
    }
    std::vector<QVControl *> controls()
    {
        std::vector<QVControl *> out;
        HObjectList *list = app.getControls();
        for (HListNode *node = list->getHead(); node; node = list->getNext(node)) {
            out.push_back(static_cast<QVControl *>(node->getObject()));
        }
        return out;
    }
    QVControl *at(const Place &place)
    {
        for (QVControl *control : controls()) {
            if (control->getRect().left == place.x && control->getRect().top == place.y) {
                return control;
            }
        }
        return nullptr;
    }
    HEvent event(int type, int x, int y, int key = 0) { return testEvent(type, x, y, key); }
    bool click(const Place &place)
    {
        app.dispatchToControls(event(ET_MOUSEMOVE, place.cx(), place.cy()));
        return app.dispatchToControls(event(ET_KEYDOWN, place.cx(), place.cy(), KC_LBUTTON));
    }
    void hover(int x, int y) { app.dispatchToControls(event(ET_MOUSEMOVE, x, y)); }
    void drawAll()
    {
        clearScreen();
        const HRect screen = { 0, 0, 640, 480 };
        app.drawControls(display, screen, false);
    }
    uint16_t at(const Place &place, int) { return pixel(place.cx(), place.cy()); }
    void playing()
    {
        app.m_settings.m_iDidTutorial = 1;
        app.m_state = GS_PLAYING;
    }
};

TEST_F(ButtonsTest, BarPlacesAndRegistrationOrder)
{
    build();
    const std::vector<QVControl *> list = controls();
    ASSERT_EQ(list.size(), 8u);
    // Newest first: the logo sees an event first, the start button last.
    const Place order[8] = { kLogo, kExit, kHighScores, kOptions, kPartner, kRestart, kPause, kStart };
    for (int i = 0; i < 8; i++) {
        const HRect r = list[i]->getRect();
        EXPECT_EQ(r.left, order[i].x) << i;
        EXPECT_EQ(r.top, order[i].y) << i;
        EXPECT_EQ(r.right, order[i].x + order[i].w) << i;
        EXPECT_EQ(r.bottom, order[i].y + order[i].h) << i;
        EXPECT_STREQ(list[i]->getClassName(), "QVControl") << i;
        EXPECT_FALSE(list[i]->isVisibleUnderDialog()) << i;
        EXPECT_TRUE(list[i]->isEnabled()) << i;
    }
}

TEST_F(ButtonsTest, NoPartnerButtonWithoutItsLogo)
{
    build(false);
    EXPECT_EQ(controls().size(), 7u);
    EXPECT_EQ(at(kPartner), nullptr);
    EXPECT_NE(at(kLogo), nullptr);
}

TEST_F(ButtonsTest, HoverSwapsToTheLitPicture)
{
    build();
    playing();
    drawAll();
    const uint16_t exitPlain = at(kExit, 0);
    const uint16_t optionsPlain = at(kOptions, 0);
    EXPECT_NE(exitPlain, 0);
    EXPECT_NE(optionsPlain, 0);

    hover(kExit.cx(), kExit.cy());
    EXPECT_TRUE(at(kExit)->isHighlighted());
    drawAll();
    const uint16_t exitLit = at(kExit, 0);
    EXPECT_NE(exitLit, exitPlain);
    EXPECT_NE(exitLit, 0);
    EXPECT_EQ(at(kOptions, 0), optionsPlain);
    // Bounds included: the pixel just past the picture still counts.
    hover(kOptions.x + kOptions.w, kOptions.y + kOptions.h);
    EXPECT_FALSE(at(kExit)->isHighlighted());
    EXPECT_TRUE(at(kOptions)->isHighlighted());
    drawAll();
    EXPECT_EQ(at(kExit, 0), exitPlain);
    EXPECT_NE(at(kOptions, 0), optionsPlain);
    // Lit pictures are the brighter ones here.
    EXPECT_GT(at(kOptions, 0), optionsPlain);
    EXPECT_GT(exitLit, exitPlain);
}

TEST_F(ButtonsTest, TutorialShowsOnlyStartExitAndLinks)
{
    build();
    app.m_settings.m_iDidTutorial = 0;
    app.m_state = GS_INFO_HINT;
    hover(kStart.cx(), kStart.cy());
    drawAll();
    EXPECT_NE(at(kStart, 0), 0);  // the lit picture is its only one
    hover(0, 0);
    drawAll();
    EXPECT_EQ(at(kStart, 0), 0);
    for (const Place *hidden : { &kPause, &kRestart, &kOptions, &kHighScores }) {
        EXPECT_EQ(at(*hidden, 0), 0) << hidden->x;
    }
    EXPECT_NE(at(kExit, 0), 0);
    EXPECT_NE(at(kLogo, 0), 0);
    EXPECT_NE(at(kPartner, 0), 0);

    // Their clicks reach the game instead.
    app.m_state = GS_PLAYING;
    for (const Place *hidden : { &kPause, &kRestart, &kOptions, &kHighScores }) {
        EXPECT_FALSE(click(*hidden)) << hidden->x;
    }
    EXPECT_FALSE(app.isUserPaused());
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
}

TEST_F(ButtonsTest, StartButtonShowsOnInfoScreensOnlyAndOnlyLit)
{
    build();
    app.m_settings.m_iDidTutorial = 1;
    app.m_state = GS_INFO_START;
    drawAll();
    EXPECT_EQ(at(kStart, 0), 0);  // no normal picture
    hover(kStart.cx(), kStart.cy());
    drawAll();
    EXPECT_NE(at(kStart, 0), 0);
    app.setPaused(true);
    drawAll();
    EXPECT_EQ(at(kStart, 0), 0);
    app.setPaused(false);
    app.m_state = GS_PLAYING;
    drawAll();
    EXPECT_EQ(at(kStart, 0), 0);
    EXPECT_FALSE(click(kStart));
    EXPECT_EQ(app.m_state, GS_PLAYING);
}

TEST_F(ButtonsTest, StartOnAnInfoScreenContinuesTheGame)
{
    build();
    app.m_settings.m_iDidTutorial = 1;
    app.m_state = GS_INFO_RED;
    app.m_score = 4321;
    app.m_levelIndex = 6;
    ASSERT_TRUE(load(app.m_sprites[SPR_INFO_FIRST + (GS_INFO_RED - GS_INFO_START)], "logo.tga"));
    EXPECT_TRUE(click(kStart));
    EXPECT_EQ(app.m_state, GS_GET_READY);
    EXPECT_EQ(app.m_countdown, 1000);
    EXPECT_EQ(app.m_countdownTotal, 1000);
    EXPECT_EQ(app.m_score, 4321u);
    EXPECT_EQ(app.m_levelIndex, 6);
    // The info picture was given back.
    EXPECT_FALSE(app.m_sprites[SPR_INFO_FIRST + (GS_INFO_RED - GS_INFO_START)].isLoaded());
}

TEST_F(ButtonsTest, StartOnTheTitleBeginsAGameAtTheStartLevel)
{
    build();
    app.initLevelTable();
    app.m_settings.m_iDidTutorial = 1;
    app.m_settings.m_iStartLevel = 14;
    app.m_state = GS_INFO_START;
    app.m_score = 99;
    EXPECT_TRUE(click(kStart));
    EXPECT_EQ(app.m_state, GS_GET_READY);
    EXPECT_EQ(app.m_countdown, 1000);
    EXPECT_EQ(app.m_levelIndex, 13);
    EXPECT_EQ(app.m_score, 0u);
}

TEST_F(ButtonsTest, PauseButtonFollowsThePause)
{
    build();
    playing();
    PauseButton *pause = static_cast<PauseButton *>(at(kPause));
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_PAUSE]);
    EXPECT_EQ(pause->getHighlightSprite(), &app.m_sprites[SPR_ICON_PAUSE_LIT]);

    EXPECT_TRUE(click(kPause));
    EXPECT_TRUE(app.isUserPaused());
    EXPECT_TRUE(app.isPaused());
    EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_RESUME]);
    EXPECT_EQ(pause->getHighlightSprite(), &app.m_sprites[SPR_ICON_RESUME_LIT]);
    drawAll();
    const uint16_t resumeLit = at(kPause, 0);
    EXPECT_NE(resumeLit, 0);

    EXPECT_TRUE(click(kPause));
    EXPECT_FALSE(app.isUserPaused());
    EXPECT_FALSE(app.isPaused());
    EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_PAUSE]);
    drawAll();
    EXPECT_NE(at(kPause, 0), resumeLit);
    EXPECT_NE(at(kPause, 0), 0);

    // A pause from elsewhere shows at the next event the button sees.
    app.setPaused(true);
    hover(0, 0);
    EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_RESUME]);
    app.setPaused(false);
}

TEST_F(ButtonsTest, PauseButtonBetweenLevelsOnlyResumes)
{
    build();
    playing();
    PauseButton *pause = static_cast<PauseButton *>(at(kPause));
    for (int state = GS_LEVEL_DONE; state <= GS_START_BONUS; state++) {
        app.m_state = state;
        EXPECT_FALSE(click(kPause)) << state;
        EXPECT_FALSE(app.isUserPaused()) << state;
        EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_PAUSE]) << state;
    }
    app.m_state = GS_BONUS_COUNT;
    app.setPaused(true);
    EXPECT_TRUE(click(kPause));
    EXPECT_FALSE(app.isUserPaused());
    EXPECT_EQ(app.pauseCount(), 0);
    // Not in play: the pictures stay as they were.
    EXPECT_EQ(pause->getNormalSprite(), &app.m_sprites[SPR_ICON_RESUME]);
}

TEST_F(ButtonsTest, RestartHiddenAndInertOnTheTitle)
{
    build();
    app.m_settings.m_iDidTutorial = 1;
    app.m_state = GS_INFO_START;
    drawAll();
    EXPECT_EQ(at(kRestart, 0), 0);
    app.m_buttonHeld = true;
    EXPECT_FALSE(click(kRestart));
    EXPECT_FALSE(app.m_buttonHeld);  // cleared on every click
    app.m_state = GS_PLAYING;
    hover(0, 0);
    drawAll();
    EXPECT_NE(at(kRestart, 0), 0);
}

TEST_F(ButtonsTest, RestartAsksAndCancelKeepsTheGame)
{
    build();
    playing();
    app.m_timeLeft = 30.0f;
    int opened = 0;
    app.onFrame = [&](int) {
        GameTestClock::now() += 10;
        if (QVDialog::getOpenDialogCount() > opened) {
            opened = QVDialog::getOpenDialogCount();
            app.postEnter();  // the question's default is cancel
        }
    };
    app.m_buttonHeld = true;
    EXPECT_TRUE(click(kRestart));
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(app.m_buttonHeld);
    EXPECT_EQ(app.m_state, GS_PLAYING);
}

// The question waits on idle ticks stamped 1 ms apart (the clock moves
// only by the queue's idle sleep): each must sleep out the idle step.
TEST_F(ButtonsTest, RestartQuestionIdlesAtTheGameStep)
{
    build();
    playing();
    app.m_timeLeft = 30.0f;
    int frames = 0;
    app.onFrame = [&](int) {
        if (QVDialog::getOpenDialogCount() == 1 && frames < 60 && ++frames == 60) {
            app.postEnter();
        }
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(click(kRestart));
    const auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(frames, 60);
    EXPECT_GE(slept, 120) << "the restart question took its idle ticks unpaced";
}

TEST_F(ButtonsTest, HighScoresAndOptionsButtonsOpenTheirScreens)
{
    build();
    playing();
    int opened = 0;
    int pausedInside = 0;
    app.onFrame = [&](int) {
        GameTestClock::now() += 10;
        if (QVDialog::getOpenDialogCount() == 1 && !opened) {
            opened = 1;
            pausedInside = app.pauseCount();
            app.postEnter();
        }
    };
    app.m_buttonHeld = true;
    EXPECT_TRUE(click(kHighScores));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(pausedInside, 1);
    EXPECT_FALSE(app.m_buttonHeld);
    EXPECT_EQ(app.pauseCount(), 0);

    opened = 0;
    app.m_buttonHeld = true;
    EXPECT_TRUE(click(kOptions));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(pausedInside, 1);
    EXPECT_FALSE(app.m_buttonHeld);
}

TEST_F(ButtonsTest, ExitWorksEverywhereAndEndsThePause)
{
    build();
    for (int state : { (int)GS_INFO_START, (int)GS_PLAYING, (int)GS_BONUS_COUNT }) {
        app.m_settings.m_iDidTutorial = 0;
        app.m_state = state;
        app.setPaused(true);
        app.m_buttonHeld = true;
        EXPECT_TRUE(click(kExit)) << state;
        EXPECT_EQ(app.m_state, GS_EXITING);
        EXPECT_FALSE(app.isUserPaused());
        EXPECT_FALSE(app.m_buttonHeld);
    }
}

// Clicks on the link buttons must fall through when links are disabled. A
// link that acted would start a browser and end the process, so the clicks
// run in a child whose exit status tells what happened.
TEST_F(ButtonsTest, DisabledLinksPassClicksOn)
{
    build();
    playing();
    app.m_linksDisabled = true;
    // Drawn all the same, and they still light up.
    drawAll();
    EXPECT_NE(at(kLogo, 0), 0);
    EXPECT_NE(at(kPartner, 0), 0);
    hover(kLogo.cx(), kLogo.cy());
    EXPECT_TRUE(at(kLogo)->isHighlighted());

    fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("PATH", "", 1);
        const bool logo = click(kLogo);
        const bool partner = click(kPartner);
        _exit(!logo && !partner ? 42 : 1);
    }
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 1000 && done == 0; i++) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0) {
            usleep(10000);
        }
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
}

} // namespace
