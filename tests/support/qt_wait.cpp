#include <QCoreApplication>
#include <QElapsedTimer>

#include "support/wait.h"

namespace zk::test {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void settle(std::chrono::milliseconds time)
{
    wait_until([] { return false; }, time);
}

} // namespace zk::test
