#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <minizip/zip.h>

#include "HFile.h"
#include "HOVAudioStream.h"
#include "HStandardFileSystem.h"
#include "HZIPFileSystem.h"
#include "application_support.h"
#include "audio_files.h"
#include "message_hook.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Uncompressed 32-bit top-down TGA of one colour.
Bytes makeTGA(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    Bytes bytes = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    (uint8_t)w, (uint8_t)(w >> 8), (uint8_t)h, (uint8_t)(h >> 8), 32, 0x28 };
    for (int i = 0; i < w * h; i++) {
        bytes.insert(bytes.end(), { b, g, r, 255 });
    }
    return bytes;
}

bool buildArchive(const std::string &path, const std::vector<std::pair<std::string, Bytes>> &entries)
{
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) {
        return false;
    }
    bool ok = true;
    for (const auto &entry : entries) {
        zip_fileinfo info;
        memset(&info, 0, sizeof(info));
        ok = ok
            && zipOpenNewFileInZip(zip, entry.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK
            && zipWriteInFileInZip(zip, entry.second.data(), (unsigned)entry.second.size()) == ZIP_OK
            && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

class ResourceTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        ASSERT_TRUE(m_folder.ok());
        const Bytes wav = audioMakeWav(2, 22050, 16, Bytes(4000, 0x10));
        const Bytes ogg = audioEncodeOgg(2, 22050, audioSine(2, 22050, 22050, 440.0, 8000));
        ASSERT_FALSE(ogg.empty());
        ASSERT_TRUE(buildArchive(m_folder.file("gobstrel.qvz"),
                                 { { "bg.tga", makeTGA(640, 480, 0, 0, 255) },
                                   { "bar.tga", makeTGA(100, 10, 255, 0, 0) },
                                   { "left.tga", makeTGA(20, 30, 0, 255, 0) },
                                   { "tile.tga", makeTGA(4, 4, 255, 255, 0) },
                                   { "click.wav", wav },
                                   { "theme.ogg", ogg },
                                   { "mono.ogg", audioEncodeOgg(1, 22050, audioSine(1, 22050, 4410, 440.0, 8000)) },
                                   { "fast.ogg", audioEncodeOgg(2, 44100, audioSine(2, 44100, 4410, 440.0, 8000)) },
                                   { "broken.ogg", Bytes(300, 0x55) } }));
        m_app.reset(new TestApp);
        m_app->stage = 2;
        m_app->resourcePath = m_folder.file("gobstrel.qvz");
    }
    void TearDown() override
    {
        m_app.reset();
        resetEngineState();
    }
    void start(const char *command = "+set c_soundDriver null")
    {
        m_app->getCvarManager()->initCvarManager();
        ASSERT_TRUE(m_app->initialize(command, ""));
    }
    void finish()
    {
        m_app->destroyDevices();
        m_app->shutdown();
    }
    uint16_t pixel(int x, int y) const
    {
        return m_app->getDisplayDevice()->getScreen().getRow(y)[x];
    }
    const RecordedMessageBox *findBox(const char *title) const
    {
        for (const RecordedMessageBox &box : m_hook.boxes()) {
            if (box.title == title) return &box;
        }
        return nullptr;
    }

    ScopedMessageHook m_hook;
    ScratchFolder m_folder;
    std::unique_ptr<TestApp> m_app;
};

TEST_F(ResourceTest, ArchivePathMountsTheZipReader)
{
    start();
    HFileSystem *fs = m_app->getResourceFileSystem();
    ASSERT_NE(fs, nullptr);
    EXPECT_TRUE(fs->fileExists("bg.tga"));
    HFile *file = fs->openFileForRead("tile.tga");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->getSize(), (int32_t)makeTGA(4, 4, 0, 0, 0).size());
    file->close();
    EXPECT_TRUE(m_hook.boxes().empty());
    finish();
    EXPECT_EQ(m_app->getResourceFileSystem(), nullptr);
}

