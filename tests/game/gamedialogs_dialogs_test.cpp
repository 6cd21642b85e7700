// The game's modal dialogs driven by events on the application's queue:
// game over, name entry, the high-score screen and the options. Every modal
// loop is fed from the per-frame hook; none waits for a person.
#include "GameDialogsTestSupport.h"

#include <unistd.h>

#include "EnterNameDialog.h"
#include "GameOverDialog.h"
#include "HighScoreDialog.h"
#include "HPlatform.h"
#include "OptionsDialog.h"

namespace {

// Screen position of the play-area dialogs.
const int kDialogX = 23;
const int kDialogY = 17;

class DialogsTest : public GameDialogsTest {
protected:
    void SetUp() override
    {
        GameDialogsTest::SetUp();
        // A hung loop ends the test program instead of the run.
        alarm(120);
        picture("gameover.jpg", 400, 440, 40, 40, 40);
        picture("icon_continue.tga", 60, 30, 255, 0, 0);
        picture("icon_continue_lit.tga", 60, 30, 0, 255, 0);
        picture("entername.jpg", 400, 440, 40, 40, 40);
        picture("icon_ok.tga", 50, 30, 255, 0, 0);
        picture("icon_ok_lit.tga", 50, 30, 0, 255, 0);
        picture("highscores.jpg", 420, 440, 40, 40, 40);
        picture("highscores_ok.tga", 60, 30, 255, 0, 0);
        picture("highscores_ok_lit.tga", 60, 30, 0, 255, 0);
        picture("highscores_clearall.tga", 80, 30, 0, 0, 255);
        picture("highscores_clearall_lit.tga", 80, 30, 0, 255, 255);
        picture("highscores_areyousure.jpg", 300, 200, 80, 80, 80);
        picture("highscores_areyousure_yes.tga", 40, 20, 255, 0, 0);
        picture("highscores_areyousure_yes_lit.tga", 40, 20, 0, 255, 0);
        picture("highscores_areyousure_no.tga", 40, 20, 0, 0, 255);
        picture("highscores_areyousure_no_lit.tga", 40, 20, 0, 255, 255);
    }
    void TearDown() override
    {
        alarm(0);
        GameDialogsTest::TearDown();
    }

    // Runs the batches one after another, each once the queue is empty and
    // the previous one was taken; a batch may look at the state first.
    void script(std::vector<std::function<void()>> batches)
    {
        m_batches = std::move(batches);
        m_next = 0;
        m_quiet = 0;
        app.onFrame = [this](int) {
            GameTestClock::now() += 10;
            // Between batches only the idle tick is left waiting; two quiet
            // frames in a row, so a dialog that just closed has been
            // followed by whatever opens next.
            m_quiet = app.getEventQueue()->getPendingCount() <= 1 ? m_quiet + 1 : 0;
            if (m_next < m_batches.size() && m_quiet >= 2) {
                m_quiet = 0;
                m_batches[m_next++]();
            }
        };
    }
    bool scriptDone() const { return m_next == m_batches.size(); }

