#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "HBinaryTree.h"
#include "HClassInfo.h"
#include "HContainerNode.h"
#include "HFile.h"
#include "HImage.h"
#include "HInteger.h"
#include "HListNode.h"
#include "HObject.h"
#include "HObjectList.h"
#include "HObjectStack.h"
#include "HStandardFile.h"
#include "HString.h"
#include "HZIPFile.h"
#include "message_hook.h"

namespace {

// A registering class two levels below the root.
class TestCounter : public HInteger {
public:
    const HClassInfo *getClassInfo() const override { return &sm_classInfo; }
    static HClassInfo sm_classInfo;
};
HClassInfo TestCounter::sm_classInfo("TestCounter", "HInteger");

// No record of its own: reports its base's.
class TestPlainCounter : public TestCounter {
};

// Registered under a parent that registered nothing.
class TestOrphan : public HObject {
public:
    const HClassInfo *getClassInfo() const override { return &sm_classInfo; }
    static HClassInfo sm_classInfo;
};
HClassInfo TestOrphan::sm_classInfo("TestOrphan", "TestNoSuchParent");

} // namespace

TEST(ClassRegistry, LookupIgnoresCase)
{
    const HClassInfo *pObject = findClassInfo("HObject");
    ASSERT_NE(pObject, nullptr);
    EXPECT_EQ(pObject, &HObject::sm_classInfo);
    EXPECT_EQ(findClassInfo("hobject"), pObject);
    EXPECT_EQ(findClassInfo("HOBJECT"), pObject);
    EXPECT_EQ(findClassInfo("hInTeGeR"), &HInteger::sm_classInfo);
    EXPECT_EQ(findClassInfo("HObjectX"), nullptr);
    EXPECT_EQ(findClassInfo("HObjec"), nullptr);
    EXPECT_EQ(findClassInfo(""), nullptr);
    EXPECT_EQ(findClassInfo(nullptr), nullptr);
}

TEST(ClassRegistry, EngineRecordsAndParents)
{
    // Naming each record also links its class into this program: a static
    // library leaves out classes nobody uses, and their records with them.
    struct { const HClassInfo *pRecord; const char *szName; } expected[] = {
        { &HInteger::sm_classInfo, "HInteger" },
        { &HContainerNode::sm_classInfo, "HContainerNode" },
        { &HObjectList::sm_classInfo, "HObjectList" },
        { &HObjectStack::sm_classInfo, "HObjectStack" },
    };
    for (const auto &e : expected) {
        const HClassInfo *pInfo = findClassInfo(e.szName);
        ASSERT_EQ(pInfo, e.pRecord) << e.szName;
        EXPECT_STREQ(pInfo->getName(), e.szName);
        EXPECT_STREQ(pInfo->getParentName(), "HObject");
        EXPECT_EQ(getParentClassInfo(pInfo), &HObject::sm_classInfo);
    }
    EXPECT_EQ(HObject::sm_classInfo.getParentName(), nullptr);
    EXPECT_EQ(getParentClassInfo(&HObject::sm_classInfo), nullptr);
    EXPECT_EQ(getParentClassInfo(nullptr), nullptr);
    // A parent that registered nothing ends the chain.
    EXPECT_EQ(getParentClassInfo(&TestOrphan::sm_classInfo), nullptr);
}

TEST(ClassRegistry, FileImageAndTreeRecords)
{
    struct { const HClassInfo *pRecord; const char *szName; const char *szParent; } expected[] = {
        { &HBinaryTree::sm_classInfo, "HBinaryTree", "HObject" },
        { &HFile::sm_classInfo, "HFile", "HObject" },
        { &HZIPFile::sm_classInfo, "HZIPFile", "HFile" },
        { &HStandardFile::sm_classInfo, "HStandardFile", "HFile" },
        { &HImage::sm_classInfo, "HImage", "HObject" },
    };
    for (const auto &e : expected) {
        const HClassInfo *pInfo = findClassInfo(e.szName);
        ASSERT_EQ(pInfo, e.pRecord) << e.szName;
        EXPECT_STREQ(pInfo->getParentName(), e.szParent) << e.szName;
        EXPECT_EQ(getParentClassInfo(pInfo), findClassInfo(e.szParent)) << e.szName;
    }

    HZIPFile zipFile;
    EXPECT_STREQ(zipFile.getClassName(), "HZIPFile");
    EXPECT_STREQ(zipFile.getParentClassName(), "HFile");
    EXPECT_TRUE(zipFile.isKindOf(findClassInfo("HZIPFile")));
    EXPECT_TRUE(zipFile.isKindOf(findClassInfo("HFile")));
    EXPECT_TRUE(zipFile.isKindOf(findClassInfo("HObject")));
    EXPECT_FALSE(zipFile.isKindOf(findClassInfo("HImage")));
    EXPECT_FALSE(zipFile.isKindOf(findClassInfo("HStandardFile")));
    EXPECT_TRUE(zipFile.isClass(findClassInfo("HZIPFile")));
    EXPECT_FALSE(zipFile.isClass(findClassInfo("HFile")));
    EXPECT_FALSE(zipFile.isClass(findClassInfo("HObject")));
}

