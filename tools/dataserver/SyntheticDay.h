#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

namespace vantorel::dataserver {

// A realistic trading day of snapshots, made up on request: a fixed list of
// stocks (six-digit codes, Korean names) whose signal counts never fall through
// the day. Everything follows from the seed, the date and the minute.
class SyntheticDay {
public:
    SyntheticDay(int stocks, std::uint64_t seed);

    // The snapshot text (UTF-8, CR LF lines, header first) of one side at one
    // minute from 09:00 (0) to 15:20 (380).
    QByteArray payload(QChar side, const QDate& date, int minuteOfDay);

    int stockCount() const { return int(m_codes.size()); }

private:
    struct Table {
        // counts[minute * stocks + stock], and the second of the day of the latest signal.
        QVector<std::int32_t> counts;
        QVector<std::int32_t> lastSignal;
    };
    const Table& table(QChar side, const QDate& date);

    std::uint64_t m_seed;
    QStringList m_codes;
    QList<QByteArray> m_names;
    QHash<QString, Table> m_tables;
};

inline constexpr int kMinutesPerDay = 381;

} // namespace vantorel::dataserver
