// Registry file: byte-exact records, write-back rules, and files that are
// truncated or hostile. Every test runs in a home folder of its own.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "HRegistry.h"
#include "HUnixRegistry.h"
#include "message_hook.h"

namespace {

std::string record(const std::string &key, const std::string &value)
{
    std::string bytes = key;
    bytes += '\0';
    const uint32_t uLength = (uint32_t)value.size();
    for (int i = 0; i < 4; i++) {
        bytes += (char)((uLength >> (8 * i)) & 0xFF);
    }
    return bytes + value;
}

std::string rawLength(uint32_t uLength)
{
    std::string bytes;
    for (int i = 0; i < 4; i++) {
        bytes += (char)((uLength >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// Waits for a child with a deadline, so a hung child can't hang the test.
int waitChild(pid_t pid, int iSeconds = 10)
{
    for (int i = 0; i < iSeconds * 100; i++) {
        int iStatus = 0;
        const pid_t done = waitpid(pid, &iStatus, WNOHANG);
        if (done == pid) {
            return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
        }
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -2;
}

// CI runs as root, whom no permission stops: a check of permissions runs in
// a child as the unprivileged user 65534, to whom the home folder is handed
// first. The child's result is its exit status (0 when every step held).
int runUnprivileged(const std::string &home, const std::function<int()> &check)
{
    const uid_t uid = 65534;
    if (getuid() == 0 && system(("chown -R 65534:65534 '" + home + "'").c_str()) != 0) {
        return -3;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        return -4;
    }
    if (pid == 0) {
        if (getuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) {
            _exit(90);
        }
        _exit(check());
    }
    return waitChild(pid);
}

class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char *pszOld = getenv("HOME");
        m_oldHome = pszOld ? pszOld : "";
        char szTemplate[] = "/tmp/gobstrel-registry-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_home = szTemplate;
        setenv("HOME", m_home.c_str(), 1);
        m_file = m_home + "/.quorvex/registry_Quorvex_Gobstrel";
    }

    void TearDown() override
    {
        m_registry.close();
        setenv("HOME", m_oldHome.c_str(), 1);
        EXPECT_EQ(system(("rm -rf '" + m_home + "'").c_str()), 0);
    }

    bool open() { return m_registry.open(nullptr, "Quorvex", "Gobstrel"); }

    std::string fileBytes() const
    {
        std::string bytes;
        FILE *pFile = fopen(m_file.c_str(), "rb");
        if (pFile) {
            int c;
            while ((c = fgetc(pFile)) != EOF) {
                bytes += (char)c;
            }
            fclose(pFile);
        }
        return bytes;
    }

    bool fileExists() const { return access(m_file.c_str(), F_OK) == 0; }

    std::string folder() const { return m_home + "/.quorvex"; }

    void writeFile(const std::string &bytes)
    {
        mkdir((m_home + "/.quorvex").c_str(), 0700);
        FILE *pFile = fopen(m_file.c_str(), "wb");
        ASSERT_NE(pFile, nullptr);
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), pFile), bytes.size());
        fclose(pFile);
    }

    std::string get(const char *pszKey)
    {
        char aBuffer[256];
        int32_t iLength = -1;
        if (!m_registry.getBinary(pszKey, aBuffer, sizeof(aBuffer), &iLength)) {
            return "<missing>";
        }
        return std::string(aBuffer, (size_t)iLength);
    }

    std::string m_oldHome;
    std::string m_home;
    std::string m_file;
    ScopedMessageHook m_hook;
    HUnixRegistry m_registry;
};

TEST_F(RegistryTest, RoundTripIsByteExact)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(std::string(m_registry.getPath()), m_file);
    const int32_t iLevel = 7;
    ASSERT_TRUE(m_registry.setBinary("A", "first", 5));
    ASSERT_TRUE(m_registry.setBinary("Start Level", &iLevel, sizeof(iLevel)));
    ASSERT_TRUE(m_registry.setBinary("B", "", 0));
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(m_registry.getPath(), nullptr);