TEST(ClassRegistry, EveryRecordDerivesFromItselfAndNamesAreUnique)
{
    int iCount = 0;
    for (const HClassInfo *p = getClassRegistry(); p; p = p->getNext()) {
        EXPECT_TRUE(isDerivedFrom(p, p)) << p->getName();
        // Lookup by name must land on this very record.
        EXPECT_EQ(findClassInfo(p->getName()), p) << p->getName();
        iCount++;
    }
    EXPECT_GE(iCount, 7);
}

TEST(ClassRegistry, DerivationWalksTheParentChain)
{
    EXPECT_TRUE(isDerivedFrom(&TestCounter::sm_classInfo, &HInteger::sm_classInfo));
    EXPECT_TRUE(isDerivedFrom(&TestCounter::sm_classInfo, &HObject::sm_classInfo));
    EXPECT_FALSE(isDerivedFrom(&HInteger::sm_classInfo, &TestCounter::sm_classInfo));
    EXPECT_FALSE(isDerivedFrom(&TestCounter::sm_classInfo, &HObjectList::sm_classInfo));
    EXPECT_FALSE(isDerivedFrom(&TestOrphan::sm_classInfo, &HObject::sm_classInfo));
    EXPECT_FALSE(isDerivedFrom(nullptr, &HObject::sm_classInfo));
    EXPECT_FALSE(isDerivedFrom(&HObject::sm_classInfo, nullptr));
}

TEST(Object, ClassOfObjectsWithAndWithoutOwnRecord)
{
    HListNode node;
    EXPECT_STREQ(node.getClassName(), "HContainerNode");
    EXPECT_STREQ(node.getParentClassName(), "HObject");
    EXPECT_TRUE(node.isClass(&HContainerNode::sm_classInfo));

    TestPlainCounter plain;
    EXPECT_STREQ(plain.getClassName(), "TestCounter");
    EXPECT_TRUE(plain.isClass(&TestCounter::sm_classInfo));
    EXPECT_FALSE(plain.isClass(&HInteger::sm_classInfo));
    EXPECT_TRUE(plain.isKindOf(&TestCounter::sm_classInfo));
    EXPECT_TRUE(plain.isKindOf(&HInteger::sm_classInfo));
    EXPECT_TRUE(plain.isKindOf(&HObject::sm_classInfo));
    EXPECT_FALSE(plain.isKindOf(&HObjectList::sm_classInfo));

    HObject root;
    EXPECT_STREQ(root.getClassName(), "HObject");
    EXPECT_EQ(root.getParentClassName(), nullptr);
    EXPECT_FALSE(root.isKindOf(&HInteger::sm_classInfo));
}

TEST(Object, IdsAreSerialAcrossClasses)
{
    HObject a;
    HInteger b;
    HListNode c;
    EXPECT_GE(a.getId(), 1);
    EXPECT_EQ(b.getId(), a.getId() + 1);
    EXPECT_EQ(c.getId(), a.getId() + 2);

    // A copy is a new object; assignment keeps the target's identity.
    HInteger d(b);
    EXPECT_EQ(d.getId(), a.getId() + 3);
    d.addRef();
    d = b;
    EXPECT_EQ(d.getId(), a.getId() + 3);
    EXPECT_EQ(d.getRefCount(), 1);
}

// In a fresh copy of this program (started by FirstIdsInAFreshProcess),
// before any test has made an object: the first two objects must get ids 1
// and 2, whatever their classes. The copy reports through its exit status.
class FirstIdsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        if (!getenv("GOBSTREL_FIRST_IDS_CHILD")) {
            return;
        }
        HInteger first;
        HObject second;
        _exit(first.getId() == 1 && second.getId() == 2 ? 0 : 1);
    }
};
testing::Environment *const g_pFirstIdsEnvironment =
    testing::AddGlobalTestEnvironment(new FirstIdsEnvironment);

