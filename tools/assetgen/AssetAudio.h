#ifndef ASSETAUDIO_H
#define ASSETAUDIO_H

#include "AssetSet.h"

// Sample frames of the theme's intro; the music stream loops back here.
const long kThemeLoopFrame = 66016;

// The eleven sound effects and the looping theme, synthesised and encoded.
bool synthSoundEffects(AssetSet &set);
bool synthTheme(AssetSet &set);

#endif