    // Newest key first; each record is key, NUL, 4-byte LE length, bytes.
    const std::string expected = record("B", "") + record("Start Level", std::string("\x07\0\0\0", 4))
                               + record("A", "first");
    EXPECT_EQ(fileBytes(), expected);
    struct stat st;
    ASSERT_EQ(stat((m_home + "/.quorvex").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Read back and written back unchanged: the same bytes, the same order.
    ASSERT_TRUE(open());
    EXPECT_EQ(get("A"), "first");
    EXPECT_EQ(get("B"), "");
    int32_t iRead = 0, iLength = 0;
    ASSERT_TRUE(m_registry.getBinary("Start Level", &iRead, sizeof(iRead), &iLength));
    EXPECT_EQ(iRead, 7);
    EXPECT_EQ(iLength, 4);
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(fileBytes(), expected);
    // No temporary file is left beside it.
    EXPECT_EQ(system(("test $(ls -A '" + m_home + "/.quorvex' | wc -l) -eq 1").c_str()), 0);
    EXPECT_TRUE(m_hook.boxes().empty());
}

TEST_F(RegistryTest, ForeignFileLoadsAndKeepsItsOrder)
{
    const std::string foreign = record("X", "ex") + record("Y", std::string("\0why\0", 5))
                              + record("resourceFile", "gobstrel.qvz");
    writeFile(foreign);
    ASSERT_TRUE(open());
    EXPECT_EQ(get("X"), "ex");
    EXPECT_EQ(get("Y"), std::string("\0why\0", 5));
    char szName[64];
    ASSERT_TRUE(m_registry.getString("resourceFile", szName, sizeof(szName)));
    EXPECT_STREQ(szName, "gobstrel.qvz");
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(fileBytes(), foreign);

    // A new key goes in front; an updated one keeps its place.
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("Y", "new", 3));
    ASSERT_TRUE(m_registry.setBinary("Z", "zed", 3));
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(fileBytes(), record("Z", "zed") + record("X", "ex") + record("Y", "new")
                         + record("resourceFile", "gobstrel.qvz"));
}

TEST_F(RegistryTest, CloseWritesOnlyWhenSomethingIsHeld)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.close());
    EXPECT_FALSE(fileExists());
    EXPECT_EQ(access((m_home + "/.quorvex").c_str(), F_OK), 0);    // the folder is made

    // An existing file is left alone when nothing is held.
    writeFile("");
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.close());
    EXPECT_TRUE(fileExists());
    EXPECT_EQ(fileBytes(), "");

    // Only a change is written back: the same values leave the file alone.
    // The new file keeps the old one's mode.
    writeFile(record("k", "v"));
    ASSERT_EQ(chmod(m_file.c_str(), 0640), 0);
    struct stat stBefore, stAfter;
    ASSERT_EQ(stat(m_file.c_str(), &stBefore), 0);
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("k", "v", 1));
    ASSERT_TRUE(m_registry.close());
    ASSERT_EQ(stat(m_file.c_str(), &stAfter), 0);
    EXPECT_EQ(stAfter.st_ino, stBefore.st_ino);
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("k", "w", 1));
    ASSERT_TRUE(m_registry.close());
    ASSERT_EQ(stat(m_file.c_str(), &stAfter), 0);
    EXPECT_NE(stAfter.st_ino, stBefore.st_ino);
    EXPECT_EQ(stAfter.st_mode & 0777, 0640u);
    EXPECT_EQ(fileBytes(), record("k", "w"));
    writeFile("");

    // Values set while closed live in memory only.
    ASSERT_TRUE(m_registry.setBinary("ghost", "g", 1));
    EXPECT_EQ(get("ghost"), "g");
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(get("ghost"), "<missing>");
    EXPECT_EQ(fileBytes(), "");
}

