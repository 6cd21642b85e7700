#include "ui_support.h"

#include "HEvent.h"
#include "HFile.h"
#include "HFileSystem.h"
#include "QVControl.h"
#include "QVDialog.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemTextLine.h"
#include "QVSprite.h"

// A dialog that closes when told to and counts what the loop asks of it.
class ScriptDialog : public QVDialog {
public:
    bool closeOnActivate = true;
    bool closeOnTimeout = false;
    int timeouts = 0;
    int firstTimeoutFrame = -1;
    std::vector<QVDialogItem *> activated;
    UiApp *app = nullptr;
    std::function<void(QVDialogItem *)> onActivate;

    bool onItemActivated(QVDialogItem *item) override
    {
        activated.push_back(item);
        if (onActivate) onActivate(item);
        return closeOnActivate;
    }
    bool onTimeout() override
    {
        if (timeouts++ == 0 && app) firstTimeoutFrame = app->frames;
        return closeOnTimeout;
    }
};

class DialogTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        picture("back.tga", 200, 100, 40, 40, 40);
        picture("a.tga", 30, 10, 255, 0, 0);
        picture("b.tga", 30, 10, 0, 255, 0);
        ASSERT_TRUE(load(back, "back.tga"));
        ASSERT_TRUE(load(a, "a.tga"));
        ASSERT_TRUE(load(b, "b.tga"));
        dialog.app = &app;
        dialog.setBackground(&back);
        dialog.setPosition(HPoint{ 100, 100 });
        ok.setSprites(&a, &a, nullptr);
        ok.setPosition(HPoint{ 10, 80 }); // screen {110, 180, 140, 190}
        cancel.setSprites(&b, &b, nullptr);
        cancel.setPosition(HPoint{ 150, 80 }); // screen {250, 180, 280, 190}
    }
    void TearDown() override
    {
        dialog.clearItems();
        a.release();
        b.release();
        back.release();
        UiTest::TearDown();
    }
    // A second dialog over the first, its one button at its top-left corner.
    void setUpInner(ScriptDialog &inner, QVDialogItemButton &innerOk)
    {
        inner.setBackground(&back);
        inner.setPosition(HPoint{ 150, 150 });
        innerOk.setSprites(&b, nullptr, nullptr);
        innerOk.setPosition(HPoint{ 0, 0 });
    }
    intptr_t run(int32_t timeoutMs = 0)
    {
        return dialog.doModal(&app, display, app.getEventQueue(), timeoutMs, &app);
    }
    QVSprite back, a, b;
    ScriptDialog dialog;
    QVDialogItemButton ok, cancel;
};

TEST_F(DialogTest, ClassRecordAndRect)
{
    EXPECT_STREQ(dialog.getClassName(), "QVDialog");
    EXPECT_STREQ(dialog.getParentClassName(), "HObject");
    HRect r = dialog.getRect();
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    // Building a dialog starts its dirty list afresh.
    QVDialog::invalidateRect(HRect{ 1, 2, 3, 4 });
    EXPECT_GT(QVDialog::getDirtyRects().getCount(), 0);
    QVDialog bare;
    EXPECT_EQ(QVDialog::getDirtyRects().getCount(), 0);
    bare.setPosition(HPoint{ 7, 9 });
    r = bare.getRect();
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.top, 9);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
}

TEST_F(DialogTest, FirstItemIsDefaultLastHoldsFocus)
{
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    EXPECT_EQ(dialog.getDefaultItem(), &ok);
    EXPECT_EQ(dialog.getFocusedItem(), &cancel);
    EXPECT_EQ(dialog.getFirstItem(), &ok);
    EXPECT_EQ(ok.getNext(), &cancel);
    EXPECT_EQ(cancel.getNext(), nullptr);

    // Adding an item twice would make the chain a loop.
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    dialog.addItem(nullptr);
    EXPECT_EQ(cancel.getNext(), nullptr);
    EXPECT_EQ(ok.getNext(), &cancel);

    dialog.setFocus(nullptr);
    EXPECT_EQ(dialog.getFocusedItem(), &ok);
    dialog.clearItems();
    EXPECT_EQ(dialog.getFirstItem(), nullptr);
    EXPECT_EQ(dialog.getFocusedItem(), nullptr);
    EXPECT_EQ(dialog.getDefaultItem(), nullptr);
    EXPECT_EQ(ok.getOwner(), &dialog); // items keep their owner
    HEvent enter;
    memset(&enter, 0, sizeof(enter));
    enter.m_iType = ET_KEYDOWN;
    enter.m_cChar = 13;
    EXPECT_EQ(dialog.findItem(enter), nullptr);
}

