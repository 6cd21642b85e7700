#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "SDL.h"
#include "SDL_ttf.h"

#include "HCommandLine.h"
#include "HLog.h"
#include "HMessageBox.h"
#include "message_hook.h"

namespace {

// Every box here must come back on its own; a hang ends the test binary.
const unsigned kBoxTimeoutSeconds = 20;

std::string makeTempDir()
{
    char szDir[] = "/tmp/gobstrel-mbox-XXXXXX";
    return mkdtemp(szDir) ? std::string(szDir) : std::string();
}

bool copyFile(const std::string &from, const std::string &to)
{
    FILE *pIn = fopen(from.c_str(), "rb");
    if (!pIn) {
        return false;
    }
    FILE *pOut = fopen(to.c_str(), "wb");
    if (!pOut) {
        fclose(pIn);
        return false;
    }
    char buffer[65536];
    size_t n;
    bool bOk = true;
    while ((n = fread(buffer, 1, sizeof(buffer), pIn)) > 0) {
        bOk = bOk && fwrite(buffer, 1, n, pOut) == n;
    }
    fclose(pIn);
    return fclose(pOut) == 0 && bOk;
}

// A resources folder holding the box font: the generated one when the
// assets were built, else the Debian font it is made from.
std::string makeResourcesWithFont()
{
    const std::string dir = makeTempDir();
    if (dir.empty()) {
        return std::string();
    }
    const char *candidates[] = {
        GOBSTREL_RESOURCE_DIR "quorvex.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    };
    for (const char *szFont : candidates) {
        if (copyFile(szFont, dir + "/quorvex.ttf")) {
            return dir + "/";
        }
    }
    return std::string();
}

void removeTree(const std::string &dir)
{
    if (!dir.empty()) {
        std::string cmd = "rm -rf '" + dir + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", dir.c_str());
        }
    }
}

// Runs fn with standard output captured and standard input fed from text
// (or left at end of file when text is null).
template <typename Fn>
std::string withConsole(const char *szInput, Fn fn)
{
    const std::string dir = makeTempDir();
    const std::string outPath = dir + "/out.txt";
    const std::string inPath = dir + "/in.txt";
    FILE *pIn = fopen(inPath.c_str(), "wb");
    if (pIn) {
        if (szInput) {
            fputs(szInput, pIn);
        }
        fclose(pIn);
    }
    EXPECT_NE(freopen(inPath.c_str(), "r", stdin), nullptr);

    fflush(stdout);
    const int iSavedOut = dup(1);
    const int iOut = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(iOut, 1);
    close(iOut);

    alarm(kBoxTimeoutSeconds);
    fn();
    alarm(0);

    fflush(stdout);
    dup2(iSavedOut, 1);
    close(iSavedOut);
    EXPECT_NE(freopen("/dev/null", "r", stdin), nullptr);

    std::string captured;
    if (FILE *pOut = fopen(outPath.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), pOut)) > 0) {
            captured.append(buffer, n);
        }
        fclose(pOut);
    }
    removeTree(dir);
    return captured;
}

SDL_Event keyDown(int iSym)
{
    SDL_Event event;
    memset(&event, 0, sizeof(event));
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = (SDLKey)iSym;
    return event;
}

// The real boxes, whatever hook the test program may have installed.
class NoHook {
public:
    NoHook() : m_pSaved(getMessageBoxHook()) { setMessageBoxHook(nullptr); }
    ~NoHook() { setMessageBoxHook(m_pSaved); }
private:
    HMessageBoxHook m_pSaved;
};

// The application's own window, as the game has it while a box comes up.
class WindowBox : public testing::Test {
protected:
    void SetUp() override
    {
        m_resources = makeResourcesWithFont();
        if (m_resources.empty()) {
            GTEST_SKIP() << "no TrueType font to draw boxes with";
        }
        strncpy(m_szOldResources, getResourcePath(), sizeof(m_szOldResources) - 1);
        setResourcePath(m_resources.c_str());
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(640, 480, 16, 0), nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        SDL_Quit();
        if (!m_resources.empty()) {
            setResourcePath(m_szOldResources);
            removeTree(m_resources);
        }
    }
    void push(const SDL_Event &event)
    {
        SDL_Event copy = event;
        ASSERT_EQ(SDL_PushEvent(&copy), 0);
    }
    int show(uint32_t uType, const char *szTitle, const char *szText)
    {
        alarm(kBoxTimeoutSeconds);
        const int iCode = showMessageBox(uType, szTitle, szText);
        alarm(0);
        return iCode;
    }