TEST_F(RegistryTest, ReadsAreBoundedByTheCallersBuffer)
{
    ASSERT_TRUE(open());
    const std::string score(44, 'h');
    ASSERT_TRUE(m_registry.setBinary("HS:0", score.data(), 44));
    ASSERT_TRUE(m_registry.setBinary("four", "1234", 4));
    ASSERT_TRUE(m_registry.setString("long", "abcdefghijklmnopqrst", 20));

    char aSmall[4];
    int32_t iLength = 0;
    ASSERT_TRUE(m_registry.getBinary("HS:0", aSmall, sizeof(aSmall), &iLength));
    EXPECT_EQ(iLength, 4);
    char aBig[44] = {};
    ASSERT_TRUE(m_registry.getBinary("four", aBig, sizeof(aBig), &iLength));
    EXPECT_EQ(iLength, 4);
    EXPECT_EQ(std::string(aBig, 4), "1234");

    char szText[8];
    ASSERT_TRUE(m_registry.getString("long", szText, sizeof(szText)));
    EXPECT_STREQ(szText, "abcdefg");

    // Missing keys leave the buffers and the length alone.
    memcpy(szText, "intact", 7);
    iLength = 99;
    EXPECT_FALSE(m_registry.getString("missing", szText, sizeof(szText)));
    EXPECT_FALSE(m_registry.getBinary("missing", aBig, sizeof(aBig), &iLength));
    EXPECT_STREQ(szText, "intact");
    EXPECT_EQ(iLength, 99);

    // Keys have case; a key that can't fit its record is refused.
    ASSERT_TRUE(m_registry.setBinary("Fullscreen", "1", 1));
    EXPECT_EQ(get("fullscreen"), "<missing>");
    EXPECT_FALSE(m_registry.setBinary(std::string(1024, 'k').c_str(), "v", 1));
    EXPECT_TRUE(m_registry.setBinary(std::string(1023, 'k').c_str(), "v", 1));
    EXPECT_FALSE(m_registry.setBinary("neg", "v", -1));
    ASSERT_TRUE(m_registry.close());
    ASSERT_TRUE(open());
    EXPECT_EQ(get(std::string(1023, 'k').c_str()), "v");
    EXPECT_EQ(get("HS:0"), score);
}

TEST_F(RegistryTest, OpeningWhileOpenWritesBackFirst)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("k", "v", 1));
    ASSERT_TRUE(open());
    EXPECT_EQ(fileBytes(), record("k", "v"));
    EXPECT_EQ(get("k"), "v");
}

TEST_F(RegistryTest, HomeWithTrailingSlash)
{
    setenv("HOME", (m_home + "/").c_str(), 1);
    ASSERT_TRUE(open());
    EXPECT_EQ(std::string(m_registry.getPath()), m_file);
}

TEST_F(RegistryTest, TruncatedFilesKeepWhatIsWhole)
{
    const std::string good = record("one", "1") + record("two", "22");
    struct Case {
        const char *pszWhat;
        std::string tail;
    };
    const Case aCases[] = {
        { "ends inside a key", "thr" },
        { "ends after the key", std::string("three\0", 6) },
        { "ends inside the length", std::string("three\0\x05\0", 8) },
        { "value runs past the end", std::string("three\0\x05\0\0\0ab", 12) },
        { "huge length", std::string("three\0", 6) + rawLength(0xFFFFFFFFu) + "abc" },
        { "length past 2 GiB", std::string("three\0", 6) + rawLength(0x80000000u) },
        { "key without NUL", std::string(1500, 'q') },
        { "nothing more", "" },
    };
    for (const Case &c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        writeFile(good + c.tail);
        ASSERT_TRUE(open());
        EXPECT_EQ(get("one"), "1");
        EXPECT_EQ(get("two"), "22");
        EXPECT_EQ(get("three"), "<missing>");
        // The damaged file is kept aside; written back, only the whole
        // records remain.
        const std::string damagedPath = m_file + ".damaged";
        EXPECT_EQ(access(damagedPath.c_str(), F_OK) == 0, !c.tail.empty());
        unlink(damagedPath.c_str());
        ASSERT_TRUE(m_registry.close());
        EXPECT_EQ(fileBytes(), good);
    }
}

