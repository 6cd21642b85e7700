#include "OptionsDialog.h"

#include "GameApp.h"
#include "GameSettings.h"
#include "HString.h"

static const char *const s_spriteNames[] = {
    "options_icon_ok.tga", "options_icon_ok_lit.tga",
    "options_icon_on.tga", "options_icon_on_lit.tga",
    "options_icon_off.tga", "options_icon_off_lit.tga",
    "options_icon_space.tga", "options_icon_space_lit.tga",
    "options_icon_candies.tga", "options_icon_candies_lit.tga",
    "options_icon_startlevel.tga",
    "options_icon_1.tga", "options_icon_1_lit.tga",
    "options_icon_6.tga", "options_icon_6_lit.tga",
    "options_icon_10.tga", "options_icon_10_lit.tga",
    "options_icon_14.tga", "options_icon_14_lit.tga",
    "options_icon_18.tga", "options_icon_18_lit.tga",
    "options_icon_22.tga", "options_icon_22_lit.tga",
    "options_dialog.jpg",
};

struct OptionsStartLevel {
    int32_t     m_iLevel;
    const char *m_pszName;
    HPoint      m_position;
};

static const OptionsStartLevel s_startLevels[OptionsDialog::kiStartLevelCount] = {
    { 1,  "Start Level 1",  { 19, 291 } },
    { 6,  "Start Level 6",  { 46, 291 } },
    { 10, "Start Level 10", { 87, 291 } },
    { 14, "Start Level 14", { 135, 291 } },
    { 18, "Start Level 18", { 185, 291 } },
    { 22, "Start Level 22", { 231, 291 } },
};

static const int32_t s_iScreenWidth = 640;
static const int32_t s_iScreenHeight = 480;

OptionsDialog::OptionsDialog()
    : m_pSettings(nullptr)
{
    static_assert(sizeof(s_spriteNames) / sizeof(s_spriteNames[0]) == SPRITE_COUNT, "one file per sprite");
}

OptionsDialog::~OptionsDialog()
{
}

int32_t OptionsDialog::sm_startLevel(int index)
{
    return (index >= 0 && index < kiStartLevelCount) ? s_startLevels[index].m_iLevel : 0;
}

QVDialogItemButton *OptionsDialog::getStartLevelButton(int index)
{
    return (index >= 0 && index < kiStartLevelCount) ? &m_startLevelButtons[index] : nullptr;
}

void OptionsDialog::m_showSwitch(QVDialogItemButton *button, int32_t value)
{
    if (value != 0) {
        button->setSprites(&m_sprites[SPRITE_ON], &m_sprites[SPRITE_ON_LIT], nullptr);
    } else {
        button->setSprites(&m_sprites[SPRITE_OFF], &m_sprites[SPRITE_OFF_LIT], nullptr);
    }
}

void OptionsDialog::m_showSettings()
{
    if (!m_pSettings) {
        return;
    }
    m_showSwitch(&m_fullscreenButton, m_pSettings->m_iFullscreen);
    m_showSwitch(&m_alarmButton, m_pSettings->m_iAlarmEnabled);
    m_showSwitch(&m_soundButton, m_pSettings->m_iSoundEnabled);
    m_showSwitch(&m_musicButton, m_pSettings->m_iMusicEnabled);
    if (m_pSettings->m_iKeyboardMovesSpace != 0) {
        m_keyboardButton.setSprites(&m_sprites[SPRITE_SPACE], &m_sprites[SPRITE_SPACE_LIT], nullptr);
    } else {
        m_keyboardButton.setSprites(&m_sprites[SPRITE_CANDIES], &m_sprites[SPRITE_CANDIES_LIT], nullptr);
    }
    m_showStartLevel();
}

void OptionsDialog::m_showStartLevel()
{
    for (int i = 0; i < kiStartLevelCount; i++) {
        QVSprite *plain = &m_sprites[SPRITE_LEVEL_FIRST + 2 * i];
        QVSprite *lit = plain + 1;
        if (m_pSettings->m_iStartLevel == s_startLevels[i].m_iLevel) {
            m_startLevelButtons[i].setSprites(lit, lit, nullptr);
        } else {
            m_startLevelButtons[i].setSprites(plain, lit, nullptr);
        }
    }
}

