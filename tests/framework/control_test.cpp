#include "QVControl.h"
#include "ui_support.h"

#include "HEvent.h"
#include "QVSprite.h"

static HEvent s_event(int type, int x, int y, int key = 0)
{
    return testEvent(type, x, y, key);
}

class ControlTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        picture("normal.tga", 20, 10, 255, 0, 0);
        picture("lit.tga", 30, 12, 0, 255, 0);
        picture("off.tga", 40, 14, 0, 0, 255);
        ASSERT_TRUE(load(normal, "normal.tga"));
        ASSERT_TRUE(load(lit, "lit.tga"));
        ASSERT_TRUE(load(off, "off.tga"));
    }
    void TearDown() override
    {
        normal.release();
        lit.release();
        off.release();
        UiTest::TearDown();
    }
    QVSprite normal, lit, off;
};

TEST_F(ControlTest, ClassRecordAndDefaults)
{
    QVControl control;
    EXPECT_STREQ(control.getClassName(), "QVControl");
    EXPECT_STREQ(control.getParentClassName(), "HObject");
    EXPECT_TRUE(control.isEnabled());
    EXPECT_FALSE(control.isHighlighted());
    EXPECT_FALSE(control.isVisibleUnderDialog());
    EXPECT_EQ(control.getRect().left, -1000);
    EXPECT_EQ(control.getRect().bottom, -1000);
}

TEST_F(ControlTest, SizeComesFromTheLastImageGiven)
{
    QVControl control;
    control.setPosition(HPoint{ 100, 50 });
    control.setSprites(&normal, nullptr, nullptr);
    EXPECT_EQ(control.getRect().right, 120);
    EXPECT_EQ(control.getRect().bottom, 60);
    control.setSprites(&normal, &lit, nullptr);
    EXPECT_EQ(control.getRect().right, 130);
    control.setSprites(&normal, &lit, &off);
    EXPECT_EQ(control.getRect().right, 140);
    EXPECT_EQ(control.getRect().bottom, 64);
    // Only a highlight image, as the game's start button has.
    control.setSprites(nullptr, &lit, nullptr);
    EXPECT_EQ(control.getRect().right, 130);
    control.setPosition(HPoint{ 0, 0 });
    EXPECT_EQ(control.getRect().left, 0);
    EXPECT_EQ(control.getRect().right, 30);
    EXPECT_EQ(control.getRect().bottom, 12);
}

TEST_F(ControlTest, HitTestIncludesRightAndBottomEdges)
{
    QVControl control;
    control.setSprites(&normal, &lit, nullptr); // 30 x 12
    control.setPosition(HPoint{ 100, 50 });

    // The base control never takes an event, not even a click inside.
    EXPECT_FALSE(control.handleEvent(s_event(ET_MOUSEMOVE, 130, 62)));
    EXPECT_TRUE(control.isHighlighted());
    control.handleEvent(s_event(ET_MOUSEMOVE, 131, 62));
    EXPECT_FALSE(control.isHighlighted());
    control.handleEvent(s_event(ET_MOUSEMOVE, 100, 50));
    EXPECT_TRUE(control.isHighlighted());
    control.handleEvent(s_event(ET_MOUSEMOVE, 99, 50));
    EXPECT_FALSE(control.isHighlighted());
    control.handleEvent(s_event(ET_MOUSEMOVE, 110, 63));
    EXPECT_FALSE(control.isHighlighted());

    EXPECT_TRUE(control.isClicked(s_event(ET_KEYDOWN, 130, 62, KC_LBUTTON)));
    EXPECT_FALSE(control.handleEvent(s_event(ET_KEYDOWN, 130, 62, KC_LBUTTON)));
    EXPECT_FALSE(control.isClicked(s_event(ET_KEYDOWN, 131, 62, KC_LBUTTON)));
    EXPECT_FALSE(control.isClicked(s_event(ET_KEYDOWN, 130, 63, KC_LBUTTON)));
    EXPECT_FALSE(control.isClicked(s_event(ET_KEYUP, 110, 55, KC_LBUTTON)));
    EXPECT_FALSE(control.isClicked(s_event(ET_KEYDOWN, 110, 55, KC_RBUTTON)));
    EXPECT_FALSE(control.isClicked(s_event(ET_MOUSEMOVE, 110, 55, KC_LBUTTON)));
}

TEST_F(ControlTest, ChangesAreReportedToTheOwnerOnly)
{
    QVControl control;
    control.setSprites(&normal, nullptr, nullptr);
    control.setPosition(HPoint{ 200, 100 });
    control.setHighlighted(true);
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0); // no owner yet

    app.addControl(&control);
    EXPECT_EQ(control.getOwner(), &app);
    control.setHighlighted(true); // unchanged: nothing reported
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    control.setHighlighted(false);
    EXPECT_TRUE(dirtyContains(200, 100));
    EXPECT_TRUE(dirtyContains(219, 109));
    EXPECT_FALSE(dirtyContains(221, 109));

    app.getDirtyRects()->clear();
    control.setSprites(&normal, nullptr, nullptr); // the same three again
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    control.setSprites(&normal, &lit, nullptr);
    EXPECT_TRUE(dirtyContains(229, 111));
    app.getDirtyRects()->clear();
    control.setEnabled(false);
    control.setVisibleUnderDialog(true);
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    EXPECT_TRUE(control.isVisibleUnderDialog());
    app.removeControl(&control);
}

