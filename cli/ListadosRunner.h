// ListadosRunner: one headless print. It builds the host block on the database, creates the
// listing window (never shown) and runs its opening steps as the module does for the host, builds
// the listing request from the window's own request and the options, hands it to the window's
// print dispatch, closes the window (which writes the access audit) and tears down window,
// session and owner in that order.
//
// REQUIRES: a QApplication; nothing else may have an interaction installed while run() works.
#pragma once

#include "ListadosOptions.h"

namespace lumetra {

class ListadosRunner {
public:
    explicit ListadosRunner(ListadosOptions options);

    // The exit status: 0 printed, 1 failure, 2 invalid conditions or options, 3 nothing found.
    // Messages go to standard error, the paths written to standard output.
    int run();

private:
    ListadosOptions options_;
};

} // namespace lumetra