TEST_F(DialogTest, EnterGoesToTheDefaultItemThenTheRing)
{
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    HEvent enter;
    memset(&enter, 0, sizeof(enter));
    enter.m_iType = ET_KEYDOWN;
    enter.m_cChar = 13;
    EXPECT_EQ(dialog.findItem(enter), &ok);
    dialog.setDefaultItem(&cancel);
    dialog.setFocus(&ok);
    EXPECT_EQ(dialog.findItem(enter), &cancel);
    // A disabled default lets the walk from the focused item decide.
    cancel.setEnabled(false);
    EXPECT_EQ(dialog.findItem(enter), &ok);
    ok.setEnabled(false);
    EXPECT_EQ(dialog.findItem(enter), nullptr);
    ok.setEnabled(true);
    cancel.setEnabled(true);

    // The walk wraps from the end of the chain to the first item.
    dialog.setDefaultItem(nullptr);
    dialog.setFocus(&cancel);
    HEvent click;
    memset(&click, 0, sizeof(click));
    click.m_iType = ET_KEYDOWN;
    click.m_iKey = KC_LBUTTON;
    click.m_iX = 115;
    click.m_iY = 185;
    EXPECT_EQ(dialog.findItem(click), &ok);
    click.m_iX = 5;
    EXPECT_EQ(dialog.findItem(click), nullptr);
}

TEST_F(DialogTest, TabMovesOnlyToItemsThatTakeTheFocus)
{
    HEvent tab;
    memset(&tab, 0, sizeof(tab));
    tab.m_iType = ET_KEYDOWN;
    tab.m_iKey = KC_TAB;
    tab.m_cChar = 9;
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    EXPECT_TRUE(dialog.handleEvent(tab));
    EXPECT_EQ(dialog.getFocusedItem(), &cancel); // buttons cannot take it

    QVDialogItemTextLine first, second;
    first.setEditable(true);
    second.setEditable(true);
    dialog.clearItems();
    dialog.addItem(&first);
    dialog.addItem(&ok);
    dialog.addItem(&second);
    dialog.addItem(&cancel);
    dialog.setFocus(&first);
    dialog.handleEvent(tab);
    EXPECT_EQ(dialog.getFocusedItem(), &second);
    dialog.handleEvent(tab);
    EXPECT_EQ(dialog.getFocusedItem(), &first); // wrapped
    dialog.clearItems();
}

TEST_F(DialogTest, ClickActivatesAndCloses)
{
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    int openDuring = -1;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            openDuring = QVDialog::getOpenDialogCount();
            UiClock::now() += 50;
            app.post(ET_MOUSEMOVE, 250, 180);
            app.postClick(280, 190); // right and bottom edges of cancel
        }
    };
    EXPECT_EQ(run(), (intptr_t)&cancel);
    EXPECT_EQ(openDuring, 1);
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
    ASSERT_EQ(dialog.activated.size(), 1u);
    EXPECT_EQ(dialog.activated[0], &cancel);
    EXPECT_TRUE(cancel.isHover());
    // The application saw nothing; its clock followed the dialog's events.
    EXPECT_TRUE(app.handled.empty());
    EXPECT_EQ(app.getCurrentTime(), 1050u);
    // Frames are drawn with the under-dialog flag.
    ASSERT_FALSE(app.backgroundUnderDialog.empty());
    EXPECT_TRUE(app.backgroundUnderDialog[0]);
    // The dialog itself was drawn: its background and the buttons.
    EXPECT_NE(pixel(120, 120), 0);
    EXPECT_NE(pixel(115, 185), pixel(120, 120));
}

