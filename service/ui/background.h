// Background calls: work on the thread pool, continuation on the UI thread.
#pragma once

#include <QObject>
#include <QSemaphore>

#include <functional>
#include <memory>

namespace kestro {

class IAwait
{
public:
    virtual ~IAwait() = default;
    // Starts the work; `continuation` runs on the UI thread after it ended.
    virtual void Await(std::function<void()> continuation) = 0;
};

// Nothing runs until Await is called.
std::shared_ptr<IAwait> ArkaPlanda(std::function<void()> work);

// The load-on-show pattern of a tab, written once.
//
// start() runs `begin` on the UI thread (busy animation on, grid detached),
// `load` on a worker (answers true on failure; an escaping error counts as a
// failure), then `end(failed)` on the UI thread (grid attached, extra steps,
// animation off) and, when the load failed and `reportFailure` is set, the
// connection message. A start() while a load runs is remembered and runs once
// when the current one has ended, so two loads never share a dataset.
class TabLoader : public QObject
{
    Q_OBJECT
public:
    struct Steps
    {
        std::function<void()> begin;
        std::function<bool()> load;
        std::function<void(bool failed)> end;
        bool reportFailure = true;
    };

    explicit TabLoader(Steps steps, QObject *parent = nullptr);
    // Waits for a running work, which may still be filling its owner's dataset.
    ~TabLoader() override;
    void start();
    bool running() const { return m_running; }

signals:
    void finished(bool failed);

private:
    Steps m_steps;
    std::shared_ptr<QSemaphore> m_workDone;
    bool m_running = false;
    bool m_dying = false;
    bool m_again = false;
};

} // namespace kestro