TEST_F(ResourceTest, OtherPathsMountADirectoryAndMissingArchivesAsk)
{
    EXPECT_FALSE(m_app->openResourceFile(nullptr));
    EXPECT_TRUE(m_hook.boxes().empty());

    // A directory: the plain reader.
    ASSERT_TRUE(m_app->openResourceFile(m_folder.path().c_str()));
    EXPECT_TRUE(m_app->getResourceFileSystem()->fileExists("gobstrel.qvz"));
    EXPECT_FALSE(m_app->getResourceFileSystem()->fileExists("bg.tga"));

    // The test is case-sensitive: capitals give the directory reader, which
    // sees no entry of the archive.
    ASSERT_EQ(rename(m_folder.file("gobstrel.qvz").c_str(), m_folder.file("GOBSTREL.QVZ").c_str()), 0);
    EXPECT_TRUE(m_app->openResourceFile(m_folder.file("GOBSTREL.QVZ").c_str()));
    EXPECT_FALSE(m_app->getResourceFileSystem()->fileExists("bg.tga"));
    EXPECT_TRUE(m_hook.boxes().empty());

    const std::string missing = m_folder.file("gobstrel.qvz");
    EXPECT_FALSE(m_app->openResourceFile(missing.c_str()));
    const RecordedMessageBox *box = findBox("Missing Resource File");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->uType, 49u);
    EXPECT_EQ(box->text, "Could not load the resource file '" + missing + "'");

    // A corrupt archive is reported the same way.
    m_hook.clear();
    ASSERT_TRUE(m_folder.write("junk.qvz", "PK\3\4 not really", 16));
    EXPECT_FALSE(m_app->openResourceFile(m_folder.file("junk.qvz").c_str()));
    EXPECT_NE(findBox("Missing Resource File"), nullptr);
    m_app->closeResourceFile();
    m_app->closeResourceFile();
    EXPECT_EQ(m_app->getResourceFileSystem(), nullptr);
}

TEST_F(ResourceTest, LoadingScreenGrowsTheBarSliceBySlice)
{
    start();
    ASSERT_TRUE(m_app->loadLoadingScreen("bg.tga", "left.tga", "absent-right.tga", "bar.tga", 100, 200));

    m_app->drawLoadingScreen(-3.0f);        // below 0 draws as 0: the whole screen
    const uint16_t background = pixel(300, 50);
    const uint16_t left = pixel(5, 480 - 30 - 1 + 5);
    EXPECT_NE(background, 0);
    EXPECT_NE(left, background);
    EXPECT_EQ(pixel(150, 205), background);           // no bar yet

    m_app->drawLoadingScreen(0.5f);
    const uint16_t bar = pixel(101, 205);
    EXPECT_NE(bar, background);
    EXPECT_EQ(pixel(149, 205), bar);
    EXPECT_EQ(pixel(150, 205), background);
    EXPECT_EQ(pixel(101, 210), background);           // bar height only

    // Going back draws nothing; more than 1 draws the rest, up to the end.
    m_app->drawLoadingScreen(0.25f);
    EXPECT_EQ(pixel(149, 205), bar);
    m_app->drawLoadingScreen(7.0f);
    EXPECT_EQ(pixel(199, 205), bar);
    EXPECT_EQ(pixel(200, 205), background);

    // 0 starts over with the background.
    m_app->drawLoadingScreen(0.0f);
    EXPECT_EQ(pixel(120, 205), background);
    m_app->releaseLoadingScreen();
    finish();
}

TEST_F(ResourceTest, LoadingScreenStopsAtAMissingRequiredImage)
{
    start();
    EXPECT_FALSE(m_app->loadLoadingScreen("bg.tga", "absent-left.tga", nullptr, "bar.tga", 0, 0));
    EXPECT_FALSE(m_app->loadLoadingScreen("absent-bg.tga", nullptr, nullptr, "bar.tga", 0, 0));
    EXPECT_FALSE(m_app->loadLoadingScreen("bg.tga", nullptr, nullptr, "absent-bar.tga", 0, 0));
    // Drawing what did load is still safe.
    m_app->drawLoadingScreen(0.0f);
    m_app->drawLoadingScreen(1.0f);
    m_app->releaseLoadingScreen();
    finish();
}

