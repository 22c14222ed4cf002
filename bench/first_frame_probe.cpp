// Linked into a start-up probe: when the first window has been exposed and
// drawn, prints the monotonic clock and the peak resident memory (VmHWM) and
// ends the process at once, before anything is saved or torn down.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = status.readLine()).isEmpty();) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

void reportAndEnd()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("frame_ns=%lld vmhwm_kb=%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec, peakResidentKilobytes());
    std::fflush(stdout);
    std::_Exit(0);
}

class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !seen_) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                seen_ = true;
                // The expose is handled, and the frame drawn and flushed,
                // before the event loop runs this.
                QTimer::singleShot(0, reportAndEnd);
            }
        }
        return false;
    }

private:
    bool seen_ = false;
};

void installProbe()
{
    QCoreApplication::instance()->installEventFilter(new FirstFrame);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