    std::vector<std::function<void()>> m_batches;
    size_t m_next = 0;
    int m_quiet = 0;
};

// --- game over ---

TEST_F(DialogsTest, GameOverButtonHiddenAndInertForTwoSeconds)
{
    GameOverDialog dialog;
    dialog.build(display, app.getResourceFileSystem());
    QVDialogItemButton *button = dialog.getContinueButton();
    const HRect r = button->getRect();
    EXPECT_EQ(r.left, kDialogX + 101);
    EXPECT_EQ(r.top, kDialogY + 293);
    EXPECT_EQ(r.right, kDialogX + 101 + 60);
    EXPECT_EQ(r.bottom, kDialogY + 293 + 30);
    EXPECT_EQ(dialog.getDefaultItem(), button);
    EXPECT_FALSE(button->isEnabled());

    const uint64_t start = GameTestClock::now();
    const int bx = r.left + 30;
    const int by = r.top + 15;
    uint64_t enabledAt = 0;
    uint64_t clickedAt = 0;
    int earlyFrames = 0;
    uint16_t background = 0;
    app.onFrame = [&](int frame) {
        GameTestClock::now() += 50;
        if (frame == 3) {
            background = pixel(kDialogX + 5, kDialogY + 5);
        }
        if (frame > 3 && !button->isEnabled()) {
            // Not drawn at all: the picture shows through.
            EXPECT_EQ(pixel(bx, by), background);
            earlyFrames++;
            // Clicks and Enter that arrive before the hold is over.
            if (app.getCurrentTime() - start < 1900) {
                app.postClick(bx, by);
                app.postEnter();
            }
        }
        if (button->isEnabled() && !enabledAt) {
            enabledAt = app.getCurrentTime();
        } else if (enabledAt && !clickedAt) {
            clickedAt = app.getCurrentTime();
            app.postClick(bx, by);
        }
    };
    const intptr_t result = dialog.doModal(&app, display, app.getEventQueue(), GameOverDialog::kiHoldMs, &app);
    dialog.releaseSprites();

    EXPECT_EQ(result, (intptr_t)button);
    EXPECT_GT(earlyFrames, 10);
    ASSERT_NE(enabledAt, 0u);
    EXPECT_GT(enabledAt - start, 2000u);
    EXPECT_LT(enabledAt - start, 2200u);
    EXPECT_NE(clickedAt, 0u);
    EXPECT_EQ(dialog.getFirstItem(), nullptr);
}

TEST_F(DialogsTest, GameOverReportsTheButtonOnlyWhenItChanges)
{
    // After the hold the loop asks on every pass; a button reported dirty
    // each time would keep the still screen redrawing.
    GameOverDialog dialog;
    dialog.build(display, app.getResourceFileSystem());
    app.getDirtyRects()->clear();
    EXPECT_FALSE(dialog.onTimeout());
    EXPECT_TRUE(dialog.getContinueButton()->isEnabled());
    EXPECT_GT(app.getDirtyRects()->getCount(), 0);
    app.getDirtyRects()->clear();
    EXPECT_FALSE(dialog.onTimeout());
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    dialog.releaseSprites();
}

TEST_F(DialogsTest, ShowGameOverClosesOnAClickAfterTheHold)
{
    // Also when the hold starts a second before the 32-bit tick count
    // wraps: the stamps then start again from 0.
    for (const uint64_t start : { GameTestClock::now(), (uint64_t)0xffffffffu - 1000 }) {
        GameTestClock::now() = start;
        app.takeStaleEvents();
        app.setCurrentTime(start);
        const int bx = kDialogX + 101 + 10;
        const int by = kDialogY + 293 + 10;
        uint32_t closedAfter = 0;
        app.frames = 0;
        app.onFrame = [&](int frame) {
            GameTestClock::now() += 100;
            app.postClick(bx, by);
            closedAfter = (uint32_t)(app.getCurrentTime() - start);
            if (frame == 100) {
                app.post(ET_QUIT);
            }
        };
        app.showGameOver();
        EXPECT_GT(closedAfter, 2000u) << start;
        EXPECT_LT(closedAfter, 2500u) << start;
        EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
    }
}

TEST_F(DialogsTest, GameOverEndsOnQuit)
{
    app.onFrame = [&](int frame) {
        if (frame == 2) {
            app.post(ET_QUIT);
        }
    };
    app.showGameOver();
    EXPECT_LT(app.frames, 10);
}

// --- name entry ---

TEST_F(DialogsTest, NameLineEditsWithBoundAndCaret)
{
    EnterNameDialog dialog;
    dialog.build(display, app.getResourceFileSystem(), nullptr, 1234, "averyveryverylongname");
    EXPECT_STREQ(dialog.getScoreLine()->getText(), "1234");
    EXPECT_FALSE(dialog.getScoreLine()->isEditable());
    EXPECT_STREQ(dialog.getScoreLine()->getName(), "Score");
    EXPECT_STREQ(dialog.getOkButton()->getName(), "Enter Name OK Button");
    EXPECT_STREQ(dialog.getEditLine()->getName(), "Enter Name Edit Line");
    EXPECT_EQ(dialog.getEditLine()->getMaxLength(), 16);
    EXPECT_EQ(dialog.getScoreLine()->getMaxLength(), 16);
    EXPECT_STREQ(dialog.getName(), "averyveryverylon");
    EXPECT_EQ(dialog.getDefaultItem(), dialog.getOkButton());
    EXPECT_EQ(dialog.getFocusedItem(), dialog.getEditLine());
    EXPECT_EQ(dialog.getOkButton()->getRect().left, kDialogX + 179);
    EXPECT_EQ(dialog.getOkButton()->getRect().top, kDialogY + 366);
    EXPECT_EQ(dialog.getEditLine()->getPosition().x, 32);
    EXPECT_EQ(dialog.getEditLine()->getPosition().y, 273);
    EXPECT_EQ(dialog.getScoreLine()->getPosition().x, 212);
    EXPECT_EQ(dialog.getScoreLine()->getPosition().y, 138);

    char shown[64];
    std::string afterBackspace;
    std::string full;
    script({
        [&] {
            // A click into the line only gives it the focus: the dialog stays.
            app.postClick(kDialogX + 32 + 10, kDialogY + 273 + 5);
            for (int i = 0; i < 3; i++) {
                app.postKey(KC_BACK, 8);
            }
        },
        [&] {
            afterBackspace = dialog.getName();
            app.postText("xyz!?");  // only three fit
        },
        [&] {
            full = dialog.getName();
            // The caret shows in the odd half-seconds while the line has focus.
            dialog.getEditLine()->getShownText(shown, sizeof(shown), 500);
            EXPECT_EQ(std::string(shown), full + "|");
            dialog.getEditLine()->getShownText(shown, sizeof(shown), 0);
            EXPECT_EQ(std::string(shown), full);
            app.postEnter();
        },
    });
    const intptr_t result = dialog.doModal(&app, display, app.getEventQueue(), 0, &app);
    dialog.releaseSprites();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(result, (intptr_t)dialog.getOkButton());
    EXPECT_EQ(afterBackspace, "averyveryvery");
    EXPECT_EQ(full, "averyveryveryxyz");
    EXPECT_STREQ(dialog.getName(), "averyveryveryxyz");
}

TEST_F(DialogsTest, EnteredNameGoesIntoTheTableAndTheRegistry)
{
    app.m_highScores.load(false);
    app.m_score = 750;
    app.m_levelIndex = 4;
    int openDuringScreen = 0;
    script({
        [&] {
            for (int i = 0; i < 30; i++) {
                app.postKey(KC_BACK, 8);
            }
            app.postText("Zed");
            app.postEnter();
        },
        [&] {
            // The high-score screen follows the name entry.
            openDuringScreen = QVDialog::getOpenDialogCount();
            app.postEnter();
        },
    });
    app.enterHighScoreName();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(openDuringScreen, 1);
    EXPECT_STREQ(app.m_highScores.getEntry(0).m_szName, "Zed");
    EXPECT_EQ(app.m_highScores.getEntry(0).m_uScore, 750u);
    EXPECT_EQ(app.m_highScores.getEntry(0).m_iLevel, 5);
    EXPECT_STREQ(app.m_highScores.getEntry(1).m_szName, "Tamsel");

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("HS:0", &bytes));
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_STREQ((const char *)bytes.data() + 4, "Zed");
    EXPECT_EQ(getWord(bytes, 36), 750u);
    EXPECT_EQ(getWord(bytes, 40), 5u);
    EXPECT_EQ(app.pauseCount(), 0);
}