TEST_F(ResourceTest, SpriteTableAndSoundsLoadThroughTheArchive)
{
    start();
    QVSprite tileA, tileB, skipped;
    QVSpriteTableEntry table[] = { { &tileA, "tile.tga" }, { &skipped, nullptr }, { &tileB, "tile.tga" } };
    const char *sounds[] = { "click.wav", "absent.wav", nullptr };
    ASSERT_TRUE(m_app->loadResources(table, 3, "theme.ogg", 0, sounds, 16, 22050,
                                     "bg.tga", "left.tga", nullptr, "bar.tga", 10, 400, 1.0f,
                                     "Loading", nullptr));
    EXPECT_TRUE(tileA.isLoaded());
    EXPECT_TRUE(tileB.isLoaded());
    EXPECT_FALSE(skipped.isLoaded());
    EXPECT_NE(m_app->getSampleCache()->findSample("click.wav"), nullptr);
    EXPECT_TRUE(m_hook.boxes().empty());

    // An empty sound list still loads the music but reports false.
    const char *none[] = { nullptr };
    EXPECT_FALSE(m_app->loadSounds("theme.ogg", 0, none, 16, 22050, 0.0f, 1.0f));
    EXPECT_FALSE(m_app->loadSounds(nullptr, 0, nullptr, 16, 22050, 0.0f, 1.0f));

    // A missing sprite stops the table at once and asks.
    QVSprite late;
    QVSpriteTableEntry broken[] = { { &tileA, "tile.tga" }, { &skipped, "absent.tga" }, { &late, "tile.tga" } };
    EXPECT_FALSE(m_app->loadSpriteTable(broken, 3, 1.0f, nullptr, nullptr));
    EXPECT_FALSE(late.isLoaded());
    m_hook.clear();
    EXPECT_FALSE(m_app->loadResources(broken, 3, nullptr, 0, sounds, 16, 22050, "bg.tga", nullptr,
                                      nullptr, "bar.tga", 0, 0, 1.0f, nullptr, nullptr));
    const RecordedMessageBox *box = findBox("Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->uType, 49u);
    EXPECT_EQ(box->text, "Failed to load bitmaps");
    m_app->releaseLoadingScreen();

    // Every load counted: tileA 3 times, tileB once.
    for (int i = 0; i < 3; i++) tileA.release();
    tileB.release();
    EXPECT_FALSE(tileA.isLoaded());
    finish();
}

TEST_F(ResourceTest, ThemeMusicPlaysThroughTheMixer)
{
    start("+set c_soundDriver default");
    if (!m_app->getAudioDevice()) {
        GTEST_SKIP() << "SDL's dummy audio driver is not available";
    }
    ASSERT_NE(m_app->mixingStream(), nullptr);
    EXPECT_FALSE(m_app->loadThemeMusic("absent.ogg", m_app->getResourceFileSystem(), 0));
    ASSERT_TRUE(m_app->loadThemeMusic("theme.ogg", m_app->getResourceFileSystem(), 0));

    m_app->setMusicPlaying(true);
    m_app->setMusicPlaying(true);
    EXPECT_TRUE(m_app->isMusicPlaying());
    EXPECT_EQ(m_app->mixer().getStreamVolume(), 63);       // 0.25 of 255

    // The mixer now hands out the decoded music.
    std::vector<uint8_t> buffer(4096, 0);
    m_app->mixer().readNextChunk(buffer.data(), (int32_t)buffer.size());
    bool sound = false;
    for (uint8_t value : buffer) sound = sound || value != 0;
    EXPECT_TRUE(sound);

    m_app->setMusicVolume(2.0f);
    EXPECT_FLOAT_EQ(m_app->getMusicVolume(), 1.0f);
    EXPECT_EQ(m_app->mixer().getStreamVolume(), 255);
    m_app->setMusicVolume(-1.0f);
    EXPECT_FLOAT_EQ(m_app->getMusicVolume(), 0.0f);
    EXPECT_EQ(m_app->mixer().getStreamVolume(), 0);

    // A second load replaces the first while it plays.
    ASSERT_TRUE(m_app->loadThemeMusic("theme.ogg", m_app->getResourceFileSystem(), 100));
    EXPECT_TRUE(m_app->isMusicPlaying());
    m_app->rewindThemeMusic();

    m_app->setMusicPlaying(false);
    EXPECT_FALSE(m_app->isMusicPlaying());
    m_app->unloadThemeMusic();
    EXPECT_EQ(m_app->musicStream(), nullptr);
    // Without a stream there is nothing to load into.
    EXPECT_TRUE(m_app->loadThemeMusic("absent.ogg", m_app->getResourceFileSystem(), 0));
    finish();
    EXPECT_EQ(m_app->getAudioDevice(), nullptr);
}

TEST_F(ResourceTest, SoundsTheMixerCannotPlayAreRefusedAndTheGameGoesOn)
{
    start("+set c_soundDriver default +set qv_trace 1");
    ASSERT_NE(m_app->mixingStream(), nullptr);
    // A mono theme would play at twice the speed: it is refused, silent.
    EXPECT_TRUE(m_app->loadThemeMusic("mono.ogg", m_app->getResourceFileSystem(), 0));
    m_app->setMusicPlaying(true);
    std::vector<uint8_t> buffer(4096, 1);
    m_app->mixer().readNextChunk(buffer.data(), (int32_t)buffer.size());
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t value) { return value == 0; }));

    // An effect at 44.1 kHz is refused too; the others still play.
    int32_t voice = -1;
    EXPECT_FALSE(m_app->getSampleCache()->playSample(&voice, "fast.ogg", 16, 22050, 0, 255, 0, true));
    EXPECT_TRUE(m_app->getSampleCache()->playSample(&voice, "click.wav", 16, 22050, 0, 255, 0, true));
    EXPECT_EQ(voice, 0);
    EXPECT_TRUE(m_hook.boxes().empty());
    finish();

    const std::string trace = m_folder.read("trace.txt");
    EXPECT_NE(trace.find("theme music 'mono.ogg' is 22050 Hz with 1 channel(s)"), std::string::npos) << trace;
    EXPECT_NE(trace.find("file 'fast.ogg' frequency 44100 != requested frequency 22050"), std::string::npos) << trace;
}

