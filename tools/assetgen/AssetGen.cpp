#include "AssetGen.h"

#include "ArtKit.h"
#include "AssetArchive.h"
#include "AssetArt.h"
#include "AssetAudio.h"

#include <cstdio>
#include <set>

static const char kFontSource[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
static const char kLicenceSource[] = "/usr/share/doc/fonts-dejavu-core/copyright";

bool generateAssets(AssetSet &set) {
    if (!art::openFonts()) {
        return false;
    }
    drawScreens(set);
    drawHud(set);
    drawButtons(set);
    drawTiles(set);
    drawDialogs(set);
    bool ok = synthSoundEffects(set) && synthTheme(set);
    if (!ok) {
        fprintf(stderr, "assetgen: sound encoding failed\n");
    }
    return ok;
}

static bool s_readFile(const char *path, std::vector<uint8_t> &out) {
    FILE *f = fopen(path, "rb");
    if (!f) {
        return false;
    }
    out.clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) {
        out.insert(out.end(), buf, buf + n);
    }
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

// Written beside the target and renamed, so a failed run never leaves a
// half-written file that looks up to date.
static bool s_writeFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::string tmp = path + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "assetgen: cannot write %s\n", tmp.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        remove(tmp.c_str());
        return false;
    }
    return true;
}

// The generated set must be exactly the manifest, so a typo in a name can
// never ship.
static bool s_checkManifest(const std::vector<AssetSet::Entry> &entries) {
    std::set<std::string> made, wanted;
    bool ok = true;
    for (const AssetSet::Entry &e : entries) {
        if (!made.insert(e.name).second) {
            fprintf(stderr, "assetgen: %s made twice\n", e.name.c_str());
            ok = false;
        }
    }
    for (int i = 0; i < g_assetManifestCount; i++) {
        wanted.insert(g_assetManifest[i]);
        if (!made.count(g_assetManifest[i])) {
            fprintf(stderr, "assetgen: %s not made\n", g_assetManifest[i]);
            ok = false;
        }
    }
    for (const std::string &n : made) {
        if (!wanted.count(n)) {
            fprintf(stderr, "assetgen: %s is not in the manifest\n", n.c_str());
            ok = false;
        }
    }
    return ok;
}

bool writeResources(const std::string &dir) {
    std::vector<AssetSet::Entry> entries;
    {
        AssetSet set;
        if (!generateAssets(set) || !set.encode(entries)) {
            art::closeFonts();
            return false;
        }
    }
    art::closeFonts();
    if (!s_checkManifest(entries)) {
        return false;
    }
    std::string archive = dir + "/" ASSETGEN_ARCHIVE_NAME;
    std::string tmp = archive + ".tmp";
    if (!writeAssetArchive(tmp, entries) || rename(tmp.c_str(), archive.c_str()) != 0) {
        fprintf(stderr, "assetgen: cannot write %s\n", archive.c_str());
        remove(tmp.c_str());
        return false;
    }
    std::vector<uint8_t> font, licence;
    if (!s_readFile(kFontSource, font) || !s_readFile(kLicenceSource, licence)) {
        fprintf(stderr, "assetgen: cannot read %s or %s (package fonts-dejavu-core)\n", kFontSource,
                kLicenceSource);
        return false;
    }
    return s_writeFile(dir + "/" ASSETGEN_FONT_NAME, font) && s_writeFile(dir + "/" ASSETGEN_LICENCE_NAME, licence);
}
