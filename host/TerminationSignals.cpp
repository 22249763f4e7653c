#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace lumetra {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

int pipeEnds[2] = {-1, -1};
volatile std::sig_atomic_t firstSignal = 0;

extern "C" void onTerminationSignal(int signal)
{
    const int saved = errno;
    if (firstSignal == 0)
        firstSignal = signal;
    const unsigned char number = static_cast<unsigned char>(signal);
    // Non-blocking: with the pipe full the number is dropped, never the handler stuck.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls (the database's reads) go on as if nothing happened.
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (pipeEnds[0] != -1)
        throw std::logic_error("TerminationSignals: one object per process");
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("TerminationSignals: no se puede crear la tubería de señales");
    firstSignal = 0;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    install();
}

TerminationSignals::~TerminationSignals()
{
    handleWith(SIG_DFL);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::install()
{
    handleWith(onTerminationSignal);
}

int TerminationSignals::first()
{
    return firstSignal;
}

int TerminationSignals::exitStatus(int signal)
{
    return 128 + signal;
}

void TerminationSignals::readPipe()
{
    unsigned char numbers[64];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit received(numbers[i]);
}

} // namespace lumetra