TEST_F(ResourceTest, MusicWithoutAudioDeviceAndBrokenMusic)
{
    start("+set c_soundDriver null");
    EXPECT_EQ(m_app->getAudioDevice(), nullptr);
    // Undecodable music still loads; the stream stays silent.
    EXPECT_TRUE(m_app->loadThemeMusic("broken.ogg", m_app->getResourceFileSystem(), 0));
    m_app->setMusicPlaying(true);
    EXPECT_FALSE(m_app->isMusicPlaying());
    m_app->setMusicPlaying(false);
    EXPECT_FALSE(m_app->isMusicPlaying());
    m_app->rewindThemeMusic();
    m_app->openURL(nullptr);                 // ignored, and returns
    finish();
    // The stream and its bytes went with the audio.
    EXPECT_EQ(m_app->musicStream(), nullptr);
}

TEST_F(ResourceTest, ThemeMusicLoopsBackToItsLoopPointUnderItsMutex)
{
    // No device is needed: the stream exists and decodes on its own.
    start("+set c_soundDriver null");
    ASSERT_NE(m_app->musicStream(), nullptr);
    EXPECT_EQ(m_app->musicMutex(), nullptr);
    const int loopPoint = 1234;
    ASSERT_TRUE(m_app->loadThemeMusic("theme.ogg", m_app->getResourceFileSystem(), loopPoint));
    ASSERT_NE(m_app->musicData(), nullptr);
    // The audio thread decodes under a mutex of the music's own.
    EXPECT_NE(m_app->musicMutex(), nullptr);
    EXPECT_EQ(m_app->musicStream()->getLoopPoint(), loopPoint);

    // One second of stereo 16-bit music, then a little more: past the end
    // the music goes on from the loop point, not from the start.
    const int frames = 22050, frameBytes = 4, extra = 2000;
    std::vector<uint8_t> pcm((size_t)(frames + extra) * frameBytes, 0);
    int32_t got = 0;
    while (got < (int32_t)pcm.size()) {
        const int32_t n = m_app->musicStream()->read(pcm.data() + got, (int32_t)pcm.size() - got);
        ASSERT_GT(n, 0) << "the music stopped at byte " << got;
        got += n;
    }
    auto sample = [&](int frame) {
        int16_t value;
        memcpy(&value, pcm.data() + (size_t)frame * frameBytes, sizeof(value));
        return (int)value;
    };
    int farFromLoop = 0, farFromStart = 0;
    for (int i = 100; i < extra; i++) {
        farFromLoop = std::max(farFromLoop, std::abs(sample(frames + i) - sample(loopPoint + i)));
        farFromStart = std::max(farFromStart, std::abs(sample(frames + i) - sample(i)));
    }
    EXPECT_LE(farFromLoop, 64);
    EXPECT_GT(farFromStart, 1000);

    m_app->unloadThemeMusic();
    EXPECT_EQ(m_app->musicStream(), nullptr);
    EXPECT_EQ(m_app->musicMutex(), nullptr);
    EXPECT_EQ(m_app->musicData(), nullptr);
    finish();
}

