#include "ui_support.h"

#include <cmath>

#include "H2DFont.h"
#include "HEvent.h"
#include "QVDialog.h"
#include "QVDialogItem.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemProgressBar.h"
#include "QVDialogItemSlider.h"
#include "QVDialogItemTextLine.h"
#include "QVSprite.h"

static HEvent s_event(int type, int x = 0, int y = 0, int key = 0, int ch = 0, uint64_t time = 0)
{
    HEvent event = testEvent(type, x, y, key, ch);
    event.setTime(time);
    return event;
}

static HEvent s_char(int ch)
{
    return s_event(ET_KEYDOWN, 0, 0, 0, ch);
}

class DialogItemTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        picture("back.tga", 300, 200, 10, 10, 10);
        picture("btn.tga", 40, 20, 255, 0, 0);
        picture("btn_lit.tga", 40, 20, 0, 255, 0);
        picture("btn_off.tga", 50, 24, 0, 0, 255);
        picture("bar.tga", 200, 8, 255, 255, 255);
        picture("knob.tga", 11, 7, 255, 255, 0);
        ASSERT_TRUE(load(back, "back.tga"));
        ASSERT_TRUE(load(btn, "btn.tga"));
        ASSERT_TRUE(load(lit, "btn_lit.tga"));
        ASSERT_TRUE(load(off, "btn_off.tga"));
        ASSERT_TRUE(load(bar, "bar.tga"));
        ASSERT_TRUE(load(knob, "knob.tga"));
        dialog.setBackground(&back);
        dialog.setPosition(HPoint{ 100, 50 });
    }
    // Tests clear the dialog before their items go out of scope.
    void TearDown() override
    {
        for (QVSprite *s : { &back, &btn, &lit, &off, &bar, &knob }) s->release();
        UiTest::TearDown();
    }
    QVSprite back, btn, lit, off, bar, knob;
    QVDialog dialog;
};

TEST_F(DialogItemTest, ClassRecords)
{
    QVDialogItem item;
    QVDialogItemButton button;
    QVDialogItemProgressBar progress;
    QVDialogItemTextLine line;
    QVDialogItemSlider slider;
    EXPECT_STREQ(item.getClassName(), "QVDialogItem");
    EXPECT_STREQ(item.getParentClassName(), "HObject");
    EXPECT_STREQ(button.getClassName(), "QVDialogItemButton");
    EXPECT_STREQ(progress.getClassName(), "QVDialogItemProgressBar");
    EXPECT_STREQ(line.getClassName(), "QVDialogItemTextLine");
    EXPECT_STREQ(slider.getClassName(), "QVDialogItemSlider");
    for (const HObject *o : { (HObject *)&button, (HObject *)&progress, (HObject *)&line, (HObject *)&slider }) {
        EXPECT_STREQ(o->getParentClassName(), "QVDialogItem");
        EXPECT_TRUE(o->isKindOf(&QVDialogItem::sm_classInfo));
    }
    // The base takes nothing and cannot take the focus.
    EXPECT_FALSE(item.handleEvent(s_char(13)));
    EXPECT_FALSE(item.canFocus());
    EXPECT_FALSE(button.canFocus());
    EXPECT_FALSE(line.canFocus());
    line.setEditable(true);
    EXPECT_TRUE(line.canFocus());

    // Names are cut to 255 characters.
    const std::string longName(400, 'n');
    item.setName(longName.c_str());
    EXPECT_EQ(std::string(item.getName()), longName.substr(0, 255));
    item.setName(nullptr);
    EXPECT_STREQ(item.getName(), "");
    item.setId(42);
    EXPECT_EQ(item.getId(), 42);
}

