#include "demodb/ShopDatabase.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/DatabaseFile.h"

#include <QFile>
#include <QSqlQuery>

static void initDbScripts()
{
    Q_INIT_RESOURCE(dbscripts);
}

namespace lumetra {

namespace {
QString readScript(const QString& name)
{
    initDbScripts();
    QFile file(QStringLiteral(":/db/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("No se encuentra el guion «%1» de la base de datos").arg(name));
    return QString::fromUtf8(file.readAll());
}
} // namespace

QStringList ShopDatabase::scripts(bool withBaseData)
{
    QStringList result{readScript(QStringLiteral("schema.sql"))};
    if (withBaseData)
        result << readScript(QStringLiteral("base_data.sql"));
    return result;
}

void ShopDatabase::create(const QString& location, bool withBaseData, const DatabaseLogin& login)
{
    DatabaseFile::create(location, scripts(withBaseData), login.user, login.password);
}

void ShopDatabase::refreshStatistics(Database& database)
{
    QStringList indices;
    {
        QSqlQuery q(database.connection());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES "
                                   "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY RDB$INDEX_NAME")))
            throw DatabaseError(QStringLiteral("No se pueden leer los índices de la base de datos"));
        while (q.next())
            indices << q.value(0).toString();
    }
    for (const QString& index : indices)
        database.execute(QStringLiteral("SET STATISTICS INDEX \"%1\"").arg(index));
}

QStringList ShopDatabase::tableNames()
{
    return {QStringLiteral("EMPRESA"),   QStringLiteral("USUARIO"),  QStringLiteral("MONEDA"),
            QStringLiteral("IVA"),       QStringLiteral("PROVINCIA"), QStringLiteral("LOCALIDAD"),
            QStringLiteral("TIENDA"),    QStringLiteral("FORMA_PAGO"), QStringLiteral("AGENTE"),
            QStringLiteral("GRUPO"),     QStringLiteral("FAMILIA"),  QStringLiteral("ARTICULO"),
            QStringLiteral("PACIENTE"),  QStringLiteral("MVENTA"),   QStringLiteral("DVENTA"),
            QStringLiteral("COBRO"),     QStringLiteral("CAJA"),     QStringLiteral("ACCESO")};
}

} // namespace lumetra
