#include "demodb/DemoHistory.h"

#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Transaction.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QVariant>
#include <algorithm>
#include <random>
#include <vector>

namespace lumetra {

namespace {

// Payment forms of the demo shop (the first four come with every new database).
constexpr int FpEfectivo = 1;
constexpr int FpTalon = 2;
constexpr int FpAlbaran = 3;
constexpr int FpTarjeta = 4;
constexpr int FpVisa = 10;
constexpr int FpMastercard = 11;
constexpr int FpAmex = 12;

enum class VatClass { General, Reducido };

// Rates in force: 16/7 until 30 June 2010, 18/8 until 31 August 2012, 21/10 since.
double rateOn(VatClass vat, const QDate& day)
{
    if (day < QDate(2010, 7, 1))
        return vat == VatClass::General ? 16 : 7;
    if (day < QDate(2012, 9, 1))
        return vat == VatClass::General ? 18 : 8;
    return vat == VatClass::General ? 21 : 10;
}

struct GroupDef { const char* codigo; const char* descripcion; };
const GroupDef kGroups[] = {
    {"GR", "Graduado"}, {"LC", "Lentes de contacto"}, {"SL", "Sol"}, {"AC", "Accesorios"},
    {"AU", "Audiología"}, {"RE", "Reparaciones"}, {"LIQ", "Líquidos y mantenimiento"},
};

struct FamilyDef { const char* codigo; const char* descripcion; int group; };
const FamilyDef kFamilies[] = {
    {"MON", "Monturas", 0}, {"LOF", "Lentes oftálmicas", 0}, {"LCO", "Lentes de contacto", 1},
    {"SOL", "Gafas de sol", 2}, {"ACC", "Accesorios", 3}, {"AUD", "Audífonos", 4},
    {"REP", "Reparaciones", 5}, {"LIQ", "Líquidos", 6}, {"LEC", "Gafas de lectura", 0},
};

enum Kind { Montura, Lente, Contacto, Sol, Accesorio, Audifono, Reparacion, Liquido, Lectura };

struct ArticleDef { const char* referencia; const char* descripcion; int family; VatClass vat; int cents; Kind kind; };
const ArticleDef kArticles[] = {
    {"MON-0101", "Montura metálica dorada", 0, VatClass::Reducido, 8900, Montura},
    {"MON-0102", "Montura acetato carey", 0, VatClass::Reducido, 11500, Montura},
    {"MON-0103", "Montura al aire titanio", 0, VatClass::Reducido, 16900, Montura},
    {"MON-0104", "Montura infantil flexible", 0, VatClass::Reducido, 5900, Montura},
    {"LOF-1501", "Lente monofocal orgánica 1.50", 1, VatClass::Reducido, 4500, Lente},
    {"LOF-1601", "Lente monofocal adelgazada 1.60", 1, VatClass::Reducido, 7900, Lente},
    {"LOF-1602", "Lente progresiva 1.60 antirreflejante", 1, VatClass::Reducido, 18900, Lente},
    {"LOF-1603", "Lente ocupacional antifatiga", 1, VatClass::Reducido, 12000, Lente},
    {"LCO-0030", "Lentillas mensuales (caja 6 u.)", 2, VatClass::Reducido, 3600, Contacto},
    {"LCO-0031", "Lentillas diarias (caja 30 u.)", 2, VatClass::Reducido, 2950, Contacto},
    {"LCO-0032", "Lentillas tóricas mensuales (6 u.)", 2, VatClass::Reducido, 4800, Contacto},
    {"SOL-0201", "Gafa de sol polarizada", 3, VatClass::General, 9500, Sol},
    {"SOL-0202", "Gafa de sol deportiva", 3, VatClass::General, 7900, Sol},
    {"SOL-0203", "Gafa de sol infantil", 3, VatClass::General, 3900, Sol},
    {"ACC-0001", "Funda rígida", 4, VatClass::General, 950, Accesorio},
    {"ACC-0002", "Cordón sujeta-gafas", 4, VatClass::General, 495, Accesorio},
    {"ACC-0003", "Gamuza de microfibra", 4, VatClass::General, 250, Accesorio},
    {"ACC-0004", "Pilas para audífono (6 u.)", 4, VatClass::General, 590, Accesorio},
    {"AUD-0001", "Audífono retroauricular digital", 5, VatClass::Reducido, 95000, Audifono},
    {"AUD-0002", "Audífono intracanal", 5, VatClass::Reducido, 135000, Audifono},
    {"REP-0001", "Reparación de montura", 6, VatClass::General, 1500, Reparacion},
    {"REP-0002", "Cambio de plaquetas y ajuste", 6, VatClass::General, 600, Reparacion},
    {"LIQ-0360", "Solución única 360 ml", 7, VatClass::Reducido, 1295, Liquido},
    {"LIQ-0100", "Gotas humectantes 10 ml", 7, VatClass::Reducido, 895, Liquido},
    {"LEC-0150", "Gafa de lectura premontada +1.50", 8, VatClass::Reducido, 1990, Lectura},
    {"LEC-0250", "Gafa de lectura premontada +2.50", 8, VatClass::Reducido, 1990, Lectura},
};
constexpr int kArticleCount = int(sizeof(kArticles) / sizeof(kArticles[0]));

const char* const kStoreNames[] = {
    "Lumetra Centro", "Lumetra Gràcia", "Lumetra Sabadell", "Lumetra Chamberí", "Lumetra Ruzafa",
    "Lumetra Sants", "Lumetra Salamanca", "Lumetra Terrassa", "Lumetra Malvarrosa", "Lumetra Les Corts",
    "Lumetra Retiro", "Lumetra Campanar",
};
const int kStoreLocality[] = {1, 1, 2, 3, 4, 1, 3, 2, 4, 1, 3, 4};
const char* const kStreets[] = {
    "Carrer de Pelai, 12", "Carrer Gran de Gràcia, 45", "Rambla, 102", "Calle de Santa Engracia, 30",
    "Carrer de Sueca, 8", "Carrer de Sants, 150", "Calle de Goya, 61", "Carrer Major, 23",
    "Carrer de la Reina, 77", "Travessera de les Corts, 210", "Calle de Alcalá, 180", "Avinguda de Burjassot, 5",
};

const char* const kFirstNames[] = {
    "María", "José", "Carmen", "Antonio", "Ana", "Manuel", "Laura", "Francisco", "Isabel", "David",
    "Lucía", "Javier", "Marta", "Jordi", "Núria", "Pablo", "Elena", "Sergio", "Cristina", "Àlex",
};
const char* const kSurnames[] = {
    "García", "Martínez", "López", "Sánchez", "Pérez", "Gómez", "Martín", "Jiménez", "Ruiz", "Hernández",
    "Díaz", "Moreno", "Muñoz", "Álvarez", "Romero", "Puig", "Ferrer", "Serra", "Vidal", "Castro",
};

const int kLineDiscounts[] = {5, 10, 15, 20};
const int kGlobalDiscounts[] = {5, 10};
const char* const kExpenses[] = {"Material de oficina", "Limpieza", "Mensajería", "Café y agua"};

struct Rng {
    explicit Rng(unsigned seed) : engine(seed) {}
    int between(int low, int high) { return low + int(engine() % unsigned(high - low + 1)); }
    bool chance(int percent) { return int(engine() % 100u) < percent; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) { return items[engine() % N]; }
    std::mt19937 engine;
};

struct Line {
    int articulo = 0;
    int units = 1;
    qint64 priceCents = 0;
    double dtoLinea = 0;
    qint64 liquido = 0, base = 0, iva = 0;
    double rate = 0;
    int grupo = 0;
    int agentes[3] = {0, 0, 0};
};

struct Sale {
    int id = 0;
    int tienda = 0;
    QDateTime fecha;
    QDateTime pagado;   // invalid while the order is open
    int tipo = 0;
    int talon = 0;
    int paciente = 0;
    int formaPago = FpEfectivo;
    int agente = 0;
    double dtoGlobal = 0;
    qint64 liquido = 0;
    int fsEncargo = 0;
    int fsCobro = 0;
    std::vector<Line> lines;
};

struct Payment {
    int sale = 0;
    int tienda = 0;
    QDateTime fecha;
    qint64 importe = 0;
    int formaPago = FpEfectivo;
    int agente = 0;
    int ticket = 0;
};

struct CashMove {
    int tienda = 0;
    QDateTime fecha;
    int tipo = 1;
    QString descripcion;
    qint64 importe = 0;
    int formaPago = FpEfectivo;
};

struct Store {
    int id = 0;
    QString serie;
    std::vector<int> agents;
    std::vector<int> patients;
};

qint64 roundCents(double cents)
{
    return cents < 0 ? -qint64(-cents + 0.5) : qint64(cents + 0.5);
}

QVariant money(qint64 cents)
{
    return QVariant(double(cents) / 100.0);
}

QDateTime at(const QDate& day, int minutes)
{
    return QDateTime(day, QTime(minutes / 60, minutes % 60, (minutes * 7) % 60));
}

class Writer {
public:
    Writer(Database& database, const QString& sql)
        : query_(database.connection())
        , database_(database)
        , sql_(sql)
    {
        if (!query_.prepare(sql))
            throw DatabaseError::fromSqlError(query_.lastError(), QStringLiteral("preparar"), database.location(), sql);
    }
    void row(const QVariantList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            query_.bindValue(i, values.at(i));
        if (!query_.exec())
            throw DatabaseError::fromSqlError(query_.lastError(), QStringLiteral("insertar"), database_.location(), sql_);
    }

private:
    QSqlQuery query_;
    Database& database_;
    QString sql_;
};

class Generator {
public:
    Generator(const DemoOptions& options, Database& database)
        : options_(options)
        , db_(database)
        , rng_(options.semilla)
    {
    }