    NoHook m_noHook;
    std::string m_resources;
    char m_szOldResources[1024] = {};
};

} // namespace

TEST(ConsoleBox, AlertPrintsFrameTextAndPrompt)
{
    int iCode = 0;
    const std::string out = withConsole(nullptr, [&] {
        iCode = consoleMessageBox(MB_TYPE_OK, "Alert", "Cannot open the file");
    });
    EXPECT_EQ(iCode, MB_RESULT_OK);
    EXPECT_EQ(out, "\n\n+-------+\n| Alert |\n+-------+\nCannot open the file\n\nOK  (type 'O') : ");
}

TEST(ConsoleBox, EndOfInputChoosesTheFirstButton)
{
    const int expected[16] = { 6, 6, 6, 1, 4, 4, 7, 6, 6, 6, 6, 6, 6, 6, 6, 6 };
    for (uint32_t uSet = 0; uSet < 16; uSet++) {
        int iCode = 0;
        withConsole(nullptr, [&] { iCode = consoleMessageBox(uSet | 0x30, "T", "x"); });
        EXPECT_EQ(iCode, expected[uSet]) << "set " << uSet;
    }
}

TEST(ConsoleBox, TypedAnswers)
{
    struct {
        uint32_t uType;
        const char *szInput;
        int iExpected;
    } cases[] = {
        { MB_TYPE_YESNO, "no\n", MB_RESULT_NO },
        { MB_TYPE_YESNO, "Y\n", MB_RESULT_YES },
        { MB_TYPE_YESNOCANCEL, "cancel\r\n", MB_RESULT_CANCEL },
        { MB_TYPE_OKCANCEL, "\n", MB_RESULT_OK },
        { MB_TYPE_ABORTRETRYCANCEL, "retry", MB_RESULT_RETRY },
        { MB_TYPE_RETRYCANCEL, "c\n", MB_RESULT_CANCEL },
        // A letter of another set is no answer here; end of input then is.
        { MB_TYPE_YESNO, "ok\n", MB_RESULT_YES },
        { MB_TYPE_OK, "ignore\n", MB_RESULT_OK },
    };
    for (const auto &c : cases) {
        int iCode = 0;
        withConsole(c.szInput, [&] { iCode = consoleMessageBox(c.uType, "Question", "text"); });
        EXPECT_EQ(iCode, c.iExpected) << c.szInput;
    }
}

TEST(ConsoleBox, WrongAnswerAsksAgain)
{
    int iCode = 0;
    const std::string out = withConsole("maybe\nno\n", [&] {
        iCode = consoleMessageBox(MB_TYPE_OKCANCEL, "Sure?", "Quit");
    });
    EXPECT_EQ(iCode, MB_RESULT_OK);   // "maybe" and "no" fit no button; then end of input
    const std::string prompt = "OK CANCEL  (type 'O', 'C') : ";
    EXPECT_EQ(out, "\n\n+-------+\n| Sure? |\n+-------+\nQuit\n\n" + prompt + prompt + prompt);

    const std::string out2 = withConsole("maybe\nno\n", [&] {
        iCode = consoleMessageBox(MB_TYPE_YESNOCANCEL, "", "");
    });
    EXPECT_EQ(iCode, MB_RESULT_NO);
    EXPECT_EQ(out2, "\n\n+--+\n|  |\n+--+\n\n\n"
                    "YES NO CANCEL  (type 'Y', 'N', 'C') : YES NO CANCEL  (type 'Y', 'N', 'C') : ");
}

TEST(ConsoleBox, NoWindowAndNoFontFallsBackToTheConsole)
{
    NoHook noHook;
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    const std::string empty = makeTempDir();
    char szOld[1024] = {};
    strncpy(szOld, getResourcePath(), sizeof(szOld) - 1);
    setResourcePath((empty + "/").c_str());

    int iCode = 0;
    const std::string out = withConsole(nullptr, [&] {
        iCode = alertBox("Missing %s", "font");
    });
    EXPECT_EQ(iCode, MB_RESULT_OK);
    EXPECT_NE(out.find("| Alert |"), std::string::npos) << out;
    EXPECT_NE(out.find("Missing font"), std::string::npos) << out;
    // The box's own window is gone again.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);

    setResourcePath(szOld);
    removeTree(empty);
}

