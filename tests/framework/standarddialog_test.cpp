#include "ui_support.h"

#include "HEvent.h"
#include "QVConfirmDialog.h"
#include "QVDialog.h"
#include "QVMessageDialog.h"
#include "QVPictureDialog.h"

// Pictures: a 300 x 200 background centres at (170, 140) on the 640 x 480
// screen; 60 x 20 buttons sit on the row 200 - 30 = 170 below its top.
class StandardDialogTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        picture("back.tga", 300, 200, 60, 60, 60);
        picture("ok.tga", 60, 20, 255, 0, 0);
        picture("ok_lit.tga", 60, 20, 255, 128, 0);
        picture("cancel.tga", 60, 20, 0, 0, 255);
        picture("cancel_lit.tga", 60, 20, 0, 128, 255);
        picture("bar.tga", 100, 10, 255, 255, 255);
        app.setCurrentTime(UiClock::now());
    }
    int confirm(int timeoutMs, bool withCancel)
    {
        return app.confirmDialog(-1, -1, timeoutMs, "back.tga", "ok.tga", "ok_lit.tga",
                                 withCancel ? "cancel.tga" : nullptr, withCancel ? "cancel_lit.tga" : nullptr);
    }
};

TEST_F(StandardDialogTest, ConfirmWithCancel)
{
    // OK at (170 + 60, 140 + 170), Cancel at (170 + 180, 310).
    // Dialogs draw after the application's frame hook: what a hook sees is
    // the frame before.
    uint16_t okPixel = 0, cancelPixel = 0, backPixel = 0;
    app.onFrame = [&](int frame) {
        if (frame == 2) {
            okPixel = pixel(235, 315);
            cancelPixel = pixel(355, 315);
            backPixel = pixel(200, 150);
            app.postKey(KC_RETURN, 13);
        }
    };
    EXPECT_EQ(confirm(0, true), 0); // Enter chooses Cancel
    EXPECT_NE(backPixel, 0);
    EXPECT_NE(okPixel, backPixel);
    EXPECT_NE(cancelPixel, backPixel);
    EXPECT_NE(cancelPixel, okPixel);
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);

    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(290, 330); // OK's right and bottom edges
    };
    EXPECT_EQ(confirm(0, true), 1);

    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(350, 310);
    };
    EXPECT_EQ(confirm(0, true), 0);

    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(300, 320); // between the buttons
        if (frame == 2) app.post(ET_QUIT);
    };
    EXPECT_EQ(confirm(0, true), 2);
    // The screen is redrawn whole afterwards.
    EXPECT_TRUE(dirtyContains(0, 0));
    EXPECT_TRUE(dirtyContains(639, 479));
}

TEST_F(StandardDialogTest, ConfirmWithoutCancel)
{
    // One OK button centred: x = 170 + (300 - 60) / 2 = 290.
    uint16_t centre = 0, left = 0;
    app.onFrame = [&](int frame) {
        if (frame == 2) {
            centre = pixel(295, 315);
            left = pixel(235, 315);
            app.postKey(KC_RETURN, 13);
        }
    };
    EXPECT_EQ(confirm(0, false), 1);
    EXPECT_NE(centre, left);

    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(235, 315); // where a two-button OK would be
        if (frame == 2) app.postClick(295, 315);
    };
    EXPECT_EQ(confirm(0, false), 1);
    EXPECT_GE(app.frames, 3);
}

TEST_F(StandardDialogTest, ConfirmOkWaitsForTheTimeOut)
{
    bool lateClick = false;
    uint16_t earlyOk = 1, lateOk = 0, backPixel = 0;
    const uint64_t opened = UiClock::now();
    app.onFrame = [&](int frame) {
        UiClock::now() += 100;
        if (frame == 2) {
            backPixel = pixel(200, 150);
            earlyOk = pixel(235, 315); // disabled, with no picture: not drawn
            app.postClick(235, 315);
            app.postKey(KC_RETURN, 0); // a key without Enter's character
        }
        if (frame == 5) {
            app.post(ET_MOUSEMOVE, 10, 10);
            app.post(ET_KEYDOWN, 235, 315, KC_LBUTTON);
        }
        if (!lateClick && UiClock::now() > opened + 2600) {
            lateOk = pixel(235, 315);
            lateClick = true;
            app.postClick(235, 315);
        }
    };
    EXPECT_EQ(confirm(2000, true), 1);
    EXPECT_TRUE(lateClick);
    EXPECT_EQ(earlyOk, backPixel);
    EXPECT_NE(lateOk, backPixel);
    EXPECT_NE(lateOk, 0);

    // A negative time-out never passes: OK must not stay disabled for ever.
    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(295, 315);
    };
    EXPECT_EQ(app.confirmDialog(-1, -1, -5, "back.tga", "ok.tga", nullptr, nullptr, nullptr), 1);
}