TEST(Object, FirstIdsInAFreshProcess)
{
    char szSelf[4096];
    const ssize_t iLength = readlink("/proc/self/exe", szSelf, sizeof(szSelf) - 1);
    ASSERT_GT(iLength, 0);
    szSelf[iLength] = '\0';

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("GOBSTREL_FIRST_IDS_CHILD", "1", 1);
        alarm(20);
        execl(szSelf, szSelf, "--gtest_filter=Object.FirstIdsInAFreshProcess", (char *)nullptr);
        _exit(127);
    }
    int iStatus = 0;
    pid_t done = 0;
    for (int i = 0; i < 3000 && done == 0; i++) {
        done = waitpid(pid, &iStatus, WNOHANG);
        if (done == 0) {
            usleep(10000);
        }
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &iStatus, 0);
        FAIL() << "child did not finish";
    }
    ASSERT_TRUE(WIFEXITED(iStatus));
    EXPECT_EQ(WEXITSTATUS(iStatus), 0);
}

TEST(Object, ReferenceCountIsOnlyInformational)
{
    HObject *pObject = new HObject;
    EXPECT_EQ(pObject->getRefCount(), 0);
    pObject->release();
    EXPECT_EQ(pObject->getRefCount(), -1);
    pObject->addRef();
    pObject->addRef();
    EXPECT_EQ(pObject->getRefCount(), 1);
    pObject->release();
    pObject->release();
    // Still alive: touching it after a release to zero is fine (ASan checks).
    EXPECT_STREQ(pObject->getClassName(), "HObject");
    delete pObject;
}

TEST(Object, ToStringIsBounded)
{
    HObjectList list;
    char szBuffer[32];
    memset(szBuffer, 'x', sizeof(szBuffer));
    EXPECT_EQ(list.toString(szBuffer, sizeof(szBuffer)), szBuffer);
    EXPECT_STREQ(szBuffer, "HObjectList");

    memset(szBuffer, 'x', sizeof(szBuffer));
    list.toString(szBuffer, 1);
    EXPECT_STREQ(szBuffer, "");

    memset(szBuffer, 'x', sizeof(szBuffer));
    list.toString(szBuffer, 5);
    EXPECT_STREQ(szBuffer, "HObj");
    EXPECT_EQ(szBuffer[5], 'x');

    // Size 0 writes nothing at all.
    szBuffer[0] = 'q';
    list.toString(szBuffer, 0);
    EXPECT_EQ(szBuffer[0], 'q');
}

TEST(Object, HashIsNameHashPlusId)
{
    HObject a;
    HObject b;
    EXPECT_EQ(b.hash() - a.hash(), (uint32_t)(b.getId() - a.getId()));
    EXPECT_EQ(a.hash(), stringHashNoCase("hobject") + (uint32_t)a.getId());

    HInteger i;
    EXPECT_EQ(i.hash(), stringHashNoCase("HINTEGER") + (uint32_t)i.getId());
}

TEST(Object, DefaultCloneFailsQuietly)
{
    // The report goes to a discarded diagnostic channel, never to a box.
    ScopedMessageHook hook;
    HObjectList list;
    EXPECT_EQ(list.clone(), nullptr);
    HObject root;
    EXPECT_EQ(root.clone(), nullptr);
    EXPECT_TRUE(hook.boxes().empty());
}

TEST(Integer, ValueCloneAndText)
{
    HInteger zero;
    EXPECT_EQ(zero.getValue(), 0);
    EXPECT_STREQ(zero.getClassName(), "HInteger");

    HInteger value(-7);
    char szBuffer[16];
    EXPECT_STREQ(value.toString(szBuffer, sizeof(szBuffer)), "-7");
    value.toString(szBuffer, 2);
    EXPECT_STREQ(szBuffer, "-");

    HObject *pClone = value.clone();
    ASSERT_NE(pClone, nullptr);
    EXPECT_TRUE(pClone->isClass(&HInteger::sm_classInfo));
    EXPECT_NE(pClone->getId(), value.getId());
    EXPECT_EQ(static_cast<HInteger *>(pClone)->getValue(), -7);

    // The clone is independent of its source.
    value.setValue(12);
    EXPECT_EQ(static_cast<HInteger *>(pClone)->getValue(), -7);
    EXPECT_STREQ(value.toString(szBuffer, sizeof(szBuffer)), "12");
    delete pClone;
}