TEST_F(DialogItemTest, ButtonRectFollowsTheDialog)
{
    QVDialogItemButton button;
    button.setPosition(HPoint{ 10, 20 });
    HRect r = button.getRect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 0); // no image yet
    button.setSprites(&btn, &lit, nullptr);
    EXPECT_EQ(button.getRect().right, 50);
    button.setSprites(&btn, &lit, &off); // the last image sizes it
    EXPECT_EQ(button.getRect().right, 60);
    EXPECT_EQ(button.getRect().bottom, 44);
    button.setSprites(&btn, &lit, nullptr);

    app.getDirtyRects()->clear();
    dialog.addItem(&button);
    r = button.getRect();
    EXPECT_EQ(r.left, 110);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, 90);
    EXPECT_EQ(button.getOwner(), &dialog);
    EXPECT_TRUE(dirtyContains(110, 70)); // reported when it joined the dialog
    dialog.clearItems();
}

TEST_F(DialogItemTest, ButtonHoverClickAndEnter)
{
    QVDialogItemButton button;
    button.setSprites(&btn, &lit, &off);
    button.setSprites(&btn, &lit, nullptr);
    button.setPosition(HPoint{ 10, 20 });
    dialog.addItem(&button); // screen rect {110, 70, 150, 90}

    app.getDirtyRects()->clear();
    EXPECT_FALSE(button.handleEvent(s_event(ET_MOUSEMOVE, 150, 90)));
    EXPECT_TRUE(button.isHover());
    EXPECT_TRUE(dirtyContains(149, 89));
    app.getDirtyRects()->clear();
    button.handleEvent(s_event(ET_MOUSEMOVE, 149, 89)); // still inside
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    button.handleEvent(s_event(ET_MOUSEMOVE, 151, 89));
    EXPECT_FALSE(button.isHover());
    EXPECT_TRUE(dirtyContains(120, 80));

    EXPECT_TRUE(button.handleEvent(s_event(ET_KEYDOWN, 150, 90, KC_LBUTTON)));
    EXPECT_TRUE(button.handleEvent(s_event(ET_KEYDOWN, 110, 70, KC_LBUTTON)));
    EXPECT_FALSE(button.handleEvent(s_event(ET_KEYDOWN, 151, 90, KC_LBUTTON)));
    EXPECT_FALSE(button.handleEvent(s_event(ET_KEYDOWN, 150, 91, KC_LBUTTON)));
    EXPECT_FALSE(button.handleEvent(s_event(ET_KEYUP, 120, 80, KC_LBUTTON)));
    // Enter wherever the pointer is.
    EXPECT_TRUE(button.handleEvent(s_event(ET_KEYDOWN, 600, 400, KC_RETURN, 13)));
    EXPECT_FALSE(button.handleEvent(s_char(' ')));

    // Disabled: deaf to everything, hover included.
    button.setEnabled(false);
    EXPECT_FALSE(button.handleEvent(s_event(ET_KEYDOWN, 120, 80, KC_LBUTTON)));
    EXPECT_FALSE(button.handleEvent(s_char(13)));
    button.handleEvent(s_event(ET_MOUSEMOVE, 120, 80));
    EXPECT_FALSE(button.isHover());
    dialog.clearItems();
}

TEST_F(DialogItemTest, ButtonDrawsTheImageOfItsState)
{
    QVDialogItemButton button;
    button.setSprites(&btn, &lit, nullptr);
    button.setPosition(HPoint{ 10, 20 });
    dialog.addItem(&button);
    const HRect screen = { 0, 0, 640, 480 };
    button.draw(display, screen);
    const uint16_t red = pixel(110, 70);
    EXPECT_NE(red, 0);
    EXPECT_EQ(pixel(149, 89), red);
    EXPECT_EQ(pixel(150, 89), 0);

    button.handleEvent(s_event(ET_MOUSEMOVE, 120, 80));
    button.draw(display, HRect{ 115, 75, 120, 80 });
    const uint16_t green = pixel(115, 75);
    EXPECT_NE(green, red);
    EXPECT_EQ(pixel(119, 79), green);
    EXPECT_EQ(pixel(120, 79), red); // outside the clip: still the old image
    EXPECT_EQ(pixel(114, 75), red);

    // Disabled without a disabled image: nothing is drawn.
    clearScreen();
    button.setEnabled(false);
    button.draw(display, screen);
    EXPECT_EQ(pixel(120, 80), 0);
    // An empty clip rectangle draws nothing.
    button.setEnabled(true);
    button.draw(display, HRect{ 120, 80, 120, 90 });
    EXPECT_EQ(pixel(120, 80), 0);
    dialog.clearItems();
}

