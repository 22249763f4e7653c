// FirebirdFixture: each test gets its own copy of a real Firebird database created from the
// project's schema and base data. The template database is built once per test program; every
// test works on a fresh copy in a temporary folder, opened as `db`.
#pragma once

#include "platform/db/Database.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace lumetra::test {

class FirebirdFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a new copy of the template database (not opened).
    QString freshCopy(const QString& name = QStringLiteral("test"));
    // Runs statements that return no rows, each on its own.
    void exec(const QStringList& statements);
    // Three stores whose codes do not follow their identifiers: 1 Centro (code 30), 2 Gràcia (10),
    // 3 Sabadell (20).
    void addStores();

    Database db;
    QString path;

private:
    static QString templatePath();
};

} // namespace lumetra::test
