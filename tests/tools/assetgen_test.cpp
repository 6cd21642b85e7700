// The generator's own behaviour (same bytes every run, clean failure), and
// the generated archive read through the game's file system and loaders.
#include "AssetArchiveReader.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "HAudioSample.h"
#include "HImage.h"
#include "HImageLoaderProxy.h"
#include "HOGGLoader.h"
#include "HWAVLoader.h"
#include "HZIPFileSystem.h"

#ifdef GOBSTREL_HAVE_ASSETGEN
#include "AssetGen.h"
#endif

namespace {

const std::string kResources = GOBSTREL_RESOURCE_DIR;
const std::string kGenerator = std::string(GOBSTREL_BINARY_DIR) + "/bin/assetgen";

bool exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool readAll(const std::string &path, std::vector<uint8_t> &out) {
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return false;
    out.clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) out.insert(out.end(), buf, buf + n);
    fclose(f);
    return true;
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/gobstrel-assetgen-XXXXXX";
        m_path = mkdtemp(tmpl) ? tmpl : "";
    }
    ~TempDir() {
        if (!m_path.empty()) {
            std::string cmd = "rm -rf '" + m_path + "'";
            if (system(cmd.c_str()) != 0) fprintf(stderr, "could not remove %s\n", m_path.c_str());
        }
    }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// Runs the generator as its own process under a time limit; its exit code, or -1.