TEST_F(DialogItemTest, TextLineEditing)
{
    QVDialogItemTextLine line;
    line.setEditable(true);
    line.setMaxLength(16);
    EXPECT_EQ(line.getVisibleLength(), 16);
    line.setRect(HRect{ 10, 10, 200, 30 });
    line.setPosition(HPoint{ 10, 10 });
    dialog.addItem(&line);
    ASSERT_EQ(dialog.getFocusedItem(), &line);

    // Backspace on an empty line does nothing.
    EXPECT_FALSE(line.handleEvent(s_char(8)));
    EXPECT_EQ(line.getLength(), 0);
    for (int i = 0; i < 17; i++) {
        EXPECT_FALSE(line.handleEvent(s_char('a' + i)));
    }
    EXPECT_STREQ(line.getText(), "abcdefghijklmnop"); // the seventeenth is ignored
    EXPECT_EQ(line.getLength(), 16);
    line.handleEvent(s_char(8));
    line.handleEvent(s_char(8));
    EXPECT_STREQ(line.getText(), "abcdefghijklmn");
    // Latin-1 letters are text; control characters are not.
    line.handleEvent(s_char(0xE9));
    line.handleEvent(s_char(0xFF));
    line.handleEvent(s_char(27));
    line.handleEvent(s_event(ET_KEYDOWN, 0, 0, KC_LEFT, 0));
    EXPECT_EQ(std::string(line.getText()), std::string("abcdefghijklmn\xE9\xFF"));
    // Enter is the only key it takes.
    EXPECT_TRUE(line.handleEvent(s_char(13)));

    // Typing reports the whole dialog dirty.
    app.getDirtyRects()->clear();
    line.handleEvent(s_char(8));
    EXPECT_TRUE(dirtyContains(100, 50));
    EXPECT_TRUE(dirtyContains(399, 249));

    // Without the focus it edits nothing.
    QVDialogItemTextLine other;
    other.setEditable(true);
    other.setRect(HRect{ 10, 40, 200, 60 });
    dialog.addItem(&other);
    ASSERT_EQ(dialog.getFocusedItem(), &other);
    EXPECT_FALSE(line.handleEvent(s_char('x')));
    EXPECT_FALSE(line.handleEvent(s_char(13)));
    EXPECT_EQ(line.getLength(), 15);
    // A click inside its rect, shifted by the dialog's corner, takes the focus
    // (right and bottom edges included); a click outside does not.
    EXPECT_FALSE(line.handleEvent(s_event(ET_KEYDOWN, 109, 70, KC_LBUTTON)));
    EXPECT_TRUE(line.handleEvent(s_event(ET_KEYDOWN, 300, 80, KC_LBUTTON)));
    EXPECT_EQ(dialog.getFocusedItem(), &line);
    EXPECT_TRUE(line.handleEvent(s_char('x')) == false && line.getLength() == 16);

    // A label never edits.
    QVDialogItemTextLine label;
    label.setRect(HRect{ 0, 0, 10, 10 });
    dialog.addItem(&label);
    EXPECT_FALSE(label.handleEvent(s_event(ET_KEYDOWN, 105, 55, KC_LBUTTON)));
    EXPECT_FALSE(label.handleEvent(s_char('y')));
    EXPECT_EQ(label.getLength(), 0);
    dialog.clearItems();
}