TEST_F(DialogsTest, NameEntryStartsWithTheLoginNameAndQuitStillEnters)
{
    char login[25];
    std::string expected;
    if (getLoginName(login, sizeof(login))) {
        expected = std::string(login).substr(0, 16);
    }
    app.m_highScores.load(false);
    app.m_score = 20;
    app.m_levelIndex = 0;
    script({
        [&] { app.post(ET_QUIT); },
        [&] { app.postEnter(); },
    });
    app.enterHighScoreName();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(std::string(app.m_highScores.getEntry(0).m_szName), expected);
    EXPECT_EQ(app.m_highScores.getEntry(0).m_uScore, 20u);
    EXPECT_EQ(app.m_highScores.getEntry(0).m_iLevel, 1);
}

TEST_F(DialogsTest, EmptyNameIsEnteredAsEmpty)
{
    app.m_highScores.load(false);
    app.m_score = 5;
    script({
        [&] {
            for (int i = 0; i < 20; i++) {
                app.postKey(KC_BACK, 8);
            }
            app.postClick(kDialogX + 179 + 5, kDialogY + 366 + 5);
        },
        [&] { app.postEnter(); },
    });
    app.enterHighScoreName();
    EXPECT_TRUE(scriptDone());
    EXPECT_STREQ(app.m_highScores.getEntry(0).m_szName, "");
    EXPECT_EQ(app.m_highScores.getEntry(0).m_uScore, 5u);
}