TEST_F(RegistryTest, DamagedFileIsKeptAsideAndReportedOnce)
{
    // Whole records first, then one whose length runs far past the end: the
    // records after it can't be found, so the file must not be written over.
    const std::string good = record("Start Level", std::string("\x06\0\0\0", 4));
    const std::string damaged = good + std::string("HS:0\0", 5) + rawLength(0xFFFFFFF0u)
                              + std::string(44, 'x') + record("Did Tutorial", std::string("\x01\0\0\0", 4));
    writeFile(damaged);
    m_hook.clear();

    ASSERT_TRUE(open());
    EXPECT_EQ(get("Start Level"), std::string("\x06\0\0\0", 4));
    EXPECT_EQ(get("HS:0"), "<missing>");
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].title, "Alert");
    EXPECT_NE(m_hook.boxes()[0].text.find(".damaged"), std::string::npos) << m_hook.boxes()[0].text;

    // The damaged bytes survive whole beside the registry.
    std::string kept;
    FILE *pFile = fopen((m_file + ".damaged").c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    int c;
    while ((c = fgetc(pFile)) != EOF) {
        kept += (char)c;
    }
    fclose(pFile);
    EXPECT_EQ(kept, damaged);

    // Written back, the registry is clean again and says nothing more.
    ASSERT_TRUE(m_registry.close());
    EXPECT_EQ(fileBytes(), good);
    ASSERT_TRUE(open());
    EXPECT_EQ(m_hook.boxes().size(), 1u);

    // A second damaged file gets a name of its own; the first copy stays.
    ASSERT_TRUE(m_registry.close());
    const std::string damaged2 = good + "cut";
    writeFile(damaged2);
    ASSERT_TRUE(open());
    ASSERT_EQ(m_hook.boxes().size(), 2u);
    EXPECT_NE(m_hook.boxes()[1].text.find(".damaged.2"), std::string::npos) << m_hook.boxes()[1].text;
    std::string kept2;
    pFile = fopen((m_file + ".damaged.2").c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    while ((c = fgetc(pFile)) != EOF) {
        kept2 += (char)c;
    }
    fclose(pFile);
    EXPECT_EQ(kept2, damaged2);
    pFile = fopen((m_file + ".damaged").c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    kept.clear();
    while ((c = fgetc(pFile)) != EOF) {
        kept += (char)c;
    }
    fclose(pFile);
    EXPECT_EQ(kept, damaged);

    // A whole file is never moved aside.
    ASSERT_TRUE(m_registry.close());
    unlink((m_file + ".damaged").c_str());
    unlink((m_file + ".damaged.2").c_str());
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.close());
    EXPECT_NE(access((m_file + ".damaged").c_str(), F_OK), 0);
    EXPECT_EQ(m_hook.boxes().size(), 2u);
}

TEST_F(RegistryTest, FailedWriteBackKeepsEverything)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("kept", "yes", 3));
    // The folder vanishes under the open registry: nowhere to write.
    ASSERT_EQ(system(("rm -rf '" + m_home + "/.quorvex'").c_str()), 0);
    EXPECT_FALSE(m_registry.close());
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].title, "Alert");
    EXPECT_EQ(m_hook.boxes()[0].text.rfind("failed to open registry: ", 0), 0u);
    EXPECT_EQ(get("kept"), "yes");
    EXPECT_NE(m_registry.getPath(), nullptr);

    // Once the folder is back the next close succeeds.
    ASSERT_EQ(mkdir((m_home + "/.quorvex").c_str(), 0700), 0);
    EXPECT_TRUE(m_registry.close());
    EXPECT_EQ(fileBytes(), record("kept", "yes"));
}

TEST_F(RegistryTest, UnreadableFileFailsTheOpen)
{
    // A directory where the file should be can be found but not read.
    ASSERT_EQ(mkdir((m_home + "/.quorvex").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(m_file.c_str(), 0700), 0);
    EXPECT_FALSE(open());
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].text.rfind("failed to open registry: ", 0), 0u);
    // The path stays kept; with nothing held the close writes nothing.
    EXPECT_NE(m_registry.getPath(), nullptr);
    EXPECT_TRUE(m_registry.close());
    rmdir(m_file.c_str());
}

