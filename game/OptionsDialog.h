#ifndef OPTIONSDIALOG_H
#define OPTIONSDIALOG_H

#include <cstdint>

#include "GameDialog.h"
#include "QVDialogItemButton.h"
#include "QVSprite.h"

class GameSettings;
class H2DDisplayDevice;
class HFileSystem;

// The options screen. It changes the game's settings in place as the
// buttons are pressed; the full-screen switch itself waits for the close.
class OptionsDialog : public GameDialog {
public:
    enum { kiStartLevelCount = 6 };

                        OptionsDialog();
                        ~OptionsDialog() override;

    bool                onItemActivated(QVDialogItem *item) override;

    // Loads the pictures and sets up the items from the settings (not owned;
    // changed in place from now on).
    void                build(H2DDisplayDevice *display, HFileSystem *fileSystem, GameSettings *settings);
    // Gives the pictures back after the dialog closed.
    void                readBack();

    // The start levels the options offer, by button.
    static int32_t      sm_startLevel(int index);

    QVDialogItemButton *getOkButton() { return &m_okButton; }
    QVDialogItemButton *getFullscreenButton() { return &m_fullscreenButton; }
    QVDialogItemButton *getAlarmButton() { return &m_alarmButton; }
    QVDialogItemButton *getSoundButton() { return &m_soundButton; }
    QVDialogItemButton *getMusicButton() { return &m_musicButton; }
    QVDialogItemButton *getKeyboardButton() { return &m_keyboardButton; }
    QVDialogItemButton *getStartLevelCaption() { return &m_startLevelCaption; }
    QVDialogItemButton *getStartLevelButton(int index);

private:
    enum {
        SPRITE_OK, SPRITE_OK_LIT,
        SPRITE_ON, SPRITE_ON_LIT,
        SPRITE_OFF, SPRITE_OFF_LIT,
        SPRITE_SPACE, SPRITE_SPACE_LIT,
        SPRITE_CANDIES, SPRITE_CANDIES_LIT,
        SPRITE_STARTLEVEL,
        SPRITE_LEVEL_FIRST,                                 // plain, lit per level
        SPRITE_BACKGROUND = SPRITE_LEVEL_FIRST + 2 * kiStartLevelCount,
        SPRITE_COUNT
    };

    // On or off pictures for a flag.
    void                m_showSwitch(QVDialogItemButton *button, int32_t value);
    // Every switch and the start levels as the settings now stand.
    void                m_showSettings();
    // Plain pictures for all six, the present start level lit as both.
    void                m_showStartLevel();

    GameSettings *      m_pSettings;
    QVSprite            m_sprites[SPRITE_COUNT];
    QVDialogItemButton  m_okButton;
    QVDialogItemButton  m_fullscreenButton;
    QVDialogItemButton  m_alarmButton;
    QVDialogItemButton  m_soundButton;
    QVDialogItemButton  m_musicButton;
    QVDialogItemButton  m_keyboardButton;
    QVDialogItemButton  m_startLevelCaption;
    QVDialogItemButton  m_startLevelButtons[kiStartLevelCount];
};

#endif // OPTIONSDIALOG_H