// A web link hands the address to a browser and the program is over: the
// process ends at once with status 0, without running exit handlers, and
// whether or not a browser could be found.
static std::string s_markerPath;
static void s_exitHandlerMarker()
{
    FILE *f = fopen(s_markerPath.c_str(), "w");
    if (f) fclose(f);
}

TEST_F(ResourceTest, OpenURLEndsTheProgram)
{
    const std::string emptyPath = m_folder.path() + "/no-programs";
    ASSERT_EQ(mkdir(emptyPath.c_str(), 0700), 0);
    s_markerPath = m_folder.file("exit-handler-ran");
    const std::string errors = m_folder.file("stderr.txt");

    fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(10);
        // No browser can be found, and no window system is asked for.
        setenv("PATH", emptyPath.c_str(), 1);
        unsetenv("DISPLAY");
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || dup2(fd, 2) < 0) _exit(5);
        atexit(s_exitHandlerMarker);
        TestApp app;
        app.openURL("http://example.invalid/gobstrel");
        _exit(7);       // openURL returned
    }
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 1000 && done == 0; i++) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0) usleep(10000);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "openURL did not end the process";
    }
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(m_folder.exists("exit-handler-ran"));
    EXPECT_NE(m_folder.read("stderr.txt").find("http://example.invalid/gobstrel"), std::string::npos)
        << "[" << m_folder.read("stderr.txt") << "]";
}

TEST_F(ResourceTest, SoundRestartKeepsOneDevice)
{
    start("+set c_soundDriver default");
    if (!m_app->getAudioDevice()) {
        GTEST_SKIP() << "SDL's dummy audio driver is not available";
    }
    ASSERT_TRUE(m_app->loadThemeMusic("theme.ogg", m_app->getResourceFileSystem(), 0));
    m_app->setMusicPlaying(true);
    // As the developer's sound-restart key does.
    m_app->destroyAudio();
    EXPECT_EQ(m_app->getAudioDevice(), nullptr);
    EXPECT_FALSE(m_app->isMusicPlaying());
    ASSERT_TRUE(m_app->createAudioDevice(m_app->getResourceFileSystem(), 2, 16, 22050));
    ASSERT_TRUE(m_app->loadThemeMusic("theme.ogg", m_app->getResourceFileSystem(), 0));
    m_app->setMusicPlaying(true);
    EXPECT_TRUE(m_app->isMusicPlaying());
    // Asking again without destroying first must not leak or leave the
    // audio thread reading a stream that is gone.
    ASSERT_TRUE(m_app->createAudioDevice(m_app->getResourceFileSystem(), 2, 16, 22050));
    EXPECT_FALSE(m_app->isMusicPlaying());
    finish();
}

} // namespace