TEST_F(RegistryTest, ReadOnlyFolderIsWrittenInPlaceOrReportedOnce)
{
    writeFile(record("k", "old"));
    ASSERT_EQ(chmod(m_file.c_str(), 0640), 0);
    ASSERT_EQ(chmod(folder().c_str(), 0500), 0);
    const int iResult = runUnprivileged(m_home, [this]() {
        ScopedMessageHook hook;
        HUnixRegistry registry;
        // No temporary file can be made beside it: the file is rewritten.
        if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.setBinary("k", "new", 3)
            || !registry.close()) {
            return 1;
        }
        struct stat st;
        if (fileBytes() != record("k", "new") || !hook.boxes().empty() || stat(m_file.c_str(), &st) != 0
            || (st.st_mode & 0777) != 0640) {
            return 2;
        }
        // Now it truly can't be saved: an unchanged registry still closes
        // quietly, and every change fails with one box in all.
        if (chmod(m_file.c_str(), 0440) != 0 || !registry.open(nullptr, "Quorvex", "Gobstrel")
            || !registry.setBinary("k", "new", 3) || !registry.close() || !hook.boxes().empty()) {
            return 3;
        }
        for (int i = 0; i < 6; i++) {
            if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.setBinary("k", i % 2 ? "odd" : "even", 3)
                || registry.close()) {
                return 4;
            }
        }
        if (hook.boxes().size() != 1 || hook.boxes()[0].text != "failed to open registry: Permission denied") {
            return 5;
        }
        return fileBytes() == record("k", "new") ? 0 : 6;
    });
    chmod(folder().c_str(), 0700);
    EXPECT_EQ(iResult, 0);
}

TEST_F(RegistryTest, SaveThatCannotFitLeavesTheFileWhole)
{
    // The old records fit under the file-size limit and the new ones do not:
    // a write from the start would have overwritten the old bytes before the
    // limit stopped it. The limit must not end the game either.
    const std::string old = record("k", std::string(100, 'o'));
    const std::string big(300, 'n');
    writeFile(old);
    ASSERT_EQ(chmod(folder().c_str(), 0500), 0);
    const int iResult = runUnprivileged(m_home, [this, &old, &big]() {
        ScopedMessageHook hook;
        HUnixRegistry registry;
        const struct rlimit limit = { 200, 200 };
        if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.setBinary("k", big.data(), (int32_t)big.size())
            || setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 1;
        }
        // No temporary file can be made beside it: in place, or not at all.
        if (registry.close() || fileBytes() != old) {
            return 2;
        }
        // Through a temporary file once the folder may be written again.
        if (chmod(folder().c_str(), 0700) != 0 || registry.close() || fileBytes() != old) {
            return 3;
        }
        struct sigaction sa;
        if (sigaction(SIGXFSZ, nullptr, &sa) != 0 || sa.sa_handler != SIG_DFL) {
            return 4;
        }
        // One box in all, and the old values read back.
        char aValue[128];
        int32_t iLength = 0;
        if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.getBinary("k", aValue, sizeof(aValue), &iLength)
            || std::string(aValue, (size_t)iLength) != std::string(100, 'o')) {
            return 5;
        }
        return hook.boxes().size() == 1 && hook.boxes()[0].text == "failed to open registry: File too large" ? 0 : 6;
    });
    chmod(folder().c_str(), 0700);
    EXPECT_EQ(iResult, 0);
    EXPECT_EQ(fileBytes(), old);
    EXPECT_EQ(system(("test $(ls -A '" + folder() + "' | wc -l) -eq 1").c_str()), 0);
}

TEST_F(RegistryTest, FilesThatCannotBeReadOrKeptAsideAreNeverReplaced)
{
    const std::string unreadable = record("HS:0", "score");
    writeFile(unreadable);
    ASSERT_EQ(chmod(m_file.c_str(), 0), 0);
    int iResult = runUnprivileged(m_home, [this]() {
        ScopedMessageHook hook;
        HUnixRegistry registry;
        if (registry.open(nullptr, "Quorvex", "Gobstrel")) {
            return 1;
        }
        registry.setBinary("HS:0", "lost", 4);
        if (registry.close() || registry.open(nullptr, "Quorvex", "Gobstrel")) {
            return 2;
        }
        return hook.boxes().size() == 1 ? 0 : 3;
    });
    EXPECT_EQ(iResult, 0);
    struct stat st;
    ASSERT_EQ(stat(m_file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0u);
    EXPECT_EQ(fileBytes(), unreadable);

    // Damaged, in a folder where no copy can be put aside: it stays whole.
    const std::string damaged = record("a", "1") + "cut";
    ASSERT_EQ(chmod(m_file.c_str(), 0600), 0);
    writeFile(damaged);
    ASSERT_EQ(chmod(folder().c_str(), 0500), 0);
    iResult = runUnprivileged(m_home, [this]() {
        ScopedMessageHook hook;
        HUnixRegistry registry;
        if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.setBinary("a", "2", 1)
            || registry.close()) {
            return 1;
        }
        return hook.boxes().size() == 1 && hook.boxes()[0].text.find("left as it is") != std::string::npos ? 0 : 2;
    });
    chmod(folder().c_str(), 0700);
    EXPECT_EQ(iResult, 0);
    EXPECT_EQ(fileBytes(), damaged);
    EXPECT_NE(access((m_file + ".damaged").c_str(), F_OK), 0);
}