TEST_F(DialogItemTest, TextLineLimitsStayInsideItsBuffer)
{
    // A limit past the buffer would let typing run beyond it.
    QVDialogItemTextLine line;
    line.setMaxLength(5000);
    EXPECT_EQ(line.getMaxLength(), 1023);
    line.setEditable(true);
    line.setRect(HRect{ 0, 0, 10, 10 });
    dialog.addItem(&line);
    for (int i = 0; i < 1100; i++) {
        line.handleEvent(s_char('z'));
    }
    EXPECT_EQ(line.getLength(), 1023);
    EXPECT_EQ(strlen(line.getText()), 1023u);
    line.setMaxLength(-3);
    EXPECT_EQ(line.getMaxLength(), 0);
    line.setText("abc");
    EXPECT_EQ(line.getLength(), 0);

    line.setMaxLength(4);
    line.setText("abcdefgh");
    EXPECT_STREQ(line.getText(), "abcd");
    line.setText(nullptr);
    EXPECT_STREQ(line.getText(), "");

    // Nothing to paste on this platform: the text stays, the event is taken.
    line.setText("ab");
    EXPECT_TRUE(line.handleEvent(s_event(ET_PASTE)));
    EXPECT_STREQ(line.getText(), "ab");
    dialog.clearItems();
}

TEST_F(DialogItemTest, TextLineSetTextReportsItsArea)
{
    QVDialogItemTextLine line;
    dialog.addItem(&line);
    app.getDirtyRects()->clear();
    // No rect yet: the whole dialog is redrawn instead.
    line.setText("hello");
    EXPECT_STREQ(line.getText(), "hello");
    EXPECT_TRUE(dirtyContains(100, 50));
    EXPECT_TRUE(dirtyContains(399, 249));
    app.getDirtyRects()->clear();
    line.setRect(HRect{ 110, 60, 120, 70 });
    line.setText("again");
    EXPECT_TRUE(dirtyContains(110, 60));
    EXPECT_FALSE(dirtyContains(100, 50));
    dialog.clearItems();
}

TEST_F(DialogItemTest, TextLineShowsTheTailAndTheCaret)
{
    QVDialogItemTextLine line;
    line.setEditable(true);
    line.setRect(HRect{ 0, 0, 10, 10 });
    std::string text;
    for (int i = 0; i < 70; i++) text += (char)('A' + i % 26);
    line.setText(text.c_str());
    dialog.addItem(&line);
    char shown[256];
    line.getShownText(shown, sizeof(shown), 0); // even half period: no caret
    EXPECT_EQ(std::string(shown), text.substr(6));
    line.getShownText(shown, sizeof(shown), 500);
    EXPECT_EQ(std::string(shown), text.substr(6) + "|");
    // Without the focus there is no caret.
    QVDialogItemTextLine other;
    other.setEditable(true);
    dialog.addItem(&other);
    line.getShownText(shown, sizeof(shown), 500);
    EXPECT_EQ(std::string(shown), text.substr(6));

    // A blinking line shows nothing every other half period.
    line.setBlink(1);
    EXPECT_EQ(line.getBlink(), 1);
    line.getShownText(shown, sizeof(shown), 1500);
    EXPECT_STREQ(shown, "");
    line.getShownText(shown, sizeof(shown), 1000);
    EXPECT_EQ(std::string(shown), text.substr(6));

    // At most 253 characters are shown, however many are visible.
    line.setVisibleLength(1000);
    line.setText(std::string(600, 'q').c_str());
    line.getShownText(shown, sizeof(shown), 0);
    EXPECT_EQ(strlen(shown), 253u);
    dialog.clearItems();
}

