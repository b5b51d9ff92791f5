#include "SyntheticDay.h"

#include <cmath>
#include <random>
#include <set>

namespace vantorel::dataserver {

namespace {

const char* const kPrefixes[] = {
    "삼성",     "현대", "엘지",   "에스케이", "한화", "롯데",   "포스코", "카카오", "네이버",
    "셀트리온", "신한", "하나",   "두산",     "기아", "한국",   "대한",   "동아",   "미래",
    "우리",     "대우", "코오롱", "효성",     "농심", "오리온", "한미",   "유한",   "녹십자",
    "아모레",   "고려", "동원",   "태광",     "세아", "풍산",   "한샘",   "이마트", "케이티"};
const char* const kSuffixes[] = {"전자",   "화학",     "바이오", "건설",       "제약",      "금융", "중공업",
                                 "에너지", "통신",     "물산",   "홀딩스",     "반도체",    "식품", "해운",
                                 "증권",   "생명",     "화재",   "소재",       "테크",      "정밀", "산업",
                                 "씨앤씨", "로보틱스", "엔터",   "디스플레이", "머티리얼즈"};

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    // splitmix64 over the pair: a cheap, well-spread seed for each sub-stream.
    std::uint64_t z = a * 0x9E3779B97F4A7C15ull + b + 0x632BE59BD9B4E019ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

SyntheticDay::SyntheticDay(int stocks, std::uint64_t seed)
    : m_seed(seed) {
    std::mt19937_64 rng(mix(seed, 1));
    std::set<int> codes;
    while (int(codes.size()) < stocks)
        codes.insert(int(rng() % 999990) + 5);
    for (const int code : codes) {
        m_codes << QStringLiteral("%1").arg(code, 6, 10, QLatin1Char('0'));
        QByteArray name = kPrefixes[rng() % std::size(kPrefixes)];
        name += kSuffixes[rng() % std::size(kSuffixes)];
        if (rng() % 8 == 0)
            name += "우";
        m_names << name;
    }
}

const SyntheticDay::Table& SyntheticDay::table(QChar side, const QDate& date) {
    const QString key = side + date.toString(Qt::ISODate);
    auto it = m_tables.find(key);
    if (it != m_tables.end())
        return *it;
    if (m_tables.size() > 8)
        m_tables.clear();

    const int n = stockCount();
    Table t;
    t.counts.resize(qsizetype(n) * kMinutesPerDay);
    t.lastSignal.resize(qsizetype(n) * kMinutesPerDay);
    const std::uint64_t daySeed = mix(mix(m_seed, std::uint64_t(date.toJulianDay())), side.unicode());
    for (int s = 0; s < n; ++s) {
        std::mt19937_64 rng(mix(daySeed, std::uint64_t(s)));
        // Most stocks are quiet, a few are busy.
        const double rate = 0.02 + 2.5 * std::pow(std::uniform_real_distribution<double>(0, 1)(rng), 4.0);
        std::poisson_distribution<int> arrivals(rate);
        std::int32_t count = 1 + int(rng() % 5);
        std::int32_t last = 9 * 3600 + int(rng() % 60);
        for (int m = 0; m < kMinutesPerDay; ++m) {
            const int added = arrivals(rng);
            if (added > 0) {
                count += added;
                last = 9 * 3600 + m * 60 + int(rng() % 60);
            }
            t.counts[qsizetype(m) * n + s] = count;
            t.lastSignal[qsizetype(m) * n + s] = last;
        }
    }
    return *m_tables.insert(key, std::move(t));
}

QByteArray SyntheticDay::payload(QChar side, const QDate& date, int minuteOfDay) {
    const Table& t = table(side, date);
    const int n = stockCount();
    QByteArray out = "Time,Stock Code,Stock Name,Occurrences\r\n";
    out.reserve(n * 40);
    for (int s = 0; s < n; ++s) {
        const qsizetype at = qsizetype(minuteOfDay) * n + s;
        const int sec = t.lastSignal[at];
        for (const int part : {sec / 3600, sec / 60 % 60, sec % 60}) {
            out += char('0' + part / 10);
            out += char('0' + part % 10);
        }
        out += ',';
        out += m_codes[s].toLatin1();
        out += ',';
        out += m_names[s];
        out += ',';
        out += QByteArray::number(t.counts[at]);
        out += "\r\n";
    }
    return out;
}

} // namespace vantorel::dataserver