TEST_F(StandardDialogTest, ConfirmWithMissingPicturesStillRuns)
{
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postKey(KC_RETURN, 13);
    };
    EXPECT_EQ(app.confirmDialog(10, 20, 0, "nothere.tga", "nothere_ok.tga", nullptr, nullptr, nullptr), 1);
    app.frames = 0;
    app.onFrame = [&](int frame) {
        if (frame == 1) app.post(ET_QUIT);
    };
    EXPECT_EQ(app.confirmDialog(-1, -1, 0, "nothere.tga", "ok.tga", nullptr, "missing.tga", nullptr), 2);
}

TEST_F(StandardDialogTest, MessageClosesByItselfAndIgnoresQuit)
{
    // Bar at (200, 250) on the screen, 100 wide, inside the background.
    int midFilled = -1;
    int quits = 0;
    app.onFrame = [&](int frame) {
        if (frame == 2) {
            app.post(ET_QUIT);
            quits++;
        }
        if (frame == 16) {
            // About halfway: the left part of the bar is drawn, the right not.
            midFilled = (pixel(205, 255) != pixel(200, 150)) * 2 + (pixel(295, 255) != pixel(200, 150));
        }
        UiClock::now() += 100;
    };
    // Also a notice opened a second before the 32-bit tick count wraps,
    // whose stamps then start again from 0.
    for (const uint64_t opened : { UiClock::now(), (uint64_t)0xffffffffu - 1000 }) {
        UiClock::now() = opened;
        app.takeStaleEvents();
        app.setCurrentTime(opened);
        app.frames = 0;
        quits = 0;
        midFilled = -1;
        app.messageDialog("back.tga", -1, -1, "ok.tga", nullptr, -1, -1, "bar.tga", 200, 250, 3000);
        const uint32_t shown = (uint32_t)(app.getCurrentTime() - opened);
        EXPECT_EQ(quits, 1) << opened;
        EXPECT_EQ(midFilled, 2) << opened;
        // The first check comes one frame (100 ms) after opening; the notice
        // closes at the first frame more than 3000 ms after that check.
        EXPECT_GT(shown, 3000u) << opened;
        EXPECT_LE(shown, 3300u) << opened;
        EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
    }
}

TEST_F(StandardDialogTest, MessageButtonClosesAtOnce)
{
    // Button centred: (170 + 120, 140 + 170).
    app.onFrame = [&](int frame) {
        UiClock::now() += 10;
        if (frame == 3) app.postClick(295, 315);
    };
    app.messageDialog("back.tga", -1, -1, "ok.tga", "ok_lit.tga", -1, -1, "bar.tga", 200, 250, 60000);
    EXPECT_EQ(app.frames, 4);

    // No duration: only the button (or Enter) ends it.
    app.frames = 0;
    app.onFrame = [&](int frame) {
        UiClock::now() += 1000;
        if (frame == 1) app.post(ET_QUIT);
        if (frame == 20) app.postKey(KC_RETURN, 13);
    };
    app.messageDialog("back.tga", 0, 0, "ok.tga", nullptr, 5, 5, nullptr, 0, 0, 0);
    EXPECT_EQ(app.frames, 21);

    // A one-millisecond notice: no division by zero, it just closes.
    app.frames = 0;
    app.onFrame = [&](int) { UiClock::now() += 1; };
    app.messageDialog("back.tga", 0, 0, "ok.tga", nullptr, 5, 5, "bar.tga", 0, 0, 1);
    EXPECT_LT(app.frames, 100);
}

class PictureDialogTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        picture("p1.tga", 200, 150, 255, 0, 0);
        picture("p2.tga", 200, 150, 0, 255, 0);
        picture("p3.tga", 200, 150, 0, 0, 255);
        picture("close.tga", 30, 10, 255, 255, 255);
        picture("next.tga", 20, 10, 255, 255, 0);
        picture("prev.tga", 20, 10, 0, 255, 255);
    }
    bool show(const char *const *pages, int count)
    {
        return app.pictureDialog(50, 60, "close.tga", nullptr, "next.tga", nullptr, "prev.tga", nullptr,
                                 pages, count);
    }
    // Page area, clear of the buttons.
    uint16_t page() const { return pixel(60, 70); }
};

TEST_F(PictureDialogTest, PagesTurnWithinTheirRange)
{
    // Close at (50 + 50, 60 + 138), previous at (50 + 133, 60 + 135),
    // next at (50 + 173, 60 + 135).
    const char *pages[] = { "p1.tga", "p2.tga", "p3.tga" };
    std::vector<uint16_t> seen;
    app.onFrame = [&](int frame) {
        seen.push_back(page());
        switch (frame) {
        case 1: app.postClick(185, 197); break; // previous: disabled on page 1
        case 2: app.postClick(225, 197); break; // next
        case 3: app.post(ET_QUIT); break;       // ignored
        case 4: app.postClick(225, 197); break; // next: page 3
        case 5: app.postClick(225, 197); break; // next: disabled on page 3
        case 6: app.postClick(185, 197); break; // previous: page 2
        case 7: app.postClick(105, 200); break; // close
        default: break;
        }
    };
    EXPECT_TRUE(show(pages, 3));
    // A hook sees the frame before its own, and a click is drawn in the
    // frame after the one it was posted in.
    ASSERT_EQ(seen.size(), 8u);
    const uint16_t p1 = seen[1], p2 = seen[3], p3 = seen[5];
    EXPECT_NE(p1, 0);
    EXPECT_NE(p2, 0);
    EXPECT_NE(p3, 0);
    EXPECT_NE(p1, p2);
    EXPECT_NE(p2, p3);
    EXPECT_NE(p1, p3);
    EXPECT_EQ(seen[2], p1); // previous did nothing on page 1
    EXPECT_EQ(seen[4], p2); // quit did nothing
    EXPECT_EQ(seen[6], p3); // next did nothing on page 3
    EXPECT_EQ(seen[7], p2);
    EXPECT_EQ(QVDialog::getOpenDialogCount(), 0);
}

TEST_F(PictureDialogTest, SinglePageAndNoPage)
{
    const char *pages[] = { "p2.tga" };
    app.onFrame = [&](int frame) {
        if (frame == 1) app.postClick(225, 197);
        if (frame == 2) app.postClick(185, 197);
        if (frame == 3) app.postKey(KC_RETURN, 13); // close is the default
    };
    EXPECT_TRUE(show(pages, 1));
    EXPECT_EQ(app.frames, 4);

    // Nothing to show: no dialog runs.
    app.frames = 0;
    EXPECT_FALSE(show(pages, 0));
    EXPECT_FALSE(show(nullptr, 2));
    EXPECT_EQ(app.frames, 0);
}

TEST_F(PictureDialogTest, ASmallerPageRedrawsWhatTheLargerOneCovered)
{
    // The first page is 200 x 150 at (50, 60); the second only 100 x 50.
    picture("small.tga", 100, 50, 255, 0, 255);
    const char *pages[] = { "p1.tga", "small.tga" };
    bool stale = false;
    app.onFrame = [&](int frame) {
        if (frame == 1) {
            app.backgrounds.clear();
            app.postClick(225, 197); // next
        }
        if (frame == 2) {
            // Inside the first page, outside the second.
            for (const HRect &r : app.backgrounds) {
                if (240 >= r.left && 240 < r.right && 100 >= r.top && 100 < r.bottom) stale = true;
            }
            app.postKey(KC_RETURN, 13); // close is the default
        }
    };
    EXPECT_TRUE(show(pages, 2));
    EXPECT_TRUE(stale);
}

TEST_F(StandardDialogTest, StandardDialogsReportTheDialogRecord)
{
    // Only the framework's base classes register records of their own.
    QVConfirmDialog confirmation;
    QVMessageDialog notice(&app);
    QVPictureDialog viewer(2);
    for (const HObject *o : { (HObject *)&confirmation, (HObject *)&notice, (HObject *)&viewer }) {
        EXPECT_STREQ(o->getClassName(), "QVDialog");
        EXPECT_STREQ(o->getParentClassName(), "HObject");
    }
}
