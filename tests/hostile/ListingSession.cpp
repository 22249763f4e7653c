#include "ListingSession.h"

namespace lumetra::test {

QList<QStringList> everyListingWithFamilies()
{
    QList<QStringList> all = everyListing();
    for (QStringList& listing : all)
        if (listing.at(1) == QLatin1String("diario"))
            listing << QStringLiteral("--familia") << QStringLiteral("si");
    return all;
}

ListingSession::ListingSession(const QString& database, const QString& workingDate)
    : database_(database)
    , workingDate_(workingDate)
    , window_(database, workingDate)
{
}

ListingSession::Printed ListingSession::print(const QStringList& listing, const QStringList& conditions)
{
    // Several sessions may be open at once: the one printing records.
    Interaction::install(interaction_.get());
    interaction_->outputs.clear();
    interaction_->messages.clear();
    interaction_->dialogs.clear();
    Printed printed;
    printed.status = window_.print(QStringList{"--db", database_, "--fecha-trabajo", workingDate_, "--salida", "x.csv"} + conditions + listing);
    // The reports that follow a listing are printed while it is laid out, before its preview.
    for (const bool previewed : {true, false})
        for (const RecordingInteraction::Output& output : interaction_->outputs)
            if (output.previewed == previewed)
                printed.documents.append(output.document);
    printed.problems = interaction_->messages + interaction_->dialogs;
    return printed;
}

} // namespace lumetra::test
