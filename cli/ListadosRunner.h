// ListadosRunner: one headless print. It builds the host block on the database, creates the
// listing window (never shown) and runs its opening steps as the module does for the host, builds
// the listing request from the window's own request and the options, hands it to the window's
// print dispatch, closes the window (which writes the access audit) and tears down window,
// session and owner in that order. The reports reach their files only once the print has ended.
//
// With `terminationSignals`, SIGTERM or SIGINT stops the print as "Cancelar" would, writes
// nothing (files already at the output paths stay as they were) and still closes the window and
// the session.
//
// REQUIRES: a QApplication; nothing else may have an interaction installed while run() works.
#pragma once

#include "ListadosOptions.h"

namespace lumetra {

class TerminationSignals;

class ListadosRunner {
public:
    explicit ListadosRunner(ListadosOptions options, TerminationSignals* terminationSignals = nullptr);

    // The exit status: 0 printed, 1 failure, 2 invalid conditions or options, 3 nothing found,
    // 128 + the signal's number when a signal stopped it (143 SIGTERM, 130 SIGINT).
    // Messages go to standard error, the paths written to standard output.
    int run();

private:
    ListadosOptions options_;
    TerminationSignals* signals_;
};

} // namespace lumetra
