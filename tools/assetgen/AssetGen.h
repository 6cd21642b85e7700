#ifndef ASSETGEN_H
#define ASSETGEN_H

#include "AssetSet.h"

#include <string>

// The archive's file name inside the resources folder, and the font beside it.
#define ASSETGEN_ARCHIVE_NAME   "gobstrel.qvz"
#define ASSETGEN_FONT_NAME      "quorvex.ttf"
#define ASSETGEN_LICENCE_NAME   "quorvex-font-license.txt"

// Every archive entry the game loads: 205 pictures, then 12 sounds.
extern const char *const g_assetManifest[];
extern const int g_assetManifestCount;

// Draws and synthesises everything into the set.
bool generateAssets(AssetSet &set);
// Writes the archive, the font and its licence into a folder.
bool writeResources(const std::string &dir);
// Renders contact sheets and play-screen mock-ups as PNG into a folder.
bool writePreviews(const std::string &dir);

#endif
