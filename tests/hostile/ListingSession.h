// ListingSession: the listing window on one database, opened once as lumetra-listados opens it
// and printing any number of listings, each from lumetra-listados options. What the prints hand
// to the interaction (previews, direct prints, messages, error windows) is recorded, so a test
// reads the very documents the exporters would write.
#pragma once

#include "faults/EveryListing.h"
#include "platform/report/ReportDocument.h"
#include "support/RecordingInteraction.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace lumetra::test {

// Every listing the module prints (each VAT basis and journal layout, the cash sheet with every
// option on, so its group and card reports follow it), the journals with their families.
QList<QStringList> everyListingWithFamilies();

class ListingSession {
public:
    struct Printed {
        int status = -1;                    // the print dispatch's result
        QVector<ReportDocument> documents;  // the listing's, then the reports printed after it
        QStringList problems;               // messages and error windows
    };

    // Throws DatabaseError when the database cannot be opened.
    ListingSession(const QString& database, const QString& workingDate);

    // `conditions`: the date and store options.
    Printed print(const QStringList& listing, const QStringList& conditions);

private:
    QString database_;
    QString workingDate_;
    std::unique_ptr<RecordingInteraction> interaction_ = std::make_unique<RecordingInteraction>();
    OpenWindow window_;
};

} // namespace lumetra::test
