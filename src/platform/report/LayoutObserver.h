// LayoutObserver: follows the layouts of the thread that installs it, page by page, for work
// that can go on while the rest of a report is laid out (writing its file).
//
// Contract:
// - pageLaidOut() comes once for each page, in page order, when the page is complete: nothing
//   is added to it or changed in it afterwards, so a copy of it taken then stays what prints.
// - layoutEnded() comes once for each layout that started, also when it failed or was
//   cancelled (the document says so); the document then holds every page it will hold.
// - Layouts may nest (an event lays out another report): calls of two documents interleave,
//   each document known by its serial.
// - Calls run on the layout's thread, inside the layout: an observer must not throw and should
//   be quick.
#pragma once

namespace lumetra {

class ReportDocument;

class LayoutObserver {
public:
    virtual ~LayoutObserver();

    virtual void pageLaidOut(const ReportDocument& document, int page) = 0;
    virtual void layoutEnded(const ReportDocument& document) = 0;

    // One observer per thread at most; null removes it. A layout keeps the observer it started
    // with, so the caller keeps it alive until every layout started meanwhile has ended.
    static void install(LayoutObserver* observer);
    static LayoutObserver* current();
};

} // namespace lumetra
