// ListingSession: the listing window on one database, opened once as lumetra-listados opens it
// (host block, window, its opening steps) and printing any number of listings, each from a
// request built from lumetra-listados options. What the prints hand to the interaction (previews,
// direct prints, messages, error windows) is recorded, so a test reads the very documents the
// exporters would write.
//
// everyListing(): every listing the module prints, each VAT basis and journal layout, the cash
// sheet with every option on (so its group and card reports follow it).
#pragma once

#include "platform/report/ReportDocument.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QMainWindow;

namespace lumetra {
class HostSession;
class TfrmHojaCaja;
}

namespace lumetra::test {

class RecordingInteraction;

struct Listing {
    QString name;
    QStringList options;     // lumetra-listados options of the listing, without dates and stores
};

QVector<Listing> everyListing();

class ListingSession {
public:
    struct Printed {
        int status = -1;                    // the print dispatch's result
        QVector<ReportDocument> documents;  // the listing's, then the reports printed after it
        QStringList problems;               // messages and error windows
    };

    // Throws DatabaseError when the database cannot be opened.
    ListingSession(const QString& database, const QString& workingDate);
    ~ListingSession();
    ListingSession(const ListingSession&) = delete;
    ListingSession& operator=(const ListingSession&) = delete;

    // `conditions`: the date and store options.
    Printed print(const Listing& listing, const QStringList& conditions);

private:
    QString database_;
    QString workingDate_;
    std::unique_ptr<RecordingInteraction> interaction_;
    std::unique_ptr<QMainWindow> owner_;
    std::unique_ptr<HostSession> session_;
    TfrmHojaCaja* window_ = nullptr;
};

} // namespace lumetra::test