TEST_F(RegistryTest, LinksModesAndLeftoverTemporaryFiles)
{
    // Left by write-backs that were killed; one is still being written by
    // another run (it holds the lock). Other names are not ours to touch.
    writeFile(record("k", "v"));
    const std::string stale = m_file + ".tmp.Ab12Cd";
    const std::string held = m_file + ".tmp.Held01";
    const std::string aNotOurs[] = { m_file + ".backup", m_file + ".tmp.Ab12Cd7", m_file + ".tmp.", folder() + "/x.tmp.Ab12Cd" };
    for (const std::string &name : { stale, held, aNotOurs[0], aNotOurs[1], aNotOurs[2], aNotOurs[3] }) {
        FILE *pFile = fopen(name.c_str(), "wb");
        ASSERT_NE(pFile, nullptr);
        fputs("partial", pFile);
        fclose(pFile);
    }
    const int iHeld = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(iHeld, 0);
    ASSERT_EQ(flock(iHeld, LOCK_EX), 0);
    ASSERT_TRUE(open());
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(access(held.c_str(), F_OK), 0);
    for (const std::string &name : aNotOurs) {
        EXPECT_EQ(access(name.c_str(), F_OK), 0) << name;
    }
    ASSERT_TRUE(m_registry.close());
    ::close(iHeld);

    // A link is written through and stays a link; the target keeps its mode.
    const std::string elsewhere = m_home + "/elsewhere";
    const std::string target = elsewhere + "/settings";
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(rename(m_file.c_str(), target.c_str()), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink("../elsewhere/settings", m_file.c_str()), 0);
    ASSERT_TRUE(open());
    EXPECT_EQ(get("k"), "v");
    ASSERT_TRUE(m_registry.setBinary("k", "linked", 6));
    ASSERT_TRUE(m_registry.close());
    struct stat st;
    ASSERT_EQ(lstat(m_file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(fileBytes(), record("k", "linked"));
    EXPECT_EQ(system(("test $(ls -A '" + elsewhere + "' | wc -l) -eq 1").c_str()), 0);

    // A link whose target is missing gets its target made.
    ASSERT_EQ(unlink(target.c_str()), 0);
    ASSERT_TRUE(open());
    ASSERT_TRUE(m_registry.setBinary("k", "new", 3));
    ASSERT_TRUE(m_registry.close());
    ASSERT_EQ(lstat(m_file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(fileBytes(), record("k", "new"));
    EXPECT_TRUE(m_hook.boxes().empty());
}

TEST_F(RegistryTest, TwoRunsSavingAtOnceNeverFail)
{
    // Each save reads the whole file and writes it whole, so one run may
    // write back an older value of the other's key; what must hold is that
    // no save fails, the file stays whole, and the last save's own value is
    // in it. Both keys are there from the start, so every read finds both.
    const int32_t iRounds = 2000;
    const char *const aKeys[2] = { "run0", "run1" };
    const auto value = [](int32_t i) { return std::string(reinterpret_cast<const char *>(&i), sizeof(i)); };
    writeFile(record(aKeys[1], value(-1)) + record(aKeys[0], value(-1)));

    // Both start together from a gate, so their saves overlap from the first.
    int aGate[2];
    ASSERT_EQ(pipe(aGate), 0);
    pid_t aPids[2] = { -1, -1 };
    for (int iRun = 0; iRun < 2; iRun++) {
        aPids[iRun] = fork();
        if (aPids[iRun] == 0) {
            alarm(25);      // a hung run ends itself, before the wait below gives up
            ::close(aGate[1]);
            char c;
            if (read(aGate[0], &c, 1) != 1) {
                _exit(3);
            }
            ScopedMessageHook hook;
            HUnixRegistry registry;
            for (int32_t i = 0; i < iRounds; i++) {
                if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.setBinary(aKeys[iRun], &i, sizeof(i))) {
                    _exit(4);
                }
                if (!registry.close()) {
                    _exit(1);
                }
            }
            _exit(hook.boxes().empty() ? 0 : 2);
        }
    }
    ::close(aGate[0]);
    EXPECT_EQ(write(aGate[1], "go", 2), 2);
    ::close(aGate[1]);
    for (int iRun = 0; iRun < 2; iRun++) {
        if (aPids[iRun] > 0) {
            EXPECT_EQ(waitChild(aPids[iRun], 30), 0) << "run " << iRun;
        } else {
            ADD_FAILURE() << "fork failed";
        }
    }

    ASSERT_TRUE(open());
    EXPECT_TRUE(m_hook.boxes().empty());
    int32_t aLast[2] = { -2, -2 };
    for (int iRun = 0; iRun < 2; iRun++) {
        int32_t iLength = 0;
        ASSERT_TRUE(m_registry.getBinary(aKeys[iRun], &aLast[iRun], sizeof(aLast[iRun]), &iLength));
        EXPECT_EQ(iLength, 4);
        EXPECT_GE(aLast[iRun], -1);
        EXPECT_LE(aLast[iRun], iRounds - 1);
    }
    EXPECT_TRUE(aLast[0] == iRounds - 1 || aLast[1] == iRounds - 1) << aLast[0] << " " << aLast[1];
    // Whole, in the seeded order, and nothing left beside it.
    EXPECT_EQ(fileBytes(), record(aKeys[1], value(aLast[1])) + record(aKeys[0], value(aLast[0])));
    EXPECT_EQ(system(("test $(ls -A '" + folder() + "' | wc -l) -eq 1").c_str()), 0);
}

TEST_F(RegistryTest, OpenRegistryIsWrittenBackAtExit)
{
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        HRegistry *pRegistry = getRegistry();
        if (pRegistry != getRegistry() || !pRegistry->open(nullptr, "Quorvex", "Gobstrel")
            || !pRegistry->setBinary("atExit", "1", 1)) {
            _exit(3);
        }
        exit(0);    // runs the exit handlers
    }
    ASSERT_EQ(waitChild(pid), 0);
    EXPECT_EQ(fileBytes(), record("atExit", "1"));
}

TEST_F(RegistryTest, UnsetHomeFallsBackToThePasswordEntry)
{
    const struct passwd *pNobody = getpwnam("nobody");
    if (getuid() != 0 || !pNobody || access(pNobody->pw_dir, F_OK) == 0) {
        GTEST_SKIP() << "needs root and a user whose home folder does not exist";
    }
    const uid_t uid = pNobody->pw_uid;
    const std::string expected = std::string(pNobody->pw_dir) + "/.quorvex/registry_Quorvex_Gobstrel";
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        unsetenv("HOME");
        if (setuid(uid) != 0) {
            _exit(4);
        }
        ScopedMessageHook hook;
        HUnixRegistry registry;
        // The home folder is missing: the open finds no file and succeeds
        // empty; writing back then fails with the box.
        if (!registry.open(nullptr, "Quorvex", "Gobstrel") || !registry.getPath()
            || expected != registry.getPath()) {
            _exit(5);
        }
        registry.setBinary("x", "y", 1);
        if (registry.close() || hook.boxes().size() != 1) {
            _exit(6);
        }
        _exit(0);
    }
    EXPECT_EQ(waitChild(pid), 0);
}

TEST_F(RegistryTest, NoHomeAtAllFailsCleanly)
{
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to become a user without a password entry";
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // No HOME and no password entry: there is no home directory.
        unsetenv("HOME");
        if (setuid(61234) != 0) {
            _exit(4);
        }
        int iBoxes = 0;
        {
            ScopedMessageHook hook;
            HUnixRegistry registry;
            if (registry.open(nullptr, "Quorvex", "Gobstrel") || registry.getPath() != nullptr) {
                _exit(5);
            }
            iBoxes = (int)hook.boxes().size();
            registry.setBinary("x", "y", 1);
            if (!registry.close()) {
                _exit(6);
            }
        }
        _exit(iBoxes == 1 ? 0 : 7);
    }
    EXPECT_EQ(waitChild(pid), 0);
}

} // namespace