TEST_F(DialogItemTest, TextLineCaretRedrawsAtMostEvery250ms)
{
    QVDialogItemTextLine label;
    label.setRect(HRect{ 10, 10, 20, 20 });
    dialog.addItem(&label);
    app.getDirtyRects()->clear();
    // Neither blinking nor editable: ticks do nothing.
    EXPECT_FALSE(label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 5000)));
    EXPECT_FALSE(label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 9000)));
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);

    label.setBlink(1);
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 10000)); // sets the stamp
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 10250));
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 10251));
    EXPECT_TRUE(dirtyContains(110, 60)); // rect shifted by the dialog's corner
    app.getDirtyRects()->clear();
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 10400));
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);

    // Without an owner a later tick does nothing and keeps the stamp.
    QVDialogItemTextLine loose;
    loose.setEditable(true);
    loose.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 20000));
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 10502));
    EXPECT_TRUE(dirtyContains(110, 60));

    // A clock that went back (the tick count wrapped) restarts the stamp:
    // the caret goes on blinking 250 ms later, not 49 days later.
    app.getDirtyRects()->clear();
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 100));
    EXPECT_EQ(app.getDirtyRects()->getCount(), 0);
    label.handleEvent(s_event(ET_TIMESTAMP, 0, 0, 0, 0, 351));
    EXPECT_TRUE(dirtyContains(110, 60));
    dialog.clearItems();
}

TEST_F(DialogItemTest, ProgressBarFractionAndDrawing)
{
    QVDialogItemProgressBar progress;
    progress.setPosition(HPoint{ 20, 400 });
    progress.setSprite(&bar);
    HRect r = progress.getRect();
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 220);
    EXPECT_EQ(r.bottom, 408);
    dialog.addItem(&progress);
    EXPECT_EQ(progress.getRect().left, 20); // screen coordinates: not moved
    progress.setPosition(HPoint{ 30, 400 });
    EXPECT_EQ(progress.getRect().right, 230);

    progress.setFraction(-0.5f);
    EXPECT_EQ(progress.getFraction(), 0.0f);
    progress.setFraction(7.0f);
    EXPECT_EQ(progress.getFraction(), 1.0f);
    progress.setFraction(NAN);
    EXPECT_EQ(progress.getFraction(), 0.0f);
    app.getDirtyRects()->clear();
    progress.setFraction(0.25f);
    EXPECT_EQ(progress.getFraction(), 0.25f);
    EXPECT_TRUE(dirtyContains(229, 407));

    const HRect screen = { 0, 0, 640, 480 };
    progress.setFraction(0.0f);
    progress.draw(display, screen);
    EXPECT_EQ(pixel(30, 400), 0);
    progress.setFraction(0.5f);
    progress.setEnabled(false); // drawn all the same
    progress.draw(display, screen);
    EXPECT_NE(pixel(30, 400), 0);
    EXPECT_NE(pixel(129, 407), 0);
    EXPECT_EQ(pixel(130, 400), 0);
    // Clipped.
    clearScreen();
    progress.draw(display, HRect{ 50, 402, 60, 404 });
    EXPECT_NE(pixel(50, 402), 0);
    EXPECT_EQ(pixel(49, 402), 0);
    EXPECT_EQ(pixel(60, 402), 0);
    EXPECT_EQ(pixel(50, 404), 0);
    // It takes no events.
    EXPECT_FALSE(progress.handleEvent(s_event(ET_KEYDOWN, 40, 402, KC_LBUTTON)));

    QVDialogItemProgressBar empty;
    empty.setFraction(1.0f);
    empty.draw(display, screen);
    dialog.clearItems();
}

TEST_F(DialogItemTest, SliderKnobIsCentredOnTheTrack)
{
    QVDialogItemSlider slider;
    slider.setKnobSprite(&knob); // 11 x 7
    slider.setPosition(HPoint{ 50, 100 });
    dialog.addItem(&slider);
    HRect r = slider.getRect();
    // At 0 half the knob lies before the track's start (halves truncated).
    EXPECT_EQ(r.left, 100 + 50 - 5);
    EXPECT_EQ(r.top, 50 + 100 - 3);
    EXPECT_EQ(r.right, r.left + 11);
    EXPECT_EQ(r.bottom, r.top + 7);
    slider.setValue(0.5f);
    EXPECT_EQ(slider.getRect().left, 145 + 125);
    slider.setValue(1.5f); // stored as given
    EXPECT_EQ(slider.getValue(), 1.5f);
    EXPECT_EQ(slider.getRect().left, 145 + 375);
    slider.setTrack(1, 100);
    slider.setValue(1.0f);
    EXPECT_EQ(slider.getRect().left, 145);
    EXPECT_EQ(slider.getRect().top, 147 + 100);
    // Values no rectangle can hold do not break the arithmetic.
    slider.setValue(NAN);
    EXPECT_EQ(slider.getRect().top, 147);
    slider.setValue(1e30f);
    EXPECT_GT(slider.getRect().top, 147);
    dialog.clearItems();
}

