#include "platform/db/DatabaseFile.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lumetra {

namespace {
QString quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}
} // namespace

QString DatabaseFile::isqlProgram()
{
    const QString configured = qEnvironmentVariable("LUMETRA_ISQL");
    if (!configured.isEmpty())
        return configured;
    for (const char* name : {"isql-fb", "isql"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QStringLiteral("isql-fb");
}

void DatabaseFile::create(const QString& location, const QStringList& scripts, const QString& user,
                          const QString& password)
{
    const DatabaseLocation where = DatabaseLocation::parse(location);
    if (where.embedded()) {
        where.checkLocalPath(location);
        const QFileInfo file(where.path);
        if (file.exists())
            throw DatabaseError(QStringLiteral("El fichero de base de datos «%1» ya existe").arg(where.path), location);
        if (!QDir().mkpath(file.absolutePath()))
            throw DatabaseError(QStringLiteral("No se puede crear la carpeta «%1»").arg(file.absolutePath()), location);
    }

    QString input = QStringLiteral("SET SQL DIALECT 3;\nCREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 16384 "
                                   "DEFAULT CHARACTER SET UTF8;\n")
                        .arg(quoted(where.embedded() ? QFileInfo(where.path).absoluteFilePath() : location),
                             quoted(user), quoted(password));
    for (const QString& script : scripts)
        input += script + QLatin1Char('\n');
    input += QStringLiteral("COMMIT;\nQUIT;\n");

    QProcess isql;
    isql.setProgram(isqlProgram());
    isql.setArguments({QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-ch"), QStringLiteral("UTF8")});
    isql.start();
    if (!isql.waitForStarted(30000))
        throw DatabaseError(QStringLiteral("No se puede ejecutar «%1» para crear la base de datos: %2")
                                .arg(isql.program(), isql.errorString()), location);
    isql.write(input.toUtf8());
    isql.closeWriteChannel();
    const bool finished = isql.waitForFinished(10 * 60 * 1000);
    const QString errors = QString::fromUtf8(isql.readAllStandardError()).trimmed();
    const bool failed = !finished || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0
        || errors.contains(QStringLiteral("Statement failed")) || errors.contains(QStringLiteral("SQLSTATE"));
    if (failed) {
        if (!finished)
            isql.kill();
        if (where.embedded())
            QFile::remove(where.path);
        throw DatabaseError(QStringLiteral("No se ha podido crear la base de datos: %1")
                                .arg(errors.isEmpty() ? QStringLiteral("isql terminó con el código %1").arg(isql.exitCode()) : errors),
                            location);
    }
}

void DatabaseFile::copy(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to) && !QFile::remove(to))
        throw DatabaseError(QStringLiteral("No se puede reemplazar el fichero «%1»").arg(to), to);
    if (!QFile::copy(from, to))
        throw DatabaseError(QStringLiteral("No se puede copiar la base de datos «%1» a «%2»").arg(from, to), from);
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

} // namespace lumetra
