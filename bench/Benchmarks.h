// The benchmarks of lumetra-bench; each returns the process exit status.
#pragma once

#include <QStringList>

namespace lumetra::bench {

int motor(const QStringList& args);
int hojaDatos(const QStringList& args);
int listados(const QStringList& args);

} // namespace lumetra::bench