TEST_F(DialogItemTest, SliderDragging)
{
    QVDialogItemButton first;
    first.setSprites(&btn, nullptr, nullptr);
    dialog.addItem(&first);
    QVDialogItemSlider slider;
    slider.setKnobSprite(&knob);
    slider.setPosition(HPoint{ 50, 100 });
    dialog.addItem(&slider); // track from x 150 to 400 on screen, y 150
    const HRect knobRect = slider.getRect();

    EXPECT_FALSE(slider.handleEvent(s_event(ET_MOUSEMOVE, 200, 150)));
    EXPECT_FALSE(slider.handleEvent(s_event(ET_KEYUP, 150, 150, KC_LBUTTON)));
    EXPECT_FALSE(slider.handleEvent(s_event(ET_KEYDOWN, knobRect.right + 1, 150, KC_LBUTTON)));
    dialog.setFocus(&first);
    EXPECT_TRUE(slider.handleEvent(s_event(ET_KEYDOWN, knobRect.right, knobRect.bottom, KC_LBUTTON)));
    EXPECT_TRUE(slider.isDragging());
    EXPECT_EQ(dialog.getFocusedItem(), &slider);

    app.getDirtyRects()->clear();
    EXPECT_TRUE(slider.handleEvent(s_event(ET_MOUSEMOVE, 275, 10)));
    EXPECT_FLOAT_EQ(slider.getValue(), 0.5f);
    EXPECT_TRUE(dirtyContains(knobRect.left, knobRect.top)); // old knob
    EXPECT_TRUE(dirtyContains(slider.getRect().left, slider.getRect().top)); // new knob
    slider.handleEvent(s_event(ET_MOUSEMOVE, 900, 150));
    EXPECT_EQ(slider.getValue(), 1.0f);
    slider.handleEvent(s_event(ET_MOUSEMOVE, -900, 150));
    EXPECT_EQ(slider.getValue(), 0.0f);
    slider.handleEvent(s_event(ET_MOUSEMOVE, 200, 150));
    EXPECT_FLOAT_EQ(slider.getValue(), 0.2f);

    EXPECT_TRUE(slider.handleEvent(s_event(ET_KEYUP, 0, 0, KC_LBUTTON)));
    EXPECT_FALSE(slider.isDragging());
    EXPECT_EQ(dialog.getFocusedItem(), &first); // the focus goes to the first item
    EXPECT_FALSE(slider.handleEvent(s_event(ET_MOUSEMOVE, 300, 150)));
    EXPECT_FLOAT_EQ(slider.getValue(), 0.2f);

    // A track of no length: dragging gives 0, not a division by zero.
    slider.setTrack(0, 0);
    slider.setValue(0.0f);
    ASSERT_TRUE(slider.handleEvent(s_event(ET_KEYDOWN, slider.getRect().left, slider.getRect().top, KC_LBUTTON)));
    slider.handleEvent(s_event(ET_MOUSEMOVE, 500, 150));
    EXPECT_EQ(slider.getValue(), 0.0f);

    // The knob draws where its rect is.
    const HRect screen = { 0, 0, 640, 480 };
    slider.draw(display, screen);
    EXPECT_NE(pixel(slider.getRect().left, slider.getRect().top), 0);
    dialog.clearItems();
}