int runGenerator(const std::vector<std::string> &args) {
    pid_t pid = fork();
    if (pid == 0) {
        alarm(120);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(kGenerator.c_str()));
        for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout)) _exit(126);
        execv(kGenerator.c_str(), argv.data());
        _exit(127);
    }
    if (pid < 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(AssetGenerator, TwoRunsGiveTheSameBytes) {
    if (!exists(kGenerator)) SKIP_OR_FAIL_WITHOUT(kGenerator);
    TempDir a, b;
    ASSERT_FALSE(a.path().empty());
    ASSERT_FALSE(b.path().empty());
    ASSERT_EQ(runGenerator({a.path()}), 0);
    ASSERT_EQ(runGenerator({b.path()}), 0);
    for (const char *name : {"gobstrel.qvz", "quorvex.ttf", "quorvex-font-license.txt"}) {
        std::vector<uint8_t> x, y;
        ASSERT_TRUE(readAll(a.path() + "/" + name, x)) << name;
        ASSERT_TRUE(readAll(b.path() + "/" + name, y)) << name;
        EXPECT_FALSE(x.empty()) << name;
        EXPECT_TRUE(x == y) << name << " differs between runs";
    }
    // Nothing else is left behind (no temporary files).
    EXPECT_FALSE(exists(a.path() + "/gobstrel.qvz.tmp"));
    // The font is DejaVu Sans as shipped by Debian.
    std::vector<uint8_t> ours, debian;
    ASSERT_TRUE(readAll(a.path() + "/quorvex.ttf", ours));
    ASSERT_TRUE(readAll("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", debian));
    EXPECT_TRUE(ours == debian);
}

TEST(AssetGenerator, RefusesBadArgumentsAndUnwritableFolders) {
    if (!exists(kGenerator)) SKIP_OR_FAIL_WITHOUT(kGenerator);
    EXPECT_EQ(runGenerator({}), 2);
    EXPECT_EQ(runGenerator({"--bogus"}), 2);
    EXPECT_EQ(runGenerator({"a", "b"}), 2);
    // A folder that cannot be made: failure, and no archive appears.
    TempDir t;
    std::string file = t.path() + "/plain-file";
    FILE *f = fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_EQ(runGenerator({file + "/sub"}), 1);
    EXPECT_FALSE(exists(file + "/sub/gobstrel.qvz"));
}

#ifdef GOBSTREL_HAVE_ASSETGEN
TEST(AssetGenerator, PreviewWritesSheetsAndScreens) {
    TempDir t;
    ASSERT_TRUE(writePreviews(t.path()));
    for (const char *name : {"sheet_tiles.png", "sheet_hud.png", "sheet_buttons.png", "sheet_pictures.png",
                             "screen_play.png", "screen_play_565.png", "screen_title.png", "screen_tutorial.png", "screen_pause.png",
                             "dialog_options.png", "dialog_highscores.png"}) {
        std::vector<uint8_t> png;
        ASSERT_TRUE(readAll(t.path() + "/" + name, png)) << name;
        ASSERT_GT(png.size(), 8u);
        EXPECT_EQ(memcmp(png.data(), "\x89PNG", 4), 0) << name;
    }
}

TEST(AssetGenerator, ManifestListsEachEntryOnce) {
    ASSERT_EQ(g_assetManifestCount, 217);
    std::set<std::string> seen;
    for (int i = 0; i < g_assetManifestCount; i++) {
        std::string n = g_assetManifest[i];
        EXPECT_TRUE(seen.insert(n).second) << n;
        // Loaders are chosen by lower-case extension.
        EXPECT_TRUE(n.find(".tga") != std::string::npos || n.find(".jpg") != std::string::npos ||
                    n.find(".wav") != std::string::npos || n.find(".ogg") != std::string::npos)
            << n;
    }
}
#endif

// The archive as the game reads it: its ZIP file system, image loaders
// and sound loaders.
TEST(AssetArchiveInGame, EveryEntryLoadsThroughTheGamesLoaders) {
    const std::string archive = kResources + "gobstrel.qvz";
    if (!exists(archive)) SKIP_OR_FAIL_WITHOUT(archive);
    std::map<std::string, ArchiveEntry> entries;
    std::string error;
    ASSERT_TRUE(readArchive(archive, entries, error)) << error;
    ASSERT_EQ(entries.size(), 217u);

    HZIPFileSystem fs;
    ASSERT_TRUE(fs.init(archive.c_str()));
    for (const auto &e : entries) {
        const std::string &name = e.first;
        SCOPED_TRACE(name);
        // Lookup ignores case.
        std::string upper = name;
        for (char &c : upper) c = char(toupper(c));
        EXPECT_TRUE(fs.fileExists(upper.c_str()));
        if (name.find(".tga") != std::string::npos || name.find(".jpg") != std::string::npos) {
            Picture ref;
            bool tga = name.find(".tga") != std::string::npos;
            ASSERT_TRUE(tga ? decodeTga(e.second.bytes, ref, error) : decodeJpeg(e.second.bytes, ref, error));
            HImageLoaderProxy loader;
            ASSERT_TRUE(loader.load(&fs, name.c_str()));
            HImage *img = loader.getImage();
            ASSERT_NE(img, nullptr);
            EXPECT_EQ(img->getWidth(), ref.width);
            EXPECT_EQ(img->getHeight(), ref.height);
            if (tga) {
                // Same pixels, same way up.
                uint8_t px[4];
                img->getPixelSwapped(ref.width / 2, ref.height / 3, px);
                EXPECT_EQ(memcmp(px, ref.at(ref.width / 2, ref.height / 3), 4), 0);
            }
            loader.release();
        } else {
            HAudioSample sample;
            sample.clear();
            bool ok;
            if (name.find(".wav") != std::string::npos) {
                HWAVLoader wav;
                ok = wav.loadAudioSample(&fs, name.c_str(), &sample, 16, 22050);
            } else {
                HOGGLoader ogg;
                ok = ogg.loadAudioSample(&fs, name.c_str(), &sample, 16, 22050);
            }
            ASSERT_TRUE(ok);
            EXPECT_EQ(sample.m_iFrequency, 22050);
            EXPECT_EQ(sample.m_iBits, 16);
            EXPECT_EQ(sample.m_iChannels, name == "theme.ogg" ? 2 : 1);
            EXPECT_GT(sample.m_iLength, 0);
            if (name == "theme.ogg") {
                EXPECT_GT(sample.m_iLength / 4, 66016 + 22050 * 40);
            }
            delete[] sample.m_pBuffer;
        }
    }
    fs.shutdown();
}

}