// --- high-score screen ---

TEST_F(DialogsTest, ScreenListsTheTableAndRefillsFromIt)
{
    HighScoreTable table;
    table.insertScore("Ada", 900, 7);
    table.insertScore("Bo", 40, 2);
    HighScoreDialog dialog;
    dialog.build(display, app.getResourceFileSystem(), nullptr, table);
    EXPECT_EQ(dialog.getDefaultItem(), dialog.getOkButton());
    EXPECT_EQ(dialog.getOkButton()->getRect().left, kDialogX + 290);
    EXPECT_EQ(dialog.getOkButton()->getRect().top, kDialogY + 378);
    EXPECT_EQ(dialog.getClearAllButton()->getRect().left, kDialogX + 60);
    EXPECT_EQ(dialog.getClearAllButton()->getRect().top, kDialogY + 378);
    EXPECT_STREQ(dialog.getLine(0, 0)->getText(), "Ada");
    EXPECT_STREQ(dialog.getLine(0, 1)->getText(), "900");
    EXPECT_STREQ(dialog.getLine(0, 2)->getText(), "7");
    EXPECT_STREQ(dialog.getLine(1, 0)->getText(), "Bo");
    EXPECT_STREQ(dialog.getLine(4, 0)->getText(), "nobody");
    EXPECT_STREQ(dialog.getLine(4, 1)->getText(), "0");
    EXPECT_STREQ(dialog.getLine(4, 2)->getText(), "1");
    const int xs[3] = { 33, 338, 395 };
    for (int slot = 0; slot < 5; slot++) {
        for (int column = 0; column < 3; column++) {
            QVDialogItemTextLine *line = dialog.getLine(slot, column);
            EXPECT_EQ(line->getPosition().x, xs[column]);
            EXPECT_EQ(line->getPosition().y, 177 + 44 * slot);
            EXPECT_FALSE(line->isEditable());
        }
    }
    EXPECT_EQ(dialog.getLine(5, 0), nullptr);
    EXPECT_EQ(dialog.getLine(0, 3), nullptr);
    // Fifteen lines after the two buttons.
    int items = 0;
    for (QVDialogItem *item = dialog.getFirstItem(); item; item = item->getNext()) {
        items++;
    }
    EXPECT_EQ(items, 17);

    table.load(true);
    dialog.fillList(table);
    EXPECT_STREQ(dialog.getLine(0, 0)->getText(), "Tamsel");
    EXPECT_STREQ(dialog.getLine(0, 1)->getText(), "0");
    dialog.releaseSprites();
}

class HighScoreScreenTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        app.m_highScores.load(false);
        app.m_highScores.insertScore("Ada", 900, 7);
        app.m_highScores.save();
    }
    void clickClearAll() { app.postClick(kDialogX + 60 + 10, kDialogY + 378 + 10); }
    // The question is centred; its OK sits at a quarter of the free width.
    void clickQuestionOk() { app.postClick((640 - 300) / 2 + 65 + 5, (480 - 200) / 2 + 170 + 5); }
};

TEST_F(HighScoreScreenTest, ClearAllThenCancelChangesNothing)
{
    int pauseInQuestion = 0;
    int pauseOnScreen = 0;
    script({
        [&] {
            pauseOnScreen = app.pauseCount();
            clickClearAll();
        },
        [&] {
            pauseInQuestion = app.pauseCount();
            // The screen stays open under the question, so it is drawn behind it.
            EXPECT_EQ(QVDialog::getOpenDialogCount(), 2);
            app.postEnter();  // the question's default is cancel
        },
        [&] {
            // Back on the screen, still open.
            EXPECT_EQ(QVDialog::getOpenDialogCount(), 1);
            app.postEnter();
        },
    });
    app.showHighScores();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(pauseOnScreen, 1);
    EXPECT_EQ(pauseInQuestion, 2);
    EXPECT_EQ(app.pauseCount(), 0);
    EXPECT_STREQ(app.m_highScores.getEntry(0).m_szName, "Ada");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("HS:0", &bytes));
    EXPECT_EQ(getWord(bytes, 36), 900u);
}

TEST_F(HighScoreScreenTest, ClearAllThenOkRestoresTheDefaults)
{
    script({
        [&] { clickClearAll(); },
        [&] { clickQuestionOk(); },
        [&] { app.postClick(kDialogX + 290 + 5, kDialogY + 378 + 5); },
    });
    app.showHighScores();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(app.pauseCount(), 0);
    const char *names[5] = { "Tamsel", "Orrik", "Vinna", "Brede", "Lusk" };
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(app.m_highScores.getEntry(i).m_szName, names[i]);
        EXPECT_EQ(app.m_highScores.getEntry(i).m_uScore, 0u);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(readValue(("HS:" + std::to_string(i)).c_str(), &bytes));
        EXPECT_STREQ((const char *)bytes.data() + 4, names[i]);
        EXPECT_EQ(getWord(bytes, 36), 0u);
    }
}

TEST_F(HighScoreScreenTest, QuitDuringTheQuestionKeepsTheScoresAndQuitClosesTheScreen)
{
    script({
        [&] { clickClearAll(); },
        [&] { app.post(ET_QUIT); },
        [&] { app.post(ET_QUIT); },
    });
    app.showHighScores();
    EXPECT_TRUE(scriptDone());
    EXPECT_STREQ(app.m_highScores.getEntry(0).m_szName, "Ada");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("HS:0", &bytes));
    EXPECT_EQ(getWord(bytes, 36), 900u);
    EXPECT_EQ(app.pauseCount(), 0);
}

TEST_F(HighScoreScreenTest, ScreenStopsTheGameClock)
{
    const uint64_t pausedBefore = app.getPausedTime();
    script({
        [&] { GameTestClock::now() += 5000; },
        [&] { app.postEnter(); },
    });
    app.showHighScores();
    EXPECT_FALSE(app.isPaused());
    EXPECT_GE(app.getPausedTime() - pausedBefore, 5000u);
}

// --- options ---

class OptionsTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        picture("options_dialog.jpg", 400, 440, 40, 40, 40);
        picture("options_icon_ok.tga", 40, 20, 255, 0, 0);
        picture("options_icon_ok_lit.tga", 40, 20, 0, 255, 0);
        picture("options_icon_on.tga", 30, 20, 0, 200, 0);
        picture("options_icon_on_lit.tga", 30, 20, 0, 255, 0);
        picture("options_icon_off.tga", 30, 20, 200, 0, 0);
        picture("options_icon_off_lit.tga", 30, 20, 255, 0, 0);
        picture("options_icon_space.tga", 40, 20, 0, 0, 200);
        picture("options_icon_space_lit.tga", 40, 20, 0, 0, 255);
        picture("options_icon_candies.tga", 40, 20, 200, 0, 200);
        picture("options_icon_candies_lit.tga", 40, 20, 255, 0, 255);
        picture("options_icon_startlevel.tga", 60, 20, 100, 100, 100);
        for (const char *n : { "1", "6", "10", "14", "18", "22" }) {
            picture(std::string("options_icon_") + n + ".tga", 20, 20, 0, 0, 200);
            picture(std::string("options_icon_") + n + "_lit.tga", 20, 20, 200, 200, 0);
        }
        app.m_settings.load(app.getSampleCache());
    }
    // Screen point inside an item placed at (x, y) of the centred dialog.
    int sx(int x) const { return (640 - 400) / 2 + x + 5; }
    int sy(int y) const { return (480 - 440) / 2 + y + 5; }
    // The colours the start-level buttons show, by button.
    std::vector<uint16_t> startLevelPixels()
    {
        std::vector<uint16_t> out;
        for (int x : { 19, 46, 87, 135, 185, 231 }) {
            out.push_back(pixel(sx(x), sy(291)));
        }
        return out;
    }
    void moveAway() { app.post(ET_MOUSEMOVE, 1, 1); }
};

TEST_F(OptionsTest, LayoutAndDefaultItem)
{
    OptionsDialog dialog;
    GameSettings settings;
    dialog.build(display, app.getResourceFileSystem(), &settings);
    EXPECT_EQ(dialog.getRect().left, 120);
    EXPECT_EQ(dialog.getRect().top, 20);
    EXPECT_EQ(dialog.getDefaultItem(), dialog.getOkButton());
    struct { QVDialogItemButton *button; int x, y; const char *name; } rows[] = {
        { dialog.getOkButton(), 188, 384, "Ok Button" },
        { dialog.getFullscreenButton(), 178, 222, "Fullscreen On/Off" },
        { dialog.getAlarmButton(), 115, 326, "Alarm Button" },
        { dialog.getSoundButton(), 110, 138, "Sound Button" },
        { dialog.getMusicButton(), 114, 183, nullptr },
        { dialog.getKeyboardButton(), 302, 96, "Keyboard Moves..." },
        { dialog.getStartLevelCaption(), 15, 265, nullptr },
        { dialog.getStartLevelButton(3), 135, 291, "Start Level 14" },
    };
    for (const auto &row : rows) {
        EXPECT_EQ(row.button->getRect().left, 120 + row.x);
        EXPECT_EQ(row.button->getRect().top, 20 + row.y);
        if (row.name) {
            EXPECT_STREQ(row.button->getName(), row.name);
        }
    }
    // Added OK first, the caption last.
    QVDialogItem *last = nullptr;
    int count = 0;
    for (QVDialogItem *item = dialog.getFirstItem(); item; item = item->getNext()) {
        last = item;
        count++;
    }
    EXPECT_EQ(dialog.getFirstItem(), dialog.getOkButton());
    EXPECT_EQ(dialog.getOkButton()->getNext(), dialog.getFullscreenButton());
    EXPECT_EQ(dialog.getFullscreenButton()->getNext(), dialog.getMusicButton());
    EXPECT_EQ(last, dialog.getStartLevelCaption());
    EXPECT_EQ(count, 13);
    EXPECT_EQ(dialog.getStartLevelButton(6), nullptr);
    dialog.readBack();
    dialog.clearItems();
}