TEST_F(ControlTest, DrawPicksTheImageAndClips)
{
    QVControl control;
    control.setSprites(&normal, &lit, &off);
    control.setPosition(HPoint{ 10, 10 });
    const HRect screen = { 0, 0, 640, 480 };
    control.draw(display, screen);
    const uint16_t red = pixel(10, 10);
    EXPECT_NE(red, 0);
    EXPECT_EQ(pixel(29, 19), red);
    EXPECT_EQ(pixel(30, 10), 0); // the normal image is 20 wide

    clearScreen();
    control.setHighlighted(true);
    control.draw(display, screen);
    // The source is the sizing (normal) image's rectangle, 20 x 10.
    const uint16_t green = pixel(29, 19);
    EXPECT_NE(green, 0);
    EXPECT_NE(green, red);
    EXPECT_EQ(pixel(30, 19), 0);

    // Clipped to a small rectangle: nothing outside it is touched, though
    // the rect is sized by the larger disabled image.
    clearScreen();
    control.draw(display, HRect{ 15, 12, 18, 14 });
    EXPECT_EQ(pixel(15, 12), green);
    EXPECT_EQ(pixel(17, 13), green);
    EXPECT_EQ(pixel(14, 12), 0);
    EXPECT_EQ(pixel(18, 13), 0);
    EXPECT_EQ(pixel(15, 14), 0);
    // Wholly outside the clip rectangle: nothing.
    clearScreen();
    control.draw(display, HRect{ 100, 100, 120, 120 });
    EXPECT_EQ(pixel(20, 15), 0);

    // Disabled: the disabled image as a plain copy.
    clearScreen();
    control.setEnabled(false);
    control.draw(display, screen);
    const uint16_t blue = pixel(10, 10);
    EXPECT_NE(blue, 0);
    EXPECT_NE(blue, green);
    // The source is the sizing image's (20 x 10): no more is copied.
    EXPECT_EQ(pixel(30, 10), 0);
}

TEST_F(ControlTest, HighlightOnlyAndDisabledOnlyControls)
{
    const HRect screen = { 0, 0, 640, 480 };
    QVControl start;
    start.setSprites(nullptr, &lit, nullptr);
    start.setPosition(HPoint{ 50, 50 });
    start.draw(display, screen);
    EXPECT_EQ(pixel(55, 55), 0);
    start.handleEvent(s_event(ET_MOUSEMOVE, 55, 55));
    start.draw(display, screen);
    EXPECT_NE(pixel(55, 55), 0);

    QVControl onlyOff;
    onlyOff.setSprites(nullptr, nullptr, &off);
    onlyOff.setPosition(HPoint{ 300, 300 });
    onlyOff.draw(display, screen);
    onlyOff.setEnabled(false);
    onlyOff.draw(display, screen);
    EXPECT_EQ(pixel(305, 305), 0);

    // Disabled without a disabled image: nothing.
    QVControl plain;
    plain.setSprites(&normal, nullptr, nullptr);
    plain.setPosition(HPoint{ 400, 400 });
    plain.setEnabled(false);
    plain.draw(display, screen);
    EXPECT_EQ(pixel(405, 405), 0);
}

TEST_F(ControlTest, ApplicationOffersEventsNewestFirst)
{
    // A control that takes clicks, as the game's buttons do.
    struct Clicker : QVControl {
        int clicks = 0;
        bool handleEvent(const HEvent &event) override
        {
            QVControl::handleEvent(event);
            if (isClicked(event)) {
                clicks++;
                return true;
            }
            return false;
        }
    };
    Clicker *older = new Clicker;
    Clicker *newer = new Clicker;
    older->setSprites(&normal, nullptr, nullptr);
    newer->setSprites(&normal, nullptr, nullptr);
    older->setPosition(HPoint{ 0, 0 });
    newer->setPosition(HPoint{ 0, 0 });
    app.addControl(older);
    app.addControl(newer);
    EXPECT_TRUE(app.dispatchToControls(s_event(ET_KEYDOWN, 20, 10, KC_LBUTTON)));
    EXPECT_EQ(newer->clicks, 1);
    EXPECT_EQ(older->clicks, 0);
    newer->setEnabled(false);
    EXPECT_TRUE(app.dispatchToControls(s_event(ET_KEYDOWN, 20, 10, KC_LBUTTON)));
    EXPECT_EQ(older->clicks, 1);
    EXPECT_FALSE(app.dispatchToControls(s_event(ET_KEYDOWN, 21, 10, KC_LBUTTON)));
    app.deleteAllControls();
}
