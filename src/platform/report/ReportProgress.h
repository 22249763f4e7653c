// ReportProgress: lets whoever runs a print follow the layout of every report built meanwhile
// and stop it. While a Scope lives, each report calls its function once per data row with the
// rows done, the rows in all and the pages laid out so far; a false answer stops the layout,
// and the document comes back marked cancelled. Scopes nest; the innermost one answers.
#pragma once

#include <functional>

namespace lumetra {

class ReportProgress {
public:
    using Function = std::function<bool(int rowsDone, int rowsTotal, int pages)>;

    class Scope {
    public:
        explicit Scope(Function function);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Function previous_;
    };

    // True to go on. Without a scope, always true.
    static bool report(int rowsDone, int rowsTotal, int pages);
};

} // namespace lumetra