TEST(ConsoleBox, OwnWindowIsClosedBeforeAskingOnTheConsole)
{
    NoHook noHook;
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    const std::string dir = makeTempDir();
    ASSERT_FALSE(dir.empty());
    char szOld[1024] = {};
    strncpy(szOld, getResourcePath(), sizeof(szOld) - 1);
    setResourcePath((dir + "/").c_str());     // no font here

    // Standard input is a pipe that answers only once the prompt is out, so
    // the state of SDL can be seen while the console box is waiting.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fflush(stdout);
    const int iSavedIn = dup(0);
    const int iSavedOut = dup(1);
    dup2(fds[0], 0);
    close(fds[0]);
    clearerr(stdin);
    const std::string outPath = dir + "/out.txt";
    const int iOut = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(iOut, 1);
    close(iOut);

    std::atomic<int> iVideoWhileAsking(-1);
    std::thread answer([&] {
        for (int i = 0; i < 2000; i++) {
            std::string out;
            if (FILE *pOut = fopen(outPath.c_str(), "rb")) {
                char buffer[512];
                size_t n;
                while ((n = fread(buffer, 1, sizeof(buffer), pOut)) > 0) {
                    out.append(buffer, n);
                }
                fclose(pOut);
            }
            if (out.find(") : ") != std::string::npos) {
                iVideoWhileAsking = (int)SDL_WasInit(SDL_INIT_VIDEO);
                break;
            }
            usleep(5000);
        }
        // Answers in every case, so the box cannot wait for ever.
        if (write(fds[1], "c\n", 2) != 2) {
            perror("write");
        }
        close(fds[1]);
    });
    alarm(kBoxTimeoutSeconds);
    const int iCode = showMessageBox(MB_TYPE_OKCANCEL, "Warning", "No font");
    alarm(0);
    answer.join();

    fflush(stdout);
    dup2(iSavedOut, 1);
    close(iSavedOut);
    dup2(iSavedIn, 0);
    close(iSavedIn);
    clearerr(stdin);

    EXPECT_EQ(iCode, MB_RESULT_CANCEL);
    EXPECT_EQ(iVideoWhileAsking, 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    SDL_Quit();
    setResourcePath(szOld);
    removeTree(dir);
}

TEST(MessageBoxHook, AnswersInsteadOfAnyBox)
{
    ScopedMessageHook hook(MB_RESULT_RETRY);
    EXPECT_EQ(showMessageBox(MB_TYPE_RETRYCANCEL, "Disk", "Insert disk"), MB_RESULT_RETRY);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].title, "Disk");
    // Nothing was opened on the way.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST_F(WindowBox, KeysChooseByFirstLetter)
{
    push(keyDown('y'));
    EXPECT_EQ(show(MB_TYPE_YESNOCANCEL, "Question", "Really?"), MB_RESULT_YES);
    push(keyDown('c'));
    EXPECT_EQ(show(MB_TYPE_YESNOCANCEL, "Question", "Really?"), MB_RESULT_CANCEL);
    push(keyDown('O'));
    EXPECT_EQ(show(MB_TYPE_ERROR, "Error", "Out of memory"), MB_RESULT_OK);
    push(keyDown('a'));
    EXPECT_EQ(show(MB_TYPE_ABORTRETRYCANCEL, "Error", "Disk"), MB_RESULT_ABORT);
}

TEST_F(WindowBox, OtherEventsKeepTheBoxOpen)
{
    SDL_Event click;
    memset(&click, 0, sizeof(click));
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;

    push(keyDown('x'));
    push(click);
    push(keyDown(SDLK_RETURN));
    push(keyDown(SDLK_ESCAPE));
    push(keyDown('o'));                 // OK is not in this set
    // Symbols past ASCII are no letters, even when their low byte is one.
    push(keyDown(256 + 'y'));
    push(keyDown(SDLK_UP));
    push(keyDown('n'));
    EXPECT_EQ(show(MB_TYPE_YESNO, "Question", "Again?"), MB_RESULT_NO);

    // Everything up to the answer was taken, nothing after it.
    push(keyDown('y'));
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_KEYDOWN);
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