TEST_F(OptionsTest, ChosenStartLevelIsLitAndStaysLitWhenReopened)
{
    std::vector<uint16_t> before, after, reopened;
    script({
        [&] { moveAway(); },
        [&] {
            before = startLevelPixels();
            app.postClick(sx(135), sy(291));
            moveAway();
        },
        [&] {},
        [&] {
            after = startLevelPixels();
            app.postEnter();
        },
    });
    app.showOptions();
    EXPECT_TRUE(scriptDone());
    ASSERT_EQ(before.size(), 6u);
    ASSERT_EQ(after.size(), 6u);
    // Level 1 lit at first; then 14 alone.
    for (int i = 1; i < 6; i++) {
        EXPECT_EQ(before[i], before[1]) << i;
        EXPECT_NE(before[0], before[i]) << i;
    }
    const uint16_t lit = before[0];
    const uint16_t plain = before[1];
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(after[i], i == 3 ? lit : plain) << i;
    }
    EXPECT_EQ(app.m_settings.m_iStartLevel, 14);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("Start Level", &bytes));
    EXPECT_EQ(getWord(bytes, 0), 14u);

    app.frames = 0;
    script({
        [&] { moveAway(); },
        [&] {},
        [&] {
            reopened = startLevelPixels();
            app.postEnter();
        },
    });
    app.showOptions();
    ASSERT_EQ(reopened.size(), 6u);
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(reopened[i], i == 3 ? lit : plain) << i;
    }
}

TEST_F(OptionsTest, StoredStartLevelNotOfferedLightsNothingAndIsKept)
{
    app.m_settings.m_iStartLevel = 3;
    std::vector<uint16_t> shown;
    script({
        [&] { moveAway(); },
        [&] {},
        [&] {
            shown = startLevelPixels();
            app.postEnter();
        },
    });
    app.showOptions();
    ASSERT_EQ(shown.size(), 6u);
    for (int i = 1; i < 6; i++) {
        EXPECT_EQ(shown[i], shown[0]);
    }
    EXPECT_EQ(app.m_settings.m_iStartLevel, 3);
}

TEST_F(OptionsTest, SwitchesChangeTheSettingsAndAreWrittenBack)
{
    int pauseInside = 0;
    script({
        [&] {
            pauseInside = app.pauseCount();
            app.postClick(sx(115), sy(326));  // alarm
            app.postClick(sx(110), sy(138));  // sound
            app.postClick(sx(302), sy(96));   // keyboard
        },
        [&] { app.postEnter(); },
    });
    app.showOptions();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(pauseInside, 1);
    EXPECT_EQ(app.pauseCount(), 0);
    EXPECT_EQ(app.m_settings.m_iAlarmEnabled, 0);
    EXPECT_EQ(app.m_settings.m_iSoundEnabled, 0);
    EXPECT_EQ(app.m_settings.m_iKeyboardMovesSpace, 0);
    EXPECT_TRUE(app.getSampleCache()->isMuted());
    std::vector<uint8_t> bytes;
    for (const char *key : { "Alarm Enabled", "Sound Enabled", "Keyboard Moves Space" }) {
        ASSERT_TRUE(readValue(key, &bytes)) << key;
        EXPECT_EQ(getWord(bytes, 0), 0u) << key;
    }
    ASSERT_TRUE(readValue("Music Enabled", &bytes));
    EXPECT_EQ(getWord(bytes, 0), 1u);
}

TEST_F(OptionsTest, SwitchPicturesFollowTheValue)
{
    uint16_t onPixel = 0, offPixel = 0, spacePixel = 0, candiesPixel = 0;
    script({
        [&] { moveAway(); },
        [&] {
            onPixel = pixel(sx(115), sy(326));
            spacePixel = pixel(sx(302), sy(96));
            app.postClick(sx(115), sy(326));
            app.postClick(sx(302), sy(96));
            moveAway();
        },
        [&] {},
        [&] {
            offPixel = pixel(sx(115), sy(326));
            candiesPixel = pixel(sx(302), sy(96));
            app.postEnter();
        },
    });
    app.showOptions();
    EXPECT_NE(onPixel, offPixel);
    EXPECT_NE(spacePixel, candiesPixel);
    // The off picture is the one the fullscreen switch shows (off by default).
    EXPECT_EQ(pixel(sx(178), sy(222)), offPixel);
}