TEST_F(DialogTest, ActivationThatDoesNotCloseGoesOn)
{
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    dialog.onActivate = [&](QVDialogItem *item) { dialog.closeOnActivate = item == &ok; };
    dialog.closeOnActivate = false;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(260, 185);
        if (frame == 3) app.postKey(KC_RETURN, 13); // the default item: ok
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    ASSERT_EQ(dialog.activated.size(), 2u);
    EXPECT_EQ(dialog.activated[0], &cancel);
}

TEST_F(DialogTest, QuitEndsTheDialogAfterOneMoreFrame)
{
    dialog.addItem(&ok);
    int quitFrame = -1;
    app.onFrame = [&](int frame) {
        if (frame == 2) {
            quitFrame = frame;
            app.post(ET_QUIT);
            app.postClick(115, 185); // never read: the quit ends the batch
        }
    };
    EXPECT_EQ(run(), QVDIALOG_QUIT);
    EXPECT_EQ(app.frames, quitFrame + 1);
    EXPECT_TRUE(dialog.activated.empty());
    EXPECT_TRUE(app.handled.empty());
}

TEST_F(DialogTest, TimeOut)
{
    dialog.addItem(&ok);
    dialog.closeOnTimeout = false;
    // The main loop left the clock at the last event it took.
    app.setCurrentTime(UiClock::now());
    const uint64_t opened = UiClock::now();
    std::vector<uint64_t> frameTimes;
    app.onFrame = [&](int) {
        frameTimes.push_back(app.getCurrentTime());
        UiClock::now() += 100;
        if (dialog.timeouts == 3) app.postKey(KC_RETURN, 13);
    };
    EXPECT_EQ(run(2000), (intptr_t)&ok);
    ASSERT_GE(dialog.firstTimeoutFrame, 1);
    // Called from the first frame more than 2000 ms after opening, then after
    // every frame.
    EXPECT_GT(frameTimes[dialog.firstTimeoutFrame - 1] - opened, 2000u);
    EXPECT_LE(frameTimes[dialog.firstTimeoutFrame - 2] - opened, 2000u);
    // The Enter posted after the third call is read after the fourth.
    EXPECT_EQ(dialog.timeouts, 4);

    // A dialog that agrees to time out returns -1.
    dialog.timeouts = 0;
    dialog.closeOnTimeout = true;
    app.onFrame = [&](int) { UiClock::now() += 100; };
    EXPECT_EQ(run(500), QVDIALOG_TIMEOUT);
    EXPECT_EQ(dialog.timeouts, 1);

    // Opened just before the 32-bit tick count wraps, it still times out
    // on time, though the stamps start again from 0.
    const uint64_t late = (uint64_t)0xffffffffu - 500;
    UiClock::now() = late;
    app.takeStaleEvents();
    app.setCurrentTime(late);
    dialog.timeouts = 0;
    app.frames = 0;
    app.onFrame = [&](int frame) {
        UiClock::now() += 100;
        if (frame == 100) app.post(ET_QUIT);
    };
    EXPECT_EQ(run(2000), QVDIALOG_TIMEOUT);
    const uint32_t waited = (uint32_t)(app.getCurrentTime() - late);
    EXPECT_GT(waited, 2000u);
    EXPECT_LE(waited, 2100u);
}

TEST_F(DialogTest, BackwardClockIsNoTimeOut)
{
    // The tick count wraps after 49.7 days: a clock behind the start must
    // not read as a huge elapsed time.
    dialog.addItem(&ok);
    dialog.closeOnTimeout = true;
    app.setCurrentTime(50000);
    app.onFrame = [&](int frame) {
        if (frame == 5) app.postKey(KC_RETURN, 13);
    };
    EXPECT_EQ(run(1000), (intptr_t)&ok);
    EXPECT_EQ(dialog.timeouts, 0);
}

