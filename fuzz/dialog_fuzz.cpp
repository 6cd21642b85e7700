// Feeds arbitrary event sequences to a dialog of every kind of item: typed
// text, pastes, clicks, drags, Tab and Enter must never run past a buffer or
// leave the item chain broken.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "HEvent.h"
#include "QVDialog.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemProgressBar.h"
#include "QVDialogItemSlider.h"
#include "QVDialogItemTextLine.h"

static int32_t s_read32(const uint8_t *p)
{
    return (int32_t)((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8) {
        return 0;
    }
    QVDialog dialog;
    dialog.setPosition(HPoint{ s_read32(data) % 1000, s_read32(data + 4) % 1000 });
    data += 8;
    size -= 8;

    QVDialogItemButton button;
    QVDialogItemTextLine name;
    QVDialogItemTextLine label;
    QVDialogItemSlider slider;
    QVDialogItemProgressBar bar;
    name.setEditable(true);
    name.setRect(HRect{ 0, 0, 200, 20 });
    label.setBlink(1);
    dialog.addItem(&button);
    dialog.addItem(&name);
    dialog.addItem(&label);
    dialog.addItem(&slider);
    dialog.addItem(&bar);

    // Each record: type, key, character, x, y, and one setting word.
    while (size >= 16) {
        HEvent event;
        memset(&event, 0, sizeof(event));
        event.m_iType = data[0] % ET_COUNT;
        event.m_iKey = data[1];
        event.m_cChar = data[2];
        event.m_iX = s_read32(data + 4);
        event.m_iY = s_read32(data + 8);
        event.setTime((uint64_t)(uint32_t)s_read32(data + 12));
        const int32_t setting = s_read32(data + 12);
        switch (data[3] % 8) {
        case 0: name.setMaxLength(setting); break;
        case 1: name.setVisibleLength(setting); break;
        case 2: slider.setTrack(setting & 1, setting >> 1); break;
        case 3: bar.setFraction((float)setting / 1000.0f); break;
        case 4: button.setEnabled((setting & 1) != 0); break;
        default: break;
        }
        if (dialog.handleEvent(event)) {
            QVDialogItem *item = dialog.findItem(event);
            if (item && !item->getOwner()) {
                __builtin_trap();
            }
        }
        data += 16;
        size -= 16;
    }
    // Whatever was typed stays within the buffer (a limit lowered later does
    // not cut text already there).
    if ((int32_t)strlen(name.getText()) != name.getLength() ||
        name.getLength() >= QVDialogItemTextLine::kiTextSize) {
        __builtin_trap();
    }
    char shown[256];
    name.getShownText(shown, sizeof(shown), 500);
    if (strlen(shown) > 254) {
        __builtin_trap();
    }
    char rest[32];
    memcpy(rest, data, size);
    rest[size] = '\0';
    name.setText(rest);
    if (name.getLength() > name.getMaxLength()) {
        __builtin_trap();
    }
    dialog.clearItems();
    return 0;
}