TEST_F(OptionsTest, FullscreenFlippedTwiceLeavesTheDisplayAlone)
{
    H2DDisplayDevice *before = app.getDisplayDevice();
    script({
        [&] {
            app.postClick(sx(178), sy(222));
            app.postClick(sx(178), sy(222));
        },
        [&] { app.postEnter(); },
    });
    app.showOptions();
    EXPECT_TRUE(scriptDone());
    EXPECT_EQ(app.getDisplayDevice(), before);
    EXPECT_EQ(app.m_settings.m_iFullscreen, 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("Fullscreen", &bytes));
    EXPECT_EQ(getWord(bytes, 0), 0u);
}

// A display that cannot switch in place, and that cannot be made again once
// asked to refuse.
class NoFullscreenGame : public TestGame {
public:
    bool toggleFullscreen() override { return false; }
    bool m_createDisplayDevice(const char *caption, bool fullscreen, int displayFlag, int width,
                               int height) override
    {
        return !refuseDisplay &&
               TestGame::m_createDisplayDevice(caption, fullscreen, displayFlag, width, height);
    }
    bool refuseDisplay = false;
};

TEST(FullscreenRestart, FailureEndsTheGameWithItsAlert)
{
    ScratchHome home;
    ASSERT_TRUE(home.ok());
    ScopedMessageHook boxes;
    NoFullscreenGame app;
    ASSERT_TRUE(app.getCvarManager()->initCvarManager());
    ASSERT_TRUE(app.QVApplication::initialize("+set c_soundDriver null", ""));
    ASSERT_TRUE(app.m_createDisplayDevice("gamedialogs", false, 0, 640, 480));
    app.m_state = GS_PLAYING;

    app.refuseDisplay = true;
    ::toggleFullscreen(&app);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "toggleFullscreen - could not restart subsystems!");
    EXPECT_EQ(app.getDisplayDevice(), nullptr);
    // The next step ends the main loop instead of playing on without a window.
    EXPECT_TRUE(app.handleEvent(testEvent(ET_TIMESTAMP)));

    app.destroyDevices();
    app.shutdown();
}

TEST_F(OptionsTest, UnchangedOptionsSaveTheSameValues)
{
    std::vector<uint8_t> before[7];
    for (int i = 0; i < 7; i++) {
        ASSERT_TRUE(readValue(GameSettings::sm_keyName(i), &before[i]));
    }
    script({ [&] { app.postEnter(); } });
    app.showOptions();
    for (int i = 0; i < 7; i++) {
        std::vector<uint8_t> now;
        ASSERT_TRUE(readValue(GameSettings::sm_keyName(i), &now));
        EXPECT_EQ(now, before[i]) << GameSettings::sm_keyName(i);
    }
}

// --- pause switch ---

TEST_F(DialogsTest, PausingTwiceIsPausingOnce)
{
    EXPECT_FALSE(app.isUserPaused());
    app.setPaused(true);
    app.setPaused(true);
    EXPECT_TRUE(app.isUserPaused());
    EXPECT_EQ(app.pauseCount(), 1);
    app.setPaused(false);
    EXPECT_FALSE(app.isUserPaused());
    EXPECT_EQ(app.pauseCount(), 0);
    app.setPaused(false);
    EXPECT_EQ(app.pauseCount(), 0);
}

} // namespace

TEST_F(HighScoreScreenTest, OpeningTheScreenStopsTheAlarm)
{
    // The low-time klaxon loops: it must not play on over the table.
    app.m_alarmPlaying = true;
    bool playingOnScreen = true;
    script({
        [&] {
            playingOnScreen = app.m_alarmPlaying;
            app.postClick(kDialogX + 290 + 5, kDialogY + 378 + 5);
        },
    });
    app.showHighScores();
    EXPECT_TRUE(scriptDone());
    EXPECT_FALSE(playingOnScreen);
}