TEST_F(DialogTest, NestedDialogsDrawInStackOrder)
{
    dialog.addItem(&ok);
    ScriptDialog inner;
    QVDialogItemButton innerOk;
    setUpInner(inner, innerOk);
    int innerCount = -1;
    int innerFrames = 0;
    uint16_t overlap = 0;
    intptr_t innerResult = 0;
    dialog.onActivate = [&](QVDialogItem *) {
        inner.addItem(&innerOk);
        app.onFrame = [&](int) {
            if (++innerFrames == 1) {
                innerCount = QVDialog::getOpenDialogCount();
            } else if (innerFrames == 2) {
                // The frame before, with both open: the inner one on top.
                overlap = pixel(151, 151);
                app.postClick(151, 151);
            }
        };
        innerResult = inner.doModal(&app, display, app.getEventQueue(), 0, &app);
        app.onFrame = nullptr;
        app.getDirtyRects()->clear();
        inner.clearItems();
    };
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(115, 185);
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    EXPECT_EQ(innerCount, 2);
    EXPECT_EQ(innerResult, (intptr_t)&innerOk);
    EXPECT_NE(overlap, pixel(120, 120)); // not the outer background
    EXPECT_NE(overlap, 0);
    // The outer dialog's last frame covers the inner one: the whole screen
    // was reported when the inner one returned.
    EXPECT_EQ(pixel(160, 160), pixel(120, 120));
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
}

static bool s_covers(const std::vector<HRect> &rects, int x, int y)
{
    for (const HRect &r : rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

TEST_F(DialogTest, PaintAndPointerMotionAreRedrawn)
{
    dialog.addItem(&ok);
    QVSprite arrow;
    picture("arrow.tga", 8, 8, 255, 255, 255);
    ASSERT_TRUE(load(arrow, "arrow.tga"));
    app.cursor = &arrow;
    app.spriteCursor = true;
    bool movedOld = false, movedNew = false, movedPast = true, painted = false;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.backgrounds.clear();
            app.post(ET_MOUSEMOVE, 400, 300);
        } else if (frame == 2) {
            movedNew = s_covers(app.backgrounds, 407, 307);
            movedPast = s_covers(app.backgrounds, 408, 300);
            movedOld = s_covers(app.backgrounds, 0, 0); // where the pointer was
            app.backgrounds.clear();
            app.post(ET_PAINT);
        } else if (frame == 3) {
            painted = s_covers(app.backgrounds, 0, 479) && s_covers(app.backgrounds, 639, 0);
            app.postKey(KC_RETURN, 13);
        }
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    EXPECT_TRUE(movedNew);
    EXPECT_TRUE(movedOld);
    EXPECT_FALSE(movedPast);
    EXPECT_TRUE(painted);
    app.cursor = nullptr;
    arrow.release();

    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    EXPECT_FALSE(dialog.handleEvent(quit));
}

TEST_F(DialogTest, WithoutAQueueItReturnsAtOnce)
{
    dialog.addItem(&ok);
    EXPECT_EQ(dialog.doModal(&app, display, nullptr, 0, &app), QVDIALOG_QUIT);
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
}

TEST_F(DialogTest, DemoThatRunsOutEndsTheDialog)
{
    // Two recorded idle ticks, then nothing: a dialog open when the demo
    // runs out must end like a closed window, with or without a time-out,
    // since neither an event nor a clock tick can ever come again.
    HEvent tick;
    memset(&tick, 0, sizeof(tick));
    tick.m_iType = ET_TIMESTAMP;
    const std::string demoPath = m_dir + "/demo.bin";
    FILE *demo = fopen(demoPath.c_str(), "wb");
    ASSERT_NE(demo, nullptr);
    ASSERT_EQ(fwrite(&tick, sizeof(tick), 1, demo), 1u);
    ASSERT_EQ(fwrite(&tick, sizeof(tick), 1, demo), 1u);
    fclose(demo);

    dialog.addItem(&ok);
    for (int32_t timeoutMs : { 0, 5000 }) {
        SCOPED_TRACE(timeoutMs);
        HFile *file = app.getResourceFileSystem()->openFileForRead("demo.bin");
        ASSERT_NE(file, nullptr);
        app.getEventQueue()->setJournalReader(file);
        EXPECT_EQ(run(timeoutMs), QVDIALOG_QUIT);
        EXPECT_TRUE(app.getEventQueue()->isReplayFinished());
        EXPECT_TRUE(dialog.activated.empty());
        EXPECT_EQ(dialog.timeouts, 0);
        app.getEventQueue()->clearJournalReader();
        file->close();
    }
}

TEST_F(DialogTest, UnderADialogOnlyMarkedControlsDrawAndNoneHearsEvents)
{
    // Counts what the main loop would offer it.
    struct Listener : QVControl {
        int events = 0;
        bool handleEvent(const HEvent &event) override
        {
            events++;
            return QVControl::handleEvent(event);
        }
    };
    Listener *shown = new Listener;
    Listener *hidden = new Listener;
    shown->setSprites(&a, nullptr, nullptr);
    shown->setPosition(HPoint{ 10, 10 });
    shown->setVisibleUnderDialog(true);
    hidden->setSprites(&b, nullptr, nullptr);
    hidden->setPosition(HPoint{ 10, 400 });
    app.addControl(shown);
    app.addControl(hidden);
    clearScreen();

    dialog.addItem(&ok);
    int shownDuring = -1, hiddenDuring = -1;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.postClick(15, 15);
            app.post(ET_MOUSEMOVE, 15, 405);
        }
        if (frame == 2) {
            shownDuring = shown->events;
            hiddenDuring = hidden->events;
            app.postKey(KC_RETURN, 13);
        }
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    EXPECT_NE(pixel(15, 15), 0);
    EXPECT_EQ(pixel(15, 405), 0);
    EXPECT_EQ(shownDuring, 0);
    EXPECT_EQ(hiddenDuring, 0);
    app.deleteAllControls();
}

