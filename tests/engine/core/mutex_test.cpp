// The SDL-backed mutex, lock and thread wrappers.
#include <gtest/gtest.h>

#include "SDL.h"

#include "HSDLLock.h"
#include "HSDLMutex.h"
#include "HSDLThread.h"

namespace {

struct Counter {
    HMutex *mutex;
    long value;
    int rounds;
};

int s_count(void *data)
{
    Counter *c = (Counter *)data;
    for (int i = 0; i < c->rounds; i++) {
        c->mutex->lock();
        c->value++;
        c->mutex->unlock();
    }
    return 0;
}

TEST(Mutex, GuardsACounterSharedWithAnotherThread)
{
    HMutex *mutex = createMutex();
    ASSERT_NE(nullptr, mutex);
    Counter counter = { mutex, 0, 20000 };

    HThread *thread = createThread();
    ASSERT_NE(nullptr, thread);
    thread->setFunction(s_count);
    ASSERT_TRUE(thread->start(&counter));
    s_count(&counter);
    SDL_WaitThread(((HSDLThread *)thread)->getHandle(), nullptr);

    mutex->lock();
    EXPECT_EQ(40000, counter.value);
    mutex->unlock();

    mutex->destroy();
    delete mutex;
    delete thread;
}

TEST(Mutex, DestroyedMutexIgnoresEverything)
{
    HSDLMutex mutex;
    mutex.lock();    // never created: nothing happens
    mutex.unlock();
    ASSERT_TRUE(mutex.create());
    mutex.lock();
    mutex.unlock();
    mutex.destroy();
    mutex.destroy();
    mutex.lock();
    mutex.unlock();
}

TEST(Lock, ReportsWhatSdlDoes)
{
    HSDLLock lock;
    EXPECT_FALSE(lock.lock());
    EXPECT_FALSE(lock.unlock());
    EXPECT_FALSE(lock.tryLock());

    ASSERT_TRUE(lock.create());
    ASSERT_TRUE(lock.create());   // keeps the first
    EXPECT_FALSE(lock.tryLock());
    EXPECT_TRUE(lock.lock());
    EXPECT_TRUE(lock.unlock());
    lock.destroy();
    EXPECT_FALSE(lock.lock());
    lock.destroy();
}

TEST(Thread, NoFunctionNoThread)
{
    HSDLThread thread;
    int data = 0;
    EXPECT_FALSE(thread.start(&data));
}

} // namespace