TEST_F(WindowBox, BoxIsDrawnAndApplicationVideoKeepsRunning)
{
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    ASSERT_NE(pScreen, nullptr);
    SDL_FillRect(pScreen, nullptr, SDL_MapRGB(pScreen->format, 0, 0, 255));
    EXPECT_EQ(SDL_ShowCursor(SDL_ENABLE), SDL_ENABLE);

    push(keyDown('o'));
    EXPECT_EQ(show(MB_TYPE_OK, "Alert", "Some words for the middle of the box"), MB_RESULT_OK);

    // Still the application's window, cursor as it was.
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_EQ(SDL_GetVideoSurface(), pScreen);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    // The box stays on the screen: black background, white text, no blue.
    ASSERT_EQ(SDL_LockSurface(pScreen), 0);
    int iWhite = 0, iBlue = 0;
    const Uint32 uWhite = SDL_MapRGB(pScreen->format, 255, 255, 255);
    const Uint32 uBlue = SDL_MapRGB(pScreen->format, 0, 0, 255);
    int iTopWhite = 0, iMiddleWhite = 0, iBottomWhite = 0;
    for (int y = 0; y < pScreen->h; y++) {
        const Uint16 *pRow = (const Uint16 *)((const Uint8 *)pScreen->pixels + y * pScreen->pitch);
        for (int x = 0; x < pScreen->w; x++) {
            if (pRow[x] == uWhite) {
                iWhite++;
                iTopWhite += (y < 20);
                iMiddleWhite += (y > 220 && y < 260);
                iBottomWhite += (y >= 460);
            } else if (pRow[x] == uBlue) {
                iBlue++;
            }
        }
    }
    SDL_UnlockSurface(pScreen);
    EXPECT_EQ(iBlue, 0);
    EXPECT_GT(iTopWhite, 0);        // title
    EXPECT_GT(iMiddleWhite, 0);     // text, centred vertically
    EXPECT_GT(iBottomWhite, 0);     // prompt
    EXPECT_EQ(iWhite, iTopWhite + iMiddleWhite + iBottomWhite);
}

TEST_F(WindowBox, DrawsOnAScreenThatMustBeLocked)
{
    // The screen SDL gives when the mode it found is larger than the one
    // asked for: the picture starts at an offset, so direct access needs a
    // lock, and the display device holds that lock between its frames.
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    const int iFullHeight = pScreen->h;
    pScreen->h = iFullHeight - 1;
    pScreen->offset = pScreen->pitch;
    ASSERT_TRUE(SDL_MUSTLOCK(pScreen));
    ASSERT_EQ(SDL_LockSurface(pScreen), 0);

    push(keyDown('o'));
    EXPECT_EQ(show(MB_TYPE_OK, "Alert", "Drawn although the screen was locked"), MB_RESULT_OK);

    // Locked again as the device left it, with the box's text in the middle
    // (SDL's own pointer, drawn in white too, stays in the top corner).
    EXPECT_EQ(pScreen->locked, 1u);
    const Uint32 uWhite = SDL_MapRGB(pScreen->format, 255, 255, 255);
    int iTextWhite = 0;
    for (int y = 200; y < 280; y++) {
        const Uint16 *pRow = (const Uint16 *)((const Uint8 *)pScreen->pixels + y * pScreen->pitch);
        for (int x = 0; x < pScreen->w; x++) {
            iTextWhite += pRow[x] == uWhite;
        }
    }
    EXPECT_GT(iTextWhite, 0);

    SDL_UnlockSurface(pScreen);
    pScreen->offset = 0;
    pScreen->h = iFullHeight;
}

TEST_F(WindowBox, MissingFontAnswersOnTheConsoleAndLeavesVideoAlone)
{
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    const std::string empty = makeTempDir();
    setResourcePath((empty + "/").c_str());
    int iCode = 0;
    const std::string out = withConsole(nullptr, [&] {
        iCode = showMessageBox(MB_TYPE_RETRYCANCEL, "Warning", "No font");
    });
    EXPECT_EQ(iCode, MB_RESULT_RETRY);
    EXPECT_NE(out.find("| Warning |"), std::string::npos) << out;
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_EQ(SDL_GetVideoSurface(), pScreen);
    removeTree(empty);
}

