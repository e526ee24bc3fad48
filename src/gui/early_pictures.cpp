#include "gui/early_pictures.h"

#include <QHash>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace orba::gui {
namespace {

enum class State : char { Waiting, Decoding, Done, Taken };

struct Store
{
    std::mutex lock;
    std::condition_variable changed;
    bool listed = false, stop = false, done = false;
    std::vector<QByteArray> bytes;
    std::vector<QImage> images;
    std::vector<State> states;
    QHash<QByteArray, size_t> index;

    // True when it was stopped before the end of its list.
    bool run(const std::function<std::vector<QByteArray>()> &list)
    {
        std::vector<QByteArray> listedBytes = list();
        std::unique_lock<std::mutex> hold(lock);
        bytes = std::move(listedBytes);
        images.resize(bytes.size());
        states.assign(bytes.size(), State::Waiting);
        for (size_t i = 0; i < bytes.size(); ++i)
            index.insert(bytes[i], i);
        listed = true;
        for (size_t i = 0; i < bytes.size() && !stop; ++i) {
            if (states[i] != State::Waiting)
                continue;
            states[i] = State::Decoding;
            const QByteArray encoded = bytes[i];
            hold.unlock();
            QImage image;
            image.loadFromData(encoded);
            hold.lock();
            if (states[i] == State::Decoding && !stop) {
                images[i] = std::move(image);
                states[i] = State::Done;
            }
        }
        done = true;
        changed.notify_all();
        return stop;
    }
};

void giveMemoryBack()
{
#if defined(__GLIBC__)
    // What nobody took was decoded in the thread's own heap: give it back now, not never.
    malloc_trim(0);
#endif
}

std::mutex g_startLock; // guards g_store
std::shared_ptr<Store> g_store;
std::atomic<bool> g_running{false};

std::shared_ptr<Store> currentStore()
{
    std::lock_guard<std::mutex> guard(g_startLock);
    return g_store;
}

} // namespace

void EarlyPictures::start(std::function<std::vector<QByteArray>()> list)
{
    std::lock_guard<std::mutex> guard(g_startLock);
    if (g_store)
        return;
    g_store = std::make_shared<Store>();
    g_running = true;
    std::thread([store = g_store, list = std::move(list)]() mutable {
#if defined(__linux__)
        // Only on a core nobody else wants: the window and the display server come first.
        sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
        const bool stopped = store->run(list);
        store.reset(); // the last owner once finished
        if (stopped)
            giveMemoryBack();
    }).detach();
}

QImage EarlyPictures::take(const QByteArray &bytes)
{
    if (!g_running || bytes.isEmpty())
        return QImage();
    const std::shared_ptr<Store> store = currentStore();
    if (!store)
        return QImage();
    // Never waits: the thread runs at idle priority, and a busy machine could keep it from ever
    // finishing what it holds. What it has not finished, the caller decodes.
    std::lock_guard<std::mutex> hold(store->lock);
    if (!store->listed)
        return QImage();
    const auto it = store->index.constFind(bytes);
    if (it == store->index.cend())
        return QImage();
    const size_t i = it.value();
    const State was = std::exchange(store->states[i], State::Taken);
    return was == State::Done ? std::move(store->images[i]) : QImage();
}

void EarlyPictures::stop()
{
    if (const std::shared_ptr<Store> store = currentStore()) {
        std::lock_guard<std::mutex> hold(store->lock);
        store->stop = true;
    }
}

void EarlyPictures::finish(int waitMs)
{
    std::shared_ptr<Store> store;
    {
        std::lock_guard<std::mutex> guard(g_startLock);
        store = std::move(g_store);
        g_running = false;
    }
    if (!store)
        return;
    std::unique_lock<std::mutex> hold(store->lock);
    store->stop = true;
    store->images.clear();
    store->index.clear();
    store->bytes.clear();
    if (waitMs > 0)
        store->changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&store] { return store->done; });
    hold.unlock();
    store.reset();
    giveMemoryBack();
}

void EarlyPictures::waitUntilListDone()
{
    const std::shared_ptr<Store> store = currentStore();
    if (!store)
        return;
    std::unique_lock<std::mutex> hold(store->lock);
    store->changed.wait(hold, [&store] { return store->done; });
}

bool EarlyPictures::running()
{
    return g_running;
}

} // namespace orba::gui
