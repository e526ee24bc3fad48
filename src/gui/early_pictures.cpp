#include "gui/early_pictures.h"

#include <QHash>

#include <atomic>
#include <condition_variable>
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
    std::thread thread;

    void run(const std::function<std::vector<QByteArray>()> &list)
    {
#if defined(__linux__)
        // Only on a core nobody else wants: the window and the display server come first.
        sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
        std::vector<QByteArray> listedBytes = list();
        std::unique_lock<std::mutex> hold(lock);
        bytes = std::move(listedBytes);
        images.resize(bytes.size());
        states.assign(bytes.size(), State::Waiting);
        for (size_t i = 0; i < bytes.size(); ++i)
            index.insert(bytes[i], i);
        listed = true;
        changed.notify_all();
        for (size_t i = 0; i < bytes.size() && !stop; ++i) {
            if (states[i] != State::Waiting)
                continue;
            states[i] = State::Decoding;
            hold.unlock();
            QImage image;
            image.loadFromData(bytes[i]);
            hold.lock();
            images[i] = std::move(image);
            states[i] = State::Done;
            changed.notify_all();
        }
        done = true;
        changed.notify_all();
    }
};

std::mutex g_startLock; // start and finish against each other
Store *g_store = nullptr;
std::atomic<bool> g_running{false};

} // namespace

void EarlyPictures::start(std::function<std::vector<QByteArray>()> list)
{
    std::lock_guard<std::mutex> guard(g_startLock);
    if (g_store)
        return;
    g_store = new Store;
    g_running = true;
    g_store->thread = std::thread([store = g_store, list = std::move(list)] { store->run(list); });
}

QImage EarlyPictures::take(const QByteArray &bytes)
{
    if (!g_running || bytes.isEmpty())
        return QImage();
    Store *store = g_store;
    std::unique_lock<std::mutex> hold(store->lock);
    store->changed.wait(hold, [store] { return store->listed; });
    const auto it = store->index.constFind(bytes);
    if (it == store->index.cend())
        return QImage();
    const size_t i = it.value();
    store->changed.wait(hold, [store, i] { return store->states[i] != State::Decoding; });
    const State was = std::exchange(store->states[i], State::Taken);
    return was == State::Done ? std::move(store->images[i]) : QImage();
}

void EarlyPictures::finish()
{
    std::lock_guard<std::mutex> guard(g_startLock);
    if (!g_store)
        return;
    {
        std::lock_guard<std::mutex> hold(g_store->lock);
        g_store->stop = true;
    }
    g_store->thread.join();
    g_running = false;
    delete std::exchange(g_store, nullptr);
#if defined(__GLIBC__)
    // What nobody took was decoded in the thread's own heap: give it back now, not never.
    malloc_trim(0);
#endif
}

void EarlyPictures::waitUntilListDone()
{
    std::lock_guard<std::mutex> guard(g_startLock);
    if (!g_store)
        return;
    std::unique_lock<std::mutex> hold(g_store->lock);
    g_store->changed.wait(hold, [] { return g_store->done; });
}

bool EarlyPictures::running()
{
    return g_running;
}

} // namespace orba::gui