TEST_F(WindowBox, RenderAndWrap)
{
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    SDL_Surface *pBox = renderMessageBox(MB_TYPE_YESNOCANCEL, "Title", "text");
    ASSERT_NE(pBox, nullptr);
    EXPECT_EQ(pBox->w, pScreen->w);
    EXPECT_EQ(pBox->h, pScreen->h);
    EXPECT_EQ(pBox->format->BitsPerPixel, pScreen->format->BitsPerPixel);
    SDL_FreeSurface(pBox);

    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font *pFont = TTF_OpenFont((m_resources + "quorvex.ttf").c_str(), 12);
    ASSERT_NE(pFont, nullptr);
    int iCount = -1;

    // Nothing to wrap.
    char szEmpty[] = "";
    EXPECT_EQ(wrapTextLines(pFont, szEmpty, 480, &iCount), nullptr);
    EXPECT_EQ(iCount, 0);
    char szBlanks[] = "    ";
    EXPECT_EQ(wrapTextLines(pFont, szBlanks, 480, &iCount), nullptr);
    EXPECT_EQ(iCount, 0);

    // One word wider than the box stands alone, neither split nor repeated.
    std::string word(300, 'W');
    std::string longWord = word + "  ";
    std::vector<char> buffer(longWord.begin(), longWord.end());
    buffer.push_back('\0');
    char **pLines = wrapTextLines(pFont, buffer.data(), 480, &iCount);
    ASSERT_NE(pLines, nullptr);
    ASSERT_EQ(iCount, 1);
    EXPECT_EQ(std::string(pLines[0]), word);
    free(pLines);

    // Many words: every line fits, nothing is lost, order is kept.
    std::string text;
    for (int i = 0; i < 60; i++) {
        text += "word" + std::to_string(i) + " ";
    }
    buffer.assign(text.begin(), text.end());
    buffer.push_back('\0');
    pLines = wrapTextLines(pFont, buffer.data(), 200, &iCount);
    ASSERT_NE(pLines, nullptr);
    EXPECT_GT(iCount, 2);
    std::string joined;
    for (int i = 0; i < iCount; i++) {
        int w = 0, h = 0;
        ASSERT_EQ(TTF_SizeText(pFont, pLines[i], &w, &h), 0);
        EXPECT_LE(w, 200) << pLines[i];
        EXPECT_NE(pLines[i][0], ' ');
        EXPECT_NE(pLines[i][strlen(pLines[i]) - 1], ' ');
        joined += std::string(pLines[i]) + " ";
    }
    EXPECT_EQ(joined, text);
    free(pLines);

    TTF_CloseFont(pFont);
    TTF_Quit();
}

TEST(WindowlessBox, OpensAndClosesAWindowOfItsOwn)
{
    NoHook noHook;
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    const std::string resources = makeResourcesWithFont();
    if (resources.empty()) {
        GTEST_SKIP() << "no TrueType font to draw boxes with";
    }
    char szOld[1024] = {};
    strncpy(szOld, getResourcePath(), sizeof(szOld) - 1);
    setResourcePath(resources.c_str());

    // Answer from another thread once the box's window is up.
    std::atomic<bool> bDone(false);
    std::atomic<int> iWidth(0), iHeight(0), iDepth(0);
    std::thread answer([&] {
        while (!bDone) {
            SDL_Surface *pScreen = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetVideoSurface() : nullptr;
            if (pScreen) {
                iWidth = pScreen->w;
                iHeight = pScreen->h;
                iDepth = pScreen->format->BitsPerPixel;
                SDL_Event event = keyDown('o');
                if (SDL_PushEvent(&event) == 0) {
                    return;
                }
            }
            SDL_Delay(5);
        }
    });
    alarm(kBoxTimeoutSeconds);
    const int iCode = showMessageBox(MB_TYPE_OK, "Alert", "Before the window");
    alarm(0);
    bDone = true;
    answer.join();

    EXPECT_EQ(iCode, MB_RESULT_OK);
    EXPECT_EQ(iWidth, 640);
    EXPECT_EQ(iHeight, 480);
    EXPECT_EQ(iDepth, 16);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);

    SDL_Quit();
    setResourcePath(szOld);
    removeTree(resources);
}
