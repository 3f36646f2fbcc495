#include "background.h"

#include "messages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSemaphore>
#include <QThreadPool>

namespace kestro {

namespace {

class TAwait : public IAwait, public std::enable_shared_from_this<TAwait>
{
public:
    explicit TAwait(std::function<void()> work) : m_work(std::move(work)) {}

    void Await(std::function<void()> continuation) override
    {
        // The task keeps this object alive until the continuation has run.
        auto self = shared_from_this();
        QThreadPool::globalInstance()->start([self, continuation = std::move(continuation)]() mutable {
            try {
                self->m_work();
            } catch (...) {
                // A work procedure reports failure through its own state.
            }
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [self, continuation = std::move(continuation)] {
                    if (continuation)
                        continuation();
                },
                Qt::QueuedConnection);
        });
    }

private:
    std::function<void()> m_work;
};

} // namespace

std::shared_ptr<IAwait> ArkaPlanda(std::function<void()> work)
{
    return std::make_shared<TAwait>(std::move(work));
}

TabLoader::TabLoader(Steps steps, QObject *parent) : QObject(parent), m_steps(std::move(steps)) {}

TabLoader::~TabLoader()
{
    if (!m_running || !m_workDone)
        return;
    // The work may be waiting for this thread to show a message, so events keep
    // flowing while it ends; its continuation then finds the loader going.
    m_dying = true;
    while (!m_workDone->tryAcquire(1, 10))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TabLoader::start()
{
    if (m_running) {
        m_again = true;
        return;
    }
    m_running = true;
    if (m_steps.begin)
        m_steps.begin();
    auto failed = std::make_shared<bool>(false);
    auto done = std::make_shared<QSemaphore>(0);
    m_workDone = done;
    QPointer<TabLoader> self(this);
    ArkaPlanda([load = m_steps.load, failed, done] {
        try {
            *failed = load ? load() : false;
        } catch (...) {
            *failed = true;
        }
        done->release();
    })->Await([self, failed] {
        if (!self || self->m_dying)
            return;
        if (self->m_steps.end)
            self->m_steps.end(*failed);
        self->m_running = false;
        if (*failed && self->m_steps.reportFailure)
            HataVer(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        emit self->finished(*failed);
        if (self && self->m_again) {
            self->m_again = false;
            self->start();
        }
    });
}

} // namespace kestro
