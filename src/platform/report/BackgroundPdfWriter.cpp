#include "platform/report/BackgroundPdfWriter.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPainter.h"

#include <QFile>
#include <QSizeF>
#include <QTemporaryDir>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace lumetra {

namespace {

// One document's file. The layout's thread sets the first fields before it queues the first
// task, and reads them alone afterwards; `pdf` and `broken` are the writer's alone; `done` and
// `whole` are read and written under the lock.
struct Job {
    QString file;
    QString title;
    QSizeF pageSize;
    int pagesQueued = 0;
    bool layoutEnded = false;
    bool lost = false;        // a page could not be queued
    std::unique_ptr<ReportPainter::PdfPages> pdf;
    bool broken = false;
    bool done = false;        // the writer has finished with it, whole or not
    bool whole = false;       // the file holds every page of a complete layout
};

struct Task {
    std::shared_ptr<Job> job;
    ReportPage page;          // shares the laid-out page's items
    bool end = false;
    bool keep = false;        // end: the layout is whole
};

void writePage(Job& job, const ReportPage& page)
{
    if (job.broken)
        return;
    try {
        if (!job.pdf)
            job.pdf = std::make_unique<ReportPainter::PdfPages>(job.file, job.title, job.pageSize);
        job.pdf->add(page);
    } catch (...) {
        // Not this file, then: take() finds none and the caller writes it.
        job.broken = true;
        job.pdf.reset();
    }
}

bool close(Job& job, bool keep)
{
    bool whole = false;
    if (job.pdf && keep && !job.broken) {
        try {
            job.pdf->finish();
            whole = true;
        } catch (...) {
        }
    }
    job.pdf.reset();
    if (!whole)
        QFile::remove(job.file);
    return whole;
}

} // namespace

struct BackgroundPdfWriter::State {
    std::unique_ptr<QTemporaryDir> folder;
    std::mutex mutex;
    std::condition_variable wake;       // the writer: a task, or stop
    std::condition_variable finished;   // take(): a job done
    std::deque<Task> tasks;
    std::map<quint64, std::shared_ptr<Job>> jobs;
    int files = 0;
    bool stop = false;
    std::thread writer;

    void run();
};

void BackgroundPdfWriter::State::run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return stop || !tasks.empty(); });
        if (stop)
            break;
        Task task = std::move(tasks.front());
        tasks.pop_front();
        lock.unlock();
        const bool end = task.end;
        const bool whole = end && close(*task.job, task.keep);
        if (!end)
            writePage(*task.job, task.page);
        const std::shared_ptr<Job> job = std::exchange(task, Task{}).job;   // the page goes now
        lock.lock();
        if (end) {
            job->done = true;
            job->whole = whole;
            finished.notify_all();
        }
    }
    // Stopped: what is still open is closed here, on the thread that opened it, and removed
    // with the folder.
    for (auto& [serial, job] : jobs)
        job->pdf.reset();
}

BackgroundPdfWriter::BackgroundPdfWriter(const QString& folder)
    : state_(std::make_unique<State>())
    , previous_(LayoutObserver::current())
{
    // Before any page is drawn on the writer's thread: substitutions are process-wide.
    ReportPainter::installFontSubstitutes();
    auto temporary = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/.lumetra-pdf-XXXXXX"));
    if (temporary->isValid()) {
        state_->folder = std::move(temporary);
        state_->writer = std::thread([state = state_.get()] { state->run(); });
    }
    LayoutObserver::install(this);
}

BackgroundPdfWriter::~BackgroundPdfWriter()
{
    LayoutObserver::install(previous_);
    if (state_->writer.joinable()) {
        std::deque<Task> dropped;
        {
            const std::lock_guard lock(state_->mutex);
            state_->stop = true;
            dropped.swap(state_->tasks);
        }
        state_->wake.notify_all();
        state_->writer.join();
    }
}

void BackgroundPdfWriter::pageLaidOut(const ReportDocument& document, int page)
{
    if (!state_->folder || page < 0 || page >= document.pageCount())
        return;
    const std::lock_guard lock(state_->mutex);
    std::shared_ptr<Job>* slot = nullptr;
    try {
        slot = &state_->jobs[document.serial];
        if (!*slot) {
            auto job = std::make_shared<Job>();
            job->file = state_->folder->filePath(QStringLiteral("%1.pdf").arg(++state_->files));
            job->title = document.title;
            job->pageSize = document.pageSize;
            *slot = std::move(job);
        }
        Job& job = **slot;
        if (job.layoutEnded || job.lost || page != job.pagesQueued) {
            job.lost = true;
            return;
        }
        state_->tasks.push_back(Task{*slot, document.pages[page]});
        ++job.pagesQueued;
    } catch (...) {
        if (slot && *slot)
            (*slot)->lost = true;
        return;
    }
    state_->wake.notify_one();
}

void BackgroundPdfWriter::layoutEnded(const ReportDocument& document)
{
    if (!state_->folder)
        return;
    {
        const std::lock_guard lock(state_->mutex);
        const auto found = state_->jobs.find(document.serial);
        if (found == state_->jobs.end() || found->second->layoutEnded)
            return;
        Job& job = *found->second;
        job.layoutEnded = true;
        const bool keep = !job.lost && !document.failed() && !document.cancelled && job.pagesQueued == document.pageCount();
        try {
            state_->tasks.push_back(Task{found->second, {}, true, keep});
        } catch (...) {
            // The writer never hears of its end: the job stays undone and take() does not wait.
            job.lost = true;
            return;
        }
    }
    state_->wake.notify_one();
}

bool BackgroundPdfWriter::take(const ReportDocument& document, const QString& path)
{
    if (!state_->folder)
        return false;
    std::shared_ptr<Job> job;
    {
        std::unique_lock lock(state_->mutex);
        const auto found = state_->jobs.find(document.serial);
        if (found == state_->jobs.end())
            return false;
        job = found->second;
        if (!job->layoutEnded || (job->lost && !job->done))
            return false;
        state_->finished.wait(lock, [&] { return job->done; });
        state_->jobs.erase(document.serial);
    }
    if (!job->whole || job->pagesQueued != document.pageCount()) {
        QFile::remove(job->file);
        return false;
    }
    // rename() replaces `path` in one step.
    if (std::rename(QFile::encodeName(job->file).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(job->file);
        return false;
    }
    return true;
}

} // namespace lumetra