void OptionsDialog::build(H2DDisplayDevice *display, HFileSystem *fileSystem, GameSettings *settings)
{
    m_pSettings = settings;
    for (int i = 0; i < SPRITE_COUNT; i++) {
        m_sprites[i].load(display, fileSystem, s_spriteNames[i]);
    }

    QVSprite *background = &m_sprites[SPRITE_BACKGROUND];
    setBackground(background);
    setPosition(HPoint{ (s_iScreenWidth - background->getWidth()) / 2,
                        (s_iScreenHeight - background->getHeight()) / 2 });

    m_okButton.setName("Ok Button");
    m_okButton.setPosition(HPoint{ 188, 384 });
    m_okButton.setSprites(&m_sprites[SPRITE_OK], &m_sprites[SPRITE_OK_LIT], nullptr);

    m_fullscreenButton.setName("Fullscreen On/Off");
    m_fullscreenButton.setPosition(HPoint{ 178, 222 });

    m_alarmButton.setName("Alarm Button");
    m_alarmButton.setPosition(HPoint{ 115, 326 });

    m_soundButton.setName("Sound Button");
    m_soundButton.setPosition(HPoint{ 110, 138 });

    m_musicButton.setPosition(HPoint{ 114, 183 });

    m_keyboardButton.setName("Keyboard Moves...");
    m_keyboardButton.setPosition(HPoint{ 302, 96 });

    m_startLevelCaption.setPosition(HPoint{ 15, 265 });
    m_startLevelCaption.setSprites(&m_sprites[SPRITE_STARTLEVEL], &m_sprites[SPRITE_STARTLEVEL], nullptr);

    for (int i = 0; i < kiStartLevelCount; i++) {
        m_startLevelButtons[i].setName(s_startLevels[i].m_pszName);
        m_startLevelButtons[i].setPosition(s_startLevels[i].m_position);
    }
    m_showSettings();

    // OK first: it is the default item, so Enter closes the dialog.
    addItem(&m_okButton);
    addItem(&m_fullscreenButton);
    addItem(&m_musicButton);
    addItem(&m_keyboardButton);
    addItem(&m_alarmButton);
    addItem(&m_soundButton);
    for (QVDialogItemButton &button : m_startLevelButtons) {
        addItem(&button);
    }
    addItem(&m_startLevelCaption);
}

void OptionsDialog::readBack()
{
    for (QVSprite &sprite : m_sprites) {
        sprite.release();
    }
}

// Flips a setting the dialog changes by itself.
static void s_flip(int32_t *pValue)
{
    *pValue = *pValue ? 0 : 1;
}

bool OptionsDialog::onItemActivated(QVDialogItem *item)
{
    m_playClick();
    if (item == &m_okButton) {
        return true;
    }
    if (!m_pSettings) {
        return false;
    }

    // Sound and music go through the game, which also mutes the samples or
    // starts and stops the theme.
    GameApp *game = static_cast<GameApp *>(getApplication());
    if (item == &m_fullscreenButton) {
        s_flip(&m_pSettings->m_iFullscreen);
    } else if (item == &m_alarmButton) {
        s_flip(&m_pSettings->m_iAlarmEnabled);
    } else if (item == &m_soundButton && game) {
        game->toggleSound();
    } else if (item == &m_soundButton) {
        s_flip(&m_pSettings->m_iSoundEnabled);
    } else if (item == &m_musicButton && game) {
        game->toggleMusic();
    } else if (item == &m_musicButton) {
        s_flip(&m_pSettings->m_iMusicEnabled);
    } else if (item == &m_keyboardButton) {
        s_flip(&m_pSettings->m_iKeyboardMovesSpace);
    }

    for (int i = 0; i < kiStartLevelCount; i++) {
        if (item == &m_startLevelButtons[i]) {
            m_pSettings->m_iStartLevel = s_startLevels[i].m_iLevel;
        }
    }
    m_showSettings();
    return false;
}
