// BackgroundPdfWriter: while it lives, the PDF of every report laid out on its thread is written
// on a thread of its own, each page as soon as the layout has finished it, so that a long
// report's file is ready about when its layout is rather than as long again after it.
//
// Contract:
// - It installs itself as the thread's LayoutObserver and puts the previous one back when
//   destroyed.
// - take() hands a document's file over once it is whole. There is none for a document laid out
//   before it was installed, one whose layout failed or was cancelled, one whose file could not
//   be written, or one already taken; the caller then writes the file itself (writePdf), which
//   also reports why it cannot.
// - The files are written into a hidden folder inside `folder`, so that handing one over to a
//   path in that folder is a rename. Whatever was not taken is removed with it.
// - A file taken is the file writePdf writes for the same document.
#pragma once

#include "platform/report/LayoutObserver.h"

#include <QString>
#include <memory>

namespace lumetra {

class BackgroundPdfWriter : public LayoutObserver {
public:
    explicit BackgroundPdfWriter(const QString& folder);
    ~BackgroundPdfWriter() override;
    BackgroundPdfWriter(const BackgroundPdfWriter&) = delete;
    BackgroundPdfWriter& operator=(const BackgroundPdfWriter&) = delete;

    void pageLaidOut(const ReportDocument& document, int page) override;
    void layoutEnded(const ReportDocument& document) override;

    // Waits for the document's file and moves it to `path`, replacing what is there. False, and
    // `path` untouched, when there is no whole file for it.
    bool take(const ReportDocument& document, const QString& path);

private:
    struct State;
    std::unique_ptr<State> state_;
    LayoutObserver* previous_;
};

} // namespace lumetra