TEST_F(DialogTest, ClosingTheDialogUnlightsAControlThePointerLeft)
{
    // The pointer lit a control, then opened a dialog and closed it far
    // away: the control must not stay lit.
    QVControl *button = new QVControl;
    button->setSprites(&a, &b, nullptr);
    button->setPosition(HPoint{ 10, 400 });
    app.addControl(button);
    HEvent over = testEvent(ET_MOUSEMOVE, 15, 405);
    EXPECT_FALSE(app.dispatchToControls(over));
    ASSERT_TRUE(button->isHighlighted());

    dialog.addItem(&ok);
    bool litDuring = false;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.post(ET_MOUSEMOVE, 115, 185);
        }
        if (frame == 2) {
            litDuring = button->isHighlighted();
            app.postClick(115, 185);
        }
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    EXPECT_TRUE(litDuring);
    EXPECT_FALSE(button->isHighlighted());

    // Over the control when the dialog closes, it stays lit.
    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.post(ET_MOUSEMOVE, 15, 405);
            app.postKey(KC_RETURN, 13);
        }
    };
    EXPECT_EQ(run(), (intptr_t)&ok);
    EXPECT_TRUE(button->isHighlighted());
    app.deleteAllControls();
}

TEST_F(DialogTest, ClosingANestedDialogUnlightsTheButtonBelowThePointerLeft)
{
    // A button of the outer dialog opens an inner one; the pointer closes
    // the inner one far from that button, which must not stay lit.
    dialog.addItem(&ok);
    dialog.addItem(&cancel);
    ScriptDialog inner;
    QVDialogItemButton innerOk;
    setUpInner(inner, innerOk);
    bool litBefore = false, litAfter = true;
    dialog.onActivate = [&](QVDialogItem *item) {
        dialog.closeOnActivate = item == &cancel;
        if (item != &ok) {
            return;
        }
        litBefore = ok.isHover();
        inner.addItem(&innerOk);
        app.onFrame = [&](int) { app.postClick(151, 151); };
        inner.doModal(&app, display, app.getEventQueue(), 0, &app);
        inner.clearItems();
        litAfter = ok.isHover();
        app.onFrame = [&](int) { app.postClick(260, 185); };
    };
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.post(ET_MOUSEMOVE, 115, 185);
            app.postClick(115, 185);
        }
    };
    EXPECT_EQ(run(), (intptr_t)&cancel);
    EXPECT_TRUE(litBefore);
    EXPECT_FALSE(litAfter);
}
