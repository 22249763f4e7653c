// TerminationSignals: SIGTERM and SIGINT (Ctrl-C) handled by the program itself, on its main
// thread, instead of ending it on the spot or reaching the handlers the Firebird client library
// installs (those shut its engine down and leave the program running on dead connections).
//
// The signal handler only notes the first signal and writes the signal's number to a pipe, both
// async-signal-safe; a socket notifier on the pipe emits received() from the event loop, so a
// program in its event loop reacts at once. Code that runs without returning to the event loop
// asks first() between steps.
//
// The Firebird client installs its own handlers for both signals when the process opens its first
// database connection: call install() again right after that connection so these run instead.
//
// REQUIRES: a QCoreApplication; one object per process, made before the first connection.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace lumetra {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts the default handling back: a signal from then on ends the process.
    ~TerminationSignals() override;

    // (Re)installs the handlers of both signals.
    void install();
    // The first of the two signals received since the object was made, 0 if none. Exact also before received() has
    // been delivered.
    static int first();
    // The exit status of a program stopped by `signal`, as a shell reports one it ended: 128 + its
    // number (143 for SIGTERM, 130 for SIGINT).
    static int exitStatus(int signal);

signals:
    // Once per signal received, from the event loop.
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace lumetra
