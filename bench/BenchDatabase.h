// The benchmark database: 10 stores, 365 days of demo history from 1 May 2013 (seed 1), with
// index statistics as a restored database has them. Built once and kept for later runs in
// $XDG_CACHE_HOME/lumetra (or /tmp); its name carries the generator's version, so a database of
// an older history is never measured.
#pragma once

#include <QString>

class QTextStream;

namespace lumetra::bench {

QString benchDatabasePath();

// The path of the benchmark database, created first when it is not there yet (progress to `out`).
// Throws on failure.
QString ensureBenchDatabase(QTextStream& out);

} // namespace lumetra::bench
