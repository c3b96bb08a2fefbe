#include "BetLayout.h"

using namespace BetLayout;

namespace {

// Least significant digit first radix sort of keys, a byte at a time; a byte that is the same in every
// key is skipped. Linear in the number of lines, where comparison sorting a heavy day's bet lines was
// the largest part of reading it.
template <std::size_t Words>
void radixSort(std::vector<std::array<quint64, Words>>& keys) {
    std::vector<std::array<quint64, Words>> buffer(keys.size());
    for (std::size_t w = Words; w-- > 0;) {
        quint64 any = 0;
        quint64 all = ~quint64(0);
        for (const auto& k : keys) {
            any |= k[w];
            all &= k[w];
        }
        const quint64 differing = any & ~all;
        for (int shift = 0; shift < 64; shift += 8) {
            if (((differing >> shift) & 0xFF) == 0) {
                continue;
            }
            std::array<std::size_t, 257> start{};
            for (const auto& k : keys) {
                ++start[((k[w] >> shift) & 0xFF) + 1];
            }
            for (std::size_t b = 1; b < start.size(); ++b) {
                start[b] += start[b - 1];
            }
            for (const auto& k : keys) {
                buffer[start[(k[w] >> shift) & 0xFF]++] = k;
            }
            keys.swap(buffer);
        }
    }
}

// A fitted record is all in its key (Field12 of a ticket line, always 0 when fitted, is not), so the keys
// alone are sorted and the records made again from them.
template <class L, class Record>
void sortFitted(std::vector<Record>& records) {
    std::vector<typename L::Key> keys;
    keys.reserve(records.size());
    for (const Record& r : records) {
        keys.push_back(L::keyOf(r));
    }
    radixSort(keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        records[i] = L::fromKey(keys[i]);
    }
}

} // namespace

QString betLineText(const BetLine& log) {
    char text[kLogTextLength];
    LogLayout::write(log, text);
    return QString::fromLatin1(text, kLogTextLength);
}

BetLine betLineFromText(QStringView text) {
    return LogLayout::read(text);
}

QString ticketLineText(const TicketLine& omit) {
    char text[kOmitTextLength];
    OmitLayout::write(omit, text);
    return QString::fromLatin1(text, kOmitTextLength);
}

TicketLine ticketLineFromText(QStringView text) {
    return OmitLayout::read(text);
}

namespace BetRecords {

char* writeText(const TicketLine& omit, char* out) {
    return OmitLayout::write(omit, out);
}

BetLine fitted(BetLine log) {
    return LogLayout::fit(log);
}

TicketLine fitted(TicketLine omit) {
    return OmitLayout::fit(omit);
}

void sortByText(std::vector<TicketLine>& records) {
    sortFitted<OmitLayout>(records);
}

} // namespace BetRecords