    void run()
    {
        masterData();
        history();
        numberDocuments();
        writeHistory();
        restartIdentities();
    }

private:
    void masterData()
    {
        Writer grupos(db_, QStringLiteral("insert into GRUPO (ID_GRUPO, CODIGO, DESCRIPCION) values (?, ?, ?)"));
        int id = 0;
        for (const GroupDef& g : kGroups)
            grupos.row({++id, QString::fromUtf8(g.codigo), QString::fromUtf8(g.descripcion)});

        Writer familias(db_, QStringLiteral("insert into FAMILIA (ID_FAMILIA, CODIGO, DESCRIPCION, ID_GRUPO) values (?, ?, ?, ?)"));
        id = 0;
        for (const FamilyDef& f : kFamilies)
            familias.row({++id, QString::fromUtf8(f.codigo), QString::fromUtf8(f.descripcion), f.group + 1});

        Writer articulos(db_, QStringLiteral(
            "insert into ARTICULO (ID_ARTICULO, REFERENCIA, CBARRAS, DESCRIPCION, ID_FAMILIA, ID_GRUPO, ID_IVA, PVP_M1) "
            "values (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kArticleCount; ++i) {
            const ArticleDef& a = kArticles[i];
            articulos.row({i + 1, QString::fromUtf8(a.referencia), QStringLiteral("84%1").arg(1000000000 + i * 7919, 11, 10, QLatin1Char('0')),
                           QString::fromUtf8(a.descripcion), a.family + 1, kFamilies[a.family].group + 1,
                           a.vat == VatClass::General ? 1 : 2, money(a.cents)});
        }

        Writer formas(db_, QStringLiteral("insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO, TIPO_PAGO) values (?, ?, ?, 0, 2)"));
        formas.row({FpVisa, 5, QStringLiteral("Visa")});
        formas.row({FpMastercard, 6, QStringLiteral("Mastercard")});
        formas.row({FpAmex, 7, QStringLiteral("American Express")});

        Writer tiendas(db_, QStringLiteral(
            "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, DIRECCION, ID_LOCALIDAD, FS_SERIE) values (?, ?, ?, ?, ?, ?)"));
        Writer agentes(db_, QStringLiteral("insert into AGENTE (ID_AGENTE, CODIGO, NOMBRE, ID_TIENDA) values (?, ?, ?, ?)"));
        Writer pacientes(db_, QStringLiteral(
            "insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS, NIF, ID_LOCALIDAD, TELEFONO, FECHA_ALTA, BORRADO) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const int n = options_.tiendas;
        int agentId = 0;
        int patientId = 0;
        for (int s = 0; s < n; ++s) {
            Store store;
            store.id = s + 1;
            store.serie = s < 26 ? QString(QChar(u'A' + s)) : QStringLiteral("Z%1").arg(s - 25);
            const int names = int(sizeof(kStoreNames) / sizeof(kStoreNames[0]));
            const QString name = s < names ? QString::fromUtf8(kStoreNames[s]) : QStringLiteral("Lumetra Tienda %1").arg(s + 1);
            // Codes do not follow the identifiers, so lists ordered by code differ from id order.
            tiendas.row({store.id, (n - s) * 10, name, QString::fromUtf8(kStreets[s % names]), kStoreLocality[s % names], store.serie});
            for (int k = 1; k <= 3; ++k) {
                ++agentId;
                agentes.row({agentId, QString::number(store.id * 10 + k),
                             QStringLiteral("%1 %2").arg(QString::fromUtf8(rng_.pick(kFirstNames)), QString::fromUtf8(rng_.pick(kSurnames))),
                             store.id});
                store.agents.push_back(agentId);
            }
            for (int p = 0; p < 250; ++p) {
                ++patientId;
                const bool borrado = rng_.chance(3);
                pacientes.row({patientId, 10000 + patientId, QString::fromUtf8(rng_.pick(kFirstNames)),
                               QStringLiteral("%1 %2").arg(QString::fromUtf8(rng_.pick(kSurnames)), QString::fromUtf8(rng_.pick(kSurnames))),
                               QStringLiteral("%1%2").arg(10000000 + patientId * 37).arg(QChar(u'A' + patientId % 23)),
                               kStoreLocality[s % names], QStringLiteral("6%1").arg(10000000 + patientId * 131 % 89999999),
                               QDateTime(options_.desde.addDays(-rng_.between(30, 3000)), QTime(10, 0)), borrado ? 1 : 0});
                store.patients.push_back(patientId);
            }
            stores_.push_back(store);
        }

        Writer usuarios(db_, QStringLiteral(
            "insert into USUARIO (ID_USUARIO, NOMBRE_USUARIO, ID_TIENDA, PERMITE_TOTALES_MES, PERMITE_TOTALES_DIA, "
            "PERMITE_INFORME_GRUPOS, PERMITE_INFORME_TARJETAS, DETALLE_ENCARGOS, FECHAS_BLOQUEADAS, SOLO_TIENDA_PROPIA) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        usuarios.row({2, QStringLiteral("Dependiente %1").arg(QString::fromUtf8(kStoreNames[0])), 1, 0, 1, 0, 1, 0, 0, 1});
        usuarios.row({3, QStringLiteral("Consulta"), 1, 1, 1, 1, 1, 1, 1, 0});
    }

    int agentOf(const Store& store) { return store.agents[size_t(rng_.between(0, int(store.agents.size()) - 1))]; }

    int patientOf(const Store& store) { return store.patients[size_t(rng_.between(0, int(store.patients.size()) - 1))]; }

    int cardForm()
    {
        const int r = rng_.between(0, 99);
        return r < 45 ? FpVisa : r < 80 ? FpMastercard : r < 90 ? FpAmex : FpTarjeta;
    }

    int directForm()
    {
        const int r = rng_.between(0, 99);
        return r < 45 ? FpEfectivo : r < 88 ? cardForm() : r < 94 ? FpTalon : FpAlbaran;
    }

    int article(std::initializer_list<Kind> kinds)
    {
        std::vector<int> candidates;
        for (int i = 0; i < kArticleCount; ++i)
            if (std::find(kinds.begin(), kinds.end(), kArticles[i].kind) != kinds.end())
                candidates.push_back(i);
        return candidates[size_t(rng_.between(0, int(candidates.size()) - 1))];
    }

    void addLine(Sale& sale, const Store& store, int articleIndex, int units = 1)
    {
        Line line;
        line.articulo = articleIndex;
        line.units = units;
        line.priceCents = kArticles[articleIndex].cents;
        if (rng_.chance(12))
            line.dtoLinea = rng_.pick(kLineDiscounts);
        line.rate = rateOn(kArticles[articleIndex].vat, sale.fecha.date());
        // Now and then an article the shop never put in a sales group.
        line.grupo = rng_.chance(3) ? 0 : kFamilies[kArticles[articleIndex].family].group + 1;
        const int r = rng_.between(0, 99);
        if (r < 4) {
            // First agent left out, second one set: the line still names who sold it.
            line.agentes[1] = agentOf(store);
        } else {
            line.agentes[0] = sale.agente;
            if (r < 24)
                line.agentes[1] = agentOf(store);
            if (r < 30)
                line.agentes[2] = agentOf(store);
        }
        sale.lines.push_back(line);
    }

    // Prices include VAT; discounts apply to each line, then the global one to the whole sale.
    void price(Sale& sale)
    {
        sale.liquido = 0;
        for (Line& line : sale.lines) {
            const double gross = double(line.priceCents) * line.units * (1.0 - line.dtoLinea / 100.0)
                * (1.0 - sale.dtoGlobal / 100.0);
            line.liquido = roundCents(gross);
            line.base = roundCents(double(line.liquido) * 100.0 / (100.0 + line.rate));
            line.iva = line.liquido - line.base;
            sale.liquido += line.liquido;
        }
    }

    Sale& newSale(const Store& store, const QDateTime& when, int tipo)
    {
        Sale sale;
        sale.id = int(sales_.size()) + 1;
        sale.tienda = store.id;
        sale.fecha = when;
        sale.tipo = tipo;
        sale.talon = ++talones_[size_t(store.id)];
        sale.agente = agentOf(store);
        sale.paciente = rng_.chance(tipo == 0 ? 35 : 100) ? patientOf(store) : 0;
        if (rng_.chance(8))
            sale.dtoGlobal = rng_.pick(kGlobalDiscounts);
        sales_.push_back(sale);
        return sales_.back();
    }

    // Another store of the chain, when there is one: customers pay where it suits them.
    int otherStore(int tienda) const
    {
        return options_.tiendas < 2 ? tienda : tienda % options_.tiendas + 1;
    }

    void pay(const Sale& sale, const QDateTime& when, qint64 cents, int form, int tienda = 0)
    {
        if (cents == 0)
            return;
        Payment p;
        p.sale = sale.id;
        p.tienda = tienda != 0 ? tienda : sale.tienda;
        p.fecha = when;
        p.importe = cents;
        p.formaPago = form;
        p.agente = sale.agente;
        payments_.push_back(p);
    }

    QDate openDayOnOrAfter(QDate day) const
    {
        return day.dayOfWeek() == Qt::Sunday ? day.addDays(1) : day;
    }

    void history()
    {
        talones_.assign(size_t(options_.tiendas) + 1, 0);
        const QDate last = options_.desde.addDays(options_.dias - 1);
        for (int d = 0; d < options_.dias; ++d) {
            const QDate day = options_.desde.addDays(d);
            if (day.dayOfWeek() == Qt::Sunday)
                continue;
            for (const Store& store : stores_)
                oneDay(store, day, last);
        }
    }

    void oneDay(const Store& store, const QDate& day, const QDate& last)
    {
        cash(store, at(day, 9 * 60 + 30), 5, QStringLiteral("Fondo de caja"), 15000, FpEfectivo);

        struct Event { int minute; int kind; };
        std::vector<Event> events;
        const int direct = rng_.between(4, 12);
        for (int i = 0; i < direct; ++i)
            events.push_back({rng_.between(600, 1190), 0});
        const int glasses = rng_.between(1, 5);
        for (int i = 0; i < glasses; ++i)
            events.push_back({rng_.between(600, 1190), 1});
        if (rng_.chance(40))
            events.push_back({rng_.between(600, 1190), 2});
        if (rng_.chance(35))
            events.push_back({rng_.between(600, 1190), 3});
        std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.minute < b.minute; });

        for (const Event& e : events) {
            const QDateTime when = at(day, e.minute);
            if (e.kind == 0)
                directSale(store, when);
            else if (e.kind == 3)
                repair(store, when);
            else
                order(store, when, e.kind, last);
        }

        if (rng_.chance(40))
            cash(store, at(day, rng_.between(600, 1150)), 1,
                 QString::fromUtf8(rng_.pick(kExpenses)),
                 rng_.between(300, 6000), rng_.chance(12) ? cardForm() : FpEfectivo);
        if (rng_.chance(10))
            cash(store, at(day, rng_.between(600, 1150)), 2, QStringLiteral("Pago a proveedor"),
                 rng_.between(5000, 40000), rng_.chance(50) ? FpTalon : FpEfectivo);
        if (rng_.chance(8))
            cash(store, at(day, rng_.between(600, 1150)), 3, QStringLiteral("Entrada de cambio"),
                 rng_.between(50, 100) * 100, FpEfectivo);
        if (rng_.chance(60))
            cash(store, at(day, 20 * 60 + 30), 4, QStringLiteral("Ingreso en banco"),
                 rng_.between(20, 90) * 1000, FpEfectivo);
    }

    void cash(const Store& store, const QDateTime& when, int tipo, const QString& descripcion, qint64 cents, int form)
    {
        cash_.push_back({store.id, when, tipo, descripcion, cents, form});
    }

    void directSale(const Store& store, const QDateTime& when)
    {
        Sale& sale = newSale(store, when, 0);
        const int lines = rng_.between(1, 100) <= 55 ? 1 : rng_.between(2, 3);
        for (int i = 0; i < lines; ++i)
            addLine(sale, store, article({Sol, Accesorio, Contacto, Liquido, Lectura}), rng_.chance(10) ? 2 : 1);
        if (rng_.chance(2)) {
            // A return: the article comes back and the money goes back in cash.
            sale.lines.resize(1);
            sale.lines[0].units = -1;
        }
        price(sale);
        sale.pagado = when;
        sale.formaPago = directForm();
        if (sale.liquido < 0) {
            sale.formaPago = FpEfectivo;
            pay(sale, when, sale.liquido, FpEfectivo);
        } else if (sale.formaPago != FpAlbaran && sale.liquido > 3000 && rng_.chance(4)) {
            // Part now, the rest on a later day, sometimes in another store: the sale is paid
            // when the rest comes in.
            const qint64 now = sale.liquido / 2 / 100 * 100;
            const QDateTime later = at(openDayOnOrAfter(when.date().addDays(rng_.between(1, 4))), rng_.between(600, 1190));
            const int id = sale.id;
            pay(sale, when, now, FpEfectivo);
            Sale& s = sales_[size_t(id - 1)];
            s.pagado = later;
            s.formaPago = cardForm();
            pay(s, later, s.liquido - now, s.formaPago, rng_.chance(30) ? otherStore(s.tienda) : 0);
            issue(id, when, Both);
            return;
        } else if (sale.formaPago != FpAlbaran && sale.liquido > 2000 && rng_.chance(8)) {
            // Part in cash, the rest by card, at the same moment.
            const qint64 cashPart = std::min<qint64>(sale.liquido - 100, 2000);
            pay(sale, when, cashPart, FpEfectivo);
            pay(sale, when.addSecs(30), sale.liquido - cashPart, cardForm());
            sale.formaPago = FpEfectivo;
        } else {
            pay(sale, when, sale.liquido, sale.formaPago);
        }
        issue(sale.id, when, Both);
    }

    void repair(const Store& store, const QDateTime& when)
    {
        Sale& sale = newSale(store, when, 3);
        addLine(sale, store, article({Reparacion}));
        price(sale);
        sale.pagado = when;
        sale.formaPago = rng_.chance(70) ? FpEfectivo : cardForm();
        pay(sale, when, sale.liquido, sale.formaPago);
        issue(sale.id, when, Both);
    }

    void order(const Store& store, const QDateTime& when, int tipo, const QDate& last)
    {
        Sale& sale = newSale(store, when, tipo);
        if (tipo == 1) {
            addLine(sale, store, article({Montura}));
            const int lente = article({Lente});
            addLine(sale, store, lente);
            addLine(sale, store, lente);
            if (rng_.chance(25))
                addLine(sale, store, article({Accesorio}));
        } else if (rng_.chance(20)) {
            addLine(sale, store, article({Audifono}));
            addLine(sale, store, article({Accesorio}));
        } else {
            addLine(sale, store, article({Contacto}), rng_.between(1, 4));
            addLine(sale, store, article({Liquido}));
        }
        price(sale);
        issue(sale.id, when, Encargo);

        qint64 paid = 0;
        if (rng_.chance(75)) {
            const qint64 down = std::max<qint64>(1000, (sale.liquido * rng_.between(30, 50) / 100) / 500 * 500);
            if (down < sale.liquido) {
                // Now and then the down payment is charged to an insurer by delivery note.
                pay(sale, when.addSecs(60), down, rng_.chance(5) ? FpAlbaran : rng_.chance(60) ? FpEfectivo : cardForm());
                paid = down;
            }
        }
        const QDate done = openDayOnOrAfter(when.date().addDays(rng_.between(3, 9)));
        const int saleId = sale.id;
        if (rng_.chance(10) && paid > 0) {
            const QDate middle = openDayOnOrAfter(when.date().addDays(2));
            if (middle < done && middle <= last) {
                const qint64 part = std::min<qint64>(sale.liquido - paid - 100, 5000);
                if (part > 0) {
                    pay(sales_[size_t(saleId - 1)], at(middle, rng_.between(600, 1190)), part, FpEfectivo);
                    paid += part;
                }
            }
        }
        if (done > last)
            return;   // still open when the history ends
        Sale& finished = sales_[size_t(saleId - 1)];
        const QDateTime pickup = at(done, rng_.between(600, 1190));
        finished.pagado = pickup;
        const int form = rng_.chance(3) ? FpAlbaran : rng_.chance(55) ? cardForm() : rng_.chance(90) ? FpEfectivo : FpTalon;
        finished.formaPago = form;
        const int tienda = rng_.chance(4) ? otherStore(finished.tienda) : 0;
        const qint64 rest = finished.liquido - paid;
        if (form != FpAlbaran && rest > 4000 && rng_.chance(4)) {
            // Part charged to an insurer by delivery note, the rest paid at the counter.
            pay(finished, pickup, 2000, FpAlbaran, tienda);
            pay(finished, pickup.addSecs(20), rest - 2000, form, tienda);
        } else {
            pay(finished, pickup, rest, form, tienda);
        }
        issue(saleId, pickup, Cobro);
    }

    enum Issue { Encargo, Cobro, Both };
    struct Issued { QDateTime when; int sale; Issue what; };

    void issue(int sale, const QDateTime& when, Issue what) { issued_.push_back({when, sale, what}); }

    // Simplified-invoice numbers and collection tickets run per store in time order.
    void numberDocuments()
    {
        std::stable_sort(issued_.begin(), issued_.end(), [](const Issued& a, const Issued& b) { return a.when < b.when; });
        std::vector<int> invoice(size_t(options_.tiendas) + 1, 0);
        for (const Issued& i : issued_) {
            Sale& sale = sales_[size_t(i.sale - 1)];
            const int number = ++invoice[size_t(sale.tienda)];
            if (i.what == Encargo || i.what == Both)
                sale.fsEncargo = number;
            if (i.what == Cobro || i.what == Both)
                sale.fsCobro = number;
        }
        std::stable_sort(payments_.begin(), payments_.end(), [](const Payment& a, const Payment& b) { return a.fecha < b.fecha; });
        std::vector<int> ticket(size_t(options_.tiendas) + 1, 0);
        for (Payment& p : payments_)
            p.ticket = ++ticket[size_t(p.tienda)];
        // Collections keyed in late: their record numbers do not follow their times.
        for (size_t i = 1; i < payments_.size(); ++i)
            if (rng_.chance(3))
                std::swap(payments_[i - 1], payments_[i]);
        std::stable_sort(cash_.begin(), cash_.end(), [](const CashMove& a, const CashMove& b) { return a.fecha < b.fecha; });
    }

    void writeHistory()
    {
        Writer mventa(db_, QStringLiteral(
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_PACIENTE, "
            "ID_FORMA_PAGO, ID_AGENTE, LIQUIDO_M1, PORCENTAJE_DESCUENTO, FS_ENCARGO, FS_COBRO, FS_SERIE) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        Writer dventa(db_, QStringLiteral(
            "insert into DVENTA (ID_DVENTA, ID_MVENTA, ID_ARTICULO, REFERENCIA, DESCRIPCION, UNIDADES, PRECIO_UNITARIO_M1, "
            "PORCENTAJE_DESCUENTO, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1, ID_AGENTE_2, ID_AGENTE_3) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        Writer cobro(db_, QStringLiteral(
            "insert into COBRO (ID_COBRO, ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, ID_AGENTE, TICKET) "
            "values (?, ?, ?, ?, ?, ?, ?, ?)"));
        Writer caja(db_, QStringLiteral(
            "insert into CAJA (ID_CAJA, ID_TIENDA, FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values (?, ?, ?, ?, ?, ?, ?)"));

        const QDateTime farFuture(QDate(2079, 5, 30), QTime(0, 0));
        int lineId = 0;
        for (const Sale& s : sales_) {
            mventa.row({s.id, s.tienda, s.fecha, s.pagado.isValid() ? s.pagado : farFuture, s.tipo, s.talon, s.paciente,
                        s.formaPago, s.agente, money(s.liquido), s.dtoGlobal, s.fsEncargo, s.fsCobro,
                        stores_[size_t(s.tienda - 1)].serie});
            for (const Line& l : s.lines) {
                const ArticleDef& a = kArticles[l.articulo];
                dventa.row({++lineId, s.id, l.articulo + 1, QString::fromUtf8(a.referencia), QString::fromUtf8(a.descripcion),
                            l.units, money(l.priceCents), l.dtoLinea, money(l.liquido), money(l.base), money(l.iva), l.rate,
                            l.grupo, l.agentes[0], l.agentes[1], l.agentes[2]});
            }
        }
        int paymentId = 0;
        for (const Payment& p : payments_)
            cobro.row({++paymentId, p.sale, p.tienda, p.fecha, money(p.importe), p.formaPago, p.agente, p.ticket});
        int cashId = 0;
        for (const CashMove& c : cash_)
            caja.row({++cashId, c.tienda, c.fecha, c.tipo, c.descripcion, money(c.importe), c.formaPago});
    }

    void restartIdentities()
    {
        const std::pair<const char*, const char*> keys[] = {
            {"MVENTA", "ID_MVENTA"}, {"DVENTA", "ID_DVENTA"}, {"COBRO", "ID_COBRO"}, {"CAJA", "ID_CAJA"},
            {"TIENDA", "ID_TIENDA"}, {"AGENTE", "ID_AGENTE"}, {"PACIENTE", "ID_PACIENTE"}, {"GRUPO", "ID_GRUPO"},
            {"FAMILIA", "ID_FAMILIA"}, {"ARTICULO", "ID_ARTICULO"}, {"FORMA_PAGO", "ID_FORMA_PAGO"}, {"USUARIO", "ID_USUARIO"},
        };
        for (const auto& [table, key] : keys) {
            QSqlQuery max(db_.connection());
            const QString sql = QStringLiteral("select coalesce(max(%1), 0) from %2").arg(QLatin1String(key), QLatin1String(table));
            if (!max.exec(sql) || !max.next())
                throw DatabaseError::fromSqlError(max.lastError(), QStringLiteral("leer"), db_.location(), sql);
            pendingRestarts_ << QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 RESTART WITH %3")
                                    .arg(QLatin1String(table), QLatin1String(key)).arg(max.value(0).toLongLong());
        }
    }

public:
    QStringList pendingRestarts_;

private:
    DemoOptions options_;
    Database& db_;
    Rng rng_;
    std::vector<Store> stores_;
    std::vector<Sale> sales_;
    std::vector<Payment> payments_;
    std::vector<CashMove> cash_;
    std::vector<Issued> issued_;
    std::vector<int> talones_;
};

} // namespace

DemoHistory::DemoHistory(DemoOptions options)
    : options_(std::move(options))
{
}

void DemoHistory::fill(Database& database)
{
    if (options_.tiendas < 1 || options_.tiendas > 99)
        throw DatabaseError(QStringLiteral("El número de tiendas debe estar entre 1 y 99"));
    if (options_.dias < 1 || options_.dias > 20000)
        throw DatabaseError(QStringLiteral("El número de días debe estar entre 1 y 20000"));
    if (!options_.desde.isValid())
        throw DatabaseError(QStringLiteral("La fecha de inicio no es válida"));

    Generator generator(options_, database);
    Transaction transaction(database);
    transaction.start();
    generator.run();
    transaction.commit();
    // Identity restarts are metadata changes: they run once the rows are committed.
    for (const QString& restart : generator.pendingRestarts_)
        database.execute(restart);
}

QList<QPair<QString, int>> DemoHistory::rowCounts(Database& database)
{
    QList<QPair<QString, int>> counts;
    for (const QString& table : ShopDatabase::tableNames()) {
        QSqlQuery query(database.connection());
        const QString sql = QStringLiteral("select count(*) from ") + table;
        if (!query.exec(sql) || !query.next())
            throw DatabaseError::fromSqlError(query.lastError(), QStringLiteral("contar las filas"), database.location(), sql);
        counts.append({table, query.value(0).toInt()});
    }
    return counts;
}

} // namespace lumetra
